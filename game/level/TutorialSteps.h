#pragma once
// TutorialSteps: the tutorial script of the campaign's first levels, read once from
// "data/tutorial.cfg". Each line "STEP <level> <round> <target x> <target y> <text key>
// <panel x> <panel y>" is one panel of the tutorial, shown when the level's round word reaches
// the step's round; other lines and '#' comments are ignored. A line that ends early keeps its
// missing fields 0 (the text key empty). The play screen's tutorial overlay shows the steps and
// says which one is on screen (SetActiveStep); the level list holds levels with steps back until
// they are completed, and the achievements listen to one event only while a step is shown.
#include "game/level/LevelServices.h"

#include <functional>
#include <string>
#include <vector>

struct TutorialStep
{
    // Target x of a step that waits for a click on the boss's portrait (it aims at the screen
    // point (890, target y)).
    static constexpr int kPortraitTargetX = 890;

    int level = 0;
    // The level's round word at which the step shows.
    int round = 0;
    // 0 or less: the step waits for a click on cell -target x; 890: on the boss's portrait; any
    // other value: the step aims at the screen point and any click moves on.
    int targetX = 0;
    int targetY = 0;
    std::string textKey;
    // The panel's top-left corner on the screen.
    int panelX = 0;
    int panelY = 0;

    [[nodiscard]] bool IsCellStep() const { return targetX <= 0; }
    [[nodiscard]] int GetTargetCell() const { return -targetX; }
    [[nodiscard]] bool IsPortraitStep() const { return targetX == kPortraitTargetX; }

    bool operator==(const TutorialStep&) const = default;
};

class TutorialSteps : public TutorialData
{
public:
    static constexpr const char* kDefaultPath = "data/tutorial.cfg";
    static constexpr int kNoStep = -1;

    // log receives the lines for the game's "ERROR" log.
    explicit TutorialSteps(std::function<void(const std::string&)> log, std::string path = kDefaultPath);

    // --- TutorialData ---
    void LoadSteps() override { (void)Load(); }
    [[nodiscard]] bool HasLevelSteps(int level) const override;

    // Reads the script unless steps are loaded already; false, with "Cannot open tutorial cfg
    // file: <path>" logged, when the file cannot be opened.
    bool Load();
    [[nodiscard]] const std::vector<TutorialStep>& GetSteps() const { return mSteps; }
    [[nodiscard]] const TutorialStep* GetStep(int index) const;

    // The step to show in the level at the round: the first of the file after step after (any
    // step when after is kNoStep). With skipToLast, of a run of steps with the same level and
    // round the last one is taken. kNoStep when none follows.
    [[nodiscard]] int FindStep(int level, int round, int after, bool skipToLast) const;

    // The step the tutorial shows now (kNoStep for none), told by the play screen.
    void SetActiveStep(int index) { mActiveStep = index; }
    [[nodiscard]] bool IsStepActive() const { return mActiveStep != kNoStep; }
    [[nodiscard]] int GetActiveStep() const { return mActiveStep; }

    // The step of a "STEP" line's words after the keyword.
    [[nodiscard]] static TutorialStep ParseStep(std::istream& words);

private:
    std::function<void(const std::string&)> mLog;
    std::string mPath;
    std::vector<TutorialStep> mSteps;
    int mActiveStep = kNoStep;
};
