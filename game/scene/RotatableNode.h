#pragma once
// RotatableNode: the side of a scene node that carries a rotation angle (mesh nodes). Node
// affectors turn a node only when it has this side; other nodes are left unturned.
class VisualNode;

class RotatableNode
{
public:
    virtual ~RotatableNode() = default;
    // Radians.
    virtual void SetRotation(float radians) = 0;
};

// Sets the node's rotation when it is rotatable; does nothing otherwise.
void SetNodeRotation(VisualNode* node, float radians);
