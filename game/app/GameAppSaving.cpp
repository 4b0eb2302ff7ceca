// The player is told when the game cannot save: every failed write (the player's files through
// the player data's log, every other file through the platform's "AtomicFile" lines) goes to the
// save-failure report, which logs each file once; the first one is shown in a message box at the
// next update or at shutdown, once per session.
#include "game/app/GameApp.h"

#include "framework/core/Common.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/window/WindowMessages.h"
#include "game/shell/GameLog.h"
#include "game/shell/PlayerDataLog.h"
#include "game/ui/FormatLocalised.h"

#include <atomic>
#include <cstdio>

namespace
{
std::atomic<SaveFailureReport*> gSaveFailures{nullptr};
std::atomic<Quoll::Platform::LogSink> gPlatformSink{nullptr};

void PlatformLogSink(std::string_view subsystem, std::string_view text)
{
    if (subsystem == "AtomicFile")
        if (SaveFailureReport* report = gSaveFailures.load())
            if (const auto failure = SaveFailureReport::ParseAtomicFileLine(std::string(text)))
            {
                report->Add(failure->path, failure->reason);
                return;
            }
    if (const Quoll::Platform::LogSink previous = gPlatformSink.load())
        previous(subsystem, text);
}

// What the file holds, for the player's eyes.
std::wstring DescribeFile(const std::string& file)
{
    if (file == ScoreTable::kFileName)
        return FormatText("UI_SAVE_WHAT_SCORES");
    if (file == ProfileList::kFileName)
        return FormatText("UI_SAVE_WHAT_PLAYERS");
    if (file.ends_with(".save"))
        return FormatText("UI_SAVE_WHAT_SAVED_GAME");
    if (file.ends_with(".dat"))
        return FormatText("UI_SAVE_WHAT_PROGRESS");
    return FormatText("UI_SAVE_WHAT_FILE", {Quoll::StringToWString(file)});
}
} // namespace

void GameApp::LogSaveFailure(const std::string& line)
{
    // The log's own file may be what cannot be written.
    if (!GameLog::Get().WriteChecked(kErrorLogName, line))
        std::fprintf(stderr, "[ERROR] %s\n", line.c_str());
}

void GameApp::InstallSaveReporting()
{
    SetPlayerDataLogSink([this](PlayerLogKind kind, const std::string& line) {
        if (kind == PlayerLogKind::WriteFailed)
            mSaveFailures.Add(Quoll::ToSystemPath(line), {});
        else
            LogRecord(kind == PlayerLogKind::Warning ? GetWarningLog() : GetErrorLog()) << line;
    });
    gSaveFailures = &mSaveFailures;
    gPlatformSink = Quoll::Platform::SetLogSink(&PlatformLogSink);
}

void GameApp::RemoveSaveReporting()
{
    SetPlayerDataLogSink({});
    if (gSaveFailures.load() == &mSaveFailures)
    {
        Quoll::Platform::SetLogSink(gPlatformSink.exchange(nullptr));
        gSaveFailures = nullptr;
    }
}

void GameApp::TellSaveFailure()
{
    const std::optional<std::string> path = mSaveFailures.TakeUntold();
    if (!path)
        return;
    const size_t separator = path->find_last_of("/\\");
    const std::string folder = separator == std::string::npos ? std::string(".")
                               : separator == 0               ? std::string("/")
                                                              : path->substr(0, separator);
    const std::string file = separator == std::string::npos ? *path : path->substr(separator + 1);
    const std::wstring text =
        FormatText("UI_SAVE_FAILED", {DescribeFile(file), Quoll::StringToWString(folder)});
    MsgBoxW(text, FormatText("UI_SAVE_FAILED_TITLE"), Quoll::Platform::MB_OK | Quoll::Platform::MB_ICONWARNING);
}
