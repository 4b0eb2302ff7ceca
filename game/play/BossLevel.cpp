#include "game/play/BossLevel.h"

#include "game/play/GameScene.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"

BossLevel::BossLevel(PlayServices& services, Level& level, GameScene& scene)
    : mServices(services), mScene(scene), mRules(level)
{
}

BossLevel::~BossLevel()
{
    if (!mRay.IsEmpty())
        mServices.KillParticleSystem(mRay);
    // After a step back the new boss may be the overlay already.
    if (mScene.GetOverlayNode() == this)
        mScene.SetOverlayNode(nullptr, nullptr);
}

HudAvatar* BossLevel::FindPortrait() const
{
    const HUD* hud = mScene.GetHud();
    return hud != nullptr ? hud->GetBossAvatar() : nullptr;
}

void BossLevel::RefreshPortraitArea()
{
    if (const HudAvatar* portrait = FindPortrait())
    {
        const Quoll::Rect r = portrait->GetScreenRect();
        mRules.SetPortraitArea({r.x, r.y, r.width, r.height});
    }
}

void BossLevel::BindHud()
{
    HudAvatar* portrait = FindPortrait();
    if (portrait != nullptr)
    {
        portrait->CreateBossGauge();
        portrait->SetBossHitPoints(mRules.GetHitPoints());
    }
    RefreshPortraitArea();
    mScene.SetOverlayNode(this, portrait);
}

void BossLevel::OnTurnPassed()
{
    RefreshPortraitArea();
    mRules.OnTurnPassed();
    // A ray that has just left the portrait (one with no way to go has landed already).
    if (mRules.IsAnimating() && mRules.GetRayTimer() == mRules.GetRayDuration())
        StartRay();
}

void BossLevel::StartRay()
{
    StopRay();
    const RayPoint start = mRules.GetRayStart();
    mRay = mServices.SpawnParticleSystem(kRayParticle, start.x, start.y);
    mServices.PlaySoundNamed("SOUND_BOSSBAC_RAYSPAWN", 1.0f, 0.0f);
}

void BossLevel::StopRay()
{
    if (!mRay.IsEmpty())
        mServices.StopParticleSystem(mRay);
    mRay = {};
}

void BossLevel::Update(float dt)
{
    VisualNode::Update(dt);
    if (!mRules.IsAnimating())
        return;
    mRules.Update(dt);
    if (!mRules.IsAnimating())
    {
        StopRay();
        return;
    }
    const RayPoint at = mRules.GetRayPosition();
    if (!mRay.IsEmpty())
        mServices.MoveParticleSystem(mRay, at.x, at.y);
}

void BossLevel::SetPendingBonus(int bonusCode)
{
    mRules.SetPendingBonus(bonusCode);
    if (HudAvatar* portrait = FindPortrait())
        portrait->SetTargeted(bonusCode == BONUS_BOMB);
}

bool BossLevel::TryUseBonus(ScreenPoint point)
{
    RefreshPortraitArea();
    if (!mRules.TryUseBonus(point))
        return false;
    if (HudAvatar* portrait = FindPortrait())
    {
        portrait->SetBossHitPoints(mRules.GetHitPoints());
        portrait->StartBossHits(kHitShowTime);
    }
    return true;
}

std::function<std::unique_ptr<BossLevelInterface>(Level& level, GameScene& scene)> MakeBossHook(PlayServices& services)
{
    return [&services](Level& level, GameScene& scene) -> std::unique_ptr<BossLevelInterface> {
        return std::make_unique<BossLevel>(services, level, scene);
    };
}
