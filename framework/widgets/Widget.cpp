#include "framework/widgets/Widget.h"

#include "framework/display/Graphics.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Quoll
{
Widget::~Widget()
{
    RemoveAllWidgets(true);
    if (mParent != nullptr)
        mParent->RemoveWidget(this);
}

void Widget::SetVisible(bool visible)
{
    if (mVisible == visible)
        return;
    mVisible = visible;
    MarkDirtyFull();
    if (mWidgetManager != nullptr)
        mWidgetManager->RefreshHover();
}

void Widget::SetDisabled(bool disabled)
{
    if (mDisabled == disabled)
        return;
    mDisabled = disabled;
    MarkDirty();
    if (mWidgetManager != nullptr)
        mWidgetManager->RefreshHover();
}

void Widget::SetColors(const std::vector<Color>& colors)
{
    mColors = colors;
    MarkDirty();
}

void Widget::SetColor(int index, const Color& color)
{
    if (index < 0)
        return;
    if (static_cast<size_t>(index) >= mColors.size())
        mColors.resize(static_cast<size_t>(index) + 1, Color::Black);
    mColors[static_cast<size_t>(index)] = color;
    MarkDirty();
}

const Color& Widget::GetColor(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= mColors.size())
        return Color::Black;
    return mColors[static_cast<size_t>(index)];
}

void Widget::Resize(int x, int y, int width, int height)
{
    if (mX == x && mY == y && mWidth == width && mHeight == height)
        return;
    MarkDirtyFull(); // what the old rectangle covered
    mX = x;
    mY = y;
    mWidth = width;
    mHeight = height;
    MarkDirtyFull();
}

void Widget::SetZPriority(int priority)
{
    mZPriority = priority;
    if (mParent != nullptr)
        mParent->BringToFront(this);
}

void Widget::DeferOverlay(int priority)
{
    if (mWidgetManager != nullptr)
        mWidgetManager->DeferOverlay(this, priority);
}

void Widget::MouseMove(int, int) {}

void Widget::MouseDrag(int, int) {}

int Widget::ButtonOfClickCount(int clickCount)
{
    if (clickCount == 3)
        return 2;
    return clickCount < 0 ? 1 : 0;
}

void Widget::MouseDown(int x, int y, int clickCount)
{
    MouseDown(x, y, ButtonOfClickCount(clickCount), clickCount);
}

void Widget::MouseDown(int, int, int, int) {}

void Widget::MouseUp(int x, int y, int clickCount)
{
    MouseUp(x, y, ButtonOfClickCount(clickCount), clickCount);
}

void Widget::MouseUp(int, int, int, int) {}

Point Widget::GetAbsolutePosition() const
{
    Point position{mX, mY};
    for (const WidgetContainer* parent = mParent; parent != nullptr && parent->mParent != nullptr;
         parent = parent->mParent)
    {
        position.x += parent->mX;
        position.y += parent->mY;
    }
    return position;
}

int Widget::WriteString(Graphics* g, const std::wstring& text, int x, int y, int width, int justification, bool draw,
                        int offset, int length)
{
    const bool escapes = g->mColorEscapes;
    g->SetColorEscapes(true);
    const int result = g->WriteString(text, x, y, width, justification, draw, offset, length);
    g->SetColorEscapes(escapes);
    return result;
}
} // namespace Quoll
