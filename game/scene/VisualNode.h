#pragma once
// VisualNode: the node of the game's scene graph. A node has a colour, a position relative to its
// parent, a parent and an ordered list of children that it owns. Its owner (a screen widget)
// updates the tree once per logic step and draws it in its widget draw; a node draws its own
// content first and its children after it, in list order. Nodes take no input.
//
// Walks index the child list and re-read its length before every step: a child appended during
// a walk is visited in the same walk, and removing a child during its parent's walk skips the
// child that followed it. A node must not delete itself or its parent from within a walk.
#include "framework/display/Color.h"
#include "game/scene/FloatPoint.h"

#include <vector>

namespace Quoll
{
class Graphics;
}

class VisualNode
{
public:
    VisualNode() = default;
    VisualNode(const VisualNode&) = delete;
    VisualNode& operator=(const VisualNode&) = delete;
    // Deletes the children, last first.
    virtual ~VisualNode();

    // Updates the children in list order; dt in seconds.
    virtual void Update(float dt);
    // Draws the children in list order.
    virtual void Draw(Quoll::Graphics* g);
    // The position relative to the parent (the world position of a root).
    virtual void SetPosition(const FloatPoint& position);
    // The plain sum of the positions up the parent chain.
    [[nodiscard]] virtual FloatPoint GetWorldPosition() const;

    [[nodiscard]] const FloatPoint& GetPosition() const { return mPosition; }
    [[nodiscard]] VisualNode* GetParent() const { return mParent; }
    [[nodiscard]] const std::vector<VisualNode*>& GetChildren() const { return mChildren; }

    // Takes the child over (from its old parent too) and appends it; a child of this node moves
    // to the end.
    void AddChild(VisualNode* child);
    // As AddChild, but at index 1 when the list holds two or more children (just above the first).
    void InsertChild(VisualNode* child);
    // Hands the child back to the caller without deleting it; false when it is not a child.
    bool RemoveChild(VisualNode* child);
    // Deletes every child, from the last to the first.
    void DeleteChildren();

    // The drawing colour that subclasses pass to their draws; not combined with the parent's.
    Quoll::Color mColor = Quoll::Color::White;

private:
    void Adopt(VisualNode* child);

    FloatPoint mPosition;
    VisualNode* mParent = nullptr;
    std::vector<VisualNode*> mChildren;
};
