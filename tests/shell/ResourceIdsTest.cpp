// The generated resource ids: the numbers game code computes with, the run of sounds, the
// look-ups by name and by id (0, ids past the table and ids of other kinds answer nothing), and
// the checked-in manifest being the generator's output of the master table.
#include "framework/resources/ResourceManager.h"
#include "game/shell/ResourceBindings.h"
#include "tests/shell/MinimalGameData.h"
#include "tools/resgen/ResourceTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
std::string ReadSource(const std::string& relative)
{
    std::ifstream in(std::string(QUOLL_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string NameOf(int id)
{
    return kResourceIdTable[id].name;
}

TEST(ResourceIds, TheNumbersGameCodeComputesWithKeepTheirPlaces)
{
    EXPECT_EQ(kResourceIdCount, 456);
    EXPECT_EQ(RESOURCE_NONE, 0);
    for (int grade = 0; grade < 3; ++grade)
    {
        EXPECT_EQ(NameOf(18 + grade), "IMAGE_MEDAL" + std::to_string(grade + 1));
        EXPECT_EQ(NameOf(203 + grade), "IMAGE_ICON_MEDAL" + std::to_string(grade + 1));
    }
    for (int n = 1; n <= 40; ++n)
        EXPECT_EQ(NameOf(46 + n), "IMAGE_ACH" + std::to_string(n));
    for (int skin = 1; skin <= 5; ++skin)
        EXPECT_EQ(NameOf(118 + skin), "IMAGE_CELL" + std::to_string(skin));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(NameOf(36 + i), "IMAGE_PNL_SCORES" + std::to_string(i + 1));
    for (int kind = 1; kind <= 8; ++kind)
    {
        EXPECT_EQ(NameOf(137 + kind), "IMAGE_BODY_" + std::to_string(kind));
        EXPECT_EQ(NameOf(145 + kind), "IMAGE_BORN_" + std::to_string(kind));
        EXPECT_EQ(NameOf(153 + kind), kind == 1 ? std::string("IMAGE_BIGBODY_1") : "IMAGE_BIGBODY_" + std::to_string(kind) + "E");
    }
    for (int bonus = 4; bonus <= 16; bonus += 4)
        EXPECT_EQ(NameOf(187 + bonus / 4), "IMAGE_BONUS" + std::to_string(bonus / 4));
    for (int bonus = 4; bonus <= 12; bonus += 4)
        EXPECT_EQ(NameOf(191 + bonus / 4), "IMAGE_BONUS" + std::to_string(bonus / 4) + "H");
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(NameOf(197 + n), "IMAGE_BACKSTEP_X" + std::to_string(n));
    for (int group = 1; group <= 24; ++group)
        EXPECT_EQ(NameOf(209 + group), "IMAGE_LEV_" + std::to_string(group));
}

TEST(ResourceIds, TheSoundsAreTheRunFrom362To454)
{
    EXPECT_EQ(SOUND_BUTTON_OVER, 362);
    EXPECT_EQ(SOUND_BOSS_TORAY, 454);
    for (int id = 1; id < kResourceIdCount; ++id)
        EXPECT_EQ(kResourceIdTable[id].kind == ResourceKind::Sound, id >= 362 && id <= 454) << NameOf(id);
    EXPECT_EQ(kResourceIdTable[FONT_FNT1].kind, ResourceKind::Font);
    EXPECT_EQ(kResourceIdTable[0].kind, ResourceKind::None);
}

TEST(ResourceIds, NamesMapToIdsAndUnknownNamesToTheCount)
{
    EXPECT_EQ(GetResourceIdByName("IMAGE_BONUSH"), IMAGE_BONUSH);
    EXPECT_EQ(GetResourceIdByName("SOUND_ZOOM_IN"), SOUND_ZOOM_IN);
    EXPECT_EQ(GetResourceIdByName("IMAGE_NO_SUCH_THING"), kResourceIdCount);
    EXPECT_EQ(GetResourceIdByName(""), kResourceIdCount);
}

TEST(ResourceIds, TheCheckedInManifestIsTheGeneratorsOutput)
{
    std::vector<ResGen::Entry> entries;
    std::string error;
    ASSERT_TRUE(ResGen::ParseTable(ReadSource("data/resource_ids.txt"), entries, error)) << error;
    EXPECT_EQ(ResGen::MakeManifest(entries), ReadSource("data/resources.xml"))
        << "run: resgen data/resource_ids.txt --manifest data/resources.xml";
}

TEST(ResourceIds, TheGeneratorRefusesABrokenTableWithItsLine)
{
    std::vector<ResGen::Entry> entries;
    std::string error;
    EXPECT_FALSE(ResGen::ParseTable("# c\n1 FONT_A Fonts a.txt\n3 FONT_B Fonts b.txt\n", entries, error));
    EXPECT_EQ(error, "line 3: expected id 2, found '3'");
    EXPECT_FALSE(ResGen::ParseTable("1 IMAGE_A G a.png 4 4 1\n", entries, error));
    EXPECT_EQ(error, "line 1: an image needs '<width> <height> <cols> <rows>' after its path");
    EXPECT_FALSE(ResGen::ParseTable("1 SOUND_A G a\n2 SOUND_A G b\n", entries, error));
    EXPECT_EQ(error, "line 2: 'SOUND_A' is given twice");
    EXPECT_FALSE(ResGen::ParseTable("1 MUSIC_A G a\n", entries, error));
    EXPECT_FALSE(ResGen::ParseTable("1 IMAGE_A G a.png 4 4 8 1\n", entries, error));
    EXPECT_EQ(error, "line 1: more cels than pixels");
}

TEST(ResourceBindings, BoundIdsAnswerTheLoadedResourcesAndNothingElse)
{
    const std::filesystem::path folder = std::filesystem::path(QUOLL_TEST_HOME) / "bindings";
    ShellTest::WriteMinimalGameData(folder);
    Quoll::ResourceManager manager;
    ASSERT_TRUE(manager.ParseResourcesFile((folder / "data/resources.xml").string())) << manager.GetErrorText();
    // The manifest's paths are relative to the game's folder.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const bool loaded = manager.LoadResources("PreInterface");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(loaded) << manager.GetErrorText();

    ResourceBindings bindings;
    EXPECT_EQ(ResourceBindings::Get(), &bindings);
    EXPECT_EQ(GetImageById(IMAGE_CURSOR), nullptr);
    // Three of the table's PreInterface ids are in this manifest.
    const int missing = bindings.Bind("PreInterface", manager);
    EXPECT_GT(missing, 0);
    Quoll::Image* cursor = GetImageById(IMAGE_CURSOR);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor, manager.GetImage("IMAGE_CURSOR"));
    EXPECT_EQ(bindings.FindImageId(cursor), IMAGE_CURSOR);
    EXPECT_EQ(GetImageById(IMAGE_SPLASH), nullptr);
    for (int id : {0, -1, kResourceIdCount, kResourceIdCount + 100, int(FONT_FNT1), int(SOUND_BUTTON_OVER)})
    {
        EXPECT_EQ(GetImageById(id), nullptr) << id;
        EXPECT_EQ(GetSoundById(id), -1) << id;
    }
    EXPECT_EQ(GetFontById(FONT_FNT1), nullptr);

    bindings.Unbind("PreInterface");
    EXPECT_EQ(GetImageById(IMAGE_CURSOR), nullptr);
    std::filesystem::remove_all(folder);
}
} // namespace
