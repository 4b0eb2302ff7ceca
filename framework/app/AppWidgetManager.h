#pragma once
// What the application object needs of the root of its widget tree: input in application
// coordinates, the mapping of window positions, focus, updates and drawing into the screen
// image. The widget toolkit's manager implements it; until it exists the application owns a
// NullWidgetManager, which accepts every call and draws nothing.
#include <cstdint>

namespace Quoll
{
class Image;
class Widget;

struct MouseRect
{
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const MouseRect&) const = default;
};

class AppWidgetManager
{
public:
    static constexpr int kKeyCount = 255;

    virtual ~AppWidgetManager() = default;

    // Keyboard input for the focus widget.
    virtual void KeyDown(int keyCode) = 0;
    virtual void KeyUp(int keyCode) = 0;
    virtual void KeyChar(wchar_t character) = 0;
    // Mouse input; click count 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    virtual void MouseMove(int x, int y) = 0;
    virtual void MouseDown(int x, int y, int clickCount) = 0;
    virtual void MouseUp(int x, int y, int clickCount) = 0;
    virtual void MouseWheel(int steps) = 0;
    virtual void MouseExit() = 0;
    // Window positions map from `source` to `destination` (application coordinates).
    virtual void SetMouseRects(const MouseRect& source, const MouseRect& destination) = 0;
    virtual void RemapMouse(int& x, int& y) const = 0;
    virtual void GotFocus() = 0;
    virtual void LostFocus() = 0;
    // Mouse-ups for the buttons held on the widget that holds them, which is then forgotten.
    virtual void ReleaseDownButtons() = 0;
    // Whether the key is held, for the 255 virtual-key codes; ClearKeysDown forgets them all.
    [[nodiscard]] virtual bool IsKeyDown(int keyCode) const = 0;
    virtual void ClearKeysDown() = 0;
    // True when anything changed or was drawn.
    virtual bool UpdateFrame() = 0;
    virtual bool UpdateFrameSmooth(float fraction) = 0;
    virtual bool DrawScreen() = 0;
    virtual void SetScreenImage(Image* screen) = 0;
    virtual void MarkAllDirty() = 0;
    virtual void SystemColoursChangedAll() = 0;
    virtual void AddWidget(Widget* widget) = 0;
    virtual void RemoveWidget(Widget* widget) = 0;
    // Deletes a widget the application queued for deletion (the toolkit owns the type).
    virtual void DestroyWidget(Widget* widget) { (void)widget; }
    // Modal dialogs: input below the base modal widget is blocked until it is removed.
    virtual void AddBaseModal(Widget* widget) { (void)widget; }
    virtual void RemoveBaseModal(Widget* widget) { (void)widget; }
    // Mouse buttons held (bit 0 left, 1 right, 2 middle), as of the last MouseDown / MouseUp.
    [[nodiscard]] virtual int GetDownButtons() const { return 0; }
    // The last pointer position given to MouseMove, MouseDown or MouseUp.
    [[nodiscard]] virtual int GetLastMouseX() const { return 0; }
    [[nodiscard]] virtual int GetLastMouseY() const { return 0; }
};

// The down-mask bit of a click count (1, 2 left; -1, -2 right; 3 middle).
int MouseButtonBit(int clickCount);
// The click count of a mouse button message (WM_LBUTTONDOWN ... WM_MBUTTONDBLCLK); 0 for a move.
int MouseClickCount(uint32_t message);

// Accepts every call; keeps the key table, the held buttons and the mouse mapping so the application's own
// bookkeeping behaves as with a real manager.
class NullWidgetManager final : public AppWidgetManager
{
public:
    void KeyDown(int keyCode) override;
    void KeyUp(int keyCode) override;
    void KeyChar(wchar_t) override {}
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clickCount) override;
    void MouseUp(int x, int y, int clickCount) override;
    void MouseWheel(int) override {}
    void MouseExit() override {}
    void SetMouseRects(const MouseRect& source, const MouseRect& destination) override;
    void RemapMouse(int& x, int& y) const override;
    void GotFocus() override {}
    void LostFocus() override { ClearKeysDown(); }
    void ReleaseDownButtons() override;
    [[nodiscard]] bool IsKeyDown(int keyCode) const override;
    void ClearKeysDown() override;
    bool UpdateFrame() override { return false; }
    bool UpdateFrameSmooth(float) override { return false; }
    bool DrawScreen() override { return false; }
    void SetScreenImage(Image* screen) override { mScreen = screen; }
    void MarkAllDirty() override {}
    void SystemColoursChangedAll() override {}
    void AddWidget(Widget*) override {}
    void RemoveWidget(Widget*) override {}
    void DestroyWidget(Widget*) override {} // no widget is ever made without a toolkit
    void AddBaseModal(Widget*) override {}
    void RemoveBaseModal(Widget*) override {}
    [[nodiscard]] int GetDownButtons() const override { return mDownButtons; }
    [[nodiscard]] int GetLastMouseX() const override { return mMouseX; }
    [[nodiscard]] int GetLastMouseY() const override { return mMouseY; }

    [[nodiscard]] const MouseRect& MouseSource() const { return mSource; }
    [[nodiscard]] const MouseRect& MouseDestination() const { return mDestination; }
    [[nodiscard]] Image* ScreenImage() const { return mScreen; }

private:
    bool mKeyDown[kKeyCount] = {};
    MouseRect mSource, mDestination;
    Image* mScreen = nullptr;
    int mDownButtons = 0;
    int mMouseX = 0, mMouseY = 0;
};
} // namespace Quoll
