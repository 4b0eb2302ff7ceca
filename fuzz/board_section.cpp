// Fuzz target: the board-block reader and the level-logic-section reader, fed the same bytes.
// Any input must be refused with the state unchanged, or read into a consistent logic (counts,
// targets, owners within the player count, holes empty) that writes and reads back identically.
#include "game/board/GameLogic.h"
#include "game/board/LogicChecker.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
void Fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "board_section: %s %s\n", what, detail.c_str());
    std::abort();
}

Quoll::Buffer BufferOf(const uint8_t* data, size_t size)
{
    Quoll::Buffer buffer;
    buffer.SetData(data, size);
    return buffer;
}

void CheckBoard(const uint8_t* data, size_t size)
{
    Quoll::Buffer buffer = BufferOf(data, size);
    Board board;
    board.SetCellValue(0, 5);
    const Board before = board;
    if (!board.Read(buffer))
    {
        if (!(board == before))
            Fail("failed board read changed the board");
        return;
    }
    for (int cell = 0; cell < kCellCount; ++cell)
        if (!board.Exists(cell) && board.GetCellFlags(cell) != 0)
            Fail("hole kept its flags");
    Quoll::Buffer again;
    board.Write(again);
    Board copy;
    if (!copy.Read(again) || !(copy == board))
        Fail("board block does not round-trip");
}

void CheckSection(const uint8_t* data, size_t size)
{
    Quoll::Buffer buffer = BufferOf(data, size);
    GameLogic logic;
    logic.Init(17);
    Quoll::Buffer original;
    logic.Write(original);
    if (!logic.Read(buffer))
    {
        Quoll::Buffer after;
        logic.Write(after);
        if (after.GetDataSize() != original.GetDataSize() ||
            std::memcmp(after.GetDataPtr(), original.GetDataPtr(), after.GetDataSize()) != 0)
            Fail("failed section read changed the logic");
        return;
    }
    const std::string fault = FindLogicFault(logic);
    if (!fault.empty())
        Fail("inconsistent logic after a read:", fault);
    Quoll::Buffer written;
    logic.Write(written);
    GameLogic copy;
    if (!copy.Read(written) || !(copy.GetBoard() == logic.GetBoard()) || !(copy.GetPlayers() == logic.GetPlayers()) ||
        copy.GetCurrentPlayer() != logic.GetCurrentPlayer() || copy.GetRandom().GetState() != logic.GetRandom().GetState())
        Fail("section does not round-trip");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckBoard(data, size);
    CheckSection(data, size);
    return 0;
}
