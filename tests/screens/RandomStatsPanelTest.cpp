// The random-level panel: the tubes' fill from the profile's record, which tubes stand after a
// visit (none passed, two passed, an episode just passed, everything complete), the rise and the
// bounce-in, the bubbles, the caption, the clamped centre and the click's command.
// Rerun one case: test_screens --gtest_filter='RandomStatsPanel*'
#include "MapPartsDoubles.h"

#include "game/screens/RandomStatsPanel.h"
#include "game/shell/BaseWidget.h"
#include "game/shell/Profile.h"

#include "../ui/UiTestDoubles.h"

#include <gtest/gtest.h>

namespace
{
using State = RandomStatsIcon::State;

class CommandSink : public BaseWidget
{
public:
    void SendToLink(int command, int argument) override { commands.emplace_back(command, argument); }
    std::vector<std::pair<int, int>> commands;
};

struct RandomStatsPanelTest : ::testing::Test
{
    RandomStatsPanelTest()
    {
        services.AddImage("IMAGE_RND_PROBIRKA", 32, 72, 0x80C0E0F0u);
        for (int i = 1; i <= 5; ++i)
            services.AddImage("IMAGE_RND_PROBIRKA_FILL" + std::to_string(i), 24, 60, 0xFF40C040u);
        services.font = &font;
        services.texts["UI_RANDOMSTATS"] = L"Won %d of %d (%d%%)";
    }
    void Run(float seconds)
    {
        for (int i = 0; i < static_cast<int>(seconds * 100.0f + 0.5f); ++i)
            panel.Update(0.01f);
    }
    [[nodiscard]] int CountPresent() const
    {
        int n = 0;
        for (int i = 0; i < 5; ++i)
            n += panel.GetTube(i).IsPresent() ? 1 : 0;
        return n;
    }

    MapParts::FakeServices services;
    MapParts::Campaign campaign;
    UiTest::BlockFont font;
    Profile profile{"ann"};
    CommandSink map;
    RandomStatsPanel panel{services, campaign.levels, &profile};
};

TEST_F(RandomStatsPanelTest, FillFollowsTheWinsOnceOneWasPlayedUpTo110Percent)
{
    EXPECT_EQ(panel.FillPercent(1), 0);
    EXPECT_EQ(RandomStatsIcon::FillTopFor(0), 30);
    for (int i = 0; i < 6; ++i)
        profile.AddRandomResult(1, true);
    EXPECT_EQ(panel.FillPercent(1), 120);
    EXPECT_EQ(RandomStatsIcon::FillTopFor(120), 10);
    EXPECT_EQ(RandomStatsIcon::FillTopFor(100), 11);
    EXPECT_EQ(RandomStatsIcon::FillTopFor(40), 23);
    profile.AddRandomResult(2, false);
    EXPECT_EQ(panel.FillPercent(2), 0);
}

TEST_F(RandomStatsPanelTest, BeforeAnyEpisodeIsPassedThereIsNothing)
{
    panel.Setup(&map, -1);
    Run(20.0f);
    EXPECT_EQ(CountPresent(), 0);
    panel.MouseMove(320, 670);
    panel.MouseDown(320, 670);
    EXPECT_EQ(panel.GetHoveredTube(), -1);
    EXPECT_TRUE(map.commands.empty());
    EXPECT_TRUE(services.spawns.empty());
    EXPECT_TRUE(services.sounds.empty());
}

TEST_F(RandomStatsPanelTest, PassedEpisodesRiseIntoPlace)
{
    campaign.progress.CompleteLevels(27); // episodes 1 and 2
    panel.Setup(&map, -1);
    ASSERT_EQ(CountPresent(), 2);
    for (int i = 0; i < 2; ++i)
    {
        const RandomStatsIcon& tube = panel.GetTube(i);
        EXPECT_EQ(tube.GetX(), 310 + 36 * i);
        EXPECT_EQ(tube.GetState(), State::Rising);
    }
    panel.Update(0.01f);
    EXPECT_EQ(panel.GetTube(0).GetY(), 703);
    Run(1.0f);
    EXPECT_EQ(panel.GetTube(0).GetState(), State::Shown);
    EXPECT_EQ(panel.GetTube(1).GetY(), 660);
    EXPECT_EQ(services.CountSpawns(90), 0);
}

TEST_F(RandomStatsPanelTest, TheEpisodeJustPassedBouncesInForTwoSeconds)
{
    campaign.progress.CompleteLevels(15);
    panel.Setup(&map, 5);
    ASSERT_EQ(CountPresent(), 1);
    EXPECT_EQ(panel.GetTube(0).GetState(), State::New);
    panel.Update(0.01f);
    EXPECT_EQ(panel.GetTube(0).GetState(), State::BouncingIn);
    ASSERT_EQ(services.CountSpawns(90), 1);
    EXPECT_EQ(services.spawns[0].x, 310.0f + 16.0f);
    EXPECT_EQ(services.spawns[0].y, 703.0f);
    EXPECT_EQ(services.CountSound("SOUND_PROBIRKA_ADD"), 1);
    EXPECT_EQ(services.CountSound("SOUND_PROBIRKA_BULB"), 1);
    Run(1.9f);
    EXPECT_EQ(panel.GetTube(0).GetState(), State::BouncingIn);
    Run(0.2f);
    EXPECT_EQ(panel.GetTube(0).GetState(), State::Shown);
    EXPECT_EQ(panel.GetTube(0).GetY(), 660);
}

TEST_F(RandomStatsPanelTest, AGroupInsideAnEpisodeBringsNoTube)
{
    campaign.progress.CompleteLevels(9); // group 3 of episode 1
    panel.Setup(&map, 3);
    Run(2.0f);
    EXPECT_EQ(CountPresent(), 0);
    EXPECT_EQ(services.CountSpawns(90), 0);
}

TEST_F(RandomStatsPanelTest, EverythingCompleteShowsFiveTubesThatBubbleThreeTimesAsOften)
{
    campaign.progress.CompleteLevels(70);
    // Celebrating the last group brings the fifth tube in.
    panel.Setup(&map, 24);
    EXPECT_EQ(CountPresent(), 5);
    EXPECT_EQ(panel.GetTube(4).GetState(), State::New);
    // A later visit: every tube rises, none is new.
    panel.Setup(&map, -1);
    EXPECT_EQ(CountPresent(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(panel.GetTube(i).GetState(), State::Rising);
    // The first bubble comes after 3..6 s, later ones every (3..7 s) / 3.
    Run(6.05f);
    const int first = services.CountSpawns(91);
    EXPECT_GE(first, 1);
    Run(7.0f / 3.0f * 10.0f + 0.05f);
    EXPECT_GE(services.CountSpawns(91) - first, 10);
    // Hovering a tube holds the bubbles.
    const RandomStatsIcon& tube = panel.GetTube(2);
    Run(1.0f);
    panel.MouseMove(tube.GetX() + 5, tube.GetY() + 5);
    const int held = services.CountSpawns(91);
    Run(10.0f);
    EXPECT_EQ(services.CountSpawns(91), held);
}

TEST_F(RandomStatsPanelTest, HoverShowsTheCaptionAndLiftsAClickSendsTheEpisode)
{
    campaign.progress.CompleteLevels(42); // episodes 1..3
    profile.AddRandomResult(2, true);
    profile.AddRandomResult(2, true);
    profile.AddRandomResult(2, false);
    profile.AddRandomResult(2, false);
    panel.Setup(&map, -1);
    Run(1.0f);
    const RandomStatsIcon& tube = panel.GetTube(1);
    panel.MouseMove(tube.GetX() + 3, tube.GetY() + 3);
    EXPECT_EQ(panel.GetHoveredTube(), 1);
    EXPECT_EQ(panel.GetCaption(), L"Won 2 of 4 (40%)");
    EXPECT_EQ(panel.GetCaptionX(), 346 + 16 - static_cast<int>(panel.GetCaption().size()) * 6 / 2);
    EXPECT_EQ(panel.GetCaptionY(), 630);
    EXPECT_EQ(services.CountSound("SOUND_PROBIRKA_OVER2"), 1);
    // Moving within the same tube plays nothing more.
    panel.MouseMove(tube.GetX() + 4, tube.GetY() + 4);
    EXPECT_EQ(services.CountSound("SOUND_PROBIRKA_OVER2"), 1);

    Run(0.2f);
    EXPECT_EQ(tube.GetLift(), 1.0f);
    EXPECT_EQ(tube.GetY(), 640);
    EXPECT_FLOAT_EQ(panel.GetCaptionAlpha(), 0.6f);

    panel.MouseDown(tube.GetX() + 3, tube.GetY() + 3);
    EXPECT_EQ(map.commands, (std::vector<std::pair<int, int>>{{100, 2}}));
    EXPECT_EQ(panel.GetCaptionAlpha(), 1.0f);

    panel.MouseMove(0, 0);
    Run(0.3f);
    EXPECT_EQ(panel.GetCaptionAlpha(), 0.0f);
    EXPECT_EQ(tube.GetY(), 660);
    panel.MouseDown(0, 0);
    EXPECT_EQ(map.commands.size(), 1u);
}

TEST_F(RandomStatsPanelTest, IconCentresClampTheEpisode)
{
    campaign.progress.CompleteLevels(70);
    panel.Setup(&map, -1);
    Run(1.0f);
    EXPECT_EQ(panel.GetIconCentre(1), (FloatPoint{310.0f + 16.0f, 680.0f}));
    EXPECT_EQ(panel.GetIconCentre(0), panel.GetIconCentre(1));
    EXPECT_EQ(panel.GetIconCentre(-3), panel.GetIconCentre(1));
    EXPECT_EQ(panel.GetIconCentre(5), (FloatPoint{454.0f + 16.0f, 680.0f}));
    EXPECT_EQ(panel.GetIconCentre(6), panel.GetIconCentre(5));
}
} // namespace
