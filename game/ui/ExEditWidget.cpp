#include "game/ui/ExEditWidget.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/widgets/SysFont.h"

#include <algorithm>
#include <string>

namespace Quoll
{
namespace
{
constexpr int kTextColor = 2;
constexpr int kSelectionColor = 3;
constexpr int kSelectedTextColor = 4;
constexpr int kCaretWidth = 2;
constexpr int kMargin = 4;
constexpr int kLeftShift = 18;
constexpr const char* kFallbackFace = "DejaVu Sans";
} // namespace

ExEditWidget::ExEditWidget(EditListener* listener) : EditWidget(1, listener)
{
    SetColor(kColorDisabledText, Color::Black);
}

void ExEditWidget::SetDisabled(bool disabled)
{
    if (disabled != mDisabled)
    {
        if (disabled)
        {
            mSavedTextColor = GetColor(kTextColor);
            SetColor(kTextColor, GetColor(kColorDisabledText));
        }
        else
        {
            SetColor(kTextColor, mSavedTextColor);
        }
    }
    Widget::SetDisabled(disabled);
}

void ExEditWidget::KeyChar(wchar_t character)
{
    if (mSingleByteInput && static_cast<uint32_t>(character) > 255)
        return;
    EditWidget::KeyChar(character);
}

int ExEditWidget::TextLeft(const std::wstring& visible) const
{
    return (mWidth - GetFont()->StringWidth(visible)) / 2 - kLeftShift;
}

int ExEditWidget::CaretX(int textLeft, int position) const
{
    const std::wstring shown = GetDisplayString();
    const auto size = static_cast<int>(shown.size());
    const int left = std::clamp(mLeftPos, 0, size);
    const int at = std::clamp(position, 0, size);
    return textLeft + GetFont()->StringWidth(shown.substr(0, static_cast<size_t>(at))) -
           GetFont()->StringWidth(shown.substr(0, static_cast<size_t>(left)));
}

void ExEditWidget::Draw(Graphics* g)
{
    if (GetFont() == nullptr)
    {
        std::string error;
        std::unique_ptr<SysFont> font = SysFont::Create(nullptr, kFallbackFace, kFallbackPointSize, 0, error);
        if (font == nullptr)
            return;
        SetFont(font.release(), true);
    }
    const std::wstring shown = GetDisplayString();
    const std::wstring visible = shown.substr(static_cast<size_t>(std::clamp(mLeftPos, 0, static_cast<int>(shown.size()))));

    if (mBackgroundImage != nullptr)
    {
        Graphics whole(*g);
        whole.ClearClipRect();
        whole.DrawImage(mBackgroundImage, mBackgroundX, 0, mWidth, mHeight);
    }
    else
    {
        g->SetColor(GetColor(0));
        g->FillRect(0, 0, mWidth, mHeight);
    }

    Font* font = GetFont();
    const int textLeft = TextLeft(visible);
    const int baseline = (mHeight - font->GetHeight()) / 2 + font->GetAscent();
    {
        Graphics text(*g);
        text.ClipRect(textLeft + kMargin, 0, mWidth - 2 * kMargin, mHeight);
        text.SetFont(font);
        text.SetColor(GetColor(kTextColor));
        text.DrawString(visible, textLeft + kMargin, baseline);
    }
    DrawCaretAndSelection(*g, visible, textLeft, baseline);

    if (mBackgroundImage == nullptr)
    {
        g->SetColor(GetColor(1));
        g->DrawRect(0, 0, mWidth - 1, mHeight - 1);
    }
}

// The selection (or the caret, while it blinks on) redrawn in the selection colours through a
// clip of its own span.
void ExEditWidget::DrawCaretAndSelection(const Graphics& g, const std::wstring& visible, int textLeft,
                                         int baseline) const
{
    Font* font = GetFont();
    const int cursorX = CaretX(textLeft, mCursorPos);
    int from = cursorX;
    int to = cursorX + kCaretWidth;
    if (HasSelection())
    {
        const int anchorX = CaretX(textLeft, mHilitePos);
        from = std::min(cursorX, anchorX);
        to = std::max(cursorX, anchorX);
    }
    if (!mBlinkVal)
        from += kCaretWidth;
    const int right = mWidth - 2 * kMargin;
    from = std::clamp(from, textLeft, right);
    to = std::clamp(to, textLeft, right);
    if (to <= from)
        return;

    Graphics pass(g);
    pass.ClipRect(from + kMargin, (mHeight - font->GetHeight()) / 2, to - from, font->GetHeight());
    pass.SetFont(font);
    if (mHasFocus || mShowHiliteWithoutFocus)
    {
        pass.SetColor(GetColor(kSelectionColor));
        pass.FillRect(from + kMargin, (mHeight - font->GetHeight()) / 2, to - from, font->GetHeight());
        pass.SetColor(GetColor(kSelectedTextColor));
    }
    else
    {
        pass.SetColor(GetColor(kTextColor));
    }
    pass.DrawString(visible, textLeft + kMargin, baseline);
}
} // namespace Quoll
