// The saved level body: its sizes, a full round trip into a fresh level, the reset save, the
// older bodies without a medal rule, a wrong marker, repaired values, refused logic sections
// and bodies cut inside the parameters.
// Rerun one case: test_level --gtest_filter='LevelSave.*'
#include "LevelTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace LevelTest;

namespace
{
// Word offsets within the body's tail (after the logic section).
constexpr size_t kArmedSlotWord = 19;
constexpr size_t kStepBacksWord = 22;
constexpr size_t kInventoryWord = 16;
constexpr size_t kSelectedOffset = 92;
constexpr size_t kMarkerOffset = 96;

std::vector<uint8_t> Bytes(const Quoll::Buffer& buffer)
{
    return {buffer.GetDataPtr(), buffer.GetDataPtr() + buffer.GetDataSize()};
}

Quoll::Buffer FromBytes(const std::vector<uint8_t>& bytes)
{
    Quoll::Buffer buffer;
    buffer.WriteBytes(bytes.data(), bytes.size());
    return buffer;
}

// The body with one 32-bit word of its tail replaced.
Quoll::Buffer PatchTail(const Quoll::Buffer& body, size_t tailOffset, int32_t value)
{
    std::vector<uint8_t> bytes = Bytes(body);
    const size_t at = bytes.size() - Level::kBodyTailBytes + tailOffset;
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    return FromBytes(bytes);
}

Quoll::Buffer CutTail(const Quoll::Buffer& body, size_t dropBytes)
{
    std::vector<uint8_t> bytes = Bytes(body);
    bytes.resize(bytes.size() - dropBytes);
    return FromBytes(bytes);
}

struct Loaded
{
    RecordingLevelView view;
    RecordingLevelServices services;
    Level level{view, services};
    bool ok = false;

    explicit Loaded(Quoll::Buffer body)
    {
        body.SeekReadStart();
        ok = level.Load(body);
    }
};
} // namespace

TEST(LevelSave, BodySizesForTwoAndThreePlayers)
{
    LevelFixture two;
    two.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    Quoll::Buffer body;
    EXPECT_TRUE(two.level().Save(body, false));
    EXPECT_EQ(body.GetDataSize(), 2920u);

    LevelFixture three;
    three.StartPicture(Picture({{30, '1'}, {0, '2'}, {60, '3'}}), {-1, 0, 1});
    Quoll::Buffer body3;
    three.level().Save(body3, false);
    EXPECT_EQ(body3.GetDataSize(), 2924u);
    // The tail: marker 365 at offset 96.
    const std::vector<uint8_t> bytes = Bytes(body3);
    const size_t marker = bytes.size() - Level::kBodyTailBytes + kMarkerOffset;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + static_cast<long>(marker), bytes.begin() + static_cast<long>(marker) + 4),
              (std::vector<uint8_t>{0x6D, 0x01, 0x00, 0x00}));
}

TEST(LevelSave, RoundTripIntoAFreshLevel)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {32, '1'}, {0, '2'}, {60, '2'}}), {-1, 1}, 1, 99);
    f.HumanMove(30, 31);
    f.RunToHuman();
    f.level().AddScore(ScoreKind::HiddenObject, 2);
    f.level().EditSetMedalThresholds(9, 4);
    f.Click(32);
    Quoll::Buffer body;
    f.level().Save(body, false);

    Loaded copy(body);
    ASSERT_TRUE(copy.ok);
    const Level& original = f.level();
    EXPECT_EQ(copy.level.GetParams(), original.GetParams());
    EXPECT_EQ(copy.level.GetSelectedCell(), 32);
    EXPECT_EQ(copy.level.GetMedalRule(), (MedalRule{4, 9, 1}));
    EXPECT_EQ(copy.level.GetLogic().GetBoard(), original.GetLogic().GetBoard());
    EXPECT_EQ(copy.level.GetLogic().GetPlayers(), original.GetLogic().GetPlayers());
    EXPECT_EQ(copy.level.GetLogic().GetCurrentPlayer(), original.GetLogic().GetCurrentPlayer());
    EXPECT_EQ(copy.level.GetLogic().GetRandom().GetState(), original.GetLogic().GetRandom().GetState());
    EXPECT_EQ(copy.services.GetNullTutorial().GetLoadCount(), 1);
}

TEST(LevelSave, ResetSaveKeepsTheBoardWithFreshParameters)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    f.HumanMove(30, 31);
    f.RunToHuman();
    f.level().AddScore(ScoreKind::HiddenObject, 1);
    f.Click(31);
    Quoll::Buffer body;
    f.level().Save(body, true);

    Loaded copy(body);
    ASSERT_TRUE(copy.ok);
    const LevelParams& params = copy.level.GetParams();
    EXPECT_EQ(params.round, 1);
    EXPECT_EQ(params.score, 0);
    EXPECT_EQ(params.armedSlot, -1);
    EXPECT_EQ(params.stepBacksLeft, 3);
    EXPECT_EQ(params.cellCount, 61);
    EXPECT_EQ(params.playerCount, 2);
    EXPECT_EQ(copy.level.GetSelectedCell(), -1);
    EXPECT_EQ(copy.level.GetLogic().GetBoard(), f.level().GetLogic().GetBoard());
}

TEST(LevelSave, OlderBodiesAndWrongMarkersKeepTheDefaultMedalRule)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    f.level().EditSetMedalThresholds(20, 30);
    f.level().EditToggleMedalMode();
    Quoll::Buffer body;
    f.level().Save(body, false);

    // Ending right after the selected cell: defaults 2, 1, 1, ordered for rounds.
    Loaded older(CutTail(body, 16));
    ASSERT_TRUE(older.ok);
    EXPECT_EQ(older.level.GetMedalRule(), (MedalRule{1, 2, 1}));
    EXPECT_TRUE(older.services.GetErrors().empty());

    // Marker 364: the read position stays before it.
    Quoll::Buffer wrong = PatchTail(body, kMarkerOffset, 364);
    wrong.SeekReadStart();
    RecordingLevelView view;
    RecordingLevelServices services;
    Level level(view, services);
    ASSERT_TRUE(level.Load(wrong));
    EXPECT_EQ(level.GetMedalRule(), (MedalRule{1, 2, 1}));
    EXPECT_EQ(static_cast<size_t>(wrong.GetReadBitPos()), (wrong.GetDataSize() - 16) * 8);
}

TEST(LevelSave, OutOfRangeValuesAreRepaired)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    Quoll::Buffer body;
    f.level().Save(body, false);

    EXPECT_EQ(Loaded(PatchTail(body, kStepBacksWord * 4, 7)).level.GetParams().stepBacksLeft, 3);
    EXPECT_EQ(Loaded(PatchTail(body, kSelectedOffset, -5)).level.GetSelectedCell(), -1);
    EXPECT_EQ(Loaded(PatchTail(body, kSelectedOffset, 70)).level.GetSelectedCell(), -1);
    EXPECT_EQ(Loaded(PatchTail(body, kSelectedOffset, 60)).level.GetSelectedCell(), 60);
    EXPECT_EQ(Loaded(PatchTail(body, kArmedSlotWord * 4, 5)).level.GetParams().armedSlot, -1);
    EXPECT_EQ(Loaded(PatchTail(body, kInventoryWord * 4, 7)).level.GetParams().inventory[0], 0);
    EXPECT_EQ(Loaded(PatchTail(body, kInventoryWord * 4, BONUS_BOMB)).level.GetParams().inventory[0], BONUS_BOMB);
    EXPECT_EQ(Loaded(PatchTail(body, 4, 3)).level.GetParams().playerCount, 2);
}

TEST(LevelSave, ArmedSlotWithAnEmptyInventoryDoesNotWait)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    Quoll::Buffer body;
    f.level().Save(body, false);
    LevelFixture g;
    g.StartBody(PatchTail(body, kArmedSlotWord * 4, 1));
    EXPECT_EQ(g.level().GetState(), LevelState::HumanToMove);
    EXPECT_EQ(g.level().GetParams().armedSlot, -1);
}

TEST(LevelSave, BrokenLogicSectionsAndCutParameters)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    Quoll::Buffer body;
    f.level().Save(body, false);

    std::vector<uint8_t> bytes = Bytes(body);
    bytes[3] = 'X'; // the opening magic
    Loaded broken(FromBytes(bytes));
    EXPECT_FALSE(broken.ok);
    ASSERT_EQ(broken.services.GetErrors().size(), 1u);
    EXPECT_EQ(broken.services.GetErrors()[0], "Error read Level");

    // Cut inside the parameters: unfilled parameters, which Start fills afresh.
    Loaded cut(CutTail(body, 60));
    ASSERT_TRUE(cut.ok);
    EXPECT_EQ(cut.level.GetParams().playerCount, 0);
    EXPECT_EQ(cut.services.GetErrors().size(), 1u);
    ASSERT_TRUE(cut.level.Start());
    EXPECT_EQ(cut.level.GetParams().round, 1);
    EXPECT_EQ(cut.level.GetParams().stepBacksLeft, 3);

    // The logic section alone, as older level files hold it: no complaint.
    Loaded logicOnly(CutTail(body, Level::kBodyTailBytes));
    ASSERT_TRUE(logicOnly.ok);
    EXPECT_TRUE(logicOnly.services.GetErrors().empty());
}
