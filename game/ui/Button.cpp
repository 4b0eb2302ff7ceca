#include "game/ui/Button.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/ui/UiServices.h"

namespace Quoll
{
namespace
{
std::wstring Widen(const std::string& key)
{
    return std::wstring(key.begin(), key.end());
}
} // namespace

Button::Button(int id, const std::string& labelKey, ButtonListener* listener, Image* normalImage, Image* overImage,
               const Font* font)
    : ButtonWidget(id, listener), mLabelKey(labelKey)
{
    UpdateLabel();
    if (normalImage != nullptr)
    {
        mButtonImage = normalImage;
        mOverImage = overImage;
    }
    else
    {
        mDrawnWithoutImages = true;
        SetColor(kColorLabelOver, Color(0, 255, 0));
    }
    SetFont(font);
    SetColor(kColorDisabledLabel, Color::Black);
}

void Button::UpdateLabel()
{
    if (mLabelKey.empty())
        return;
    std::wstring text = Ui().GetText(mLabelKey);
    SetLabel(text.empty() ? Widen(mLabelKey) : text);
    Update();
}

int Button::GetNaturalWidth()
{
    if (mButtonImage != nullptr)
        return mButtonImage->mWidth;
    return GetFont() != nullptr ? GetFont()->StringWidth(mLabel) + 20 : 20;
}

int Button::GetNaturalHeight() const
{
    if (mButtonImage != nullptr)
        return mButtonImage->mHeight;
    return GetFont() != nullptr ? GetFont()->GetHeight() : 0;
}

void Button::PlaceAt(int x, int y)
{
    Resize(x, y, GetNaturalWidth(), GetNaturalHeight());
}

void Button::SetHint(const std::string& key, int verticalAlign, int horizontalAlign)
{
    mHintKey = key;
    mHintVerticalAlign = verticalAlign;
    mHintHorizontalAlign = horizontalAlign;
}

void Button::ShowHint(bool show)
{
    if (!show)
    {
        mHintShown = false;
        return;
    }
    if (mHintKey.empty())
        return;
    mHintText = Ui().GetText(mHintKey);
    if (mHintText.empty())
        return;
    mHintShown = true;
    PositionHint();
}

Font* Button::HintFont() const
{
    return mHintFont != nullptr ? mHintFont : GetFont();
}

// The anchor puts the first line's top at the offset from the button; the alignments move the
// block left of or around it, and above or around it.
void Button::PositionHint()
{
    Font* font = HintFont();
    const Point at = GetAbsolutePosition();
    mHintX = mHintOffsetX + at.x;
    mHintY = mHintOffsetY + at.y + (font != nullptr ? font->GetAscent() - font->GetAscentPadding() : 0);
    if (mHintVerticalAlign == -1 && mHintHorizontalAlign == -1)
        return;
    int height = 0;
    if (font != nullptr)
    {
        Graphics measure;
        measure.SetFont(font);
        height = measure.MeasureWordWrappedHeight(mHintWidth, mHintText);
    }
    if (mHintHorizontalAlign == 0)
        mHintX -= mHintWidth / 2;
    else if (mHintHorizontalAlign == 1)
        mHintX -= mHintWidth;
    if (mHintVerticalAlign == 0)
        mHintY -= height / 2;
    else if (mHintVerticalAlign == 1)
        mHintY -= height;
}

void Button::SetDisabled(bool disabled)
{
    if (disabled != mDisabled)
    {
        if (disabled)
        {
            mSavedLabelColor = GetColor(kColorLabel);
            SetColor(kColorLabel, GetColor(kColorDisabledLabel));
        }
        else
        {
            SetColor(kColorLabel, mSavedLabelColor);
        }
    }
    ButtonWidget::SetDisabled(disabled);
}

void Button::DrawWithOwner(Graphics* g)
{
    if (!mVisible)
        return;
    g->PushState();
    g->Translate(mX, mY);
    g->ClipRect(0, 0, mWidth, mHeight);
    mOwnerDrawing = true;
    Draw(g);
    mOwnerDrawing = false;
    g->PopState();
}

void Button::Draw(Graphics* g)
{
    if (mDrawnByOwner && !mOwnerDrawing)
        return;
    ButtonWidget::Draw(g);
    if (!mNoDraw && mVisible && mIcon != nullptr)
    {
        const int shift = mIsDown && mIsOver ? 1 : 0;
        g->PushState();
        g->SetColor(GetColor(mIsOver ? kColorLabelOver : kColorLabel));
        g->SetImageTint(true);
        g->DrawImage(mIcon, mIconX + shift, mIconY + shift);
        g->PopState();
    }
    if (mHintShown)
        DeferOverlay(0);
}

void Button::DrawOverlay(Graphics* g)
{
    Font* font = HintFont();
    if (!mHintShown || font == nullptr)
        return;
    // In screen coordinates over the whole screen.
    const Point at = GetAbsolutePosition();
    g->PushState();
    g->Translate(-at.x, -at.y);
    g->SetFont(font);
    g->SetColor(Color(0, 0, 0, kHintShadowAlpha));
    g->DrawStringWordWrapped(mHintText, mHintX + 1, mHintY + 2, mHintWidth, mHintJustification);
    g->SetColor(mHintColor);
    g->DrawStringWordWrapped(mHintText, mHintX, mHintY, mHintWidth, mHintJustification);
    g->PopState();
}

void Button::MouseEnter()
{
    ButtonWidget::MouseEnter();
    Ui().PlaySoundNamed("SOUND_BUTTON_OVER");
    ShowHint(true);
}

void Button::MouseLeave()
{
    ButtonWidget::MouseLeave();
    mHintShown = false;
}

void Button::MouseDown(int x, int y, int button, int clickCount)
{
    ButtonWidget::MouseDown(x, y, button, clickCount);
    Ui().PlaySoundNamed("SOUND_BUTTON_SELECT");
}

void Button::DrawButtonImage(Graphics* g, Image* image, const Rect&, int x, int y)
{
    g->DrawImage(image, x, y, mWidth, mHeight);
}
} // namespace Quoll
