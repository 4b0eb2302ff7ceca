// The crash report's text and helpers (header lines, module lines, stack, registers, map-file
// annotation, the application's part on the pipe), module look-up in this very program, and
// the reporter program end to end: record in, "crash.txt" out, its windows driven by a scripted
// user (the upload arriving at a loopback server, Retry and Cancel, Close Now), and the ways it
// ends without anyone: no one to answer, SIGTERM and SIGINT.
// Rerun one case: test_app --gtest_filter='CrashReport*.Reporter*'
#include "framework/crash/CrashCatcher.h"
#include "framework/crash/CrashReport.h"
#include "framework/crash/CrashReporter.h"
#include "framework/crash/MapFile.h"
#include "framework/platform/system/CrashRecord.h"
#include "framework/platform/system/ModuleMap.h"
#include "tests/app/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

using Quoll::CrashReport;
using Quoll::Platform::CrashRecord;
using Quoll::Platform::ModuleAddress;
namespace CrashCatcher = Quoll::CrashCatcher;

namespace
{
CrashRecord SampleRecord(uint64_t address)
{
    CrashRecord record;
    record.exceptionCode = 0xC0000005;
    record.address = address;
    record.threadId = 0x1F;
    record.processId = ::getpid();
    record.frameCount = 2;
    record.frames[0] = address;
    record.frames[1] = 0x2000;
    return record;
}

// Knows two addresses: one in a named function, one only by section and offset.
std::optional<ModuleAddress> FakeModules(uint64_t address)
{
    if (address == 0x1000)
        return ModuleAddress{"/opt/game/petriglow", 1, 0x10, "Board::Move(int)", 0x24};
    if (address == 0x2000)
        return ModuleAddress{"/usr/lib/libfoo.so", 12, 0x345, "", 0};
    return std::nullopt;
}
} // namespace

// --- Helpers ------------------------------------------------------------------------------

TEST(CrashReportHelpers, ParseHexAndFileNamePart)
{
    uint32_t value = 99;
    EXPECT_TRUE(CrashCatcher::ParseHex("", value));
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(CrashCatcher::ParseHex("00aF", value));
    EXPECT_EQ(value, 0xAFu);
    EXPECT_FALSE(CrashCatcher::ParseHex("12g4", value));
    EXPECT_FALSE(CrashCatcher::ParseHex(" 1", value));
    EXPECT_EQ(CrashCatcher::GetFileNamePart("C:\\games/x\\petri.exe"), "petri.exe");
    EXPECT_EQ(CrashCatcher::GetFileNamePart("/usr/lib/libc.so.6"), "libc.so.6");
    EXPECT_EQ(CrashCatcher::GetFileNamePart("plain"), "plain");
}

TEST(CrashReportHelpers, SignalsMapToExceptionCodes)
{
    EXPECT_EQ(CrashCatcher::ExceptionCodeOfSignal(SIGSEGV, SEGV_MAPERR, false), 0xC0000005u);
    EXPECT_EQ(CrashCatcher::ExceptionCodeOfSignal(SIGFPE, FPE_INTDIV, false), 0xC0000094u);
    EXPECT_EQ(CrashCatcher::ExceptionCodeOfSignal(SIGFPE, FPE_FLTDIV, false), 0xC000008Eu);
    EXPECT_EQ(CrashCatcher::ExceptionCodeOfSignal(SIGBUS, BUS_ADRALN, false), 0x80000002u);
    EXPECT_EQ(CrashCatcher::ExceptionCodeOfSignal(SIGILL, ILL_ILLOPC, false), 0xC000001Du);
    EXPECT_EQ(CrashCatcher::ExceptionCodeOfSignal(SIGTRAP, TRAP_BRKPT, false), 0x80000003u);
    EXPECT_EQ(CrashCatcher::ExceptionCodeOfSignal(SIGABRT, SI_TKILL, true), 0xE06D7363u);
    EXPECT_STREQ(CrashCatcher::ExceptionName(0xC0000094), "Integer Divide by Zero");
    EXPECT_EQ(CrashCatcher::ExceptionName(0xE06D7363), nullptr);
}

// --- Report text ---------------------------------------------------------------------------

TEST(CrashReportText, HeaderLineNamesKnownCodesOnly)
{
    CrashRecord record = SampleRecord(0x1234);
    EXPECT_EQ(CrashReport::HeaderLine(record),
              "Exception: Access Violation (code 0xc0000005) at address 00001234 in thread 1F\r\n");
    record.exceptionCode = 0xE06D7363;
    EXPECT_EQ(CrashReport::HeaderLine(record), "Unknown exception: (code 0xe06d7363) at address 00001234 in thread 1F\r\n");
}

TEST(CrashReportText, ReportInOrderWithApplicationPart)
{
    Quoll::CrashAppInfo application;
    application.crashInfo = "Product: Petri\r\n";
    CrashReport::Text text = CrashReport::Build(SampleRecord(0x1000), FakeModules, "Linux Ver: 6\r\n", &application);
    EXPECT_EQ(text.title, "Exception at 0001:00000010");
    EXPECT_EQ(text.report, "Exception: Access Violation (code 0xc0000005) at address 00001000 in thread 1F\r\n"
                           "Module: petriglow\r\n"
                           "Logical Address: 0001:00000010\r\n\r\n"
                           "0000000000001000 Board::Move(int)+24\r\n"
                           "0000000000002000 000C:00000345 libfoo.so\r\n\r\n"
                           "\r\n"
                           "Linux Ver: 6\r\n"
                           "\r\nProduct: Petri\r\n");
    CrashReport::Text unknown = CrashReport::Build(SampleRecord(0x9999), FakeModules, "", nullptr);
    EXPECT_EQ(unknown.title, "Exception at 0000:00000000");
}

#if defined(__x86_64__)
TEST(CrashReportText, RegistersSixALineThenPointersSegmentsAndFlags)
{
    CrashRecord record;
    record.registerCount = 21;
    for (uint32_t i = 0; i < record.registerCount; ++i)
        record.registers[i] = i;
    std::string text = CrashReport::Registers(record);
    EXPECT_NE(text.find("RAX:0000000000000000 RBX:0000000000000001"), std::string::npos);
    EXPECT_NE(text.find("RDI:0000000000000005\r\nR8:0000000000000006"), std::string::npos);
    EXPECT_NE(text.find("\r\nRIP:000000000000000E RSP:000000000000000F  RBP:0000000000000010\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("CS:0012 FS:0013 GS:0014\r\nFlags:00000011\r\n")) << text;
}
#endif

// --- Map file --------------------------------------------------------------------------------

TEST(CrashReportMapFile, AnnotatesAddressesWithSymbolsAndLines)
{
    std::string map = " 0001:00000000       _start                     00401000 f   start.obj\n"
                      " 0001:00000100       ?Move@Board@@QAEXH@Z       00401100 f   board.obj\r\n"
                      " 0002:00000000       _gData                     00402000     data.obj\n"
                      "Line numbers for board.obj(board.cpp) segment .text\n"
                      "    42 0001:00000100    43 0001:00000108    44 0001:00000110    45 0001:00000120\n";
    Quoll::MapFile file;
    file.Parse(map);
    std::string report = "Logical Address: 0001:00000112\r\n"
                         "X 0001:00000100 Y\r\n"
                         "Z 0003:00000010 none of section 3\r\n"
                         "RIP:0000000000001234 Flags:00000202\r\n";
    EXPECT_EQ(file.Annotate(report), "Logical Address: ?Move@Board@@QAEXH@Z+0x12\r\n    board.cpp line 44 +0x2\r\n"
                                     "X ?Move@Board@@QAEXH@Z\r\n    board.cpp line 42 +0x0 Y\r\n"
                                     "Z 0003:00000010 none of section 3\r\n"
                                     "RIP:0000000000001234 Flags:00000202\r\n");
}

TEST(CrashReportMapFile, NoMapFileLeavesTheReportAlone)
{
    EXPECT_EQ(Quoll::MapFile::AnnotateWithFolderMap("A 0001:00000010\r\n", "/nonexistent-folder"), "A 0001:00000010\r\n");
}

// --- Application part and modules -------------------------------------------------------------

TEST(CrashReportSource, ApplicationPartSurvivesThePipeWhole)
{
    Quoll::CrashAppInfo info;
    info.product = "Petri";
    info.version = "1.0";
    info.crashInfo = std::string("a\0b", 3);
    info.fields = {{"level", "3"}, {"mode", "easy"}};
    info.attachmentPath = "/tmp/x.dmo";
    info.attach = true;
    std::string bytes = info.Serialize();
    Quoll::CrashAppInfo back;
    ASSERT_TRUE(back.Deserialize(bytes));
    EXPECT_EQ(back.crashInfo, info.crashInfo);
    EXPECT_EQ(back.fields, info.fields);
    EXPECT_TRUE(back.attach);
    EXPECT_FALSE(back.Deserialize(bytes.substr(0, bytes.size() - 1))) << "a part cut short is refused";
}

__attribute__((noinline)) int ModuleLookupTarget(int x) { return x * 3 + 1; }

TEST(CrashReportModules, AddressInThisProgramHasSectionAndSymbol)
{
    Quoll::Platform::ModuleMap modules;
    ASSERT_TRUE(modules.Load(::getpid()));
    auto address = reinterpret_cast<uint64_t>(&ModuleLookupTarget) + 2;
    std::optional<ModuleAddress> found = modules.Resolve(address);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->path, std::filesystem::canonical("/proc/self/exe").string());
    EXPECT_GT(found->section, 0u);
    EXPECT_EQ(found->symbol, "ModuleLookupTarget(int)");
    EXPECT_EQ(found->displacement, 2u);
    EXPECT_FALSE(modules.Resolve(0x10));
}

TEST(CrashReportModules, DamagedModuleFilesAreRefused)
{
    std::ifstream in("/proc/self/exe", std::ios::binary);
    std::vector<uint8_t> head(4096);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    Quoll::Platform::ElfImage image;
    EXPECT_FALSE(image.Parse(std::span(head).first(40))) << "header cut short";
    EXPECT_FALSE(image.Parse(head)) << "section table beyond the end";
    std::vector<uint8_t> garbage(4096, 0xA5);
    EXPECT_FALSE(image.Parse(garbage));
    uint32_t index = 0;
    uint64_t offset = 0;
    EXPECT_FALSE(image.FindSection(0x1000, index, offset));
}

// --- The reporter program ---------------------------------------------------------------------

namespace
{
// Clicks in the window with the focus, client coordinates: the crash window's and the details
// window's left button (Send Report, Continue) and right button (Close Now, Abort).
constexpr const char* kClickLeftButton = "mouse move 100 280\nmouse down left 100 280\nmouse up left 100 280\n";
constexpr const char* kClickRightButton = "mouse move 300 280\nmouse down left 300 280\nmouse up left 300 280\n";
// A step far away: someone stays at the desktop that long.
constexpr const char* kStayAWhile = "at 60000\nexpose\n";

class ReporterRun : public ::testing::Test
{
protected:
    // Variables to set, or (no value) to remove.
    using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;

    void SetUp() override
    {
        mFolder = std::filesystem::temp_directory_path() /
                  ("crashreporter_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    // Starts the reporter in the folder with the headless script (its log goes to reporter.log)
    // and sends it the record and the application part.
    pid_t StartReporter(const std::string& script, const std::string& submitHost, const CrashRecord& record,
                        const std::string& applicationPart, const Environment& environment = {},
                        bool currentFolderGone = false)
    {
        std::string scriptPath = (mFolder / "input.script").string();
        std::ofstream(scriptPath) << script;
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        std::string program = QUOLL_CRASH_REPORTER, fd = std::to_string(fds[0]), folder = mFolder.string();
        std::string log = (mFolder / "reporter.log").string();
        pid_t child = ::fork();
        if (child == 0)
        {
            ::close(fds[1]);
            int logFd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (logFd < 0 || ::dup2(logFd, 2) < 0 || ::chdir(folder.c_str()) != 0)
                ::_exit(126);
            // A current folder that no longer exists: nothing can be made in it.
            const std::string gone = folder + "/gone";
            if (currentFolderGone && (::mkdir(gone.c_str(), 0755) != 0 || ::chdir(gone.c_str()) != 0 ||
                                      ::rmdir(gone.c_str()) != 0))
                ::_exit(126);
            ::setenv(Quoll::CrashReporter::kScriptVariable, scriptPath.c_str(), 1);
            for (const auto& [name, value] : environment)
                value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
            ::execl(program.c_str(), program.c_str(), CrashCatcher::kReporterOption, fd.c_str(), submitHost.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[0]);
        EXPECT_EQ(::write(fds[1], &record, sizeof(record)), static_cast<ssize_t>(sizeof(record)));
        EXPECT_EQ(::write(fds[1], applicationPart.data(), applicationPart.size()),
                  static_cast<ssize_t>(applicationPart.size()));
        ::close(fds[1]);
        return child;
    }
    // The reporter's wait status; it is killed (and the test fails) after two minutes.
    int WaitForReporter(pid_t child)
    {
        int status = 0;
        for (int tries = 0; tries < 1200; ++tries)
        {
            if (::waitpid(child, &status, WNOHANG) == child)
                return status;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ADD_FAILURE() << "the reporter did not end";
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return status;
    }
    // The exit code; -1 when the reporter ended otherwise.
    int RunReporter(const std::string& script, const std::string& submitHost, const CrashRecord& record,
                    const std::string& applicationPart, const Environment& environment = {},
                    bool currentFolderGone = false)
    {
        int status = WaitForReporter(
            StartReporter(script, submitHost, record, applicationPart, environment, currentFolderGone));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Waits until the reporter's log holds the text (at most a minute).
    bool WaitForLog(const std::string& text)
    {
        for (int tries = 0; tries < 600; ++tries)
        {
            if (ReadFile("reporter.log").find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    std::string ReadFile(const std::string& name)
    {
        std::ifstream in(mFolder / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Logged(const std::string& text) { return ReadFile("reporter.log").find(text) != std::string::npos; }

    std::filesystem::path mFolder;
};

Quoll::CrashAppInfo PetriApplication()
{
    Quoll::CrashAppInfo application;
    application.product = "Petri";
    application.version = "1.2";
    application.crashInfo = "Product: Petri\r\n";
    return application;
}
} // namespace

TEST_F(ReporterRun, ReporterWritesCrashFileAndUploadsWhatTheUserTyped)
{
    QuollTest::LoopbackHttpServer server(QuollTest::LoopbackHttpServer::Behaviour::Respond,
                                         "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    std::string demo("DMO\0\x01\xfe", 6);
    std::ofstream(mFolder / "last.dmo", std::ios::binary) << demo;
    Quoll::CrashAppInfo application = PetriApplication();
    application.fields = {{"level", "7"}};
    application.attachmentPath = (mFolder / "last.dmo").string();
    application.attach = true;
    // Send Report; a while later, once the details window stands, the user's words and Continue.
    int code = RunReporter(std::string(kClickLeftButton) + "at 4000\ntext Clicked the board\n" + kClickLeftButton,
                           server.HostAndPort(), SampleRecord(reinterpret_cast<uint64_t>(&ModuleLookupTarget)),
                           application.Serialize());
    EXPECT_EQ(code, 0);

    std::string crash = ReadFile("crash.txt");
    EXPECT_TRUE(crash.starts_with("Exception: Access Violation (code 0xc0000005) at address ")) << crash;
    EXPECT_NE(crash.find("ModuleLookupTarget(int)+0"), std::string::npos) << crash;
    EXPECT_TRUE(crash.ends_with("\r\nProduct: Petri\r\n\n"));

    std::string log = ReadFile("reporter.log");
    EXPECT_NE(log.find("\"Fatal Error!\" shown at 64,64, 400 x 300"), std::string::npos) << log;
    EXPECT_NE(log.find("\"Error Details\" shown at 80,80, 400 x 300"), std::string::npos) << log;
    EXPECT_NE(log.find("\"Submitting Report\" shown at 64,64, 240 x 64"), std::string::npos) << log;
    std::string request = server.Request();
    EXPECT_TRUE(request.starts_with("POST /gilded_error.php HTTP/1.1\r\n"));
    EXPECT_NE(request.find("Host: " + server.HostAndPort() + "\r\n"), std::string::npos);
    EXPECT_NE(request.find("name=\"level\"\r\n\r\n7\r\n"), std::string::npos);
    EXPECT_NE(request.find("name=\"prod\"\r\n\r\nPetri\r\n"), std::string::npos);
    EXPECT_NE(request.find("name=\"usertext\"\r\n\r\nClicked the board\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("name=\"errortitle\"\r\n\r\nException at "), std::string::npos);
    EXPECT_NE(request.find("filename=\"brightmoor.dmo\"\r\nContent-Type: application/octet-stream\r\n\r\n" + demo +
                           "\r\n"),
              std::string::npos);
}

TEST_F(ReporterRun, FailedUploadOffersRetryUntilCancelled)
{
    std::string host = "127.0.0.1:" + std::to_string(QuollTest::UnusedLoopbackPort());
    int code = RunReporter(std::string(kClickLeftButton) + "at 4000\ntext x\n" + kClickLeftButton +
                               "msgbox IDRETRY\nmsgbox IDCANCEL\n" + kStayAWhile,
                           host, SampleRecord(0x10), PetriApplication().Serialize());
    EXPECT_EQ(code, 0);
    std::string log = ReadFile("reporter.log");
    EXPECT_NE(log.find("\"Connection Failed\": \"Failed to connect to server.\" -> 4"), std::string::npos) << log;
    EXPECT_NE(log.find("\"Connection Failed\": \"Failed to connect to server.\" -> 2"), std::string::npos) << log;
}

TEST_F(ReporterRun, CloseNowEndsTheReporter)
{
    EXPECT_EQ(RunReporter(std::string(kClickRightButton) + kStayAWhile, "", SampleRecord(0x10),
                          PetriApplication().Serialize()),
              0);
    EXPECT_FALSE(Logged("no one is left to answer")) << ReadFile("reporter.log");
    EXPECT_TRUE(ReadFile("crash.txt").starts_with("Exception: Access Violation"));
}

TEST_F(ReporterRun, WithoutApplicationPartSendReportIsDisabled)
{
    // A Send Report that worked would open the details window.
    EXPECT_EQ(RunReporter(kClickLeftButton, "127.0.0.1:9", SampleRecord(0x10), ""), 0);
    EXPECT_TRUE(Logged("\"Fatal Error!\" shown")) << ReadFile("reporter.log");
    EXPECT_FALSE(Logged("Error Details")) << ReadFile("reporter.log");
    EXPECT_TRUE(ReadFile("crash.txt").starts_with("Exception: Access Violation"));
}

TEST_F(ReporterRun, WhereNoOneCanAnswerTheReportIsWrittenAndTheReporterEnds)
{
    // Told by the environment, with a script that would keep the windows a minute.
    EXPECT_EQ(RunReporter(kStayAWhile, "", SampleRecord(0x10), PetriApplication().Serialize(),
                          {{Quoll::CrashReporter::kUnattendedVariable, "1"}}),
              0);
    EXPECT_TRUE(Logged("no one can answer")) << ReadFile("reporter.log");
    EXPECT_FALSE(Logged("shown")) << ReadFile("reporter.log");
    EXPECT_TRUE(ReadFile("crash.txt").starts_with("Exception: Access Violation"));
    // SDL's driver that shows nothing.
    EXPECT_EQ(RunReporter("", "", SampleRecord(0x10), "", {{"QUOLL_PLATFORM", "sdl"}, {"SDL_VIDEODRIVER", "dummy"}}),
              0);
    EXPECT_FALSE(Logged("shown")) << ReadFile("reporter.log");
}

// No display and no driver asked for (an ssh session, or an X server that went away under the
// game): SDL falls back to its offscreen driver, whose windows nobody sees. The reporter decides
// from the driver in use and ends at once; one that showed its window there would wait until
// the test killed it.
TEST_F(ReporterRun, OnTheOffscreenDriverSdlFellBackToTheReportIsWrittenAndTheReporterEnds)
{
    EXPECT_EQ(RunReporter("", "", SampleRecord(0x10), PetriApplication().Serialize(),
                          {{"QUOLL_PLATFORM", "sdl"},
                           {"SDL_VIDEODRIVER", std::nullopt},
                           {"DISPLAY", std::nullopt},
                           {"WAYLAND_DISPLAY", std::nullopt}}),
              0);
    EXPECT_TRUE(Logged("no one can answer")) << ReadFile("reporter.log");
    EXPECT_FALSE(Logged("shown")) << ReadFile("reporter.log");
    EXPECT_TRUE(ReadFile("crash.txt").starts_with("Exception: Access Violation"));
}

TEST_F(ReporterRun, CloseSignalsEndTheReporterWhileItsWindowWaits)
{
    for (int signal : {SIGTERM, SIGINT})
    {
        pid_t reporter = StartReporter(kStayAWhile, "", SampleRecord(0x10), PetriApplication().Serialize());
        ASSERT_TRUE(WaitForLog("\"Fatal Error!\" shown")) << ReadFile("reporter.log");
        ::kill(reporter, signal);
        int status = WaitForReporter(reporter);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
    }
}

TEST_F(ReporterRun, CrashFileGoesToTheDataFolderWhenTheCurrentFolderCannotTakeIt)
{
    Quoll::CrashAppInfo application = PetriApplication();
    application.dataFolder = (mFolder / "data").string() + "/";
    std::filesystem::create_directories(mFolder / "data");
    EXPECT_EQ(RunReporter("", "", SampleRecord(0x10), application.Serialize(), {}, true), 0);
    EXPECT_TRUE(ReadFile("data/crash.txt").starts_with("Exception: Access Violation"));
}

TEST_F(ReporterRun, NoRecordNoReport)
{
    EXPECT_EQ(RunReporter("", "", CrashRecord{.magic = 0}, ""), 1);
    EXPECT_FALSE(std::filesystem::exists(mFolder / "crash.txt"));
}
