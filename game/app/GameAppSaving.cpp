// The player is told when the game cannot save: every failed write of the player's files (through
// the player data's log, and the platform's "AtomicFile" lines, which give the reason) and of the
// settings file goes to the save-failure report, which logs each file once; the first one is shown
// in a message box at the next update or at shutdown, once per session. Other files' failures
// (the level editor's, screenshots) stay with their owners.
#include "game/app/GameApp.h"

#include "framework/core/Common.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/SettingsStore.h"
#include "framework/platform/window/WindowMessages.h"
#include "game/shell/GameLog.h"
#include "game/shell/MessageBoxText.h"
#include "game/shell/PlayerDataLog.h"
#include "game/ui/FormatLocalised.h"

#include <atomic>
#include <cstdio>

namespace
{
std::atomic<GameApp*> gSavingApp{nullptr};
std::atomic<Quoll::Platform::LogSink> gPlatformSink{nullptr};

constexpr std::string_view kCannotCreate = "cannot create ";

void PlatformLogSink(std::string_view subsystem, std::string_view text)
{
    if (GameApp* app = gSavingApp.load())
    {
        if (subsystem == "AtomicFile")
            if (const auto failure = SaveFailureReport::ParseAtomicFileLine(std::string(text));
                failure && app->ReportSaveFailure(failure->path, failure->reason))
                return;
        // The game's only user folders are the player's folder and the settings folder; the
        // platform tries to make them again at every use.
        if (subsystem == "UserFolders" && text.starts_with(kCannotCreate))
        {
            app->ReportSaveFailure(std::string(text.substr(kCannotCreate.size())), "the folder cannot be made");
            return;
        }
    }
    if (const Quoll::Platform::LogSink previous = gPlatformSink.load())
        previous(subsystem, text);
}

// What the file holds, for the player's eyes.
std::wstring DescribeFile(const std::string& file, bool settings)
{
    if (settings)
        return FormatText("UI_SAVE_WHAT_SETTINGS");
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
    gSavingApp = this;
    gPlatformSink = Quoll::Platform::SetLogSink(&PlatformLogSink);
}

void GameApp::RemoveSaveReporting()
{
    SetPlayerDataLogSink({});
    if (gSavingApp.load() == this)
    {
        Quoll::Platform::SetLogSink(gPlatformSink.exchange(nullptr));
        gSavingApp = nullptr;
    }
}

void GameApp::SetSaveReportCoverage(const std::string& playerFolder)
{
    Quoll::Platform::SettingsStore* settings = Settings();
    mSaveFailures.SetCoverage(playerFolder, settings != nullptr ? settings->FilePath() : std::string());
}

bool GameApp::ReportSaveFailure(const std::string& path, const std::string& reason)
{
    // A user folder that cannot be made ends with '/'.
    if (!path.ends_with('/') && !mSaveFailures.Covers(path))
        return false;
    mSaveFailures.Add(path, reason);
    return true;
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
    std::wstring what;
    if (!file.empty())
        what = DescribeFile(file, mSaveFailures.IsSettingsFile(*path));
    else if (const auto kind = mSaveFailures.GetFolderKind(folder); kind == SaveFailureReport::FolderKind::Unknown)
        what = FormatText("UI_SAVE_WHAT_FILES");
    else
        what = FormatText(kind == SaveFailureReport::FolderKind::Player ? "UI_SAVE_WHAT_PROGRESS" : "UI_SAVE_WHAT_SETTINGS");
    // The box draws the lines as given: broken here, so that it fits the screen.
    const std::wstring text = BreakIntoLines(FormatText("UI_SAVE_FAILED", {what, Quoll::StringToWString(folder)}));
    MsgBoxW(text, FormatText("UI_SAVE_FAILED_TITLE"), Quoll::Platform::MB_OK | Quoll::Platform::MB_ICONWARNING);
}
