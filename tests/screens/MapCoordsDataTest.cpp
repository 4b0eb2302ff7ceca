// The shipped map layout, laid out by the map itself with every level done: each group's open
// fan stays inside its episode's dish (the map picture's dishes), clear of the dish's glass wall,
// and off every other group's node and medal; nodes keep their numbers readable and stay clear
// of the beaker, the menu band and the achievements button.
// Rerun one case: test_screens --gtest_filter='MapCoordsData.*'.
#include "LevelMapTestDoubles.h"
#include "framework/display/Image.h"
#include "game/screens/LevelMap.h"
#include "game/screens/LevelRay.h"
#include "game/screens/LevelSelector.h"
#include "game/ui/Button.h"
#include "tests/data/GameDataFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using Quoll::Rect;

// The map picture's glass under each node (tools/artgen), by its radius.
constexpr int kNodeGlassRadius = 27;
// A dish's glass wall (its rim and the ring inside it) takes this share of its radius.
constexpr double kDishWall = 0.075;

struct Dish
{
    int x = 0, y = 0, radius = 0;
};

std::vector<Dish> ReadDishes()
{
    std::ifstream file(QUOLL_SOURCE_DIR "/data/art/textures/map/dishes.txt");
    std::vector<Dish> dishes;
    for (std::string line; std::getline(file, line);)
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        std::string label;
        Dish dish;
        if (in >> label >> dish.x >> dish.y >> dish.radius)
            dishes.push_back(dish);
    }
    return dishes;
}

bool Overlaps(const Rect& a, const Rect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Holds(const Rect& r, const FloatPoint& p)
{
    return p.x >= static_cast<float>(r.x) && p.x < static_cast<float>(r.x + r.width) &&
           p.y >= static_cast<float>(r.y) && p.y < static_cast<float>(r.y + r.height);
}

// The farthest corner of a rectangle from a dish's centre.
double Reach(const Rect& r, const Dish& dish)
{
    double reach = 0.0;
    for (const int x : {r.x, r.x + r.width})
        for (const int y : {r.y, r.y + r.height})
            reach = std::max(reach, std::hypot(x - dish.x, y - dish.y));
    return reach;
}

std::string Name(const Rect& r)
{
    std::ostringstream out;
    out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
    return out.str();
}

class MapCoordsData : public ::testing::Test
{
protected:
    MapCoordsData()
    {
        MapTest::AddMapResources(harness.ui);
        RevealGroup = -1;
        MapSnapshotMode = false;
        world.progress.CompleteLevels(70);
        world.list.BuildLevelTable();
        map = harness.Show(new Quoll::LevelMap(world.services));
        EXPECT_TRUE(map->BuildMap(false));
        // The menu has slid in: the achievements button stands at its place.
        for (int i = 0; i < 200; ++i)
            map->Update();
        for (int g = 1; g <= world.list.GetGroupCount(); ++g)
        {
            const MapPoint* point = map->GetMapPoints().GetPoint(g - 1);
            EXPECT_NE(point, nullptr) << "group " << g;
            if (point != nullptr)
                points.push_back(point);
        }
    }
    ~MapCoordsData() override
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
        RevealGroup = -1;
    }

    // The cells of a group's fan, fully out.
    [[nodiscard]] std::vector<Rect> FanCells(int group) const
    {
        std::vector<Rect> cells;
        LevelSelector* selector = map->GetSelectors().GetSelector(group - 1);
        for (int i = 0; i < selector->GetRayCount(); ++i)
            cells.push_back(selector->GetRay(i)->GetFullRect());
        return cells;
    }
    [[nodiscard]] static Rect Medal(const MapPoint& point)
    {
        const int w = static_cast<int>(static_cast<float>(point.medalImage->mWidth) * MapPoint::kMedalScale);
        const int h = static_cast<int>(static_cast<float>(point.medalImage->mHeight) * MapPoint::kMedalScale);
        return {point.medalX, point.medalY, w, h};
    }
    [[nodiscard]] static Rect Glass(const MapPoint& point)
    {
        const FloatPoint c = point.GetPosition();
        return {static_cast<int>(c.x) - kNodeGlassRadius, static_cast<int>(c.y) - kNodeGlassRadius,
                2 * kNodeGlassRadius, 2 * kNodeGlassRadius};
    }
    [[nodiscard]] Rect Image(const char* name, int x, int y)
    {
        const Quoll::Image* image = harness.ui.GetImageNamed(name);
        return {x, y, image->mWidth, image->mHeight};
    }

    MapTest::MapFolder folder{"coords_data"};
    MapTest::MapWorld world;
    ScreenTest::ScreenHarness harness;
    Quoll::LevelMap* map = nullptr;
    std::vector<const MapPoint*> points;
};

// The pictures the layout is measured with have the shipped sizes (one cel each).
TEST_F(MapCoordsData, ThePicturesMeasuredHaveTheShippedSizes)
{
    const std::vector<ResGen::Entry> table = DataTest::MasterTable();
    ASSERT_FALSE(table.empty());
    std::vector<std::string> names = {"IMAGE_MINI_CELLS", "IMAGE_MEDAL1", "IMAGE_MEDAL2", "IMAGE_MEDAL3",
                                      "IMAGE_STAKAN", "IMAGE_BACKSTEP_FONE", "IMAGE_MAPMENU_FONE"};
    for (int g = 1; g <= 24; ++g)
        names.push_back("IMAGE_LEV_" + std::to_string(g));
    for (const std::string& name : names)
    {
        const auto entry =
            std::find_if(table.begin(), table.end(), [&](const ResGen::Entry& e) { return e.name == name; });
        ASSERT_NE(entry, table.end()) << name;
        const Quoll::Image* image = harness.ui.GetImageNamed(name);
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->GetCelWidth(), entry->width / entry->cols) << name;
        EXPECT_EQ(image->GetCelHeight(), entry->height / entry->rows) << name;
    }
}

TEST_F(MapCoordsData, EveryFanStaysInsideItsDishAndOffTheOtherNodesAndMedals)
{
    const std::vector<Dish> dishes = ReadDishes();
    ASSERT_EQ(dishes.size(), 5u);
    ASSERT_EQ(points.size(), 24u);
    const Rect screen{0, 0, harness.ui.appWidth, harness.ui.appHeight};
    for (const MapPoint* point : points)
    {
        const int g = point->group;
        const Dish& dish = dishes[static_cast<size_t>(world.list.GetGroupEpisode(g) - 1)];
        const double inside = dish.radius * (1.0 - kDishWall);
        const std::vector<Rect> cells = FanCells(g);
        EXPECT_EQ(cells.size(), g == 24 ? 1u : 3u);
        for (const Rect& cell : cells)
        {
            EXPECT_LE(Reach(cell, dish), inside) << "group " << g << ": cell " << Name(cell) << " on its dish's wall";
            EXPECT_TRUE(cell.x >= 0 && cell.y >= 0 && cell.x + cell.width <= screen.width &&
                        cell.y + cell.height <= screen.height)
                << "group " << g << ": cell " << Name(cell) << " off the screen";
            for (const MapPoint* other : points)
            {
                if (other == point)
                    continue;
                EXPECT_FALSE(Overlaps(cell, Medal(*other)))
                    << "fan of group " << g << " over the medal of " << other->group;
                EXPECT_FALSE(Overlaps(cell, Glass(*other)))
                    << "fan of group " << g << " over the node of " << other->group;
            }
        }
        const FloatPoint c = point->GetPosition();
        EXPECT_LE(std::hypot(c.x - dish.x, c.y - dish.y) + kNodeGlassRadius, inside)
            << "group " << g << ": node on its dish's wall";
        EXPECT_LE(Reach(Medal(*point), dish), inside) << "group " << g << ": medal on its dish's wall";
    }
}

TEST_F(MapCoordsData, NodesAreReadableAndClearOfTheBeakerTheMenuBandAndTheAchievements)
{
    const Rect beaker = Image("IMAGE_STAKAN", Quoll::LevelMap::kBeakerX, Quoll::LevelMap::kBeakerY);
    const Rect band = Image("IMAGE_MAPMENU_FONE", 0, harness.ui.appHeight - Image("IMAGE_MAPMENU_FONE", 0, 0).height);
    const Rect badge = Image("IMAGE_BACKSTEP_FONE", Quoll::LevelMap::kBadgeX, Quoll::LevelMap::kBadgeY);
    const Quoll::Button* button = map->GetButton(Quoll::LevelMap::kAchievements);
    const Rect achievements{button->mX, button->mY, button->mWidth, button->mHeight};
    for (const MapPoint* point : points)
    {
        const int g = point->group;
        for (const Rect& node : {Glass(*point), Medal(*point)})
        {
            EXPECT_FALSE(Overlaps(node, beaker)) << "group " << g << " under the beaker";
            EXPECT_FALSE(Overlaps(node, band)) << "group " << g << " under the menu band";
            EXPECT_FALSE(Overlaps(node, badge) || Overlaps(node, achievements))
                << "group " << g << " under the achievements";
        }
        for (const MapPoint* other : points)
        {
            if (other->group <= g)
                continue;
            EXPECT_FALSE(Overlaps(Glass(*point), Glass(*other))) << "nodes " << g << " and " << other->group;
            EXPECT_FALSE(Overlaps(Medal(*point), Medal(*other))) << "medals " << g << " and " << other->group;
        }
        // The rectangle that opens a group's fan holds no other node: the first group whose
        // rectangle holds the pointer opens.
        for (const MapPoint* other : points)
        {
            if (other == point)
                continue;
            EXPECT_FALSE(Holds(point->GetRect(), other->GetPosition()))
                << "the node of " << other->group << " opens the fan of " << g;
        }
    }
}
} // namespace
