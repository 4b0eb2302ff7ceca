// The crash report's text and helpers (header lines, module lines, stack, registers, map-file
// annotation, the application's part on the pipe), module look-up in this very program, and
// the reporter program end to end: record in, "crash.txt" out, and the upload that a scripted
// user asks for arriving at a loopback server.
// Rerun one case: test_app --gtest_filter='CrashReport*.Reporter*'
#include "framework/crash/CrashCatcher.h"
#include "framework/crash/CrashReport.h"
#include "framework/crash/MapFile.h"
#include "framework/platform/system/CrashRecord.h"
#include "framework/platform/system/ModuleMap.h"
#include "tests/app/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
class ReporterRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = std::filesystem::temp_directory_path() /
                  ("crashreporter_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    // Starts the reporter in the folder with the headless script, sends it the record and the
    // application part, and waits for it to end; its exit code.
    int RunReporter(const std::string& script, const std::string& submitHost, const CrashRecord& record,
                    const std::string& applicationPart, bool currentFolderGone = false)
    {
        std::string scriptPath = (mFolder / "input.script").string();
        std::ofstream(scriptPath) << script;
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        std::string program = QUOLL_CRASH_REPORTER, fd = std::to_string(fds[0]), folder = mFolder.string();
        pid_t child = ::fork();
        if (child == 0)
        {
            ::close(fds[1]);
            if (::chdir(folder.c_str()) != 0)
                ::_exit(126);
            // A current folder that no longer exists: nothing can be made in it.
            const std::string gone = folder + "/gone";
            if (currentFolderGone && (::mkdir(gone.c_str(), 0755) != 0 || ::chdir(gone.c_str()) != 0 ||
                                      ::rmdir(gone.c_str()) != 0))
                ::_exit(126);
            ::setenv("QUOLL_HEADLESS_SCRIPT", scriptPath.c_str(), 1);
            ::execl(program.c_str(), program.c_str(), CrashCatcher::kReporterOption, fd.c_str(), submitHost.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[0]);
        EXPECT_EQ(::write(fds[1], &record, sizeof(record)), static_cast<ssize_t>(sizeof(record)));
        EXPECT_EQ(::write(fds[1], applicationPart.data(), applicationPart.size()),
                  static_cast<ssize_t>(applicationPart.size()));
        ::close(fds[1]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string ReadFile(const std::string& name)
    {
        std::ifstream in(mFolder / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path mFolder;
};
} // namespace

TEST_F(ReporterRun, ReporterWritesCrashFileAndUploadsWhatTheUserTyped)
{
    QuollTest::LoopbackHttpServer server(QuollTest::LoopbackHttpServer::Behaviour::Respond,
                                         "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    std::string demo("DMO\0\x01\xfe", 6);
    std::ofstream(mFolder / "last.dmo", std::ios::binary) << demo;
    Quoll::CrashAppInfo application;
    application.product = "Petri";
    application.version = "1.2";
    application.crashInfo = "Product: Petri\r\n";
    application.fields = {{"level", "7"}};
    application.attachmentPath = (mFolder / "last.dmo").string();
    application.attach = true;
    // Send Report, the details notice, then the user's words and Enter.
    int code = RunReporter("msgbox IDYES\nmsgbox IDOK\ntext Clicked the board\nkey Return\n", server.HostAndPort(),
                           SampleRecord(reinterpret_cast<uint64_t>(&ModuleLookupTarget)), application.Serialize());
    EXPECT_EQ(code, 0);

    std::string crash = ReadFile("crash.txt");
    EXPECT_TRUE(crash.starts_with("Exception: Access Violation (code 0xc0000005) at address ")) << crash;
    EXPECT_NE(crash.find("ModuleLookupTarget(int)+0"), std::string::npos) << crash;
    EXPECT_TRUE(crash.ends_with("\r\nProduct: Petri\r\n\n"));

    std::string request = server.Request();
    EXPECT_TRUE(request.starts_with("POST /gilded_error.php HTTP/1.1\r\n"));
    EXPECT_NE(request.find("Host: " + server.HostAndPort() + "\r\n"), std::string::npos);
    EXPECT_NE(request.find("name=\"level\"\r\n\r\n7\r\n"), std::string::npos);
    EXPECT_NE(request.find("name=\"prod\"\r\n\r\nPetri\r\n"), std::string::npos);
    EXPECT_NE(request.find("name=\"usertext\"\r\n\r\nClicked the board\r\n"), std::string::npos);
    EXPECT_NE(request.find("name=\"errortitle\"\r\n\r\nException at "), std::string::npos);
    EXPECT_NE(request.find("filename=\"brightmoor.dmo\"\r\nContent-Type: application/octet-stream\r\n\r\n" + demo +
                           "\r\n"),
              std::string::npos);
}

TEST_F(ReporterRun, FailedUploadOffersRetryUntilCancelled)
{
    Quoll::CrashAppInfo application;
    application.product = "Petri";
    std::string host = "127.0.0.1:" + std::to_string(QuollTest::UnusedLoopbackPort());
    int code = RunReporter("msgbox IDYES\nmsgbox IDOK\ntext x\nkey Return\nmsgbox IDRETRY\nmsgbox IDCANCEL\n", host,
                           SampleRecord(0x10), application.Serialize());
    EXPECT_EQ(code, 0);
}

TEST_F(ReporterRun, WithoutApplicationPartOnlyCloseIsOffered)
{
    // A "Send Report" answer would hang here waiting for typed text: the box must not offer it.
    int code = RunReporter("msgbox IDYES\n", "127.0.0.1:9", SampleRecord(0x10), "");
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(ReadFile("crash.txt").starts_with("Exception: Access Violation"));
}

TEST_F(ReporterRun, CrashFileGoesToTheDataFolderWhenTheCurrentFolderCannotTakeIt)
{
    Quoll::CrashAppInfo application;
    application.product = "Petri";
    application.dataFolder = (mFolder / "data").string() + "/";
    std::filesystem::create_directories(mFolder / "data");
    EXPECT_EQ(RunReporter("msgbox IDYES\n", "", SampleRecord(0x10), application.Serialize(), true), 0);
    EXPECT_TRUE(ReadFile("data/crash.txt").starts_with("Exception: Access Violation"));
}

TEST_F(ReporterRun, NoRecordNoReport)
{
    EXPECT_EQ(RunReporter("", "", CrashRecord{.magic = 0}, ""), 1);
    EXPECT_FALSE(std::filesystem::exists(mFolder / "crash.txt"));
}
