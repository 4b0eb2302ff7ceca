#include "game/play/VCell.h"

#include "game/play/Bacteria.h"
#include "game/play/Bonus.h"
#include "game/play/PlayFunctions.h"
#include "game/play/PlayGlobals.h"
#include "game/play/PlayIds.h"
#include "game/scene/Easing.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kThreeHalvesPi = 4.712389f;
// Overlay cels of the strip: 3 the selection, 4 the clone target, 5 the others.
constexpr int kLastOverlayCel = 5;

float AdvancePhase(float phase, float step)
{
    phase += step;
    if (phase > kTwoPi)
        phase -= kTwoPi;
    return phase;
}
} // namespace

Quoll::Image* GetCellSkinImage(PlayServices& services, int kind, int& cel)
{
    if (kind == 0)
        return nullptr;
    if (kind < 1 || kind > 3)
    {
        services.LogWarning("Cell view: no cell image for kind " + std::to_string(kind));
        return nullptr;
    }
    cel = kind - 1;
    const int skin = std::clamp(services.GetCellSkin(), 1, 5);
    return services.GetImageById(PlayIds::kCellImageBase + skin);
}

void UpdateCellPulse(float dt)
{
    PlayGlobals& play = Play();
    play.pulseClock += dt;
    if (play.pulseClock > 1.0f)
        play.pulseClock -= 1.0f;
    const float p = play.pulseClock;
    const int p1 = 200 + static_cast<int>(std::floor(55 * (std::sin(kTwoPi * p) + 1) / 2));
    const int p2 = 180 + static_cast<int>(std::floor(75 * (std::sin(kTwoPi * (p - 0.5f)) + 1) / 2));
    for (int state : {VCell::CloneTarget, VCell::Hovered, VCell::BombArea})
        play.overlayAlpha[static_cast<size_t>(state)] = p1;
    for (int state : {VCell::JumpTarget, VCell::HoveredBombArea})
        play.overlayAlpha[static_cast<size_t>(state)] = p2;
}

int GetCellPulseAlpha()
{
    return Play().overlayAlpha[VCell::JumpTarget];
}

void VCell::Attach(int value, int layer)
{
    BaseUnit::Attach(value, layer);
    mHome = GetPosition();
}

void VCell::OnStateChanged()
{
    int cel = 0;
    Quoll::Image* image = mValue > 0 ? GetCellSkinImage(mServices, mValue, cel) : nullptr;
    if (mValue <= 0 || image == nullptr)
    {
        mSprite.reset();
        return;
    }
    if (!mSprite)
        mSprite = std::make_unique<Sprite>();
    mSprite->mImage = image;
    mSprite->mCel = cel;
}

void VCell::SetPosition(const FloatPoint& position)
{
    VisualNode::SetPosition(position);
    if (mBacteria != nullptr)
        mBacteria->SetPosition(position);
    if (mBonus != nullptr)
        mBonus->SetPosition(position);
}

void VCell::SetBacteria(Bacteria* bacterium)
{
    if (bacterium == mBacteria)
        return;
    delete mBacteria;
    mBacteria = bacterium;
    if (mBacteria != nullptr)
        mBacteria->SetPosition(GetPosition());
}

void VCell::SetBonus(Bonus* bonus)
{
    if (bonus == mBonus)
        return;
    delete mBonus;
    mBonus = bonus;
    if (mBonus != nullptr)
        mBonus->SetPosition(GetPosition());
    // The bacterium draws over the bonus.
    if (mBacteria != nullptr)
        mBacteria->ReattachToLayer();
}

Bacteria* VCell::TakeBacteria()
{
    Bacteria* taken = mBacteria;
    mBacteria = nullptr;
    return taken;
}

Bonus* VCell::TakeBonus()
{
    Bonus* taken = mBonus;
    mBonus = nullptr;
    if (taken != nullptr)
        taken->DetachFromLayer();
    return taken;
}

FloatPoint VCell::GetCentre() const
{
    const FloatPoint p = GetWorldPosition();
    if (!mSprite || mSprite->mImage == nullptr)
        return {p.x + 34, p.y + 33};
    return {p.x + static_cast<float>(GetSpriteWidth() / 2), p.y + static_cast<float>(GetSpriteHeight() / 2)};
}

FloatPoint VCell::GetSpriteSize() const
{
    return {static_cast<float>(GetSpriteWidth()), static_cast<float>(GetSpriteHeight())};
}

void VCell::Update(float dt)
{
    BaseUnit::Update(dt);
    Play().phaseA = AdvancePhase(Play().phaseA, 0.7f * dt);
    Play().phaseB = AdvancePhase(Play().phaseB, 0.8f * dt);
    RemoveDeadUnits();
    UpdateBomb(dt);
}

void VCell::RemoveDeadUnits()
{
    if (mBacteria != nullptr && mBacteria->GetState() == Bacteria::Dead)
        SetBacteria(nullptr);
    if (mBonus != nullptr && mBonus->GetState() == Bonus::Gone)
    {
        // Deleting the bonus must not bring the bacterium forward again.
        delete mBonus;
        mBonus = nullptr;
    }
}

void VCell::UpdateBomb(float dt)
{
    if (mBombTimer < 0)
        return;
    mBombTimer -= dt;
    if (mBombTimer >= 0)
        return;
    const FloatPoint c = GetCentre();
    mServices.SpawnParticleSystem(PlayIds::kBombExplosionParticle, c.x, c.y);
    mServices.PlaySoundNamed("SOUND_BOMB_EXPLOSION1");
}

FloatPoint VCell::GetWobble() const
{
    switch (mState)
    {
    case Highlighted:
    case HoveredTarget:
    case Hovered:
        return {std::cos(Play().phaseA), std::sin(Play().phaseA)};
    case HoveredBombArea:
        return {2 * std::cos(Play().phaseB), 2 * std::sin(Play().phaseB)};
    default:
        return {0, 0};
    }
}

void VCell::Draw(Quoll::Graphics* g)
{
    // The wobble moves the cell alone, not its units.
    const FloatPoint home = GetPosition();
    const FloatPoint wobble = GetWobble();
    VisualNode::SetPosition({home.x + wobble.x, home.y + wobble.y});
    DrawSprite(g);
    if (mSprite && mState != Normal && mState != HoveredTarget && mState >= 0 && mState < kStateCount)
        DrawOverlay(g, GetWorldPosition());
    VisualNode::SetPosition(home);
}

void VCell::DrawSprite(Quoll::Graphics* g)
{
    BaseUnit::Draw(g);
}

void VCell::DrawOverlay(Quoll::Graphics* g, const FloatPoint& at)
{
    const int savedCel = mSprite->mCel;
    Quoll::Color colour = mColor;
    mSprite->mCel = mState < Hovered ? mState + 2 : kLastOverlayCel;
    colour.a = Play().overlayAlpha[static_cast<size_t>(mState)];
    if (mState == BombArea || mState == HoveredBombArea)
    {
        colour.a = colour.a / 2 + 20;
        colour.g = 30;
        colour.b = 20;
    }
    mSprite->Draw(g, at.x, at.y, colour);
    mSprite->mCel = savedCel;
}

FloatPoint VCell::GetTransitionOffset(int path, float t) const
{
    const FloatPoint gather = Play().gatherPoint;
    float nx = mHome.x - gather.x;
    float ny = mHome.y - gather.y;
    const float length = std::sqrt(nx * nx + ny * ny);
    if (length > 0)
    {
        nx /= length;
        ny /= length;
    }
    const auto width = static_cast<float>(mServices.GetAppWidth());
    const float e = EaseOutSine(t);
    const float ax = nx * width / 1.6f;
    const float ay = ny * width / 1.6f;
    const float vx = nx * width;
    const float vy = ny * width;
    switch (((path % kPathCount) + kPathCount) % kPathCount)
    {
    case 0:
    {
        const float a = kThreeHalvesPi * t;
        return {e * (ax * std::cos(a) - ay * std::sin(a)), e * (ax * std::sin(a) + ay * std::cos(a))};
    }
    case 1:
    {
        const float a = kThreeHalvesPi * t;
        return {e * (ax * std::cos(a) + ay * std::sin(a)), e * (ax * std::sin(a) + ay * std::cos(a))};
    }
    case 2:
    {
        const float b = kPi * t;
        return {e * (vx * std::cos(b) - vy * std::sin(b)), e * (vy * std::cos(b))};
    }
    case 3:
    {
        const float a = kThreeHalvesPi * t;
        return {e * tween::cubic.EaseOut(t, 0, vx, 1), e * vy * (std::sin(a) + std::cos(a))};
    }
    default:
    {
        const float c = std::cos(kTwoPi * t);
        return {e * c * ax, e * c * ay};
    }
    }
}

void VCell::ApplyTransition(int path, float t)
{
    BaseUnit::Update(0);
    const FloatPoint offset = GetTransitionOffset(path, t);
    SetPosition({mHome.x + offset.x, mHome.y + offset.y});
}
