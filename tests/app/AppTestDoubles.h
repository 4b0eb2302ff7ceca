#pragma once
// Test doubles of the application's tests: a widget manager that logs the input it receives and
// the widgets it is asked to delete, a dialog with a preferred height, a test application that
// holds the logging manager, and running its loop on the current (fake) clock. Widgets are
// opaque tokens here: the application only passes their pointers on.
#include "TestApp.h"

#include "framework/app/AppDialog.h"
#include "framework/app/AppWidgetManager.h"
#include "framework/platform/system/Clock.h"

#include <string>
#include <vector>

namespace QuollTest
{
class RecordingWidgetManager final : public Quoll::AppWidgetManager
{
public:
    std::vector<std::string> log;
    std::vector<Quoll::Widget*> destroyed;
    std::vector<Quoll::Widget*> added;
    std::vector<Quoll::Widget*> modal;

    void KeyDown(int keyCode) override { mNull.KeyDown(keyCode); }
    void KeyUp(int keyCode) override { mNull.KeyUp(keyCode); }
    void KeyChar(wchar_t) override {}
    void MouseMove(int x, int y) override { mNull.MouseMove(x, y); }
    void MouseDown(int x, int y, int count) override
    {
        log.push_back("down " + std::to_string(count));
        mNull.MouseDown(x, y, count);
    }
    void MouseUp(int x, int y, int count) override
    {
        log.push_back("up " + std::to_string(count));
        mNull.MouseUp(x, y, count);
    }
    void MouseWheel(int) override {}
    void MouseExit() override {}
    void SetMouseRects(const Quoll::MouseRect& s, const Quoll::MouseRect& d) override { mNull.SetMouseRects(s, d); }
    void RemapMouse(int& x, int& y) const override { mNull.RemapMouse(x, y); }
    void GotFocus() override { log.push_back("got focus"); }
    void LostFocus() override
    {
        log.push_back("lost focus");
        mNull.LostFocus();
    }
    void ReleaseDownButtons() override
    {
        log.push_back("buttons released");
        mNull.ReleaseDownButtons();
    }
    [[nodiscard]] bool IsKeyDown(int keyCode) const override { return mNull.IsKeyDown(keyCode); }
    void ClearKeysDown() override { mNull.ClearKeysDown(); }
    bool UpdateFrame() override { return false; }
    bool UpdateFrameSmooth(float) override { return false; }
    bool DrawScreen() override { return dirty; }
    void SetScreenImage(Quoll::Image*) override {}
    void MarkAllDirty() override { ++markedAllDirty; }
    void SystemColoursChangedAll() override {}
    void AddWidget(Quoll::Widget* widget) override { added.push_back(widget); }
    void RemoveWidget(Quoll::Widget* widget) override { std::erase(added, widget); }
    void DestroyWidget(Quoll::Widget* widget) override { destroyed.push_back(widget); }
    void AddBaseModal(Quoll::Widget* widget) override { modal.push_back(widget); }
    void RemoveBaseModal(Quoll::Widget* widget) override { std::erase(modal, widget); }
    [[nodiscard]] int GetDownButtons() const override { return mNull.GetDownButtons(); }

    bool dirty = false; // what DrawScreen reports
    int markedAllDirty = 0;

private:
    Quoll::NullWidgetManager mNull;
};

// A token that stands for a widget; never dereferenced.
inline Quoll::Widget* WidgetToken(const void* address)
{
    return static_cast<Quoll::Widget*>(const_cast<void*>(address));
}

class FakeDialog final : public Quoll::AppDialog
{
public:
    FakeDialog(int id, bool modal, int preferredHeight = 300) : mId(id), mModal(modal), mPreferred(preferredHeight) {}

    [[nodiscard]] int GetDialogId() const override { return mId; }
    [[nodiscard]] bool IsModal() const override { return mModal; }
    [[nodiscard]] int GetWidth() const override { return width; }
    [[nodiscard]] int GetPreferredHeight(int) override { return mPreferred; }
    void Resize(int newX, int newY, int newWidth, int newHeight) override
    {
        x = newX;
        y = newY;
        width = newWidth;
        height = newHeight;
    }
    [[nodiscard]] int GetResult() const override { return result; }
    void SetResult(int value) override { result = value; }
    [[nodiscard]] Quoll::Widget* GetWidget() override { return WidgetToken(this); }

    int x = 0, y = 0, width = 0, height = 0;
    int result = -1;

private:
    int mId;
    bool mModal;
    int mPreferred;
};
// A test application whose widget manager logs.
class RecordingApp : public TestApp
{
public:
    RecordingApp()
    {
        auto manager = std::make_unique<RecordingWidgetManager>();
        widgets = manager.get();
        mWidgetManager = std::move(manager);
    }

    // Runs loop steps until the clock has moved by `ms` or the application shut down.
    void RunFor(uint32_t ms)
    {
        const uint32_t end = Quoll::Platform::TickCount() + ms;
        while (int32_t(Quoll::Platform::TickCount() - end) < 0 && !mShutdown)
            UpdateAppStep(nullptr);
    }

    RecordingWidgetManager* widgets = nullptr;
};
// A started application of type App on a fake clock, its queue empty and its timing reset.
template <typename App>
class StartedOnFakeClock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.Init();
        app.mDeferredMessages.clear();
        app.ResetFrameTiming();
    }

    Quoll::Platform::FakeClock clock{1'000'000'000};
    Quoll::Platform::ScopedClock scoped{clock};
    ScopedThrowingExit exits;
    App app;
};
} // namespace QuollTest
