#pragma once
// SpriteNode: a node that owns one sprite and draws it at its world position in its colour, below
// its children.
#include "framework/display/Rect.h"
#include "game/scene/Sprite.h"
#include "game/scene/VisualNode.h"

#include <memory>

class SpriteNode : public VisualNode
{
public:
    // The sprite's update, then the children's.
    void Update(float dt) override;
    // The sprite (when set), then the children above it.
    void Draw(Quoll::Graphics* g) override;
    // The sprite's rectangle at the world position; all zero without a sprite or image.
    [[nodiscard]] Quoll::Rect GetScreenRect() const;

    // Owned; may be null.
    std::unique_ptr<Sprite> mSprite;
};
