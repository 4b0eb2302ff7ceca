// The authored data agrees with the code and the art: the texts hold every key the code asks
// for and every achievement's name, the placement files fit the screen and the images they
// place.
#include "tests/data/GameDataFiles.h"

#include "game/shell/Localisation.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

namespace
{
namespace fs = std::filesystem;

// The text keys named in the game's and framework's sources as string literals (comments,
// which show examples, left out).
std::set<std::string> KeysInCode()
{
    std::set<std::string> keys;
    const std::regex literal("\"((UI|HINT)_[A-Z0-9_]+|ACH[0-9]+)\"");
    for (const char* area : {"game", "framework", "main"})
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(QUOLL_SOURCE_DIR) / area))
        {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
                continue;
            std::istringstream lines(DataTest::ReadAll(entry.path()));
            for (std::string line; std::getline(lines, line);)
            {
                line = line.substr(0, line.find("//"));
                for (auto it = std::sregex_iterator(line.begin(), line.end(), literal); it != std::sregex_iterator(); ++it)
                    keys.insert((*it)[1].str());
            }
        }
    return keys;
}

struct Record
{
    std::string name;
    int a = 0, b = 0, c = 0, d = 0;
};

std::vector<Record> ReadRecords(const std::string& path)
{
    std::vector<Record> records;
    std::istringstream lines(DataTest::ReadAll(path));
    std::string line;
    while (std::getline(lines, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Record r;
        fields >> r.name >> r.a >> r.b >> r.c >> r.d;
        records.push_back(r);
    }
    return records;
}

const ResGen::Entry* FindEntry(const std::vector<ResGen::Entry>& table, const std::string& name)
{
    for (const ResGen::Entry& entry : table)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

TEST(AuthoredData, TextsHoldEveryKeyOfTheCodeAndEveryAchievement)
{
    Localisation texts;
    ASSERT_TRUE(texts.LoadFromString(DataTest::ReadAll(QUOLL_SOURCE_DIR "/data/texts.xml"), "data/texts.xml"));
    const std::set<std::string> keys = KeysInCode();
    EXPECT_TRUE(keys.count("UI_WINDOWTITLE")); // the search itself works
    for (const std::string& key : keys)
        EXPECT_TRUE(texts.HasText(key)) << key << " is used by the code but missing from data/texts.xml";
    for (int n = 1; n <= 40; ++n)
        EXPECT_TRUE(texts.HasText("ACH" + std::to_string(n))) << n;
}

TEST(AuthoredData, MapNodesFitTheScreenAndTheLevelImages)
{
    const std::vector<Record> nodes = ReadRecords(QUOLL_SOURCE_DIR "/data/art/textures/map/mapcoords.txt");
    const std::vector<ResGen::Entry> table = DataTest::MasterTable();
    ASSERT_EQ(nodes.size(), 24u); // one per level group
    for (size_t i = 0; i < nodes.size(); ++i)
    {
        const ResGen::Entry* image = FindEntry(table, "IMAGE_LEV_" + std::to_string(i + 1));
        ASSERT_NE(image, nullptr) << i;
        EXPECT_EQ(nodes[i].c, image->width / image->cols) << nodes[i].name;
        EXPECT_EQ(nodes[i].d, image->height / image->rows) << nodes[i].name;
        EXPECT_GE(nodes[i].a, 0) << nodes[i].name;
        EXPECT_GE(nodes[i].b, 0) << nodes[i].name;
        EXPECT_LE(nodes[i].a + nodes[i].c, 1024) << nodes[i].name;
        EXPECT_LE(nodes[i].b + nodes[i].d, 768 - 96) << nodes[i].name << " under the map's menu band";
    }
    // Each bubble area lies over its node.
    const std::vector<Record> bulbs = ReadRecords(QUOLL_SOURCE_DIR "/data/art/textures/map/bulbs.txt");
    ASSERT_EQ(bulbs.size(), nodes.size());
    for (size_t i = 0; i < bulbs.size(); ++i)
    {
        EXPECT_LT(bulbs[i].a, nodes[i].a + nodes[i].c);
        EXPECT_GT(bulbs[i].a + bulbs[i].c, nodes[i].a);
        EXPECT_LT(bulbs[i].b, nodes[i].b + nodes[i].d);
        EXPECT_GT(bulbs[i].b + bulbs[i].d, nodes[i].b);
    }
}

TEST(AuthoredData, SliderSegmentsMatchTheThumbCelsAndTheTrack)
{
    const std::vector<Record> segments = ReadRecords(QUOLL_SOURCE_DIR "/data/art/textures/interface/slider.txt");
    const std::vector<ResGen::Entry> table = DataTest::MasterTable();
    const ResGen::Entry* thumb = FindEntry(table, "IMAGE_SETTING_SLIDER_THUMB");
    const ResGen::Entry* track = FindEntry(table, "IMAGE_SETTING_SLIDER_TRACK");
    ASSERT_TRUE(thumb && track);
    ASSERT_EQ(static_cast<int>(segments.size()), thumb->cols * thumb->rows);
    for (size_t i = 0; i < segments.size(); ++i)
    {
        EXPECT_LE(segments[i].a + segments[i].c, track->width) << segments[i].name;
        EXPECT_LE(segments[i].b + thumb->height, track->height) << segments[i].name;
        if (i > 0)
        {
            EXPECT_GT(segments[i].a, segments[i - 1].a) << "segments light from left to right";
        }
    }
}
} // namespace

namespace
{
// Every background description and zoom effect names images of the master table, and every
// background's grid is one the mesh can take (2 to 64 a side).
TEST(AuthoredData, BackgroundsAndZoomEffectsNameImagesOfTheTable)
{
    const std::vector<ResGen::Entry> table = DataTest::MasterTable();
    const fs::path folder = fs::path(QUOLL_SOURCE_DIR) / "data/art/textures/fones";
    for (int n = 1; n <= 24; ++n)
    {
        const fs::path path = folder / (std::to_string(n) + ".fone");
        std::istringstream lines(DataTest::ReadAll(path));
        int objects = 0;
        for (std::string line; std::getline(lines, line);)
        {
            std::istringstream fields(line);
            std::string keyword, name;
            int count = 0, x = 0, y = 0, columns = 0, rows = 0;
            float width = 0, height = 0;
            if (!(fields >> keyword) || keyword != "OBJ")
                continue;
            ASSERT_TRUE(fields >> name >> count >> x >> y >> width >> height >> columns >> rows) << path << ": " << line;
            EXPECT_NE(FindEntry(table, "IMAGE_" + name), nullptr) << path << ": " << name;
            EXPECT_TRUE(columns >= 2 && columns <= 64 && rows >= 2 && rows <= 64) << path << ": " << line;
            ++objects;
        }
        EXPECT_GE(objects, 1) << path;
        // Its first layer is the background picture of the same number.
        EXPECT_NE(DataTest::ReadAll(path).find("OBJ FONE" + std::to_string(n) + " "), std::string::npos) << path;
    }
    for (int k = 1; k <= 6; ++k)
    {
        const fs::path path = folder / ("zoomfx" + std::to_string(k) + ".cfg");
        std::istringstream lines(DataTest::ReadAll(path));
        int pictures = 0;
        for (std::string line; std::getline(lines, line);)
        {
            std::istringstream fields(line);
            std::string word;
            if (!(fields >> word) || word[0] == '#' || word == "SFX" || word == "LAB")
                continue;
            EXPECT_NE(FindEntry(table, word), nullptr) << path << ": " << word;
            ++pictures;
        }
        EXPECT_GE(pictures, 1) << path;
    }
}
} // namespace
