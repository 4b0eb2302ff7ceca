// Fuzz target: the score-table reader ("scores.dat").
#include "PlayerRecordFuzz.h"

#include "game/shell/ScoreTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ScoreTable start;
    start.Submit("start", 7);
    CheckPlayerRecord("shell_scores", data, size, start, [](const ScoreTable& a, const ScoreTable& b) { return a == b; });
    return 0;
}
