// The system commands the window system sends by itself: SC_MOVE when the user moves a window
// (not when the program does), and SC_SCREENSAVE once the desktop has been idle for its screen
// saver's timeout, asked once per idle stretch; a window that refuses it restarts the desktop's
// wait. The headless desktop's screen saver answers what the test sets, or nothing.
// Rerun one case: test_platform --gtest_filter='SystemCommands.*'
#include "HeadlessFixture.h"

#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

namespace Quoll::Platform::Testing
{
namespace
{
class SystemCommands : public HeadlessFixture
{
protected:
    std::vector<Message> ScreenSaves() const
    {
        std::vector<Message> out;
        for (const Message& message : Only(sReceived, {WM_SYSCOMMAND}))
            if (message.wParam == SC_SCREENSAVE)
                out.push_back(message);
        return out;
    }
    void Idle(uint32_t ms)
    {
        mClock.AdvanceMilliseconds(ms);
        Pump();
    }
    // A desktop whose screen saver starts after `timeoutMs` without input, the last input now.
    void SetSaver(uint32_t timeoutMs)
    {
        HeadlessWindowSystem::ScreenSaver saver;
        saver.settings = {timeoutMs, true};
        saver.lastInputTick = TickCount();
        mSystem.SetScreenSaver(saver);
    }

    // The procedure of a window that refuses the screen saver.
    static LResult Refuse(WindowId window, uint32_t message, WParam wParam, LParam lParam)
    {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_SCREENSAVE)
            return 0;
        return Record(window, message, wParam, lParam);
    }

    FakeClock mClock{5'000'000'000};
    ScopedClock mScoped{mClock};
};
} // namespace

TEST_F(SystemCommands, AUserMoveIsASystemMoveBeforeItsMoveMessage)
{
    InputEvent moved;
    moved.kind = InputKind::Moved;
    moved.window = mMain;
    moved.x = 300;
    moved.y = -20;
    mSystem.Feed(moved);
    Pump();
    const std::vector<Message> got = Only(sReceived, {WM_SYSCOMMAND, WM_MOVE});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_SYSCOMMAND);
    EXPECT_EQ(got[0].wParam, SC_MOVE);
    EXPECT_EQ(got[1].message, WM_MOVE);
    EXPECT_EQ(got[1].lParam, MakeLParam(300, -20));

    // The program's own move is reported, but is no system command.
    sReceived.clear();
    ASSERT_TRUE(mSystem.MoveWindow(mMain, 10, 12, 1024, 768));
    Pump();
    EXPECT_TRUE(Only(sReceived, {WM_SYSCOMMAND}).empty());
    EXPECT_EQ(Only(sReceived, {WM_MOVE}).size(), 1u);
}

TEST_F(SystemCommands, AnIdleDesktopOffersItsScreenSaverToTheActiveWindowOnce)
{
    // A desktop that cannot answer never offers it.
    Idle(3'600'000);
    EXPECT_TRUE(ScreenSaves().empty());

    SetSaver(5000);
    Idle(4000);
    EXPECT_TRUE(ScreenSaves().empty());
    Idle(1000);
    ASSERT_EQ(ScreenSaves().size(), 1u);
    EXPECT_EQ(ScreenSaves()[0].window, mMain);
    Idle(1000);
    Idle(1000);
    EXPECT_EQ(ScreenSaves().size(), 1u) << "once per idle stretch";
    EXPECT_EQ(mSystem.ScreenSaverResets(), 0) << "the default procedure lets it start";

    // Input starts a new stretch, which is offered again.
    HeadlessWindowSystem::ScreenSaver saver = *mSystem.GetScreenSaver();
    saver.lastInputTick = TickCount();
    mSystem.SetScreenSaver(saver);
    Idle(1000);
    Idle(5000);
    EXPECT_EQ(ScreenSaves().size(), 2u);
}

TEST_F(SystemCommands, ARefusedScreenSaverRestartsTheDesktopsWait)
{
    ASSERT_TRUE(mSystem.RegisterClass({"RefusingWindow", 0, &Refuse}));
    WindowCreateInfo info;
    info.className = "RefusingWindow";
    info.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    info.width = 320;
    info.height = 240;
    const WindowId refusing = mSystem.CreateWindowEx(info);
    Pump();
    ASSERT_EQ(mSystem.GetActiveWindow(), refusing);

    SetSaver(5000);
    Idle(5000);
    EXPECT_EQ(mSystem.ScreenSaverResets(), 1);
    EXPECT_EQ(mSystem.GetScreenSaver()->lastInputTick, TickCount());
    Idle(4000);
    EXPECT_EQ(mSystem.ScreenSaverResets(), 1);
    Idle(1000);
    EXPECT_EQ(mSystem.ScreenSaverResets(), 2) << "asked again after another timeout";
}
} // namespace Quoll::Platform::Testing
