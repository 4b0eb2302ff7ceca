#include "game/board/BenchPositions.h"

#include "game/board/AiSearch.h"
#include "game/board/BoardText.h"
#include "game/board/SelfPlay.h"

#include <cassert>

namespace
{
constexpr int kSignatureSeeds = 3;
constexpr int kSignatureTurns = 40;

// FNV-1a over 32-bit values.
void Mix(uint32_t& hash, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        hash ^= (value >> shift) & 0xFFu;
        hash *= 16777619u;
    }
}
} // namespace

const std::vector<BenchPosition>& GetBenchPositions()
{
    static const std::vector<BenchPosition> positions = {
        {"opening",
         "1 . . . 2 / . . . . . . / . . . . . . . / . . . . . . . . / 3 . . . . . . . 1 /"
         ". . . . . . . . / . . . . . . . / . . . . . . / 2 . . . 3",
         {-1, 2, 1}, 2},
        {"crowded",
         "1 1 . 2 2 / 1 1 2 2 . 2 / 1 . 1 2 2 3 3 / 1 1 . 2 3 3 . 3 / . 1 1 2 . 3 3 3 1 /"
         "2 2 1 . 1 1 3 . / 2 . 2 1 1 3 3 / 3 2 2 . 1 1 / 3 3 2 2 .",
         {-1, 2, 1}, 2},
        {"sparse",
         "# # . . . / # . . 1 . . / . . . . . 2 . / . # . . . . . . / . . . # # . . 2 . /"
         ". . 1 . . . # . / . . . . . . . / . 2 . . . # / . . 1 # #",
         {-1, 2}, 2},
    };
    return positions;
}

GameLogic MakeBenchLogic(const BenchPosition& position, int moverLevel, uint32_t seed)
{
    GameLogic logic;
    logic.Init(seed);
    [[maybe_unused]] const bool parsed = ParseBoardText(position.board, logic.GetBoard());
    assert(parsed && "bench position does not parse");
    logic.SetPlayerCount(static_cast<int>(position.aiLevels.size()));
    for (size_t i = 0; i < position.aiLevels.size(); ++i)
        logic.SetPlayerAiLevel(static_cast<int>(i + 1), position.aiLevels[i]);
    if (moverLevel >= 0)
        logic.SetPlayerAiLevel(position.currentPlayer, moverLevel);
    logic.SetCurrentPlayer(position.currentPlayer);
    logic.Recount();
    return logic;
}

int CountDraws(const Quoll::MersenneTwister& before, const Quoll::MersenneTwister& after)
{
    Quoll::MersenneTwister probe = before;
    const std::string target = after.GetState();
    for (int draws = 0; draws <= 64; ++draws)
    {
        if (probe.GetState() == target)
            return draws;
        probe.NextWord();
    }
    return -1;
}

SearchSignature ComputeSearchSignature()
{
    SearchSignature signature;
    SearchStats stats;
    uint32_t hash = 2166136261u;
    for (const BenchPosition& position : GetBenchPositions())
    {
        for (int level = 0; level <= kBossLevel; ++level)
        {
            for (uint32_t seed = 1; seed <= kSignatureSeeds; ++seed)
            {
                // One search from the position itself.
                GameLogic logic = MakeBenchLogic(position, level, seed);
                const Quoll::MersenneTwister before = logic.GetRandom();
                const AiMove move = AiSearch(logic, &stats).Search(SearchDepthForLevel(level), logic.GetRandom());
                Mix(hash, static_cast<uint32_t>(move.from << 8 | move.to));
                Mix(hash, static_cast<uint32_t>(CountDraws(before, logic.GetRandom())));
                // Then the game played out from there.
                for (int turn = 0; turn < kSignatureTurns; ++turn)
                {
                    const TurnResult result = PlayComputerTurn(logic, &stats);
                    Mix(hash, static_cast<uint32_t>(logic.GetCurrentPlayer() << 16 | logic.GetCellCount(1) << 8 |
                                                    logic.GetCellCount(2)));
                    if (result != TurnResult::Played)
                        break;
                }
            }
        }
    }
    signature.scoredMoves = stats.scoredMoves;
    signature.checksum = hash;
    return signature;
}
