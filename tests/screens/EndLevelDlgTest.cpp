// The end-of-level dialog: the count-up, skipping it, its keys, the medal and its burst, the
// fireworks, a lost level and the random restart.
// Rerun one case: test_screens --gtest_filter='EndLevel.*'.
#include "EndScreensDoubles.h"
#include "game/level/RandomLevelProvider.h"
#include "game/ui/Button.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using ScreenTest::FakeEndLevelServices;
using ScreenTest::ScreenHarness;

struct EndLevelFixture
{
    explicit EndLevelFixture(const EndLevelResult& result,
                             EndLevelScores levelScores = {3, 900, 200, 100, 600})
        : scores(levelScores)
    {
        dialog = harness.Show(new EndLevelDlg(services, result, scores));
    }

    [[nodiscard]] int CountSound(const std::string& name) const
    {
        const auto names = harness.ui.SoundNames();
        return static_cast<int>(std::count(names.begin(), names.end(), name));
    }

    // A click on the panel away from both buttons.
    void ClickPanel()
    {
        const int x = dialog->mX + 30;
        const int y = dialog->mY + 30;
        harness.ui.manager.MouseMove(x, y);
        harness.ui.manager.MouseDown(x, y, 1);
        harness.ui.manager.MouseUp(x, y, 1);
    }

    void UpdateFor(int updates)
    {
        for (int i = 0; i < updates; ++i)
            dialog->Update();
    }

    // The services outlive the harness, whose states detach the dialog last.
    FakeEndLevelServices services;
    EndLevelScores scores;
    ScreenHarness harness;
    ScreenTest::EndScreensArt art{harness};
    EndLevelDlg* dialog = nullptr;
};

const EndLevelResult kGoldWin = MakeEndLevelResult(1, true, false, 2);

TEST(EndLevel, ZeroScoresFinishInFourUpdates)
{
    EndLevelFixture f(kGoldWin, {0, 0, 0, 0, 0});
    EXPECT_EQ(f.dialog->GetStage(), 0);
    EXPECT_FLOAT_EQ(f.dialog->GetStageDuration(0), 0.001f);
    EXPECT_FALSE(f.dialog->GetContinueButton()->mVisible);
    f.harness.Run(3);
    EXPECT_EQ(f.dialog->GetStage(), 3);
    f.harness.Run(1);
    EXPECT_EQ(f.dialog->GetStage(), 4);
    EXPECT_TRUE(f.dialog->GetContinueButton()->mVisible);
    EXPECT_TRUE(f.dialog->GetRestartButton()->mVisible);
    EXPECT_EQ(f.CountSound("SOUND_SCORE_CALC_FIN"), 3);
    EXPECT_EQ(f.CountSound("SOUND_LEVEL_WIN"), 1);
}

TEST(EndLevel, LineDurationsFollowTheGradeAndLinesCountUp)
{
    {
        EndLevelFixture bronze(MakeEndLevelResult(1, true, false, 0));
        EXPECT_NEAR(bronze.dialog->GetStageDuration(2), 0.5f / 3.0f, 1e-6);
    }
    EndLevelFixture gold(kGoldWin);
    EXPECT_FLOAT_EQ(gold.dialog->GetStageDuration(0), 0.5f);

    // A quarter of a second into the gold capture line shows half its score, no later line.
    gold.services.frameTime = 0.05f;
    gold.UpdateFor(5);
    EXPECT_EQ(gold.dialog->GetBody(), L"Capture points: 300");
    // Frames longer than 0.1 s count as 0.1 s.
    gold.services.frameTime = 0.5f;
    gold.UpdateFor(1);
    EXPECT_NEAR(gold.dialog->GetStageTimer(), 0.35f, 1e-5);
    gold.UpdateFor(2);
    EXPECT_EQ(gold.dialog->GetStage(), 1);
    gold.UpdateFor(3);
    EXPECT_EQ(gold.dialog->GetBody(), L"Capture points: 600\nQuick win bonus: 120");
}

TEST(EndLevel, ClickSkipsOnceAndEnterLeavesAtOnce)
{
    {
        EndLevelFixture enter(kGoldWin);
        enter.harness.Run(1);
        enter.harness.Key(13);
        EXPECT_EQ(enter.harness.Commands(), (Commands{{0, 0}}));
        EXPECT_EQ(enter.dialog->GetStage(), 0);
    }
    EndLevelFixture f(kGoldWin);
    f.harness.Run(1);
    f.ClickPanel();
    EXPECT_EQ(f.dialog->GetStage(), 2);
    f.harness.Run(1);
    EXPECT_EQ(f.dialog->GetStage(), 3);
    f.ClickPanel();
    EXPECT_EQ(f.dialog->GetStage(), 3);
    f.harness.Run(1);
    EXPECT_EQ(f.dialog->GetStage(), 4);
    EXPECT_EQ(f.dialog->GetBody(),
              L"Capture points: 600\nQuick win bonus: 200\nDish covered: 100\nTotal score: 900");
    EXPECT_TRUE(f.harness.Commands().empty());
}

TEST(EndLevel, EscapeSkipsThenLeavesWithOneSoundEach)
{
    EndLevelFixture f(kGoldWin);
    f.harness.Run(1);
    const int before = f.CountSound("SOUND_BUTTON_SELECT");
    f.harness.Key(27);
    EXPECT_TRUE(f.harness.Commands().empty());
    EXPECT_EQ(f.CountSound("SOUND_BUTTON_SELECT"), before + 1);
    f.harness.Run(2);
    f.harness.Key(27);
    EXPECT_EQ(f.harness.Commands(), (Commands{{0, 0}}));
    EXPECT_EQ(f.CountSound("SOUND_BUTTON_SELECT"), before + 2);
}

TEST(EndLevel, MedalEventBurstAndPlace)
{
    {
        EndLevelFixture gold(kGoldWin);
        gold.dialog->SkipCountUp();
        gold.harness.Run(2);
        ASSERT_NE(gold.dialog->GetMedal(), nullptr);
        EXPECT_EQ(gold.dialog->GetMedal()->mWidth, 96);
        EXPECT_EQ(gold.dialog->GetMedalY(), 318);
        EXPECT_EQ(gold.services.events, std::vector<int>{17});
        ASSERT_EQ(gold.services.spawns.size(), 1u);
        EXPECT_EQ(gold.services.spawns[0].id, 11);
        EXPECT_FLOAT_EQ(gold.services.spawns[0].x, 260);
        EXPECT_FLOAT_EQ(gold.services.spawns[0].y, 308);
        // The medal grows in a sixth of a second.
        EXPECT_FLOAT_EQ(gold.dialog->GetMedalScale(), 0);
        gold.services.frameTime = 0.1f;
        gold.UpdateFor(1);
        EXPECT_NEAR(gold.dialog->GetMedalScale(), 0.6f, 1e-5);
        gold.UpdateFor(1);
        EXPECT_FLOAT_EQ(gold.dialog->GetMedalScale(), 1);
        EXPECT_EQ(gold.dialog->MedalRect(), Quoll::Rect(212, 270, 96, 96));
    }

    // A new best shows the line and moves the medal and burst 37 pixels down.
    {
        EndLevelFixture best(MakeEndLevelResult(1, true, true, 0));
        best.dialog->SkipCountUp();
        best.harness.Run(2);
        EXPECT_EQ(best.dialog->GetFooter(), L"A new best score!");
        EXPECT_EQ(best.dialog->GetMedalY(), 355);
        EXPECT_EQ(best.services.events, std::vector<int>{18});
        ASSERT_EQ(best.services.spawns.size(), 1u);
        EXPECT_EQ(best.services.spawns[0].id, 9);
        EXPECT_FLOAT_EQ(best.services.spawns[0].y, 345);
        // Grown, the medal still ends above the restart button's row.
        best.services.frameTime = 0.1f;
        best.UpdateFor(2);
        const Quoll::Rect medal = best.dialog->MedalRect();
        EXPECT_EQ(medal.y + medal.height / 2, 355);
        EXPECT_LE(medal.y + medal.height, best.dialog->GetRestartButton()->mY);
        EXPECT_GT(medal.height, 48);
    }

    // A random level earns no medal.
    EndLevelFixture random(kGoldWin);
    random.services.level = -1;
    random.dialog->SkipCountUp();
    random.harness.Run(2);
    EXPECT_EQ(random.dialog->GetMedal(), nullptr);
    EXPECT_TRUE(random.services.events.empty());
    EXPECT_TRUE(random.services.spawns.empty());
}

TEST(EndLevel, FireworksFiveBurstsOrEndless)
{
    for (const bool endless : {false, true})
    {
        EndLevelFixture f(kGoldWin);
        f.dialog->StartFireworks(endless);
        f.dialog->SkipCountUp();
        f.harness.Run(2);
        f.services.spawns.clear();
        f.services.frameTime = 0.1f;
        int lastBurstUpdate = 0;
        for (int update = 1; update <= 300; ++update)
        {
            const size_t before = f.services.spawns.size();
            f.dialog->Update();
            if (f.services.spawns.size() != before) lastBurstUpdate = update;
        }
        for (const auto& spawn : f.services.spawns)
        {
            EXPECT_GE(spawn.x + static_cast<float>(f.dialog->mX), 256);
            EXPECT_LT(spawn.x + static_cast<float>(f.dialog->mX), 768);
            EXPECT_LT(spawn.y + static_cast<float>(f.dialog->mY), 384);
        }
        if (endless)
        {
            EXPECT_GT(f.services.CountSpawns(93), 100);
            EXPECT_GE(lastBurstUpdate, 299);
            EXPECT_TRUE(f.dialog->AreFireworksOn());
            EXPECT_EQ(f.CountSound("SOUND_GAME_WIN"), 1);
        }
        else
        {
            EXPECT_EQ(f.services.CountSpawns(93), 5);
            EXPECT_LT(lastBurstUpdate, 20);
            EXPECT_FALSE(f.dialog->AreFireworksOn());
            EXPECT_EQ(f.CountSound("SOUND_SALUT"), 5);
        }
    }
}

TEST(EndLevel, LostLevelWithAndWithoutWinner)
{
    {
        EndLevelFixture beaten(MakeEndLevelResult(3, false, false, 0));
        EXPECT_EQ(beaten.dialog->GetStage(), 4);
        EXPECT_EQ(beaten.dialog->mDialogHeader, L"Ada, the colony was lost in round 3");
        EXPECT_EQ(beaten.dialog->GetAvatar(), beaten.harness.ui.GetImageNamed("IMAGE_BIGBODY_3E"));
        EXPECT_EQ(beaten.dialog->GetInsets().top, 75);
        EXPECT_TRUE(beaten.dialog->GetContinueButton()->mVisible);
        EXPECT_EQ(beaten.CountSound("SOUND_LEVEL_LOOSE"), 1);
        EXPECT_EQ(beaten.CountSound("SOUND_LEVEL_WIN"), 0);
    }

    EndLevelFixture nobody(MakeEndLevelResult(0, false, false, 0));
    EXPECT_EQ(nobody.dialog->GetAvatar(), nullptr);
    EXPECT_EQ(nobody.dialog->GetInsets().top, 175);
    EXPECT_EQ(nobody.dialog->GetInsets().left, 44);
}

TEST(EndLevel, RestartOfARandomLevelReplaysItsLayout)
{
    for (const int level : {-1, 7})
    {
        Game::RandomLevelReplay = false;
        EndLevelFixture f(MakeEndLevelResult(2, false, false, 0));
        f.services.level = level;
        f.harness.Click(*f.dialog->GetRestartButton());
        EXPECT_EQ(f.harness.Commands(), (Commands{{1, 0}}));
        EXPECT_EQ(Game::RandomLevelReplay, level < 0);
    }
    Game::RandomLevelReplay = false;
}

TEST(EndLevel, ScoreBlockReadsTheLevelsParametersInMemoryOrder)
{
    LevelParams params;
    params.round = 7;
    params.score = 1500;
    params.roundBonus = 300;
    params.cellBonus = 200;
    params.captureScore = 1000;
    const EndLevelScores scores = ScoresOf(params);
    EXPECT_EQ(scores.failureNumber, 7u);
    EXPECT_EQ(scores.total, 1500u);
    EXPECT_EQ(scores.fastGame, 300u);
    EXPECT_EQ(scores.square, 200u);
    EXPECT_EQ(scores.capture, 1000u);
}

TEST(EndLevel, ButtonPlacesAndDetachClearsParticles)
{
    EndLevelFixture f(kGoldWin);
    EXPECT_EQ(f.dialog->GetContinueButton()->mX, 384);
    EXPECT_EQ(f.dialog->GetContinueButton()->mY, 365);
    EXPECT_EQ(f.dialog->GetRestartButton()->mWidth, 250);
    EXPECT_EQ(f.dialog->GetRestartButton()->mHeight, 54);
    const int kills = f.services.kills;
    f.harness.Close();
    EXPECT_EQ(f.services.kills, kills + 1);
    EXPECT_NE(std::find(f.harness.ui.groupCalls.begin(), f.harness.ui.groupCalls.end(),
                        "unload EndLevel"),
              f.harness.ui.groupCalls.end());
}
} // namespace
