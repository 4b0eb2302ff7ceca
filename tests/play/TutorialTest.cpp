// The tutorial overlay on a real scene: its choice of steps, the filter on board presses, the
// close button and the German panel. The script is written to a temporary file; the level is
// tests/play/data/levels/three-players.txt.
#include "TutorialFixture.h"

#include "game/play/BoardView.h"
#include "game/play/GameScene.h"
#include "game/ui/Button.h"

#include <gtest/gtest.h>

namespace
{
// Two cell steps in round 1 (cells 50 and 51), a point step in round 2, a step of another level.
constexpr const char* kScript = "# the first level\n"
                                "STEP 1 1 -50 0 TUTOR_A 100 400\n"
                                "STEP 1 1 -51 0 TUTOR_B 100 400\n"
                                "STEP 1 2 500 300 TUTOR_C 500 100\n"
                                "STEP 2 1 -50 0 TUTOR_D 100 400\n";
} // namespace

TEST(Tutorial, TwoStepsOfARoundFollowEachOtherAndABonusSkipsToTheLast)
{
    TutorialFixture f(kScript);
    Tutorial& t = f.Make();
    EXPECT_FALSE(t.IsShowingStep());
    EXPECT_TRUE(t.OnBoardClick(5, 5)) << "no step: every press goes through";

    t.Advance(1, false);
    EXPECT_EQ(t.GetCurrentStep(), 0);
    EXPECT_TRUE(f.steps.IsStepActive());
    EXPECT_EQ(t.GetText(), L"Tap the glowing cell to select your bacterium.");
    EXPECT_TRUE(t.OnBoardClick(f.h.CellPoint(50).x, f.h.CellPoint(50).y));
    EXPECT_EQ(t.GetCurrentStep(), 1);
    EXPECT_TRUE(t.OnBoardClick(f.h.CellPoint(51).x, f.h.CellPoint(51).y));
    EXPECT_FALSE(t.IsShowingStep()) << "the round has no third step";
    EXPECT_FALSE(f.steps.IsStepActive());

    // Once no step shows the next round scans from the top; a point step passes nothing on.
    t.Advance(2, false);
    EXPECT_EQ(t.GetCurrentStep(), 2);
    EXPECT_FALSE(t.OnBoardClick(f.h.CellPoint(50).x, f.h.CellPoint(50).y));
    EXPECT_FALSE(t.IsShowingStep());

    t.Advance(1, true);
    EXPECT_EQ(t.GetCurrentStep(), 1) << "with a bonus armed only the last step of the round shows";

    f.tutorial.reset();
    EXPECT_FALSE(f.steps.IsStepActive());
}

TEST(Tutorial, AMissBurstsSoundsSwingsFasterForASecondAndDoesNotPass)
{
    TutorialFixture f(kScript);
    Tutorial& t = f.Make();
    t.Advance(1, false);
    t.Update(0.1f);
    const ScreenPoint wrong = f.h.CellPoint(52);

    EXPECT_FALSE(t.OnBoardClick(wrong.x, wrong.y));
    EXPECT_EQ(t.GetCurrentStep(), 0);
    ASSERT_EQ(f.h.services.CountParticles(Tutorial::kMissParticle), 1);
    EXPECT_EQ(f.h.services.particles.back().x, static_cast<float>(wrong.x));
    EXPECT_EQ(f.h.services.particles.back().y, static_cast<float>(wrong.y));
    EXPECT_EQ(f.h.services.CountSound("SOUND_TUTOR_MISSCLICK"), 1);

    // Fast for the first second, then at the usual speed again.
    float phase = t.GetPhase();
    t.Update(0.1f);
    EXPECT_NEAR(t.GetPhase() - phase, 1.5f, 1e-4f);
    for (int i = 0; i < 9; ++i)
        t.Update(0.1f);
    phase = t.GetPhase();
    t.Update(0.1f);
    const float step = t.GetPhase() > phase ? t.GetPhase() - phase : t.GetPhase() - phase + 6.2831855f;
    EXPECT_NEAR(step, 0.7f, 1e-4f);
}

TEST(Tutorial, TheCloseButtonBelongsToCellStepsAndShowsOnceFadedIn)
{
    TutorialFixture f(kScript);
    Tutorial& t = f.Make();
    t.Advance(1, false);
    Quoll::Button* button = t.GetCloseButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->mId, Tutorial::kCloseButtonId);
    EXPECT_EQ(button->GetAbsolutePosition().x, 100 + Tutorial::kCloseX);
    EXPECT_FALSE(button->mVisible);
    for (int i = 0; i < 4; ++i)
        t.Update(0.1f);
    EXPECT_TRUE(button->mVisible);

    t.ButtonRelease(Tutorial::kCloseButtonId);
    EXPECT_EQ(f.h.link->commands.back(), std::make_pair(Tutorial::kCloseButtonId, 0));

    // The next cell step keeps the button; the point step takes it away.
    EXPECT_TRUE(t.OnBoardClick(f.h.CellPoint(50).x, f.h.CellPoint(50).y));
    EXPECT_EQ(t.GetCloseButton(), button);
    t.Advance(2, false);
    EXPECT_EQ(t.GetCloseButton(), nullptr);
    ASSERT_FALSE(f.h.services.deferredWidgets.empty());
    EXPECT_EQ(f.h.services.deferredWidgets.back(), button);
}

TEST(Tutorial, TheGermanPanelIsHigherAndTaller)
{
    for (const char* locale : {"en", "de"})
    {
        TutorialFixture f(kScript, locale);
        Tutorial& t = f.Make();
        t.Advance(1, false);
        t.Update(1.0f);
        const std::vector<uint32_t> frame = f.DrawTutorial();
        const bool german = std::string(locale) == "de";
        EXPECT_EQ(t.GetLanguageOffset(), german ? 25 : 0);
        // Just above and just below the panel's own rows (panel at y 400, 180 high).
        const auto at = [&frame](int x, int y) { return frame[static_cast<size_t>(y * TutorialFixture::kWidth + x)]; };
        EXPECT_EQ(at(110, 390) != TutorialFixture::kBlack, german) << locale;
        EXPECT_EQ(at(110, 590) != TutorialFixture::kBlack, german) << locale;
        EXPECT_NE(at(110, 450), TutorialFixture::kBlack) << locale;
    }
}

TEST(Tutorial, TheGlowAndPointerFollowTheirCellWhileTheBoardMoves)
{
    TutorialFixture f(kScript);
    Tutorial& t = f.Make();
    t.Advance(1, false);
    t.Update(0.01f);
    const int glowX = t.GetHighlightX();
    const int glowY = t.GetHighlightY();
    const FloatPoint aim = t.GetTargetPoint();

    // The board still flies in when a level's first step shows.
    BoardView& board = *f.h.scene->GetBoardView();
    const FloatPoint at = board.GetPosition();
    board.SetPosition({at.x + 40, at.y + 30});
    t.Update(0.01f);
    EXPECT_EQ(t.GetHighlightX(), glowX + 40);
    EXPECT_EQ(t.GetHighlightY(), glowY + 30);
    EXPECT_NEAR(t.GetTargetPoint().x - aim.x, 40.0f, 1.0f);
    EXPECT_NEAR(t.GetTargetPoint().y - aim.y, 30.0f, 1.0f);
}
