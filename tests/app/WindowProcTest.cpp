// The window procedure and the queued messages on the headless window system: the queue's drop
// rules, click counts and the mouse capture, Alt+Enter with and without a forced mode (where
// the widgets get it), what losing the focus releases, and where the main window opens (under a
// window manager's frame, after round trips through full screen).
// Rerun one case: test_app --gtest_filter='WindowProc.*'
#include "AppTestDoubles.h"

#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace QuollTest;

namespace
{
class InputApp : public RecordingApp
{
public:
    LResult Send(uint32_t message, WParam wParam = 0, LParam lParam = 0)
    {
        return GetWindowSystem()->SendMessage(mMainWindow, message, wParam, lParam);
    }
    void HandleAll()
    {
        while (ProcessDeferredMessage())
        {
        }
    }
    std::vector<uint32_t> Queued() const
    {
        std::vector<uint32_t> messages;
        for (const DeferredMessage& m : mDeferredMessages)
            messages.push_back(m.message);
        return messages;
    }
};

struct StartedApp : ::testing::Test
{
    void SetUp() override { app.Init(); }
    ScopedThrowingExit exits;
    InputApp app;
};
} // namespace

TEST_F(StartedApp, QueueKeepsOneTimerOneColourChangeAndNothingAfterClose)
{
    app.mDeferredMessages.clear();
    app.Send(WM_TIMER, 100);
    app.Send(WM_TIMER, 100);
    app.Send(WM_KEYDOWN, 'A');
    app.Send(WM_TIMER, 100);
    app.Send(WM_TIMER, 100);
    app.Send(WM_SYSCOLORCHANGE);
    app.Send(WM_DISPLAYCHANGE);
    EXPECT_EQ(app.Queued(), (std::vector<uint32_t>{WM_TIMER, WM_KEYDOWN, WM_TIMER, WM_SYSCOLORCHANGE}));

    EXPECT_EQ(app.Send(WM_CLOSE), 0);
    app.Send(WM_KEYDOWN, 'B');
    app.Send(WM_TIMER, 100);
    EXPECT_EQ(app.Queued().back(), WM_CLOSE);
    EXPECT_EQ(app.Queued().size(), 5u);

    app.HandleAll();
    EXPECT_TRUE(app.mShutdown);
}

TEST_F(StartedApp, ClickCountsReachTheWidgetsAndTheCaptureGoesWithTheLastButton)
{
    const LParam at = MakeLParam(40, 30);
    app.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    app.Send(WM_RBUTTONDOWN, MK_RBUTTON, at);
    app.HandleAll();
    EXPECT_EQ(app.GetWindowSystem()->GetCapture(), app.mMainWindow);

    app.Send(WM_LBUTTONUP, 0, at);
    app.HandleAll();
    EXPECT_EQ(app.GetWindowSystem()->GetCapture(), app.mMainWindow) << "the right button is still held";
    app.Send(WM_RBUTTONUP, 0, at);
    app.HandleAll();
    EXPECT_EQ(app.GetWindowSystem()->GetCapture(), WindowId::None);

    app.widgets->log.clear();
    for (uint32_t message : {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN})
        app.Send(message, 0, at);
    app.HandleAll();
    EXPECT_EQ(app.widgets->log, (std::vector<std::string>{"down 2", "down -2", "down 3"}));
}

TEST_F(StartedApp, AltEnterSwitchesTheModeUnlessItWasForced)
{
    ASSERT_TRUE(app.mIsWindowed);
    app.Send(WM_SYSKEYDOWN, VK_RETURN);
    app.HandleAll();
    EXPECT_FALSE(app.mIsWindowed);
    EXPECT_FALSE(app.mIsPhysWindowed) << "the window is re-created full screen";

    app.Send(WM_SYSKEYDOWN, VK_RETURN);
    app.HandleAll();
    EXPECT_TRUE(app.mIsWindowed);
    EXPECT_TRUE(app.mIsPhysWindowed);

    EXPECT_FALSE(app.widgets->IsKeyDown(VK_RETURN)) << "the switch takes the key";

    // A forced mode makes it an ordinary key for the widgets.
    app.mForceWindowed = true;
    app.Send(WM_SYSKEYDOWN, VK_RETURN);
    app.HandleAll();
    EXPECT_TRUE(app.mIsWindowed);
    EXPECT_TRUE(app.widgets->IsKeyDown(VK_RETURN));
}

TEST_F(StartedApp, AltF4StillReachesTheSystemAndOtherAltKeysAreSwallowed)
{
    EXPECT_EQ(app.Send(WM_SYSCHAR, 'r'), 0);
    // Alt+F4 closes through the default procedure: a close is queued and ends the run.
    app.Send(WM_SYSKEYDOWN, VK_F4, LParam(1u << 29));
    app.HandleAll();
    EXPECT_TRUE(app.mShutdown);
}

TEST_F(StartedApp, CtrlAltDTurnsTheDebugKeysOnOnlyInADeveloperBuild)
{
    app.Send(WM_KEYDOWN, VK_CONTROL);
    app.Send(WM_SYSKEYDOWN, VK_MENU, LParam(1u << 29));
    app.Send(WM_SYSKEYDOWN, 'D', LParam(1u << 29));
    app.HandleAll();
    EXPECT_EQ(app.mDebugKeysEnabled, kDeveloperBuild);
}

TEST_F(StartedApp, LosingTheFocusReleasesHeldKeysButtonsAndCapture)
{
    app.Send(WM_ACTIVATEAPP, 1);
    app.HandleAll();
    ASSERT_TRUE(app.mHasFocus);
    app.Send(WM_KEYDOWN, 'A');
    app.Send(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    app.HandleAll();
    ASSERT_TRUE(app.widgets->IsKeyDown('A'));
    ASSERT_NE(app.widgets->GetDownButtons(), 0);

    app.widgets->log.clear();
    app.Send(WM_ACTIVATEAPP, 0);
    app.HandleAll();
    EXPECT_FALSE(app.mHasFocus);
    EXPECT_FALSE(app.widgets->IsKeyDown('A'));
    EXPECT_EQ(app.widgets->GetDownButtons(), 0);
    EXPECT_EQ(app.GetWindowSystem()->GetCapture(), WindowId::None);
    EXPECT_EQ(app.widgets->log, (std::vector<std::string>{"lost focus", "buttons released"}));
    EXPECT_TRUE(app.IsMuted());

    app.Send(WM_ACTIVATEAPP, 1);
    app.HandleAll();
    EXPECT_FALSE(app.IsMuted());
}

TEST_F(StartedApp, MinimisingMutesAndMaximisingGoesFullScreen)
{
    app.Send(WM_ACTIVATEAPP, 1);
    app.Send(WM_SIZE, SIZE_MINIMIZED);
    app.HandleAll();
    EXPECT_TRUE(app.mMinimized);
    EXPECT_TRUE(app.IsMuted());
    app.Send(WM_SIZE, SIZE_RESTORED);
    app.HandleAll();
    EXPECT_FALSE(app.IsMuted());
    app.Send(WM_SIZE, SIZE_MAXIMIZED);
    app.HandleAll();
    EXPECT_FALSE(app.mMinimized);
    EXPECT_FALSE(app.mIsWindowed);
}

TEST(WindowPlacement, ASavedPositionOffTheWorkAreaOpensFourPixelsInside)
{
    ScopedThrowingExit exits;
    for (auto [preferred, expected] : {std::pair{5000, std::pair{1920 - 4 - 640, 1040 - 4 - 480}},
                                       std::pair{-500, std::pair{4, 4}}})
    {
        InputApp app;
        app.mPreferredX = app.mPreferredY = preferred;
        app.Init();
        WindowRect rect;
        ASSERT_TRUE(app.GetWindowSystem()->GetWindowRect(app.mMainWindow, rect));
        EXPECT_EQ(rect.left, expected.first) << preferred;
        EXPECT_EQ(rect.top, expected.second) << preferred;
    }
}

namespace
{
// A window manager's frame: one pixel at the sides and the bottom, a 20-pixel title bar.
constexpr FrameExtents kManagerFrame{1, 20, 1, 1};

// Shows the main window as the main loop does and lets the window manager's answers arrive.
void ShowAndSettle(InputApp& app)
{
    app.GetWindowSystem()->ShowWindow(app.mMainWindow, SW_SHOW);
    Message message;
    while (app.GetWindowSystem()->PeekMessage(message))
    {
        app.GetWindowSystem()->TranslateMessage(message);
        app.GetWindowSystem()->DispatchMessage(message);
    }
    app.HandleAll();
}

WindowRect OuterRect(InputApp& app)
{
    WindowRect rect;
    EXPECT_TRUE(app.GetWindowSystem()->GetWindowRect(app.mMainWindow, rect));
    return rect;
}
} // namespace

TEST(WindowPlacement, RoundTripsThroughFullScreenLeaveTheFramedWindowWhereItWas)
{
    Platform::FakeClock clock{1'000'000};
    Platform::ScopedClock scoped{clock};
    ScopedThrowingExit exits;
    InputApp app;
    app.Headless().SetWindowFrame(kManagerFrame);
    app.mPreferredX = 100;
    app.mPreferredY = 200;
    app.Init();
    ShowAndSettle(app);
    const WindowRect first = OuterRect(app);
    EXPECT_EQ(first, (WindowRect{100, 200, 100 + 1 + 640 + 1, 200 + 20 + 480 + 1})) << "the frame where it was saved";

    for (int trip = 1; trip <= 3; ++trip)
    {
        app.SwitchWindowedMode(false);
        ShowAndSettle(app);
        app.SwitchWindowedMode(true);
        ShowAndSettle(app);
        EXPECT_EQ(OuterRect(app), first) << "round trip " << trip;
        EXPECT_EQ(app.mPreferredX, 100) << "round trip " << trip;
        EXPECT_EQ(app.mPreferredY, 200) << "round trip " << trip;
    }
    WindowRect client;
    ASSERT_TRUE(app.GetWindowSystem()->GetClientRect(app.mMainWindow, client));
    EXPECT_EQ(client, (WindowRect{0, 0, 640, 480}));
}

TEST(WindowPlacement, TheWholeFrameOfAWindowSavedOffTheWorkAreaOpensFourPixelsInside)
{
    Platform::FakeClock clock{1'000'000};
    Platform::ScopedClock scoped{clock};
    ScopedThrowingExit exits;
    InputApp app;
    app.Headless().SetWindowFrame(kManagerFrame);
    app.mPreferredX = app.mPreferredY = 5000;
    app.Init();
    ShowAndSettle(app);
    // The window manager tells its frame once it has decorated a window: the next one is
    // placed with it.
    app.SwitchWindowedMode(false);
    app.SwitchWindowedMode(true);
    ShowAndSettle(app);
    const WindowRect work = app.GetWindowSystem()->GetWorkArea();
    const WindowRect outer = OuterRect(app);
    EXPECT_EQ(outer.right, work.right - 4);
    EXPECT_EQ(outer.bottom, work.bottom - 4);
    EXPECT_EQ(outer.Height(), 20 + 480 + 1);
}

TEST(WindowPlacement, FullScreenCoversTheDesktopWhateverTheGameSize)
{
    ScopedThrowingExit exits;
    InputApp app;
    app.Init();
    app.SwitchWindowedMode(false);
    ASSERT_FALSE(app.mIsPhysWindowed);
    const ScreenInfo screen = app.GetWindowSystem()->GetScreenInfo();
    EXPECT_EQ(OuterRect(app), (WindowRect{0, 0, screen.width, screen.height}));
    app.SwitchWindowedMode(true);
    WindowRect client;
    ASSERT_TRUE(app.GetWindowSystem()->GetClientRect(app.mMainWindow, client));
    EXPECT_EQ(client, (WindowRect{0, 0, 640, 480}));
}

TEST_F(StartedApp, CursorsByNumberAndTheHandsMadeFromMasks)
{
    Platform::HeadlessWindowSystem& system = app.Headless();
    app.SetCursor(1);
    EXPECT_EQ(system.GetCursor(), system.LoadCursor(IDC_ARROW)) << "the pointer is not over the window";

    app.Send(WM_MOUSEMOVE, 0, MakeLParam(10, 10));
    app.HandleAll();
    ASSERT_TRUE(app.mMouseIn);
    EXPECT_EQ(system.GetCursor(), app.mHandCursor);
    const CursorPicture* hand = system.CursorPictureOf(app.mHandCursor);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->hotX, 11);
    EXPECT_EQ(hand->hotY, 4);
    EXPECT_EQ(hand->pixels[size_t(4 * hand->width + 11)], 0xFFFFFFFFu) << "white inside the fingertip";
    EXPECT_EQ(hand->pixels[0], 0u) << "transparent around the hand";

    app.SetCursor(2);
    const CursorPicture* open = system.CursorPictureOf(system.GetCursor());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->hotX, 15);
    EXPECT_EQ(open->hotY, 10);
    app.SetCursor(11);
    EXPECT_EQ(system.GetCursor(), CursorId::None);
    app.SetCursor(3);
    EXPECT_EQ(system.GetCursor(), system.LoadCursor(IDC_IBEAM));
}

TEST(UrlOpening, ASecondRequestIsNotOpenedAgainAndLeavingTheAppCountsAsOpened)
{
    Platform::FakeClock clock{1'000'000'000};
    Platform::ScopedClock scoped{clock};
    ScopedThrowingExit exits;
    InputApp app;
    app.Init();
    app.mRunning = true;
    app.mLastTimerTick = TickCount();
    EXPECT_TRUE(app.OpenURL("https://example.invalid/help", true));
    EXPECT_TRUE(app.OpenURL("https://example.invalid/help", true));
    EXPECT_EQ(app.Headless().OpenedUrls().size(), 1u);

    app.mActive = false; // the browser came to the front
    for (int tick = 0; tick < 100 && !app.mShutdown; ++tick)
    {
        clock.AdvanceMilliseconds(100);
        app.Send(WM_TIMER, 100);
        app.HandleAll();
    }
    EXPECT_FALSE(app.mIsOpeningURL);
    EXPECT_TRUE(app.mShutdown) << "the request asked to end the program once the page opened";
    EXPECT_GE(TickCount() - app.mOpeningURLTime, 8000u);
}
