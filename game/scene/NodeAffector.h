#pragma once
// NodeAffector: moves or turns one scene node every logic step (background layers drift, cross
// the screen and spin). Started once when attached, then applied by its owner's update; it places
// the node only through the node's SetPosition and turns only rotatable nodes. Affectors keep no
// pointer to their node; random draws come from the game's generator in a fixed order.
class VisualNode;

class NodeAffector
{
public:
    NodeAffector() = default;
    NodeAffector(const NodeAffector&) = delete;
    NodeAffector& operator=(const NodeAffector&) = delete;
    virtual ~NodeAffector() = default;

    virtual void Start(VisualNode* node) = 0;
    virtual void Apply(float dt, VisualNode* node) = 0;

protected:
    // 2 pi and pi as the floats the affectors wrap their angles with.
    static constexpr float kTwoPi = 6.2831855f;
    static constexpr float kPi = 3.1415927f;
};
