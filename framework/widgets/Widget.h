#pragma once
// A widget: a rectangular node of the tree with visibility, input and drawing slots. Positions
// are relative to the parent; mouse positions handed to a widget are relative to it; Draw gets
// a context translated to the widget and clipped to it. A widget owns its children: those
// still attached when it is destroyed are deleted with it.
#include "framework/display/Color.h"
#include "framework/widgets/Point.h"
#include "framework/widgets/WidgetContainer.h"

#include <string>
#include <vector>

namespace Quoll
{
class Graphics;

class Widget : public WidgetContainer
{
public:
    Widget() = default;
    ~Widget() override;

    // --- State slots ---------------------------------------------------------------------------
    virtual void SetVisible(bool visible);
    virtual void SetDisabled(bool disabled);
    virtual void SetColors(const std::vector<Color>& colors);
    // Stores a colour at the index, growing the list (new entries black).
    virtual void SetColor(int index, const Color& color);
    // Black for an index not in the list.
    [[nodiscard]] virtual const Color& GetColor(int index) const;
    // Places the widget in its parent and marks it dirty.
    virtual void Resize(int x, int y, int width, int height);
    void Resize(const Rect& rect) { Resize(rect.x, rect.y, rect.width, rect.height); }
    void Move(int x, int y) { Resize(x, y, mWidth, mHeight); }
    // The z priority among the siblings; the parent re-sorts.
    void SetZPriority(int priority);
    [[nodiscard]] int GetZPriority() const { return mZPriority; }
    // Whether a click on the widget gives it the keyboard focus.
    [[nodiscard]] virtual bool WantsFocus() { return false; }

    // --- Update and drawing ----------------------------------------------------------------------
    virtual void Update() {}
    virtual void UpdateF(float fraction) { (void)fraction; }
    virtual void Draw(Graphics* g) { (void)g; }
    // Drawn after the whole tree when asked for with DeferOverlay; the context is translated to
    // the widget and clipped to the screen.
    virtual void DrawOverlay(Graphics* g) { (void)g; }
    // Asks the manager to call DrawOverlay once after this frame's tree, in priority order.
    void DeferOverlay(int priority = 0);

    // --- Input -----------------------------------------------------------------------------------
    virtual void GotFocus() {}
    virtual void LostFocus() {}
    virtual void KeyChar(wchar_t character) { (void)character; }
    virtual void KeyDown(int keyCode) { (void)keyCode; }
    virtual void KeyUp(int keyCode) { (void)keyCode; }
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseMove(int x, int y);
    // The pointer moved while this widget holds mouse buttons down (it may be outside).
    virtual void MouseDrag(int x, int y);
    // The click-count form (1, 2 left; -1, -2 right; 3 middle) forwards to the button form
    // (0 left, 1 right, 2 middle); widgets override either.
    virtual void MouseDown(int x, int y, int clickCount);
    virtual void MouseDown(int x, int y, int button, int clickCount);
    virtual void MouseUp(int x, int y, int clickCount);
    virtual void MouseUp(int x, int y, int button, int clickCount);
    virtual void MouseWheel(int steps) { (void)steps; }

    // --- Helpers -----------------------------------------------------------------------------------
    // The position in the manager's (application) coordinates.
    [[nodiscard]] Point GetAbsolutePosition() const;
    // Whether a point in the widget's own coordinates lies inside it.
    [[nodiscard]] bool ContainsLocal(int x, int y) const { return x >= 0 && y >= 0 && x < mWidth && y < mHeight; }
    // Graphics::WriteString with colour escapes on.
    int WriteString(Graphics* g, const std::wstring& text, int x, int y, int width = -1, int justification = -1,
                    bool draw = true, int offset = 0, int length = -1);
    // 0 left, 1 right, 2 middle.
    static int ButtonOfClickCount(int clickCount);

    bool mVisible = true;
    // Without it the widget itself is skipped by the hit test; its children are not.
    bool mMouseVisible = true;
    // A disabled widget (and what it holds) takes no mouse input.
    bool mDisabled = false;
    bool mHasFocus = false;
    // True while the widget holds mouse buttons down.
    bool mIsDown = false;
    bool mIsOver = false;
    std::vector<Color> mColors;

private:
    int mZPriority = 0;
    friend class WidgetContainer;
};
} // namespace Quoll
