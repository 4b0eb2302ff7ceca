// AchievementManager: scripted event sequences earn exactly the expected achievements, the
// editor and tutorial filters, counters kept across save and load, the new list, and the popup's
// queue and timing. Rerun one case with --gtest_filter=AchievementManager.<name>.
#include "game/shell/AchievementManager.h"
#include "game/level/TutorialSteps.h"
#include "game/shell/PlayerFileStore.h"
#include "game/shell/Profile.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
std::set<int> Earned(const AchievementManager& manager)
{
    std::set<int> earned;
    for (int number = 1; number <= AchievementRules::kAchievementCount; ++number)
        if (manager.IsAchieved(number, nullptr))
            earned.insert(number);
    return earned;
}

void Send(AchievementManager& manager, int event, int times = 1)
{
    for (int i = 0; i < times; ++i)
        manager.OnEvent(event);
}

struct Fixture
{
    Profile profile{"Ann"};
    TutorialSteps tutorial{[](const std::string&) {}};
    AchievementManager manager{&tutorial};
    Fixture() { manager.SetRecord(&profile.GetAchievements()); }
};
} // namespace

TEST(AchievementManager, RulesCoverFortyAchievementsWithValidEvents)
{
    for (int number = 1; number <= AchievementRules::kAchievementCount; ++number)
    {
        const AchievementRule& rule = AchievementRules::Get(number);
        EXPECT_TRUE(AchievementRules::IsEventId(rule.firstEvent)) << number;
        EXPECT_LE(rule.firstEvent, rule.lastEvent) << number;
        EXPECT_TRUE(AchievementRules::IsEventId(rule.lastEvent)) << number;
        EXPECT_GE(rule.count, 1) << number;
    }
    EXPECT_EQ(AchievementRules::GetImageId(1), 47);
    EXPECT_EQ(AchievementRules::GetImageId(40), 86);
    EXPECT_EQ(AchievementRules::GetNameKey(7), "ACH7");
}

TEST(AchievementManager, AScriptedLevelEarnsExactlyTheExpectedAchievements)
{
    Fixture f;
    EXPECT_EQ(AchievementManager::Get(), &f.manager);
    // A won level: moves with captures, one of six cells, a hidden object, then the medal.
    Send(f.manager, 12);
    for (int i = 0; i < 3; ++i)
    {
        Send(f.manager, 8);
        Send(f.manager, 9);
        Send(f.manager, 21);
    }
    Send(f.manager, 23);
    Send(f.manager, 30);
    Send(f.manager, 15);
    Send(f.manager, 17);
    EXPECT_EQ(Earned(f.manager), (std::set<int>{1, 8, 11, 18, 25}));
    EXPECT_EQ(f.manager.GetNewAchievements(), (std::vector<int>{1, 18, 25, 8, 11}));

    // Counts build up over events: the 25th win, the 100th jump.
    Send(f.manager, 15, 23);
    EXPECT_FALSE(f.manager.IsAchieved(9, nullptr));
    Send(f.manager, 15);
    EXPECT_TRUE(f.manager.IsAchieved(9, nullptr));
    Send(f.manager, 9, 96);
    EXPECT_FALSE(f.manager.IsAchieved(2, nullptr));
    Send(f.manager, 9);
    EXPECT_TRUE(f.manager.IsAchieved(2, nullptr));

    // Random-level wins of any episodes count together.
    for (const int event : {45, 49, 46, 45})
        Send(f.manager, event);
    EXPECT_FALSE(f.manager.IsAchieved(39, nullptr));
    Send(f.manager, 47);
    EXPECT_TRUE(f.manager.IsAchieved(39, nullptr));

    // Events no achievement counts, or outside 1..52, earn nothing.
    const std::set<int> before = Earned(f.manager);
    for (const int event : {-1, 0, 1, 2, 3, 41, 43, 51, 52, 53, 1000})
        Send(f.manager, event, 600);
    EXPECT_EQ(Earned(f.manager), before);
    EXPECT_EQ(f.profile.GetAchievements().GetCounter(53), 0);
}

TEST(AchievementManager, EditorAndTutorialFiltersHoldBackEvents)
{
    Fixture f;
    f.manager.SetEditorActive(true);
    Send(f.manager, 8);
    Send(f.manager, 14);
    EXPECT_TRUE(Earned(f.manager).empty());
    EXPECT_EQ(f.profile.GetAchievements().GetCounter(8), 0);
    f.manager.SetEditorActive(false);

    // Without a tutorial step event 14 does not count.
    Send(f.manager, 14);
    EXPECT_FALSE(f.manager.IsAchieved(7, nullptr));

    // During a step only 14 counts.
    f.tutorial.SetActiveStep(0);
    Send(f.manager, 8);
    Send(f.manager, 13);
    EXPECT_TRUE(Earned(f.manager).empty());
    Send(f.manager, 14);
    EXPECT_EQ(Earned(f.manager), (std::set<int>{7}));

    f.tutorial.SetActiveStep(TutorialSteps::kNoStep);
    Send(f.manager, 13);
    EXPECT_EQ(Earned(f.manager), (std::set<int>{6, 7}));

    // Without a record nothing is counted.
    f.manager.SetRecord(nullptr);
    Send(f.manager, 8);
    EXPECT_FALSE(f.manager.IsAchieved(1, nullptr));
    EXPECT_TRUE(f.manager.GetNewAchievements().empty());
}

TEST(AchievementManager, CountersAndNewAchievementsSurviveSaveAndLoad)
{
    MemoryFileStore store;
    {
        Fixture f;
        Send(f.manager, 10, 60);
        Send(f.manager, 33, 9);
        Send(f.manager, 40);
        ASSERT_TRUE(f.profile.Save(store));
    }
    Fixture f;
    ASSERT_TRUE(f.profile.Load(store, "Ann"));
    f.manager.SetRecord(&f.profile.GetAchievements());
    bool isNew = false;
    EXPECT_TRUE(f.manager.IsAchieved(36, &isNew));
    EXPECT_TRUE(isNew);
    Send(f.manager, 10, 39);
    EXPECT_FALSE(f.manager.IsAchieved(3, nullptr));
    Send(f.manager, 10);
    EXPECT_TRUE(f.manager.IsAchieved(3, nullptr));
    Send(f.manager, 33);
    EXPECT_TRUE(f.manager.IsAchieved(29, nullptr));

    f.manager.ClearNewAchievements();
    EXPECT_TRUE(f.manager.IsAchieved(36, &isNew));
    EXPECT_FALSE(isNew);
    EXPECT_FALSE(f.manager.IsAchieved(1, &isNew));
    EXPECT_FALSE(isNew);
}

TEST(AchievementManager, PopupsShowOneAfterAnotherWithTheirTiming)
{
    Fixture f;
    std::vector<int> drawn;
    f.manager.SetPopupPainter([&](Quoll::Graphics*, const AchievementPopup& popup) { drawn.push_back(popup.number); });
    f.manager.DrawPopup(nullptr);
    EXPECT_FALSE(f.manager.IsPopupPending());
    EXPECT_TRUE(drawn.empty());

    Send(f.manager, 13); // 6
    Send(f.manager, 8);  // 1
    ASSERT_TRUE(f.manager.IsPopupPending());
    ASSERT_NE(f.manager.GetPopup(), nullptr);
    EXPECT_EQ(f.manager.GetPopup()->number, 6);
    EXPECT_FALSE(f.manager.IsPopupTextShown());

    // 100 updates of 0.01 s a second, as the main loop steps.
    const auto run = [&](int steps) {
        for (int i = 0; i < steps; ++i)
            f.manager.UpdatePopup(0.01f);
    };
    run(45);
    EXPECT_FALSE(f.manager.IsPopupTextShown());
    EXPECT_NEAR(f.manager.GetPopup()->progress, 0.9f, 1e-3f);
    run(10);
    EXPECT_TRUE(f.manager.IsPopupTextShown());
    run(250);
    EXPECT_FALSE(f.manager.IsPopupTextShown());
    EXPECT_EQ(f.manager.GetPopup()->phase, AchievementPopup::Phase::SlidingOut);
    f.manager.DrawPopup(nullptr);
    run(50);
    ASSERT_NE(f.manager.GetPopup(), nullptr);
    EXPECT_EQ(f.manager.GetPopup()->number, 1);
    f.manager.DrawPopup(nullptr);
    EXPECT_EQ(drawn, (std::vector<int>{6, 1}));

    // A long step runs through what is left; then nothing is pending.
    f.manager.UpdatePopup(10.0f);
    EXPECT_FALSE(f.manager.IsPopupPending());
    EXPECT_EQ(f.manager.GetPopup(), nullptr);
}
