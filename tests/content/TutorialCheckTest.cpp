// The tutorial script of the campaign: its panels lie on the screen, its texts exist in both
// languages, and each level's steps, played as the human's clicks against the level file's own
// replies, are clicks the game takes at their rounds, every step's round comes, no move a step
// teaches loses cells to the computer's reply, and level 1's steps followed by the reference
// player win.
#include "tools/leveldriver/DriverPolicy.h"
#include "tools/leveldriver/TutorialRun.h"

#include "framework/files/PakInterface.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace
{
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// German panels are drawn this much higher and as much lower again.
constexpr int kLanguageStretch = 25;

TutorialSteps LoadScript()
{
    TutorialSteps steps([](const std::string& line) { ADD_FAILURE() << line; },
                        std::string(QUOLL_SOURCE_DIR) + "/data/tutorial.cfg");
    EXPECT_TRUE(steps.Load());
    return steps;
}

std::string ReadText(const std::string& path)
{
    std::string text;
    EXPECT_TRUE(Quoll::PakReadFile(path, text)) << path;
    return text;
}

// The panel image's size as the resource table declares it.
std::pair<int, int> PanelSize()
{
    std::istringstream table(ReadText(std::string(QUOLL_SOURCE_DIR) + "/data/resource_ids.txt"));
    for (std::string line; std::getline(table, line);)
    {
        std::istringstream words(line);
        std::string number, id, group, path;
        int width = 0, height = 0;
        if (words >> number >> id >> group >> path >> width >> height && id == "IMAGE_TUTORIAL_BG")
            return {width, height};
    }
    ADD_FAILURE() << "IMAGE_TUTORIAL_BG is not in the resource table";
    return {0, 0};
}
// The compiled campaign level as the driver's game takes it; an empty body when it cannot be read.
GameSetup LevelSetup(int level)
{
    std::string bytes;
    EXPECT_TRUE(Quoll::PakReadFile(std::string(QUOLL_LEVEL_DIR) + "/" + std::to_string(level) + ".bin", bytes)) << level;
    GameSetup setup;
    setup.levelBody.SetData(bytes.data(), bytes.size());
    setup.levelNumber = level;
    return setup;
}
} // namespace

TEST(Tutorial, PanelsLieOnTheScreenAndTextsExistInBothLanguages)
{
    const TutorialSteps script = LoadScript();
    const auto [width, height] = PanelSize();
    ASSERT_GT(width, 0);
    const std::string texts = ReadText(std::string(QUOLL_SOURCE_DIR) + "/data/texts.xml");
    for (const TutorialStep& step : script.GetSteps())
    {
        SCOPED_TRACE("level " + std::to_string(step.level) + " round " + std::to_string(step.round) + " " + step.textKey);
        EXPECT_GE(step.panelX, 0);
        EXPECT_LE(step.panelX + width, kScreenWidth);
        EXPECT_GE(step.panelY - kLanguageStretch, 0);
        EXPECT_LE(step.panelY + height + kLanguageStretch, kScreenHeight);
        if (!step.IsCellStep())
        {
            EXPECT_TRUE(step.targetX > 0 && step.targetX < kScreenWidth);
            EXPECT_TRUE(step.targetY >= 0 && step.targetY < kScreenHeight);
        }
        const size_t text = texts.find("<text name=\"" + step.textKey + "\">");
        ASSERT_NE(text, std::string::npos);
        const std::string line = texts.substr(text, texts.find('\n', text) - text);
        EXPECT_NE(line.find("<value locale=\"en\">"), std::string::npos);
        EXPECT_NE(line.find("<value locale=\"de\">"), std::string::npos);
    }
}

TEST(Tutorial, StepsAreClicksTheGameTakesAtTheirRoundsAndLevelOneIsWon)
{
    const TutorialSteps script = LoadScript();
    std::set<int> levels;
    for (const TutorialStep& step : script.GetSteps())
        levels.insert(step.level);
    // The first level, clone, jump and capture, the three bonuses and the boss.
    EXPECT_EQ(levels, (std::set<int>{1, 2, 3, 6, 7, 15}));
    for (int level : levels)
    {
        SCOPED_TRACE("level " + std::to_string(level));
        const GameSetup setup = LevelSetup(level);
        // The reference player: AI level 2, no step-backs.
        DriverPolicy reference(1, PolicyKind{2}, 0);
        const TutorialCheck check = RunTutorial(setup, script, reference);
        EXPECT_GT(check.steps, 0);
        for (const std::string& fault : check.faults)
            ADD_FAILURE() << fault;
        ASSERT_TRUE(check.record.Finished()) << check.record.stopReason;
        if (level == 1)
        {
            EXPECT_EQ(check.record.outcome->result, 1);
        }
    }
}

TEST(Tutorial, AClickTheGameWouldNotTakeAndAStepWhoseRoundNeverComesAreFaults)
{
    // On level 1, cell 30 is free and nothing is selected; round 900 never comes.
    const GameSetup setup = LevelSetup(1);
    DriverPolicy reference(1, PolicyKind{2}, 0);
    TutorialInput input({{1, 900, -54, 0, "LATE", 0, 0}, {1, 1, -30, 0, "FREE", 0, 0}}, reference);
    const GameRecord record = HeadlessGame(setup).Play(input);
    ASSERT_TRUE(record.Finished());
    input.Finish(record.rounds);
    const std::vector<std::string>& faults = input.GetFaults();
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0], "step 1 (round 1, FREE): cell 30 is no bacterium of the human and nothing is selected");
    EXPECT_EQ(faults[1].rfind("step 2 (round 900, LATE): the game ended in round ", 0), 0u) << faults[1];
}

TEST(Tutorial, ATaughtMoveThatTheReplyPunishesIsAFault)
{
    // Level 1's jump from 47 to 31 lands beside the cell the computer reaches next.
    const GameSetup setup = LevelSetup(1);
    DriverPolicy reference(1, PolicyKind{2}, 0);
    TutorialInput input({{1, 1, -54, 0, "SELECT", 0, 0},
                         {1, 1, -47, 0, "CLONE", 0, 0},
                         {1, 2, -47, 0, "SELECT", 0, 0},
                         {1, 2, -31, 0, "JUMP", 0, 0}},
                        reference);
    const GameRecord record = HeadlessGame(setup).Play(input);
    ASSERT_TRUE(record.Finished());
    EXPECT_TRUE(input.GetFaults().empty());
    const std::vector<std::string> faults = input.FindPunishedMoves(record.lines);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0], "step 4 (round 2, JUMP): the computer's reply takes 1 of the human's 4 cells");
}
