#include "game/scene/SpriteNode.h"

void SpriteNode::Update(float dt)
{
    if (mSprite != nullptr)
        mSprite->Update(dt);
    VisualNode::Update(dt);
}

void SpriteNode::Draw(Quoll::Graphics* g)
{
    if (mSprite != nullptr)
    {
        const FloatPoint p = GetWorldPosition();
        mSprite->Draw(g, p.x, p.y, mColor);
    }
    VisualNode::Draw(g);
}

Quoll::Rect SpriteNode::GetScreenRect() const
{
    if (mSprite == nullptr)
        return Quoll::Rect();
    const FloatPoint p = GetWorldPosition();
    return mSprite->GetRectAt(p.x, p.y);
}
