// Modal UI of the application's own (the demo navigation dialogs): a nested loop that reads the
// window messages, hands the live input to the client and draws, while no update runs.
#include "framework/app/QuollAppBase.h"

#include "framework/platform/system/Clock.h"

#include <algorithm>

namespace Quoll
{
void QuollAppBase::RunModal(AppModalClient& client)
{
    if (mModalClient != nullptr || !mWindowSystem)
        return;
    mModalClient = &client;
    // A close of the window ends the modal UI; the main loop then handles the close.
    auto closeQueued = [this] {
        return std::any_of(mDeferredMessages.begin(), mDeferredMessages.end(),
                           [](const DeferredMessage& m) { return m.message == Platform::WM_CLOSE; });
    };
    while (!client.Finished() && !mShutdown && !mShutdownRequested && !closeQueued())
    {
        Platform::Message message;
        while (!mShutdown && mWindowSystem->PeekMessage(message))
        {
            mWindowSystem->TranslateMessage(message);
            mWindowSystem->DispatchMessage(message);
        }
        mForceRedraw = true;
        mWidgetManager->MarkAllDirty();
        DrawDirty();
        Platform::SleepMilliseconds(uint32_t(std::max(mFrameTime, 1)));
    }
    mModalClient = nullptr;
    mWidgetManager->MarkAllDirty();
    ResetFrameTiming();
}

bool QuollAppBase::RouteModalInput(uint32_t message, Platform::WParam wParam, Platform::LParam lParam)
{
    using namespace Platform;
    if (mModalClient == nullptr)
        return false;
    const bool input = message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
                       message == WM_SYSKEYUP || message == WM_CHAR || message == WM_MOUSEWHEEL ||
                       (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK);
    if (!input)
        return false;
    mModalClient->Input(message, wParam, lParam);
    return true;
}

void QuollAppBase::DrawModalClient()
{
    Image* screen = mDisplay ? mDisplay->GetScreenImage() : nullptr;
    if (mModalClient == nullptr || screen == nullptr)
        return;
    mModalClient->Draw(screen);
}
} // namespace Quoll
