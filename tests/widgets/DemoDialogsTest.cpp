// The demo navigation dialogs made from widgets, run modally by a headless application: typed
// times with Enter and Escape, a double click on a marker line, a close that ends the dialog, and
// the jump through the application's playback key.
// Rerun one case: test_widgets --gtest_filter='DemoDialogs.*'
#include "tests/app/TestApp.h"
#include "WidgetTestSupport.h"

#include "framework/widgets/DemoDialogs.h"
#include "framework/widgets/WidgetToolkit.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace QuollTest;

namespace
{
class DialogsApp : public TestApp
{
public:
    DialogsApp()
    {
        mWidth = 640;
        mHeight = 480;
        mBitsPerPixel = 32;
        InstallWidgetToolkit(*this, &mFont);
    }
    void Post(uint32_t message, WParam wParam, LParam lParam = 0)
    {
        GetWindowSystem()->PostMessage(mMainWindow, message, wParam, lParam);
    }
    void Type(const std::string& text)
    {
        for (char c : text)
            Post(WM_CHAR, WParam(static_cast<unsigned char>(c)));
    }
    void Click(uint32_t message, int x, int y) { Post(message, 0, LParam(x | (y << 16))); }

    FakeFont mFont;
};

class DemoDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override { app.Init(); }

    ScopedThrowingExit exits;
    DialogsApp app;
    DemoDialogs dialogs{app, &app.mFont};
};
} // namespace

TEST_F(DemoDialogsTest, TypedTimeReplacesTheSelectedOneAndEnterAccepts)
{
    app.Type("1:30\r");
    std::string text = "9:99";
    ASSERT_TRUE(dialogs.AskJumpTime(text));
    EXPECT_EQ(text, "1:30");
}

TEST_F(DemoDialogsTest, EscapeCancelsAndKeepsTheText)
{
    app.Type("12");
    app.Post(WM_KEYDOWN, VK_ESCAPE);
    std::string text = "0:10";
    EXPECT_FALSE(dialogs.AskJumpTime(text));
    EXPECT_EQ(text, "0:10");
}

TEST_F(DemoDialogsTest, ClosingTheWindowEndsTheDialog)
{
    app.Post(WM_CLOSE, 0);
    std::string text;
    EXPECT_FALSE(dialogs.AskJumpTime(text));
    EXPECT_EQ(dialogs.ChooseMarker({{"a (00:00:01)", 5}}), -1);
}

TEST_F(DemoDialogsTest, DoubleClickOnAMarkerLineChoosesIt)
{
    // The dialog is centred (120, 40); its list starts 30 below its top and 12 in; lines are the
    // font's height plus 2 apart, from 2 pixels down.
    const int x = 120 + 12 + 40;
    const int secondLine = 40 + 30 + 2 + 12 + 6;
    app.Click(WM_LBUTTONDOWN, x, secondLine);
    app.Click(WM_LBUTTONUP, x, secondLine);
    app.Click(WM_LBUTTONDBLCLK, x, secondLine);
    app.Click(WM_LBUTTONUP, x, secondLine);
    const std::vector<DemoMarkerLine> lines = {{"one", 10}, {"two", 20}, {"three", 30}};
    EXPECT_EQ(dialogs.ChooseMarker(lines), 1);
}

TEST_F(DemoDialogsTest, PlaybackKeyJumpsThroughTheInstalledDialog)
{
    app.mPlayingDemo = true;
    app.mDemo.mLength = 20000;
    app.mUpdateCount = 100;
    app.Type("1:30\r");
    EXPECT_TRUE(app.HandleDemoPlaybackKey(U'j'));
    EXPECT_EQ(app.mFastForwardTarget, 20000 - 9100);
    app.mPlayingDemo = false;
}
