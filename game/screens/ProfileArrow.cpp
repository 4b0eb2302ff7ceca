#include "game/screens/ProfileArrow.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"

#include <cmath>
#include <numbers>

void ProfileArrow::Setup(Quoll::Image* image, float sx, float sy, float ax, float ay, float minDistance)
{
    mImage = image;
    mAnchorX = ax;
    mAnchorY = ay;
    mMinDistance = minDistance;
    mPhase = 0.0f;
    const float dx = ax - sx;
    const float dy = ay - sy;
    mAngle = std::atan2(-dy, dx);
    mTravel = std::sqrt(dx * dx + dy * dy) - minDistance;
}

void ProfileArrow::Update(float dt)
{
    if (mImage == nullptr)
        return;
    constexpr float kTurn = 2.0f * std::numbers::pi_v<float>;
    mPhase += kTurn * dt;
    if (mPhase > kTurn)
        mPhase -= kTurn;
    mLength = (std::cos(mPhase) + 1.0f) * 0.5f * mTravel + mMinDistance;
    const int halfHeight = mImage->mHeight / 2;
    mDrawX = mAnchorX - static_cast<float>(mImage->mWidth) - std::cos(mAngle) * mLength;
    mDrawY = mAnchorY - static_cast<float>(halfHeight) + std::sin(mAngle) * mLength;
}

void ProfileArrow::Draw(Quoll::Graphics* g) const
{
    if (mImage == nullptr || mColour.a == 0)
        return;
    g->SetImageTint(true);
    g->SetColor(mColour);
    // Rotated about the picture's right-hand middle: the tip.
    g->DrawImageRotatedF(mImage, mDrawX, mDrawY, mAngle, static_cast<float>(mImage->mWidth),
                         static_cast<float>(mImage->mHeight) * 0.5f, nullptr);
    g->SetImageTint(false);
}
