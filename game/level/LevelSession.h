#pragma once
// LevelSession: the play state's logic-level duties around the Level it owns. It keeps the
// step-back snapshot (the level's saved body, stored when the level asks before a human move)
// and restores it on a step-back request; it runs the level's update while the screen is not
// busy and, after a turn has ended, the game-over step: the check, the end of the game, and for
// a human win the medal grade and the final score. The play state and headless tools use it;
// they connect the view's link to it so that the level's commands arrive here.
#include "game/level/Level.h"

#include "framework/core/Buffer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

struct LevelOutcome
{
    // 1..N the winner, 0 nobody.
    int result = 0;
    // For a human win; 0 otherwise.
    int medalGrade = 0;
    int score = 0;
};

class LevelSession : public LevelLinkListener
{
public:
    LevelSession(LevelView& view, LevelServices& services);
    ~LevelSession() override;
    LevelSession(const LevelSession&) = delete;
    LevelSession& operator=(const LevelSession&) = delete;

    // A fresh level read from a body; false (no level) when the body does not read, with the
    // reason in GetLoadError. A level file that does not read is reported in the log as
    // "Cannot open Level file: " and the reason.
    bool Load(Quoll::Buffer& body, LevelBodyKind kind = LevelBodyKind::Saved);
    [[nodiscard]] const std::string& GetLoadError() const { return mLoadError; }
    // A fresh random level; false (no level) when the generator fails.
    bool LoadRandom(const std::function<bool(GameLogic&)>& generate);
    // Starts the loaded level and builds its scene; false when it cannot start.
    bool Start(bool tutorialSuppressed);

    // One logic update: the ray of a boss the level made itself flies on, the level's step runs
    // when the screen is not busy, then the game-over step when a turn has ended. Nothing once
    // the game is over.
    void Update();

    // The play state's commands: store the step-back snapshot, step back.
    void OnLevelCommand(int command, int argument) override;
    void StoreStepBackPoint();
    // Restores the snapshot and books a step-back; false when none is left, there is no
    // snapshot ("Level buffer empty" is logged) or the game is over.
    bool StepBack();

    [[nodiscard]] bool HasLevel() const { return mLevel != nullptr; }
    [[nodiscard]] Level& GetLevel() { return *mLevel; }
    [[nodiscard]] const Level& GetLevel() const { return *mLevel; }
    [[nodiscard]] bool HasSnapshot() const { return mSnapshot.has_value(); }
    [[nodiscard]] bool IsOver() const { return mOutcome.has_value(); }
    // Set once the game is over.
    [[nodiscard]] const std::optional<LevelOutcome>& GetOutcome() const { return mOutcome; }

private:
    // A fresh level filled by fill; the old level, snapshot and outcome are dropped.
    bool Fill(const std::function<bool(Level&)>& fill);
    void RunGameOverStep();
    void EndLevel();

    LevelView& mView;
    LevelServices& mServices;
    std::unique_ptr<Level> mLevel;
    bool mTutorialSuppressed = false;
    std::optional<Quoll::Buffer> mSnapshot;
    std::optional<LevelOutcome> mOutcome;
    std::string mLoadError;
};
