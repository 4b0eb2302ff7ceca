// The level map's group nodes: how many the coordinates file makes, their cels and medals, fades,
// the reveal cascade and the hover sounds.
// Rerun one case: test_screens --gtest_filter='MapPoints.*'.
#include "LevelMapTestDoubles.h"
#include "framework/display/Image.h"
#include "game/screens/MapPointRoot.h"

#include <gtest/gtest.h>

namespace
{
std::string TestName()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

class MapPoints : public ::testing::Test
{
protected:
    MapPoints()
    {
        MapTest::AddMapResources(harness.ui);
        RevealGroup = -1;
    }
    ~MapPoints() override { RevealGroup = -1; }

    // Loads the nodes afresh from the progress as it stands.
    void Load()
    {
        world.list.BuildLevelTable();
        ASSERT_TRUE(root.Load());
    }
    // The updates (from 1) in which each of the first `count` nodes is first lit by the reveal.
    std::vector<int> RevealStarts(int count, int updates)
    {
        std::vector<int> starts(static_cast<size_t>(count), -1);
        for (int u = 1; u <= updates; ++u)
        {
            root.Update(0.01f);
            for (int i = 0; i < count; ++i)
                if (starts[static_cast<size_t>(i)] == -1 && root.GetPoint(i)->revealTimer >= 0.0f)
                    starts[static_cast<size_t>(i)] = u;
        }
        return starts;
    }

    MapTest::MapFolder folder{TestName()};
    MapTest::MapWorld world;
    ScreenTest::ScreenHarness harness;
    MapPointRoot root{world.services};
};

TEST_F(MapPoints, TheFileGivesOneNodePerLineUpToTheGroupCount)
{
    MapTest::MapFolder::WriteCoords(30);
    Load();
    EXPECT_EQ(root.GetCount(), 24);
    EXPECT_EQ(root.GetPoint(23)->group, 24);
    EXPECT_EQ(root.GetPoint(24), nullptr);

    MapTest::MapFolder::WriteCoords(10);
    Load();
    EXPECT_EQ(root.GetCount(), 10);
    EXPECT_EQ(root.GetPoint(9)->group, 10);
    EXPECT_EQ(root.GetPoint(10), nullptr);
    EXPECT_EQ(root.GetPoint(-1), nullptr);

    MapTest::MapFolder::RemoveCoords();
    EXPECT_FALSE(root.Load());
    EXPECT_EQ(harness.ui.CountLog("ERROR: Cannot open file: data/art/textures/map/mapcoords.txt"), 1);
}

TEST_F(MapPoints, CelsCountTheLevelsDoneAndMedalsSitAboveTheCentre)
{
    world.progress.SetLevelResult(1, 10, 2);
    world.progress.SetLevelResult(2, 10, 2);
    world.progress.SetLevelResult(3, 10, 1);
    world.progress.SetLevelResult(4, 10, 2);
    world.progress.SetLevelResult(70, 10, 2);
    Load();

    const MapPoint& first = *root.GetPoint(0);
    EXPECT_TRUE(first.complete);
    EXPECT_EQ(first.cel, 2);
    EXPECT_EQ(first.medal, 1);
    ASSERT_NE(first.medalImage, nullptr);
    EXPECT_EQ(first.medalImage, harness.ui.GetImageNamed("IMAGE_MEDAL2"));
    // The node's centre is its rectangle's corner plus the group's offset (25, 27); the medal,
    // drawn at 0.7 of its 96 pixels, is centred 20 pixels above it.
    EXPECT_EQ(first.GetPosition().x, static_cast<float>(first.x + 25));
    EXPECT_EQ(first.GetPosition().y, static_cast<float>(first.y + 27));
    EXPECT_EQ(first.medalX, static_cast<int>(static_cast<float>(first.x + 25) - 48 * 0.7f));
    EXPECT_EQ(first.medalY, static_cast<int>(static_cast<float>(first.y + 27 - 20) - 48 * 0.7f));
    EXPECT_FLOAT_EQ(first.GetSparkleRadius(), 96 * 0.5f * 0.7f);
    // The picture decides the rectangle's size.
    EXPECT_EQ(first.w, harness.ui.GetImageNamed("IMAGE_LEV_1")->GetCelWidth());

    const MapPoint& second = *root.GetPoint(1);
    EXPECT_FALSE(second.complete);
    EXPECT_EQ(second.cel, 1);
    EXPECT_EQ(second.medal, -1);
    EXPECT_EQ(second.medalImage, nullptr);
    EXPECT_FLOAT_EQ(second.GetSparkleRadius(), 1.0f);
    EXPECT_EQ(second.GetMedalAnchor().y, second.GetPosition().y);

    // The last group, one level, shows its first cel when complete.
    const MapPoint& last = *root.GetPoint(23);
    EXPECT_TRUE(last.complete);
    EXPECT_EQ(last.cel, 0);
    EXPECT_EQ(last.medal, 2);
}

TEST_F(MapPoints, FadesEndOnTimeAndAFadeOfNoTimeInTheSameUpdate)
{
    Load();
    root.Fade(0, 0.0f, true);
    EXPECT_EQ(root.GetPoint(0)->colour.a, 0);
    EXPECT_TRUE(root.AnyFading());
    root.Update(0.01f);
    EXPECT_EQ(root.GetPoint(0)->state, MapPoint::kShown);
    EXPECT_EQ(root.GetPoint(0)->colour.a, 255);
    EXPECT_FALSE(root.AnyFading());

    root.Fade(0, 0.0f, false);
    root.Update(0.01f);
    EXPECT_EQ(root.GetPoint(0)->state, MapPoint::kDone);
    EXPECT_EQ(root.GetPoint(0)->colour.a, 0);

    // An index past the nodes fades the last one; half way in gives half the alpha.
    root.Fade(99, 1.0f, true);
    EXPECT_EQ(root.GetPoint(23)->state, MapPoint::kFadingIn);
    root.Update(0.5f);
    EXPECT_EQ(root.GetPoint(23)->colour.a, 127);
    root.Update(0.6f);
    EXPECT_EQ(root.GetPoint(23)->state, MapPoint::kShown);
}

TEST_F(MapPoints, TheRevealLightsShownNodesOneAfterAnother)
{
    Load();
    root.ShowOpened();
    RevealGroup = 1;
    const std::vector<int> starts = RevealStarts(4, 35);
    EXPECT_EQ(starts[0], 1);
    for (size_t i = 1; i < starts.size(); ++i)
    {
        // Each starts 0.1 s after the one before (in the step that passes 0.1 s).
        EXPECT_GE(starts[i] - starts[i - 1], 10) << i;
        EXPECT_LE(starts[i] - starts[i - 1], 11) << i;
    }
    // The first lit for 0.4 s in all, growing to full alpha, and plain again after it.
    const MapPoint& first = *root.GetPoint(0);
    EXPECT_TRUE(first.highlighted);
    EXPECT_GT(first.colour.a, 0);
    EXPECT_LT(first.colour.a, 255);
    for (int u = 0; u < 7; ++u)
        root.Update(0.01f);
    EXPECT_FALSE(first.highlighted);
    EXPECT_EQ(first.colour.a, 255);
    EXPECT_EQ(first.revealTimer, -1.0f);
}

TEST_F(MapPoints, GoldNodesBurstAndHoldTheRevealWhileOtherDoneNodesPassIt)
{
    world.progress.CompleteLevels(70, 2);
    for (int level = 4; level <= 6; ++level)
        world.progress.SetLevelResult(level, 1, 1);
    Load();
    root.ShowOpened();
    EXPECT_EQ(root.GetPoint(0)->state, MapPoint::kDone);
    RevealGroup = 1;

    root.Update(0.01f);
    ASSERT_EQ(world.services.spawns.size(), 1u);
    EXPECT_EQ(world.services.spawns[0].id, MapPoint::kGoldBurstSystem);
    EXPECT_EQ(world.services.spawns[0].y, root.GetPoint(0)->GetMedalAnchor().y);
    EXPECT_EQ(RevealGroup, 1);

    int updates = 1;
    while (RevealGroup < 3 && updates < 100)
    {
        root.Update(0.01f);
        ++updates;
    }
    // Held 0.4 s; the silver group 2 was passed in the same update and gold group 3 took over.
    EXPECT_GE(updates, 40);
    EXPECT_LE(updates, 42);
    EXPECT_EQ(RevealGroup, 3);
    ASSERT_EQ(world.services.spawns.size(), 2u);
    EXPECT_EQ(world.services.spawns[1].x, root.GetPoint(2)->GetMedalAnchor().x);
}

TEST_F(MapPoints, HoverSoundsNameTheNodeAndNoneBeyondTheFirstOpenGroup)
{
    world.progress.CompleteLevels(6);
    Load();
    root.ShowOpened();
    root.SetHover(3);
    EXPECT_TRUE(root.GetPoint(2)->highlighted);
    root.SetHover(1);
    EXPECT_FALSE(root.GetPoint(2)->highlighted);
    EXPECT_EQ(root.GetPoint(2)->colour.a, 255);
    root.SetHover(5);
    EXPECT_EQ(root.GetHovered(), root.GetPoint(4));
    EXPECT_FALSE(root.GetPoint(4)->highlighted);
    root.SetHover(-1);
    EXPECT_EQ(harness.ui.SoundNames(), (std::vector<std::string>{"SOUND_OVER_SOPLYA", "SOUND_OVER_METAMEDAL"}));

    world.progress.CompleteLevels(69);
    Load();
    root.SetHover(24);
    EXPECT_EQ(harness.ui.SoundNames().back(), "SOUND_OVER_SOPLYABOSS");
}
} // namespace
