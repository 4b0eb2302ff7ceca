#include "framework/app/ScreenSaverFilter.h"

namespace Quoll
{
using namespace Platform;

namespace
{
constexpr int kMovesThatEnd = 4;
constexpr uint32_t kGraceMs = 1000; // after the start, activation, close and moves are ignored

bool IsSwallowedSysCommand(WParam command)
{
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_CLOSE || command == SC_SCREENSAVE;
}
} // namespace

ScreenSaverFilter::Verdict ScreenSaverFilter::Filter(uint32_t message, WParam wParam, const Context& context)
{
    if (mClosing)
        return Verdict::PassOn;
    switch (message)
    {
    case WM_CREATE:
        if (!mInitialised)
        {
            mInitialised = true;
            mLastX = context.cursorX;
            mLastY = context.cursorY;
        }
        return Verdict::PassOn;
    case WM_SYSCOMMAND: return IsSwallowedSysCommand(wParam) ? Verdict::Swallow : Verdict::PassOn;
    case WM_MOUSEMOVE:
        if (context.cursorX != mLastX || context.cursorY != mLastY)
        {
            ++mMouseMoves;
            mLastX = context.cursorX;
            mLastY = context.cursorY;
        }
        if (mMouseMoves < kMovesThatEnd)
            return Verdict::Swallow;
        return End(message, context);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_CLOSE: return End(message, context);
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE: return wParam != 0 ? Verdict::PassOn : End(message, context);
    default: return Verdict::PassOn;
    }
}

ScreenSaverFilter::Verdict ScreenSaverFilter::End(uint32_t message, const Context& context)
{
    if (!context.forMainWindow)
        return Verdict::PassOn;
    const bool ignoredAtFirst = message == WM_ACTIVATEAPP || message == WM_ACTIVATE || message == WM_CLOSE ||
                                message == WM_NCACTIVATE || message == WM_MOUSEMOVE;
    if (context.msSinceStart < kGraceMs && ignoredAtFirst)
        return Verdict::PassOn;
    mClosing = true;
    return Verdict::End;
}
} // namespace Quoll
