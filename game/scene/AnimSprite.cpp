#include "game/scene/AnimSprite.h"

#include "framework/display/Graphics.h"
#include "game/shell/SceneServices.h"

void AnimSprite::Update(float dt)
{
    mClock.Update(dt);
}

void AnimSprite::Draw(Quoll::Graphics* g, float x, float y, const Quoll::Color& color)
{
    if (mImage == nullptr)
    {
        Sprite::Draw(g, x, y, color);
        return;
    }
    DrawFrame(mClock.GetFrame(), g, x, y, color);
}

void AnimSprite::DrawFrame(int frame, Quoll::Graphics* g, float x, float y, const Quoll::Color& color)
{
    if (mImage == nullptr)
        return;
    const auto count = static_cast<unsigned>(mImage->mNumCols * mImage->mNumRows);
    if (static_cast<unsigned>(frame) >= count)
        frame = 0;
    g->SetImageTint(true);
    g->SetColor(color);
    DrawSourceRect(g, GetCelRect(mImage, frame), x, y);
}

bool AnimSprite::StartAnimation(SceneServices& services, float at)
{
    if (mImage == nullptr)
        return false;
    mClock.SetAnimation(services.GetFrameAnimation(mImage));
    if (at >= 0)
    {
        mClock.Play(-1);
        mClock.SeekFraction(at);
    }
    return true;
}
