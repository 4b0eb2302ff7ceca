// Screen-saver mode's message filter: which input ends the screen saver, the first second's
// grace, and the swallowed system commands.
// Rerun one case: test_app --gtest_filter='ScreenSaverFilter.*'
#include "framework/app/ScreenSaverFilter.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace Quoll::Platform;
using Verdict = ScreenSaverFilter::Verdict;

namespace
{
ScreenSaverFilter::Context At(uint32_t ms, int x = 0, int y = 0, bool mainWindow = true)
{
    ScreenSaverFilter::Context context;
    context.msSinceStart = ms;
    context.cursorX = x;
    context.cursorY = y;
    context.forMainWindow = mainWindow;
    return context;
}

ScreenSaverFilter Started(int x = 10, int y = 10)
{
    ScreenSaverFilter filter;
    EXPECT_EQ(filter.Filter(WM_CREATE, 0, At(0, x, y)), Verdict::PassOn);
    return filter;
}
} // namespace

TEST(ScreenSaverFilter, ThreeMovesAreSwallowedAndTheFourthEnds)
{
    ScreenSaverFilter filter = Started();
    EXPECT_EQ(filter.Filter(WM_MOUSEMOVE, 0, At(5000, 10, 10)), Verdict::Swallow) << "no move: not counted";
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(filter.Filter(WM_MOUSEMOVE, 0, At(5000, 10 + i, 10)), Verdict::Swallow) << "move " << i;
    EXPECT_EQ(filter.MouseMoves(), 3);
    EXPECT_EQ(filter.Filter(WM_MOUSEMOVE, 0, At(5000, 20, 10)), Verdict::End);
    EXPECT_TRUE(filter.Closing());
    // Once closing, nothing more is filtered.
    EXPECT_EQ(filter.Filter(WM_KEYDOWN, 'A', At(5000)), Verdict::PassOn);
    EXPECT_EQ(filter.Filter(WM_SYSCOMMAND, SC_SCREENSAVE, At(5000)), Verdict::PassOn);
}

TEST(ScreenSaverFilter, KeysAndButtonsEndAtOnceEvenInTheFirstSecond)
{
    for (uint32_t message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
    {
        ScreenSaverFilter filter = Started();
        EXPECT_EQ(filter.Filter(message, 0, At(10)), Verdict::End) << message;
    }
}

TEST(ScreenSaverFilter, ActivationChangesClosesAndMovesWaitForTheFirstSecondToPass)
{
    ScreenSaverFilter filter = Started();
    for (uint32_t message : {WM_ACTIVATE, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_CLOSE})
        EXPECT_EQ(filter.Filter(message, 0, At(999)), Verdict::PassOn) << message;
    for (int i = 1; i <= 5; ++i)
        filter.Filter(WM_MOUSEMOVE, 0, At(500, 10 + i, 10));
    EXPECT_FALSE(filter.Closing()) << "moves in the first second never end it";
    EXPECT_EQ(filter.Filter(WM_ACTIVATEAPP, 1, At(5000)), Verdict::PassOn) << "gaining the activation";
    EXPECT_EQ(filter.Filter(WM_ACTIVATEAPP, 0, At(1000)), Verdict::End) << "losing it after the first second";
}

TEST(ScreenSaverFilter, SystemCommandsThatWouldLeaveAreSwallowed)
{
    ScreenSaverFilter filter = Started();
    for (WParam command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_CLOSE, SC_SCREENSAVE})
        EXPECT_EQ(filter.Filter(WM_SYSCOMMAND, command, At(5000)), Verdict::Swallow) << command;
    EXPECT_EQ(filter.Filter(WM_SYSCOMMAND, SC_MINIMIZE, At(5000)), Verdict::PassOn);
    EXPECT_EQ(filter.Filter(WM_TIMER, 0, At(5000)), Verdict::PassOn);
    EXPECT_FALSE(filter.Closing());
}

TEST(ScreenSaverFilter, InputForAnotherWindowDoesNotEndIt)
{
    ScreenSaverFilter filter = Started();
    EXPECT_EQ(filter.Filter(WM_KEYDOWN, 'A', At(5000, 0, 0, false)), Verdict::PassOn);
    EXPECT_FALSE(filter.Closing());
}
