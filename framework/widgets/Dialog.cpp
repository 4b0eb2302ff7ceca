#include "framework/widgets/Dialog.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "framework/widgets/DialogButton.h"

#include <algorithm>

namespace Quoll
{
Dialog::Dialog(int id, bool isModal, const std::wstring& header, const std::wstring& lines, const std::wstring& footer,
               int buttonMode)
    : mDialogHeader(header), mDialogLines(lines), mDialogFooter(footer), mId(id), mIsModal(isModal),
      mButtonMode(buttonMode)
{
    mColors = {Color(255, 236, 160), Color(232, 232, 232), Color(200, 200, 200), Color(0, 0, 0),
               Color(0, 0, 200),     Color(40, 48, 72),    Color(200, 204, 224)};
    switch (buttonMode)
    {
    case kButtonsYesNo:
        mYesButton = MakeButton(kIdYes, L"YES");
        mNoButton = MakeButton(kIdNo, L"NO");
        break;
    case kButtonsOkCancel:
        mYesButton = MakeButton(kIdYes, L"OK");
        mNoButton = MakeButton(kIdNo, L"CANCEL");
        break;
    case kButtonsFooter: mYesButton = MakeButton(kIdYes, footer); break;
    default: break;
    }
}

DialogButton* Dialog::MakeButton(int id, const std::wstring& label)
{
    auto* button = new DialogButton(nullptr, id, this);
    button->mLabel = label;
    button->SetColor(ButtonWidget::kColorLabel, GetColor(3));
    button->SetColor(ButtonWidget::kColorLabelOver, GetColor(4));
    AddWidget(button);
    return button;
}

DialogButton* Dialog::GetButton(int buttonId) const
{
    if (buttonId == kIdYes)
        return mYesButton;
    return buttonId == kIdNo ? mNoButton : nullptr;
}

void Dialog::SetHeaderFont(const Font* font)
{
    mHeaderFont = font != nullptr ? font->Duplicate() : nullptr;
    MarkDirty();
}

void Dialog::SetLinesFont(const Font* font)
{
    mLinesFont = font != nullptr ? font->Duplicate() : nullptr;
    MarkDirty();
}

void Dialog::SetButtonFont(const Font* font)
{
    for (DialogButton* button : {mYesButton, mNoButton})
        if (button != nullptr)
            button->SetFont(font);
}

void Dialog::SetButtonImage(Image* image)
{
    for (DialogButton* button : {mYesButton, mNoButton})
        if (button != nullptr)
        {
            button->mComponentImage = image;
            button->MarkDirty();
        }
}

void Dialog::SetColor(int index, const Color& color)
{
    Widget::SetColor(index, color);
    if (index != 3 && index != 4)
        return;
    for (DialogButton* button : {mYesButton, mNoButton})
        if (button != nullptr)
            button->SetColor(index == 3 ? ButtonWidget::kColorLabel : ButtonWidget::kColorLabelOver, color);
}

void Dialog::SetButtonLabel(int buttonId, const std::wstring& label)
{
    if (DialogButton* button = GetButton(buttonId))
        button->SetLabel(label);
}

int Dialog::HeaderBandHeight() const
{
    const int header = mHeaderFont != nullptr && !mDialogHeader.empty() ? mHeaderFont->GetHeight() : 0;
    return mContentInsets.top + header;
}

int Dialog::GetPreferredHeight(int width)
{
    int height = mContentInsets.top + mContentInsets.bottom;
    if (mHeaderFont != nullptr && !mDialogHeader.empty())
        height += mHeaderFont->GetHeight() + mSpaceAfterHeader;
    if (mLinesFont != nullptr && !mDialogLines.empty())
    {
        Graphics measure;
        measure.SetFont(mLinesFont.get());
        height += measure.MeasureWordWrappedHeight(width - mContentInsets.left - mContentInsets.right, mDialogLines);
    }
    if (mHeaderFont != nullptr && !mDialogFooter.empty() && mButtonMode != kButtonsFooter)
        height += mButtonSpacing + mHeaderFont->GetHeight();
    if (mYesButton != nullptr)
        height += mButtonSpacing + mButtonHeight;
    return height;
}

void Dialog::Resize(int x, int y, int width, int height)
{
    Widget::Resize(x, y, width, height);
    LayoutButtons();
}

void Dialog::LayoutButtons()
{
    const int inner = mWidth - mContentInsets.left - mContentInsets.right;
    const int top = ButtonsTop();
    if (mNoButton != nullptr)
    {
        const int buttonWidth = (inner - mButtonSpacing) / 2;
        mYesButton->Resize(mContentInsets.left, top, buttonWidth, mButtonHeight);
        mNoButton->Resize(mWidth - mContentInsets.right - buttonWidth, top, buttonWidth, mButtonHeight);
    }
    else if (mYesButton != nullptr)
        mYesButton->Resize(mContentInsets.left, top, inner, mButtonHeight);
}

void Dialog::Draw(Graphics* g)
{
    if (mComponentImage != nullptr)
        g->DrawImageBox(Rect(0, 0, mWidth, mHeight), mComponentImage);
    else
    {
        g->SetColor(GetColor(5));
        g->FillRect(0, 0, mWidth, mHeight);
        g->SetColor(GetColor(6));
        g->DrawRect(0, 0, mWidth - 1, mHeight - 1);
    }
    const int inner = mWidth - mContentInsets.left - mContentInsets.right;
    int y = mContentInsets.top;
    if (mHeaderFont != nullptr && !mDialogHeader.empty())
    {
        g->SetFont(mHeaderFont.get());
        g->SetColor(GetColor(0));
        WriteString(g, mDialogHeader, mContentInsets.left, y + mHeaderFont->GetAscent(), inner, 0);
        y += mHeaderFont->GetHeight() + mSpaceAfterHeader;
    }
    if (mLinesFont != nullptr && !mDialogLines.empty())
    {
        g->SetFont(mLinesFont.get());
        g->SetColor(GetColor(1));
        g->DrawWordWrapped(Rect(mContentInsets.left, y, inner, mHeight - y), mDialogLines, -1, mTextAlign);
    }
    if (mHeaderFont != nullptr && !mDialogFooter.empty() && mButtonMode != kButtonsFooter)
    {
        const int bottom = mYesButton != nullptr ? ButtonsTop() - mButtonSpacing : mHeight - mContentInsets.bottom;
        g->SetFont(mHeaderFont.get());
        g->SetColor(GetColor(2));
        WriteString(g, mDialogFooter, mContentInsets.left, bottom - mHeaderFont->GetHeight() + mHeaderFont->GetAscent(),
                    inner, 0);
    }
}

void Dialog::MouseDown(int x, int y, int button, int)
{
    if (button != 0 || y >= HeaderBandHeight())
        return;
    mDragging = true;
    mDragMouseX = x;
    mDragMouseY = y;
}

// The dialog follows the pointer, kept inside its parent when the parent has a size.
void Dialog::MouseDrag(int x, int y)
{
    if (!mDragging)
        return;
    int newX = mX + x - mDragMouseX;
    int newY = mY + y - mDragMouseY;
    if (mParent != nullptr && mParent->mWidth > 0 && mParent->mHeight > 0)
    {
        newX = std::clamp(newX, 0, std::max(0, mParent->mWidth - mWidth));
        newY = std::clamp(newY, 0, std::max(0, mParent->mHeight - mHeight));
    }
    Move(newX, newY);
}

void Dialog::MouseUp(int, int, int, int)
{
    mDragging = false;
}

void Dialog::ButtonPress(int id)
{
    if ((id == kIdYes || id == kIdNo) && mDialogListener != nullptr)
        mDialogListener->DialogButtonPress(mId, id);
}

void Dialog::ButtonRelease(int id)
{
    if (id != kIdYes && id != kIdNo)
        return;
    mResult = id;
    if (mDialogListener != nullptr)
        mDialogListener->DialogButtonRelease(mId, id);
}
} // namespace Quoll
