// The tutorial script: which lines are steps, what a short step line keeps, a missing file, and
// the order in which steps of one round follow each other.
// Rerun one case: test_level --gtest_filter='TutorialSteps.*'
#include "game/level/TutorialSteps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
// A script file of its own for each test, removed afterwards.
class ScriptFile
{
public:
    explicit ScriptFile(const std::string& text)
        : mPath(std::filesystem::temp_directory_path() /
                ("tutorial-" + std::to_string(::getpid()) + "-" + std::to_string(sCount++) + ".cfg"))
    {
        std::ofstream(mPath) << text;
    }
    ~ScriptFile() { std::filesystem::remove(mPath); }
    ScriptFile(const ScriptFile&) = delete;
    ScriptFile& operator=(const ScriptFile&) = delete;

    [[nodiscard]] std::string Path() const { return mPath.string(); }

private:
    static inline int sCount = 0;
    std::filesystem::path mPath;
};
} // namespace

TEST(TutorialSteps, OnlyStepLinesCountAndShortOnesKeepTheirMissingFieldsZero)
{
    ScriptFile file("# a comment STEP 9 9 9 9 KEY 9 9\n"
                    "\n"
                    "STEP 1 1 -30 0 UI_TUTOR_L1_1 100 200\n"
                    "step 1 1 -31 0 lower\n"
                    "STEPS 1 1 -31 0 plural\n"
                    "OTHER words here\n"
                    "  STEP 2 3 890 120 UI_TUTOR_BOSS 500 60   # trailing words are ignored\n"
                    "STEP 4 5 -7 0 KEY_ONLY\n"
                    "STEP 4 6 -8 0 KEY_AND_X 40\n"
                    "STEP 4 7\n"
                    "STEP 4 8 word 1 KEY\r\n");
    std::vector<std::string> log;
    TutorialSteps steps([&log](const std::string& line) { log.push_back(line); }, file.Path());
    ASSERT_TRUE(steps.Load());
    EXPECT_TRUE(log.empty());
    const std::vector<TutorialStep> expected = {
        {1, 1, -30, 0, "UI_TUTOR_L1_1", 100, 200},
        {2, 3, 890, 120, "UI_TUTOR_BOSS", 500, 60},
        {4, 5, -7, 0, "KEY_ONLY", 0, 0},
        {4, 6, -8, 0, "KEY_AND_X", 40, 0},
        {4, 7, 0, 0, "", 0, 0},
        {4, 8, 0, 0, "", 0, 0},
    };
    EXPECT_EQ(steps.GetSteps(), expected);
    EXPECT_TRUE(steps.GetSteps()[0].IsCellStep());
    EXPECT_EQ(steps.GetSteps()[0].GetTargetCell(), 30);
    EXPECT_TRUE(steps.GetSteps()[1].IsPortraitStep());
    EXPECT_FALSE(steps.GetSteps()[1].IsCellStep());
    EXPECT_TRUE(steps.HasLevelSteps(2));
    EXPECT_FALSE(steps.HasLevelSteps(3));
    EXPECT_EQ(steps.GetStep(6), nullptr);
    EXPECT_EQ(steps.GetStep(-1), nullptr);
}

TEST(TutorialSteps, AMissingFileIsLoggedAndNoLevelHasSteps)
{
    std::vector<std::string> log;
    const std::string path = (std::filesystem::temp_directory_path() / "no-such-tutorial.cfg").string();
    TutorialSteps steps([&log](const std::string& line) { log.push_back(line); }, path);
    EXPECT_FALSE(steps.Load());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "Cannot open tutorial cfg file: " + path);
    EXPECT_FALSE(steps.HasLevelSteps(1));
    steps.LoadSteps();
    EXPECT_EQ(log.size(), 2u) << "each attempt is reported";
}

TEST(TutorialSteps, TheScriptIsReadOnce)
{
    auto file = std::make_unique<ScriptFile>("STEP 1 1 -30 0 A 0 0\n");
    TutorialSteps steps(nullptr, file->Path());
    ASSERT_TRUE(steps.Load());
    file.reset();
    EXPECT_TRUE(steps.Load());
    EXPECT_EQ(steps.GetSteps().size(), 1u);
}

TEST(TutorialSteps, StepsOfOneRoundFollowEachOtherAndSkippingTakesTheLast)
{
    ScriptFile file("STEP 1 1 -30 0 A 0 0\n"
                    "STEP 1 1 -31 0 B 0 0\n"
                    "STEP 1 2 -32 0 C 0 0\n"
                    "STEP 2 1 -33 0 D 0 0\n"
                    "STEP 1 1 -34 0 E 0 0\n");
    TutorialSteps steps(nullptr, file.Path());
    ASSERT_TRUE(steps.Load());
    // The round change shows the first; each expected click the next later one of the round.
    EXPECT_EQ(steps.FindStep(1, 1, TutorialSteps::kNoStep, false), 0);
    EXPECT_EQ(steps.FindStep(1, 1, 0, false), 1);
    EXPECT_EQ(steps.FindStep(1, 1, 1, false), 4);
    EXPECT_EQ(steps.FindStep(1, 1, 4, false), TutorialSteps::kNoStep);
    // With a bonus armed only the last of a run of the same level and round shows.
    EXPECT_EQ(steps.FindStep(1, 1, TutorialSteps::kNoStep, true), 1);
    EXPECT_EQ(steps.FindStep(1, 2, TutorialSteps::kNoStep, false), 2);
    EXPECT_EQ(steps.FindStep(1, 3, TutorialSteps::kNoStep, false), TutorialSteps::kNoStep);
    EXPECT_EQ(steps.FindStep(2, 1, 3, false), TutorialSteps::kNoStep);
    // The play screen tells which step it shows.
    EXPECT_FALSE(steps.IsStepActive());
    steps.SetActiveStep(1);
    EXPECT_TRUE(steps.IsStepActive());
    steps.SetActiveStep(TutorialSteps::kNoStep);
    EXPECT_FALSE(steps.IsStepActive());
}
