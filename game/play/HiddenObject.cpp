#include "game/play/HiddenObject.h"

#include "game/play/Bacteria.h"
#include "game/scene/Lerp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace
{
// The bacteria are the two opponents' (players 2 and 3).
constexpr int kFirstPlayer = 2;
// Captured without a capturer after exactly this long.
constexpr float kCaptureTime = 0.3f;
} // namespace

HiddenObject::HiddenObject(PlayServices& services, int id)
    : mServices(services), mId(id), mBacterium(new Bacteria(services))
{
    AddChild(mBacterium);
}

FloatPoint HiddenObject::GetDishCentre() const
{
    return {static_cast<float>(mServices.GetAppWidth()) * 0.5f,
            static_cast<float>(mServices.GetAppHeight()) * 0.5f + kDishDrop};
}

float HiddenObject::GetPathRadius(int width, int height) const
{
    const float inside = static_cast<float>(mServices.GetAppHeight()) * kDishRadius - kRimMargin;
    return std::max(inside - static_cast<float>(std::max(width, height)) * 0.5f, 0.0f);
}

// A random angle in the side's quarter of the rim (radians, counter-clockwise from the right).
float HiddenObject::SideAngle(int side)
{
    // Quarters counter-clockwise from the right: right, top, left, bottom.
    constexpr std::array<float, 4> kFirstAngle = {135.0f, 45.0f, -45.0f, 225.0f};
    const float degrees = kFirstAngle[static_cast<size_t>(std::clamp(side, 0, 3))] + mServices.RandFloat(90.0f);
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

// The path's points are the picture's top-left where its centre is on the rim at the two angles:
// the path between them is a chord, so the whole run stays inside the dish. Placed again once the
// picture's size is known.
void HiddenObject::PlacePath()
{
    const float radius = GetPathRadius(mWidth, mHeight);
    const FloatPoint centre = GetDishCentre();
    const auto at = [&](float angle) {
        return FloatPoint{centre.x + radius * std::cos(angle) - static_cast<float>(mWidth / 2),
                          centre.y - radius * std::sin(angle) - static_cast<float>(mHeight / 2)};
    };
    mStart = at(mStartAngle);
    mEnd = at(mEndAngle);
    // A path shorter than a pixel (a point to itself) counts as one pixel long.
    const float distance = std::hypot(mEnd.x - mStart.x, mEnd.y - mStart.y);
    mSpeed = mPixelSpeed / std::max(distance, 1.0f);
}

void HiddenObject::Init(float startProgress)
{
    mProgress = startProgress;
    mBacterium->AttachWithDelay(kFirstPlayer + mServices.RandInt(2), BaseUnit::kNoLayer, 0.0f);
    mBacterium->SetState(Bacteria::Idle);

    // Any side to start; the end is never the bottom and differs from the start.
    const int startSide = mServices.RandInt(4);
    const int endSide = (mServices.RandInt(2) + startSide + 1) % 3;
    mStartAngle = SideAngle(startSide);
    mEndAngle = SideAngle(endSide);
    mPixelSpeed = kMinSpeed + mServices.RandFloat(kSpeedRange);
    PlacePath();

    mVisibleFrom = startProgress >= 0 ? startProgress + mServices.RandFloat(1 - startProgress) * 0.5f
                                      : mServices.RandFloat(0.5f);
    mVisibleTo = mVisibleFrom + mServices.RandFloat(1 - mVisibleFrom);
    mState = State::NewRun;
    mOpened = false;
}

bool HiddenObject::HitTest(int x, int y) const
{
    if (mState != State::Visible)
        return false;
    const FloatPoint p = mBacterium->GetDrawPosition();
    const int px = static_cast<int>(p.x);
    const int py = static_cast<int>(p.y);
    return x >= px && x < px + mWidth && y >= py && y < py + mHeight;
}

FloatPoint HiddenObject::GetCentre() const
{
    const FloatPoint p = GetWorldPosition();
    return {p.x + static_cast<float>(mWidth / 2), p.y + static_cast<float>(mHeight / 2)};
}

void HiddenObject::Open()
{
    mState = State::Caught;
    mOpened = true;
    mProgress = 0;
    mBacterium->StartCapture(nullptr, -kCaptureTime);
}

void HiddenObject::Release()
{
    if (mState == State::Visible)
        mVisibleTo = mProgress;
    else if (mState != State::Caught)
        mState = State::Finished;
}

int HiddenObject::StretchAlpha(float progress, float from, float to)
{
    const float fade = (to - from) / 5;
    if (fade <= 0 || progress < from || progress > to)
        return 0;
    float a = kVisibleAlpha;
    if (progress < from + fade)
        a = kVisibleAlpha * (progress - from) / fade;
    else if (progress > to - fade)
        a = kVisibleAlpha * (to - progress) / fade;
    return static_cast<int>(a * 255);
}

void HiddenObject::ReadSize()
{
    const Sprite* sprite = mBacterium->GetSprite();
    mWidth = sprite != nullptr ? sprite->GetWidth() : 0;
    mHeight = sprite != nullptr ? sprite->GetHeight() : 0;
}

void HiddenObject::SetBacteriumAlpha(int alpha)
{
    mBacterium->mColor = Quoll::Color(255, 255, 255, std::clamp(alpha, 0, 255));
}

void HiddenObject::Update(float dt)
{
    VisualNode::Update(kAnimationRate * dt);

    if (mState == State::NewRun)
    {
        ReadSize();
        PlacePath();
        SetBacteriumAlpha(0);
        mState = State::Unseen;
    }

    if (mState == State::Unseen || mState == State::Visible)
    {
        mProgress += mSpeed * dt;
        if (mProgress > 1)
        {
            mProgress = 1;
            mState = State::Finished;
        }
        SetPosition(Lerp(mStart, mEnd, mProgress));
    }
    if (mState == State::Unseen && mProgress >= mVisibleFrom && mProgress <= mVisibleTo)
        mState = State::Visible;
    if (mState == State::Visible)
    {
        if (mProgress > mVisibleTo)
            mState = State::Unseen;
        else
            SetBacteriumAlpha(StretchAlpha(mProgress, mVisibleFrom, mVisibleTo));
    }

    if (mState == State::Caught)
    {
        mProgress += kFlashRate * dt;
        if (mProgress > 1)
            mState = State::Finished;
        else
        {
            // Two flashes: up, down, up, down over the run of the progress.
            const double phase = 4 * std::numbers::pi * mProgress + std::numbers::pi;
            SetBacteriumAlpha(static_cast<int>((std::cos(phase) + 1) * 0.5 * 255));
        }
    }
}

void HiddenObject::Draw(Quoll::Graphics* g)
{
    if (mState != State::Unseen)
        VisualNode::Draw(g);
}
