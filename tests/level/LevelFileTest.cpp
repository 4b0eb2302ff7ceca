// Level files read whole and strictly: damaged markers, cut files, broken medal rules and
// generator states are refused with their reason; a few hundred seeded mutations of the test
// levels are each refused or play on with the file's own seed and medal rule. Counters beyond
// what a game reaches are refused in any body, and the score saturates instead of wrapping. An
// armed bonus that can never be used does not hold the turn.
// Rerun one case: test_level --gtest_filter='LevelFile.*'
#include "LevelTestSupport.h"

#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/HeadlessGame.h"
#include "tools/leveldriver/Replay.h"

#include "game/level/LevelFileCheck.h"
#include "game/level/LevelText.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>
#include <vector>

using namespace LevelTest;

namespace
{
const std::filesystem::path kLevels = std::filesystem::path(QUOLL_SOURCE_DIR) / "tests/level/data/levels";

// Bytes of the body after the logic section, and where the medal rule starts in it.
constexpr size_t kTail = LevelFileCheck::kTailWithMedalRule;
constexpr size_t kMedalRuleOffset = 100;
// The generator part at the end of a section: "qkrnd", the state's length and state, "qkrnd".
constexpr size_t kMagicBytes = 7;
constexpr size_t kStateBytes = 2500;

using Bytes = std::vector<uint8_t>;

Bytes LevelBytes(const std::string& name)
{
    Quoll::Buffer body;
    std::string error;
    EXPECT_TRUE(LoadLevelFile(kLevels / name, body, error)) << error;
    return {body.GetDataPtr(), body.GetDataPtr() + body.GetDataSize()};
}

Quoll::Buffer BufferOf(const Bytes& bytes)
{
    Quoll::Buffer buffer;
    buffer.WriteBytes(bytes.data(), bytes.size());
    return buffer;
}

void PutWord(Bytes& bytes, size_t at, int32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

// A level file read as the game reads one.
struct FileLoad
{
    RecordingLevelView view;
    RecordingLevelServices services;
    Level level{view, services};
    bool ok = false;

    explicit FileLoad(const Bytes& bytes, LevelBodyKind kind = LevelBodyKind::LevelFile)
    {
        Quoll::Buffer body = BufferOf(bytes);
        ok = level.Load(body, kind);
    }
    [[nodiscard]] std::string Error() const { return level.GetLoadError(); }
};

// The reason a damaged file is refused with; "loaded" when it is not refused.
std::string Refusal(const Bytes& bytes)
{
    FileLoad load(bytes);
    return load.ok ? "loaded" : load.Error();
}
} // namespace

TEST(LevelFile, DamagedMarkersAndMedalRulesAreRefusedWithTheirReason)
{
    const Bytes good = LevelBytes("two-players.txt");
    const size_t tail = good.size() - kTail;
    const size_t randomMagic = tail - 2 * kMagicBytes - 2 - kStateBytes;
    ASSERT_TRUE(FileLoad(good).ok);

    struct Case
    {
        const char* what;
        size_t at;
        int32_t word;
        const char* reason;
        // Whether a saved game with the same damage still reads as its format allows.
        bool savedLoads;
    };
    const std::vector<Case> cases = {
        {"the generator's opening marker", randomMagic + 3, 0x7071646b, "bytes follow the level-logic section", false},
        {"the medal-rule marker", tail + 96, 366, "marker is 366, not 365", true},
        {"the medal mode", tail + kMedalRuleOffset + 8, 2, "medal mode 2", true},
        {"a rounds threshold", tail + kMedalRuleOffset, -4, "threshold -4 is outside 0..100000 rounds", true},
        {"the generator's index", tail - kMagicBytes - 4, 625, "index 625 is outside 0..624", true},
        {"the seed itself", tail - kMagicBytes - kStateBytes, 4712, "generator state is damaged (1 words", true},
        {"a state word", tail - kMagicBytes - kStateBytes + 400, 12345, "generator state is damaged (2 words", true},
        {"the index of a fresh seed", tail - kMagicBytes - 4, 17, "a fresh seed with the index 17", true},
    };
    for (const Case& c : cases)
    {
        Bytes bad = good;
        PutWord(bad, c.at, c.word);
        FileLoad load(bad);
        EXPECT_FALSE(load.ok) << c.what;
        EXPECT_NE(load.Error().find(c.reason), std::string::npos) << c.what << ": " << load.Error();
        // A saved game is read as its format allows; a missing generator part shifts the
        // parameters, which then lie beyond any game.
        EXPECT_EQ(FileLoad(bad, LevelBodyKind::Saved).ok, c.savedLoads) << c.what;
    }
    // A cells threshold beyond the board.
    Bytes cells = good;
    PutWord(cells, tail + kMedalRuleOffset + 8, 0);
    PutWord(cells, tail + kMedalRuleOffset, 62);
    EXPECT_NE(Refusal(cells).find("threshold 62 is outside 0..61 cells"), std::string::npos) << Refusal(cells);
}

TEST(LevelFile, CutFilesAreRefusedUnlessTheyEndWhereOlderFilesEnd)
{
    const Bytes good = LevelBytes("three-players-bonuses.txt");
    for (size_t cut = 1; cut <= 120; ++cut)
    {
        SCOPED_TRACE(cut);
        const Bytes shorter(good.begin(), good.end() - static_cast<long>(cut));
        FileLoad load(shorter);
        if (cut == 16 || cut == kTail)
        {
            // The lengths of a body without a medal rule and of a logic section alone: they load
            // with the default rule, and the log says so.
            ASSERT_TRUE(load.ok) << load.Error();
            EXPECT_EQ(load.level.GetMedalRule(), (MedalRule{1, 2, 1}));
            ASSERT_EQ(load.services.GetErrors().size(), 1u);
            EXPECT_EQ(load.services.GetErrors()[0], "Level file without a medal rule: the default rule grades it");
        }
        else
        {
            EXPECT_FALSE(load.ok);
            EXPECT_FALSE(load.Error().empty());
        }
    }
    // Bytes after a whole file.
    Bytes longer = good;
    longer.push_back(0);
    EXPECT_NE(Refusal(longer).find("113 bytes follow"), std::string::npos) << Refusal(longer);
}

TEST(LevelFile, FilesCutWhereOlderFilesEndNameTheLayoutTheyLoadAs)
{
    // Cut at each end an older file has: the level, levelc print and the driver name the layout
    // read and what stands in for each missing part.
    const Bytes good = LevelBytes("three-players-bonuses.txt");
    const size_t generatorPart = 2 * kMagicBytes + 2 + kStateBytes;
    const std::string noMedalRule = "no medal rule (the default rule)";
    const std::string noParameters = "no parameters (filled afresh); " + noMedalRule;
    const std::pair<size_t, std::string> cases[] = {
        {0, "current layout (level-logic section with its generator state, parameters, medal rule)"},
        {16, "older layout: " + noMedalRule},
        {kTail, "older layout: " + noParameters},
        {kTail + generatorPart, "older layout: no generator state (the default seed); " + noParameters},
    };
    for (const auto& [cut, layout] : cases)
    {
        SCOPED_TRACE(cut);
        const Bytes shorter(good.begin(), good.end() - static_cast<long>(cut));
        FileLoad load(shorter);
        ASSERT_TRUE(load.ok) << load.Error();
        ASSERT_TRUE(load.level.GetFileLayout().has_value());
        EXPECT_EQ(load.level.GetFileLayout()->Describe(), layout);

        Quoll::Buffer body = BufferOf(shorter);
        std::string text;
        LevelTextError error;
        ASSERT_TRUE(PrintLevelText(body, text, error)) << error.ToString();
        EXPECT_EQ(text.substr(0, text.find('\n')), "# " + layout);

        GameSetup setup;
        setup.levelBody = BufferOf(shorter);
        std::optional<LevelFileLayout> driven;
        EXPECT_EQ(HeadlessGame::FindLevelFault(setup, &driven), "");
        EXPECT_EQ(driven, load.level.GetFileLayout());
    }
    // Saved games and refused files have no file layout.
    EXPECT_FALSE(FileLoad(good, LevelBodyKind::Saved).level.GetFileLayout().has_value());
    EXPECT_FALSE(FileLoad(Bytes(good.begin(), good.end() - 1)).level.GetFileLayout().has_value());
}

TEST(LevelFile, SessionsReportALevelFileThatDoesNotOpen)
{
    Bytes bad = LevelBytes("two-players.txt");
    PutWord(bad, bad.size() - 16, 364);
    RecordingLevelView view;
    RecordingLevelServices services;
    LevelSession session(view, services);
    Quoll::Buffer body = BufferOf(bad);
    EXPECT_FALSE(session.Load(body, LevelBodyKind::LevelFile));
    EXPECT_FALSE(session.HasLevel());
    ASSERT_EQ(services.GetErrors().size(), 1u);
    EXPECT_EQ(services.GetErrors()[0], "Cannot open Level file: its medal-rule marker is 364, not 365");
    EXPECT_EQ(session.GetLoadError(), "its medal-rule marker is 364, not 365");
}

TEST(LevelFile, AGeneratorThatWasDrawnFromIsNoDamage)
{
    // A level saved in the middle of a game keeps a generator state that no seed explains.
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 1}, 1, 5);
    f.HumanMove(30, 31);
    f.RunToHuman();
    Quoll::Buffer body;
    f.level().Save(body, false);
    const FileLoad load(Bytes(body.GetDataPtr(), body.GetDataPtr() + body.GetDataSize()));
    ASSERT_TRUE(load.ok) << load.Error();
    EXPECT_EQ(load.level.GetLogic().GetRandom().GetState(), f.level().GetLogic().GetRandom().GetState());
}

TEST(LevelFile, MutatedFilesAreRefusedOrPlayWithTheirOwnSeedAndMedalRule)
{
    // Seeded mutations of the test levels: flipped bytes anywhere, bytes inserted, and cuts.
    // Every one is refused with a reason, or loads with the original's generator and medal rule
    // (unless the mutation lies in the medal rule's own bytes) and plays a few rounds.
    std::mt19937 rng(2207);
    int refused = 0;
    int played = 0;
    for (const char* name : {"two-players.txt", "three-players-bonuses.txt", "boss.txt"})
    {
        const Bytes original = LevelBytes(name);
        const FileLoad reference(original);
        ASSERT_TRUE(reference.ok);
        const size_t ruleStart = original.size() - 12;
        for (int i = 0; i < 100; ++i)
        {
            Bytes bytes = original;
            const size_t at = rng() % bytes.size();
            const int kind = i % 5;
            if (kind <= 2)
                bytes[at] ^= static_cast<uint8_t>(1 + rng() % 255);
            else if (kind == 3)
                bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<uint8_t>(rng()));
            else
                bytes.resize(bytes.size() - 1 - rng() % 80);
            SCOPED_TRACE(std::string(name) + " mutation " + std::to_string(i) + " at " + std::to_string(at));
            const FileLoad load(bytes);
            if (!load.ok)
            {
                EXPECT_FALSE(load.Error().empty());
                ++refused;
                continue;
            }
            EXPECT_EQ(load.level.GetLogic().GetRandom().GetState(), reference.level.GetLogic().GetRandom().GetState());
            const bool inRule = kind <= 2 && at >= ruleStart;
            const bool noRuleLogged = !load.services.GetErrors().empty();
            if (!inRule && !noRuleLogged)
            {
                EXPECT_EQ(load.level.GetMedalRule(), reference.level.GetMedalRule());
            }
            GameSetup setup;
            setup.levelBody = BufferOf(bytes);
            setup.roundCap = 3;
            DriverPolicy policy(static_cast<uint32_t>(i), PolicyKind{}, 30);
            const GameRecord record = HeadlessGame(setup).Play(policy);
            EXPECT_EQ(record.stopReason.find("soft lock"), std::string::npos);
            EXPECT_FALSE(record.lines.empty()) << record.stopReason;
            ++played;
        }
    }
    // Most bytes are the generator's: most mutations are refused, and some still play.
    EXPECT_GT(refused, 200);
    EXPECT_GT(played, 5);
}

TEST(LevelFile, CountersBeyondAGameAreRefusedInAnyBody)
{
    LevelFixture f;
    f.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    Quoll::Buffer saved;
    f.level().Save(saved, false);
    const Bytes good(saved.GetDataPtr(), saved.GetDataPtr() + saved.GetDataSize());
    const size_t tail = good.size() - kTail;
    struct Case
    {
        size_t word;
        int32_t value;
        const char* line;
    };
    const std::vector<Case> cases = {
        {12, INT_MAX, "Level parameter score 2147483647 is outside 0..100000000"},
        {15, -1, "Level parameter captureScore -1 is outside 0..100000000"},
        {8, INT_MAX - 3, "Level parameter capturedCells[1] 2147483644 is outside 0..600000"},
        {11, -7, "Level parameter round -7 is outside 0..100000"},
        {2, 62, "Level parameter playerCells[1] 62 is outside 0..61"},
        {20, 11, "Level parameter bossHitPoints 11 is outside 0..10"},
    };
    for (const Case& c : cases)
    {
        Bytes bad = good;
        PutWord(bad, tail + 4 * c.word, c.value);
        for (LevelBodyKind kind : {LevelBodyKind::Saved, LevelBodyKind::LevelFile})
        {
            const FileLoad load(bad, kind);
            EXPECT_FALSE(load.ok) << c.line;
            ASSERT_EQ(load.services.GetErrors().size(), 1u) << c.line;
            EXPECT_EQ(load.services.GetErrors()[0], c.line);
        }
    }
    // At the ceiling the score saturates: a six-cell capture adds nothing more.
    Bytes top = good;
    PutWord(top, tail + 4 * 12, kMaxScore);
    PutWord(top, tail + 4 * 15, kMaxScore - 10);
    FileLoad load(top, LevelBodyKind::Saved);
    ASSERT_TRUE(load.ok) << load.Error();
    EXPECT_EQ(load.level.AddScore(ScoreKind::Captures, 6), 60);
    EXPECT_EQ(load.level.GetParams().score, kMaxScore);
    EXPECT_EQ(load.level.GetParams().captureScore, kMaxScore);
}

TEST(LevelFile, AnArmedBonusThatCanNeverBeUsedDoesNotHoldTheTurn)
{
    // A teleport armed with no bacterium selected, and a mine armed with no free cell left.
    LevelFixture teleportGame;
    teleportGame.StartPicture(Picture({{30, '1'}, {0, '2'}}), {-1, 0});
    Quoll::Buffer body;
    teleportGame.level().Save(body, false);
    Bytes bytes(body.GetDataPtr(), body.GetDataPtr() + body.GetDataSize());
    const size_t tail = bytes.size() - kTail;
    PutWord(bytes, tail + 4 * 16, BONUS_TELEPORT);
    PutWord(bytes, tail + 4 * 19, 0);
    PutWord(bytes, tail + 92, -1);

    LevelFixture f;
    f.StartBody(BufferOf(bytes));
    EXPECT_EQ(f.level().GetState(), LevelState::HumanToMove);
    EXPECT_FALSE(f.level().HasPendingBonus());
    EXPECT_EQ(f.level().GetParams().armedSlot, -1);
    EXPECT_EQ(f.level().GetParams().inventory[0], 0);
    f.HumanMove(30, 31);
    f.RunToHuman();
    EXPECT_EQ(f.level().GetLogic().GetBoard().GetOwner(31), 1);

    // Selected, but on a cell of the computer player: the same.
    PutWord(bytes, tail + 92, 0);
    LevelFixture g;
    g.StartBody(BufferOf(bytes));
    EXPECT_EQ(g.level().GetState(), LevelState::HumanToMove);

    // A teleport with its bacterium selected still waits for its target.
    PutWord(bytes, tail + 92, 30);
    LevelFixture armed;
    armed.StartBody(BufferOf(bytes));
    EXPECT_EQ(armed.level().GetState(), LevelState::BonusArmed);
    armed.Click(45);
    armed.RunToHuman();
    EXPECT_EQ(armed.level().GetLogic().GetBoard().GetOwner(45), 1);

    // A mine with no free cell to lay it on.
    LevelFixture full;
    full.StartPicture(Picture({{30, '1'}, {0, '2'}}, '2'), {-1, 0});
    Quoll::Buffer fullBody;
    full.level().Save(fullBody, false);
    Bytes fullBytes(fullBody.GetDataPtr(), fullBody.GetDataPtr() + fullBody.GetDataSize());
    PutWord(fullBytes, fullBytes.size() - kTail + 4 * 16, BONUS_MINE);
    PutWord(fullBytes, fullBytes.size() - kTail + 4 * 19, 0);
    LevelFixture h;
    h.StartBody(BufferOf(fullBytes));
    EXPECT_FALSE(h.level().HasPendingBonus());
}
