#pragma once
// TutorialRun: plays a level's tutorial steps as the human's clicks against the level's own
// deterministic replies. When a step's round comes, each cell step clicks its target cell (a
// selection or a move, or the armed bonus's cell), a portrait step drops an armed bomb on the
// boss's portrait, and a screen-point step needs no click; every other act of the human comes
// from a fallback (the reference policy). A click that the game would not take at its round,
// a step whose round never comes, and a move a step teaches that the computer's reply answers
// by taking cells of the human, are faults.
#include "tools/leveldriver/HeadlessGame.h"

#include "game/level/TutorialSteps.h"

#include <string>
#include <utility>
#include <vector>

class TutorialInput : public InputSource
{
public:
    // steps: the level's steps, in file order.
    TutorialInput(std::vector<TutorialStep> steps, InputSource& fallback);

    std::optional<DriverInput> Next(const LevelSession& session) override;
    // Faults for the steps not played by the end of the game.
    void Finish(int lastRound);

    [[nodiscard]] const std::vector<std::string>& GetFaults() const { return mFaults; }
    // One line per step: its round, target and what was done.
    [[nodiscard]] const std::vector<std::string>& GetLog() const { return mLog; }
    // Faults for the moves the steps taught that the next computer turn answered by taking
    // cells of the human, read from the game's record.
    [[nodiscard]] std::vector<std::string> FindPunishedMoves(const std::vector<std::string>& record) const;

private:
    // The click of a cell step; nothing (a fault noted) when the game would not take it.
    std::optional<DriverInput> ClickFor(const TutorialStep& step, const Level& level);
    [[nodiscard]] std::string Name(size_t index) const;

    std::vector<TutorialStep> mSteps;
    InputSource& mFallback;
    size_t mNext = 0;
    std::vector<std::string> mFaults;
    std::vector<std::string> mLog;
    // The acts the steps made, in order: their record line and the step's index.
    std::vector<std::pair<std::string, size_t>> mActs;
};

struct TutorialCheck
{
    GameRecord record;
    std::vector<std::string> log;
    std::vector<std::string> faults;
    int steps = 0;
};

// Plays the level of the setup with the script's steps for level number levelNumber.
[[nodiscard]] TutorialCheck RunTutorial(const GameSetup& setup, const TutorialSteps& script, InputSource& fallback);
