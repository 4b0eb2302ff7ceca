#pragma once
// One window of the crash reporter: a top-level window of the window system whose client area
// holds controls (widgets) drawn in software into an image of the client size and shown whole
// through the window's presenter. The window's messages become the controls' input: the mouse
// and its wheel (to the control under the pointer), keys and typed characters (to the control
// with the focus); a close, a timer and a button go to the concrete window.
#include "framework/app/ButtonListener.h"
#include "framework/display/MemoryImage.h"
#include "framework/platform/window/WindowSystem.h"
#include "framework/widgets/WidgetManager.h"

#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
class ControlWindow : public ButtonListener
{
public:
    // Where the window goes: x, y the outer rectangle's corner on the screen, width and height
    // the client area's size.
    struct Placement
    {
        const char* className;
        std::wstring caption;
        int x, y, width, height;
    };

    static constexpr uint32_t kStyle = Platform::WS_POPUP | Platform::WS_CLIPCHILDREN | Platform::WS_CAPTION |
                                       Platform::WS_SYSMENU | Platform::WS_MINIMIZEBOX;

    // Creates the window, hidden; the class is registered on first use.
    ControlWindow(Platform::WindowSystem& system, const Placement& placement);
    ~ControlWindow() override;
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    [[nodiscard]] Platform::WindowId GetId() const { return mId; }
    // Shows the window with the focus, and what it holds.
    void Show();
    void Hide();
    // Draws what changed since the last frame and shows it.
    void Paint();
    // The client area as last drawn.
    [[nodiscard]] MemoryImage& GetScreen() { return mScreen; }
    [[nodiscard]] Widget* GetFocus() const { return mWidgets.GetFocusWidget(); }

protected:
    // Places a control; the window owns it.
    template <typename T> T* Add(std::unique_ptr<T> control, int x, int y, int width, int height)
    {
        T* added = control.get();
        control->Resize(x, y, width, height);
        mWidgets.AddWidget(added);
        mControls.push_back(std::move(control));
        return added;
    }
    void SetFocus(Widget* control) { mWidgets.SetFocus(control); }
    [[nodiscard]] Platform::WindowSystem& System() { return mSystem; }

    // The window's close button, Alt+F4 or a close request of the desktop.
    virtual void OnClose() = 0;
    virtual void OnTimer(uintptr_t timer) { (void)timer; }

private:
    static Platform::LResult WindowProc(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                        Platform::LParam lParam);
    Platform::LResult Handle(uint32_t message, Platform::WParam wParam, Platform::LParam lParam);
    void Wheel(Platform::WParam wParam, Platform::LParam lParam);

    Platform::WindowSystem& mSystem;
    Placement mPlacement;
    Platform::WindowId mId = Platform::WindowId::None;
    MemoryImage mScreen;
    WidgetManager mWidgets;
    std::vector<std::unique_ptr<Widget>> mControls;
    std::unique_ptr<Platform::FramePresenter> mPresenter;
};
} // namespace Quoll
