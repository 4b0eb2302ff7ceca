// The achievements viewer: its states and what closes it, the grid's places and order with each
// icon's earned and new marks, the exit's command, and a golden image with three earned (one new).
// Rerun one case: test_screens --gtest_filter='AchievesViewer*'.
#include "game/screens/AchievesViewer.h"
#include "ScreenGallery.h"
#include "ScreenTestDoubles.h"
#include "game/ui/AchieveIcon.h"
#include "tests/GoldenImage.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using Quoll::AchievesViewer;
using ScreenTest::ScreenHarness;

class FakeViewerServices final : public AchievesViewerServices
{
public:
    bool IsAchieved(int number, bool& isNew) override
    {
        isNew = fresh.count(number) != 0;
        return earned.count(number) != 0;
    }
    float GetFrameTime() override { return 0.01f; }
    FloatPoint GetPointer() override { return {-1, -1}; }

    std::set<int> earned{1, 8, 40};
    std::set<int> fresh{8};
};

// The forty pictures bound at the ids the icons read (after the harness's own names), alike so
// that earned, new and not earned icons tell apart, and the light.
class ViewerArt
{
public:
    explicit ViewerArt(ScreenHarness& harness)
    {
        UiTest::FakeUiServices& ui = harness.ui;
        int id = ui.Register("VIEWER_FILLER_0");
        for (int filler = 1; id < AchieveIcon::kImageBase; ++filler)
            id = ui.Register("VIEWER_FILLER_" + std::to_string(filler));
        EXPECT_EQ(id, AchieveIcon::kImageBase) << "the harness binds too many names";
        for (int n = 1; n <= 40; ++n)
        {
            mImages.push_back(ScreenTest::MakeFramedImage(
                64, 64, 0xFF30B0A0u + static_cast<uint32_t>(n), 0xFFE0FFF0));
            ui.Register("IMAGE_ACHIEVE_" + std::to_string(n), mImages.back().get());
        }
        mImages.push_back(ScreenTest::MakeFramedImage(64, 64, 0x80FFD040u, 0x80FFD040u));
        ui.Register("IMAGE_BONUSH", mImages.back().get());
        ui.Register("SOUND_GAMEMENU_SHOW");
        ui.texts["HINT_ACHIEVEMENTS"] = L"Achievements";
    }

private:
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mImages;
};

struct ViewerFixture
{
    ViewerFixture() { viewer = harness.Show(new AchievesViewer(services)); }

    // The viewer's updates without drawing each frame.
    void UpdateFor(int updates)
    {
        for (int i = 0; i < updates; ++i)
            viewer->Update();
    }
    void ClickAnywhere()
    {
        harness.ui.manager.MouseMove(500, 400);
        harness.ui.manager.MouseDown(500, 400, 1);
        harness.ui.manager.MouseUp(500, 400, 1);
    }

    FakeViewerServices services;
    ScreenHarness harness;
    ViewerArt art{harness};
    AchievesViewer* viewer = nullptr;
};

TEST(AchievesViewer, ClosesOnlyOnceShownAndNeverByD)
{
    ViewerFixture f;
    EXPECT_EQ(f.viewer->GetViewerState(), AchievesViewer::kSweeping);
    f.ClickAnywhere();
    f.harness.Key('A');
    f.UpdateFor(41);
    EXPECT_EQ(f.viewer->GetViewerState(), AchievesViewer::kArriving);
    EXPECT_FLOAT_EQ(f.viewer->GetDim(), 1.0f);
    f.ClickAnywhere();
    f.UpdateFor(61);
    ASSERT_EQ(f.viewer->GetViewerState(), AchievesViewer::kShown);
    f.harness.Key(AchievesViewer::kKeyD);
    EXPECT_EQ(f.viewer->GetViewerState(), AchievesViewer::kShown);
    f.ClickAnywhere();
    EXPECT_EQ(f.viewer->GetViewerState(), AchievesViewer::kLeaving);
    EXPECT_TRUE(f.harness.Commands().empty());
    // Half a second of fading out, then 0 on every update until the state removes the viewer.
    f.UpdateFor(50);
    EXPECT_TRUE(f.harness.Commands().empty());
    f.UpdateFor(3);
    EXPECT_EQ(f.harness.Commands(), (Commands{{0, 0}, {0, 0}, {0, 0}}));
    EXPECT_FLOAT_EQ(f.viewer->GetDim(), 0.0f);
}

TEST(AchievesViewer, GridPlacesOrderAndMarks)
{
    ViewerFixture f;
    f.UpdateFor(110);
    const auto& icons = f.viewer->GetIconRoot().GetChildren();
    ASSERT_EQ(icons.size(), 40u);
    for (size_t i = 0; i < icons.size(); ++i)
    {
        const auto* icon = dynamic_cast<const AchieveIcon*>(icons[i]);
        ASSERT_NE(icon, nullptr);
        const int number = AchievementDisplayOrder.at(i);
        EXPECT_EQ(icon->GetNumber(), number);
        EXPECT_FLOAT_EQ(icon->GetPosition().x, 92.0f + 120.0f * static_cast<float>(i % 8)) << i;
        EXPECT_FLOAT_EQ(icon->GetPosition().y, 120.0f + 120.0f * static_cast<float>(i / 8)) << i;
        EXPECT_EQ(icon->mAchieved, number == 1 || number == 8 || number == 40) << number;
        EXPECT_EQ(icon->mNew, number == 8) << number;
    }
    // Each achievement once.
    std::set<int> numbers(AchievementDisplayOrder.begin(), AchievementDisplayOrder.end());
    EXPECT_EQ(numbers.size(), 40u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 40);
}

// The dim reaches its full strength with the sweep and holds it while the icons are shown.
TEST(AchievesViewer, TheDimReachesItsFullStrength)
{
    ViewerFixture f;
    f.UpdateFor(39);
    EXPECT_LT(f.viewer->GetDim(), 1.0f);
    f.UpdateFor(2);
    EXPECT_FLOAT_EQ(f.viewer->GetDim(), 1.0f);
    f.UpdateFor(80);
    ASSERT_EQ(f.viewer->GetViewerState(), 2);
    EXPECT_FLOAT_EQ(f.viewer->GetDim(), 1.0f);
}

TEST(AchievesViewer, ShownWithThreeEarnedOneNew)
{
    FakeViewerServices services;
    auto harness = ScreenTest::MakeGalleryHarness();
    ASSERT_NE(harness, nullptr) << "no system font";
    ViewerArt art(*harness);
    harness->Show(new AchievesViewer(services));
    harness->Run(110);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "achievements_viewer",
                                                  harness->ui.screen.GetBits(),
                                                  harness->ui.appWidth, harness->ui.appHeight));
}
} // namespace
