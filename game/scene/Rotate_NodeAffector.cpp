#include "game/scene/Rotate_NodeAffector.h"

#include "game/scene/RotatableNode.h"
#include "game/shell/SceneServices.h"

#include <cmath>

void Rotate_NodeAffector::Init(float base, float spread)
{
    mAngle = mServices.RandFloat(kTwoPi);
    mSpeed = mServices.RandFloat(std::fabs(spread)) + base;
    if (base < 0)
        mSpeed *= (mServices.RandomWord() & 1u) != 0 ? 1.0f : -1.0f;
}

void Rotate_NodeAffector::Start(VisualNode* node)
{
    SetNodeRotation(node, mAngle);
}

void Rotate_NodeAffector::Apply(float dt, VisualNode* node)
{
    mAngle += mSpeed * dt;
    if (mAngle > kTwoPi)
        mAngle -= kTwoPi;
    else if (mAngle < 0)
        mAngle += kTwoPi;
    SetNodeRotation(node, mAngle);
}
