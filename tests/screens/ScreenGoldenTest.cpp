// Golden images of every dialog on the 2D path (tests/golden/screens). A mismatch writes the
// actual image beside the build (<build>/tests/screens/<name>.actual.png); QUOLL_UPDATE_GOLDEN=1
// writes the golden instead.
// Rerun one case: test_screens --gtest_filter='ScreenGolden.*'.
#include "ScreenGallery.h"
#include "framework/files/ImageLib.h"
#include "game/ui/BacSlider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
bool WritePicture(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height)
{
    ImageLib::Image picture(width, height);
    if (picture.GetBits() == nullptr)
        return false;
    std::copy(pixels.begin(), pixels.end(), picture.GetBits());
    return ImageLib::WritePng(path, picture);
}

::testing::AssertionResult MatchesGolden(const std::string& name, const std::vector<uint32_t>& pixels, int width,
                                         int height)
{
    const std::string golden = std::string(QUOLL_SOURCE_DIR) + "/tests/golden/screens/" + name + ".png";
    const std::string actual = std::string(QUOLL_BINARY_DIR) + "/tests/screens/" + name + ".actual.png";
    const char* update = std::getenv("QUOLL_UPDATE_GOLDEN");
    if (update != nullptr && std::strcmp(update, "1") == 0)
    {
        if (!WritePicture(golden, pixels, width, height))
            return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess();
    }
    const auto expected = ImageLib::ReadImageFile(golden);
    if (!expected || expected->GetWidth() != width || expected->GetHeight() != height)
    {
        WritePicture(actual, pixels, width, height);
        return ::testing::AssertionFailure() << "no golden image " << golden << " (actual written to " << actual
                                             << ")";
    }
    const uint32_t* want = expected->GetBits();
    for (int i = 0; i < width * height; ++i)
        if (want[i] != pixels[static_cast<size_t>(i)])
        {
            WritePicture(actual, pixels, width, height);
            std::ostringstream message;
            message << "first differing pixel (" << i % width << ", " << i / width << "): expected " << std::hex
                    << want[i] << ", got " << pixels[static_cast<size_t>(i)] << "; actual written to " << actual;
            return ::testing::AssertionFailure() << message.str();
        }
    return ::testing::AssertionSuccess();
}

// Runs in a folder holding the slider's segment table.
class ScreenGolden : public ::testing::TestWithParam<std::string>
{
protected:
    ScreenGolden() : mOldDir(std::filesystem::current_path())
    {
        mDir = std::filesystem::temp_directory_path() / ("screen_golden_" + GetParam());
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
            EXPECT_TRUE(MatchesGolden(scene.name, pixels, harness->ui.appWidth, harness->ui.appHeight));
            return;
        }
    FAIL() << "no scene " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Dialogs, ScreenGolden,
                         ::testing::Values("exit", "saved_game", "tutorial_quit", "pause", "credits", "scores",
                                           "difficulty", "profiles", "profile_name", "settings"));
} // namespace
