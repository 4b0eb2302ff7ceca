#include "game/play/Bonus.h"

#include "game/play/PlayIds.h"
#include "framework/display/Graphics.h"
#include "game/scene/AnimSprite.h"

#include <cmath>

namespace
{
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;

std::unique_ptr<Sprite> PlainSprite(Quoll::Image* image)
{
    auto sprite = std::make_unique<Sprite>();
    sprite->mImage = image;
    sprite->mCentred = false;
    return sprite;
}
} // namespace

void AdvanceAngle(float& angle, float step)
{
    angle += step;
    if (angle > kTwoPi)
        angle -= kTwoPi;
}

Bonus::Bonus(PlayServices& services) : BaseUnit(services), mAngle(services.RandFloat(kTwoPi)) {}

Bonus::~Bonus()
{
    mGlowA.reset();
    mGlowB.reset();
}

void Bonus::AttachWithDelay(int kind, int layer, float delay)
{
    Attach(kind, layer);
    mTimer = delay;
    SetState(Appearing, true);
    mHidden = true;
}

Quoll::Image* Bonus::MainImage()
{
    if (Quoll::Image* image = mServices.GetImageById(PlayIds::kBonusImageBase + mValue / 4))
        return image;
    return mServices.GetImageById(PlayIds::kBonusImageBase + 1);
}

void Bonus::CreateMainSprite()
{
    if (mValue == LaidMine)
    {
        auto sprite = std::make_unique<AnimSprite>();
        sprite->mImage = MainImage();
        sprite->StartAnimation(mServices, -1);
        sprite->mClock.Play(1);
        mSprite = std::move(sprite);
    }
    else
        mSprite = PlainSprite(MainImage());
    mSprite->mCentred = false;
}

void Bonus::OnStateChanged()
{
    if (!mSprite)
        CreateMainSprite();
    if (mState == OnBoard)
    {
        if (mValue < LaidMine)
        {
            mGlowB.reset();
            mGlowA = PlainSprite(mServices.GetImageById(PlayIds::kBonusGlowImageBase + mValue / 4));
            SetScales(0.65f, 1.0f);
        }
        else
            mAngle = 1.0f;
        if (mValue == Teleport)
            mSprite->mTransform.Rotate(mServices.RandFloat(kTwoPi));
    }
    else if (mState == InInventory)
        SetScales(1.4f, 1.7f);
}

void Bonus::SetScales(float main, float glow)
{
    mMainScale = main;
    mGlowScale = glow;
    if (mSprite)
    {
        mSprite->mTransform.Reset();
        mSprite->SetScale(main);
    }
    for (Sprite* sprite : {mGlowA.get(), mGlowB.get()})
        if (sprite != nullptr)
            sprite->SetScale(glow);
}

void Bonus::Activate(float time)
{
    if (mRequestedState == Activated)
        return;
    SetState(Activated);
    mTimer = time + mServices.RandFloat(0.35f);
}

void Bonus::FlyToInventory(const FloatPoint& start)
{
    mTimer = kFlightTime;
    const FloatPoint parent = GetParent() != nullptr ? GetParent()->GetWorldPosition() : FloatPoint{};
    mFlightStart = {start.x - parent.x, start.y - parent.y};
    mRestPoint = {GetPosition().x + 20, GetPosition().y};
    SetState(Flying);
    StopEffect();
    SetEffect(mServices.SpawnParticleSystem(PlayIds::kBonusFlightParticle, start.x, start.y));
    mServices.PlaySoundNamed("SOUND_BONUS_GETFLY");
}

void Bonus::SettleInInventory()
{
    const bool wasFlying = mState == Flying;
    SetState(InInventory);
    mAngle = 0;
    mHidden = false;
    if (mValue < LaidMine)
    {
        Quoll::Image* glow = mServices.GetImageById(mServices.GetResourceIdByName("IMAGE_BONUSH"));
        mGlowA = PlainSprite(glow);
        mGlowB = PlainSprite(glow);
    }
    SetScales(1.4f, 1.7f);
    mRestPoint = {GetPosition().x - (wasFlying ? 20.0f : 0.0f), GetPosition().y};
}

void Bonus::Update(float dt)
{
    BaseUnit::Update(dt);
    switch (mState)
    {
    case Appearing:
        mTimer -= dt;
        if (mTimer < 0)
        {
            SetState(OnBoard, true);
            mHidden = false;
        }
        break;
    case Activated:
        mTimer -= dt;
        if (mTimer < 0)
            SetState(Bursting);
        return;
    case Bursting:
        Burst();
        return;
    case Flying:
        UpdateFlight(dt);
        return;
    default:
        break;
    }
    AdvanceAngle(mAngle, 5 * dt);
    mPulse = (std::sin(mAngle) + 1) * 0.5f;
    if (mState == InInventory)
    {
        mPulse = 1.0f;
        if (mGlowA)
            mGlowA->mTransform.Rotate(dt);
        if (mGlowB)
            mGlowB->mTransform.Rotate(-dt);
        mAngle += 3 * dt;
        SetPosition({mRestPoint.x + 20 * std::cos(mAngle), mRestPoint.y + 10 * std::sin(mAngle)});
        if (mValue == Teleport && mSprite)
            mSprite->mTransform.Rotate(5 * dt);
    }
    else if (mState == OnBoard)
    {
        if (mValue >= LaidMine)
            mAngle = 1.0f;
        else if (mValue == Teleport && mSprite)
            mSprite->mTransform.Rotate(dt);
    }
}

void Bonus::Burst()
{
    const FloatPoint p = GetWorldPosition();
    mServices.SpawnParticleSystem(PlayIds::kBonusBurstParticleBase + mValue / 4, p.x + 34, p.y + 33);
    mServices.PlaySoundNamed(mValue == LaidMine ? "SOUND_MINE_EXPLOSION" : "SOUND_BONUS_DESTROY");
    SetState(Gone);
}

void Bonus::UpdateFlight(float dt)
{
    mPulse = 1.0f;
    mTimer -= dt;
    if (mTimer < 0)
    {
        SetPosition(mRestPoint);
        SettleInInventory();
        StopEffect();
        mServices.PlaySoundNamed("SOUND_BONUS_FLY_END");
        return;
    }
    const float u = 1 - mTimer;
    MoveEffect({34, 33});
    SetPosition({mFlightStart.x + (mRestPoint.x - mFlightStart.x) * u + kFlightBulge * std::sin(kPi * u),
                 mFlightStart.y + (mRestPoint.y - mFlightStart.y) * u});
    SetScales(1 + 0.4f * u, 1 + 0.7f * u);
}

void Bonus::DrawScaled(Quoll::Graphics* g, Sprite& sprite, const FloatPoint& p, float scale, int alpha)
{
    const float x = p.x + (69 - static_cast<float>(sprite.GetWidth()) * scale) * 0.5f;
    const float y = p.y + (66 - static_cast<float>(sprite.GetHeight()) * scale) * 0.5f;
    sprite.Draw(g, x, y, Quoll::Color(255, 255, 255, alpha));
}

void Bonus::Draw(Quoll::Graphics* g)
{
    if (mHidden)
        return;
    const FloatPoint p = GetWorldPosition();
    g->SetImageTint(true);
    for (Sprite* glow : {mGlowA.get(), mGlowB.get()})
        if (glow != nullptr)
            DrawScaled(g, *glow, p, mGlowScale, static_cast<int>(mPulse * 255));
    if (mSprite)
        DrawScaled(g, *mSprite, p, mMainScale, 190 + static_cast<int>(std::floor(65 * mPulse)));
}
