#include "game/play/Tutorial.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/level/TutorialSteps.h"
#include "game/play/BoardView.h"
#include "game/play/GameScene.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"
#include "game/play/VCell.h"
#include "game/shell/PlayServices.h"
#include "game/shell/SharedFonts.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"

#include <cmath>
#include <numbers>

namespace
{
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
const Quoll::Color kTextColour(0x8FF8FF, 255);

int Width(const Quoll::Image* image) { return image != nullptr ? image->mWidth : 0; }
int Height(const Quoll::Image* image) { return image != nullptr ? image->mHeight : 0; }
} // namespace

Tutorial::Tutorial(PlayServices& services, TutorialSteps& steps) : mServices(services), mSteps(steps)
{
    mGroupLoaded = mServices.LoadResourceGroup(kResourceGroup);
}

Tutorial::~Tutorial()
{
    mStep = nullptr;
    mStepIndex = TutorialSteps::kNoStep;
    mSteps.SetActiveStep(TutorialSteps::kNoStep);
    RemoveCloseButton();
    if (mGroupLoaded)
        mServices.UnloadResourceGroup(kResourceGroup);
}

Quoll::Image* Tutorial::Named(const char* name) const
{
    return mServices.GetImageById(mServices.GetResourceIdByName(name));
}

void Tutorial::Start(GameScene& scene, BoardView& boardView, int level)
{
    mScene = &scene;
    mBoardView = &boardView;
    mLevel = level;
    mLanguageOffset = mServices.GetLocaleName() == "de" ? kGermanPanelOffset : 0;
}

void Tutorial::Advance(int round, bool skipToLast) { SelectStep(round, skipToLast); }

void Tutorial::SelectStep(int round, bool skipToLast)
{
    const int previous = mStepIndex;
    mStepIndex = mSteps.FindStep(mLevel, round, previous, skipToLast);
    mStep = mSteps.GetStep(mStepIndex);
    if (mStep == nullptr)
        mStepIndex = TutorialSteps::kNoStep;
    mSteps.SetActiveStep(mStepIndex);
    if (mStep != nullptr)
        ShowStep();
    UpdateCloseButton();
}

void Tutorial::ShowStep()
{
    mText = mServices.GetText(mStep->textKey);
    mTextTop = kTextTop;
    mPanelX = mStep->panelX;
    mPanelY = mStep->panelY;
    AimPointer();

    // The text sits in the middle of its box.
    if (Quoll::Font* font = mServices.GetFont("FONT_FNT1"))
    {
        Quoll::Graphics scratch(nullptr);
        scratch.SetFont(font);
        const int height = scratch.MeasureWordWrappedHeight(kTextWidth, mText, font->GetLineSpacing());
        mTextTop += (kTextHeight - height) / 2;
    }
    mBlinkTimer = 0;
    mFade = 0;
}

void Tutorial::AimPointer()
{
    // The target: a cell's centre with the glow on it, else the step's screen point.
    mHighlightX = 0;
    mHighlightY = 0;
    mEndX = static_cast<float>(mStep->targetX);
    mEndY = static_cast<float>(mStep->targetY);
    const VCell* cell = mStep->IsCellStep() && mBoardView != nullptr ? mBoardView->FindCellView(mStep->GetTargetCell())
                                                                     : nullptr;
    if (cell != nullptr)
    {
        const FloatPoint centre = cell->GetCentre();
        const FloatPoint corner = cell->GetWorldPosition();
        mEndX = centre.x;
        mEndY = centre.y;
        mHighlightX = static_cast<int>(corner.x);
        mHighlightY = static_cast<int>(corner.y);
    }

    // The pointer swings from the panel's centre's side towards the target and stops short of it.
    const Quoll::Image* panel = Named("IMAGE_TUTORIAL_BG");
    const Quoll::Image* pointer = Named("IMAGE_TUTORIAL_PT");
    mStartX = static_cast<float>(mStep->panelX + Width(panel) / 2);
    mStartY = static_cast<float>(mStep->panelY + Height(panel) / 2);
    const float dx = mEndX - mStartX;
    const float dy = mEndY - mStartY;
    mAngle = std::atan2(-dy, dx);
    const float length = std::hypot(dx, dy);
    const float nx = length > 0 ? dx / length : 0.0f;
    const float ny = length > 0 ? dy / length : 0.0f;
    const float shortBy = static_cast<float>(Width(pointer) / 2) + kPointerGap;
    mEndX -= nx * shortBy;
    mEndY -= ny * shortBy;
    mStartX = mEndX - nx * kSwingLength;
    mStartY = mEndY - ny * kSwingLength;
}

void Tutorial::Update(float dt)
{
    if (mStep == nullptr)
        return;
    if (mFade < 1.0f)
    {
        mFade += kFadeRate * dt;
        if (mFade >= 1.0f)
        {
            mFade = 1.0f;
            if (mCloseButton != nullptr)
                mCloseButton->SetVisible(true);
        }
    }
    if (mBlinkTimer > 0)
        mBlinkTimer -= dt;
    mPhase += (mBlinkTimer > 0 ? kFastSwingSpeed : kSwingSpeed) * dt;
    if (mPhase > kTwoPi)
        mPhase -= kTwoPi;

    // A cell step follows its cell: the board may still be moving in when the step shows.
    if (mStep->IsCellStep())
        AimPointer();
    const float s = (std::sin(mPhase) + 1.0f) * 0.5f;
    const Quoll::Image* pointer = Named("IMAGE_TUTORIAL_PT");
    mPointerX = static_cast<int>(mStartX + (mEndX - mStartX) * s) - Width(pointer) / 2;
    mPointerY = static_cast<int>(mStartY + (mEndY - mStartY) * s) - Height(pointer) / 2;
    mShadowOffset = 2 + static_cast<int>(4.0f * (1.0f - s));
    mPanelX = mStep->panelX;
    mPanelY = mStep->panelY;
}

Quoll::Rect Tutorial::TextRect() const
{
    return {mPanelX + kTextLeft, mPanelY + mTextTop, kTextWidth, kTextHeight};
}

void Tutorial::Draw(Quoll::Graphics* g)
{
    if (mStep == nullptr || (mBoardView != nullptr && mBoardView->IsInTransition()))
        return;
    const int alpha = static_cast<int>(255.0f * mFade);
    const int shadowAlpha = static_cast<int>(120.0f * mFade);
    const bool tint = g->GetImageTint();
    g->SetImageTint(true);

    // The panel, taller for German texts.
    if (Quoll::Image* panel = Named("IMAGE_TUTORIAL_BG"))
    {
        const int o = mLanguageOffset;
        g->SetColor(Quoll::Color(255, 255, 255, alpha));
        g->DrawImage(panel, Quoll::Rect(mPanelX, mPanelY - o, panel->mWidth, panel->mHeight + 2 * o),
                     Quoll::Rect(0, 0, panel->mWidth, panel->mHeight));
    }

    Quoll::Font* font = mServices.GetFont("FONT_FNT1");
    if (!mText.empty() && font != nullptr)
    {
        g->SetFont(font);
        Quoll::Rect r = TextRect();
        r.x += 1;
        r.y += 1;
        g->SetColor(Quoll::Color(0, 0, 0, shadowAlpha));
        g->DrawWordWrapped(r, mText, font->GetLineSpacing(), 0);
        g->SetColor(Quoll::Color(kTextColour.r, kTextColour.g, kTextColour.b, alpha));
        g->DrawWordWrapped(TextRect(), mText, font->GetLineSpacing(), 0);
    }

    // The glow on the cell to press, pulsing at twice the swing.
    if (mHighlightX > 0)
    {
        const float pulse = (std::sin(2.0f * mPhase) + 1.0f) / 2.0f;
        g->SetDrawMode(Quoll::DrawMode::Additive);
        g->SetColor(Quoll::Color(255, 255, 255, 20 + static_cast<int>(60.0f * mFade * pulse)));
        g->DrawImageCel(Named("IMAGE_CELL1"), mHighlightX, mHighlightY, 0);
        g->SetDrawMode(Quoll::DrawMode::Normal);
    }

    // The pointer over its shadow.
    Quoll::Image* pointer = Named("IMAGE_TUTORIAL_PT");
    g->SetColor(Quoll::Color(0, 0, 0, shadowAlpha));
    g->DrawImageRotated(pointer, mPointerX + mShadowOffset, mPointerY + mShadowOffset, mAngle);
    g->SetColor(Quoll::Color(255, 255, 255, alpha));
    g->DrawImageRotated(pointer, mPointerX, mPointerY, mAngle);
    g->SetImageTint(tint);
    if (mCloseButton != nullptr)
        mCloseButton->DrawWithOwner(g);
}

HudAvatar* Tutorial::FindBossPortrait() const
{
    if (!mHasBossPortrait || mScene == nullptr || mScene->GetHud() == nullptr)
        return nullptr;
    return mScene->GetHud()->GetBossAvatar();
}

bool Tutorial::OnBoardClick(int x, int y)
{
    if (mStep == nullptr)
        return true;
    const int round = mStep->round;
    if (mStep->IsCellStep())
    {
        const VCell* cell = mBoardView != nullptr
                                ? mBoardView->CellViewAtPoint(static_cast<float>(x), static_cast<float>(y))
                                : nullptr;
        if (cell != nullptr && cell->GetCellId() == mStep->GetTargetCell())
        {
            SelectStep(round, false);
            return true;
        }
    }
    else if (mStep->IsPortraitStep())
    {
        const HudAvatar* portrait = FindBossPortrait();
        if (portrait != nullptr && portrait->HitTest(x, y))
        {
            SelectStep(round, false);
            return true;
        }
    }
    else
    {
        // A point step: any press moves on, but it is not a move of the game.
        SelectStep(round, false);
        return false;
    }

    // A miss.
    mBlinkTimer = kMissBlinkTime;
    mServices.SpawnParticleSystem(kMissParticle, static_cast<float>(x), static_cast<float>(y));
    mServices.PlaySoundNamed("SOUND_TUTOR_MISSCLICK", 1.0f, 0.0f);
    return false;
}

void Tutorial::ButtonRelease(int id)
{
    if (mScene != nullptr)
        mScene->SendToLink(id, 0);
}

void Tutorial::UpdateCloseButton()
{
    if (mStep == nullptr || !mStep->IsCellStep() || mScene == nullptr)
    {
        RemoveCloseButton();
        return;
    }
    if (mCloseButton == nullptr)
    {
        mCloseButton = new Quoll::Button(kCloseButtonId, "", this, Named("IMAGE_BTN1"), Named("IMAGE_BTN1_OVER"),
                                         ButtonFont);
        mCloseButton->SetColor(Quoll::ButtonWidget::kColorLabel, ColorLabel);
        mCloseButton->SetColor(Quoll::ButtonWidget::kColorLabelOver, ColorLabelOver);
        mCloseButton->mIcon = Named("IMAGE_KREST");
        mCloseButton->mIconX = 10;
        mCloseButton->mIconY = 10;
        // Drawn with the step, over its panel and under what the scene draws later.
        mCloseButton->SetDrawnByOwner(true);
        mScene->AddWidget(mCloseButton);
    }
    mCloseButton->Resize(mPanelX + kCloseX, mPanelY + kCloseY, kCloseSize, kCloseSize);
    // It shows once the step has faded in.
    mCloseButton->SetVisible(false);
    mCloseButton->mHintColor = ColorHint;
    // The hint opens to the right, or to the left near the right edge of the screen.
    if (mCloseButton->GetAbsolutePosition().x < mServices.GetAppWidth() - 400)
    {
        mCloseButton->SetHint("HINT_CLOSE_TUTORIAL", 0, -1);
        mCloseButton->mHintOffsetX = 60;
        mCloseButton->mHintOffsetY = 20;
        mCloseButton->mHintJustification = -1;
    }
    else
    {
        mCloseButton->SetHint("HINT_CLOSE_TUTORIAL", 0, 1);
        mCloseButton->mHintOffsetX = 0;
        mCloseButton->mHintOffsetY = 0;
        mCloseButton->mHintJustification = 1;
    }
}

void Tutorial::RemoveCloseButton()
{
    if (mCloseButton == nullptr)
        return;
    if (mScene != nullptr)
        mScene->RemoveWidget(mCloseButton);
    mServices.DeleteWidgetLater(mCloseButton);
    mCloseButton = nullptr;
}

std::function<std::unique_ptr<SceneTutorial>(int level)> MakeTutorialHook(PlayServices& services,
                                                                          TutorialSteps& steps)
{
    return [&services, &steps](int level) -> std::unique_ptr<SceneTutorial> {
        if (!steps.HasLevelSteps(level))
            return nullptr;
        return std::make_unique<Tutorial>(services, steps);
    };
}
