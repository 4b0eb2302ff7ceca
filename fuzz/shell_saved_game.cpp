// Fuzz target: the saved-game reader (".save").
#include "PlayerRecordFuzz.h"

#include "game/shell/SavedGame.h"

#include <cstring>

namespace
{
bool SameGame(const SavedGame& a, const SavedGame& b)
{
    const Quoll::Buffer& bodyA = a.GetBody();
    const Quoll::Buffer& bodyB = b.GetBody();
    return a.GetLevel() == b.GetLevel() && bodyA.GetDataSize() == bodyB.GetDataSize() &&
           (bodyA.GetDataSize() == 0 || std::memcmp(bodyA.GetDataPtr(), bodyB.GetDataPtr(), bodyA.GetDataSize()) == 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quoll::Buffer body;
    body.WriteString("start");
    const SavedGame start(4, body);
    CheckPlayerRecord("shell_saved_game", data, size, start, SameGame);
    return 0;
}
