// The level fans over the map's nodes: their directions, bounds, locked cells, opening and
// closing times, hits, and the limit of groups that may open.
// Rerun one case: test_screens --gtest_filter='LevelSelectors.*'.
#include "LevelMapTestDoubles.h"
#include "game/screens/LevelRay.h"
#include "game/screens/LevelSelector.h"
#include "game/screens/LevelSelectorRoot.h"
#include "game/screens/MapPointRoot.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using Angles = std::vector<int>;

class LevelSelectors : public ::testing::Test
{
protected:
    LevelSelectors() { MapTest::AddMapResources(harness.ui); }

    void Build()
    {
        world.list.BuildLevelTable();
        ASSERT_TRUE(points.Load());
        selectors.Build(points.GetPoints());
    }
    // The mouse on a point, as the map passes it: the widget manager's position too.
    void Move(int x, int y)
    {
        world.services.mouse = {static_cast<float>(x), static_cast<float>(y)};
        selectors.MouseMove(x, y);
    }
    void MoveToNode(int group)
    {
        const FloatPoint at = points.GetPoint(group - 1)->GetPosition();
        Move(static_cast<int>(at.x), static_cast<int>(at.y));
    }
    void MoveToCell(const LevelRay& ray, bool full = true)
    {
        const Quoll::Rect r = full ? const_cast<LevelRay&>(ray).GetFullRect() : ray.GetCellRect();
        Move(r.x + r.width / 2, r.y + r.height / 2);
    }
    void Run(int updates)
    {
        for (int i = 0; i < updates; ++i)
            selectors.Update(0.01f);
    }
    LevelRay& Ray(int group, int index) { return *selectors.GetSelector(group - 1)->GetRay(index); }

    MapTest::MapFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    MapTest::MapWorld world;
    ScreenTest::ScreenHarness harness;
    MapPointRoot points{world.services};
    LevelSelectorRoot selectors{world.services};
};

TEST_F(LevelSelectors, FansPointAwayFromTheScreensEdges)
{
    EXPECT_EQ(LevelSelector::GetRayAngles(1, 3), (Angles{135, 90, 45}));
    EXPECT_EQ(LevelSelector::GetRayAngles(3, 3), (Angles{315, 360, 405}));
    EXPECT_EQ(LevelSelector::GetRayAngles(20, 3), (Angles{135, 180, 225}));
    EXPECT_EQ(LevelSelector::GetRayAngles(24, 1), (Angles{90}));
    EXPECT_EQ(LevelSelector::GetRayAngles(1, 2), (Angles{135, 45}));
    EXPECT_EQ(LevelSelector::GetRayAngles(7, 2), (Angles{315, 405}));

    Build();
    // The middle ray of group 1 ends 73 pixels straight above the node's centre.
    const FloatPoint centre = points.GetPoint(0)->GetPosition();
    const Quoll::Rect up = Ray(1, 1).GetFullRect();
    EXPECT_EQ(up.x + up.width / 2, static_cast<int>(centre.x));
    EXPECT_EQ(up.y + up.height / 2, static_cast<int>(centre.y - 73.0f));
    // The last group opens straight up with its one level.
    ASSERT_EQ(selectors.GetSelector(23)->GetRayCount(), 1);
    EXPECT_EQ(Ray(24, 0).GetLevel(), 70);
    EXPECT_FLOAT_EQ(Ray(24, 0).GetAngle(), 90 * 0.017453292f);
}

TEST_F(LevelSelectors, BoundsHoldTheNodeAndEveryCellWithAMargin)
{
    Build();
    const LevelSelector& selector = *selectors.GetSelector(2);
    const Quoll::Rect& bounds = selector.GetBounds();
    const MapPoint& node = *points.GetPoint(2);
    EXPECT_LE(bounds.x, node.x);
    EXPECT_LE(bounds.y, node.y);
    EXPECT_GE(bounds.x + bounds.width, node.x + node.w);
    EXPECT_GE(bounds.y + bounds.height, node.y + node.h);
    int right = 0;
    for (int i = 0; i < selector.GetRayCount(); ++i)
    {
        const Quoll::Rect cell = selector.GetRay(i)->GetFullRect();
        EXPECT_LE(bounds.x, cell.x - 5) << i;
        EXPECT_LE(bounds.y, cell.y - 5) << i;
        EXPECT_GE(bounds.y + bounds.height, cell.y + cell.height + 5) << i;
        right = std::max(right, cell.x + cell.width + 5);
    }
    // Group 3 opens to the right: its outermost cell with its margin is the right edge.
    EXPECT_EQ(bounds.x + bounds.width, right);
}

TEST_F(LevelSelectors, ALockedCellIsShortGreySlowAndCannotBeChosen)
{
    world.progress.GetNullTutorial().AddLevelWithSteps(1);
    Build();
    MoveToNode(1);
    Run(40);
    LevelRay& open = Ray(1, 0);
    LevelRay& locked = Ray(1, 2);
    ASSERT_FALSE(open.IsLocked());
    ASSERT_TRUE(locked.IsLocked());
    const FloatPoint centre = points.GetPoint(0)->GetPosition();
    const auto distance = [&](const Quoll::Rect& r) {
        return std::hypot(static_cast<float>(r.x + r.width / 2) - centre.x,
                          static_cast<float>(r.y + r.height / 2) - centre.y);
    };
    EXPECT_NEAR(distance(open.GetCellRect()), 73.0f, 1.5f);
    EXPECT_NEAR(distance(locked.GetCellRect()), 73.0f * 0.7f, 1.5f);

    MoveToCell(locked, false);
    EXPECT_FALSE(locked.IsHovered());
    EXPECT_EQ(selectors.HitLevel(), -1);
    EXPECT_EQ(selectors.GetHoveredGroup(), 1);

    // Drifts: a tenth of the speed (10 pixels a second) for a locked cell.
    const RayWobble before = locked.GetEnemyDrift();
    const RayWobble openBefore = open.GetEnemyDrift();
    Run(1);
    const auto moved = [](const RayWobble& a, const RayWobble& b) {
        return std::hypot(a.offsetX - b.offsetX, a.offsetY - b.offsetY);
    };
    EXPECT_NEAR(moved(before, locked.GetEnemyDrift()), 0.01f, 0.002f);
    EXPECT_NEAR(moved(openBefore, open.GetEnemyDrift()), 0.1f, 0.02f);

    harness.ui.sounds.clear();
    MoveToCell(open, false);
    MoveToCell(open, false);
    EXPECT_EQ(selectors.HitLevel(), 1);
    EXPECT_EQ(harness.ui.SoundNames(), std::vector<std::string>{"SOUND_OVER_LEVEL"});
}

TEST_F(LevelSelectors, AFanOpensAndClosesInAThirdOfASecond)
{
    Build();
    MoveToNode(1);
    EXPECT_EQ(selectors.GetHoveredGroup(), 1);
    Run(33);
    EXPECT_EQ(Ray(1, 1).GetState(), LevelRay::kOpening);
    Run(1);
    EXPECT_EQ(Ray(1, 1).GetState(), LevelRay::kOpen);
    EXPECT_EQ(Ray(1, 1).GetExtension(), 1.0f);
    // Open, but off every cell: no level.
    EXPECT_EQ(selectors.HitLevel(), -1);

    Move(1000, 20);
    EXPECT_EQ(selectors.GetHoveredGroup(), -1);
    Run(34);
    EXPECT_EQ(Ray(1, 1).GetState(), LevelRay::kClosing);
    Run(1);
    EXPECT_EQ(Ray(1, 1).GetState(), LevelRay::kClosed);
    EXPECT_EQ(Ray(1, 1).GetExtension(), 0.0f);
}

TEST_F(LevelSelectors, GroupsPastTheFirstOpenOneNeverOpen)
{
    world.progress.CompleteLevels(3);
    Build();
    EXPECT_EQ(selectors.GetOpenGroupLimit(), 2);
    MoveToNode(3);
    Run(40);
    EXPECT_EQ(selectors.GetHoveredGroup(), -1);
    EXPECT_EQ(Ray(3, 0).GetState(), LevelRay::kClosed);
    // A complete group before it opens, with its medals on the cells.
    MoveToNode(1);
    Run(40);
    EXPECT_EQ(selectors.GetHoveredGroup(), 1);
    EXPECT_EQ(Ray(1, 0).GetMedal(), 2);
    MoveToCell(Ray(1, 0), false);
    EXPECT_EQ(harness.ui.SoundNames(), std::vector<std::string>{"SOUND_OVER_MEDAL"});
}
} // namespace
