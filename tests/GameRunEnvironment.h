#pragma once
// The environment a test gives the game program it starts, as "NAME=value" words for `env`:
// an instance name of the test's own (QUOLL_INSTANCE_NAME), so that the run neither turns away
// nor is turned away by a player's copy of the game or another test's run, and the project's
// LeakSanitizer suppressions for the system libraries the game meets.
// Needs QUOLL_SOURCE_DIR defined by the test program's build.
#include <unistd.h>

#include <string>

namespace TestGame
{
inline std::string RunEnvironment()
{
    static int runs = 0;
    return "QUOLL_INSTANCE_NAME=test-" + std::to_string(::getpid()) + "-" + std::to_string(++runs) +
           " LSAN_OPTIONS=suppressions=" QUOLL_SOURCE_DIR "/tests/shell/lsan.supp";
}
} // namespace TestGame
