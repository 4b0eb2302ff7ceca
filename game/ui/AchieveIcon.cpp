#include "game/ui/AchieveIcon.h"

#include "framework/display/Graphics.h"
#include "game/scene/Lerp.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <string>

namespace
{
// The silhouette of an icon not yet earned: a dark copy, then a faint light one over it.
const Quoll::Color kSilhouette(0, 0, 0, 120);
const Quoll::Color kSilhouetteLight(255, 255, 255, 40);
// The popup's hint stands right of the icon, the viewer's at one place on the screen.
constexpr int kPopupHintGap = 10;
constexpr int kPopupHintDown = 50;
constexpr int kPopupHintWrap = 600;
constexpr int kViewerHintX = 100;
constexpr int kViewerHintY = 700;
constexpr int kViewerHintWrap = 800;
// The glow turns at 0.5 to 0.6 radians a second.
constexpr float kGlowSpeed = 0.5f;
constexpr float kGlowSpeedRange = 0.1f;
} // namespace

AchieveIcon::AchieveIcon(UiServices& services, int number, PointerSource pointer)
    : mServices(services), mPointer(std::move(pointer)), mNumber(number)
{
    mSprite = std::make_unique<Sprite>();
    mSprite->mCentred = true;
    mSprite->mSubPixel = true;
    mSprite->SetScale(1.0f);
}

AchieveIcon::~AchieveIcon() = default;

void AchieveIcon::SetState(bool popupForm, bool viewerForm)
{
    mPopupForm = popupForm;
    mViewerForm = viewerForm;
    mSprite->mImage = mServices.GetImageById(mNumber + kImageBase);
    mSprite->SetScale(popupForm ? kPopupScale : viewerForm ? kViewerScale : 1.0f);
    mColor = Quoll::Color::White;
    BuildHint();
}

void AchieveIcon::BuildHint()
{
    mHint.mText = mServices.GetText("ACH" + std::to_string(mNumber));
    mHint.mRect = mSprite->GetRectAt(0, 0);
    mHint.mFont = mServices.GetFontNamed("FONT_FNT1");
    if (mPopupForm && !mViewerForm)
    {
        mHint.mAbsolute = false;
        mHint.mOffsetX = mHint.mRect.width + kPopupHintGap;
        mHint.mOffsetY = kPopupHintDown;
        mHint.mJustification = -1;
        mHint.mWrapWidth = kPopupHintWrap;
    }
    else
    {
        mHint.mAbsolute = true;
        mHint.mOffsetX = kViewerHintX;
        mHint.mOffsetY = kViewerHintY;
        mHint.mJustification = 0;
        mHint.mWrapWidth = kViewerHintWrap;
    }
}

void AchieveIcon::SetTarget(bool fromPoint, float x, float y, float duration, float delay)
{
    mRemaining = mDuration = duration;
    mDelay = delay;
    if (fromPoint)
    {
        mStart = {x, y};
        mTarget = GetPosition();
        SetPosition(mStart);
    }
    else
    {
        mStart = GetPosition();
        mTarget = {x, y};
    }
    if (duration <= 0)
    {
        mRemaining = 0;
        SetPosition(mTarget);
    }
}

void AchieveIcon::UpdateGlide(float dt)
{
    if (mRemaining <= 0)
        return;
    float glide = dt;
    if (mDelay > 0)
    {
        mDelay -= dt;
        if (mDelay >= 0)
            return;
        // The step that ends the wait glides only by the part of it beyond the wait.
        glide = -mDelay;
        mDelay = 0;
    }
    mRemaining = std::max(0.0f, mRemaining - glide);
    SetPosition(Lerp(mStart, mTarget, 1 - mRemaining / mDuration));
}

void AchieveIcon::UpdateGrowth(float dt)
{
    if (!mViewerForm || !mAchieved)
        return;
    if (mHovered)
        mGrow = std::min(1.0f, mGrow + kGrowRate * dt);
    else if (mGrow > 0)
        mGrow = std::max(0.0f, mGrow - kGrowRate * dt);
    mSprite->SetScale(kViewerScale + kGrowScale * mGrow);
}

void AchieveIcon::UpdateHighlight(float dt)
{
    if (!mNew)
    {
        mHighlight.reset();
        return;
    }
    if (!mHighlight)
    {
        mHighlight = std::make_unique<HilightSprite>();
        mHighlight->SetDefaultImage(mServices);
        mHighlight->mSpeed = kGlowSpeed + mServices.RandFloat(kGlowSpeedRange);
        mHighlight->SetScale(kGlowScale);
    }
    mHighlight->Update(dt);
}

void AchieveIcon::Update(float dt)
{
    UpdateGlide(dt);
    mHint.mRect = GetScreenRect();
    mHint.mTextColor = mAchieved ? ColorHint : kNotAchievedHint;
    if (mPointer)
    {
        const FloatPoint pointer = mPointer();
        mHovered = mHint.HitTest(static_cast<int>(pointer.x), static_cast<int>(pointer.y));
    }
    UpdateGrowth(dt);
    UpdateHighlight(dt);
}

void AchieveIcon::Draw(Quoll::Graphics* g)
{
    if (!mAchieved)
    {
        mColor = kSilhouette;
        SpriteNode::Draw(g);
        mColor = kSilhouetteLight;
        SpriteNode::Draw(g);
    }
    else
    {
        mColor = Quoll::Color::White;
        if (mNew && mHighlight)
        {
            const FloatPoint p = GetWorldPosition();
            mHighlight->Draw(g, p.x, p.y, Quoll::Color::White);
        }
        SpriteNode::Draw(g);
    }
    mHint.Draw(g);
}
