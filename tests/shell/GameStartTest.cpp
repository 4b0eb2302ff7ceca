// The game program started headless on a generated minimal data set, in a folder of its own,
// with a script that quits at once: the log in the per-user data folder, the exit code, the
// one clear message when the texts or the manifest are missing or corrupt (or a bad pack hides
// them), a bad command line, a machine without a sound device, and a second copy beside a
// running one (handing over or failing early) that leaves the running copy's log alone.
// Each run has an instance name of its own, so the runs (separate processes under ctest -j) and
// a player's copy of the game never turn each other away.
// Rerun one case: ctest -R GameStart.<name>
#include "framework/files/ImageLib.h"
#include "framework/platform/system/SingleInstance.h"
#include "tests/GameRunEnvironment.h"
#include "tests/shell/MinimalGameData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>
#include <string>
#include <thread>

namespace
{
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct GameRun
{
    int exitCode = -1;
    std::string log;    // GameLog.txt of the per-user data folder
    std::string output; // standard output and error
};

class GameStart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        mFolder = fs::path(QUOLL_TEST_HOME) / (std::string("start_") + info->name());
        fs::remove_all(mFolder);
        fs::create_directories(mFolder);
        ShellTest::WriteMinimalGameData(mFolder);
    }
    void TearDown() override
    {
        if (!HasFailure())
            fs::remove_all(mFolder);
    }

    // extraEnvironment: "NAME=value" words that follow (and so override) the test's own;
    // arguments follow the game's own.
    GameRun Run(const std::string& script = "quit\n", const std::string& extraEnvironment = {},
                const std::string& arguments = {})
    {
        GameRun run;
        const int status = std::system(Command(script, extraEnvironment, arguments, "quit").c_str());
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.log = Log();
        run.output = ReadAll(mFolder / "output.txt");
        return run;
    }

    // The shell command of a headless run; its script and output are named after `name`
    // ("<name>.script"; "output.txt" for "quit", else "<name>-output.txt").
    std::string Command(const std::string& script, const std::string& extraEnvironment, const std::string& arguments,
                        const std::string& name) const
    {
        ShellTest::WriteText(mFolder / (name + ".script"), script);
        const fs::path home = mFolder / "home";
        const std::string output = name == "quit" ? "output.txt" : name + "-output.txt";
        return "cd '" + mFolder.string() + "' && exec env XDG_DATA_HOME='" + (home / "data").string() +
               "' XDG_CONFIG_HOME='" + (home / "config").string() + "' " + TestGame::RunEnvironment() + " " +
               extraEnvironment + " QUOLL_PLATFORM=headless QUOLL_HEADLESS_SCRIPT='" +
               (mFolder / (name + ".script")).string() + "' '" + QUOLL_GAME_PROGRAM + "' '-changedir=" +
               mFolder.string() + "' " + arguments + " > " + output + " 2>&1";
    }

    // A run without a display in a user's environment: no SDL_VIDEODRIVER (the test's
    // asks for SDL's dummy driver) and no headless back end. A start that hung would end at the
    // timeout with 124. Standard output goes to "<name>-output.txt", standard error to
    // "<name>-errors.txt".
    std::string NoDisplayCommand(const std::string& extraEnvironment, const std::string& name) const
    {
        const fs::path home = mFolder / "home";
        return "cd '" + mFolder.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "
               "-u QUOLL_PLATFORM XDG_DATA_HOME='" + (home / "data").string() + "' XDG_CONFIG_HOME='" +
               (home / "config").string() + "' " + TestGame::RunEnvironment() + " " + extraEnvironment +
               " timeout -k 5 120 '" + QUOLL_GAME_PROGRAM + "' '-changedir=" + mFolder.string() + "' > " + name +
               "-output.txt 2> " + name + "-errors.txt";
    }

    // A copy that runs until it is ended (EndRunningCopy), started under `instance`; returned
    // once its start-up is past the handshake, with its log then.
    pid_t StartRunningCopy(const std::string& instance, std::string& logThen)
    {
        // The shell execs env, which execs the game: the child's id is the game's.
        const std::string command = Command("at 120000\nquit\n", instance, {}, "first");
        const pid_t first = ::fork();
        if (first == 0)
        {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int tries = 0; first > 0 && tries < 1200 && Log().find("[APP] Game inited.") == std::string::npos; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        logThen = Log();
        return first;
    }
    // Its wait status.
    static int EndRunningCopy(pid_t first)
    {
        ::kill(first, SIGTERM);
        int status = 0;
        ::waitpid(first, &status, 0);
        return status;
    }

    std::string Log() const { return ReadAll(mFolder / "home/data/Nordwick/PetriGlowSaga/GameLog.txt"); }

    // The run ended at start-up with one message, in the log and in the fatal message box.
    void ExpectFailedStart(const GameRun& run, const std::string& message)
    {
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.log.find("[ERROR] " + message), std::string::npos) << run.log;
        EXPECT_NE(run.output.find("\"FATAL ERROR\": \"" + message), std::string::npos) << run.output;
        EXPECT_EQ(run.log.find("Game inited"), std::string::npos) << run.log;
    }

    fs::path mFolder;
};

TEST_F(GameStart, StartsOnMinimalDataRunsAndEndsWithItsLog)
{
    const GameRun run = Run();
    ASSERT_EQ(run.exitCode, 0) << run.output << run.log;

    const std::string dataFolder = (mFolder / "home/data/Nordwick/PetriGlowSaga/").string();
    const size_t starting = run.log.find("[APP] Game starting...\n");
    const size_t inited = run.log.find("[APP] Game inited. AppDataFolder: " + dataFolder + "\n");
    const size_t end = run.log.find("[APP] end.\n");
    ASSERT_NE(starting, std::string::npos) << run.log;
    ASSERT_NE(inited, std::string::npos) << run.log;
    ASSERT_NE(end, std::string::npos) << run.log;
    EXPECT_LT(starting, inited);
    EXPECT_LT(inited, end);
    // Nothing is written into the current folder.
    EXPECT_FALSE(fs::exists(mFolder / "GameLog.txt"));
}

// A player's copy of the game holds the product's instance name: a test's run, under its own
// name, starts beside it, while a second copy under the player's name hands over and ends.
TEST_F(GameStart, ATestsRunStartsBesideAPlayersCopy)
{
    // Held here, or already by a copy the player (or developer) runs.
    const Quoll::Platform::SingleInstance playersCopy("PetriGlowSagaMutex");
    ASSERT_NE(playersCopy.State(), Quoll::Platform::InstanceState::Failed);

    const GameRun testRun = Run();
    ASSERT_EQ(testRun.exitCode, 0) << testRun.output;
    EXPECT_NE(testRun.log.find("[APP] Game inited."), std::string::npos) << testRun.log;

    const GameRun secondCopy = Run("quit\n", "QUOLL_INSTANCE_NAME=");
    EXPECT_EQ(secondCopy.exitCode, 0) << secondCopy.output;
    // It left no trace: the log is the test run's.
    EXPECT_EQ(secondCopy.log, testRun.log);
}

// A second copy with the same home and instance name hands over to the running copy and ends;
// the running copy's log stays its own, from its "Game starting..." to its end.
TEST_F(GameStart, ASecondCopyLeavesTheRunningCopysLogAlone)
{
    const std::string instance = "QUOLL_INSTANCE_NAME=test-" + std::to_string(::getpid()) + "-running-copy";
    std::string before;
    const pid_t first = StartRunningCopy(instance, before);
    ASSERT_GT(first, 0);
    const GameRun second = Run("quit\n", instance);
    const int status = EndRunningCopy(first);
    const std::string log = Log();
    ASSERT_NE(before.find("[APP] Game inited."), std::string::npos) << before << ReadAll(mFolder / "first-output.txt");
    EXPECT_EQ(second.exitCode, 0) << second.output;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

    EXPECT_EQ(log.find('\0'), std::string::npos) << log;
    EXPECT_EQ(log.rfind("[APP] Game starting...\n", 0), 0u) << log;
    EXPECT_EQ(log.find("Game starting...", 7), std::string::npos) << "the second copy's start is not in it\n" << log;
    EXPECT_EQ(log.rfind(before, 0), 0u) << "the first copy's lines stay\n" << log;
    EXPECT_TRUE(log.ends_with("[APP] end.\n")) << log;
}

// Without a display SDL would fall back to a driver that shows nothing: the start fails at once
// with a line on standard error and in the log, and the settings stay as they were.
TEST_F(GameStart, WithoutADisplayTheStartFailsAndWritesNoSettings)
{
    const fs::path settings = mFolder / "home/config/Nordwick/PetriGlowSaga/settings.txt";
    const std::string before = "QuollSettings 1\n[SOFTWARE\\Nordwick\\PetriGlowSaga]\nScreenMode=dword:0\n";
    ShellTest::WriteText(settings, before);
    const int status = std::system(NoDisplayCommand({}, "nodisplay").c_str());
    const std::string errors = "\n" + ReadAll(mFolder / "nodisplay-errors.txt");
    const std::string log = Log();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 1) << errors;
    const std::string line = "No display: this application cannot show its window. Start it on a desktop. (neither "
                             "DISPLAY nor WAYLAND_DISPLAY names a display that answers; SDL fell back to its \"";
    // (Standard error may also hold what the display libraries said while SDL tried them.)
    EXPECT_NE(errors.find("\n" + line, 0), std::string::npos) << errors;
    EXPECT_NE(log.find("[ERROR] " + line), std::string::npos) << log;
    EXPECT_EQ(log.rfind("[APP] Game starting...\n", 0), 0u) << log;
    EXPECT_EQ(log.find("Game inited"), std::string::npos) << log;
    EXPECT_EQ(ReadAll(settings), before);
}

// A second copy that fails before the handshake (a mistyped option; no display) tells why as
// any failed start does, and leaves the running copy's log as it was.
TEST_F(GameStart, ASecondCopyThatFailsEarlyLeavesTheRunningCopysLogAlone)
{
    const std::string instance = "QUOLL_INSTANCE_NAME=test-" + std::to_string(::getpid()) + "-failing-copy";
    std::string before;
    const pid_t first = StartRunningCopy(instance, before);
    ASSERT_GT(first, 0);
    const GameRun mistyped = Run("quit\n", instance, "-windowd");
    const int noDisplay = std::system(NoDisplayCommand(instance, "nodisplay").c_str());
    const std::string log = Log();
    EndRunningCopy(first);
    ASSERT_NE(before.find("[APP] Game inited."), std::string::npos) << before << ReadAll(mFolder / "first-output.txt");

    EXPECT_EQ(mistyped.exitCode, 1) << mistyped.output;
    EXPECT_NE(mistyped.output.find("\"Invalid command line parameter: -windowd\""), std::string::npos);
    EXPECT_TRUE(WIFEXITED(noDisplay) && WEXITSTATUS(noDisplay) == 1) << noDisplay;
    EXPECT_NE(ReadAll(mFolder / "nodisplay-errors.txt").find("No display: "), std::string::npos);
    EXPECT_EQ(log.rfind(before, 0), 0u) << "the first copy's lines stay\n" << log;
    EXPECT_EQ(log.find("Game starting...", 7), std::string::npos) << "no second start in it\n" << log;
    EXPECT_EQ(log.find("No display"), std::string::npos) << log;
}

TEST_F(GameStart, MissingOptionalFilesAreLoggedAndTheGameGoesOn)
{
    const GameRun run = Run();
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.log.find("[ERROR] Cannot open asset cfg file: data/game.cfg"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("[WARNING] Music file not found: data/music/map.ogg"), std::string::npos) << run.log;
    EXPECT_NE(run.log.find("[WARNING] Cursor image not loaded: IMAGE_CURSOR_DRAG"), std::string::npos) << run.log;
}

TEST_F(GameStart, SettingsProfilesAndScoresAreWrittenAtShutdown)
{
    ASSERT_EQ(Run().exitCode, 0);
    const std::string settings = ReadAll(mFolder / "home/config/Nordwick/PetriGlowSaga/settings.txt");
    for (const char* name : {"MusicEnabled", "SoundEnabled", "CurrentLanguage", "LangOverSet"})
        EXPECT_NE(settings.find(name), std::string::npos) << name << " in\n" << settings;
    EXPECT_NE(settings.find("CurrentProfile=sz:Player"), std::string::npos) << settings;
    const fs::path data = mFolder / "home/data/Nordwick/PetriGlowSaga";
    EXPECT_TRUE(fs::exists(data / "profiles.lst"));
    EXPECT_TRUE(fs::exists(data / "scores.dat"));
}

TEST_F(GameStart, MissingTextsEndTheStartWithOneMessage)
{
    fs::remove(mFolder / "data/texts.xml");
    ExpectFailedStart(Run(), "Cannot open file: data/texts.xml");
}

TEST_F(GameStart, CorruptTextsNameTheFileAndLine)
{
    ShellTest::WriteText(mFolder / "data/texts.xml", "<texts>\n  <locale id=\"0\" name=\"en\"/>\n  <group name=\"ui\">\n"
                                                      "    <text name=\"A\"><value locale=\"fr\">x</value></text>\n");
    ExpectFailedStart(Run(), "data/texts.xml: value of A names locale 'fr', which is not declared before it on Line 4");
}

TEST_F(GameStart, MissingManifestEndsTheStartWithOneMessage)
{
    fs::remove(mFolder / "data/resources.xml");
    ExpectFailedStart(Run(), "Cannot open file: data\\resources.xml");
}

TEST_F(GameStart, CorruptManifestNamesTheLine)
{
    ShellTest::WriteText(mFolder / "data/resources.xml",
                         "<ResourceManifest>\n  <Resources id=\"Fonts\">\n  </Resources>\n  <Bogus/>\n</ResourceManifest>\n");
    ExpectFailedStart(Run(), "data\\resources.xml: Expected <Resources>, found <Bogus> on Line 4");
}

TEST_F(GameStart, AMissingStartImageNamesItsFile)
{
    fs::remove(mFolder / "data/art/textures/interface/cursor_hand.tga");
    ExpectFailedStart(Run(), "Cannot load resource group PreInterface: ");
    EXPECT_NE(Run().log.find("cursor_hand.tga"), std::string::npos);
}
} // namespace

namespace
{
// The lines of the flow log, without their update numbers.
std::vector<std::string> FlowSteps(const std::string& log)
{
    std::vector<std::string> steps;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[FLOW] ", 0) == 0)
            steps.push_back(line.substr(line.find(' ', 7) + 1));
    return steps;
}

// The update number of the first flow line that ends with the step; -1 when none.
int UpdateOf(const std::string& log, const std::string& step)
{
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[FLOW] ", 0) == 0 && line.ends_with(" " + step))
            return std::stoi(line.substr(7));
    return -1;
}

// The menu's group, so that the menu shows on the minimal data set.
// The main menu's group and the profile-name dialog's, which a first start shows.
void AddMenuGroup(const fs::path& folder)
{
    std::string manifest = ShellTest::MinimalManifest();
    manifest.insert(manifest.find("</ResourceManifest>"),
                    "  <Resources id=\"MainMenu\">\n    <SetDefaults path=\"data/art/textures/interface\" "
                    "idprefix=\"IMAGE_\"/>\n    <Image id=\"PIPETKA\" path=\"pipetka.tga\"/>\n  </Resources>\n"
                    "  <Resources id=\"EditName\">\n    <SetDefaults path=\"data/art/textures/interface\" "
                    "idprefix=\"IMAGE_\"/>\n    <Image id=\"EDIT_ITEM\" path=\"edit_item.tga\"/>\n"
                    "    <Image id=\"EDIT_NAME_BACKGROUND\" path=\"edit_name_background.tga\"/>\n  </Resources>\n");
    ShellTest::WriteText(folder / "data/resources.xml", manifest);
    ShellTest::WriteTga(folder / "data/art/textures/interface/pipetka.tga", 16, 24, 0xFFB0E0F0);
    ShellTest::WriteTga(folder / "data/art/textures/interface/edit_item.tga", 200, 30, 0xFF304050);
    ShellTest::WriteTga(folder / "data/art/textures/interface/edit_name_background.tga", 400, 200, 0xFF203040);
}

// A first start: the title's click leads to the compulsory profile, whose Enter leads to the menu.
const std::vector<std::string> kStartToMenu = {
    "push RootState",          "push SplashState",
    "command SplashState 0 0", "change SplashState StartLoadState",
    "push LoadState",          "pop LoadState",
    "command StartLoadState 1 0", "push CreateProfileState",
    "command CreateProfileState 1 0", "pop CreateProfileState",
    "change StartLoadState MainMenuState", "command MainMenuState 0 0",
    "push ComplexityState",
};
const char* const kNameAndPlay = "at 3500\ntext ann\nkey Return\nat 4500\nkey Return\nat 5500\nquit\n";
} // namespace

// Without branding pictures the splash leaves at once; the title waits for the loading, then a
// click opens the first profile's name (a first start), and then the menu, which takes Enter
// (play: the difficulty question of the new profile). The profile is the player's from then on.
TEST_F(GameStart, ScriptedFirstStartMakesTheProfileAndReachesTheMainMenu)
{
    AddMenuGroup(mFolder);
    // Generous times: the script's clock starts before the game's first update.
    const GameRun run =
        Run(std::string("at 3000\nmouse move 500 400\nmouse down left 500 400\nmouse up left 500 400\n") + kNameAndPlay);
    ASSERT_EQ(run.exitCode, 0) << run.output << run.log;
    auto steps = FlowSteps(run.log);
    ASSERT_GE(steps.size(), kStartToMenu.size()) << run.log;
    steps.resize(kStartToMenu.size());
    EXPECT_EQ(steps, kStartToMenu) << run.log;
    // The splash leaves at its first update; the menu acts on Enter in the update it arrives.
    EXPECT_EQ(UpdateOf(run.log, "command SplashState 0 0"), 1) << run.log;
    EXPECT_EQ(UpdateOf(run.log, "command MainMenuState 0 0"), UpdateOf(run.log, "push ComplexityState"));
    const std::string settings = ReadAll(mFolder / "home/config/Nordwick/PetriGlowSaga/settings.txt");
    EXPECT_NE(settings.find("CurrentProfile=sz:ann"), std::string::npos) << settings;

    // The next start has the profile: the title leads straight to the menu.
    const GameRun again = Run("at 3000\nmouse move 500 400\nmouse down left 500 400\nmouse up left 500 400\n"
                              "at 4000\nquit\n");
    ASSERT_EQ(again.exitCode, 0) << again.output << again.log;
    const std::vector<std::string> steps2 = FlowSteps(again.log);
    EXPECT_NE(std::find(steps2.begin(), steps2.end(), "change StartLoadState MainMenuState"), steps2.end()) << again.log;
    EXPECT_EQ(std::find(steps2.begin(), steps2.end(), "push CreateProfileState"), steps2.end()) << again.log;
}

// With a branding picture, Escape skips it (the picture itself is the screens suite's).
TEST_F(GameStart, ScriptedStartSkipsTheBrandingWithEscape)
{
    AddMenuGroup(mFolder);
    ImageLib::Image picture(32, 24);
    std::fill(picture.GetBits(), picture.GetBits() + 32 * 24, 0xFF3060A0u);
    fs::create_directories(mFolder / "Data/branding");
    ASSERT_TRUE(ImageLib::WritePng((mFolder / "Data/branding/brand.png").string(), picture));
    const GameRun run = Run(std::string("at 1000\nkey Escape\nat 3000\nmouse move 500 400\nmouse down left 500 400\n"
                                        "mouse up left 500 400\n") +
                            kNameAndPlay);
    ASSERT_EQ(run.exitCode, 0) << run.output << run.log;
    auto steps = FlowSteps(run.log);
    ASSERT_GE(steps.size(), kStartToMenu.size()) << run.log;
    steps.resize(kStartToMenu.size());
    EXPECT_EQ(steps, kStartToMenu) << run.log;
}

// The real cause is told, not only the file it hid.
TEST_F(GameStart, ABadPackIsNamedInTheLogAndTheFatalMessage)
{
    ShellTest::WriteText(mFolder / "main.pak", "");
    fs::remove(mFolder / "data/texts.xml");
    const GameRun run = Run();
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const std::string mountError = "Cannot mount pack file main.pak: ";
    const size_t mount = run.log.find("[ERROR] " + mountError);
    ASSERT_NE(mount, std::string::npos) << run.log;
    const std::string reason = run.log.substr(mount + 8, run.log.find('\n', mount) - mount - 8);
    EXPECT_NE(run.log.find("[ERROR] Cannot open file: data/texts.xml\n"), std::string::npos) << run.log;
    EXPECT_NE(run.output.find("\"FATAL ERROR\": \"Cannot open file: data/texts.xml\r\n" + reason + "\""),
              std::string::npos)
        << run.output;
    EXPECT_EQ(ReadAll(mFolder / "ScrError.txt").rfind(reason + " ", 0), 0u) << "the error log stays where it was";
}

TEST_F(GameStart, AnUnknownOptionEndsTheStartWithAFailure)
{
    const GameRun run = Run("quit\n", {}, "--help");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("\"FATAL ERROR\": \"Invalid command line parameter: --help\""), std::string::npos)
        << run.output;
    // With no other copy running, the failed start has its log.
    EXPECT_EQ(run.log.rfind("[APP] Game starting...\n", 0), 0u) << run.log;
}

// One warning with the sound library's reason; the sounds themselves play into the silence.
TEST_F(GameStart, WithoutASoundDeviceTheLogHasOneWarningWithTheReason)
{
    const GameRun run = Run("quit\n", "QUOLL_AUDIO=sdl SDL_AUDIODRIVER=no-such-driver");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.log;
    const std::string warning = "[WARNING] Audio: no sound device could be opened; the game runs without sound (";
    const size_t at = run.log.find(warning);
    ASSERT_NE(at, std::string::npos) << run.log;
    EXPECT_EQ(run.log.find(warning, at + 1), std::string::npos) << run.log;
    EXPECT_NE(run.log.substr(at).find("no-such-driver"), std::string::npos) << run.log;
    std::istringstream lines(run.log);
    int soundLines = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.find("udio") != std::string::npos || line.find("sound") != std::string::npos)
            ++soundLines;
    EXPECT_EQ(soundLines, 1) << run.log;
    EXPECT_NE(ReadAll(mFolder / "ScrError.txt").find("Audio: no sound device could be opened; the game runs without "
                                                    "sound "),
              std::string::npos);
}
