#pragma once
// Autoplay: the play screen run headless on the game application, with every random draw seeded,
// and a player that clicks a legal human move chosen by its own seeded generator, and places an
// armed bonus as the level expects: a mine or teleport on a free cell, a bomb on the boss's
// portrait while the boss lives, else on an enemy cell. It writes one log line per turn (the
// level's parameters), the human's acts, the level's sounds, the live particle systems when
// their number changes, and the outcome; the same options give the same log in every process.
// The end-to-end tests drive it turn by turn and check the screen against the board.
//
// Given a replay of the level driver, it plays the replay's human acts instead (its level body,
// seeds and level number included) and logs every turn's board as the driver records it, so
// that the two records can be compared line by line.
#include "framework/core/Buffer.h"
#include "framework/core/MersenneTwister.h"
#include "game/app/GameApp.h"
#include "tools/leveldriver/DriverInput.h"
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/Replay.h"
#include "game/shell/GameState.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class GameScene;
class Level;
class PlayLevelState;

namespace Autoplay
{
struct Options
{
    // 1..70 a campaign level, -1..-5 a random level of the episode.
    int level = 1;
    uint32_t seed = 1;
    // The game's data folder (holding main.pak).
    std::string gameDir;
    // Logic updates before the run gives up.
    int maxUpdates = 200000;
    // Plays the profile's saved game instead of the level.
    bool continueSavedGame = false;
    // A level driver's replay: its level, seeds and human acts replace the options above.
    std::string replayPath;
    // A level file's body played as campaign level `level` instead of the level's own file.
    std::optional<Quoll::Buffer> levelBody;
    // The profile's difficulty chosen before the level (513 easy, 514 normal); 0 keeps the
    // fresh profile's (easy).
    int difficulty = 0;
    // Updates the player waits at each turn before acting (panels of the tutorial come in).
    int thinkUpdates = 0;
    // How the player chooses its moves: as the level driver's policy of that kind, seeded with
    // `seed`; none for any legal move of its own generator.
    std::optional<PolicyKind> policy;
};

// The game application on the headless back ends, its level sounds logged.
class AutoplayApp final : public GameApp
{
public:
    AutoplayApp(const std::string& gameDir, std::string product);
    std::function<void(const std::string&)> onLine;
    void PlaySound(LevelSound sound, float volume, float pan) override;
    using GameApp::PlaySound;
    // The window has the focus, as a player's window has (no window events come in here).
    void Activate() { ApplyActivation(true); }

protected:
    void InstallCrashCatcher() override {}
};

// The first fault of the screen against the level, once the screen is idle: each cell view's
// bacterium and bonus (one bursting away counts as gone) against the board, the progress tubes against the player cell counts,
// the inventory against the level's, and the logic's own consistency. Empty when none.
[[nodiscard]] std::string FindViewFault(GameScene& scene, const Level& level);

class Runner
{
public:
    explicit Runner(Options options, std::string product = "PetriGlowAutoplay");
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Starts the game and the play state on the level; false (with the reason logged) when the
    // game or the level does not start.
    bool Start();
    // One logic update; the player clicks when the human is to move.
    void Step();
    // Updates until the human is to move or to place an armed bonus (or the game is over);
    // false after the limit.
    bool RunToHumanTurn();
    // Plays one human act (a move's two clicks, or the armed bonus placed) and runs until the
    // human acts again or the game ends. False when the player has nothing to do (no legal
    // move, or the replay's acts have run out) or the update limit came first.
    bool PlayTurn();
    // Plays to the end of the level; false when the update limit comes first.
    bool RunToEnd();
    // Leaves the play screen (the game shuts down behind it).
    void Leave();

    [[nodiscard]] GameApp& App() { return *mApp; }
    // Where the play state hands back to and goes when it leaves; shows nothing.
    [[nodiscard]] GameState& Idle() { return *mIdle; }
    [[nodiscard]] PlayLevelState& Play();
    [[nodiscard]] GameScene* Scene();
    [[nodiscard]] Level* CurrentLevel();
    [[nodiscard]] const std::vector<std::string>& Log() const { return mLog; }
    [[nodiscard]] int GetUpdates() const { return mUpdates; }
    // Consecutive updates the scene or level stayed busy, at most, since the start.
    [[nodiscard]] int GetLongestBusy() const { return mLongestBusy; }
    [[nodiscard]] bool IsFinished() const { return mOutcome.has_value(); }
    // The human is to move (a turn begins with this).
    [[nodiscard]] bool HumanToMove();
    // The human's armed bonus waits for its place.
    [[nodiscard]] bool BonusToPlace();
    // In a replay run: every act of the replay has been played.
    [[nodiscard]] bool ReplayExhausted() const { return mReplay && mNextAct >= mActs.size(); }
    // In a replay run: the first turn whose board or level generator differs from the replay's,
    // or the first act the game did not take ("turn N (replay line L): ..."); empty while the
    // game follows the replay.
    [[nodiscard]] const std::string& GetReplayDifference() const { return mReplayDifference; }
    // Clicks the screen point as the player would.
    void Click(int x, int y);
    // Told of every click with the updates run before it (the click-script writer listens).
    std::function<void(int updates, int x, int y)> onClick;

private:
    void Write(const std::string& line);
    void LogTurn();
    void NoteParticles();
    // A legal move of player 1, drawn from the runner's generator; false when there is none.
    // Presses the shown tutorial step's target; false when no step shows.
    bool ClickTutorialTarget();
    bool ChooseMove(int& from, int& to);
    // The armed bonus clicked where the level expects it; false when there is no place.
    bool PlaceBonus();
    // The replay's next act played; false when none is left.
    bool PlayReplayAct();
    // Reads the replay: its level body, seeds and acts; false (logged) when the replay or its
    // level does not read.
    bool PrepareReplay();
    // Stores the options' level body as the profile's saved game, which the play state then
    // continues; false (logged) when it cannot.
    bool HandOverLevelBody();
    void ClickCell(int cell);
    void ClickPortrait();
    // In a replay run: a line for each turn begun, as the driver records it, but for the one
    // that ends the game, compared with the replay's.
    void NoteTurnBegun();
    void CheckReplayTurn(const std::string& turnLine);
    void NoteReplayDifference(const std::string& difference);

    Options mOptions;
    std::unique_ptr<AutoplayApp> mApp;
    // Where the play state goes when it leaves or cannot start.
    std::unique_ptr<GameState> mIdle;
    Quoll::MersenneTwister mRandom;
    // The moves' chooser when the options name a policy.
    std::unique_ptr<DriverPolicy> mPolicy;
    std::vector<std::string> mLog;
    std::optional<std::string> mOutcome;
    int mUpdates = 0;
    int mBusy = 0;
    int mLongestBusy = 0;
    int mParticles = -1;
    int mTurn = 0;
    // The replay's human acts and the next to play.
    bool mReplay = false;
    std::vector<DriverInput> mActs;
    std::vector<int> mActLines; // each act's line in the replay
    size_t mNextAct = 0;
    // The replay's turn lines, the next one the game must begin, and the first difference.
    std::vector<ReplayLine> mTurns;
    size_t mNextTurn = 0;
    std::string mReplayDifference;
    // The player and round of the last turn line.
    int mTurnPlayer = 0;
    int mTurnRound = -1;
};
} // namespace Autoplay
