#include "game/screens/LevelMap.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/platform/system/Utf8.h"
#include "game/level/AssetCfg.h"
#include "game/level/LevelList.h"
#include "game/scene/Truncate.h"
#include "game/screens/LevelMapServices.h"
#include "game/screens/MapIntro.h"
#include "game/shell/SharedFonts.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Quoll
{
namespace
{
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kArrowSpeed = 8.0f;
constexpr int kAchievementsSlide = 300;
const Quoll::Color kAchievementsDisabled(0x333333, 60);
const Quoll::Color kRandomCaption(0x90FF90, 255);

// The start button's blink, shared by every map and never reset.
float sBlinkClock = 0.0f;

std::wstring Format(const char* pattern, const std::wstring& name, int score)
{
    std::wstring text;
    for (const char* p = pattern; *p != '\0'; ++p)
    {
        if (p[0] == '%' && p[1] == 's')
        {
            text += name;
            ++p;
        }
        else if (p[0] == '%' && p[1] == 'i')
        {
            text += std::to_wstring(score);
            ++p;
        }
        else
            text += static_cast<wchar_t>(*p);
    }
    return text;
}

void PlayNamed(const char* name, float volume = 1.0f)
{
    Ui().PlaySound(Ui().GetResourceIdByName(name), volume, 0.0f);
}
} // namespace

void LevelMap::ResetStartBlink()
{
    sBlinkClock = 0.0f;
}

LevelMap::LevelMap(LevelMapServices& services)
    : mServices(services), mMapPoints(services), mSelectors(services),
      mBulbs(services.GetPlayServices(), services.GetLevelList()), mSparkles(services.GetPlayServices())
{
}

LevelMap::~LevelMap() = default;

Quoll::Button* LevelMap::MakeButton(int id, const std::string& labelKey, const char* image, const char* overImage)
{
    auto* button =
        new Quoll::Button(id, labelKey, this, Ui().GetImageNamed(image), Ui().GetImageNamed(overImage), ButtonFont);
    button->SetColor(0, ColorLabel);
    button->SetColor(1, ColorLabelOver);
    button->mHintColor = ColorHint;
    AddWidget(button);
    return button;
}

void LevelMap::MakeButtons()
{
    mMainMenuButton = MakeButton(kMainMenu, "UI_MAIN_MENU", "IMAGE_BTN2", "IMAGE_BTN2_OVER");
    mMainMenuButton->SetHint("HINT_TO_MAIN_MENU", 0, -1);
    mMainMenuButton->mHintOffsetX = 0;
    mMainMenuButton->mHintOffsetY = -30;
    mMainMenuButton->mHintWidth = 1000;
    mMainMenuButton->mHintJustification = -1;

    mStartButton = MakeButton(kStart, "UI_START", "IMAGE_BTN2", "IMAGE_BTN2_OVER");
    mStartButton->SetHint("HINT_START_LEVEL", 1, 0);
    mStartButton->mHintOffsetX = 40;
    mStartButton->mHintOffsetY = -15;
    mStartButton->mHintWidth = 1000;
    mStartButton->mHintJustification = 0;

    mAchievementsButton = MakeButton(kAchievements, "", "IMAGE_BTN1", "IMAGE_BTN1_OVER");
    mAchievementsButton->SetColor(6, kAchievementsDisabled);
    mAchievementsButton->mIcon = Ui().GetImageNamed("IMAGE_ACHIEVE_ICON");
    mAchievementsButton->mIconX = 13;
    mAchievementsButton->mIconY = 19;
    mAchievementsButton->SetHint("HINT_ACHIEVEMENTS", 0, 1);
    mAchievementsButton->mHintOffsetX = -10;
    mAchievementsButton->mHintOffsetY = 35;
    mAchievementsButton->mHintWidth = 250;
    mAchievementsButton->mHintJustification = 1;

    mSkipIntroButton = MakeButton(kSkipIntro, "", "IMAGE_BTN1", "IMAGE_BTN1_OVER");
    mSkipIntroButton->mIcon = Ui().GetImageNamed("IMAGE_KREST");
    mSkipIntroButton->mIconX = 10;
    mSkipIntroButton->mIconY = 10;
    mSkipIntroButton->SetHint("HINT_SKIP_INTRO", 0, 1);
    mSkipIntroButton->mHintOffsetX = -5;
    mSkipIntroButton->mHintOffsetY = 20;
    mSkipIntroButton->mHintJustification = 1;
}

void LevelMap::Attach(WidgetLink* link)
{
    // Without its group the map still works: the loader has logged the failure.
    Ui().LoadResourceGroup(kGroup);
    MakeButtons();
    mAchievementsGlow.SetDefaultImage(Ui());
    mAchievementsGlow.SetScale(2.5f);
    mAchievementsGlow.mSpeed = 2.0f;
    mHasNewAchievements = mServices.HasNewAchievements();
    Resize(0, 0, Ui().GetAppWidth(), Ui().GetAppHeight());
    QuollWidget::Attach(link);
    mMenuSlide = 0.0f;
    BuildCaptions();
    mRandomPanel =
        std::make_unique<RandomStatsPanel>(mServices.GetPlayServices(), mServices.GetLevelList(), mServices.GetProfile());
}

void LevelMap::BuildCaptions()
{
    const std::wstring name = Quoll::Platform::Utf8ToWide(mServices.GetProfileName());
    const int score = mServices.GetTotalScore();
    mPlainCaption = Format("%s %i", name, score);
    mColouredCaption = Format("^f2d831^%s^oldclr^ %i", name, score);
    Quoll::Font* font = Ui().GetFontNamed("FONT_FNT1");
    const int width = font != nullptr ? font->StringWidth(mPlainCaption) : 0;
    mCaptionX = 310 - width / 2;
    mCaptionY = 72;
}

void LevelMap::Detach()
{
    QuollWidget::Detach();
    mMainMenuButton = nullptr;
    mStartButton = nullptr;
    mSkipIntroButton = nullptr;
    mAchievementsButton = nullptr;
    mServices.KillAllParticles();
    mMainEffect = {};
    // The tube panel stays until the next attach replaces it: a click on a tube can change the
    // state, and so detach the map, while the panel is still handling that click.
    Ui().UnloadResourceGroup(kGroup);
}

Quoll::Button* LevelMap::GetButton(int id) const
{
    switch (id)
    {
    case kMainMenu: return mMainMenuButton;
    case kStart: return mStartButton;
    case kSkipIntro: return mSkipIntroButton;
    case kAchievements: return mAchievementsButton;
    default: return nullptr;
    }
}

void LevelMap::Resize(int x, int y, int width, int height)
{
    QuollWidget::Resize(x, y, width, height);
    if (mMainMenuButton != nullptr)
    {
        mMainMenuButton->Resize(-300, 708, 136, mMainMenuButton->GetNaturalHeight());
        mStartButton->Resize(-478, 708, 136, mStartButton->GetNaturalHeight());
        mSkipIntroButton->Resize(960, 20, 40, 40);
        mSkipIntroButton->SetVisible(false);
        mAchievementsButton->Resize(mAchievementsOffset + 930, 36, 80, 80);
    }
    Quoll::Image* panel = Ui().GetImageNamed("IMAGE_MAPMENU_FONE");
    mPanelX = panel != nullptr ? -panel->mWidth : 0;
    mPanelY = Ui().GetAppHeight() - (panel != nullptr ? panel->mHeight : 0);
}

void LevelMap::SetMenuSlide(float slide)
{
    if (slide <= 0.0f || slide >= 1.0f)
        mSlideDirection = 0;
    mMenuSlide = std::clamp(slide, 0.0f, 1.0f);
    Quoll::Image* panel = Ui().GetImageNamed("IMAGE_MAPMENU_FONE");
    const int panelWidth = panel != nullptr ? panel->mWidth : 0;
    mPanelX = -TruncToInt(static_cast<float>(panelWidth) * (1.0f - mMenuSlide));
    mAchievementsOffset = TruncToInt((1.0f - mMenuSlide) * static_cast<float>(kAchievementsSlide));
    if (mMainMenuButton == nullptr)
        return;
    mMainMenuButton->Resize(mPanelX + 13, mMainMenuButton->mY, mMainMenuButton->mWidth, mMainMenuButton->mHeight);
    mStartButton->Resize(mPanelX + 478, mStartButton->mY, mStartButton->mWidth, mStartButton->mHeight);
    mAchievementsButton->Resize(mAchievementsOffset + 930, mAchievementsButton->mY, mAchievementsButton->mWidth,
                                mAchievementsButton->mHeight);
}

bool LevelMap::BuildMap(bool intro)
{
    if (!mMapPoints.Load())
        return false;
    LevelList& list = mServices.GetLevelList();
    // The fans lock the levels that wait for their tutorial, which the script tells.
    mServices.LoadTutorialSteps();
    if (intro)
    {
        mMapPoints.HideAll();
        if (mIntroFactory)
            mIntro = mIntroFactory(*this);
        else
            mIntro = std::make_unique<IntroScene>(mServices.GetPlayServices(), *this, list);
        mState = kIntro;
        mTimer = -1.0f;
        if (mSkipIntroButton != nullptr)
            mSkipIntroButton->SetVisible(true);
        mServices.PlayMusic(kIntroSong, kMusicFade);
    }
    else
        mMapPoints.ShowOpened();
    const int firstOpen = list.GetFirstOpenGroup();
    mCurrentPoint = firstOpen != -1 ? mMapPoints.GetPoint(firstOpen - 1) : nullptr;
    std::vector<const MapNodeView*> nodes;
    for (const MapPoint& point : mMapPoints.GetPoints())
        nodes.push_back(&point);
    // Without the bulbs file the map has no bulbs (the reader logs it).
    mBulbs.Load(nodes);
    mSelectors.Build(mMapPoints.GetPoints());
    if (intro)
        RevealGroup = -1;
    else
        RevealGroup = list.IsAllComplete() ? 1 : firstOpen;
    return true;
}

void LevelMap::FocusOnGroup(int level, int group)
{
    LevelList& list = mServices.GetLevelList();
    MapPoint* node = group >= 1 ? mMapPoints.GetPoint(group - 1) : nullptr;
    if (group != -1)
    {
        // A group without a node has nothing to celebrate on the map.
        if (node != nullptr)
        {
            mCelebratedPoint = node;
            mTimer = kCelebrationTime;
            mMapPoints.Fade(group - 1, kCelebrationTime, true);
            mState = kCelebration;
        }
    }
    else if (level != -1)
    {
        if (MapPoint* point = mMapPoints.GetPoint(LevelList::GetLevelGroup(level) - 1))
        {
            const FloatPoint at = point->GetPosition();
            mServices.SpawnParticleSystem(kLevelMarkSystem, at.x, at.y);
            PlayNamed("SOUND_LEVEL_COMPLETE");
        }
    }
    if (mRandomPanel)
        mRandomPanel->Setup(this, group);
    if (group > 0 && LevelList::IsSpecialGroup(group))
    {
        const int episode = list.GetGroupEpisode(group);
        if (episode >= 1 && episode <= 5)
            mServices.OnAchievementEvent(kEpisodeEventBase + episode);
    }
    for (int index = 0; index < list.GetGroupCount(); ++index)
        if (const MapPoint* point = mMapPoints.GetPoint(index); point != nullptr && list.IsGroupComplete(point->group))
            mSparkles.AddParked(point);
    mSparkles.Start(0.0f, 1.0f);
}

MapPoint* LevelMap::GetGroupPoint(int group)
{
    MapPoint* point = mMapPoints.GetPoint(group - 1);
    return point != nullptr ? point : mMapPoints.GetPoint(0);
}

FloatPoint LevelMap::GetRandomStatsIconCentre(int index) const
{
    return mRandomPanel ? mRandomPanel->GetIconCentre(index + 1) : FloatPoint{};
}

void LevelMap::Reactivate()
{
    mPaused = false;
    Ui().SetFocus(this);
}

bool LevelMap::IsBusy() const
{
    return mState != kIdle || mServices.IsAchievementPopupTextShown();
}

void LevelMap::StartLevel(int level)
{
    mState = kGloriaRise;
    mChosenLevel = level;
    mTimer = 0.0f;
    PlayNamed("SOUND_GLORIA_SHOW");
    for (Quoll::Button* button : {mMainMenuButton, mStartButton, mAchievementsButton})
        if (button != nullptr)
            button->SetDisabled(true);
    mBulbs.Stop();
}

void LevelMap::UpdateArrow()
{
    mArrow.x = 0.0f;
    if (mCurrentPoint == nullptr || mState != kIdle || mSelectors.GetHoveredGroup() != -1)
        return;
    mArrow = mCurrentPoint->GetPosition();
    mArrow.y -= static_cast<float>(mCurrentPoint->h / 3);
}

void LevelMap::Update()
{
    if (mPaused)
        return;
    const float dt = std::min(mServices.GetFrameTime(), kMaxFrameTime);
    mSelectors.Update(dt);
    MarkDirty();
    mServices.UpdateParticles(dt);
    mMapPoints.Update(dt);
    mServices.UpdateAchievementPopup(dt);
    if (mSlideDirection != 0)
        SetMenuSlide(mMenuSlide + static_cast<float>(mSlideDirection) * dt * kSlideSpeed);
    UpdateArrow();
    if (mMenuSlide >= 1.0f && mRandomPanel)
        mRandomPanel->Update(dt);

    switch (mState)
    {
    case kIntro:
        UpdateIntro(dt);
        return;
    case kGloriaRise:
        UpdateGloriaRise(dt);
        if (mState == kGloriaFlight)
            UpdateGloriaFlight(dt);
        break;
    case kGloriaFlight: UpdateGloriaFlight(dt); break;
    case kGloriaLanding:
        if (mLandingEffect.IsEmpty() || !mServices.IsParticleAlive(mLandingEffect))
            FinishTransition();
        break;
    case kCelebration:
        UpdateCelebration(dt);
        return;
    case kIdle: UpdateIdle(dt); break;
    default: break;
    }

    if (mMenuSlide > 0.0f)
        mAchievementsGlow.Update(dt);
    mSparkles.Update(dt);
    mArrowPhase += dt * kArrowSpeed;
    if (mArrowPhase > kTwoPi)
        mArrowPhase -= kTwoPi;
    mBulbs.Update(dt);
}

bool LevelMap::UpdateIntro(float dt)
{
    if (mIntro != nullptr)
        mIntro->Update(dt);
    const bool skipped = mSkipIntroButton != nullptr && mSkipIntroButton->mIsDown && mSkipIntroButton->mIsOver;
    if (mIntro != nullptr && !mIntro->IsFinished() && !skipped)
        return false;
    if (mSkipIntroButton != nullptr)
        mSkipIntroButton->SetVisible(false);
    mIntro.reset();
    mState = kIdle;
    mMapPoints.ShowOpened();
    RevealGroup = mServices.GetLevelList().GetFirstOpenGroup();
    mServices.PlayMusic(kMapSong, kMusicFade);
    if (mOnIntroEnded)
        mOnIntroEnded();
    return false;
}

void LevelMap::UpdateGloriaRise(float dt)
{
    mTimer += dt;
    const int group = LevelList::GetLevelGroup(mChosenLevel);
    const bool complete = mServices.GetLevelList().IsGroupComplete(group);
    if (mTimer <= kGloriaRiseTime && !complete)
    {
        mGloriaImage = Ui().GetImageNamed("IMAGE_GLORIA");
        mGloriaX = 245;
        mGloriaY = 520 - TruncToInt(2.0f * mTimer * 20.0f);
        mGloriaColour.a = TruncToInt(2.0f * mTimer * 255.0f);
        mGloriaScale = 1.0f;
        return;
    }
    if (!complete)
    {
        mMainEffect = mServices.SpawnParticleSystem(group + kFlightSystemBase, 0.0f, 0.0f);
        PlayNamed("SOUND_GLORIA_FLY");
        if (!mMainEffect.IsEmpty())
            mServices.StartParticlePath(mMainEffect);
    }
    mState = kGloriaFlight;
    mTimer = kGloriaRiseTime;
    mWasInside = false;
}

void LevelMap::UpdateGloriaFlight(float dt)
{
    mSlideDirection = -1;
    if (!mMainEffect.IsEmpty() && mServices.IsParticleAlive(mMainEffect))
    {
        if (!mServices.IsParticlePathRunning(mMainEffect))
            mServices.StopParticleSystem(mMainEffect);
        else
        {
            const FloatPoint at = mServices.GetParticlePosition(mMainEffect);
            const int x = TruncToInt(at.x);
            const int y = TruncToInt(at.y);
            if (mServices.IsInsideParticleMask(mMainEffect, x, y))
            {
                mLastInside = {static_cast<float>(x), static_cast<float>(y)};
                mWasInside = true;
                if (mTimer > 0.0f)
                {
                    mTimer = std::max(mTimer - dt, 0.0f);
                    mGloriaX = x;
                    mGloriaY = y;
                    mGloriaScale = 2.0f * mTimer;
                    mGloriaColour.a = TruncToInt(255.0f * 2.0f * mTimer);
                    if (mTimer == 0.0f)
                        mGloriaImage = nullptr;
                }
            }
            else
            {
                if (mLandingEffect.IsEmpty() && mWasInside)
                {
                    const int episode = mServices.GetAssets().GetEpisode(mChosenLevel);
                    mLandingEffect = mServices.SpawnParticleSystem(episode + kLandingSystemBase, mLastInside.x,
                                                                   mLastInside.y);
                    if (!mLandingEffect.IsEmpty())
                        mServices.StartParticlePath(mLandingEffect);
                    PlayNamed("SOUND_GLORIA_FLYEND");
                }
                mWasInside = false;
            }
        }
    }
    if (mMainEffect.IsEmpty() || !mServices.IsParticleAlive(mMainEffect))
        mState = kGloriaLanding;
}

void LevelMap::FinishTransition()
{
    if (mState < kGloriaRise || mState > kGloriaLanding)
        return;
    mServices.KillAllParticles();
    mMainEffect = {};
    mLandingEffect = {};
    mState = kFinished;
    const int level = mChosenLevel;
    mChosenLevel = 0;
    mGloriaImage = nullptr;
    SetMenuSlide(0.0f);
    mServices.StopAllSounds();
    SendToLink(kTransitionDone, level);
}

void LevelMap::UpdateCelebration(float dt)
{
    if (mTimer > 0.0f)
    {
        mTimer -= dt;
        // The burst goes off in the frame the timer runs out (at zero too, so that it is never
        // missed).
        if (mTimer <= 0.0f && mCelebratedPoint != nullptr)
        {
            const int medal = mServices.GetLevelList().GetGroupMedal(mCelebratedPoint->group);
            if (medal >= 0)
            {
                const FloatPoint anchor = mCelebratedPoint->GetMedalAnchor();
                mMainEffect = mServices.SpawnParticleSystem(medal + kMedalSystemBase, anchor.x, anchor.y);
                if (!mMainEffect.IsEmpty())
                    mServices.StartParticlePath(mMainEffect);
            }
            mCelebratedPoint = nullptr;
            PlayNamed("SOUND_MEDALEVEL_COMPLETE");
        }
    }
    if (mTimer <= 0.0f && (mMainEffect.IsEmpty() || !mServices.IsParticleAlive(mMainEffect)))
    {
        mState = kIdle;
        CheckAllGold();
    }
}

void LevelMap::UpdateIdle(float dt)
{
    if (mMenuSlide == 0.0f && mSlideDirection == 0)
        mSlideDirection = 1;
    sBlinkClock += dt;
    if (sBlinkClock >= kBlinkPeriod)
        sBlinkClock -= kBlinkPeriod;
    const LevelList& list = mServices.GetLevelList();
    if (mStartButton != nullptr && !list.IsLevelCompleted(list.GetFirstField()))
        mStartButton->SetColor(0, sBlinkClock < kBlinkPeriod / 2.0f ? Quoll::Color::White : ColorLabel);
}

void LevelMap::CheckAllGold()
{
    const int levels = mServices.GetLevelList().GetFirstField();
    for (int level = 1; level <= levels; ++level)
        if (mServices.GetLevelMedal(level) != 2)
            return;
    mServices.OnAchievementEvent(kAllGoldEvent);
}

void LevelMap::Draw(Quoll::Graphics* g)
{
    g->SetColor(Quoll::Color::White);
    if (Quoll::Image* map = Ui().GetImageNamed("IMAGE_MAP"))
    {
        // A picture of the widget's size is copied as it is, which is the stretch's result too.
        if (map->mWidth == mWidth && map->mHeight == mHeight)
            g->DrawImage(map, 0, 0);
        else
            g->DrawImage(map, Quoll::Rect(0, 0, mWidth, mHeight), Quoll::Rect(0, 0, map->mWidth, map->mHeight));
    }
    g->SetImageTint(true);
    mMapPoints.Draw(g);
    if (!MapSnapshotMode)
        mSparkles.Draw(g);
    DrawGloria(g);
    g->SetImageTint(false);
    if (mIntro != nullptr)
        mIntro->DrawBack(g);
    else if (!MapSnapshotMode)
    {
        mBulbs.Draw(g);
        DrawArrow(g);
    }
    if (!MapSnapshotMode)
        mServices.DrawParticles(g);
    if (mState >= kGloriaRise && mState <= kGloriaLanding)
    {
        g->SetColor(Quoll::Color::White);
        g->DrawImage(Ui().GetImageNamed("IMAGE_STAKAN"), kBeakerX, kBeakerY);
    }
    if (mIntro != nullptr)
        mIntro->DrawFront(g);
    // The tubes stand in the menu panel: drawn over its band, so that the band does not hide
    // their lower half, and under its caption.
    if (mMenuSlide > 0.0f)
        DrawMenuBand(g);
    if (mMenuSlide >= 1.0f && mRandomPanel)
        mRandomPanel->Draw(g);
    if (mMenuSlide > 0.0f)
        DrawMenuPanel(g);
    if (!MapSnapshotMode)
        mSelectors.Draw(g);
    g->SetImageTint(false);
    g->SetDrawMode(Quoll::DrawMode::Normal);
    if (mServices.IsAchievementPopupPending())
        DeferOverlay(0);
}

void LevelMap::DrawGloria(Quoll::Graphics* g)
{
    if (mGloriaImage == nullptr)
        return;
    const int w = TruncToInt(static_cast<float>(mGloriaImage->mWidth) * mGloriaScale);
    const int h = TruncToInt(static_cast<float>(mGloriaImage->mHeight) * mGloriaScale);
    g->SetColor(mGloriaColour);
    g->DrawImage(mGloriaImage, Quoll::Rect(mGloriaX - w / 2, mGloriaY - h / 2, w, h),
                 Quoll::Rect(0, 0, mGloriaImage->mWidth, mGloriaImage->mHeight));
}

void LevelMap::DrawArrow(Quoll::Graphics* g)
{
    Quoll::Image* arrow = Ui().GetImageNamed("IMAGE_STRELKA");
    if (mArrow.x == 0.0f || arrow == nullptr)
        return;
    const float h = static_cast<float>(arrow->mHeight);
    const float s = (std::sin(mArrowPhase) + 1.0f) * 0.5f;
    g->SetColor(Quoll::Color::White);
    g->DrawImage(arrow, TruncToInt(mArrow.x - static_cast<float>(arrow->mWidth) / 2.0f),
                 TruncToInt(mArrow.y - h - h * s));
}

void LevelMap::DrawMenuBand(Quoll::Graphics* g)
{
    g->SetColor(Quoll::Color::White);
    g->DrawImage(Ui().GetImageNamed("IMAGE_MAPMENU_FONE"), mPanelX, mPanelY);
}

void LevelMap::DrawMenuPanel(Quoll::Graphics* g)
{
    DrawMenuCaption(g);
    if (MapSnapshotMode)
        return;
    g->SetColor(Quoll::Color::White);
    g->DrawImageMirror(Ui().GetImageNamed("IMAGE_BACKSTEP_FONE"), mAchievementsOffset + kBadgeX, kBadgeY);
    if (mHasNewAchievements)
        mAchievementsGlow.Draw(g, static_cast<float>(mAchievementsOffset + 971), 78.0f, Quoll::Color::White);
}

void LevelMap::DrawMenuCaption(Quoll::Graphics* g)
{
    Quoll::Font* font = Ui().GetFontNamed("FONT_FNT1");
    if (font == nullptr)
        return;
    g->SetFont(font);
    // While a tube shows its figures the panel's title replaces the player's name and score.
    const float captionAlpha = mRandomPanel ? mRandomPanel->GetCaptionAlpha() : 0.0f;
    if (captionAlpha > 0.0f)
    {
        const std::wstring title = Ui().GetText("UI_RANDOMLEVEL");
        const int alpha = TruncToInt(captionAlpha * 255.0f);
        const int x = 318 - font->StringWidth(title) / 2;
        const int y = mPanelY + mCaptionY;
        g->SetColor(Quoll::Color(0, 0, 0, alpha));
        g->DrawString(title, x + 1, y + 1);
        g->SetColor(Quoll::Color(kRandomCaption.r, kRandomCaption.g, kRandomCaption.b, alpha));
        g->DrawString(title, x, y);
        return;
    }
    g->SetColor(Quoll::Color::Black);
    g->DrawString(mPlainCaption, mPanelX + mCaptionX + 1, mPanelY + mCaptionY + 1);
    g->SetColor(ColorMapText);
    g->SetColorEscapes(true);
    g->WriteString(mColouredCaption, mPanelX + mCaptionX, mPanelY + mCaptionY, -1, -1, true, 0, -1,
                   static_cast<int>(ColorMapText.ToInt() & 0xFFFFFF));
    g->SetColorEscapes(false);
}

void LevelMap::DrawOverlay(Quoll::Graphics* g)
{
    mServices.DrawAchievementPopup(g);
}

void LevelMap::KeyDown(int keyCode)
{
    if (mState != kIdle)
        return;
    if (keyCode == kKeyEnter)
        SendToLink(kStartLevel, mServices.GetLevelList().GetNextLevel());
    else if (keyCode == kKeyEscape)
        SendToLink(kMainMenu, 0);
}

void LevelMap::MouseMove(int x, int y)
{
    if (mState != kIdle)
        return;
    mSelectors.MouseMove(x, y);
    mMapPoints.SetHover(mSelectors.GetHoveredGroup());
    mBulbs.mHoveredGroup = mSelectors.GetHoveredGroup();
    if (mRandomPanel)
        mRandomPanel->MouseMove(x, y);
}

void LevelMap::MouseDown(int x, int y, int button, int)
{
    if (mState != kIdle)
        return;
    const int level = mSelectors.HitLevel();
    if (level > 0)
    {
        if (button == 0)
            SendToLink(kStartLevel, level);
    }
    else if (mRandomPanel)
        mRandomPanel->MouseDown(x, y);
}

void LevelMap::ButtonRelease(int id)
{
    SendToLink(id, 0);
}
} // namespace Quoll
