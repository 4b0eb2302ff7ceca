#include "game/play/HudAvatar.h"

#include "framework/display/Graphics.h"
#include "game/play/Avatar.h"
#include "game/play/ProbirkaNode.h"
#include "game/play/VCell.h"
#include "game/shell/PlayServices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kEdge = 20.0f;
// Particle systems of a boss hit, the bomb's attack and an eliminated player.
constexpr int kBossHitBurst = 7;
constexpr int kBombAttack = 84;
constexpr int kDieEffect = 95;
const Quoll::Color kNeutralGrey(128, 128, 128, 255);
} // namespace

HudAvatar::HudAvatar(PlayServices& services) : mServices(services), mAvatar(new Avatar(services))
{
    AddChild(mAvatar);
}

void HudAvatar::Init(int player)
{
    mPlayer = player;
    SetState(Idle);
    mAvatar->Load(mServices.GetPlayerBacteria(player));
    mHome = HomePosition(player, Width(), Height());
    SetPosition(mHome);
}

FloatPoint HudAvatar::HomePosition(int player, int width, int height) const
{
    const auto w = static_cast<float>(mServices.GetAppWidth());
    const auto h = static_cast<float>(mServices.GetAppHeight());
    const auto fw = static_cast<float>(width);
    const auto fh = static_cast<float>(height);
    switch (player)
    {
    case 1:
        return {kEdge, h - kEdge - fh};
    case 2:
        return {w - kEdge - fw, kEdge};
    case 3:
        return {w - kEdge - fw, h - kEdge - fh};
    default:
        return {kEdge, kEdge};
    }
}

void HudAvatar::ResetToHome()
{
    VisualNode::SetPosition(mHome);
    StartBlend(0);
}

void HudAvatar::StartBlend(float duration)
{
    mBlendStart = GetPosition();
    mStartScale = mTargetScale;
    mBlendDuration = duration;
    mBlendRemaining = duration;
}

void HudAvatar::Enter(float wobblePeriod, float blend, float scale)
{
    mWobblePeriod = wobblePeriod;
    mWobbleTimer = mServices.RandFloat(wobblePeriod);
    StartBlend(blend);
    mTargetScale = scale;
}

void HudAvatar::SetState(int state)
{
    const int previous = mState;
    mState = state;
    const bool hero = mPlayer == 1;
    switch (state)
    {
    case Idle:
    case Targeted:
        Enter(10.0f, previous == ToMove ? kQuickBlend : kSlowBlend, 1.0f);
        mAvatar->SetEmotion(hero ? 1 : 0);
        break;
    case ToMove:
        Enter(3.0f, kQuickBlend, 1.2f);
        mStateOffset = TowardCentre(kForwardDistance);
        mAvatar->SetEmotion(hero ? 0 : 2);
        break;
    case Eliminated:
        Enter(10.0f, 1.0f, 0.5f);
        mStateOffset = {0, 1000};
        break;
    case Selecting:
        mAvatar->SetEmotion(hero ? 2 : 0);
        break;
    case BossHits:
        break;
    case Winner:
        // The wobble goes on where it was, faster.
        mWobblePeriod = 1.0f;
        StartBlend(kSlowBlend);
        mTargetScale = 1.0f;
        mAvatar->SetEmotion(hero ? 0 : 2);
        mServices.PlaySoundNamed(hero     ? "SOUND_AVATARGLORIA_WIN"
                                 : IsBoss() ? "SOUND_AVATARBOSS_WIN"
                                            : "SOUND_AVATARENEMY_WIN");
        break;
    default:
        break;
    }
}

bool HudAvatar::IsBusy() const
{
    return mBlendRemaining > 0 || mState == BossHits;
}

void HudAvatar::SetNoMovesMark(bool on)
{
    mNoMovesMark = on;
    if (!on)
        return;
    mMarkFlash = 1.0f;
    int cel = 0;
    mCellIcon.mImage = GetCellSkinImage(mServices, 1, cel);
    mCellIcon.mCel = 0;
    mCellIcon.mSubPixel = true;
}

bool HudAvatar::IsBoss() const
{
    return mAvatar->GetKind() == kBossBacteria;
}

int HudAvatar::Width() const
{
    return mAvatar->GetRect().width;
}

int HudAvatar::Height() const
{
    return mAvatar->GetRect().height;
}

Quoll::Rect HudAvatar::GetScreenRect() const
{
    if (Width() == 0 && Height() == 0)
        return {0, 0, 0, 0};
    const FloatPoint at = GetWorldPosition();
    return {static_cast<int>(at.x), static_cast<int>(at.y), Width(), Height()};
}

bool HudAvatar::HitTest(int x, int y) const
{
    const Quoll::Rect r = GetScreenRect();
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

void HudAvatar::CreateBossGauge()
{
    if (GetParent() == nullptr || mBossGauge != nullptr)
        return;
    mBossGauge = new ProbirkaNode(mServices);
    mBossGauge->Init(10, kBossBacteria);
    mBossGauge->mShowNumber = false;
    mBossGauge->SetPosition({965, 20});
    GetParent()->AddChild(mBossGauge);
}

void HudAvatar::SetBossHitPoints(int hitPoints)
{
    if (mBossGauge != nullptr)
        mBossGauge->SetLevel(hitPoints);
    if (mState == Eliminated && hitPoints > 0)
        SetState(Idle);
}

void HudAvatar::SetTargeted(bool on)
{
    if (on)
    {
        SetState(Targeted);
        return;
    }
    SetState(Idle);
    mAvatar->SetColour(kNeutralGrey);
}

void HudAvatar::StartBossHits(float duration)
{
    SetState(BossHits);
    mHitsLeft = kBossHitCount;
    mHitTimer = 0;
    mHitParticle = kBombAttack;
    mHitInterval = duration / static_cast<float>(kBossHitCount);
}

void HudAvatar::PlayDieEffect()
{
    const Quoll::Rect r = GetScreenRect();
    mServices.SpawnParticleSystem(kDieEffect, static_cast<float>(r.x + r.width / 2),
                                  static_cast<float>(r.y + r.height / 2));
    mServices.PlaySoundNamed("SOUND_AVATAR_FAIL");
}

void HudAvatar::PlayBossHit()
{
    --mHitsLeft;
    const Quoll::Rect r = GetScreenRect();
    const int qx = r.width / 4;
    const int qy = r.height / 4;
    // A bound of at least 1 keeps the draw defined for an avatar without a bust.
    const int hx = r.x + qx + mServices.RandInt(std::max(1, 2 * qx));
    const int hy = r.y + qy + mServices.RandInt(std::max(1, 2 * qy));
    mServices.SpawnParticleSystem(kBossHitBurst, static_cast<float>(hx), static_cast<float>(hy));
    mServices.SpawnParticleSystem(mHitParticle, static_cast<float>(hx), static_cast<float>(hy));
    mServices.PlaySoundNamed("SOUND_BOMB_EXPLOSION1");
    mServices.PlaySoundNamed("SOUND_BOSS_BEATTEN1");
}

FloatPoint HudAvatar::Wobble(float u, float amplitudeX, float amplitudeY)
{
    const float w = u < 0.5f ? 2.0f * u : 2.0f - 2.0f * u;
    const float phase = kTwoPi * w + (u < 0.5f ? 0.0f : std::numbers::pi_v<float>);
    return {amplitudeX * w, amplitudeY * std::sin(phase)};
}

FloatPoint HudAvatar::TowardCentre(float distance) const
{
    const float vx = static_cast<float>(mServices.GetAppWidth()) * 0.5f -
                     (mHome.x + static_cast<float>(Width() / 2));
    const float vy = static_cast<float>(mServices.GetAppHeight()) * 0.5f -
                     (mHome.y + static_cast<float>(Height() / 2));
    const float length = std::sqrt(vx * vx + vy * vy);
    if (length == 0)
        return {};
    return {vx / length * distance, vy / length * distance};
}

void HudAvatar::Update(float dt)
{
    VisualNode::Update(dt);
    float u = 0;
    // A period of 0 or less has no wobble (the reduction would never end).
    if (mWobblePeriod > 0)
    {
        mWobbleTimer += dt;
        while (mWobbleTimer > mWobblePeriod)
            mWobbleTimer -= mWobblePeriod;
        u = mWobbleTimer / mWobblePeriod;
    }
    if (mBlendRemaining > 0)
        mBlendRemaining -= dt;
    if (mMarkFlash > 0)
    {
        mMarkFlash = std::max(0.0f, mMarkFlash - dt);
        mMarkAlpha = static_cast<int>((std::cos(mMarkFlash * kTwoPi * 3.0f) + 1.0f) * 0.5f * 255.0f);
    }
    const auto at = [&](float ax, float ay, const FloatPoint& offset) {
        const FloatPoint w = mWobblePeriod > 0 ? Wobble(u, ax, ay) : FloatPoint{};
        SetPosition({mHome.x + w.x + offset.x, mHome.y + w.y + offset.y});
    };
    switch (mState)
    {
    case Idle:
        at(10, 10, {});
        break;
    case Targeted:
        at(10, 10, {});
        mAvatar->SetColour(Quoll::Color(112 + GetCellPulseAlpha() / 3, 128, 128));
        break;
    case ToMove:
        at(5, 5, mStateOffset);
        break;
    case Eliminated:
        at(20, 3, mStateOffset);
        break;
    case Winner:
        at(5, 20, mStateOffset);
        break;
    case BossHits:
        mHitTimer -= dt;
        if (mHitTimer < 0)
        {
            if (mHitsLeft <= 0)
            {
                SetState(Idle);
                break;
            }
            mHitTimer = mHitInterval;
            PlayBossHit();
        }
        SetPosition({mHome.x + mServices.RandFloat(5.0f), mHome.y + mServices.RandFloat(5.0f)});
        break;
    default:
        break;
    }
}

void HudAvatar::SetPosition(const FloatPoint& position)
{
    if (mBlendRemaining <= 0)
    {
        VisualNode::SetPosition(position);
        return;
    }
    const float k = mBlendRemaining / mBlendDuration;
    VisualNode::SetPosition({position.x + (mBlendStart.x - position.x) * k,
                             position.y + (mBlendStart.y - position.y) * k});
    mScale = mTargetScale + (mStartScale - mTargetScale) * k;
    mAvatar->SetScale(mScale);
}

void HudAvatar::Draw(Quoll::Graphics* g)
{
    VisualNode::Draw(g);
    if (!mNoMovesMark || (mState != Idle && mState != Eliminated))
        return;
    const FloatPoint toward = TowardCentre(100.0f);
    const FloatPoint p = GetPosition();
    const FloatPoint q{p.x + static_cast<float>(Width() / 2 - 33) + toward.x,
                       p.y + static_cast<float>(Height() / 2 - 33) + toward.y};
    mCellIcon.Draw(g, q.x, q.y, Quoll::Color::White);
    Quoll::Image* mark = mServices.GetImageById(mServices.GetResourceIdByName("IMAGE_NOMOVES"));
    if (mark == nullptr)
        return;
    g->SetImageTint(true);
    g->SetColor(Quoll::Color(255, 255, 255, mMarkAlpha));
    g->DrawImageF(mark, q.x + 5, q.y + 3);
}
