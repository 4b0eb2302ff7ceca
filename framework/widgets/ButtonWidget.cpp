#include "framework/widgets/ButtonWidget.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"

#include <algorithm>

namespace Quoll
{
ButtonWidget::ButtonWidget(int id, ButtonListener* listener) : mId(id), mListener(listener)
{
    mColors = {Color(0, 0, 0), Color(0, 0, 0), Color(0, 0, 0), Color(255, 255, 255), Color(132, 132, 132),
               Color(212, 212, 212)};
}

void ButtonWidget::SetFont(const Font* font)
{
    mFont = font != nullptr ? font->Duplicate() : nullptr;
    MarkDirty();
}

void ButtonWidget::SetLabel(const std::wstring& label)
{
    mLabel = label;
    MarkDirty();
}

void ButtonWidget::SetDisabled(bool disabled)
{
    Widget::SetDisabled(disabled);
    if (disabled)
        mOverAlpha = 0;
}

void ButtonWidget::DrawButtonImage(Graphics* g, Image* image, const Rect& sourceRect, int x, int y)
{
    g->DrawImage(image, x, y, sourceRect);
}

void ButtonWidget::DrawStateImage(Graphics* g, Image* image, const Rect& sourceRect, int x, int y)
{
    const Rect whole(0, 0, image->mWidth, image->mHeight);
    const bool empty = sourceRect.width <= 0 || sourceRect.height <= 0;
    DrawButtonImage(g, image, empty ? whole : sourceRect, x, y);
}

// A bevel of the outline colours over the background; light and dark swap while held down.
void ButtonWidget::DrawFrame(Graphics* g)
{
    const bool pressed = IsPressed();
    g->SetColor(GetColor(kColorBackground));
    g->FillRect(0, 0, mWidth, mHeight);
    g->SetColor(GetColor(pressed ? kColorDarkOutline : kColorLightOutline));
    g->FillRect(0, 0, mWidth - 1, 1);
    g->FillRect(0, 0, 1, mHeight - 1);
    g->SetColor(GetColor(pressed ? kColorLightOutline : kColorDarkOutline));
    g->FillRect(0, mHeight - 1, mWidth, 1);
    g->FillRect(mWidth - 1, 0, 1, mHeight);
    g->SetColor(GetColor(kColorMediumOutline));
    if (!pressed)
    {
        g->FillRect(1, mHeight - 2, mWidth - 2, 1);
        g->FillRect(mWidth - 2, 1, 1, mHeight - 2);
    }
}

// The label centred, its baseline placed so the font's height is centred.
void ButtonWidget::DrawLabel(Graphics* g, int shiftX, int shiftY)
{
    if (mFont == nullptr || mLabel.empty())
        return;
    g->SetFont(mFont.get());
    g->SetColor(GetColor(mIsOver && !mDisabled ? kColorLabelOver : kColorLabel));
    const int x = (mWidth - mFont->StringWidth(mLabel)) / 2 + mLabelOffsetX + shiftX;
    const int y = (mHeight - mFont->GetHeight()) / 2 + mFont->GetAscent() + mLabelOffsetY + shiftY;
    g->DrawString(mLabel, x, y);
}

void ButtonWidget::Draw(Graphics* g)
{
    if (mNoDraw)
        return;
    const bool pressed = IsPressed();
    if (mDisabled && mDisabledImage != nullptr)
        DrawStateImage(g, mDisabledImage, mDisabledRect, 0, 0);
    else if (pressed && mDownImage != nullptr)
        DrawStateImage(g, mDownImage, mDownRect, 0, 0);
    else if (HasImages())
    {
        if (mButtonImage != nullptr)
            DrawStateImage(g, mButtonImage, mNormalRect, 0, 0);
        if (mOverImage != nullptr && mOverAlpha > 0 && !mDisabled)
        {
            g->SetColor(Color(255, 255, 255, static_cast<int>(std::min(mOverAlpha, 1.0) * 255)));
            g->SetImageTint(mOverAlpha < 1);
            DrawStateImage(g, mOverImage, mOverRect, 0, 0);
            g->SetImageTint(false);
        }
    }
    else if (!mDrawnWithoutImages)
        DrawFrame(g);
    DrawLabel(g, pressed ? 1 : 0, pressed ? 1 : 0);
}

void ButtonWidget::Update()
{
    if (mIsDown && mIsOver && mListener != nullptr)
        mListener->ButtonHeldTick(mId);
    const double target = mIsOver && !mDisabled ? 1.0 : 0.0;
    const double speed = target > mOverAlpha ? mOverAlphaFadeInSpeed : mOverAlphaFadeOutSpeed;
    if (mOverAlpha == target)
        return;
    if (speed <= 0)
        mOverAlpha = target;
    else if (target > mOverAlpha)
        mOverAlpha = std::min(target, mOverAlpha + speed);
    else
        mOverAlpha = std::max(target, mOverAlpha - speed);
    MarkDirty();
}

void ButtonWidget::MouseEnter()
{
    if (mOverAlphaFadeInSpeed <= 0)
        mOverAlpha = 1;
    MarkDirty();
    if (mListener != nullptr)
        mListener->ButtonMouseEnter(mId);
}

void ButtonWidget::MouseLeave()
{
    if (mOverAlphaFadeOutSpeed <= 0)
        mOverAlpha = 0;
    MarkDirty();
    if (mListener != nullptr)
        mListener->ButtonMouseLeave(mId);
}

void ButtonWidget::MouseMove(int x, int y)
{
    if (mListener != nullptr)
        mListener->ButtonMouseMove(mId, x, y);
}

void ButtonWidget::MouseDown(int, int, int, int clickCount)
{
    MarkDirty();
    if (mListener != nullptr)
        mListener->ButtonPressCount(mId, clickCount);
}

// Released over the button: the click counts. Released elsewhere: nothing.
void ButtonWidget::MouseUp(int x, int y, int, int)
{
    MarkDirty();
    if (ContainsLocal(x, y) && !mDisabled && mListener != nullptr)
        mListener->ButtonRelease(mId);
}
} // namespace Quoll
