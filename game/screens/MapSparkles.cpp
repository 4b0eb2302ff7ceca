#include "game/screens/MapSparkles.h"

#include "game/screens/Bulbulator.h"
#include "game/shell/PlayServices.h"

#include <cmath>
#include <numbers>

namespace
{
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
} // namespace

MapSparkles::MapSparkles(PlayServices& services) : mServices(services) {}

MapSparkles::~MapSparkles() = default;

void MapSparkles::AddParked(const MapNodeView* node)
{
    auto entry = std::make_unique<SparkleEntry>();
    entry->node = node;
    entry->radius = node->GetSparkleRadius();
    entry->sprite.mImage = mServices.GetImageById(mServices.GetResourceIdByName("IMAGE_STAR"));
    entry->sprite.mClock.SetAnimation(mServices.GetFrameAnimation(entry->sprite.mImage));
    mParked.push_back(std::move(entry));
}

void MapSparkles::Start(float a, float b)
{
    mFlyingLimit = kFlyingLimit;
    // With nothing parked nothing ever launches; the intervals then only keep the countdown sane.
    const float share = mParked.empty() ? 0.0f : 3.0f / static_cast<float>(mParked.size());
    mMinInterval = share + a;
    mMaxInterval = share + b;
}

void MapSparkles::Update(float dt)
{
    AdvanceFlying(dt);
    mCountdown -= dt;
    if (mCountdown <= 0.0f)
    {
        mCountdown = mMinInterval + mServices.RandFloat(mMaxInterval - mMinInterval);
        TryLaunch();
    }
}

void MapSparkles::AdvanceFlying(float dt)
{
    for (size_t i = 0; i < mFlying.size();)
    {
        SparkleEntry& entry = *mFlying[i];
        entry.sprite.Update(dt);
        if (!entry.sprite.mClock.IsPlaying() || entry.node->GetGlow() > 0.0f)
        {
            mParked.push_back(std::move(mFlying[i]));
            mFlying.erase(mFlying.begin() + static_cast<std::ptrdiff_t>(i));
        }
        else
            ++i;
    }
}

void MapSparkles::TryLaunch()
{
    if (static_cast<int>(mFlying.size()) >= mFlyingLimit || mParked.empty())
    {
        mCountdown = 0.0f;
        return;
    }
    const auto pick = static_cast<size_t>(mServices.RandInt(static_cast<int>(mParked.size())));
    // A star of the node under the mouse waits; the next update tries again.
    if (mParked[pick]->node->GetGlow() > 0.0f)
    {
        mCountdown = 0.0f;
        return;
    }
    std::unique_ptr<SparkleEntry> entry = std::move(mParked[pick]);
    mParked.erase(mParked.begin() + static_cast<std::ptrdiff_t>(pick));

    const FloatPoint anchor = entry->node->GetMedalAnchor();
    const float angle = mServices.RandFloat(kTwoPi);
    const float reach = entry->radius * mServices.RandFloat(1.0f);
    entry->x = anchor.x + std::cos(angle) * reach;
    entry->y = anchor.y + std::sin(angle) * reach;
    entry->sprite.mClock.Reset();
    entry->sprite.mClock.Play(1);
    entry->sprite.mTransform.Rotate(mServices.RandFloat(kTwoPi));
    mFlying.push_back(std::move(entry));
}

void MapSparkles::Draw(Quoll::Graphics* g)
{
    for (const auto& entry : mFlying)
        entry->sprite.Draw(g, entry->x, entry->y, Quoll::Color(255, 255, 255));
}
