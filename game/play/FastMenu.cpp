#include "game/play/FastMenu.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/level/Level.h"
#include "game/level/ScoreRules.h"
#include "game/play/PlayFunctions.h"
#include "game/play/PlayIds.h"
#include "game/scene/Easing.h"
#include "game/shell/LerpInt.h"
#include "game/shell/PlayServices.h"
#include "game/shell/SharedFonts.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/QuollWidget.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace Quoll
{
namespace
{
// The goal colour of each medal grade: bronze, silver, gold.
const std::array<Color, 3> kGradeColours = {Color(213, 158, 101), Color(220, 220, 220), Color(241, 195, 33)};
const Color kCountColour(135, 222, 57);
const Color kTitleColour(144, 255, 144);
const Color kShadow(0, 0, 0, 120);
const Color kPanelShadow(0, 0, 0, 100);
const Color kDisabledLabel(0x33, 0x33, 0x33, 60);
const Color kGoalHintColour(245, 255, 85);

// The three menu buttons' places on the open panel and the step-back button's size.
const Rect kMainMenuRect(12, 14, 130, 97);
const Rect kRestartRect(155, 15, 250, 54);
const Rect kSoundRect(453, 23, 84, 84);
constexpr int kStepBackWidth = 80;
constexpr int kStepBackHeight = 73;
constexpr int kStepBackShift = 12;
// The goal: its backdrop and icon, and the medal goal hint's area.
constexpr int kGoalFoneX = 164;
constexpr int kGoalFoneY = 82;
constexpr int kGoalIconX = 170;
constexpr int kGoalIconY = 87;
const Rect kGoalHintRect(397, 83, 200, 30);
// The random level's title: centred on this x, its line at this y.
constexpr int kTitleCentreX = 285;
constexpr int kTitleY = 100;
// The tab's shadow shows only once its picture is well on the screen.
constexpr int kTabShadowFrom = -50;
// The pulse runs three times a second.
constexpr float kPulseRate = 3.0f;
} // namespace

std::unique_ptr<HudMenu> FastMenu::Make(PlayServices& services, QuollWidget& scene, const Level* level)
{
    auto menu = std::make_unique<FastMenu>(services);
    menu->Init(&scene, level);
    return menu;
}

FastMenu::FastMenu(PlayServices& services) : mServices(services) {}

FastMenu::~FastMenu() = default;

Image* FastMenu::Named(const char* name) const
{
    return mServices.GetImageById(mServices.GetResourceIdByName(name));
}

Image* FastMenu::MedalIcon(int grade) const
{
    return mServices.GetImageById(PlayIds::kMedalIconImageBase + 1 + std::clamp(grade, 0, 2));
}

int FastMenu::TabWidth() const
{
    const Image* tab = Named("IMAGE_BACKSTEP_FONE");
    return tab != nullptr ? tab->mWidth : 0;
}

Button* FastMenu::MakeButton(int id, const std::string& labelKey, const char* normal, const char* over)
{
    auto* button = new Button(id, labelKey, this, Named(normal), Named(over), ButtonFont);
    button->SetColor(ButtonWidget::kColorLabel, ColorLabel);
    button->SetColor(ButtonWidget::kColorLabelOver, ColorLabelOver);
    button->SetVisible(false);
    // Drawn with the menu, so that what the scene draws above the HUD covers them too.
    button->SetDrawnByOwner(true);
    mScene->AddWidget(button);
    return button;
}

void FastMenu::Init(QuollWidget* scene, const Level* level)
{
    mScene = scene;
    mLevel = level;

    mMainMenuButton = MakeButton(kMainMenu, "UI_MAIN_MENU", "IMAGE_BTN1", "IMAGE_BTN1_OVER");
    mMainMenuButton->SetHint("HINT_SHOW_GAME_LEVEL", -1, 0);
    mMainMenuButton->mHintColor = ColorHint;
    mMainMenuButton->mHintOffsetX = 60;
    mMainMenuButton->mHintOffsetY = 90;
    mMainMenuButton->mHintWidth = 300;
    mMainMenuButton->mHintJustification = 0;

    mRestartButton = MakeButton(kRestart, "UI_RESTART", "IMAGE_BTN2", "IMAGE_BTN2_OVER");

    mSoundButton = MakeButton(kSound, "", "IMAGE_BTN1", "IMAGE_BTN1_OVER");
    mSoundButton->mIconX = 20;
    mSoundButton->mIconY = 22;
    RefreshSoundIcon();
    RefreshSoundHint();

    if (const Image* panel = Named("IMAGE_FASTMENU_BG"))
    {
        mPanelWidth = panel->mWidth;
        mPanelHeight = panel->mHeight;
    }
    mPanelX = (mServices.GetAppWidth() - mPanelWidth) / 2;

    mStepBackButton = MakeButton(kStepBack, "", "IMAGE_BTN1", "IMAGE_BTN1_OVER");
    mStepBackButton->SetColor(Button::kColorDisabledLabel, kDisabledLabel);
    mStepBackButton->mIconX = 14;
    mStepBackButton->mIconY = 8;
    mStepBackButton->SetHint("HINT_BACKSTEP", 0, -1);
    mStepBackButton->mHintColor = ColorHint;
    mStepBackButton->mHintOffsetX = 80;
    mStepBackButton->mHintOffsetY = 40;
    mStepBackButton->mHintWidth = 200;
    mStepBackButton->mHintJustification = 0;

    Layout();
    SetMenuState(kHidden);

    // A campaign level grades a goal; a random level (numbered below 1) shows its title.
    if (mServices.GetCurrentLevel() > 0)
    {
        const bool cells = mLevel != nullptr && mLevel->GetMedalRule().mode == static_cast<int32_t>(MedalMode::Cells);
        mGoalHint.mText = mServices.GetText(cells ? "UI_HINT_MEDALMODE_CELLS" : "UI_HINT_MEDALMODE_ROUND");
        mGoalHint.mRect = kGoalHintRect;
        mGoalHint.mOffsetX = -70;
        mGoalHint.mOffsetY = 72;
        mGoalHint.mWrapWidth = 385;
        mGoalHint.mTextColor = kGoalHintColour;
        mGoalHint.mFont = mServices.GetFont("FONT_FNT1");
    }
    else
        mTitleText = mServices.GetText("UI_RANDOMLEVEL");
}

void FastMenu::Layout()
{
    const auto place = [this](Button* button, const Rect& r) {
        if (button != nullptr)
            button->Resize(mPanelX + r.x, r.y, r.width, r.height);
    };
    place(mMainMenuButton, kMainMenuRect);
    place(mRestartButton, kRestartRect);
    place(mSoundButton, kSoundRect);
    mTabX = -20 - TabWidth();
    mTabY = kTabY;
    if (mStepBackButton != nullptr)
        mStepBackButton->Resize(mTabX + kStepBackShift, kStepBackY, kStepBackWidth, kStepBackHeight);
}

void FastMenu::ShowMenuButtons(bool show)
{
    for (Button* button : {mMainMenuButton, mRestartButton, mSoundButton})
        if (button != nullptr)
            button->SetVisible(show);
}

void FastMenu::PlaceBySlide()
{
    mPanelY = -kDrop + static_cast<int>(static_cast<float>(kDrop) * mSlide);
}

void FastMenu::SetMenuState(int state)
{
    if (state == mMenuState)
        return;
    mMenuState = state;
    if (state == kHidden || state == kCollapsed || state == kClosing)
        ShowMenuButtons(false);
    if (state == kHidden && mStepBackButton != nullptr)
        mStepBackButton->SetVisible(false);
    if (state == kCollapsed)
    {
        mSlide = 0;
        mHovered = false;
    }
    if (state == kOpen)
    {
        ShowMenuButtons(true);
        mSlide = 1;
    }
    PlaceBySlide();
}

void FastMenu::Show()
{
    if (mStepBackButton != nullptr)
        mStepBackButton->SetVisible(true);
    SetMenuState(kCollapsed);
    mSlide = -1;
    PlaceBySlide();
}

void FastMenu::Hide()
{
    if (mStepBackButton != nullptr)
        mStepBackButton->SetVisible(false);
    SetMenuState(kHidden);
}

void FastMenu::MouseMove(int x, int y)
{
    mHovered = x >= mPanelX && x < mPanelX + mPanelWidth && y >= mPanelY && y < mPanelY + mPanelHeight;
    if (mHovered)
        mGoalHint.HitTest(x, y);
    else
        mGoalHint.Hide();
}

bool FastMenu::IsActive() const
{
    // A hidden menu (not drawn) or the resting tab takes no clicks.
    return mHovered && mMenuState >= kOpening;
}

void FastMenu::ButtonRelease(int id)
{
    if (id == kMainMenu)
        SetMenuState(kCollapsed);
    if (mScene != nullptr)
        mScene->SendToLink(id, 0);
    if (id == kSound)
    {
        RefreshSoundIcon();
        RefreshSoundHint();
    }
}

void FastMenu::RefreshSoundIcon()
{
    if (mSoundButton != nullptr)
        mSoundButton->mIcon = Named(mServices.IsMuted() ? "IMAGE_SOUND_OFF" : "IMAGE_SOUND_ON");
}

void FastMenu::RefreshSoundHint()
{
    if (mSoundButton == nullptr)
        return;
    mSoundButton->SetHint(mServices.IsMuted() ? "HINT_ENABLE_SOUND" : "HINT_DISABLE_SOUND", -1, 0);
    mSoundButton->mHintColor = ColorHint;
    mSoundButton->mHintOffsetX = 60;
    mSoundButton->mHintOffsetY = 80;
    mSoundButton->mHintJustification = 0;
    // A hint in view takes its new text at once.
    mSoundButton->ShowHint(mSoundButton->mIsOver);
}

void FastMenu::SetStepBackCount(int count, bool enabled)
{
    if (count >= 1 && count <= 3)
        mStepBacks = count;
    else
        mStepBacks = 0;
    mStepBackEnabled = enabled;
    if (mStepBackButton == nullptr)
        return;
    mStepBackButton->mIcon =
        mStepBacks > 0 ? mServices.GetImageById(PlayIds::kBackstepImageBase + mStepBacks) : nullptr;
    mStepBackButton->SetDisabled(!enabled);
}

void FastMenu::SetLevelParams(const LevelParams& params)
{
    mGoalIcon = nullptr;
    if (mServices.GetCurrentLevel() <= 0 || mLevel == nullptr)
        return;
    // The grades of the level's medal rule for these counts (the level's own grades, since the
    // level pushes its parameters).
    const MedalRule& rule = mLevel->GetMedalRule();
    const int oldGrade = mMedalGrade;
    const int oldShown = mShownGrade;
    mMedalGrade = MedalGrade(rule, params.playerCells[0], params.round);
    mShownGrade = ShownMedalGrade(rule, mMedalGrade);

    int threshold = 0;
    int count = 0;
    if (rule.mode == static_cast<int32_t>(MedalMode::Cells))
    {
        mGoalIcon = Named("IMAGE_ICON_CELL");
        threshold = mShownGrade == 2 ? rule.firstThreshold : rule.secondThreshold;
        count = params.playerCells[0];
    }
    else
    {
        mGoalIcon = Named("IMAGE_ICON_ROUND");
        threshold = mMedalGrade == 2 ? rule.firstThreshold : rule.secondThreshold;
        count = params.round;
    }
    UpdateMedalIcons(oldGrade, oldShown);

    mCountText = std::to_wstring(count);
    mThresholdText = std::to_wstring(threshold);
    Font* font = mServices.GetFont("FONT_FNT3");
    mThresholdOffset = -3 - (font != nullptr ? font->StringWidth(mThresholdText) : 0);
    mGoalColour = kGradeColours[static_cast<size_t>(std::clamp(mShownGrade, 0, 2))];
}

void FastMenu::UpdateMedalIcons(int oldGrade, int oldShown)
{
    if (oldGrade == -1)
    {
        mBigMedalIcon = MedalIcon(mMedalGrade);
        mSmallMedalIcon = MedalIcon(mShownGrade);
        mMovingMedalIcon = nullptr;
        return;
    }
    if (oldGrade == mMedalGrade)
        return;

    if (mMedalTime <= 0)
        mMedalTime = kMedalTime;
    const int change = mMedalGrade - oldGrade;
    if (change > 0)
    {
        mPendingParticle = kMedalGainedParticle + mMedalGrade;
        mServices.PlaySoundNamed("SOUND_MEDAL_GOTFLYFX", 1.0f, 0.0f);
    }
    else
    {
        mServices.SpawnParticleSystem(kMedalLostParticle, static_cast<float>(mPanelX + kBigSlotX + 19),
                                      static_cast<float>(mPanelY + kBigSlotY + 19));
        mServices.PlaySoundNamed("SOUND_MEDAL_LOOSEFX", 1.0f, 0.0f);
    }

    const bool rounds = mLevel != nullptr && mLevel->GetMedalRule().mode == static_cast<int32_t>(MedalMode::Rounds);
    mLost = rounds ? mShownGrade == oldGrade : mMedalGrade < oldGrade;
    if (mLost)
    {
        mBigMedalIcon = MedalIcon(mMedalGrade);
        mSmallMedalIcon = MedalIcon(oldShown);
        mMovingMedalIcon = MedalIcon(change == -2 ? 1 : oldGrade);
    }
    else
    {
        mBigMedalIcon = MedalIcon(oldGrade);
        mSmallMedalIcon = MedalIcon(mShownGrade);
        mMovingMedalIcon = MedalIcon(change == 2 ? 2 : oldShown);
    }
}

bool FastMenu::IsPulsing() const
{
    return mStepBackEnabled && mTabSlide == 1 && mPulse < 1;
}

void FastMenu::UpdateTab(float dt)
{
    if (mStepBacks <= 0)
        return;
    if (mTabSlide < 1)
    {
        mTabSlide = std::min(1.0f, mTabSlide + dt);
        const auto w = static_cast<float>(TabWidth());
        mTabX = static_cast<int>(tween::expo.EaseOut(mTabSlide, -20 - w, 20 + w, 1.0f));
        if (mStepBackButton != nullptr)
            mStepBackButton->Move(mTabX + kStepBackShift, kStepBackY);
    }
    if (IsPulsing())
    {
        mPulse += kPulseRate * dt;
        if (mPulse > 1)
        {
            mPulse = 1;
            if (mStepBackButton != nullptr)
                mStepBackButton->SetColor(ButtonWidget::kColorLabel, ColorLabel);
        }
    }
}

void FastMenu::UpdateMedalAnimation(float dt)
{
    if (mMedalTime <= 0)
        return;
    mMedalTime -= dt;
    if (mMedalTime <= 0)
    {
        mMedalTime = 0;
        UpdateMedalIcons(-1, -1);
        if (mPendingParticle != 0)
        {
            mServices.SpawnParticleSystem(mPendingParticle, static_cast<float>(mPanelX + kBigSlotX + 19),
                                          static_cast<float>(mPanelY + kBigSlotY + 19));
            mServices.PlaySoundNamed("SOUND_MEDAL_GOTFX", 1.0f, 0.0f);
            mPendingParticle = 0;
        }
        return;
    }
    float k = mMedalTime / kMedalTime;
    if (mLost)
        k = 1 - k;
    mMovingX = LerpInt(kMovingStartX, kSmallSlotX, k);
}

void FastMenu::UpdateSlide(float dt)
{
    switch (mMenuState)
    {
    case kCollapsed:
        if (mSlide < 0)
        {
            mSlide += kSlideRate * dt;
            // The tab is still coming down: it cannot open yet.
            if (mSlide < 0)
                break;
            mSlide = 0;
        }
        if (mHovered)
            SetMenuState(kOpening);
        break;
    case kOpening:
        if (!mHovered)
        {
            SetMenuState(kClosing);
            break;
        }
        mSlide += kSlideRate * dt;
        if (mSlide > 1)
            SetMenuState(kOpen);
        break;
    case kOpen:
        if (!mHovered)
            SetMenuState(kClosing);
        break;
    case kClosing:
        if (mHovered)
        {
            SetMenuState(kOpening);
            break;
        }
        mSlide -= kSlideRate * dt;
        if (mSlide < 0)
            SetMenuState(kCollapsed);
        break;
    default:
        break;
    }
    PlaceBySlide();
}

void FastMenu::Update(float dt)
{
    if (mMenuState == kHidden || mMenuState == kUninitialised)
        return;
    UpdateTab(dt);
    UpdateMedalAnimation(dt);
    UpdateSlide(dt);
}

void FastMenu::DrawGoal(Graphics* g)
{
    const int x0 = mPanelX;
    const int y0 = mPanelY;
    g->SetColor(Color::White);
    g->DrawImage(Named("IMAGE_ICON_FONE"), x0 + kGoalFoneX, y0 + kGoalFoneY);
    g->DrawImage(mGoalIcon, x0 + kGoalIconX, y0 + kGoalIconY);

    if (Font* font = mServices.GetFont("FONT_FNT1"))
    {
        const int x = x0 + 171 + mGoalIcon->mWidth;
        g->SetFont(font);
        g->SetColor(kShadow);
        g->DrawString(mCountText, x + 2, y0 + 110);
        g->SetColor(kCountColour);
        g->DrawString(mCountText, x, y0 + 108);
    }
    if (Font* font = mServices.GetFont("FONT_FNT3"))
    {
        const int x = x0 + kSmallSlotX + mThresholdOffset;
        g->SetFont(font);
        g->SetColor(kShadow);
        g->DrawString(mThresholdText, x + 2, y0 + 108);
        g->SetColor(mGoalColour);
        g->DrawString(mThresholdText, x, y0 + 106);
    }

    if (mBigMedalIcon != nullptr)
    {
        g->SetColor(kShadow);
        g->DrawImage(mBigMedalIcon, x0 + kBigSlotX + 2, y0 + kBigSlotY + 2);
        g->SetColor(Color::White);
        g->DrawImage(mBigMedalIcon, x0 + kBigSlotX, y0 + kBigSlotY);
    }
    g->SetColor(Color::White);
    for (const auto& [icon, x] : {std::pair{mSmallMedalIcon, kSmallSlotX}, std::pair{mMovingMedalIcon, mMovingX}})
        if (icon != nullptr)
            g->DrawImage(icon, Rect(x0 + x, y0 + kSmallSlotY, kMedalIconSize, kMedalIconSize),
                         Rect(0, 0, icon->mWidth, icon->mHeight));
}

void FastMenu::DrawTitle(Graphics* g)
{
    Font* font = mServices.GetFont("FONT_FNT1");
    if (font == nullptr)
        return;
    const int x = mPanelX + kTitleCentreX - font->StringWidth(mTitleText) / 2;
    const int y = mPanelY + kTitleY;
    g->SetFont(font);
    g->SetColor(kShadow);
    g->DrawString(mTitleText, x + 1, y + 1);
    g->SetColor(kTitleColour);
    g->DrawString(mTitleText, x, y);
}

void FastMenu::DrawTab(Graphics* g)
{
    Image* tab = Named("IMAGE_BACKSTEP_FONE");
    if (tab == nullptr)
        return;
    if (mTabX > kTabShadowFrom)
    {
        g->SetColor(kPanelShadow);
        g->DrawImage(tab, Rect(mTabX, mTabY, tab->mWidth + 4, tab->mHeight + 5), Rect(0, 0, tab->mWidth, tab->mHeight));
    }
    g->SetColor(Color::White);
    g->DrawImage(tab, mTabX, mTabY);
    if (IsPulsing())
    {
        const float s = std::sin(std::numbers::pi_v<float> * mPulse);
        g->SetDrawMode(DrawMode::Additive);
        g->SetColor(Color(255, 255, 255, static_cast<int>(255 * s)));
        g->DrawImage(tab, mTabX, mTabY);
        if (mStepBackButton != nullptr)
            mStepBackButton->SetColor(ButtonWidget::kColorLabel, BlendLabelColour(s));
    }
    g->SetDrawMode(DrawMode::Normal);
}

void FastMenu::Draw(Graphics* g)
{
    if (mMenuState == kHidden || mMenuState == kUninitialised)
        return;
    g->SetImageTint(true);
    if (Image* panel = Named("IMAGE_FASTMENU_BG"))
    {
        const int s = 3 + static_cast<int>(6 * mSlide);
        g->SetColor(kPanelShadow);
        g->DrawImage(panel, Rect(mPanelX, mPanelY, mPanelWidth + s, mPanelHeight + s),
                     Rect(0, 0, panel->mWidth, panel->mHeight));
        g->SetColor(Color::White);
        g->DrawImage(panel, mPanelX, mPanelY);
    }
    if (mGoalIcon != nullptr)
        DrawGoal(g);
    if (!mTitleText.empty())
        DrawTitle(g);
    if (mStepBackButton != nullptr && mStepBackButton->mVisible && mStepBacks > 0)
        DrawTab(g);
    g->SetImageTint(false);
    mGoalHint.Draw(g);
    for (Button* button : {mMainMenuButton, mRestartButton, mSoundButton, mStepBackButton})
        if (button != nullptr)
            button->DrawWithOwner(g);
}

void FastMenu::Detach()
{
    mMainMenuButton = nullptr;
    mRestartButton = nullptr;
    mSoundButton = nullptr;
    mStepBackButton = nullptr;
    mSmallMedalIcon = nullptr;
    mGoalIcon = nullptr;
}

Button* FastMenu::GetButton(int command) const
{
    switch (command)
    {
    case kMainMenu:
        return mMainMenuButton;
    case kRestart:
        return mRestartButton;
    case kSound:
        return mSoundButton;
    case kStepBack:
        return mStepBackButton;
    default:
        return nullptr;
    }
}
} // namespace Quoll
