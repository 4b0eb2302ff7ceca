#pragma once
// The root of the widget tree: it turns the application's keyboard and mouse input into calls on
// the focus widget, the widget under the pointer and the widget holding mouse buttons, runs the
// update walks, and draws the tree and the deferred overlays into the screen image. A stack of
// base modal widgets blocks input to everything below the top one.
#include "framework/app/AppWidgetManager.h"
#include "framework/widgets/Point.h"
#include "framework/widgets/WidgetContainer.h"

#include <string>

#include <vector>

namespace Quoll
{
class Graphics;
class Image;
class QuollAppBase;
class Widget;

class WidgetManager final : public WidgetContainer, public AppWidgetManager
{
public:
    // Without an application the size is set with SetSize and deletions are kept here.
    explicit WidgetManager(QuollAppBase* app = nullptr);
    ~WidgetManager() override;

    // --- Tree (top-level widgets are not owned) ----------------------------------------------------
    void AddWidget(Widget* widget) override;
    void RemoveWidget(Widget* widget) override;
    void MarkAllDirty() override;
    void SystemColoursChangedAll() override;
    // Takes the widget out of the tree and deletes it.
    void DestroyWidget(Widget* widget) override;
    // Takes the widget out at once and deletes it once no input, update or draw walk runs
    // (through the application's deferred deletion when there is an application).
    void SafeDeleteWidget(Widget* widget);
    void SetSize(int width, int height);

    // --- Keyboard ------------------------------------------------------------------------------------
    void KeyDown(int keyCode) override;
    void KeyUp(int keyCode) override;
    void KeyChar(wchar_t character) override;
    [[nodiscard]] bool IsKeyDown(int keyCode) const override;
    void ClearKeysDown() override;
    void SetFocus(Widget* widget);
    [[nodiscard]] Widget* GetFocusWidget() const { return mFocusWidget; }
    void GotFocus() override;
    // Releases the held mouse buttons and keys, then tells the focus widget.
    void LostFocus() override;
    [[nodiscard]] bool HasFocus() const { return mHasFocus; }

    // --- Mouse ----------------------------------------------------------------------------------------
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clickCount) override;
    void MouseUp(int x, int y, int clickCount) override;
    void MouseWheel(int steps) override;
    void MouseExit() override;
    void SetMouseRects(const MouseRect& source, const MouseRect& destination) override;
    void RemapMouse(int& x, int& y) const override;
    // A mouse-up at the last position for each button of the mask (click counts 1, -1, 3).
    void SendButtonUps(Widget* widget, int buttonMask);
    void ReleaseDownButtons() override;
    // The topmost visible, enabled, mouse-visible widget at an application position that the
    // modal stack lets through; null for none. The position inside it goes to widgetX/Y.
    [[nodiscard]] Widget* GetWidgetAt(int x, int y, int* widgetX = nullptr, int* widgetY = nullptr) const;
    // Re-evaluates which widget is under the pointer (after the tree changed).
    void RefreshHover();
    [[nodiscard]] Widget* GetOverWidget() const { return mOverWidget; }
    [[nodiscard]] Widget* GetDownWidget() const { return mDownWidget; }
    [[nodiscard]] int GetDownButtons() const override { return mDownButtons; }
    [[nodiscard]] int GetLastMouseX() const override { return mLastMouseX; }
    [[nodiscard]] int GetLastMouseY() const override { return mLastMouseY; }

    // --- Modal stack -----------------------------------------------------------------------------------
    // Input reaches only the top base modal widget's top-level widget and those above it; the
    // modal widget gets the focus, which returns to the previous focus when it is removed.
    void AddBaseModal(Widget* widget) override;
    void RemoveBaseModal(Widget* widget) override;
    [[nodiscard]] Widget* GetBaseModal() const;
    // Whether the modal stack keeps input from the widget.
    [[nodiscard]] bool IsBlocked(const Widget* widget) const;

    // --- Frames ----------------------------------------------------------------------------------------
    bool UpdateFrame() override;
    bool UpdateFrameSmooth(float fraction) override;
    // Draws the whole tree and the deferred overlays when anything is dirty; false otherwise.
    bool DrawScreen() override;
    void SetScreenImage(Image* screen) override;
    [[nodiscard]] Image* GetScreenImage() const { return mScreenImage; }
    void DeferOverlay(Widget* widget, int priority);

    // --- What widgets call -----------------------------------------------------------------------------
    void NoteDirty();
    // Forgets every reference to the widget and its children (they left the tree).
    void WidgetRemoved(Widget* widget);
    [[nodiscard]] bool IsInTree(const Widget* widget) const;
    [[nodiscard]] QuollAppBase* GetApp() const { return mApp; }
    // The application's clipboard (UTF-8); empty and ignored without an application.
    [[nodiscard]] std::wstring GetClipboardText() const;
    void CopyToClipboard(const std::wstring& text) const;

private:
    struct ModalEntry
    {
        Widget* widget;
        Widget* previousFocus;
    };
    struct Overlay
    {
        Widget* widget;
        int priority;
    };
    // Counts the input, update and draw walks; pending deletions wait until none runs.
    class WalkScope
    {
    public:
        explicit WalkScope(WidgetManager& manager);
        ~WalkScope();
        WalkScope(const WalkScope&) = delete;
        WalkScope& operator=(const WalkScope&) = delete;

    private:
        WidgetManager& mManager;
    };

    [[nodiscard]] Widget* TopLevelOf(const Widget* widget) const;
    void SetOverWidget(Widget* widget);
    [[nodiscard]] Point RelativeToWidget(const Widget* widget) const;
    [[nodiscard]] Widget* KeyTarget() const;
    void UpdateTree(Widget* widget);
    void UpdateTreeSmooth(Widget* widget, float fraction);
    void DrawTree(Widget* widget, Graphics& g);
    void DrawOverlays();
    static void ClearDirty(WidgetContainer* node);
    void FlushDeletes();

    QuollAppBase* mApp;
    bool mKeyDown[kKeyCount] = {};
    int mDownButtons = 0;
    Widget* mDownWidget = nullptr;
    Widget* mOverWidget = nullptr;
    Widget* mFocusWidget = nullptr;
    int mLastMouseX = 0;
    int mLastMouseY = 0;
    bool mMouseIn = false;
    bool mHasFocus = true;
    Image* mScreenImage = nullptr;
    MouseRect mSource, mDestination;
    std::vector<ModalEntry> mModalStack;
    std::vector<Overlay> mOverlays;
    bool mAnyDirty = true;
    bool mChangedInWalk = false;
    int mWalkDepth = 0;
    std::vector<Widget*> mPendingDeletes;
};
} // namespace Quoll
