#include "game/scene/VisualNode.h"

#include <algorithm>
#include <cassert>

VisualNode::~VisualNode()
{
    DeleteChildren();
}

void VisualNode::Update(float dt)
{
    for (size_t i = 0; i < mChildren.size(); ++i)
        mChildren[i]->Update(dt);
}

void VisualNode::Draw(Quoll::Graphics* g)
{
    for (size_t i = 0; i < mChildren.size(); ++i)
        mChildren[i]->Draw(g);
}

void VisualNode::SetPosition(const FloatPoint& position)
{
    mPosition = position;
}

FloatPoint VisualNode::GetWorldPosition() const
{
    if (mParent == nullptr)
        return mPosition;
    const FloatPoint base = mParent->GetWorldPosition();
    return {static_cast<float>(static_cast<double>(base.x) + mPosition.x),
            static_cast<float>(static_cast<double>(base.y) + mPosition.y)};
}

void VisualNode::Adopt(VisualNode* child)
{
    assert(child != nullptr && "VisualNode: a null child");
#ifndef NDEBUG
    for (const VisualNode* n = this; n != nullptr; n = n->mParent)
        assert(n != child && "VisualNode: a node cannot become a child of itself or of its subtree");
#endif
    if (child->mParent != nullptr)
        child->mParent->RemoveChild(child);
    child->mParent = this;
}

void VisualNode::AddChild(VisualNode* child)
{
    Adopt(child);
    mChildren.push_back(child);
}

void VisualNode::InsertChild(VisualNode* child)
{
    Adopt(child);
    const auto at = mChildren.size() >= 2 ? mChildren.begin() + 1 : mChildren.end();
    mChildren.insert(at, child);
}

bool VisualNode::RemoveChild(VisualNode* child)
{
    const auto found = std::find(mChildren.begin(), mChildren.end(), child);
    if (found == mChildren.end())
        return false;
    child->mParent = nullptr;
    mChildren.erase(found);
    return true;
}

void VisualNode::DeleteChildren()
{
    while (!mChildren.empty())
    {
        VisualNode* last = mChildren.back();
        mChildren.pop_back();
        last->mParent = nullptr;
        delete last;
    }
}
