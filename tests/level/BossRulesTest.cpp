// The boss's rules on boss levels played through the recording view (which offers no boss of
// its own, so the level plays by the rules alone): the spawn bag, where the ray hits and what it
// changes, the countdown, the game result while the boss lives and once it is beaten, bombs on
// the portrait and the bonuses left on the boss's captured cells.
// Rerun one case: test_level --gtest_filter='BossRules.*'
#include "LevelTestSupport.h"

#include "framework/core/MersenneTwister.h"

#include <gtest/gtest.h>

using namespace LevelTest;

namespace
{
// Player 2 the boss, player 3 its minion.
const std::vector<int> kBossPlayers = {-1, 3, 0};

// Runs the ray of the level's own boss to its end.
void FinishRay(LevelFixture& f)
{
    for (int i = 0; i < 1000 && f.level().IsBusy(); ++i)
        f.Step();
}

// The level's own rules; the tests drive them as the level would.
BossRules& OwnBoss(LevelFixture& f) { return *f.level().GetOwnBoss(); }
} // namespace

TEST(BossRules, TheSpawnBagStartsWithABombThenDrawsAFreshBagEachTimeABombComes)
{
    BossSpawnBag bag;
    Quoll::MersenneTwister random;
    random.Seed(77);
    Quoll::MersenneTwister reference;
    reference.Seed(77);
    EXPECT_EQ(bag.Next(random), 12);
    // The refill drawn with the bomb: 4, 8 or 12 per slot, a 12 in the first two slots a laid mine.
    for (int slot = 0; slot < 3; ++slot)
    {
        const int drawn = 4 + 4 * static_cast<int>(reference.Next(3));
        const int expected = drawn == 12 && slot < 2 ? 16 : drawn;
        const int kind = bag.Next(random);
        EXPECT_EQ(kind, expected) << slot;
        if (kind == 12)
            break; // a bomb in the third slot refills at once
    }
    // Over a long run: only the four kinds, and never more than three draws between bombs.
    int sinceBomb = 0;
    for (int i = 0; i < 500; ++i)
    {
        const int kind = bag.Next(random);
        ASSERT_TRUE(kind == 4 || kind == 8 || kind == 12 || kind == 16) << kind;
        sinceBomb = kind == 12 ? 0 : sinceBomb + 1;
        ASSERT_LE(sinceBomb, 3);
    }
    bag.Reset();
    EXPECT_EQ(bag.Next(random), 12);
}

TEST(BossRules, TheRayHitsAnUntouchedFreeCellAndNothingAroundIt)
{
    // Free cells 40..43; cell 44 is free but holds a bonus, so it is never aimed at.
    std::string picture = HolesAnd({{0, '1'}, {1, '1'}, {60, '2'}, {59, '3'}, {40, '.'}, {41, '.'}, {42, '.'}, {43, '.'}, {44, '.'}});
    for (uint32_t seed = 1; seed <= 12; ++seed)
    {
        LevelFixture f;
        f.StartBody(LogicBodyWithBonuses(picture, kBossPlayers, 1, {{44, BONUS_MINE}}));
        ASSERT_NE(f.level().GetOwnBoss(), nullptr);
        Quoll::SeedRandom(seed);
        const Board before = f.level().GetLogic().GetBoard();
        OwnBoss(f).StartAttack();
        const int target = OwnBoss(f).GetTargetCell();
        ASSERT_TRUE(target >= 40 && target <= 43) << target;
        // The boss's bacterium comes with the ray, not before it.
        EXPECT_TRUE(f.level().IsBusy());
        EXPECT_EQ(OwnBoss(f).GetPhase(), BossPhase::RayFlying);
        EXPECT_EQ(f.level().GetLogic().GetBoard(), before);
        FinishRay(f);
        Board after = f.level().GetLogic().GetBoard();
        EXPECT_EQ(after.GetOwner(target), 2);
        after.SetOwner(target, 0);
        EXPECT_EQ(after, before) << "only the target changed";
        EXPECT_EQ(f.view.Count("AddBacteria " + std::to_string(target) + " 2", true), 1);
    }
}

TEST(BossRules, TheBossDrawsFromTheLevelsGeneratorAloneSoTheScreensDrawsChangeNothing)
{
    // The same boss level twice, the second time with the program-wide generator (the screen's
    // effects) drawn from between the attacks: the boss aims at the same cells, and its bag
    // leaves the same bonuses, as a saved game or the headless driver would see them.
    const std::string picture = HolesAnd({{0, '1'}, {1, '.'}, {2, '2'}, {7, '2'}, {50, '3'}, {30, '.'}, {31, '.'},
                                          {32, '.'}, {33, '.'}, {34, '.'}, {35, '.'}, {36, '.'}, {51, '.'}});
    std::vector<int> targets[2];
    Board boards[2];
    for (int run = 0; run < 2; ++run)
    {
        LevelFixture f;
        f.StartPicture(picture, kBossPlayers);
        GetBossSpawnBag().Reset();
        Quoll::SeedRandom(9);
        f.HumanMove(0, 1);
        f.Step();
        for (int attack = 0; attack < 4; ++attack)
        {
            if (run == 1)
                for (int i = 0; i < 37 + attack; ++i)
                    Quoll::RandomWord();
            OwnBoss(f).StartAttack();
            targets[run].push_back(OwnBoss(f).GetTargetCell());
            FinishRay(f);
        }
        boards[run] = f.level().GetLogic().GetBoard();
    }
    EXPECT_EQ(targets[0], targets[1]);
    EXPECT_EQ(boards[0], boards[1]);
}

TEST(BossRules, WithoutAFreeCellTheRayHitsTheHumanAndWipesOutTheSixAround)
{
    // A full board: the human holds the middle, the boss and minion the rest.
    std::string picture = Picture({}, '2');
    for (int cell : {20, 21, 22, 28, 29, 30, 31, 32, 38, 39, 40})
        picture[static_cast<size_t>(cell)] = '1';
    picture[0] = '3';
    LevelFixture f;
    f.StartPicture(picture, kBossPlayers);
    Quoll::SeedRandom(5);
    OwnBoss(f).StartAttack();
    const int target = OwnBoss(f).GetTargetCell();
    const Board& board = f.level().GetLogic().GetBoard();
    ASSERT_TRUE(f.level().GetLogic().GetBoard().GetOwner(target) == 1 || target == -1);
    FinishRay(f);
    EXPECT_EQ(board.GetOwner(target), 2);
    const CellSet ring = f.level().GetLogic().GetNeighbourTables().Ring1(target);
    EXPECT_EQ(ring.Count(), 6);
    for (int neighbour : ring)
        EXPECT_EQ(board.GetOwner(neighbour), 0) << neighbour;
    EXPECT_EQ(f.level().GetLogic().GetFreeCellCount(), 6);
}

TEST(BossRules, TheBossActsEveryOtherRoundOrAtOnceWithoutCellsOrFreeCells)
{
    LevelFixture f;
    f.StartPicture(HolesAnd({{0, '1'}, {1, '.'}, {2, '.'}, {3, '.'}, {60, '2'}, {59, '3'}}), kBossPlayers);
    BossRules& boss = OwnBoss(f);
    EXPECT_EQ(boss.GetCountdown(), 2);
    EXPECT_FALSE(boss.CanAct());
    boss.OnTurnPassed();
    EXPECT_EQ(boss.GetCountdown(), 1);
    EXPECT_FALSE(f.level().IsBusy());
    boss.OnTurnPassed();
    EXPECT_EQ(boss.GetCountdown(), 2) << "the attack resets the countdown";
    EXPECT_TRUE(f.level().IsBusy());
    FinishRay(f);
    // A boss without cells acts at once; a beaten boss never does.
    LevelFixture none;
    none.StartPicture(HolesAnd({{0, '1'}, {1, '.'}, {59, '3'}, {58, '.'}}), kBossPlayers);
    EXPECT_TRUE(OwnBoss(none).CanAct());
    OwnBoss(none).HitBoss(99);
    EXPECT_EQ(OwnBoss(none).GetHitPoints(), 0);
    EXPECT_FALSE(OwnBoss(none).CanAct());
    EXPECT_EQ(OwnBoss(none).GetPhase(), BossPhase::Beaten);
}

TEST(BossRules, ALiveBossKeepsTheGameGoingAndABeatenOneHandsTheHumanTheWin)
{
    LevelFixture f;
    f.StartPicture(HolesAnd({{0, '1'}, {1, '.'}, {2, '.'}, {10, '2'}, {59, '3'}}), kBossPlayers);
    BossRules& boss = OwnBoss(f);
    EXPECT_EQ(boss.AdjustGameResult(1), 0);
    EXPECT_EQ(boss.AdjustGameResult(2), 2);
    EXPECT_EQ(boss.AdjustGameResult(3), 2);
    EXPECT_EQ(boss.AdjustGameResult(0), 0);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::BossBeaten), 0);
    boss.HitBoss(9);
    EXPECT_EQ(boss.AdjustGameResult(1), 0) << "one hit point left";
    boss.HitBoss(1);
    EXPECT_EQ(boss.AdjustGameResult(2), 1);
    EXPECT_EQ(f.services.CountEvent(AchievementEvent::BossBeaten), 1);
    const Board& board = f.level().GetLogic().GetBoard();
    EXPECT_EQ(f.level().GetLogic().GetFreeCellCount(), 0);
    EXPECT_EQ(board.GetOwner(1), 1);
    EXPECT_EQ(board.GetOwner(2), 1);
    EXPECT_EQ(board.GetOwner(10), 2) << "only free cells go to the human";

    // Through the session: the human's capture of the last enemy cells does not end the level.
    LevelFixture game;
    game.StartPicture(HolesAnd({{0, '1'}, {1, '.'}, {2, '2'}, {7, '3'}, {20, '.'}, {21, '.'}}), kBossPlayers);
    game.HumanMove(0, 1);
    game.RunToHuman();
    EXPECT_FALSE(game.session.IsOver());
    EXPECT_EQ(game.level().GetLogic().GetCellCount(3), 0);
}

TEST(BossRules, AnArmedBombDroppedOnThePortraitCostsTheBossAHitPoint)
{
    // The human lands on a bomb; the bomb is armed at once.
    const std::string picture = HolesAnd({{0, '1'}, {1, '.'}, {30, '2'}, {31, '.'}, {50, '3'}, {51, '.'}});
    LevelFixture f;
    f.StartBody(LogicBodyWithBonuses(picture, kBossPlayers, 1, {{1, BONUS_BOMB}}));
    f.HumanMove(0, 1);
    f.RunToHuman();
    ASSERT_EQ(f.level().GetState(), LevelState::BonusArmed);
    EXPECT_EQ(OwnBoss(f).GetPendingBonus(), BONUS_BOMB);
    // Beside the portrait nothing happens; on it the boss takes the hit and the board is spared.
    f.level().OnMouseDown({kScreenlessPortrait.x - 1, kScreenlessPortrait.y + 5});
    EXPECT_EQ(f.level().GetParams().bossHitPoints, 10);
    f.level().OnMouseDown(kScreenlessPortrait.Centre());
    f.RunToHuman();
    EXPECT_EQ(f.level().GetParams().bossHitPoints, 9);
    EXPECT_EQ(f.level().GetParams().inventory[0], 0);
    EXPECT_EQ(OwnBoss(f).GetPendingBonus(), 0);
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetOwner(30), 2);
    // Another bonus on the portrait is no hit.
    EXPECT_FALSE(OwnBoss(f).TryUseBonus(kScreenlessPortrait.Centre()));
    OwnBoss(f).SetPendingBonus(BONUS_MINE);
    EXPECT_FALSE(OwnBoss(f).TryUseBonus(kScreenlessPortrait.Centre()));
    EXPECT_EQ(f.level().GetParams().bossHitPoints, 9);
}

TEST(BossRules, TheBossesCapturedCellsGetTheSpawnBagsBonuses)
{
    const std::string picture = HolesAnd({{0, '1'}, {1, '.'}, {2, '2'}, {7, '2'}, {50, '3'}, {51, '.'}});
    LevelFixture f;
    f.StartPicture(picture, kBossPlayers);
    GetBossSpawnBag().Reset();
    Quoll::SeedRandom(3);
    f.HumanMove(0, 1);
    f.Step();
    const Board& board = f.level().GetLogic().GetBoard();
    // The boss's captured cells are emptied and hold the bag's kinds: the first a bomb.
    EXPECT_EQ(board.GetOwner(2), 0);
    EXPECT_EQ(board.GetBonus(2), BONUS_BOMB);
    EXPECT_EQ(board.GetOwner(7), 0);
    EXPECT_NE(board.GetBonus(7), BONUS_NONE);
    EXPECT_EQ(f.view.Count("AddBonus 2 12", true), 1);
}

TEST(BossRules, AHumanWhoseLastMoveTheRayTookPassesTheTurn)
{
    // The human's only free cell is the boss's only target; once the ray lands the human cannot
    // move, so the turn passes (here the full board ends the game) instead of waiting for ever.
    LevelFixture f;
    f.StartPicture(HolesAnd({{0, '1'}, {1, '.'}, {59, '3'}, {60, '2'}}), kBossPlayers);
    ASSERT_EQ(f.level().GetState(), LevelState::HumanToMove);
    OwnBoss(f).StartAttack();
    EXPECT_EQ(OwnBoss(f).GetTargetCell(), 1);
    for (int i = 0; i < 1000 && !f.session.IsOver(); ++i)
        f.Step();
    ASSERT_TRUE(f.session.IsOver());
    EXPECT_EQ(f.session.GetOutcome()->result, 2);
}
