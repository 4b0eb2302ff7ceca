// The error log: its line format, emptying on the first line of a run and appending after it,
// the data folder when the current folder cannot take the file, the screen-saver mode that
// logs message boxes instead of showing them, and the sink that copies each line into the
// program's own log, also when the file cannot be written.
// Rerun one case: test_app --gtest_filter='ErrorLog.*'
#include "TestApp.h"

#include "framework/core/Common.h"
#include "framework/app/ErrorLog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

using namespace Quoll;
using namespace QuollTest;

namespace
{
const std::regex kLine(R"(([^\n]*) ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9] [0-9]+\n)");

} // namespace

TEST(ErrorLog, LineFormat)
{
    EXPECT_EQ(ErrorLog::FormatLine("Demo file not found", 9, 5, 7, 4294967295u),
              "Demo file not found 09:05:07 4294967295\n");
    EXPECT_EQ(ErrorLog::FormatLine("", 23, 59, 0, 0), " 23:59:00 0\n");
    EXPECT_EQ(ErrorLog::FormatLine("100% sure", 0, 0, 0, 12), "100% sure 00:00:00 12\n");
}

TEST(ErrorLog, FirstLineOfARunEmptiesTheFileLaterLinesAppend)
{
    ScratchFolder folder("log");
    const std::filesystem::path file = folder.Path() / "ScrError.txt";
    std::ofstream(file) << "from the previous run\n";
    {
        ErrorLog log(file.string());
        log.Append("first");
        log.Append("second");
    }
    const std::string text = ReadFileText(file);
    std::smatch match;
    const std::string firstLine = text.substr(0, text.find('\n') + 1);
    ASSERT_TRUE(std::regex_match(firstLine, match, kLine)) << text;
    EXPECT_EQ(match[1], "first");
    EXPECT_EQ(text.find("previous"), std::string::npos);
    const std::string secondLine = text.substr(firstLine.size());
    ASSERT_TRUE(std::regex_match(secondLine, match, kLine)) << text;
    EXPECT_EQ(match[1], "second");

    ErrorLog nextRun(file.string());
    nextRun.Append("third");
    EXPECT_EQ(ReadFileText(file).find("first"), std::string::npos);
}

TEST(ErrorLog, GoesToTheDataFolderWhenTheCurrentFolderCannotTakeIt)
{
    ScratchFolder data("log");
    SetAppDataFolder(data.Path().string() + "/");
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path gone = data.Path() / "gone";
    std::filesystem::create_directories(gone);
    ASSERT_EQ(::chdir(gone.c_str()), 0);
    std::filesystem::remove(gone); // the current folder no longer exists: nothing can be made in it
    ErrorLog log;
    log.Append("nowhere else");
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_EQ(ReadFileText(data.Path() / "ScrError.txt").rfind("nowhere else ", 0), 0u);
}

TEST(ErrorLog, ScreenSaverLogsMessageBoxesInsteadOfShowingThem)
{
    TestApp app;
    app.Init();
    app.mIsScreenSaver = true;
    EXPECT_EQ(app.MsgBoxW(L"saver says hi", L"Title", Platform::MB_YESNO | Platform::MB_ICONQUESTION), Platform::IDOK);
    app.PopupW(L"saver fatal");
    EXPECT_TRUE(app.Headless().MessageBoxes().empty());
    const std::string text = ReadFileText("ScrError.txt");
    const size_t hi = text.find("saver says hi ");
    ASSERT_NE(hi, std::string::npos) << text;
    EXPECT_GT(text.find("saver fatal "), hi);
}

TEST(ErrorLog, EveryLineAlsoReachesTheSinkWithItsLevelAndDetail)
{
    static std::vector<std::pair<ErrorLogLevel, std::string>> sunk;
    sunk.clear();
    ScratchFolder folder("sink");
    ErrorLog log((folder / "ScrError.txt").string());
    EXPECT_EQ(log.SetSink([](ErrorLogLevel level, const std::string& text) { sunk.emplace_back(level, text); }),
              nullptr);
    log.Append("plain error");
    log.Append("no device", ErrorLogLevel::Warning, "the library's reason");
    ErrorLog unwritable((folder / "no-such-folder" / "ScrError.txt").string());
    unwritable.SetSink(log.SetSink(nullptr));
    unwritable.Append("lost from the file");
    log.Append("after the sink went");

    const std::vector<std::pair<ErrorLogLevel, std::string>> expected{
        {ErrorLogLevel::Error, "plain error"},
        {ErrorLogLevel::Warning, "no device (the library's reason)"},
        {ErrorLogLevel::Error, "lost from the file"}};
    EXPECT_EQ(sunk, expected);
    const std::string file = ReadFileText(folder / "ScrError.txt");
    EXPECT_EQ(file.find("the library's reason"), std::string::npos) << "the detail is the sink's only";
    EXPECT_NE(file.find("no device "), std::string::npos) << file;
    EXPECT_NE(file.find("after the sink went "), std::string::npos) << file;
}
