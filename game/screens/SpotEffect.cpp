#include "game/screens/SpotEffect.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/shell/SceneServices.h"

namespace
{
float Lerp(float from, float to, float t)
{
    return from + (to - from) * t;
}
} // namespace

SpotEffect::SpotEffect(SceneServices& services)
    : mServices(services), mImage(services.GetImageById(services.GetResourceIdByName("IMAGE_SPOT")))
{
    // A move so short that the first update settles the hole at the centre, undarkened.
    MoveToCentre(0.0001f);
}

float SpotEffect::ImageWidth() const
{
    return mImage != nullptr && mImage->GetWidth() > 0 ? static_cast<float>(mImage->GetWidth()) : 1.0f;
}

float SpotEffect::ImageHeight() const
{
    return mImage != nullptr && mImage->GetHeight() > 0 ? static_cast<float>(mImage->GetHeight()) : 1.0f;
}

void SpotEffect::Start(float x, float y, float duration, float width, float height, float alpha)
{
    mStartPos = mTargetPos;
    mTargetPos = {x, y};
    mStartScale = mTargetScale;
    mTargetScale = {width / ImageWidth(), height / ImageHeight()};
    mStartAlpha = mTargetAlpha;
    mTargetAlpha = alpha;
    mElapsed = 0;
    mDuration = duration;
    mState = State::Moving;
}

void SpotEffect::MoveToCentre(float duration)
{
    Start(static_cast<float>(mServices.GetAppWidth() / 2), static_cast<float>(mServices.GetAppHeight() / 2), duration,
          mSize.x, mSize.y, 0.0f);
}

void SpotEffect::SetFullSize()
{
    mSize = {kFullSize, kFullSize};
    mTargetScale = {kFullSize / ImageWidth(), kFullSize / ImageHeight()};
}

void SpotEffect::Update(float dt)
{
    if (mState == State::Moving)
    {
        mElapsed += dt;
        if (mElapsed >= mDuration)
        {
            mElapsed = mDuration;
            mState = State::Arrived;
        }
        const float t = mDuration > 0.0f ? mElapsed / mDuration : 1.0f;
        const float x = Lerp(mStartPos.x, mTargetPos.x, t);
        const float y = Lerp(mStartPos.y, mTargetPos.y, t);
        mHole.width = static_cast<int>(ImageWidth() * Lerp(mStartScale.x, mTargetScale.x, t));
        mHole.height = static_cast<int>(ImageHeight() * Lerp(mStartScale.y, mTargetScale.y, t));
        mHole.x = static_cast<int>(x) - mHole.width / 2;
        mHole.y = static_cast<int>(y) - mHole.height / 2;
        mAlpha = static_cast<int>(255.0f * Lerp(mStartAlpha, mTargetAlpha, t));
    }
    if (mState == State::Arrived && mAlpha == 0)
        mState = State::Idle;
}

void SpotEffect::Draw(Quoll::Graphics* g) const
{
    if (mAlpha == 0)
        return;
    const int screenW = mServices.GetAppWidth();
    const int screenH = mServices.GetAppHeight();
    g->PushState();
    g->SetDrawMode(Quoll::DrawMode::Normal);
    g->SetImageTint(true);
    // The plain stretch keeps the darkness's alpha on every path, so the hole's rim matches
    // the bands around it.
    g->SetFastStretch(true);
    g->SetColor(Quoll::Color(0, 0, 0, mAlpha));
    if (mImage != nullptr)
        g->DrawImage(mImage, mHole.x, mHole.y, mHole.width, mHole.height);
    const int bottom = mHole.y + mHole.height;
    const int right = mHole.x + mHole.width;
    if (mHole.y > 0)
        g->FillRect(0, 0, screenW, mHole.y);
    if (bottom < screenH)
        g->FillRect(0, bottom, screenW, screenH - bottom);
    if (mHole.x > 0)
        g->FillRect(0, mHole.y, mHole.x, mHole.height);
    if (right < screenW)
        g->FillRect(right, mHole.y, screenW - right, mHole.height);
    g->PopState();
}
