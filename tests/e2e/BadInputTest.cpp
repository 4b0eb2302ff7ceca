// The game program on damaged input, one short headless script each, from a fixture's player
// files and, where the game's data is damaged, a linked copy of the generated data or a copy of
// its pack: the damage is named by one clear ERROR or WARNING line (and, where a screen, a dialog
// or a level cannot load, one error box per attempt), the game goes on with defaults and takes
// the main menu's next command, and the script's quit ends it well inside its time and update
// budget.
// Rerun: test_e2e --gtest_filter='BadInput.*'
#include "tests/e2e/GameProcess.h"
#include "framework/files/PakFormat.h"
#include "framework/files/PakScrambler.h"
#include "game/level/AssetCfg.h"
#include "tools/fixturegen/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

    // A copy of the game's folder whose pack has eight bits of one file flipped, spread over the
    // file's bytes as a damaged disk or download leaves them; the game runs in it.
    void UseDamagedPack(const std::string& name)
    {
        mGameDir = mFolder / "game";
        fs::create_directories(mGameDir);
        fs::copy_file(fs::path(QUOLL_GAME_DIR) / "vhwb.dat", mGameDir / "vhwb.dat");
        std::string pack = ReadAll(fs::path(QUOLL_GAME_DIR) / "main.pak");
        std::vector<Quoll::PakEntry> entries;
        std::string error;
        ASSERT_TRUE(Quoll::ParsePakFile(reinterpret_cast<const uint8_t*>(pack.data()), pack.size(),
                                        Quoll::PakScrambler::KeyFromPassword(QUOLL_PAK_PASSWORD), entries, error))
            << error;
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const Quoll::PakEntry& e) { return e.name == name; });
        ASSERT_NE(entry, entries.end()) << name;
        // The scrambling is an XOR with a key stream: a bit flipped in the pack is flipped in the file.
        for (uint64_t i = 1; i <= 8; ++i)
            pack[entry->dataOffset + entry->size * i / 9] ^= static_cast<char>(1 << (i % 8));
        WriteAll(mGameDir / "main.pak", pack);
    }

    // The player's files, the game's log aside: name to bytes.
    std::map<std::string, std::string> PlayerFiles() const
    {
        std::map<std::string, std::string> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(PlayerFolderOf(mHome)))
            if (entry.is_regular_file() && entry.path().filename() != "GameLog.txt")
                files[entry.path().filename().string()] = ReadAll(entry.path());
        return files;
    }

    GameResult Run(const std::string& action)
    {
        return GameProcess(mGameDir, mHome).RunHeadless(kPassTheTitle + action + kPlayThenQuit, kTimeoutSeconds);
    }

    // The message boxes the run showed, as "caption<TAB>text", in order.
    std::vector<std::string> ShownBoxes() const
    {
        std::vector<std::string> shown;
        std::istringstream lines(ReadAll(mHome / "evidence/message-boxes.txt"));
        for (std::string line; std::getline(lines, line);)
            shown.push_back(line.substr(0, line.find('\t', line.find('\t') + 1)));
        return shown;
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
    EXPECT_EQ(ShownBoxes(), std::vector<std::string>{"FATAL ERROR\tResource group not found: Credits"});
    EXPECT_TRUE(HasFlowStep(run.log, "pop CreditsState")) << run.log;
    ExpectTheFlowWentOn(run);
}

// The main menu's picture damaged: the click on the title tells why, once, and the title stays.
TEST_F(BadInput, ADamagedMainMenuGroupIsToldAndTheTitleStays)
{
    const std::string picture = "data/art/textures/title/main_menu_background.png";
    ReplaceFile(UseDataCopy().parent_path() / picture, std::string(4096, 'Z'));

    const GameResult run = GameProcess(mGameDir, mHome).RunHeadless(kPassTheTitle + kPlayThenQuit, kTimeoutSeconds);
    EXPECT_EQ(ShownBoxes(), std::vector<std::string>{"FATAL ERROR\tFailed to load image: " + picture});
    // Nothing after the menu's entry but the quit's pops: no menu, and later clicks reach nothing.
    const std::vector<std::string> steps = FlowSteps(run.log);
    ASSERT_GE(steps.size(), 3u) << run.log;
    EXPECT_EQ(steps[steps.size() - 3], "change StartLoadState MainMenuState") << run.log;
    EXPECT_EQ(run.exitCode, 0) << run.output << run.log;
}

// The tutorial's pointer damaged: a new player's level 1 tells why once and still plays to its end
// with the tutorial's panel and texts.
TEST_F(BadInput, ADamagedTutorialGroupIsToldAndLevelOnePlaysOn)
{
    const std::string picture = "data/art/textures/objects/tutorial_pt.png";
    ReplaceFile(UseDataCopy().parent_path() / picture, std::string(4096, 'Z'));
    mHome = mFolder / "new_player";

    const std::string script = ReadAll(fs::path(QUOLL_SOURCE_DIR) / "tests/e2e/flow/first_level.script");
    const GameResult run = GameProcess(mGameDir, mHome).RunHeadless(script, 300);
    EXPECT_EQ(ShownBoxes(), std::vector<std::string>{"FATAL ERROR\tFailed to load image: " + picture});
    EXPECT_EQ(LogLines(run.log, "ERROR", "Cannot load resource group Tutorial").size(), 1u) << run.log;
    EXPECT_TRUE(HasFlowStep(run.log, "push EndLevelState")) << run.log;
    EXPECT_EQ(run.exitCode, 0) << run.output << run.log;
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
    EXPECT_EQ(ShownBoxes(), std::vector<std::string>{"FATAL ERROR\tCannot open Level file: data/levels/15.bin"});
    const std::vector<std::string> steps = FlowSteps(run.log);
    const auto failed = std::find(steps.begin(), steps.end(), "change LevelMapState LoadLevelState");
    ASSERT_NE(failed, steps.end()) << run.log;
    EXPECT_NE(std::find(failed, steps.end(), "change PlayLevelState LevelMapState"), steps.end()) << run.log;
    ExpectTheFlowWentOn(run);
}

// Level 15's file damaged in the pack: starting it from the map tells why, once; the map comes
// back, and no saved game is written for the level that never started.
TEST_F(BadInput, ADamagedLevelFileIsToldOnceAndTheMapComesBack)
{
    UseDamagedPack("data/levels/15.bin");
    const fs::path saved = PlayerFolderOf(mHome) / "64616e.save";
    fs::remove(saved); // "dan": play goes straight to the map

    const GameResult run = Run("at 7000\nkey Return\nat 8000\nkey Return\n");
    const std::vector<std::string> shown = ShownBoxes();
    ASSERT_EQ(shown.size(), 1u) << run.log;
    const std::string told = "FATAL ERROR\tCannot open Level file: data/levels/15.bin: its generator state is damaged (";
    EXPECT_EQ(shown[0].rfind(told, 0), 0u) << shown[0];
    EXPECT_TRUE(HasFlowStep(run.log, "change PlayLevelState LevelMapState")) << run.log;
    EXPECT_FALSE(fs::exists(saved));
    ExpectTheFlowWentOn(run);
}

// Level 15's background damaged in the pack: each continue of dan's saved game of that level tells
// the player once why it does not start (the resource manager's error, in the error box), the main
// menu comes back and takes the next command, and the player's files stay as they were.
TEST_F(BadInput, ALevelThatCannotLoadIsToldOncePerContinueAndTheMenuComesBack)
{
    AssetCfg assets;
    ASSERT_TRUE(assets.Load([](const std::string&) {}, QUOLL_GAME_DATA "/data/game.cfg"));
    const std::string background =
        "data/art/textures/fones/fone" + std::to_string(assets.GetFoneIndex(Fixtures::kBossLevel)) + ".png";
    UseDamagedPack(background);
    const std::map<std::string, std::string> before = PlayerFiles();
    ASSERT_FALSE(before.empty());

    // Play on the menu and yes to the saved game's question, twice; the third play (the suite's
    // own) finds the menu still taking commands.
    const std::string yes = "mouse move 337 522\nmouse down left 337 522\nmouse up left 337 522\n";
    const GameResult run = Run("at 6000\nkey Return\nat 6600\n" + yes + "at 7600\nkey Return\nat 8200\n" + yes);
    const std::string error = "Failed to load image: " + background;
    const std::string logged = "Cannot load level " + std::to_string(Fixtures::kBossLevel) + ": resource group Fones: ";
    EXPECT_EQ(LogLines(run.log, "ERROR", logged + error).size(), 2u) << run.log;
    // One box per continue, with the resource manager's text, and nothing else asked.
    EXPECT_EQ(ShownBoxes(), std::vector<std::string>(2, "FATAL ERROR\t" + error));
    // Each continue went to the loading screen and back to the menu, never on to the level.
    const std::vector<std::string> steps = FlowSteps(run.log);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "change MainMenuState LoadLevelState"), 2) << run.log;
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "change LoadLevelState MainMenuState"), 2) << run.log;
    EXPECT_FALSE(HasFlowStep(run.log, "change LoadLevelState PlayLevelState")) << run.log;
    ExpectTheFlowWentOn(run);

    const std::map<std::string, std::string> after = PlayerFiles();
    EXPECT_TRUE(after == before) << "the player's files changed";
}
