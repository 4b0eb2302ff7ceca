#include "game/app/GameMain.h"

#include "framework/app/ErrorLog.h"
#include "framework/crash/CrashCatcher.h"
#include "framework/platform/system/UserFolders.h"
#include "game/app/GameApp.h"
#include "game/shell/GameLog.h"

#include <memory>

namespace
{
// The framework's error log ("ScrError.txt") is copied into the game's log.
void CopyToGameLog(Quoll::ErrorLogLevel level, const std::string& text)
{
    LogRecord(level == Quoll::ErrorLogLevel::Warning ? GetWarningLog() : GetErrorLog()) << text;
}
} // namespace

int GameMain(int argc, char** argv)
{
    return GameMain(argc, argv, [] { return std::make_unique<GameApp>(); });
}

int GameMain(int argc, char** argv, const std::function<std::unique_ptr<GameApp>()>& makeApp)
{
    int exitCode = 0;
    if (Quoll::CrashCatcher::RunReporterIfRequested(argc, argv, exitCode))
        return exitCode;

    // The log goes beside the player's files, never into the current folder. Until the start-up
    // knows whether this copy runs or hands over to a copy already running, the log holds its
    // lines: the copy that runs starts the file afresh with them, one that hands over leaves the
    // running copy's file as it was, and so does a start that fails before then while another
    // copy holds the instance name; with none, a failed start writes them at its exit.
    if (const auto folder = Quoll::Platform::UserFolder(Quoll::Platform::UserFolderKind::Data, "Nordwick", "PetriGlowSaga"))
        GameLog::Get().OpenHeld(*folder + GameLog::kFileName);
    const Quoll::ErrorLogSink previousSink = Quoll::ErrorLog::Program().SetSink(&CopyToGameLog);
    LogRecord(GetAppLog()) << "Game starting...";
    {
        const std::unique_ptr<GameApp> app = makeApp();
        app->SetInstanceDecision([](bool anotherCopyRuns) {
            if (anotherCopyRuns)
                GameLog::Get().Discard();
            else
                GameLog::Get().StartAfresh();
        });
        app->Init();
        app->Start();
    }
    LogRecord(GetAppLog()) << "end.";
    Quoll::ErrorLog::Program().SetSink(previousSink);
    GameLog::Get().Close();
    return 0;
}
