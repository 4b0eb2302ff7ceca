#include "game/play/HiddenObject.h"

#include "game/play/Bacteria.h"
#include "game/scene/Lerp.h"

#include <algorithm>
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

FloatPoint HiddenObject::SidePoint(int side)
{
    const auto w = static_cast<float>(mServices.GetAppWidth());
    const auto h = static_cast<float>(mServices.GetAppHeight());
    switch (side)
    {
    case Left:
        return {static_cast<float>(-mWidth), mServices.RandFloat(h)};
    case Top:
        return {mServices.RandFloat(w), static_cast<float>(-mHeight)};
    case Right:
        return {w, mServices.RandFloat(h)};
    default:
        return {mServices.RandFloat(w), h};
    }
}

void HiddenObject::Init(float startProgress)
{
    mProgress = startProgress;
    mBacterium->AttachWithDelay(kFirstPlayer + mServices.RandInt(2), BaseUnit::kNoLayer, 0.0f);
    mBacterium->SetState(Bacteria::Idle);

    // Any side to start; the end is never the bottom and differs from the start.
    const int startSide = mServices.RandInt(4);
    const int endSide = (mServices.RandInt(2) + startSide + 1) % 3;
    mStart = SidePoint(startSide);
    mEnd = SidePoint(endSide);

    // A path shorter than a pixel (a corner to itself) counts as one pixel long.
    const float distance = std::hypot(mEnd.x - mStart.x, mEnd.y - mStart.y);
    mSpeed = (kMinSpeed + mServices.RandFloat(kSpeedRange)) / std::max(distance, 1.0f);

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

void HiddenObject::SetBacteriumAlpha(int alpha)
{
    mBacterium->mColor = Quoll::Color(255, 255, 255, std::clamp(alpha, 0, 255));
}

void HiddenObject::Update(float dt)
{
    VisualNode::Update(kAnimationRate * dt);

    if (mState == State::NewRun)
    {
        const Sprite* sprite = mBacterium->GetSprite();
        mWidth = sprite != nullptr ? sprite->GetWidth() : 0;
        mHeight = sprite != nullptr ? sprite->GetHeight() : 0;
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
