// Fuzz target: the profile reader (".dat").
#include "PlayerRecordFuzz.h"

#include "game/shell/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Profile start("start");
    start.SetLevelResult(3, 40, 1);
    CheckPlayerRecord("shell_profile", data, size, start, [](const Profile& a, const Profile& b) { return a == b; });
    return 0;
}
