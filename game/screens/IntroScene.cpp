#include "game/screens/IntroScene.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/level/LevelList.h"
#include "game/scene/ParticleSystem.h"
#include "game/screens/Bulbulator.h"
#include "game/screens/SpotEffect.h"

#include <algorithm>

namespace
{
constexpr const char* kImageGroup = "Intro";
constexpr const char* kSoundGroup = "IntroSounds";

// Where the figures stand.
constexpr int kSopliX = 603, kSopliY = 523;
constexpr int kBossX = 532, kBossY = 590;
constexpr int kGloriaX = 260, kGloriaY = 590;
constexpr int kSmileDX = 29, kSmileDY = 36;
constexpr int kEyesDX = 22, kEyesDY = 21;
constexpr int kFearDX = 20, kFearDY = 14;
constexpr int kStakanX = 211, kStakanY = 520;

// The intro's particle systems: the first figure's ray, the infection ray of group index i
// (kFirstInfectionRay + i), the three failing rays, the failure's burst, Gloria's ray, her
// attack and the hit, and both leaving.
constexpr int kSopliRay = 68;
constexpr int kFirstInfectionRay = 42;
constexpr int kFirstFailingRay = 69;
constexpr int kRayFailBurst = 38;
constexpr float kBurstX = 563, kBurstY = 245;
constexpr int kFailingRayCount = 3;
constexpr int kGloriaRaySystem = 72;
constexpr int kGloriaAttack = 73;
constexpr int kBossHitBurst = 74;
constexpr int kBossLeavesBurst = 75;
constexpr int kBossLeavesRay = 76;
constexpr int kGloriaLeavesBurst = 77;
constexpr int kGloriaLeavesRay = 78;

const Quoll::Color kWhite(255, 255, 255);
} // namespace

IntroScene::IntroScene(PlayServices& services, IntroMapView& map, const LevelList& levels)
    : mServices(services), mMap(map), mLevels(levels)
{
    mServices.LoadResourceGroup(kImageGroup);
    mServices.LoadResourceGroup(kSoundGroup);
    mSpot = std::make_unique<SpotEffect>(services);
    mSpot->SetFullSize();
    Reset(true);
}

IntroScene::~IntroScene()
{
    mServices.UnloadResourceGroup(kImageGroup);
    mServices.UnloadResourceGroup(kSoundGroup);
    mServices.KillAllParticles();
}

Quoll::Image* IntroScene::Image(const char* name)
{
    return mServices.GetImageById(mServices.GetResourceIdByName(name));
}

void IntroScene::PlaySound(const char* name, float volume)
{
    mServices.PlaySoundNamed(name, volume, 0.0f);
}

void IntroScene::Reset(bool hidePoints)
{
    mState = kStart;
    mTimer = 0;
    mShake = 0;
    mServices.KillAllParticles();
    mEffect = {};
    mAttackLaunched = false;
    // One record per group, the highest group index first.
    const int count = mLevels.GetGroupCount();
    mRays.assign(static_cast<size_t>(std::max(count, 0)), IntroRay{});
    for (int i = 0; i < count; ++i)
        mRays[static_cast<size_t>(i)].groupIndex = count - 1 - i;
    if (hidePoints)
        mMap.HideAllPoints();
    else
        mMap.ShowOpenedPoints();
    mBoss.mImage = nullptr;
    mSmile = nullptr;
    mEyes = nullptr;
    mFear = nullptr;
    mGloria = nullptr;
}

void IntroScene::UpdateShake(float dt)
{
    mShakeTime += dt;
    if (mShakeTime <= 0.03f)
        return;
    mShakeTime = 0;
    mShake += mShakeDirection;
    if (mShake > 1)
    {
        mShake = 0;
        mShakeDirection = -1;
    }
    else if (mShake < -1)
    {
        mShake = 0;
        mShakeDirection = 1;
    }
}

void IntroScene::WaitThen(float seconds, int next)
{
    mState = kWaiting;
    mTimer = seconds;
    mNextState = next;
}

ParticleRef IntroScene::Spawn(int id, float x, float y)
{
    ParticleRef system = mServices.SpawnParticleSystem(id, x, y);
    if (!system.IsEmpty() && mServices.IsParticleAlive(system))
        system.system->StartPath();
    return system;
}

bool IntroScene::IsEffectDone(const ParticleRef& effect) const
{
    return effect.IsEmpty() || !mServices.IsParticleAlive(effect) || !effect.system->IsPathRunning();
}

bool IntroScene::FinishEffect()
{
    if (!IsEffectDone(mEffect))
        return false;
    mServices.StopParticleSystem(mEffect);
    mEffect = {};
    return true;
}

void IntroScene::Update(float dt)
{
    dt = std::min(dt, kMaxStep);
    if (mServices.IsKeyDown(kEscapeKey))
        mSkip = true;
    if (mSkip)
    {
        // Ends the intro once: every effect gone, the nodes showing the progress.
        if (mState != kFinished)
        {
            Reset(false);
            mState = kFinished;
        }
        return;
    }
    mSpot->Update(dt);
    mSopli.Update(dt);
    if (mState == kWaiting)
    {
        mTimer -= dt;
        if (mTimer < 0.0f)
            mState = mNextState;
        return;
    }
    if (mState >= kBossAppears)
        mMap.GetBulbs().Update(dt);
    RunState(dt);
}

void IntroScene::RunState(float dt)
{
    switch (mState)
    {
    case kStart:
        mTimer = 0;
        mMapImage = Image("IMAGE_MAP");
        mBlack = 1.0f;
        mMapScale = 1.3f;
        mState = kMapZoom;
        break;
    case kMapZoom:
        UpdateMapZoom(dt);
        break;
    case kSopli:
        if (!mSopli.mClock.IsPlaying())
        {
            mEffect = Spawn(kSopliRay);
            mState = kBossRay;
            PlaySound("SOUND_BOSSRAY_SHOW");
        }
        break;
    case kBossRay:
        if (FinishEffect())
        {
            mBoss.mImage = Image("IMAGE_BOSS");
            mBoss.StartAnimation(mServices, -1.0f);
            mBoss.mClock.Play(1);
            mSpot->MoveToCentre(0.5f);
            mState = kBossAppears;
            PlaySound("SOUND_BOSS_SHOW");
        }
        break;
    case kBossAppears:
        mBoss.Update(dt);
        if (!mBoss.mClock.IsPlaying())
        {
            // The first record's node shows at once, without a ray.
            mState = kSmile;
            mTimer = 0;
            if (!mRays.empty())
            {
                mMap.FadePoint(mRays.front().groupIndex, 0.0f, true);
                mRays.front().launched = true;
            }
        }
        break;
    case kSmile:
        UpdateSmile(dt);
        break;
    case kInfectionRays:
        UpdateInfectionRays(dt);
        break;
    case kFailingRays:
        UpdateFailingRays();
        break;
    case kGloriaRay:
        if (FinishEffect())
        {
            mState = kGloriaAttacks;
            mSmile = nullptr;
            mGloria = Image("IMAGE_GLORIA");
            mGloriaColor = Quoll::Color(255, 255, 255, 0);
            mTimer = 1.0f;
            mSpot->MoveToCentre(0.5f);
        }
        break;
    case kGloriaAttacks:
        UpdateGloriaAttack(dt);
        break;
    case kBossHit:
        mTimer -= dt;
        if (mTimer < 0.0f)
        {
            mState = kBossLeaves;
            Spawn(kBossLeavesBurst);
            mEffect = Spawn(kBossLeavesRay);
            mFear = nullptr;
            mBoss.mImage = nullptr;
            PlaySound("SOUND_BOSS_TORAY");
        }
        break;
    case kBossLeaves:
        if (FinishEffect())
        {
            mTimer = 1.0f;
            mState = kGloriaLeaves;
        }
        break;
    case kGloriaLeaves:
        UpdateGloriaLeaves(dt);
        break;
    default:
        break;
    }
}

void IntroScene::UpdateMapZoom(float dt)
{
    mTimer += dt;
    if (mTimer < kZoomSeconds)
    {
        mMapScale = 1.0f + 0.3f * (1.0f - mTimer / kZoomSeconds);
        mBlack = mTimer < 0.8f ? 1.0f - mTimer / 0.8f : 0.0f;
        return;
    }
    // The map is in place: the first figure plays its animation under the spotlight.
    mMapImage = nullptr;
    mBlack = 0;
    mSopli.mImage = Image("IMAGE_BOSS_SOPLY");
    mSopli.StartAnimation(mServices, -1.0f);
    mSopli.mClock.Play(1);
    mSpot->Start(675.0f, 500.0f, 0.7f, 550.0f, 550.0f, 0.8f);
    WaitThen(1.0f, kSopli);
    PlaySound("SOUND_BOSSSOPLY_SHOW");
}

void IntroScene::UpdateSmile(float dt)
{
    if (mTimer == 0.0f)
        mTimer = 1.4f;
    mTimer -= dt;
    if (mTimer < 0.0f)
    {
        mTimer = 0;
        mEyes = nullptr;
        mState = kInfectionRays;
        PlaySound("SOUND_BOSS_LAUGH");
        return;
    }
    mSmile = Image("IMAGE_BOSS_SMILE");
    // Near the end the boss opens its eyes and the first figure is gone.
    if (mTimer < 0.2f && mSopli.mImage != nullptr)
    {
        mEyes = Image("IMAGE_BOSS_EYES");
        mSopli.mImage = nullptr;
    }
}

void IntroScene::UpdateInfectionRays(float dt)
{
    const int count = static_cast<int>(mRays.size());
    mTimer = std::min(mTimer + dt, kRaySeconds);
    if (count > 0)
    {
        // One ray every kRaySeconds / count; a long step launches the ones it passed as well.
        const int due = std::min(static_cast<int>(mTimer / (kRaySeconds / static_cast<float>(count))), count - 1);
        for (int k = 0; k <= due; ++k)
        {
            IntroRay& record = mRays[static_cast<size_t>(k)];
            if (record.launched)
                continue;
            record.ray = Spawn(kFirstInfectionRay + record.groupIndex);
            record.launched = true;
            record.flying = true;
            PlaySound("SOUND_INFECTIONRAY_OUT", 0.5f);
        }
    }
    UpdateShake(dt);
    for (IntroRay& record : mRays)
    {
        if (!record.flying || !IsEffectDone(record.ray))
            continue;
        mServices.StopParticleSystem(record.ray);
        record.ray = {};
        record.flying = false;
        mMap.FadePoint(record.groupIndex, 0.6f, true);
        PlaySound("SOUND_INFECTIONRAY_FALL");
    }
    const bool allLanded = std::all_of(mRays.begin(), mRays.end(), [](const IntroRay& r) { return r.launched && !r.flying; });
    if (!allLanded || mMap.AnyPointFading())
        return;
    mFailedRays = 0;
    mEffect = Spawn(kFirstFailingRay);
    mSpot->Start(420.0f, 290.0f, 2.3f, 550.0f, 550.0f, 0.4f);
    mState = kFailingRays;
    PlaySound("SOUND_INFECTIONRAY_OUT");
}

void IntroScene::UpdateFailingRays()
{
    if (!FinishEffect())
        return;
    Spawn(kRayFailBurst, kBurstX, kBurstY);
    PlaySound("SOUND_INFECTIONRAY_FAIL");
    ++mFailedRays;
    if (mFailedRays < kFailingRayCount)
    {
        mEffect = Spawn(kFirstFailingRay + mFailedRays);
        PlaySound("SOUND_INFECTIONRAY_OUT", 0.7f);
        return;
    }
    mEffect = Spawn(kGloriaRaySystem);
    mState = kGloriaRay;
    PlaySound("SOUND_GLORIA_OUT");
}

void IntroScene::UpdateGloriaAttack(float dt)
{
    if (mTimer > 0.0f)
    {
        mTimer = std::max(mTimer - dt, 0.0f);
        mGloriaColor.a = static_cast<int>(255.0f * (1.0f - mTimer));
        if (mTimer > 0.0f)
            return;
    }
    mGloriaColor.a = 255;
    if (!mAttackLaunched)
    {
        mAttackLaunched = true;
        mEffect = Spawn(kGloriaAttack);
        PlaySound("SOUND_GLORIA_ATTACK");
        return;
    }
    if (!FinishEffect())
        return;
    mTimer = 2.0f;
    mFear = Image("IMAGE_BOSS_FEAR");
    Spawn(kBossHitBurst, static_cast<float>(kBossX + 38), static_cast<float>(kBossY + 50));
    mState = kBossHit;
    PlaySound("SOUND_BOSS_UNDERATTACK");
}

void IntroScene::UpdateGloriaLeaves(float dt)
{
    if (mTimer > 0.0f)
    {
        mTimer -= dt;
        if (mTimer <= 0.0f)
        {
            mGloria = nullptr;
            Spawn(kGloriaLeavesBurst);
            mEffect = Spawn(kGloriaLeavesRay);
            PlaySound("SOUND_GLORIA_TORAY");
        }
        return;
    }
    if (!FinishEffect())
        return;
    WaitThen(1.0f, kFinished);
    Spawn(kRayFailBurst, kBurstX, kBurstY);
}

void IntroScene::DrawBack(Quoll::Graphics* g)
{
    mSopli.Draw(g, static_cast<float>(kSopliX), static_cast<float>(kSopliY), kWhite);
    mMap.GetBulbs().Draw(g);
    mBoss.Draw(g, static_cast<float>(kBossX), static_cast<float>(kBossY), kWhite);
    g->SetImageTint(false);
    if (mSmile != nullptr)
        g->DrawImage(mSmile, kBossX + kSmileDX, kBossY + kSmileDY + mShake);
    if (mFear != nullptr)
        g->DrawImage(mFear, kBossX + kFearDX, kBossY + kFearDY);
    if (mEyes != nullptr)
        g->DrawImage(mEyes, kBossX + kEyesDX, kBossY + kEyesDY);
    if (mGloria != nullptr)
    {
        g->SetImageTint(true);
        g->SetColor(mGloriaColor);
        g->DrawImage(mGloria, kGloriaX, kGloriaY);
        g->SetImageTint(false);
    }
    const int screenW = mServices.GetAppWidth();
    const int screenH = mServices.GetAppHeight();
    if (mMapImage != nullptr)
    {
        const int w = static_cast<int>(static_cast<float>(screenW) * mMapScale);
        const int h = static_cast<int>(static_cast<float>(screenH) * mMapScale);
        g->DrawImage(mMapImage, (screenW - w) / 2, (screenH - h) / 2, w, h);
    }
    if (mBlack > 0.0f)
    {
        g->SetColor(Quoll::Color(0, 0, 0, static_cast<int>(255.0f * mBlack)));
        g->FillRect(0, 0, screenW, screenH);
    }
}

void IntroScene::DrawFront(Quoll::Graphics* g)
{
    if (mState != kMapZoom)
        if (Quoll::Image* stakan = Image("IMAGE_STAKAN"))
        {
            g->SetImageTint(false);
            g->DrawImage(stakan, kStakanX, kStakanY);
        }
    mSpot->Draw(g);
}
