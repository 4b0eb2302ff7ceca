#pragma once
// Helpers of the widget tests: a fixed-width font that draws every character as a block, a
// widget that logs what reaches it, listeners that log, and a manager with a screen image.
#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <memory>
#include <string>
#include <vector>

namespace QuollTest
{
// Characters 6 pixels apart, each a 5 x 8 block above the baseline (none for a space).
class FakeFont final : public Quoll::Font
{
public:
    static constexpr int kAdvance = 6;

    int GetHeight() const override { return 10; }
    int GetAscent() const override { return 8; }
    int GetAscentPadding() const override { return 0; }
    int GetLineSpacing() const override { return 10; }
    int StringWidth(const std::wstring& text) override { return kAdvance * static_cast<int>(text.size()); }
    int CharWidthKern(wchar_t, wchar_t) override { return kAdvance; }
    void DrawString(Quoll::Graphics* g, int x, int y, const std::wstring& text, const Quoll::Color& color,
                    const Quoll::Rect&) override
    {
        g->PushState();
        g->SetColor(color);
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] != L' ')
                g->FillRect(x + kAdvance * static_cast<int>(i), y - 8, 5, 8);
        g->PopState();
    }
    std::unique_ptr<Quoll::Font> Duplicate() const override { return std::make_unique<FakeFont>(*this); }
};

// Logs every call as text, with positions relative to the widget.
class LogWidget : public Quoll::Widget
{
public:
    explicit LogWidget(std::string name, std::vector<std::string>* log = nullptr) : mName(std::move(name)), mLog(log) {}

    void Note(const std::string& what)
    {
        if (mLog != nullptr)
            mLog->push_back(mName + " " + what);
    }
    static std::string At(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

    void MouseEnter() override { Note("enter"); }
    void MouseLeave() override { Note("leave"); }
    void MouseMove(int x, int y) override { Note("move " + At(x, y)); }
    void MouseDrag(int x, int y) override { Note("drag " + At(x, y)); }
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int x, int y, int button, int count) override
    {
        Note("down " + At(x, y) + " b" + std::to_string(button) + " c" + std::to_string(count));
    }
    void MouseUp(int x, int y, int button, int count) override
    {
        Note("up " + At(x, y) + " b" + std::to_string(button) + " c" + std::to_string(count));
    }
    void MouseWheel(int steps) override { Note("wheel " + std::to_string(steps)); }
    void KeyDown(int key) override { Note("keydown " + std::to_string(key)); }
    void KeyUp(int key) override { Note("keyup " + std::to_string(key)); }
    void KeyChar(wchar_t c) override { Note("char " + std::to_string(static_cast<int>(c))); }
    void GotFocus() override { Note("gotfocus"); }
    void LostFocus() override { Note("lostfocus"); }
    bool WantsFocus() override { return wantsFocus; }
    void Update() override { ++updates; }
    void Draw(Quoll::Graphics* g) override
    {
        Note("draw");
        if (fill.a != 0)
        {
            g->SetColor(fill);
            g->FillRect(-100, -100, 1000, 1000); // the context clips it to the widget
        }
        if (overlayPriority >= 0)
            DeferOverlay(overlayPriority);
    }
    void DrawOverlay(Quoll::Graphics*) override { Note("overlay"); }

    bool wantsFocus = false;
    int updates = 0;
    int overlayPriority = -1;
    Quoll::Color fill = Quoll::Color(0, 0, 0, 0);

private:
    std::string mName;
    std::vector<std::string>* mLog;
};

inline LogWidget* MakeWidget(const std::string& name, std::vector<std::string>* log, int x, int y, int w, int h)
{
    auto* widget = new LogWidget(name, log);
    widget->Resize(x, y, w, h);
    return widget;
}

// A manager of 200 x 100 over a screen image of that size; top-level widgets added through
// Add are deleted with the fixture.
class ManagerFixture
{
public:
    ManagerFixture() { SetScreenSize(200, 100); }
    // An opaque screen, as the display's is.
    void SetScreenSize(int width, int height)
    {
        screen.Create(width, height);
        std::vector<uint32_t> black(static_cast<size_t>(width * height), 0xFF000000u);
        screen.SetBits(black.data(), width, height);
        screen.SetImageMode(false, false);
        manager.SetScreenImage(&screen);
    }
    ~ManagerFixture()
    {
        for (Quoll::Widget* widget : owned)
            delete widget;
    }
    ManagerFixture(const ManagerFixture&) = delete;
    ManagerFixture& operator=(const ManagerFixture&) = delete;

    template <typename T> T* Add(T* widget)
    {
        owned.push_back(widget);
        manager.AddWidget(widget);
        return widget;
    }
    uint32_t Pixel(int x, int y) { return screen.GetBits()[y * screen.mWidth + x] & 0xFFFFFF; }

    Quoll::MemoryImage screen;
    Quoll::WidgetManager manager;
    std::vector<Quoll::Widget*> owned;
};
} // namespace QuollTest
