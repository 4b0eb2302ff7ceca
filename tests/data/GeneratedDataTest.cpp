// The generators are reproducible: run twice into fresh folders they write the same files with
// the same bytes as the build's data folder. The game starts on the generated data, and the
// contact sheet draws it.
#include "tests/data/GameDataFiles.h"
#include "tests/GameRunEnvironment.h"

#include "framework/files/ImageLib.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace
{
namespace fs = std::filesystem;

int RunCommand(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the generators into a fresh folder and answers its files.
std::map<std::string, std::string> Generate(const fs::path& folder)
{
    fs::remove_all(folder);
    const std::string table = QUOLL_SOURCE_DIR "/data/resource_ids.txt";
    EXPECT_EQ(RunCommand(std::string(QUOLL_ARTGEN) + " " + table + " " + folder.string() +
                         " --mapcoords " QUOLL_SOURCE_DIR "/data/art/textures/map/mapcoords.txt"
                         " --mapdishes " QUOLL_SOURCE_DIR "/data/art/textures/map/dishes.txt"),
              0);
    EXPECT_EQ(RunCommand(std::string(QUOLL_SOUNDGEN) + " " + table + " " + folder.string()), 0);
    return DataTest::FolderFiles(folder);
}

TEST(GeneratedData, TwoRunsAndTheBuildGiveTheSameBytes)
{
    const fs::path base = fs::path(QUOLL_TEST_HOME) / "generated";
    const auto first = Generate(base / "first");
    const auto second = Generate(base / "second");
    ASSERT_GT(first.size(), 400u);
    ASSERT_EQ(first.size(), second.size());
    const auto build = DataTest::FolderFiles(QUOLL_GAME_DATA);
    for (const auto& [name, bytes] : first)
    {
        const auto again = second.find(name);
        ASSERT_NE(again, second.end()) << name;
        EXPECT_TRUE(again->second == bytes) << name << " differs between two runs";
        const auto built = build.find(name);
        ASSERT_NE(built, build.end()) << name << " is missing from the build's data folder";
        EXPECT_TRUE(built->second == bytes) << name << " differs from the build's";
    }
    fs::remove_all(base);
}

// The fonts and the pack are made by the project's other tools: the same inputs give the same
// bytes there too, so main.pak as a whole is reproducible.
TEST(GeneratedData, FontsAndThePackAreReproducible)
{
    const fs::path base = fs::path(QUOLL_TEST_HOME) / "fontpack";
    fs::remove_all(base);
    for (const char* run : {"first", "second"})
        ASSERT_EQ(RunCommand(std::string(QUOLL_FONTBAKE) + " --font /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                             " --pixels 18 --out '" + (base / run).string() + "' --name fnt1"
                             " --chars 20-7E,A0-FF,401-45F,2013-2014,2018-201E,2022,2026,20AC > /dev/null"),
                  0);
    for (const char* file : {"fnt1.txt", "fnt1.png"})
    {
        const std::string built = DataTest::ReadAll(fs::path(QUOLL_GAME_DATA) / "data/fonts" / file);
        EXPECT_FALSE(built.empty()) << file;
        EXPECT_TRUE(DataTest::ReadAll(base / "first" / file) == built) << file << " differs from the build's";
        EXPECT_TRUE(DataTest::ReadAll(base / "second" / file) == built) << file << " differs between two runs";
    }
    ASSERT_EQ(RunCommand(std::string(QUOLL_PAKBUILD) + " --password '" QUOLL_PAK_PASSWORD "' " QUOLL_GAME_DATA " '" +
                         (base / "main.pak").string() + "' > /dev/null"),
              0);
    const std::string packed = DataTest::ReadAll(base / "main.pak");
    EXPECT_GT(packed.size(), 1000000u);
    EXPECT_TRUE(packed == DataTest::ReadAll(fs::path(QUOLL_GAME_DIR) / "main.pak")) << "main.pak differs from the build's";
    fs::remove_all(base);
}

TEST(GeneratedData, TheGameStartsOnItAndQuitsWithoutAnError)
{
    const fs::path home = fs::path(QUOLL_TEST_HOME) / "gamerun";
    fs::remove_all(home);
    fs::create_directories(home);
    std::ofstream(home / "quit.script") << "quit\n";
    const std::string command = "cd '" + home.string() + "' && env XDG_DATA_HOME='" + (home / "data").string() +
                                "' XDG_CONFIG_HOME='" + (home / "config").string() + "' " +
                                TestGame::RunEnvironment() + " QUOLL_PLATFORM=headless QUOLL_HEADLESS_SCRIPT='" +
                                (home / "quit.script").string() + "' '" QUOLL_GAME_PROGRAM "' '-changedir=" QUOLL_GAME_DIR
                                "' > output.txt 2>&1";
    const int exitCode = RunCommand(command);
    ASSERT_EQ(exitCode, 0) << DataTest::ReadAll(home / "output.txt");
    const std::string log = DataTest::ReadAll(home / "data/Nordwick/PetriGlowSaga/GameLog.txt");
    EXPECT_NE(log.find("[APP] Game inited."), std::string::npos) << log;
    EXPECT_NE(log.find("[APP] end."), std::string::npos) << log;
    EXPECT_EQ(log.find("[ERROR]"), std::string::npos) << log;
}
} // namespace

namespace
{
// The contact sheet of the art: a few full pages and a play-screen preview in the build folder,
// for a person to look at.
TEST(GeneratedData, TheContactSheetShowsTheArtOnAFewPages)
{
    const fs::path out = fs::path(QUOLL_BINARY_DIR) / "contactsheet";
    fs::remove_all(out);
    ASSERT_EQ(RunCommand(std::string(QUOLL_CONTACTSHEET) + " " QUOLL_GAME_DIR " " QUOLL_SOURCE_DIR
                         "/data/resource_ids.txt '" + out.string() + "' --password '" QUOLL_PAK_PASSWORD "'"),
              0);
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(out))
    {
        if (entry.path().filename() != "preview.png")
            ++pages;
        std::unique_ptr<ImageLib::Image> page = ImageLib::ReadImageFile(entry.path().string());
        ASSERT_NE(page, nullptr) << entry.path();
        EXPECT_EQ(page->GetWidth(), 1024);
        EXPECT_EQ(page->GetHeight(), 768);
    }
    EXPECT_GE(pages, 1);
    EXPECT_LE(pages, 15);
    EXPECT_TRUE(fs::exists(out / "preview.png"));
}
} // namespace
