// The game log: one line per statement, stamped with the logger's name, the filter ("*" or a
// list of names), the file recreated on open, wide text as UTF-8.
#include "game/shell/GameLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
} // namespace
