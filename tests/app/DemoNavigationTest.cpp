// The demo navigation dialogs: parsing a typed time, the marker list's lines, and the
// application's jump-to-time and marker commands with stand-in dialogs.
// Rerun one case: test_app --gtest_filter='DemoNavigation*'
#include "TestApp.h"

#include "framework/demo/DemoNavigation.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

TEST(DemoNavigation, TypedTimesCountInMinutesAndHours)
{
    EXPECT_EQ(ParseJumpTime(""), 0);
    EXPECT_EQ(ParseJumpTime("45"), 45);
    EXPECT_EQ(ParseJumpTime("1:30"), 90);
    EXPECT_EQ(ParseJumpTime("1:00:00"), 3600);
    EXPECT_EQ(ParseJumpTime("2:x"), 120) << "a piece that is no number reads as 0";
    EXPECT_EQ(ParseJumpTime(" 3:05s"), 185) << "leading integers, as the pieces were read";
    EXPECT_EQ(ParseJumpTime("99999999999999999999:99999999999999999999"), INT32_MAX) << "saturates";
}

TEST(DemoNavigation, JumpTargetIsTheTimePlusOneSecondBeforeTheEnd)
{
    const int length = 20000; // 200 s at 10 ms
    EXPECT_EQ(JumpToTimeTarget("", length, 10), length - 100);
    EXPECT_EQ(JumpToTimeTarget("1:30", length, 10), length - 9100);
    EXPECT_EQ(JumpToTimeTarget("1:00:00", length, 10), length - 360100);
    EXPECT_EQ(JumpToTimeTarget("1:30", length, 0), length - 91000) << "a frame time of 0 counts as 1 ms";
}

TEST(DemoNavigation, MarkerListShowsOnlyMarkersAheadWithTheTimeLeftAfterThem)
{
    const std::list<std::pair<std::string, int>> markers = {
        {"start", 10}, {"boss", 500}, {"now", 300}, {"end", 40100}, {"late", 99999}};
    const std::vector<DemoMarkerLine> lines = FutureMarkerLines(markers, 300, 400000, 10);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "boss (01:06:35)"); // (400000 - 500) * 10 ms = 3995 s
    EXPECT_EQ(lines[0].update, 500);
    EXPECT_EQ(lines[1].text, "end (00:59:59)");
    EXPECT_EQ(lines[2].text, "late (00:50:00)");
    EXPECT_TRUE(FutureMarkerLines(markers, 99999, 400000, 10).empty());
}

namespace
{
// Dialogs that answer as told and remember what they were shown.
class ScriptedDialogs : public AppDemoDialogs
{
public:
    int ChooseMarker(const std::vector<DemoMarkerLine>& lines) override
    {
        shownLines = lines;
        return markerAnswer;
    }
    bool AskJumpTime(std::string& text) override
    {
        shownTime = text;
        if (!typedTime)
            return false;
        text = *typedTime;
        return true;
    }

    int markerAnswer = -1;
    std::optional<std::string> typedTime;
    std::vector<DemoMarkerLine> shownLines;
    std::string shownTime = "(not shown)";
};

class DemoNavigationApp : public TestApp
{
public:
    explicit DemoNavigationApp(ScriptedDialogs*& dialogs)
    {
        auto owned = std::make_unique<ScriptedDialogs>();
        dialogs = owned.get();
        SetDemoDialogs(std::move(owned));
        mPlayingDemo = true;
        mDemo.mLength = 20000;
        mDemo.mMarkers = {{"early", 100}, {"middle", 9000}, {"late", 15000}};
        mUpdateCount = 5000;
    }
    bool Key(char32_t key) { return HandleDemoPlaybackKey(key); }
    std::optional<std::string> StoredJumpTime() { return Store().GetString("SOFTWARE\\" + mRegKey, "DemoJumpTime"); }
};
} // namespace

TEST(DemoNavigationApp, JumpToTimeShowsTheLastTypedTimeAndStoresTheNewOne)
{
    ScriptedDialogs* dialogs = nullptr;
    DemoNavigationApp app(dialogs);
    dialogs->typedTime = "1:30";
    EXPECT_TRUE(app.Key(U'j'));
    EXPECT_EQ(dialogs->shownTime, "");
    EXPECT_EQ(app.mFastForwardTarget, 20000 - 9100);
    ASSERT_TRUE(app.StoredJumpTime().has_value());
    EXPECT_EQ(app.StoredJumpTime()->c_str(), std::string("1:30")); // stored with its terminating zero

    dialogs->typedTime.reset(); // Cancel
    app.mFastForwardTarget = 0;
    EXPECT_TRUE(app.Key(U'J'));
    EXPECT_EQ(dialogs->shownTime, "1:30");
    EXPECT_EQ(app.mFastForwardTarget, 0) << "Cancel changes nothing";
}

TEST(DemoNavigationApp, MarkerListOffersMarkersAheadAndJumpsToTheChosenOne)
{
    ScriptedDialogs* dialogs = nullptr;
    DemoNavigationApp app(dialogs);
    dialogs->markerAnswer = 1;
    EXPECT_TRUE(app.Key(U'l'));
    ASSERT_EQ(dialogs->shownLines.size(), 2u);
    EXPECT_EQ(dialogs->shownLines[0].update, 9000);
    EXPECT_EQ(app.mFastForwardTarget, 15000);

    dialogs->markerAnswer = 7; // no such line: nothing happens
    app.mFastForwardTarget = 0;
    app.Key(U'L');
    EXPECT_EQ(app.mFastForwardTarget, 0);
}

TEST(DemoNavigationApp, WithoutDialogsTheKeysChangeNothing)
{
    ScriptedDialogs* dialogs = nullptr;
    DemoNavigationApp app(dialogs);
    app.SetDemoDialogs(nullptr);
    EXPECT_TRUE(app.Key(U'j'));
    EXPECT_TRUE(app.Key(U'l'));
    EXPECT_EQ(app.mFastForwardTarget, 0);
}
