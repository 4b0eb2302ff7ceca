#pragma once
// AnimSprite: a sprite that plays its image's frame animation through an embedded clock. With an
// image it draws the clock's frame (a frame outside the image's cel grid draws cel 0) and
// ignores the cel field.
#include "game/scene/AnimClock.h"
#include "game/scene/Sprite.h"

class SceneServices;

class AnimSprite : public Sprite
{
public:
    void Update(float dt) override;
    void Draw(Quoll::Graphics* g, float x, float y, const Quoll::Color& color) override;
    // Draws one cel of the image's grid; frames outside it (negative ones too) draw cel 0.
    virtual void DrawFrame(int frame, Quoll::Graphics* g, float x, float y, const Quoll::Color& color);

    // Binds the image's animation; at >= 0 also plays it endlessly from that fraction of a pass.
    // false without an image.
    bool StartAnimation(SceneServices& services, float at);

    AnimClock mClock;
};
