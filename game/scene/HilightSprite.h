#pragma once
// HilightSprite: a glow of two copies of one image turning in opposite directions, drawn
// additively (behind new achievement icons and on the level map).
#include "game/scene/Sprite.h"

class SceneServices;

class HilightSprite : public Sprite
{
public:
    // Scales the sprite and its overlay.
    void SetScale(float scale) override;
    // Turns the sprite by +speed * dt and the overlay by -speed * dt.
    void Update(float dt) override;
    // Both copies in additive mode; the draw mode is normal afterwards.
    void Draw(Quoll::Graphics* g, float x, float y, const Quoll::Color& color) override;
    // The image "IMAGE_BONUSH" into the sprite and the overlay.
    void SetDefaultImage(SceneServices& services);

    // Radians per second.
    float mSpeed = 0.0f;
    Sprite mOverlay;
};
