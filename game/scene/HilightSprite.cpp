#include "game/scene/HilightSprite.h"

#include "framework/display/Graphics.h"
#include "game/shell/SceneServices.h"

void HilightSprite::SetScale(float scale)
{
    Sprite::SetScale(scale);
    mOverlay.SetScale(scale);
}

void HilightSprite::Update(float dt)
{
    mTransform.Rotate(mSpeed * dt);
    mOverlay.mTransform.Rotate(-mSpeed * dt);
}

void HilightSprite::Draw(Quoll::Graphics* g, float x, float y, const Quoll::Color& color)
{
    g->SetDrawMode(Quoll::DrawMode::Additive);
    Sprite::Draw(g, x, y, color);
    mOverlay.Draw(g, x, y, color);
    g->SetDrawMode(Quoll::DrawMode::Normal);
}

void HilightSprite::SetDefaultImage(SceneServices& services)
{
    mImage = services.GetImageById(services.GetResourceIdByName("IMAGE_BONUSH"));
    mOverlay.mImage = mImage;
}
