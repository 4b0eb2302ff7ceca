// The volume slider: its segment table, what a press, a move and a drag do, what it draws, and
// a missing table.
// Rerun one case: test_ui --gtest_filter='BacSliderTest.*'.
#include "UiTestDoubles.h"
#include "game/ui/BacSlider.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

class Recorder : public Quoll::SliderListener
{
public:
    void SliderVal(int id, double value) override { calls.emplace_back(id, value); }
    std::vector<std::pair<int, double>> calls;
};

// Runs in a folder of its own that holds the slider's table (unless a test removes it).
class BacSliderTest : public ::testing::Test
{
protected:
    BacSliderTest() : mOldDir(fs::current_path())
    {
        mDir = fs::temp_directory_path() / ("bacslider_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(mDir / "data/art/textures/interface");
        fs::current_path(mDir);
        // Three segments of 20 px from x 10, 40 and 70; the third overlaps a wide fourth.
        std::ofstream(Quoll::BacSlider::kSegmentFile) << "a 10 2 20 0\nb 40 2 20 0\nc 70 2 20 0\nd 75 4 10 0\n";
        Quoll::BacSlider::ClearSegments();
        track = services.AddImage("IMAGE_SETTING_SLIDER_TRACK", 100, 12, 0xFF202020);
        thumb = services.AddImage("IMAGE_SETTING_SLIDER_THUMB", 40, 6, 0xFF00FF00, 4, 1);
    }
    ~BacSliderTest() override
    {
        Quoll::BacSlider::ClearSegments();
        fs::current_path(mOldDir);
        fs::remove_all(mDir);
    }

    Quoll::BacSlider* Make()
    {
        slider = std::make_unique<Quoll::BacSlider>(3, &recorder);
        slider->Resize(0, 0, 100, 12);
        services.manager.AddWidget(slider.get());
        return slider.get();
    }
    void TearDown() override
    {
        if (slider)
            services.manager.RemoveWidget(slider.get());
    }

    UiTest::FakeUiServices services;
    Quoll::MemoryImage* track = nullptr;
    Quoll::MemoryImage* thumb = nullptr;
    Recorder recorder;
    std::unique_ptr<Quoll::BacSlider> slider;

private:
    fs::path mOldDir;
    fs::path mDir;
};

TEST_F(BacSliderTest, SegmentHitTestTakesTheLastMatch)
{
    Make();
    ASSERT_EQ(Quoll::BacSlider::GetSegments().size(), 4u);
    EXPECT_EQ(Quoll::BacSlider::SegmentAt(10), 0);
    EXPECT_EQ(Quoll::BacSlider::SegmentAt(30), 0); // both ends belong to the segment
    EXPECT_EQ(Quoll::BacSlider::SegmentAt(35), -1);
    EXPECT_EQ(Quoll::BacSlider::SegmentAt(72), 2);
    EXPECT_EQ(Quoll::BacSlider::SegmentAt(80), 3);
    EXPECT_EQ(Quoll::BacSlider::SegmentAt(9), -1);
}

TEST_F(BacSliderTest, ClickBetweenSegmentsSetsTheValueAndTellsTheListener)
{
    Make();
    services.manager.MouseDown(35, 5, 1);
    services.manager.MouseUp(35, 5, 1);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.35);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].first, 3);
    EXPECT_DOUBLE_EQ(recorder.calls[0].second, 0.35);
    EXPECT_FALSE(slider->mDragging);

    // The same place again changes nothing and tells nobody.
    services.manager.MouseDown(35, 5, 1);
    services.manager.MouseUp(35, 5, 1);
    EXPECT_EQ(recorder.calls.size(), 1u);
}

TEST_F(BacSliderTest, DragFromASegmentNotifiesOnlyOnChange)
{
    Make();
    slider->SetValue(0.5);
    services.manager.MouseMove(45, 5);
    EXPECT_EQ(services.cursors.back(), Quoll::BacSlider::kCursorDrag);
    services.manager.MouseDown(45, 5, 1);
    EXPECT_TRUE(slider->mDragging);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.5); // a press on a segment changes nothing yet
    EXPECT_TRUE(recorder.calls.empty());

    services.manager.MouseMove(60, 5);
    services.manager.MouseMove(150, 5); // beyond the end: 1
    services.manager.MouseMove(170, 5); // still 1: not told again
    services.manager.MouseMove(-20, 5); // 0
    services.manager.MouseUp(-20, 5, 1);
    ASSERT_EQ(recorder.calls.size(), 3u);
    EXPECT_DOUBLE_EQ(recorder.calls[0].second, 0.6);
    EXPECT_DOUBLE_EQ(recorder.calls[1].second, 1.0);
    EXPECT_DOUBLE_EQ(recorder.calls[2].second, 0.0);
    EXPECT_FALSE(slider->mDragging);

    services.manager.MouseMove(35, 5);
    EXPECT_EQ(services.cursors.back(), Quoll::BacSlider::kCursorArrow);
}

TEST_F(BacSliderTest, LitSegmentsFollowTheValue)
{
    Make();
    const auto lit = [&](int x, int y) { return services.Pixel(x, y) == 0x00FF00u; };
    slider->SetValue(0);
    services.Step();
    EXPECT_FALSE(lit(12, 3));
    slider->SetValue(0.45); // position 45: segments from 10 and 40
    services.Step();
    EXPECT_TRUE(lit(12, 3));
    EXPECT_TRUE(lit(42, 3));
    EXPECT_FALSE(lit(72, 3));
    slider->SetValue(1);
    services.Step();
    EXPECT_TRUE(lit(72, 3));
    EXPECT_TRUE(lit(77, 5));

    slider->SetDisabled(true); // the dimmed track alone
    services.Step();
    EXPECT_FALSE(lit(12, 3));
    EXPECT_NE(services.Pixel(12, 3), 0x202020u);
}

TEST_F(BacSliderTest, WithoutTheTableOnlyTheTrackAndAnErrorLine)
{
    fs::remove(Quoll::BacSlider::kSegmentFile);
    Make();
    EXPECT_TRUE(Quoll::BacSlider::GetSegments().empty());
    ASSERT_EQ(services.CountLog("ERROR: Cannot open file: "), 1);
    slider->SetValue(1);
    services.Step();
    EXPECT_EQ(services.Pixel(12, 3), 0x202020u);
    services.manager.MouseDown(45, 5, 1);
    services.manager.MouseUp(45, 5, 1);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.45);
    EXPECT_FALSE(slider->mDragging);
}
} // namespace
