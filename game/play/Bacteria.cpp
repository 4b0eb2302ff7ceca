#include "game/play/Bacteria.h"

#include "game/play/PlayGlobals.h"
#include "game/play/PlayIds.h"
#include "game/scene/AnimSprite.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kTwoPi = 6.2831855f;
// The cell box every unit is centred in.
constexpr int kCellBoxWidth = 69;
constexpr int kCellBoxHeight = 66;
constexpr FloatPoint kBodyCentre{34, 33};
} // namespace

Quoll::Image* GetBodyImageForPlayer(PlayServices& services, int player)
{
    int kind = services.GetPlayerBacteria(player);
    if (kind < 1)
        kind = 1;
    if (Quoll::Image* image = services.GetImageById(PlayIds::kBodyImageBase + kind))
        return image;
    return services.GetImageById(PlayIds::kBodyImageBase + 1);
}

Bacteria::Bacteria(PlayServices& services) : BaseUnit(services), mFace(services)
{
    NewDriftDirection();
}

Bacteria::~Bacteria()
{
    if (Play().selectedBacterium == this)
        Play().selectedBacterium = nullptr;
}

int Bacteria::GetKind() const
{
    return mServices.GetPlayerBacteria(mValue);
}

AnimSprite* Bacteria::GetAnimSprite() const
{
    return static_cast<AnimSprite*>(mSprite.get());
}

void Bacteria::AttachWithDelay(int player, int layer, float delay)
{
    Attach(player, layer);
    mRequestedState = Born;
    mDelay = delay;
}

Bacteria* Bacteria::CloneOf(const Bacteria& bacterium)
{
    auto* clone = new Bacteria(bacterium.mServices);
    clone->AttachWithDelay(bacterium.mValue, 1, 0);
    return clone;
}

void Bacteria::StartMove(const FloatPoint& source)
{
    if (Play().selectedBacterium == this)
        Play().selectedBacterium = nullptr;
    SetState(Move);
    mStateTime = 0;
    const FloatPoint& at = GetPosition();
    mFrom = {source.x - at.x, source.y - at.y};
    // The move ends at offset (0, 0); the drift waits for the next drift behaviour.
    mDrift = {0, 0};
    mOffset = mFrom;
}

float Bacteria::StartBounce()
{
    SetState(Bounce);
    mStateTime = 0;
    return kCloneDelay;
}

void Bacteria::StartCapture(const Bacteria* capturer, float time)
{
    mCapturerPlayer = capturer != nullptr ? capturer->GetValue() : 0;
    SetState(Capture);
    mDelay = time >= 0 ? time + mServices.RandFloat(0.15f) : -time;
}

FloatPoint Bacteria::GetBodyCentre() const
{
    const FloatPoint p = GetWorldPosition();
    return {p.x + kBodyCentre.x, p.y + kBodyCentre.y};
}

FloatPoint Bacteria::GetDrawPosition() const
{
    const FloatPoint p = GetWorldPosition();
    return {p.x + static_cast<float>((kCellBoxWidth - GetSpriteWidth()) / 2) + mOffset.x,
            p.y + static_cast<float>((kCellBoxHeight - GetSpriteHeight()) / 2) + mOffset.y};
}

Quoll::Image* Bacteria::BodyImageForState(int state)
{
    Quoll::Image* image = nullptr;
    if (state == Born)
        image = mServices.GetImageById(PlayIds::kBornImageBase + std::max(1, GetKind()));
    else if (state == Captured)
        image = mServices.GetImageById(PlayIds::kBodyImageBase + 1);
    else
        image = GetBodyImageForPlayer(mServices, mValue);
    return image != nullptr ? image : mServices.GetImageById(PlayIds::kBodyImageBase + 1);
}

void Bacteria::OnStateChanged()
{
    if (!mSprite)
        mSprite = std::make_unique<AnimSprite>();
    AnimSprite& sprite = *GetAnimSprite();
    sprite.mImage = BodyImageForState(mState);
    if (mState == Burst)
    {
        const FloatPoint c = GetBodyCentre();
        mServices.SpawnParticleSystem(GetKind() - 1, c.x, c.y);
        return;
    }
    if (mState == Frozen)
    {
        sprite.mClock.Reset();
        sprite.mClock.Rewind();
    }
    else
    {
        // Births are bound and played by the update; other states loop from a random phase.
        sprite.StartAnimation(mServices, mState == Born ? -1.0f : mServices.RandFloat(1.0f));
        if (mState != Born)
            sprite.mClock.Play(-1);
        if (mState == Born || mState == Captured)
            mDelay += mServices.RandFloat(0.15f);
    }
    sprite.mSubPixel = true;
    mFace.SetKind(GetKind());
    mFace.Say(0, 0, true);
}

void Bacteria::Update(float dt)
{
    BaseUnit::Update(dt);
    mFace.Update(dt);
    if (mDelay > 0)
    {
        mDelay -= dt;
        return;
    }
    switch (mState)
    {
    case Born:
        UpdateBorn();
        break;
    case Idle:
        UpdateIdle(dt);
        break;
    case Move:
        UpdateMove(dt);
        break;
    case Bounce:
        UpdateBounce(dt);
        break;
    case Capture:
        UpdateCapture();
        break;
    case Captured:
        UpdateCaptured();
        break;
    default: // frozen, dead and burst wait for others to act
        break;
    }
}

void Bacteria::UpdateBorn()
{
    // A unit that never took a state has no body yet.
    if (!mSprite)
        return;
    AnimClock& clock = GetAnimSprite()->mClock;
    if (clock.IsPlaying())
        return;
    if (clock.GetProgress() == 0)
    {
        clock.Play(1);
        PlayIfInLayer(GetKind() == kBossBacteria ? "SOUND_BOSSBAC_SPAWN" : "SOUND_BAC_SPAWN");
        if (clock.IsPlaying())
            return;
    }
    SetState(Idle);
}

void Bacteria::PlayIfInLayer(const char* sound)
{
    if (mLayer >= 0)
        mServices.PlaySoundNamed(sound);
}

void Bacteria::UpdateMove(float dt)
{
    mStateTime += dt;
    if (mStateTime < kMoveTime)
    {
        const float u = 2 * mStateTime;
        mOffset = {mFrom.x + (mDrift.x - mFrom.x) * u, mFrom.y + (mDrift.y - mFrom.y) * u};
        MoveEffect({mOffset.x + kBodyCentre.x, mOffset.y + kBodyCentre.y});
        return;
    }
    mOffset = {0, 0};
    SetState(Idle);
    StopEffect();
}

void Bacteria::UpdateBounce(float dt)
{
    mStateTime += dt;
    if (!mSprite)
        return;
    Quoll::Transform& transform = mSprite->mTransform;
    if (mStateTime < kBounceTime)
    {
        const float r = std::sin(mStateTime / kBounceTime * kTwoPi);
        transform.Reset();
        transform.Scale(1 + 0.3f * r, 1 - 0.2f * r);
        // A scaled body is drawn centred on its point: half a cel keeps it on the cell.
        mOffset = {static_cast<float>(GetSpriteWidth() / 2), static_cast<float>(GetSpriteHeight() / 2)};
        return;
    }
    SetState(Idle);
    transform.Reset();
    mOffset = {0, 0};
}

void Bacteria::UpdateCapture()
{
    SetState(Captured, true);
    const FloatPoint c = GetBodyCentre();
    mServices.SpawnParticleSystem(GetKind() - 1, c.x, c.y);
    mServices.PlaySoundNamed(GetKind() == kBossBacteria ? "SOUND_BOSSBAC_POP" : "SOUND_BAC_POP");
    UpdateCaptured();
}

void Bacteria::UpdateCaptured()
{
    if (mCapturerPlayer != 0)
    {
        const int player = mCapturerPlayer;
        mCapturerPlayer = 0;
        AttachWithDelay(player, 1, mServices.RandFloat(0.2f));
        return;
    }
    SetState(Dead);
}

void Bacteria::NewDriftDirection()
{
    const float a = mServices.RandFloat(kTwoPi);
    mDrift = {std::cos(a), std::sin(a)};
}

bool Bacteria::StepOffset(float stepX, float stepY, float radius)
{
    mOffset.x += stepX;
    mOffset.y += stepY;
    const float length = std::sqrt(mOffset.x * mOffset.x + mOffset.y * mOffset.y);
    if (length <= radius)
        return false;
    mOffset.x *= radius / length;
    mOffset.y *= radius / length;
    return true;
}

void Bacteria::UpdateIdle(float dt)
{
    const FloatPoint mouse = Play().lastMousePos;
    // A pointer that never moved is not looked at.
    if (mouse.x == 0 && mouse.y == 0)
        return;
    const FloatPoint p = GetWorldPosition();
    const float dx = p.x + 33 - mouse.x;
    const float dy = p.y + 33 - mouse.y;
    const float dist = std::sqrt(dx * dx + dy * dy);
    const bool selected = Play().selectedBacterium == this;
    const bool human = mValue == 1;

    if (selected)
        SetBehaviour(Selected);
    if (human)
    {
        if (dist < 30 && mBehaviour != Selected)
            SetBehaviour(Look);
    }
    else if (dist < 70)
        SetBehaviour(Flee);
    if (mBehaviour == Look && dist > 30)
        SetBehaviour(Drift);

    if (mBehaviour == Selected)
    {
        if (!selected)
        {
            SetBehaviour(Drift);
            return;
        }
        if (StepOffset(mDrift.x * dt * 20, mDrift.y * dt * 20, mDriftRadius / 1.5f))
            NewDriftDirection();
    }
    if (mBehaviour == Flee)
    {
        if (dist > 70)
            SetBehaviour(Drift);
        else
        {
            // Away from the pointer (an unnormalised zero when it sits on the body's centre).
            const float ax = dist != 0 ? dx / dist : dx;
            const float ay = dist != 0 ? dy / dist : dy;
            if (StepOffset(ax * dt * 60 + mDrift.x * dt * 6, ay * dt * 60 + mDrift.y * dt * 6, mDriftRadius))
                NewDriftDirection();
        }
    }
    if (mBehaviour == Drift)
    {
        const float speed = human ? 2.0f : 6.0f;
        if (StepOffset(mDrift.x * dt * speed, mDrift.y * dt * speed, mDriftRadius))
        {
            if (human)
                NewDriftDirection();
            else
            {
                mStateTime = mServices.RandFloat(2.0f * static_cast<float>(mValue) / 7.0f);
                SetBehaviour(Rest);
            }
        }
    }
    if (mBehaviour == Rest)
    {
        mStateTime -= dt;
        if (mStateTime < 0)
            SetBehaviour(Drift);
    }
}

void Bacteria::SetBehaviour(int mode)
{
    if (mode == mBehaviour)
        return;
    const int previous = mBehaviour;
    mBehaviour = mode;
    const bool human = mValue == 1;
    switch (mode)
    {
    case Drift:
        NewDriftDirection();
        mFace.Say(0, 0, previous == Flee || previous == Selected || (human && previous == Look));
        break;
    case Flee:
    case Look:
        mFace.Say(human ? 1 : 2, 0, true);
        if (human)
            mServices.PlaySoundNamed("SOUND_BACGLORIA_OVER1");
        else
            mServices.PlaySoundNamed(GetKind() == kBossBacteria ? "SOUND_BACBOSS_OVER1" : "SOUND_BACENEMY_OVER1");
        break;
    case Selected:
        mFace.Say(2, 0, true);
        break;
    default:
        break;
    }
}

void Bacteria::Draw(Quoll::Graphics* g)
{
    if (mState == Captured || ((mState == Born || mState == Move) && mDelay > 0))
        return;
    if (!mSprite)
        return;
    const FloatPoint at = GetDrawPosition();
    mSprite->Draw(g, at.x, at.y, mColor);
    if (mState == Born || mState == Burst)
        return;
    const FloatPoint mouse = Play().lastMousePos;
    if (mState == Bounce)
        mFace.Draw(g, mColor, at.x - mOffset.x, at.y - mOffset.y, mouse.x, mouse.y);
    else
        mFace.Draw(g, mColor, at.x, at.y, mouse.x, mouse.y);
}
