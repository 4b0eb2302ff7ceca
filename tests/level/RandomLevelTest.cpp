// Random levels: a thousand generated levels are all playable and within the generator's
// bounds; the same seed builds the same level and the repeat flag rebuilds the last one; bonus
// kinds follow the profile's progress; the flood of an empty region; giving up after the attempt
// limit. Each case seeds the program-wide generator itself.
// Rerun one case: test_level --gtest_filter='RandomLevel.*'
#include "game/level/Level.h"
#include "game/level/LevelList.h"
#include "game/board/LogicChecker.h"
#include "game/level/NullLevelView.h"
#include "game/level/ProgressLevelServices.h"
#include "game/level/RandomLevelProvider.h"

#include "BoardTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using Game::RandomLevelProvider;

namespace
{
struct Progress
{
    ProgressLevelServices services;
    LevelList list{services};

    explicit Progress(std::initializer_list<int> completed = {})
    {
        list.Init();
        for (int level : completed)
            services.SetLevelResult(level, 1, 2);
    }
};

GameLogic Generate(const LevelList& list, uint32_t programSeed)
{
    Quoll::SeedRandom(programSeed);
    GameLogic logic;
    EXPECT_TRUE(RandomLevelProvider(1, &list).Generate(logic));
    return logic;
}

// The bonus codes on the boards of count levels.
std::set<int> BonusKindsSeen(const LevelList& list, int count)
{
    std::set<int> kinds;
    for (int i = 0; i < count; ++i)
    {
        const GameLogic logic = Generate(list, 500u + static_cast<uint32_t>(i));
        for (int cell : logic.GetBoard().GetCellsWithFlags(kBonusMask))
            kinds.insert(logic.GetBoard().GetBonus(cell));
    }
    return kinds;
}
} // namespace

TEST(RandomLevel, ThousandLevelsArePlayableAndWithinBounds)
{
    Progress progress({3, 6, 7});
    for (uint32_t seed = 1; seed <= 1000; ++seed)
    {
        SCOPED_TRACE(seed);
        const GameLogic logic = Generate(progress.list, seed);
        ASSERT_TRUE(RandomLevelProvider::IsPlayable(logic));
        EXPECT_EQ(FindLogicFault(logic), "");
        const int players = logic.GetPlayerCount();
        ASSERT_TRUE(players == 2 || players == 3);
        EXPECT_EQ(logic.GetPlayerAiLevel(1), kHumanLevel);
        EXPECT_EQ(logic.GetCurrentPlayer(), 1);
        const int cells = logic.GetBoard().CountExistingCells();
        EXPECT_TRUE(cells == 61 || (cells >= 51 && cells <= 61) || (cells >= 32 && cells <= 46)) << cells;
        EXPECT_GE(logic.GetCellCount(1), 1);
        EXPECT_LE(logic.GetCellCount(1), 5);
        for (int player = 2; player <= players; ++player)
        {
            const int level = logic.GetPlayerAiLevel(player);
            ASSERT_TRUE(level >= 0 && level <= 2);
            EXPECT_LE(logic.GetCellCount(player), level == 0 ? 6 : level == 1 ? 5 : 3);
        }
        EXPECT_LE(logic.GetBoard().GetCellsWithFlags(kBonusMask).Count(), 14);
        for (int cell : logic.GetBoard().GetCellsWithFlags(kBonusMask))
            EXPECT_EQ(logic.GetBoard().GetOwner(cell), 0);
    }
}

TEST(RandomLevel, SameSeedSameLevelAndTheRepeatFlagRebuildsIt)
{
    Progress progress({3, 6});
    const GameLogic first = Generate(progress.list, 77);
    const uint32_t firstSeed = Game::RandomLevelLastSeed;
    const GameLogic again = Generate(progress.list, 77);
    EXPECT_EQ(first.GetBoard(), again.GetBoard());
    EXPECT_EQ(first.GetRandom().GetState(), again.GetRandom().GetState());

    // A different program-wide sequence, but the flag replays the provider's seed.
    Game::RandomLevelReplay = true;
    const GameLogic replayed = Generate(progress.list, 999);
    EXPECT_FALSE(Game::RandomLevelReplay);
    EXPECT_EQ(Game::RandomLevelLastSeed, firstSeed);
    EXPECT_EQ(replayed.GetBoard(), first.GetBoard());
    EXPECT_EQ(replayed.GetPlayers(), first.GetPlayers());
    // Without the flag the next level differs.
    const GameLogic next = Generate(progress.list, 999);
    EXPECT_NE(next.GetBoard(), first.GetBoard());
}

TEST(RandomLevel, BonusKindsFollowTheProfilesProgress)
{
    {
        Progress none({1, 2, 4, 5, 8});
        EXPECT_TRUE(BonusKindsSeen(none.list, 60).empty());
    }
    {
        Progress teleport({3});
        EXPECT_EQ(BonusKindsSeen(teleport.list, 60), (std::set<int>{BONUS_TELEPORT}));
    }
    {
        Progress mines({3, 6});
        EXPECT_EQ(BonusKindsSeen(mines.list, 60), (std::set<int>{BONUS_MINE, BONUS_TELEPORT, BONUS_LAID_MINE}));
    }
    {
        Progress all({3, 6, 7});
        EXPECT_EQ(BonusKindsSeen(all.list, 60), (std::set<int>{BONUS_MINE, BONUS_TELEPORT, BONUS_BOMB, BONUS_LAID_MINE}));
    }
    // Without a catalogue nothing is unlocked.
    Quoll::SeedRandom(5);
    GameLogic logic;
    ASSERT_TRUE(RandomLevelProvider(1, nullptr).Generate(logic));
    EXPECT_FALSE(logic.GetBoard().GetCellsWithFlags(kBonusMask).Any());
}

TEST(RandomLevel, EmptyRegionFloodsInRingOrderAndStopsAtOccupiedCells)
{
    // A sparse board: an island of four cells at the border, one of them taken, and a strip.
    //   cells 0, 1, 5, 6 exist (0 owned by player 2); 30, 31 elsewhere.
    GameLogic logic = BoardTest::MakeLogic(std::string("2.###..###") + std::string(20, '#') + ".." + std::string(29, '#'),
                                           {-1, 0}, 1);
    const Board& board = logic.GetBoard();
    EXPECT_EQ(RandomLevelProvider::CollectEmptyRegion(board, logic.GetNeighbourTables(), 6), (std::vector<int>{6, 1, 5}));
    EXPECT_EQ(RandomLevelProvider::CollectEmptyRegion(board, logic.GetNeighbourTables(), 31), (std::vector<int>{31, 30}));
    // On the full empty board the flood reaches every cell once, start first.
    GameLogic full = BoardTest::MakeLogic(std::string(61, '.'), {-1, 0}, 1);
    const std::vector<int> region = RandomLevelProvider::CollectEmptyRegion(full.GetBoard(), full.GetNeighbourTables(), 30);
    ASSERT_EQ(region.size(), 61u);
    EXPECT_EQ(region[0], 30);
    EXPECT_EQ(std::vector<int>(region.begin() + 1, region.begin() + 7), (std::vector<int>{21, 22, 29, 31, 38, 39}));
    EXPECT_EQ(std::set<int>(region.begin(), region.end()).size(), 61u);
}

namespace
{
// Places no bacteria: no level is ever playable.
class EmptyBoardProvider : public RandomLevelProvider
{
public:
    using RandomLevelProvider::RandomLevelProvider;
    void PlaceStartBacteria(GameLogic&) override {}
};
} // namespace

TEST(RandomLevel, GivesUpAfterTheAttemptLimit)
{
    Quoll::SeedRandom(3);
    NullLevelView view;
    NullLevelServices services;
    Level level(view, services);
    EXPECT_FALSE(level.GenerateRandomLevel([](GameLogic& logic) { return EmptyBoardProvider(1, nullptr).Generate(logic); }));
    EXPECT_TRUE(level.GenerateRandomLevel(RandomLevelProvider::ForLevel(-1, nullptr)));
    EXPECT_TRUE(level.Start());
    EXPECT_EQ(level.GetParams().round, 1);
    EXPECT_EQ(level.GetParams().cellCount, level.GetLogic().GetBoard().CountExistingCells());
}
