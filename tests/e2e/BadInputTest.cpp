// The game program on damaged input, one short headless script each, from a fixture's player
// files and, where the game's data is damaged, a linked copy of the generated data: the damage
// is named by one clear ERROR or WARNING line, the game goes on with defaults and takes the main
// menu's next command, and the script's quit ends it well inside its time and update budget.
// Rerun: test_e2e --gtest_filter='BadInput.*'
#include "tests/e2e/GameProcess.h"
#include "tools/fixturegen/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace
{
using namespace E2e;

// The title takes a click once its prompt shows (update 499 of the fixed step), then the main
// menu stands; the action of a test comes at 7 s.
const std::string kPassTheTitle = "at 5000\nmouse move 900 700\nmouse down left 900 700\nmouse up left 900 700\n";
// Enter on the main menu (play), then the end.
const std::string kPlayThenQuit = "at 9000\nkey Return\nat 11000\nquit\n";
constexpr int kTimeoutSeconds = 120;
// The script's 11 s at 100 updates a second: the quit ends the game in the update it arrives.
constexpr int kUpdateBudget = 1100;

class BadInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = FreshFolder(std::string("bad_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        mHome = mFolder / "home";
        // Profiles that exist, so that the first-run profile question stays out of the way.
        const std::string command = std::string("'") + QUOLL_FIXTUREGEN_PROGRAM + "' --levels '" + QUOLL_GAME_DATA +
                                    "/data/levels' --home '" + mHome.string() + "' nearly-passed";
        ASSERT_EQ(std::system(command.c_str()), 0);
        mGameDir = QUOLL_GAME_DIR;
    }
    void TearDown() override
    {
        if (!HasFailure())
            fs::remove_all(mFolder);
    }

    // A copy of the generated data to damage; the game runs in it.
    fs::path UseDataCopy()
    {
        mGameDir = LinkedDataCopy(mFolder / "game");
        return mGameDir / "data";
    }

    GameResult Run(const std::string& action)
    {
        return GameProcess(mGameDir, mHome).RunHeadless(kPassTheTitle + action + kPlayThenQuit, kTimeoutSeconds);
    }

    // No crash, no hang, the end reached by the script's quit, the menu still taking commands.
    static void ExpectTheFlowWentOn(const GameResult& run)
    {
        ASSERT_FALSE(run.timedOut) << run.log;
        EXPECT_EQ(run.exitCode, 0) << run.output << run.log;
        EXPECT_EQ(run.output.find("ERROR: AddressSanitizer"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("runtime error:"), std::string::npos) << run.output;
        EXPECT_NE(run.log.find("[APP] end."), std::string::npos) << run.log;
        EXPECT_LE(LastFlowUpdate(run.log), kUpdateBudget) << run.log;
        // Play on the menu: a command, and the next state pushed or changed to for it.
        const std::vector<std::string> steps = FlowSteps(run.log);
        const auto play = std::find(steps.begin(), steps.end(), "command MainMenuState 0 0");
        ASSERT_NE(play, steps.end()) << run.log;
        ASSERT_NE(play + 1, steps.end()) << run.log;
        EXPECT_TRUE((play + 1)->rfind("push ", 0) == 0 || (play + 1)->rfind("change MainMenuState ", 0) == 0) << run.log;
    }

    fs::path mFolder;
    fs::path mHome;
    fs::path mGameDir;
};
} // namespace

// A cut profile record: the profile starts afresh under its name.
TEST_F(BadInput, ACorruptProfileIsNamedAndStartsAfresh)
{
    const fs::path file = PlayerFolderOf(mHome) / "64616e.dat"; // "dan"
    const std::string bytes = ReadAll(file);
    ASSERT_GT(bytes.size(), 100u);
    WriteAll(file, bytes.substr(0, bytes.size() / 2));

    const GameResult run = Run("");
    EXPECT_EQ(LogLines(run.log, "ERROR", "Cannot read profile: dan (64616e.dat corrupted; kept as 64616e.dat.bad)").size(),
              1u)
        << run.log;
    // The damaged bytes are kept beside the fresh profile.
    EXPECT_EQ(ReadAll(PlayerFolderOf(mHome) / "64616e.dat.bad"), bytes.substr(0, bytes.size() / 2));
    ExpectTheFlowWentOn(run);
}

// A dialog's group missing from the manifest: the dialog is left out, the menu stays.
TEST_F(BadInput, AMissingResourceGroupLeavesItsDialogOut)
{
    const fs::path manifest = UseDataCopy() / "resources.xml";
    const std::string text = ReadAll(manifest);
    const std::string damaged = std::regex_replace(text, std::regex(R"(  <Resources id="Credits">[\s\S]*?</Resources>\n)"), "");
    ASSERT_LT(damaged.size(), text.size());
    ReplaceFile(manifest, damaged);

    const GameResult run = Run("at 7000\nmouse move 454 333\nmouse down left 454 333\nmouse up left 454 333\n");
    EXPECT_EQ(LogLines(run.log, "ERROR", "Cannot load resource group Credits").size(), 1u) << run.log;
    EXPECT_TRUE(HasFlowStep(run.log, "pop CreditsState")) << run.log;
    ExpectTheFlowWentOn(run);
}

// The fireworks of ten clicks on the menu's pipette without their particle system.
TEST_F(BadInput, AnUnregisteredParticleSystemIsNamedAndNotShown)
{
    const fs::path table = UseDataCopy() / "particles.txt";
    const std::string text = ReadAll(table);
    const std::string damaged = std::regex_replace(text, std::regex(R"(\n93 [^\n]*)"), "");
    ASSERT_LT(damaged.size(), text.size());
    ReplaceFile(table, damaged);

    std::string clicks = "at 7000\nmouse move 418 600\n";
    for (int i = 0; i < 10; ++i)
        clicks += "mouse down left 418 600\nmouse up left 418 600\n";
    const GameResult run = Run(clicks);
    EXPECT_FALSE(LogLines(run.log, "ERROR", "Cannot spawn particle system, id: 93 not registered").empty()) << run.log;
    ExpectTheFlowWentOn(run);
}

// The next level's file missing from the data: the play state names it and hands back to the map.
TEST_F(BadInput, AMissingLevelFileHandsBackToTheMap)
{
    fs::remove(UseDataCopy() / "levels/15.bin");
    fs::remove(PlayerFolderOf(mHome) / "64616e.save"); // "dan": play goes straight to the map

    // Play on the menu, then Enter on the map: its next level, 15.
    const GameResult run = Run("at 7000\nkey Return\nat 8000\nkey Return\n");
    EXPECT_FALSE(LogLines(run.log, "ERROR", "Cannot open Level file: data/levels/15.bin").empty()) << run.log;
    const std::vector<std::string> steps = FlowSteps(run.log);
    const auto failed = std::find(steps.begin(), steps.end(), "change LevelMapState LoadLevelState");
    ASSERT_NE(failed, steps.end()) << run.log;
    EXPECT_NE(std::find(failed, steps.end(), "change PlayLevelState LevelMapState"), steps.end()) << run.log;
    ExpectTheFlowWentOn(run);
}
