// The widget manager's keyboard, mouse and focus handling.
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <iterator>

namespace Quoll
{
namespace
{
// The widget at a position relative to `widget`, searching its children from the top first.
Widget* FindWidgetAt(Widget* widget, int x, int y, int& widgetX, int& widgetY)
{
    if (!widget->mVisible || widget->mDisabled || !widget->ContainsLocal(x, y))
        return nullptr;
    const std::vector<Widget*>& children = widget->GetWidgets();
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        if (Widget* found = FindWidgetAt(*child, x - (*child)->mX, y - (*child)->mY, widgetX, widgetY))
            return found;
    if (!widget->mMouseVisible)
        return nullptr;
    widgetX = x;
    widgetY = y;
    return widget;
}

constexpr int kButtonBits[] = {1, 2, 4};
constexpr int kButtonClickCounts[] = {1, -1, 3};
} // namespace

// --- Keyboard -------------------------------------------------------------------------------------------

Widget* WidgetManager::KeyTarget() const
{
    return mFocusWidget != nullptr && !IsBlocked(mFocusWidget) ? mFocusWidget : nullptr;
}

void WidgetManager::KeyDown(int keyCode)
{
    WalkScope walk(*this);
    if (keyCode >= 0 && keyCode < kKeyCount)
        mKeyDown[keyCode] = true;
    if (Widget* target = KeyTarget())
        target->KeyDown(keyCode);
}

void WidgetManager::KeyUp(int keyCode)
{
    WalkScope walk(*this);
    if (keyCode >= 0 && keyCode < kKeyCount)
        mKeyDown[keyCode] = false;
    if (Widget* target = KeyTarget())
        target->KeyUp(keyCode);
}

void WidgetManager::KeyChar(wchar_t character)
{
    WalkScope walk(*this);
    if (Widget* target = KeyTarget())
        target->KeyChar(character);
}

bool WidgetManager::IsKeyDown(int keyCode) const
{
    return keyCode >= 0 && keyCode < kKeyCount && mKeyDown[keyCode];
}

void WidgetManager::ClearKeysDown()
{
    std::fill(std::begin(mKeyDown), std::end(mKeyDown), false);
}

void WidgetManager::SetFocus(Widget* widget)
{
    if (widget == mFocusWidget)
        return;
    WalkScope walk(*this);
    Widget* previous = mFocusWidget;
    mFocusWidget = widget;
    if (previous != nullptr)
    {
        previous->mHasFocus = false;
        previous->LostFocus();
    }
    if (widget != nullptr && mFocusWidget == widget)
    {
        widget->mHasFocus = true;
        widget->GotFocus();
    }
}

void WidgetManager::GotFocus()
{
    WalkScope walk(*this);
    mHasFocus = true;
    if (mFocusWidget != nullptr)
    {
        mFocusWidget->mHasFocus = true;
        mFocusWidget->GotFocus();
    }
}

void WidgetManager::LostFocus()
{
    WalkScope walk(*this);
    mHasFocus = false;
    ReleaseDownButtons();
    for (int key = 0; key < kKeyCount; ++key)
    {
        if (!mKeyDown[key])
            continue;
        mKeyDown[key] = false;
        if (Widget* target = KeyTarget())
            target->KeyUp(key);
    }
    if (mFocusWidget != nullptr)
    {
        mFocusWidget->mHasFocus = false;
        mFocusWidget->LostFocus();
    }
}

// --- Mouse ----------------------------------------------------------------------------------------------

Widget* WidgetManager::GetWidgetAt(int x, int y, int* widgetX, int* widgetY) const
{
    const Widget* barrier = mModalStack.empty() ? nullptr : TopLevelOf(mModalStack.back().widget);
    int foundX = 0, foundY = 0;
    for (auto child = mWidgets.rbegin(); child != mWidgets.rend(); ++child)
    {
        if (Widget* found = FindWidgetAt(*child, x - (*child)->mX, y - (*child)->mY, foundX, foundY))
        {
            if (widgetX != nullptr)
                *widgetX = foundX;
            if (widgetY != nullptr)
                *widgetY = foundY;
            return found;
        }
        if (*child == barrier)
            break;
    }
    return nullptr;
}

Point WidgetManager::RelativeToWidget(const Widget* widget) const
{
    const Point position = widget->GetAbsolutePosition();
    return {mLastMouseX - position.x, mLastMouseY - position.y};
}

void WidgetManager::SetOverWidget(Widget* widget)
{
    if (widget == mOverWidget)
        return;
    Widget* previous = mOverWidget;
    mOverWidget = widget;
    if (previous != nullptr)
    {
        previous->mIsOver = false;
        previous->MouseLeave();
    }
    if (widget != nullptr && mOverWidget == widget)
    {
        widget->mIsOver = true;
        widget->MouseEnter();
    }
}

// While buttons are held only the widget holding them can be under the pointer.
void WidgetManager::RefreshHover()
{
    WalkScope walk(*this);
    Widget* hit = mMouseIn ? GetWidgetAt(mLastMouseX, mLastMouseY) : nullptr;
    if (mDownWidget != nullptr && hit != mDownWidget)
        hit = nullptr;
    SetOverWidget(hit);
}

void WidgetManager::MouseMove(int x, int y)
{
    WalkScope walk(*this);
    mLastMouseX = x;
    mLastMouseY = y;
    mMouseIn = true;
    RefreshHover();
    if (mDownWidget != nullptr)
    {
        const Point at = RelativeToWidget(mDownWidget);
        mDownWidget->MouseDrag(at.x, at.y);
    }
    else if (mOverWidget != nullptr)
    {
        const Point at = RelativeToWidget(mOverWidget);
        mOverWidget->MouseMove(at.x, at.y);
    }
}

// A press while another button is held goes to the widget that holds it.
void WidgetManager::MouseDown(int x, int y, int clickCount)
{
    WalkScope walk(*this);
    mLastMouseX = x;
    mLastMouseY = y;
    mMouseIn = true;
    mDownButtons |= MouseButtonBit(clickCount);
    RefreshHover();
    if (mDownWidget == nullptr)
        mDownWidget = GetWidgetAt(x, y);
    Widget* widget = mDownWidget;
    if (widget == nullptr)
        return;
    widget->mIsDown = true;
    if (widget->WantsFocus())
        SetFocus(widget);
    if (mDownWidget != widget)
        return; // taken out by the focus change
    const Point at = RelativeToWidget(widget);
    widget->MouseDown(at.x, at.y, clickCount);
}

void WidgetManager::MouseUp(int x, int y, int clickCount)
{
    WalkScope walk(*this);
    mLastMouseX = x;
    mLastMouseY = y;
    const int bit = MouseButtonBit(clickCount);
    const bool wasHeld = (mDownButtons & bit) != 0;
    mDownButtons &= ~bit;
    Widget* widget = mDownWidget;
    if (widget != nullptr && mDownButtons == 0)
    {
        widget->mIsDown = false;
        mDownWidget = nullptr;
    }
    if (widget != nullptr && wasHeld)
    {
        const Point at = RelativeToWidget(widget);
        widget->MouseUp(at.x, at.y, clickCount);
    }
    RefreshHover();
}

void WidgetManager::MouseWheel(int steps)
{
    WalkScope walk(*this);
    if (Widget* target = KeyTarget())
        target->MouseWheel(steps);
}

void WidgetManager::MouseExit()
{
    WalkScope walk(*this);
    mMouseIn = false;
    SetOverWidget(nullptr);
}

void WidgetManager::SendButtonUps(Widget* widget, int buttonMask)
{
    if (widget == nullptr)
        return;
    WalkScope walk(*this);
    for (int i = 0; i < 3; ++i)
    {
        if ((buttonMask & kButtonBits[i]) == 0 || !IsInTree(widget))
            continue;
        const Point at = RelativeToWidget(widget);
        widget->MouseUp(at.x, at.y, kButtonClickCounts[i]);
    }
}

void WidgetManager::ReleaseDownButtons()
{
    WalkScope walk(*this);
    Widget* widget = mDownWidget;
    const int buttons = mDownButtons;
    mDownWidget = nullptr;
    mDownButtons = 0;
    if (widget == nullptr)
        return;
    widget->mIsDown = false;
    SendButtonUps(widget, buttons);
    RefreshHover();
}

void WidgetManager::SetMouseRects(const MouseRect& source, const MouseRect& destination)
{
    mSource = source;
    mDestination = destination;
}

void WidgetManager::RemapMouse(int& x, int& y) const
{
    if (mSource.width <= 0 || mSource.height <= 0)
        return;
    x = mDestination.x + (x - mSource.x) * mDestination.width / mSource.width;
    y = mDestination.y + (y - mSource.y) * mDestination.height / mSource.height;
}
} // namespace Quoll
