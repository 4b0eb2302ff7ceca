// Every picture a level background names is in a resource group the play screen loads, so no
// background layer is left undrawn with "Not found Fone image" in the log.
#include "game/app/PlayLevelState.h"
#include "tests/data/GameDataFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace
{
namespace fs = std::filesystem;

TEST(BackgroundGroups, EveryLayerOfEveryBackgroundIsInAPlayGroup)
{
    std::map<std::string, std::string> groups;
    for (const ResGen::Entry& entry : DataTest::MasterTable())
        groups[entry.name] = entry.group;
    ASSERT_FALSE(groups.empty());
    const auto isPlayGroup = [](const std::string& group) {
        return std::any_of(std::begin(PlayLevelState::kPlayGroups), std::end(PlayLevelState::kPlayGroups),
                           [&](const char* loaded) { return group == loaded; });
    };
    int layers = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QUOLL_SOURCE_DIR) / "data/art/textures/fones"))
    {
        if (entry.path().extension() != ".fone")
            continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line))
        {
            std::istringstream fields(line);
            std::string keyword, name;
            if (!(fields >> keyword >> name) || keyword != "OBJ")
                continue;
            ++layers;
            const auto found = groups.find("IMAGE_" + name);
            ASSERT_NE(found, groups.end()) << entry.path() << ": IMAGE_" << name;
            EXPECT_TRUE(isPlayGroup(found->second))
                << entry.path().filename() << ": IMAGE_" << name << " is in group " << found->second;
        }
    }
    EXPECT_GT(layers, 30);
}
} // namespace
