#include "game/screens/RandomStatsIcon.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/scene/Easing.h"
#include "game/shell/PlayServices.h"

#include <algorithm>

namespace
{
// How far a tube travels between its hidden and resting places, and how high it lifts.
constexpr float kTravel = static_cast<float>(RandomStatsIcon::kHiddenY - RandomStatsIcon::kRestY);
constexpr float kLiftHeight = 20.0f;
// Seconds of the spring up and of the bounce in.
constexpr float kRiseSeconds = 0.7f;
constexpr float kBounceSeconds = 2.0f;
// The particle system of a tube bouncing in.
constexpr int kArrivalParticles = 90;
} // namespace

int RandomStatsIcon::FillTopFor(int fillPercent)
{
    // 19 pixels of liquid per 100 percent, up to 110 percent.
    const float level = std::min(static_cast<float>(fillPercent) / 100.0f, 1.1f);
    return 30 - static_cast<int>(level * 19.0f);
}

void RandomStatsIcon::Setup(int index, Quoll::Image* tube, Quoll::Image* fill, int fillPercent, bool isNew,
                            float delay)
{
    mImage = tube;
    mFillImage = fill;
    mX = kLeft + kSpacing * index;
    mY = kRestY;
    mW = tube != nullptr ? tube->GetWidth() : 0;
    mH = tube != nullptr ? tube->GetHeight() : 0;
    mFillTop = FillTopFor(fillPercent);
    mHovered = false;
    mLift = 0;
    mState = isNew ? State::New : State::Rising;
    mTimer = isNew ? 0.0f : -delay;
}

void RandomStatsIcon::Spring()
{
    mState = State::Rising;
    mTimer = 0.2f;
}

void RandomStatsIcon::Update(float dt, PlayServices& services)
{
    if (!IsPresent())
        return;
    switch (mState)
    {
    case State::Rising:
        UpdateRising(dt);
        break;
    case State::New:
        services.SpawnParticleSystem(kArrivalParticles, static_cast<float>(mX + mW / 2), static_cast<float>(mY + 43));
        services.PlaySoundNamed("SOUND_PROBIRKA_ADD");
        services.PlaySoundNamed("SOUND_PROBIRKA_BULB");
        mState = State::BouncingIn;
        UpdateBouncing(dt);
        break;
    case State::BouncingIn:
        UpdateBouncing(dt);
        break;
    case State::Shown:
        UpdateLift(dt);
        break;
    case State::Absent:
        break;
    }
}

void RandomStatsIcon::UpdateRising(float dt)
{
    mTimer += dt;
    const float u = mTimer / kRiseSeconds;
    if (u > 1.0f)
        mState = State::Shown;
    mY = kHiddenY - static_cast<int>(tween::elastic.EaseOut(std::clamp(u, 0.0f, 1.0f), 0.0f, kTravel, 1.0f));
}

void RandomStatsIcon::UpdateBouncing(float dt)
{
    mTimer += dt;
    const float u = mTimer / kBounceSeconds;
    if (u > 1.0f)
        mState = State::Shown;
    mY = kHiddenY - static_cast<int>(tween::bounce.EaseOut(std::clamp(u, 0.0f, 1.0f), 0.0f, kTravel, 1.0f));
}

void RandomStatsIcon::UpdateLift(float dt)
{
    if (mLift <= 0.0f && !mHovered)
        return;
    mLift = std::clamp(mLift + (mHovered ? 7.0f : -7.0f) * dt, 0.0f, 1.0f);
    mY = kRestY - static_cast<int>(tween::quad.EaseOut(mLift, 0.0f, kLiftHeight, 1.0f));
}

void RandomStatsIcon::Draw(Quoll::Graphics* g) const
{
    if (!IsPresent())
        return;
    if (mFillImage != nullptr)
        g->DrawImage(mFillImage, mX + 4, mY + mFillTop);
    g->DrawImage(mImage, mX, mY);
}
