// The reporter process's sequence; see CrashReporter.h.
#include "framework/crash/CrashReporter.h"

#include "framework/core/Common.h"
#include "framework/crash/CrashReport.h"
#include "framework/crash/MapFile.h"
#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/ModuleMap.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/ProgramInfo.h"
#include "framework/platform/window/WindowSystem.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace Quoll
{
namespace
{
std::atomic<CrashWindowsRunner> gWindows{nullptr};

void EndBySignal(int signal)
{
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Only a script meant for the reporter drives its headless windows; the crashed program's
// evidence stays the crashed program's.
void TakeReporterScript()
{
    if (const char* script = std::getenv(CrashReporter::kScriptVariable))
        ::setenv("QUOLL_HEADLESS_SCRIPT", script, 1);
    else
        ::unsetenv("QUOLL_HEADLESS_SCRIPT");
    ::unsetenv("QUOLL_HEADLESS_DUMP");
}

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

// Reads up to `size` bytes; stops at the end of the pipe or when the deadline passes.
size_t ReadUntil(int fd, char* data, size_t size, std::chrono::steady_clock::time_point deadline)
{
    size_t done = 0;
    while (done < size)
    {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd entry{fd, POLLIN, 0};
        int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

std::string WithLineEnd(const std::string& report) { return report + "\n"; }

// "crash.txt" in the current folder, or in the data folder when the current one cannot take it.
void WriteCrashFile(const std::string& text, const std::string& dataFolder)
{
    const std::span bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    if (Platform::WriteFileAtomically("crash.txt", bytes))
        return;
    if (!dataFolder.empty() && Platform::WriteFileAtomically(ToSystemPath(dataFolder + "crash.txt"), bytes))
        return;
    Platform::LogLine("CrashReporter", "cannot write crash.txt");
}
} // namespace

bool CrashReporter::ReadRecord(Platform::CrashRecord& record)
{
    // The crashed process writes the record at once; a minute covers a loaded machine.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    if (ReadUntil(mFd, reinterpret_cast<char*>(&record), sizeof(record), deadline) != sizeof(record))
        return false;
    return record.magic == Platform::CrashRecord::kMagic;
}

std::optional<CrashAppInfo> CrashReporter::ReadApplicationPart()
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kApplicationPartMilliseconds);
    std::string bytes;
    char chunk[4096];
    while (size_t n = ReadUntil(mFd, chunk, sizeof(chunk), deadline))
        bytes.append(chunk, n);
    CrashAppInfo info;
    if (bytes.empty() || !info.Deserialize(bytes))
        return std::nullopt;
    return info;
}

void CrashReporter::SetWindows(CrashWindowsRunner runner) { gWindows = runner; }

void CrashReporter::EndOnCloseSignals() { HandleCloseSignals(&EndBySignal); }

void CrashReporter::HandleCloseSignals(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigset_t closeSignals;
    sigemptyset(&closeSignals);
    for (int signal : {SIGTERM, SIGINT})
    {
        ::sigaction(signal, &action, nullptr);
        sigaddset(&closeSignals, signal);
    }
    ::pthread_sigmask(SIG_UNBLOCK, &closeSignals, nullptr);
}

bool CrashReporter::SomeoneCanAnswer(Platform::WindowSystem& system)
{
    if (IsSet(kUnattendedVariable))
        return false;
    // A driver without a screen (SDL's offscreen or dummy one, asked for or fallen back to when
    // no display answers, as after the X server went away) opens windows that nobody sees.
    if (system.ShowsNothing())
        return false;
    // A headless run answers only through its script, while the script lasts.
    if (auto* headless = dynamic_cast<Platform::HeadlessWindowSystem*>(&system))
        return !headless->ScriptFinished();
    return true;
}

int CrashReporter::Run()
{
    EndOnCloseSignals();
    // 1. What the crashed process sends.
    Platform::CrashRecord record;
    if (!ReadRecord(record))
    {
        Platform::LogLine("CrashReporter", "no crash record arrived");
        return 1;
    }
    std::optional<CrashAppInfo> application = ReadApplicationPart();
    ::close(mFd);

    // 2. The report, with the crashed process's modules.
    Platform::ModuleMap modules;
    modules.Load(record.processId);
    CrashReport::Text text =
        CrashReport::Build(record, [&](uint64_t address) { return modules.Resolve(address); },
                           CrashReport::SystemInfoText(), application ? &*application : nullptr);

    // 3. The clipboard gets the plain report; the file and the windows the annotated one. The
    //    window system turns the close signals into window messages: they end the reporter instead.
    TakeReporterScript();
    std::unique_ptr<Platform::WindowSystem> system = Platform::WindowSystem::Create();
    EndOnCloseSignals();
    if (system != nullptr && application)
        system->SetClipboardText(text.report);
    std::string report = MapFile::AnnotateWithFolderMap(text.report, Platform::CurrentFolder());
    WriteCrashFile(WithLineEnd(report), application ? application->dataFolder : std::string());

    // 4. The windows, and the upload when the user asks for it.
    CrashWindowsRunner windows = gWindows.load();
    if (system == nullptr || windows == nullptr || !SomeoneCanAnswer(*system))
    {
        Platform::LogLine("CrashReporter", "no one can answer: the report is in crash.txt");
        return 0;
    }
    CrashWindowRequest request;
    request.errorTitle = text.title;
    request.report = report;
    request.submitHost = mSubmitHost;
    request.hasApplication = application.has_value();
    const CrashAppInfo part = application.value_or(CrashAppInfo{});
    request.buildUpload = [&](const std::string& userText) {
        return CrashReportUpload::BuildRequest(BuildForm(userText, text.title, report, part), mSubmitHost);
    };
    windows(*system, request);
    return 0;
}

CrashReportForm CrashReporter::BuildForm(const std::string& userText, const std::string& title,
                                         const std::string& report, const CrashAppInfo& application) const
{
    CrashReportForm form;
    form.applicationFields = application.fields;
    form.product = application.product;
    form.version = application.version;
    form.userText = userText.substr(0, CrashWindowRequest::kMaxUserText);
    form.errorTitle = title;
    form.errorText = report;
    if (application.attach)
    {
        std::optional<std::vector<uint8_t>> bytes = Platform::ReadWholeFile(application.attachmentPath);
        form.demoFile = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    }
    return form;
}
} // namespace Quoll
