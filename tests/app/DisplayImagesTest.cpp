// Images the application makes from files and copies are the display's own images, which can
// move into a surface or a texture; before the display exists they are plain memory images.
// Rerun one case: test_app --gtest_filter='DisplayImages.*'
#include "TestApp.h"

#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/files/ImageLib.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Quoll;
using namespace QuollTest;

TEST(DisplayImages, FileImagesAndCopiesBelongToTheDisplay)
{
    ScratchFolder folder("images");
    const std::string file = (folder / "picture.png").string();
    ImageLib::Image picture(6, 4);
    for (int i = 0; i < 24; ++i)
        picture.GetBits()[i] = 0xFF000000u | uint32_t(i * 10);
    ASSERT_TRUE(ImageLib::WritePng(file, picture));

    TestApp app;
    std::unique_ptr<MemoryImage> early(app.GetImage(file));
    ASSERT_NE(early, nullptr);
    EXPECT_EQ(dynamic_cast<DDImage*>(early.get()), nullptr) << "no display yet";

    ScopedThrowingExit exits;
    app.Init();
    ASSERT_NE(app.mDisplay, nullptr);
    std::unique_ptr<MemoryImage> image(app.GetImage(file));
    ASSERT_NE(image, nullptr);
    EXPECT_NE(dynamic_cast<DDImage*>(image.get()), nullptr);
    EXPECT_EQ(image->GetWidth(), 6);
    EXPECT_EQ(image->mFilePath, file);
    std::unique_ptr<MemoryImage> copy(app.CopyImage(image.get()));
    EXPECT_NE(dynamic_cast<DDImage*>(copy.get()), nullptr);
    ASSERT_EQ(copy->GetWidth(), 6);
    ASSERT_EQ(copy->GetHeight(), 4);
    // Drawn through the display, the copy may take the screen's colour depth.
    for (int i = 0; i < 24; ++i)
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(int((copy->GetBits()[i] >> shift) & 0xFF), int((picture.GetBits()[i] >> shift) & 0xFF), 8);
}

// The overlays (frame rate, demo time) and the shared images that code draws ('!' names) are the
// display's images too.
TEST(DisplayImages, OverlaysAndImagesDrawnByCodeBelongToTheDisplay)
{
    ScopedThrowingExit exits;
    TestApp app;
    app.Init();
    auto* display = dynamic_cast<DDInterface*>(app.mDisplay.get());
    ASSERT_NE(display, nullptr);
    const size_t before = display->mDDImageSet.size();
    app.mShowFPS = true;
    app.mPlayingDemo = true;
    app.DrawDirty();
    EXPECT_EQ(display->mDDImageSet.size(), before + 2) << "the frame-rate and demo-time images";

    bool isNew = false;
    SharedImageRef drawn = app.GetSharedImage("!Drawn", "", &isNew);
    ASSERT_TRUE(isNew);
    ASSERT_NE(drawn.GetImage(), nullptr);
    EXPECT_NE(dynamic_cast<DDImage*>(drawn.GetImage()), nullptr);
    app.mPlayingDemo = false;
}
