#pragma once
// HeadlessGame: plays one level to its end without a screen. The level runs in a LevelSession
// with the driver's view and null game services; the services' clock advances one logic step per
// update. The human's side comes from an InputSource (a seeded policy, or the acts of a replay);
// every other side is the level's own computer players, and on a boss level the boss's rules
// (the level's own, its ray advanced by the session). The game is written down as it goes, one
// line per event, and always ends with one of the three end lines:
//   turn <player> <round> <board> <hash> <random>
//                                         a turn begins (board: the 61 cell symbols of a board
//                                         picture with '-' for holes; hash: every cell word;
//                                         random: the level generator's state)
//   human / bonus / stepback / portrait   the human's acts (see DriverInput)
//   move <player> <from> <to>             a move is made
//   result <winner> score <s> medal <m> round <r> cells <c>
//   capped round <r> cells <c>            the round cap ended the game first
//   softlock round <r> cells <c>          nothing moved and no turn began for kSoftLockUpdates
// A game whose human has no act left when one is needed stops without an end line.
#include "tools/leveldriver/DriverInput.h"
#include "tools/leveldriver/DriverLevelView.h"

#include "game/level/NullLevelServices.h"

#include "framework/core/Buffer.h"
#include "framework/core/MersenneTwister.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GameSetup
{
    // A level file's bytes.
    Quoll::Buffer levelBody;
    // The current level number (1..70; minus the episode for a random level): the level bonus.
    int levelNumber = 1;
    // The program-wide generator's seed.
    uint32_t seed = 1;
    // When set, the level's own generator (its computer players' draws) is seeded afresh with
    // it once the level file has been checked; otherwise the game plays with the file's.
    std::optional<uint32_t> levelSeed;
    // The game stops when the round after this one begins.
    int roundCap = 200;
};

struct GameRecord
{
    std::vector<std::string> lines;
    // Set when the game ended normally.
    std::optional<LevelOutcome> outcome;
    int rounds = 0;
    int humanCells = 0;
    // Why the game stopped early ("" when it did not).
    std::string stopReason;
    // The layout of the level file as it stands, once it has loaded.
    std::optional<LevelFileLayout> layout;

    [[nodiscard]] bool Finished() const { return outcome.has_value(); }
};

class HeadlessGame : private DriverLevelView::Observer
{
public:
    // Upper bound of logic updates for one game.
    static constexpr int kMaxUpdates = 2000000;
    // Updates without a move or a new turn after which a game counts as soft-locked.
    static constexpr int kSoftLockUpdates = 5000;

    explicit HeadlessGame(const GameSetup& setup);
    ~HeadlessGame() override;
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // Plays the level; the record's stop reason says why the level did not load or start, or
    // that the human had no act left, the game soft-locked or the update bound was reached.
    GameRecord Play(InputSource& human);

    // Why the setup's level does not load or start; empty when it does. The layout of a file
    // that loads goes to layout when one is given.
    [[nodiscard]] static std::string FindLevelFault(const GameSetup& setup,
                                                    std::optional<LevelFileLayout>* layout = nullptr);

    // The level file's body with its level's generator seeded afresh; nothing when its logic
    // section does not read.
    [[nodiscard]] static std::optional<Quoll::Buffer> ReseedLevelBody(const Quoll::Buffer& body, uint32_t seed);

    // The record's line of a turn the player begins in the level.
    [[nodiscard]] static std::string TurnLine(int player, const Level& level);
    // One line of 61 cell symbols, a hash of every cell word, a hash of a generator's state.
    [[nodiscard]] static std::string BoardSymbols(const Board& board);
    [[nodiscard]] static uint64_t BoardHash(const Board& board);
    [[nodiscard]] static uint64_t RandomHash(const Quoll::MersenneTwister& random);

private:
    void OnMoveShown(int from, int to) override;
    void OnTurnBegun(int player) override;
    [[nodiscard]] bool WaitsForHuman() const;
    bool LoadLevel();
    void Apply(const DriverInput& input);
    void Finish(const std::string& capLine);

    GameSetup mSetup;
    DriverLevelView mView;
    NullLevelServices mServices;
    LevelSession mSession{mView, mServices};
    GameRecord mRecord;
    // The update of the last move shown or turn begun.
    int mUpdate = 0;
    int mLastProgress = 0;
};
