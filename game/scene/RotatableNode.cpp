#include "game/scene/RotatableNode.h"

#include "game/scene/VisualNode.h"

void SetNodeRotation(VisualNode* node, float radians)
{
    if (auto* rotatable = dynamic_cast<RotatableNode*>(node))
        rotatable->SetRotation(radians);
}
