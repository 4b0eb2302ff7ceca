#include "framework/app/AppWidgetManager.h"

#include "framework/platform/window/WindowMessages.h"

#include <algorithm>
#include <iterator>

namespace Quoll
{
int MouseButtonBit(int clickCount)
{
    if (clickCount == 3)
        return 4;
    return clickCount < 0 ? 2 : 1;
}

int MouseClickCount(uint32_t message)
{
    using namespace Platform;
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return 1;
    case WM_LBUTTONDBLCLK: return 2;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return -1;
    case WM_RBUTTONDBLCLK: return -2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return 3;
    default: return 0;
    }
}

void NullWidgetManager::MouseMove(int x, int y)
{
    mMouseX = x;
    mMouseY = y;
}

void NullWidgetManager::MouseDown(int x, int y, int clickCount)
{
    MouseMove(x, y);
    mDownButtons |= MouseButtonBit(clickCount);
}

void NullWidgetManager::MouseUp(int x, int y, int clickCount)
{
    MouseMove(x, y);
    mDownButtons &= ~MouseButtonBit(clickCount);
}

void NullWidgetManager::KeyDown(int keyCode)
{
    if (keyCode >= 0 && keyCode < kKeyCount)
        mKeyDown[keyCode] = true;
}

void NullWidgetManager::KeyUp(int keyCode)
{
    if (keyCode >= 0 && keyCode < kKeyCount)
        mKeyDown[keyCode] = false;
}

bool NullWidgetManager::IsKeyDown(int keyCode) const
{
    return keyCode >= 0 && keyCode < kKeyCount && mKeyDown[keyCode];
}

void NullWidgetManager::ReleaseDownButtons()
{
    mDownButtons = 0;
}

void NullWidgetManager::ClearKeysDown()
{
    std::fill(std::begin(mKeyDown), std::end(mKeyDown), false);
}

void NullWidgetManager::SetMouseRects(const MouseRect& source, const MouseRect& destination)
{
    mSource = source;
    mDestination = destination;
}

void NullWidgetManager::RemapMouse(int& x, int& y) const
{
    if (mSource.width <= 0 || mSource.height <= 0)
        return;
    x = mDestination.x + (x - mSource.x) * mDestination.width / mSource.width;
    y = mDestination.y + (y - mSource.y) * mDestination.height / mSource.height;
}
} // namespace Quoll
