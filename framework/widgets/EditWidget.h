#pragma once
// A one-line text field: typing, Backspace, Delete, the arrows, Home and End (Shift selects),
// Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+V through the application's clipboard, a maximum length, a
// password display and a blinking caret of its own. The listener may refuse keys, characters and
// new texts, and hears Enter. Colours: 0 background, 1 outline, 2 text, 3 selection, 4 selected text.
#include "framework/display/Font.h"
#include "framework/widgets/EditListener.h"
#include "framework/widgets/Widget.h"

#include <memory>
#include <string>

namespace Quoll
{
class EditWidget : public Widget
{
public:
    static constexpr int kBlinkUpdates = 50;

    EditWidget(int id, EditListener* listener);

    // Keeps a copy of the font, or with `adopt` takes the given one (and deletes it later).
    virtual void SetFont(Font* font, bool adopt = false);
    [[nodiscard]] Font* GetFont() const { return mFont.get(); }
    // Sets the text (cut to the maximum length) with the cursor at its end and no selection.
    virtual void SetText(const std::wstring& text, bool leftPosToZero = true);
    // The text, or as many password characters.
    [[nodiscard]] std::wstring GetDisplayString() const;
    [[nodiscard]] bool HasSelection() const { return mHilitePos != -1 && mHilitePos != mCursorPos; }

    [[nodiscard]] bool WantsFocus() override { return true; }
    void Draw(Graphics* g) override;
    void Update() override;
    void KeyDown(int keyCode) override;
    void KeyChar(wchar_t character) override;
    using Widget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseDrag(int x, int y) override;
    void GotFocus() override;
    void LostFocus() override;

    int mId;
    EditListener* mListener;
    std::wstring mString;
    // 0 shows the text itself.
    wchar_t mPasswordChar = 0;
    // -1: no limit.
    int mMaxChars = -1;
    // The first character shown at the left edge.
    int mLeftPos = 0;
    int mCursorPos = 0;
    // The selection's anchor; -1 for none.
    int mHilitePos = -1;
    int mBlinkAcc = 0;
    // The caret's blink phase: true while it shows.
    bool mBlinkVal = true;
    bool mShowHiliteWithoutFocus = false;

protected:
    // Replaces the selection (or inserts at the cursor) when the result fits and is allowed.
    bool ReplaceSelection(const std::wstring& text);
    void DeleteSelection();
    void MoveCursor(int position, bool select);
    // Keeps the cursor inside the visible part.
    void FocusCursor();
    // The character boundary nearest to x (widget coordinates).
    [[nodiscard]] int GetCharAt(int x);
    [[nodiscard]] int TextX(int position);
    void CopySelection();
    void Paste();
    [[nodiscard]] bool IsCtrlDown() const;
    [[nodiscard]] bool IsShiftDown() const;

private:
    static constexpr int kPadding = 4;
    std::unique_ptr<Font> mFont;
};
} // namespace Quoll
