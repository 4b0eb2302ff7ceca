#pragma once
// A text control of the crash windows: text wrapped at word boundaries into lines, read-only or
// typed into (a caret, the arrow keys, Home and End, Page Up and Page Down, Backspace, Delete,
// Enter for a new line), with an optional thin border and an optional vertical scroll bar whose
// arrows, track and thumb can be clicked and dragged; the wheel scrolls by three lines. Line
// breaks are kept as "\r\n", as the desktop's text fields give them. Typed text shows on white,
// read-only text on the window's face colour.
#include "framework/display/Font.h"
#include "framework/display/Rect.h"
#include "framework/widgets/Widget.h"

#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
class TextBox : public Widget
{
public:
    struct Style
    {
        bool readOnly = true;
        bool border = false;
        bool verticalScroll = false;
    };

    static constexpr int kScrollBarWidth = 16;
    static constexpr int kMargin = 2; // between the frame and the text
    static constexpr int kWheelLines = 3;
    static const Color kFaceColor;

    // Keeps a copy of the font; without one no text is drawn.
    TextBox(Style style, const Font* font);

    // Replaces the text; the caret goes to its start and the first line shows.
    void SetText(const std::wstring& text);
    [[nodiscard]] const std::wstring& GetText() const { return mText; }
    [[nodiscard]] size_t GetCaret() const { return mCaret; }
    [[nodiscard]] int GetLineCount() const { return static_cast<int>(mLines.size()); }
    [[nodiscard]] int GetFirstLine() const { return mFirstLine; }
    [[nodiscard]] int GetVisibleLines() const;
    // Shows the line at the top, within the scrolling range.
    void ScrollTo(int firstLine);
    // The text of one line as shown, without its line break.
    [[nodiscard]] std::wstring GetLine(int line) const;

    void Resize(int x, int y, int width, int height) override;
    [[nodiscard]] bool WantsFocus() override { return true; }
    void Draw(Graphics* g) override;
    void KeyDown(int keyCode) override;
    void KeyChar(wchar_t character) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseDrag(int x, int y) override;
    void MouseUp(int x, int y, int button, int clickCount) override;
    void MouseWheel(int steps) override;
    void GotFocus() override { MarkDirty(); }
    void LostFocus() override { MarkDirty(); }

private:
    // Characters [begin, end) of the text; the line break after end is not part of the line.
    struct Line
    {
        size_t begin = 0;
        size_t end = 0;
    };

    void Rewrap();
    [[nodiscard]] Rect TextArea() const;
    [[nodiscard]] int LineHeight() const;
    [[nodiscard]] int MaxFirstLine() const;
    [[nodiscard]] int LineOf(size_t position) const;
    [[nodiscard]] size_t PositionAt(int x, int y) const;
    [[nodiscard]] int TextWidth(size_t begin, size_t end) const;
    void MoveCaret(size_t position);
    void MoveCaretByLines(int lines);
    void KeepCaretVisible();
    void Insert(const std::wstring& text);
    void Erase(size_t begin, size_t end);
    [[nodiscard]] size_t PreviousPosition(size_t position) const;
    [[nodiscard]] size_t NextPosition(size_t position) const;

    // The scroll bar, in widget coordinates.
    [[nodiscard]] bool CanScroll() const { return MaxFirstLine() > 0; }
    [[nodiscard]] Rect ScrollBar() const;
    [[nodiscard]] Rect UpArrow() const;
    [[nodiscard]] Rect DownArrow() const;
    [[nodiscard]] Rect Track() const;
    [[nodiscard]] Rect Thumb() const;
    bool ClickScrollBar(int x, int y);
    void DragThumb(int y);
    void DrawText(Graphics* g);
    void DrawCaret(Graphics* g);
    void DrawScrollBar(Graphics* g);
    static void DrawRaisedBox(Graphics* g, const Rect& box);
    static void DrawArrow(Graphics* g, const Rect& box, bool up, bool enabled);

    Style mStyle;
    std::unique_ptr<Font> mFont;
    std::wstring mText;
    std::vector<Line> mLines{Line{}};
    size_t mCaret = 0;
    int mFirstLine = 0;
    int mCaretX = -1; // the column kept while moving up and down; -1 when none
    int mThumbGrab = -1; // the pointer's offset in the thumb while it is dragged; -1 when not
};
} // namespace Quoll
