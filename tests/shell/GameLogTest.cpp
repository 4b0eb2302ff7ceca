// The game log: one line per statement, stamped with the logger's name, the filter ("*" or a
// list of names), the file recreated on open, wide text as UTF-8; a held start that begins the
// file afresh, leaves it alone or tells an early failure (from the process that opened it only).
#include "game/shell/GameLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

class GameLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(QUOLL_TEST_HOME);
        mPath = fs::path(QUOLL_TEST_HOME) /
                (std::string("log_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
        ASSERT_TRUE(mLog.Open(mPath.string()));
    }
    void TearDown() override
    {
        mLog.Close();
        fs::remove(mPath);
    }
    std::string Text() const
    {
        std::ifstream in(mPath, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    GameLog mLog;
    fs::path mPath;
};

TEST_F(GameLogTest, AStatementIsOneLineWrittenWhenItEnds)
{
    Logger& error = mLog.GetLogger("ERROR");
    {
        LogRecord record(error);
        record << "Cannot open file: " << "a.txt" << ' ' << 42;
        EXPECT_EQ(Text(), "");
    }
    LogRecord(mLog.GetLogger("APP")) << L"Grüße " << 1.5;
    EXPECT_EQ(Text(), "[ERROR] Cannot open file: a.txt 42\n[APP] Grüße 1.5\n");
    EXPECT_EQ(&mLog.GetLogger("ERROR"), &error);
}

TEST_F(GameLogTest, TheFilterSelectsLoggersByNameOrAll)
{
    mLog.SetFilter("ERROR, WARNING");
    LogRecord(mLog.GetLogger("DEBUG")) << "dropped";
    LogRecord(mLog.GetLogger("WARNING")) << "kept";
    EXPECT_FALSE(mLog.GetLogger("APP").IsEnabled());
    mLog.SetFilter("*");
    LogRecord(mLog.GetLogger("DEBUG")) << "all";
    mLog.SetFilter("");
    LogRecord(mLog.GetLogger("ERROR")) << "none";
    EXPECT_EQ(Text(), "[WARNING] kept\n[DEBUG] all\n");
}

TEST_F(GameLogTest, OpeningAgainRecreatesTheFileAndLinesBeforeOpenAreDropped)
{
    LogRecord(mLog.GetLogger("APP")) << "first run";
    ASSERT_TRUE(mLog.Open(mPath.string()));
    LogRecord(mLog.GetLogger("APP")) << "second run";
    mLog.Close();
    LogRecord(mLog.GetLogger("APP")) << "closed";
    EXPECT_EQ(Text(), "[APP] second run\n");
    EXPECT_FALSE(mLog.Open((mPath / "no" / "such" / "folder.txt").string()));
}

// A start that holds its lines: the file keeps the running copy's lines until this copy runs.
TEST_F(GameLogTest, AHeldStartWritesNothingUntilItStartsAfreshWithItsLines)
{
    LogRecord(mLog.GetLogger("APP")) << "the running copy";
    GameLog second;
    ASSERT_TRUE(second.OpenHeld(mPath.string()));
    LogRecord(second.GetLogger("APP")) << "Game starting...";
    LogRecord(second.GetLogger("ERROR")) << "early";
    EXPECT_EQ(Text(), "[APP] the running copy\n");
    second.StartAfresh();
    EXPECT_EQ(Text(), "[APP] Game starting...\n[ERROR] early\n");
    LogRecord(second.GetLogger("APP")) << "inited";
    EXPECT_EQ(Text(), "[APP] Game starting...\n[ERROR] early\n[APP] inited\n");
    // Writes from now on go to the end of the file, wherever another writer left it: no gap.
    mLog.Close();
    std::filesystem::resize_file(mPath, 8);
    LogRecord(second.GetLogger("APP")) << "after";
    EXPECT_EQ(Text(), "[APP] Ga[APP] after\n");
}

// A copy that hands over leaves no trace: the running copy's file is as it was, its own writes too.
TEST_F(GameLogTest, AHeldStartThatHandsOverLeavesTheFileAsItWas)
{
    LogRecord(mLog.GetLogger("APP")) << "the running copy";
    {
        GameLog second;
        ASSERT_TRUE(second.OpenHeld(mPath.string()));
        LogRecord(second.GetLogger("APP")) << "Game starting...";
        second.Discard();
        LogRecord(second.GetLogger("APP")) << "dropped";
    }
    LogRecord(mLog.GetLogger("APP")) << "goes on";
    EXPECT_EQ(Text(), "[APP] the running copy\n[APP] goes on\n");
}

// A start that fails before it knows whether it runs still tells why, in a file of its own; a
// forked child that ends through the same exit code (a message box's) leaves the file alone.
TEST_F(GameLogTest, AHeldStartThatEndsEarlyWritesItsLinesAfresh)
{
    LogRecord(mLog.GetLogger("APP")) << "an earlier run";
    mLog.Close();
    {
        GameLog failed;
        ASSERT_TRUE(failed.OpenHeld(mPath.string()));
        LogRecord(failed.GetLogger("APP")) << "Game starting...";
        LogRecord(failed.GetLogger("ERROR")) << "No display";
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            failed.Close();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(Text(), "[APP] an earlier run\n");
    }
    EXPECT_EQ(Text(), "[APP] Game starting...\n[ERROR] No display\n");
    GameLog nowhere;
    EXPECT_FALSE(nowhere.OpenHeld((mPath / "no" / "such" / "folder.txt").string()));
}
} // namespace
