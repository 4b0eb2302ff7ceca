#include "framework/crashwindows/ControlWindow.h"

#include "framework/core/Common.h"
#include "framework/crashwindows/TextBox.h"
#include "framework/display/Graphics.h"
#include "framework/platform/system/PlatformLog.h"

#include <map>

namespace Quoll
{
namespace
{
using namespace Platform;

// The live windows, for the window procedure.
std::map<WindowId, ControlWindow*>& LiveWindows()
{
    static std::map<WindowId, ControlWindow*> windows;
    return windows;
}

// The window's face behind the controls; it takes no input.
class Face final : public Widget
{
public:
    Face() { mMouseVisible = false; }
    void Draw(Graphics* g) override
    {
        g->SetColor(TextBox::kFaceColor);
        g->FillRect(0, 0, mWidth, mHeight);
    }
};

int ClientX(LParam lParam) { return SignedLoWord(static_cast<uintptr_t>(lParam)); }
int ClientY(LParam lParam) { return SignedHiWord(static_cast<uintptr_t>(lParam)); }
} // namespace

ControlWindow::ControlWindow(WindowSystem& system, const Placement& placement)
    : mSystem(system), mPlacement(placement)
{
    mSystem.RegisterClass({placement.className, 0, &ControlWindow::WindowProc});
    WindowCreateInfo info;
    info.className = placement.className;
    info.title = placement.caption;
    info.style = kStyle;
    // The window's size is its outer rectangle: the client size grown by the frame this style gets.
    const WindowRect outer = mSystem.AdjustWindowRect({0, 0, placement.width, placement.height}, kStyle);
    info.x = placement.x;
    info.y = placement.y;
    info.width = outer.Width();
    info.height = outer.Height();
    mId = mSystem.CreateWindowEx(info);
    LiveWindows()[mId] = this;
    mScreen.Create(placement.width, placement.height);
    mScreen.SetImageMode(false, false);
    mWidgets.SetSize(placement.width, placement.height);
    mWidgets.SetScreenImage(&mScreen);
    Add(std::make_unique<Face>(), 0, 0, placement.width, placement.height);
}

ControlWindow::~ControlWindow()
{
    for (const std::unique_ptr<Widget>& control : mControls)
        mWidgets.RemoveWidget(control.get());
    mControls.clear();
    mPresenter.reset();
    LiveWindows().erase(mId);
    mSystem.DestroyWindow(mId);
}

void ControlWindow::Show()
{
    mSystem.ShowWindow(mId, SW_SHOWNORMAL);
    mSystem.SetForegroundWindow(mId);
    mSystem.SetFocus(mId);
    if (mPresenter == nullptr)
        mPresenter = mSystem.CreatePresenter(mId);
    mWidgets.MarkAllDirty();
    Paint();
    LogLine("CrashWindows", "\"" + WStringToString(mPlacement.caption) + "\" shown at " + std::to_string(mPlacement.x) +
                                 "," + std::to_string(mPlacement.y) + ", " + std::to_string(mPlacement.width) + " x " +
                                 std::to_string(mPlacement.height));
}

void ControlWindow::Hide() { mSystem.ShowWindow(mId, SW_HIDE); }

void ControlWindow::Paint()
{
    if (!mWidgets.DrawScreen() || mPresenter == nullptr)
        return;
    ArgbImageView frame;
    frame.pixels = mScreen.GetBits();
    frame.width = mScreen.mWidth;
    frame.height = mScreen.mHeight;
    frame.pitchBytes = mScreen.mWidth * 4;
    mPresenter->Present(frame);
}

LResult ControlWindow::WindowProc(WindowId window, uint32_t message, WParam wParam, LParam lParam)
{
    auto found = LiveWindows().find(window);
    if (found == LiveWindows().end())
        return 0; // still being created, or already gone
    ControlWindow& target = *found->second;
    LResult result = target.Handle(message, wParam, lParam);
    target.Paint();
    return result;
}

LResult ControlWindow::Handle(uint32_t message, WParam wParam, LParam lParam)
{
    switch (message)
    {
    case WM_MOUSEMOVE: mWidgets.MouseMove(ClientX(lParam), ClientY(lParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: mWidgets.MouseDown(ClientX(lParam), ClientY(lParam), 1); return 0;
    case WM_LBUTTONUP: mWidgets.MouseUp(ClientX(lParam), ClientY(lParam), 1); return 0;
    case WM_MOUSEWHEEL: Wheel(wParam, lParam); return 0;
    case WM_KEYDOWN: mWidgets.KeyDown(static_cast<int>(wParam)); return 0;
    case WM_KEYUP: mWidgets.KeyUp(static_cast<int>(wParam)); return 0;
    case WM_CHAR: mWidgets.KeyChar(static_cast<wchar_t>(wParam)); return 0;
    case WM_PAINT: mWidgets.MarkAllDirty(); return 0;
    case WM_TIMER: OnTimer(static_cast<uintptr_t>(wParam)); return 0;
    case WM_CLOSE: OnClose(); return 0;
    default: return mSystem.DefWindowProc(mId, message, wParam, lParam);
    }
}

// The wheel scrolls what is under the pointer (its position comes in screen coordinates).
void ControlWindow::Wheel(WParam wParam, LParam lParam)
{
    ScreenPoint at{ClientX(lParam), ClientY(lParam)};
    mSystem.ScreenToClient(mId, at);
    int x = 0, y = 0;
    if (Widget* control = mWidgets.GetWidgetAt(at.x, at.y, &x, &y))
        control->MouseWheel(WheelDelta(wParam) / WHEEL_DELTA);
}
} // namespace Quoll
