#include "framework/widgets/EditWidget.h"

#include "framework/display/Graphics.h"
#include "framework/platform/window/WindowMessages.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <cstdlib>

namespace Quoll
{
namespace
{
constexpr wchar_t kCharSelectAll = 1;
constexpr wchar_t kCharCopy = 3;
constexpr wchar_t kCharBackspace = 8;
constexpr wchar_t kCharEnter = 13;
constexpr wchar_t kCharPaste = 22;
constexpr wchar_t kCharCut = 24;
} // namespace

EditWidget::EditWidget(int id, EditListener* listener) : mId(id), mListener(listener)
{
    mColors = {Color(255, 255, 255), Color(0, 0, 0), Color(0, 0, 0), Color(0, 0, 128), Color(255, 255, 255)};
}

void EditWidget::SetFont(Font* font, bool adopt)
{
    if (adopt)
        mFont.reset(font);
    else
        mFont = font != nullptr ? font->Duplicate() : nullptr;
    MarkDirty();
}

void EditWidget::SetText(const std::wstring& text, bool leftPosToZero)
{
    mString = text;
    if (mMaxChars >= 0 && static_cast<int>(mString.size()) > mMaxChars)
        mString.resize(static_cast<size_t>(mMaxChars));
    mCursorPos = static_cast<int>(mString.size());
    mHilitePos = -1;
    if (leftPosToZero)
        mLeftPos = 0;
    mLeftPos = std::min(mLeftPos, mCursorPos);
    FocusCursor();
    MarkDirty();
}

std::wstring EditWidget::GetDisplayString() const
{
    if (mPasswordChar == 0)
        return mString;
    return std::wstring(mString.size(), mPasswordChar);
}

bool EditWidget::IsCtrlDown() const
{
    return mWidgetManager != nullptr && mWidgetManager->IsKeyDown(Platform::VK_CONTROL);
}

bool EditWidget::IsShiftDown() const
{
    return mWidgetManager != nullptr && mWidgetManager->IsKeyDown(Platform::VK_SHIFT);
}

int EditWidget::TextX(int position)
{
    if (mFont == nullptr)
        return kPadding;
    const std::wstring shown = GetDisplayString();
    const int from = std::clamp(mLeftPos, 0, static_cast<int>(shown.size()));
    const int to = std::clamp(position, from, static_cast<int>(shown.size()));
    return kPadding + mFont->StringWidth(shown.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

int EditWidget::GetCharAt(int x)
{
    const int size = static_cast<int>(mString.size());
    int best = std::clamp(mLeftPos, 0, size);
    for (int position = best; position <= size; ++position)
    {
        if (std::abs(TextX(position) - x) < std::abs(TextX(best) - x))
            best = position;
    }
    return best;
}

void EditWidget::FocusCursor()
{
    mLeftPos = std::clamp(mLeftPos, 0, mCursorPos);
    const int visible = mWidth - 2 * kPadding;
    while (mFont != nullptr && mLeftPos < mCursorPos && TextX(mCursorPos) - kPadding > visible)
        ++mLeftPos;
}

void EditWidget::MoveCursor(int position, bool select)
{
    position = std::clamp(position, 0, static_cast<int>(mString.size()));
    if (select && mHilitePos == -1)
        mHilitePos = mCursorPos;
    else if (!select)
        mHilitePos = -1;
    mCursorPos = position;
    mBlinkVal = true;
    mBlinkAcc = 0;
    FocusCursor();
    MarkDirty();
}

bool EditWidget::ReplaceSelection(const std::wstring& text)
{
    int from = mCursorPos, to = mCursorPos;
    if (HasSelection())
    {
        from = std::min(mCursorPos, mHilitePos);
        to = std::max(mCursorPos, mHilitePos);
    }
    std::wstring result = mString.substr(0, static_cast<size_t>(from)) + text + mString.substr(static_cast<size_t>(to));
    if (mMaxChars >= 0 && static_cast<int>(result.size()) > mMaxChars)
        return false;
    if (mListener != nullptr && !mListener->AllowText(mId, result))
        return false;
    mString = std::move(result);
    mHilitePos = -1;
    MoveCursor(from + static_cast<int>(text.size()), false);
    return true;
}

void EditWidget::DeleteSelection()
{
    if (HasSelection())
        ReplaceSelection(std::wstring());
}

void EditWidget::CopySelection()
{
    if (!HasSelection() || mPasswordChar != 0 || mWidgetManager == nullptr)
        return;
    const int from = std::min(mCursorPos, mHilitePos);
    const int to = std::max(mCursorPos, mHilitePos);
    mWidgetManager->CopyToClipboard(mString.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

// The clipboard's first line; characters the listener refuses are left out.
void EditWidget::Paste()
{
    if (mWidgetManager == nullptr)
        return;
    std::wstring text = mWidgetManager->GetClipboardText();
    text = text.substr(0, text.find_first_of(L"\r\n"));
    std::erase_if(text, [this](wchar_t c) { return c < 32 || (mListener != nullptr && !mListener->AllowChar(mId, c)); });
    if (mMaxChars >= 0)
    {
        int selected = HasSelection() ? std::abs(mCursorPos - mHilitePos) : 0;
        int room = mMaxChars - static_cast<int>(mString.size()) + selected;
        text.resize(static_cast<size_t>(std::clamp(room, 0, static_cast<int>(text.size()))));
    }
    if (!text.empty())
        ReplaceSelection(text);
}

void EditWidget::KeyDown(int keyCode)
{
    using namespace Platform;
    if (mListener != nullptr && !mListener->AllowKey(mId, keyCode))
        return;
    const bool shift = IsShiftDown();
    switch (keyCode)
    {
    case VK_LEFT: MoveCursor(mCursorPos - 1, shift); break;
    case VK_RIGHT: MoveCursor(mCursorPos + 1, shift); break;
    case VK_HOME: MoveCursor(0, shift); break;
    case VK_END: MoveCursor(static_cast<int>(mString.size()), shift); break;
    case VK_DELETE:
        if (HasSelection())
            DeleteSelection();
        else if (mCursorPos < static_cast<int>(mString.size()))
        {
            mHilitePos = mCursorPos + 1;
            DeleteSelection();
        }
        break;
    default: break;
    }
}

void EditWidget::KeyChar(wchar_t character)
{
    switch (character)
    {
    case kCharEnter:
        if (mListener != nullptr)
            mListener->EditWidgetText(mId, mString);
        return;
    case kCharBackspace:
        if (!HasSelection() && mCursorPos > 0)
            mHilitePos = mCursorPos - 1;
        DeleteSelection();
        return;
    case kCharSelectAll:
        mHilitePos = 0;
        mCursorPos = static_cast<int>(mString.size());
        FocusCursor();
        MarkDirty();
        return;
    case kCharCopy: CopySelection(); return;
    case kCharCut:
        if (mPasswordChar == 0)
        {
            CopySelection();
            DeleteSelection();
        }
        return;
    case kCharPaste: Paste(); return;
    default: break;
    }
    if (character < 32 || character == 127)
        return;
    if (mListener != nullptr && !mListener->AllowChar(mId, character))
        return;
    ReplaceSelection(std::wstring(1, character));
}

void EditWidget::MouseDown(int x, int, int button, int clickCount)
{
    if (button != 0)
        return;
    if (clickCount == 2)
    {
        mHilitePos = 0;
        mCursorPos = static_cast<int>(mString.size());
        FocusCursor();
        MarkDirty();
        return;
    }
    MoveCursor(GetCharAt(x), false);
    mHilitePos = mCursorPos;
}

void EditWidget::MouseDrag(int x, int)
{
    if (mHilitePos == -1)
        mHilitePos = mCursorPos;
    mCursorPos = GetCharAt(x);
    FocusCursor();
    MarkDirty();
}

void EditWidget::Update()
{
    if (!mHasFocus)
        return;
    if (++mBlinkAcc >= kBlinkUpdates)
    {
        mBlinkAcc = 0;
        mBlinkVal = !mBlinkVal;
        MarkDirty();
    }
}

void EditWidget::GotFocus()
{
    mBlinkVal = true;
    mBlinkAcc = 0;
    MarkDirty();
}

void EditWidget::LostFocus()
{
    MarkDirty();
}

void EditWidget::Draw(Graphics* g)
{
    g->SetColor(GetColor(0));
    g->FillRect(0, 0, mWidth, mHeight);
    if (mFont != nullptr)
    {
        const std::wstring shown = GetDisplayString();
        const int from = std::clamp(mLeftPos, 0, static_cast<int>(shown.size()));
        const std::wstring visible = shown.substr(static_cast<size_t>(from));
        const int baseline = (mHeight - mFont->GetHeight()) / 2 + mFont->GetAscent();
        g->PushState();
        g->ClipRect(kPadding, 0, mWidth - 2 * kPadding, mHeight);
        g->SetFont(mFont.get());
        g->SetColor(GetColor(2));
        g->DrawString(visible, kPadding, baseline);
        // The selection: its background, and its text again in the selected colour over it.
        const bool showSelection = mHasFocus || mShowHiliteWithoutFocus;
        if (HasSelection() && showSelection)
        {
            const int left = TextX(std::min(mCursorPos, mHilitePos));
            const int right = TextX(std::max(mCursorPos, mHilitePos));
            g->SetColor(GetColor(3));
            g->FillRect(left, (mHeight - mFont->GetHeight()) / 2, right - left, mFont->GetHeight());
            g->ClipRect(left, 0, right - left, mHeight);
            g->SetColor(GetColor(4));
            g->DrawString(visible, kPadding, baseline);
        }
        else if (mHasFocus && mBlinkVal)
        {
            g->SetColor(GetColor(2));
            g->FillRect(TextX(mCursorPos), (mHeight - mFont->GetHeight()) / 2, 1, mFont->GetHeight());
        }
        g->PopState();
    }
    g->SetColor(GetColor(1));
    g->DrawRect(0, 0, mWidth - 1, mHeight - 1);
}
} // namespace Quoll
