// The command line: splitting into option/value pairs (quotes, '=', spaces), joining separate
// arguments back, every option of the application and the fatal end of an unknown one, and
// the numbered demo files of -recnum and -playnum in the data folder.
// Rerun one case: test_app --gtest_filter='CommandLine.*'
#include "TestApp.h"

#include "framework/app/CommandLine.h"
#include "framework/core/Common.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Quoll;
using namespace QuollTest;

namespace
{
using Pairs = std::vector<CommandLineOption>;

// A data folder of its own, holding the numbered demos named.
class DemoFolder
{
public:
    explicit DemoFolder(std::initializer_list<int> numbers)
    {
        SetAppDataFolder(mFolder.Path().string() + "/");
        for (int n : numbers)
            std::ofstream(mFolder / Name(n)) << "demo";
    }
    bool Has(int n) const { return std::filesystem::exists(mFolder / Name(n)); }
    std::string Path(int n) const { return mFolder.Path().string() + "/" + Name(n); }

private:
    static std::string Name(int n) { return "quollapp" + std::to_string(n) + ".dmo"; }

    ScratchFolder mFolder{"demos"};
};
} // namespace

TEST(CommandLine, SplitsPairsOnSpacesAndEquals)
{
    EXPECT_EQ(SplitCommandLine("-play -demofile=a.dmo"), (Pairs{{"-play", ""}, {"-demofile", "a.dmo"}}));
    EXPECT_EQ(SplitCommandLine("  -record  "), (Pairs{{"-record", ""}}));
    EXPECT_EQ(SplitCommandLine(""), Pairs{});
    EXPECT_EQ(SplitCommandLine("=5"), Pairs{}); // no option: skipped
    EXPECT_EQ(SplitCommandLine("-recnum="), (Pairs{{"-recnum", ""}}));
    EXPECT_EQ(SplitCommandLine("-a=b=c"), (Pairs{{"-a", "bc"}})); // a second '=' only stays in value mode
}

TEST(CommandLine, QuotedValueKeepsSpacesAndEquals)
{
    EXPECT_EQ(SplitCommandLine("-changedir=\"my games/a=b\" -play"),
              (Pairs{{"-changedir", "my games/a=b"}, {"-play", ""}}));
    EXPECT_EQ(SplitCommandLine("\"-demofile\"=x"), (Pairs{{"-demofile", "x"}}));
    // An unclosed quote runs to the end of the text.
    EXPECT_EQ(SplitCommandLine("-demofile=\"a b"), (Pairs{{"-demofile", "a b"}}));
}

TEST(CommandLine, JoinedArgumentsSplitBackToThemselves)
{
    const std::vector<std::string> arguments = {"-play", "-demofile=my demo.dmo", "-changedir=/tmp/a b", "-x y"};
    const Pairs pairs = SplitCommandLine(JoinCommandLineArguments(arguments));
    EXPECT_EQ(pairs, (Pairs{{"-play", ""}, {"-demofile", "my demo.dmo"}, {"-changedir", "/tmp/a b"}, {"-x y", ""}}));
}

TEST(CommandLine, PlayRecordAndTheLaterOptionWins)
{
    TestApp app;
    app.ParseCommandLineString("-play");
    EXPECT_TRUE(app.mPlayingDemo);
    EXPECT_FALSE(app.mRecordingDemo);
    app.ParseCommandLineString("-play -record");
    EXPECT_TRUE(app.mRecordingDemo);
    EXPECT_FALSE(app.mPlayingDemo);
}

TEST(CommandLine, DemoFileIsPutInTheDataFolderUnlessAbsolute)
{
    DemoFolder folder({});
    TestApp app;
    app.ParseCommandLineString("-demofile=run.dmo");
    EXPECT_EQ(app.mDemoFileName, GetAppDataFolder() + "run.dmo");
    app.ParseCommandLineString("-demofile=/var/tmp/run.dmo");
    EXPECT_EQ(app.mDemoFileName, "/var/tmp/run.dmo");
    app.ParseCommandLineString("-demofile=C:run.dmo");
    EXPECT_EQ(app.mDemoFileName, "C:run.dmo");
}

TEST(CommandLine, RecnumDeletesTheOldestAndRecordsTheNextNumber)
{
    DemoFolder folder({1, 2, 3});
    TestApp app;
    app.ParseCommandLineString("-recnum=3");
    EXPECT_TRUE(app.mRecordingDemo);
    EXPECT_FALSE(app.mPlayingDemo);
    EXPECT_EQ(app.mDemoFileName, folder.Path(4));
    EXPECT_FALSE(folder.Has(1));
    EXPECT_TRUE(folder.Has(2));
    EXPECT_TRUE(folder.Has(3));
}

TEST(CommandLine, RecnumWithoutDemosRecordsNumberOneAndKeepsFiveByDefault)
{
    {
        DemoFolder empty({});
        TestApp app;
        app.ParseCommandLineString("-recnum");
        EXPECT_EQ(app.mDemoFileName, empty.Path(1));
    }
    DemoFolder four({1, 2, 3, 4});
    TestApp app;
    app.ParseCommandLineString("-recnum");
    EXPECT_EQ(app.mDemoFileName, four.Path(5));
    EXPECT_TRUE(four.Has(1)); // four demos are fewer than the five kept
}

TEST(CommandLine, PlaynumCountsBackFromTheNewest)
{
    DemoFolder folder({4, 5, 6});
    TestApp app;
    app.ParseCommandLineString("-playnum=1");
    EXPECT_TRUE(app.mPlayingDemo);
    EXPECT_FALSE(app.mRecordingDemo);
    EXPECT_EQ(app.mDemoFileName, folder.Path(6));
    app.ParseCommandLineString("-playnum=2");
    EXPECT_EQ(app.mDemoFileName, folder.Path(5));
    app.ParseCommandLineString("-playnum=0");
    EXPECT_EQ(app.mDemoFileName, folder.Path(6));
    EXPECT_TRUE(folder.Has(4)); // playing never deletes
}

TEST(CommandLine, ScreenSaverAndChangeDir)
{
    TestApp app;
    app.ParseCommandLineString("-screensaver -changedir=\"/opt/my game\"");
    EXPECT_TRUE(app.mIsScreenSaver);
    EXPECT_EQ(app.mWorkingFolder, "/opt/my game");
}

TEST(CommandLine, UnknownOptionShowsTheFatalPopupAndExitsWithOne)
{
    ScopedThrowingExit exit;
    TestApp app;
    app.Init();
    try
    {
        app.ParseCommandLineString("-play -PLAY");
        FAIL() << "an unknown option was accepted";
    }
    catch (const ExitCalled& called)
    {
        EXPECT_EQ(called.code, 1) << "a failed start is no success";
    }
    EXPECT_TRUE(app.mPlayingDemo); // options before it took effect
    const auto& boxes = app.Headless().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "FATAL ERROR");
    EXPECT_EQ(boxes[0].text, "Invalid command line parameter: -PLAY");
}
