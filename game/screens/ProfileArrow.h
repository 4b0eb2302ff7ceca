#pragma once
// ProfileArrow: the arrow of the main menu's profile hint. It points along the line from a start
// point to an anchor and swings once a second between the start point and a minimum distance
// short of the anchor; the menu writes its alpha every update.
#include "framework/display/Color.h"

namespace Quoll
{
class Graphics;
class Image;
} // namespace Quoll

class ProfileArrow
{
public:
    // Points from start (sx, sy) at the anchor (ax, ay), coming no closer than minDistance.
    void Setup(Quoll::Image* image, float sx, float sy, float ax, float ay, float minDistance);
    // Advances the swing by dt seconds (nothing without an image).
    void Update(float dt);
    // Draws the arrow rotated about its tip (nothing without an image or at alpha 0).
    void Draw(Quoll::Graphics* g) const;

    void SetAlpha(int alpha) { mColour.a = alpha; }
    [[nodiscard]] float GetTravel() const { return mTravel; }
    [[nodiscard]] float GetLength() const { return mLength; }
    [[nodiscard]] float GetDrawX() const { return mDrawX; }
    [[nodiscard]] float GetDrawY() const { return mDrawY; }

private:
    Quoll::Color mColour{255, 255, 255, 255};
    Quoll::Image* mImage = nullptr;
    float mAnchorX = 0.0f;
    float mAnchorY = 0.0f;
    float mMinDistance = 0.0f;
    float mAngle = 0.0f;
    float mTravel = 0.0f;
    float mDrawX = 0.0f;
    float mDrawY = 0.0f;
    float mPhase = 0.0f;
    float mLength = 0.0f;
};
