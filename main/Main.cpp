// The game's executable: everything happens in the game's entry (game/app/GameMain.h). Under the
// replay check (QUOLL_REPLAY_DIGESTS naming a folder) the game runs on the fixed-step clock and
// writes the check's evidence; QUOLL_REPLAY_CHECKPOINTS lists the updates whose frames it keeps.
// Started as the crash reporter, the program shows the crash report's windows.
#include "framework/crash/CrashCatcher.h"
#include "framework/crashwindows/CrashWindows.h"
#include "game/app/GameMain.h"
#include "main/FixedStepClock.h"
#include "main/ReplayGameApp.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    Quoll::CrashCatcher::SetReportWindows(&Quoll::CrashWindows::Show);
    const char* digests = std::getenv("QUOLL_REPLAY_DIGESTS");
    if (digests == nullptr || *digests == '\0')
        return GameMain(argc, argv);
    FixedStepClock clock;
    const Quoll::Platform::ScopedClock scoped(clock);
    return GameMain(argc, argv, [] { return std::make_unique<ReplayGameApp>(); });
}
