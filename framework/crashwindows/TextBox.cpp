#include "framework/crashwindows/TextBox.h"

#include "framework/display/Graphics.h"
#include "framework/platform/window/WindowMessages.h"

#include <algorithm>

namespace Quoll
{
namespace
{
using namespace Platform;

const Color kWhite(255, 255, 255);
const Color kBlack(0, 0, 0);
const Color kShadow(128, 128, 128);
const Color kTrack(236, 234, 230);

bool IsBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

bool Inside(const Rect& box, int x, int y)
{
    return x >= box.x && y >= box.y && x < box.x + box.width && y < box.y + box.height;
}
} // namespace

const Color TextBox::kFaceColor(212, 208, 200);

TextBox::TextBox(Style style, const Font* font) : mStyle(style), mFont(font != nullptr ? font->Duplicate() : nullptr) {}

void TextBox::SetText(const std::wstring& text)
{
    mText = text;
    mCaret = 0;
    mFirstLine = 0;
    mCaretX = -1;
    Rewrap();
    MarkDirty();
}

std::wstring TextBox::GetLine(int line) const
{
    if (line < 0 || line >= GetLineCount())
        return {};
    const Line& at = mLines[static_cast<size_t>(line)];
    return mText.substr(at.begin, at.end - at.begin);
}

void TextBox::Resize(int x, int y, int width, int height)
{
    Widget::Resize(x, y, width, height);
    Rewrap();
}

// --- Layout ---------------------------------------------------------------------------------

Rect TextBox::TextArea() const
{
    const int frame = mStyle.border ? 1 : 0;
    const int bar = mStyle.verticalScroll ? kScrollBarWidth : 0;
    const int top = mStyle.border ? frame + 1 : 0;
    return Rect(frame + kMargin, top, std::max(0, mWidth - 2 * frame - 2 * kMargin - bar),
                std::max(0, mHeight - 2 * top));
}

int TextBox::LineHeight() const { return mFont != nullptr ? std::max(1, mFont->GetLineSpacing()) : 1; }

int TextBox::GetVisibleLines() const { return std::max(1, TextArea().height / LineHeight()); }

int TextBox::MaxFirstLine() const { return std::max(0, GetLineCount() - GetVisibleLines()); }

int TextBox::TextWidth(size_t begin, size_t end) const
{
    return mFont != nullptr && end > begin ? mFont->StringWidth(mText.substr(begin, end - begin)) : 0;
}

// Lines end at line breaks and, where a line grows wider than the text area, after its last
// blank (a word wider than the whole area is cut where it no longer fits).
void TextBox::Rewrap()
{
    mLines.clear();
    const int width = TextArea().width;
    size_t begin = 0, lastBlank = std::wstring::npos;
    int lineWidth = 0;
    wchar_t previous = 0;
    size_t i = 0;
    while (i < mText.size())
    {
        const wchar_t c = mText[i];
        if (IsBreak(c))
        {
            mLines.push_back({begin, i});
            i += c == L'\r' && i + 1 < mText.size() && mText[i + 1] == L'\n' ? 2 : 1;
            begin = i, lastBlank = std::wstring::npos, lineWidth = 0, previous = 0;
            continue;
        }
        const int advance = mFont != nullptr ? mFont->CharWidthKern(c, previous) : 0;
        if (lineWidth + advance > width && i > begin && c != L' ')
        {
            const size_t end = lastBlank != std::wstring::npos ? lastBlank + 1 : i;
            mLines.push_back({begin, end});
            begin = end, lastBlank = std::wstring::npos, previous = i > begin ? mText[i - 1] : 0;
            lineWidth = TextWidth(begin, i);
            continue;
        }
        if (c == L' ')
            lastBlank = i;
        lineWidth += advance;
        previous = c;
        ++i;
    }
    mLines.push_back({begin, mText.size()});
    mFirstLine = std::min(mFirstLine, MaxFirstLine());
}

int TextBox::LineOf(size_t position) const
{
    // A position at a wrap belongs to the line it starts.
    for (int line = GetLineCount() - 1; line > 0; --line)
        if (mLines[static_cast<size_t>(line)].begin <= position)
            return line;
    return 0;
}

size_t TextBox::PositionAt(int x, int y) const
{
    const Rect area = TextArea();
    const int line = std::clamp(mFirstLine + (y - area.y) / LineHeight(), 0, GetLineCount() - 1);
    const Line& at = mLines[static_cast<size_t>(line)];
    size_t best = at.begin;
    int bestDistance = std::abs(x - area.x);
    for (size_t position = at.begin + 1; position <= at.end; ++position)
    {
        const int distance = std::abs(x - area.x - TextWidth(at.begin, position));
        if (distance < bestDistance)
            best = position, bestDistance = distance;
    }
    return best;
}

// --- Editing ---------------------------------------------------------------------------------

size_t TextBox::PreviousPosition(size_t position) const
{
    if (position >= 2 && mText.compare(position - 2, 2, L"\r\n") == 0)
        return position - 2;
    return position > 0 ? position - 1 : 0;
}

size_t TextBox::NextPosition(size_t position) const
{
    if (mText.compare(position, 2, L"\r\n") == 0)
        return position + 2;
    return std::min(position + 1, mText.size());
}

void TextBox::MoveCaret(size_t position)
{
    mCaret = std::min(position, mText.size());
    KeepCaretVisible();
    MarkDirty();
}

void TextBox::MoveCaretByLines(int lines)
{
    const int from = LineOf(mCaret);
    const Line& current = mLines[static_cast<size_t>(from)];
    if (mCaretX < 0)
        mCaretX = TextWidth(current.begin, mCaret);
    const int to = std::clamp(from + lines, 0, GetLineCount() - 1);
    const Rect area = TextArea();
    const int keptX = mCaretX;
    MoveCaret(PositionAt(area.x + keptX, area.y + (to - mFirstLine) * LineHeight()));
    mCaretX = keptX;
}

void TextBox::KeepCaretVisible()
{
    const int line = LineOf(mCaret);
    if (line < mFirstLine)
        ScrollTo(line);
    else if (line >= mFirstLine + GetVisibleLines())
        ScrollTo(line - GetVisibleLines() + 1);
}

void TextBox::Insert(const std::wstring& text)
{
    mText.insert(mCaret, text);
    mCaret += text.size();
    Rewrap();
    KeepCaretVisible();
    MarkDirty();
}

void TextBox::Erase(size_t begin, size_t end)
{
    if (end <= begin)
        return;
    mText.erase(begin, end - begin);
    mCaret = begin;
    Rewrap();
    KeepCaretVisible();
    MarkDirty();
}

void TextBox::KeyDown(int keyCode)
{
    const bool keepColumn = keyCode == VK_UP || keyCode == VK_DOWN || keyCode == VK_PRIOR || keyCode == VK_NEXT;
    if (!keepColumn)
        mCaretX = -1;
    if (mStyle.readOnly)
    {
        // Without a caret the keys scroll.
        switch (keyCode)
        {
        case VK_UP: ScrollTo(mFirstLine - 1); break;
        case VK_DOWN: ScrollTo(mFirstLine + 1); break;
        case VK_PRIOR: ScrollTo(mFirstLine - GetVisibleLines()); break;
        case VK_NEXT: ScrollTo(mFirstLine + GetVisibleLines()); break;
        case VK_HOME: ScrollTo(0); break;
        case VK_END: ScrollTo(MaxFirstLine()); break;
        default: break;
        }
        return;
    }
    const Line& line = mLines[static_cast<size_t>(LineOf(mCaret))];
    switch (keyCode)
    {
    case VK_LEFT: MoveCaret(PreviousPosition(mCaret)); break;
    case VK_RIGHT: MoveCaret(NextPosition(mCaret)); break;
    case VK_HOME: MoveCaret(line.begin); break;
    case VK_END: MoveCaret(line.end); break;
    case VK_UP: MoveCaretByLines(-1); break;
    case VK_DOWN: MoveCaretByLines(1); break;
    case VK_PRIOR: MoveCaretByLines(-GetVisibleLines()); break;
    case VK_NEXT: MoveCaretByLines(GetVisibleLines()); break;
    case VK_DELETE: Erase(mCaret, NextPosition(mCaret)); break;
    default: break;
    }
}

void TextBox::KeyChar(wchar_t character)
{
    if (mStyle.readOnly)
        return;
    mCaretX = -1;
    if (character == 8)
        Erase(PreviousPosition(mCaret), mCaret);
    else if (character == 13)
        Insert(L"\r\n");
    else if (character >= 32 && character != 127)
        Insert(std::wstring(1, character));
}

// --- Scrolling -------------------------------------------------------------------------------

void TextBox::ScrollTo(int firstLine)
{
    const int line = std::clamp(firstLine, 0, MaxFirstLine());
    if (line != mFirstLine)
    {
        mFirstLine = line;
        MarkDirty();
    }
}

Rect TextBox::ScrollBar() const
{
    const int frame = mStyle.border ? 1 : 0;
    return Rect(mWidth - frame - kScrollBarWidth, frame, kScrollBarWidth, std::max(0, mHeight - 2 * frame));
}

Rect TextBox::UpArrow() const
{
    const Rect bar = ScrollBar();
    return Rect(bar.x, bar.y, bar.width, std::min(kScrollBarWidth, bar.height / 2));
}

Rect TextBox::DownArrow() const
{
    const Rect bar = ScrollBar();
    const int height = std::min(kScrollBarWidth, bar.height / 2);
    return Rect(bar.x, bar.y + bar.height - height, bar.width, height);
}

Rect TextBox::Track() const
{
    const Rect up = UpArrow(), down = DownArrow();
    return Rect(up.x, up.y + up.height, up.width, std::max(0, down.y - up.y - up.height));
}

Rect TextBox::Thumb() const
{
    const Rect track = Track();
    const int lines = GetLineCount();
    const int height = std::clamp(track.height * GetVisibleLines() / std::max(1, lines), 8, track.height);
    const int top = track.y + (track.height - height) * mFirstLine / std::max(1, MaxFirstLine());
    return Rect(track.x, top, track.width, height);
}

bool TextBox::ClickScrollBar(int x, int y)
{
    if (!mStyle.verticalScroll || !Inside(ScrollBar(), x, y))
        return false;
    if (!CanScroll())
        return true;
    const Rect thumb = Thumb();
    if (Inside(UpArrow(), x, y))
        ScrollTo(mFirstLine - 1);
    else if (Inside(DownArrow(), x, y))
        ScrollTo(mFirstLine + 1);
    else if (Inside(thumb, x, y))
        mThumbGrab = y - thumb.y;
    else
        ScrollTo(mFirstLine + (y < thumb.y ? -GetVisibleLines() : GetVisibleLines()));
    return true;
}

void TextBox::DragThumb(int y)
{
    const Rect track = Track(), thumb = Thumb();
    const int room = track.height - thumb.height;
    if (room <= 0)
        return;
    const int top = std::clamp(y - mThumbGrab - track.y, 0, room);
    ScrollTo((top * MaxFirstLine() + room / 2) / room);
}

void TextBox::MouseDown(int x, int y, int button, int clickCount)
{
    (void)clickCount;
    if (button != 0 || ClickScrollBar(x, y) || mStyle.readOnly)
        return;
    mCaretX = -1;
    MoveCaret(PositionAt(x, y));
}

void TextBox::MouseDrag(int x, int y)
{
    (void)x;
    if (mThumbGrab >= 0)
        DragThumb(y);
}

void TextBox::MouseUp(int x, int y, int button, int clickCount)
{
    (void)x, (void)y, (void)button, (void)clickCount;
    mThumbGrab = -1;
}

void TextBox::MouseWheel(int steps) { ScrollTo(mFirstLine - steps * kWheelLines); }

// --- Drawing ---------------------------------------------------------------------------------

void TextBox::Draw(Graphics* g)
{
    g->SetColor(mStyle.readOnly ? kFaceColor : kWhite);
    g->FillRect(0, 0, mWidth, mHeight);
    if (mStyle.border)
    {
        g->SetColor(kShadow);
        g->DrawRect(0, 0, mWidth - 1, mHeight - 1);
    }
    DrawText(g);
    if (mHasFocus && !mStyle.readOnly)
        DrawCaret(g);
    if (mStyle.verticalScroll)
        DrawScrollBar(g);
}

void TextBox::DrawText(Graphics* g)
{
    if (mFont == nullptr)
        return;
    const Rect area = TextArea();
    g->PushState();
    g->ClipRect(area.x, area.y, area.width, area.height);
    g->SetFont(mFont.get());
    g->SetColor(kBlack);
    const int last = std::min(GetLineCount(), mFirstLine + GetVisibleLines());
    for (int line = mFirstLine; line < last; ++line)
        g->DrawString(GetLine(line), area.x, area.y + (line - mFirstLine) * LineHeight() + mFont->GetAscent());
    g->PopState();
}

void TextBox::DrawCaret(Graphics* g)
{
    const int line = LineOf(mCaret);
    if (mFont == nullptr || line < mFirstLine || line >= mFirstLine + GetVisibleLines())
        return;
    const Rect area = TextArea();
    const int x = area.x + TextWidth(mLines[static_cast<size_t>(line)].begin, mCaret);
    g->SetColor(kBlack);
    g->FillRect(std::min(x, area.x + area.width - 1), area.y + (line - mFirstLine) * LineHeight(), 1,
                mFont->GetHeight());
}

void TextBox::DrawRaisedBox(Graphics* g, const Rect& box)
{
    g->SetColor(kFaceColor);
    g->FillRect(box);
    g->SetColor(kWhite);
    g->FillRect(box.x, box.y, box.width - 1, 1);
    g->FillRect(box.x, box.y, 1, box.height - 1);
    g->SetColor(kShadow);
    g->FillRect(box.x + 1, box.y + box.height - 2, box.width - 2, 1);
    g->FillRect(box.x + box.width - 2, box.y + 1, 1, box.height - 2);
    g->SetColor(Color(64, 64, 64));
    g->FillRect(box.x, box.y + box.height - 1, box.width, 1);
    g->FillRect(box.x + box.width - 1, box.y, 1, box.height);
}

// A small filled triangle in the middle of the box, grey when there is nothing to scroll.
void TextBox::DrawArrow(Graphics* g, const Rect& box, bool up, bool enabled)
{
    DrawRaisedBox(g, box);
    g->SetColor(enabled ? kBlack : kShadow);
    const int centreX = box.x + box.width / 2 - 1, centreY = box.y + box.height / 2 - 2;
    for (int row = 0; row < 4; ++row)
    {
        const int half = up ? row : 3 - row;
        g->FillRect(centreX - half, centreY + row, 2 * half + 1, 1);
    }
}

void TextBox::DrawScrollBar(Graphics* g)
{
    const bool enabled = CanScroll();
    const Rect track = Track();
    g->SetColor(kTrack);
    g->FillRect(track);
    DrawArrow(g, UpArrow(), true, enabled);
    DrawArrow(g, DownArrow(), false, enabled);
    if (enabled)
        DrawRaisedBox(g, Thumb());
}
} // namespace Quoll
