// Golden images of every dialog on the 2D path (tests/golden/screens).
// Rerun one case: test_screens --gtest_filter='ScreenGolden.*'.
#include "ScreenGallery.h"
#include "tests/GoldenImage.h"
#include "game/ui/BacSlider.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace
{
// Runs in a folder holding the slider's segment table.
class ScreenGolden : public ::testing::TestWithParam<std::string>
{
protected:
    ScreenGolden() : mOldDir(std::filesystem::current_path())
    {
        mDir = std::filesystem::temp_directory_path() / ("screen_golden_" + std::to_string(::getpid()) + "_" + GetParam());
        std::filesystem::create_directories(mDir / "data/art/textures/interface");
        std::filesystem::current_path(mDir);
        std::ofstream table(Quoll::BacSlider::kSegmentFile);
        for (int i = 0; i < 10; ++i)
            table << "seg" << i << ' ' << 2 + 22 * i << " 4 20 0\n";
        table.close();
        Quoll::BacSlider::ClearSegments();
    }
    ~ScreenGolden() override
    {
        Quoll::BacSlider::ClearSegments();
        std::filesystem::current_path(mOldDir);
        std::filesystem::remove_all(mDir);
    }

private:
    std::filesystem::path mOldDir;
    std::filesystem::path mDir;
};

TEST_P(ScreenGolden, MatchesItsImage)
{
    auto harness = ScreenTest::MakeGalleryHarness();
    ASSERT_NE(harness, nullptr) << "no system font";
    for (const auto& scene : ScreenTest::GalleryScenes())
        if (scene.name == GetParam())
        {
            const auto pixels = ScreenTest::RenderScene(*harness, scene, 3);
            EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", scene.name, pixels.data(), harness->ui.appWidth,
                                                         harness->ui.appHeight));
            return;
        }
    FAIL() << "no scene " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ScreenGolden,
                         ::testing::Values("exit", "saved_game", "tutorial_quit", "pause", "credits", "scores",
                                           "difficulty", "profiles", "profile_name", "settings"));
} // namespace
