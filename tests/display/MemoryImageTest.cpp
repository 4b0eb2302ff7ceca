// The memory image's pixel forms and derived tables: commit flags, run-length tables, palettes,
// purge and recovery, copies, and the rounding of fills and lines that callers rely on.
// Rerun one case: test_display --gtest_filter='MemoryImageTest.*'
#include "framework/display/ImageRegistry.h"
#include "framework/display/MemoryImage.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace Quoll;

namespace
{
MemoryImage MakeImage(int width, int height, uint32_t fill)
{
    MemoryImage image;
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height), fill);
    image.SetBits(pixels.data(), width, height);
    return image;
}

struct RecordingRegistry : ImageRegistry
{
    std::set<MemoryImage*> images;
    bool accelerated = false;
    void AddMemoryImage(MemoryImage* image) override { images.insert(image); }
    void RemoveMemoryImage(MemoryImage* image) override { images.erase(image); }
    bool Is3DAccelerated() const override { return accelerated; }
};
} // namespace

TEST(MemoryImageTest, RegistersForItsLifetimeAndCopiesRegisterToo)
{
    RecordingRegistry registry;
    {
        MemoryImage a(&registry);
        a.Create(2, 2);
        MemoryImage b(a);
        EXPECT_EQ(registry.images, (std::set<MemoryImage*>{&a, &b}));
    }
    EXPECT_TRUE(registry.images.empty());
}

TEST(MemoryImageTest, CommitFindsTransparencyAndPartialAlpha)
{
    MemoryImage image = MakeImage(3, 1, 0xFF000000);
    EXPECT_FALSE(image.mHasTrans);
    EXPECT_FALSE(image.mHasAlpha);
    image.GetBits()[1] = 0x00000000;
    image.GetBits()[2] = 0x80000000;
    image.BitsChanged();
    image.CommitBits();
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_TRUE(image.mHasAlpha);
    image.SetImageMode(false, false);
    image.BitsChanged();
    image.CommitBits();
    EXPECT_FALSE(image.mHasTrans); // forced mode is not recomputed
    EXPECT_EQ(image.GetBits()[3], MemoryImage::kGuardWord);
}

TEST(MemoryImageTest, AlphaRunsCountDownAndCapAt255)
{
    MemoryImage image = MakeImage(300, 1, 0xFF123456);
    const uint8_t* runs = image.GetRLAlphaData();
    for (int i = 0; i < 46; ++i)
        ASSERT_EQ(runs[i], 255) << i;
    for (int i = 46; i < 300; ++i)
        ASSERT_EQ(runs[i], 300 - i) << i;

    MemoryImage mixed = MakeImage(4, 2, 0xFF000000);
    mixed.GetBits()[3] = 0x40000000; // last pixel of row 0 differs in class
    mixed.BitsChanged();
    const uint8_t* r = mixed.GetRLAlphaData();
    EXPECT_EQ(std::vector<int>(r, r + 8), (std::vector<int>{3, 2, 1, 1, 4, 3, 2, 1}));

    MemoryImage column = MakeImage(1, 3, 0xFF000000);
    const uint8_t* c = column.GetRLAlphaData();
    EXPECT_EQ(std::vector<int>(c, c + 3), (std::vector<int>{1, 1, 1}));
}

TEST(MemoryImageTest, AdditiveRunsSeparateBlackFromColour)
{
    MemoryImage image = MakeImage(4, 1, 0xFF000000);
    image.GetBits()[2] = 0xFF010000;
    image.BitsChanged();
    const uint8_t* r = image.GetRLAdditiveData(PixelFormat::Argb8888());
    EXPECT_EQ(std::vector<int>(r, r + 4), (std::vector<int>{2, 1, 1, 1}));
}

TEST(MemoryImageTest, PaletteHoldsExactly256Colours)
{
    std::vector<uint32_t> pixels(257);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 977);
    MemoryImage tooMany;
    tooMany.SetBits(pixels.data(), 257, 1);
    EXPECT_FALSE(tooMany.Palletize());
    EXPECT_FALSE(tooMany.mPalletized);
    ASSERT_NE(tooMany.mBits, nullptr);
    EXPECT_EQ(tooMany.mPalette, nullptr);

    MemoryImage exact;
    exact.SetBits(pixels.data(), 256, 1);
    ASSERT_TRUE(exact.Palletize());
    EXPECT_EQ(exact.mBits, nullptr);
    EXPECT_EQ(exact.mPaletteIndices[5], 5);
    // Reading the pixels back restores the ARGB form.
    const uint32_t* back = exact.GetBits();
    EXPECT_TRUE(std::equal(back, back + 256, pixels.begin()));
    EXPECT_EQ(exact.mPalette, nullptr);
}

TEST(MemoryImageTest, SetBitsWithOwnBufferChangesNothing)
{
    MemoryImage image = MakeImage(2, 2, 0xFF000000);
    const int count = image.mBitsChangedCount;
    image.SetBits(image.GetBits(), 2, 2);
    EXPECT_EQ(image.mBitsChangedCount, count);
}

TEST(MemoryImageTest, PurgeKeepsPixelsRecoverableFromTheDisplayForm)
{
    MemoryImage image = MakeImage(2, 1, 0xFF204060);
    image.GetBits()[1] = 0x00000000;
    image.BitsChanged();
    image.PurgeBits();
    EXPECT_EQ(image.mBits, nullptr);
    ASSERT_NE(image.mNativeAlphaData, nullptr);
    const uint32_t* back = image.GetBits();
    EXPECT_EQ(back[0], 0xFF204060u);
    EXPECT_EQ(back[1], 0u);
    EXPECT_TRUE(image.mPurgeRequested);

    // A copy of a purged image gets pixels and leaves the source purged.
    image.PurgeBits();
    MemoryImage copy(image);
    EXPECT_EQ(image.mBits, nullptr);
    EXPECT_EQ(copy.GetBits()[0], 0xFF204060u);

    // 3D: without a texture nothing is dropped.
    RecordingRegistry registry;
    registry.accelerated = true;
    MemoryImage textured(&registry);
    textured.Create(1, 1);
    textured.GetBits();
    textured.PurgeBits();
    EXPECT_NE(textured.mBits, nullptr);
}

TEST(MemoryImageTest, PalettizedImagesSurviveReInitAndDeleteBuffers)
{
    MemoryImage image = MakeImage(3, 3, 0xFF112233);
    ASSERT_TRUE(image.Palletize());
    image.GetNativeAlphaData(PixelFormat::Rgb565());
    image.DeleteSoftwareBuffers();
    EXPECT_EQ(image.mNativeAlphaData, nullptr);
    image.ReInit(); // palletize again
    EXPECT_NE(image.mPalette, nullptr);
    EXPECT_EQ(image.GetBits()[8], 0xFF112233u);
}

TEST(MemoryImageTest, NativeFormatPremultipliesAndPacks)
{
    MemoryImage image = MakeImage(1, 1, 0x80FF8040);
    const uint32_t word = image.GetNativeAlphaData(PixelFormat::Rgb565())[0];
    // m = 129: red 255*129>>8 = 128 -> 5 bits 16; green 64 -> 6 bits 16; blue 32 -> 5 bits 4.
    EXPECT_EQ(word, 0x80000000u | 16u << 11 | 16u << 5 | 4u);
}

TEST(MemoryImageTest, FillBlendsWithTheStatedRounding)
{
    MemoryImage image = MakeImage(2, 1, 0xFFFFFFFF);
    image.GetBits()[1] = 0x00000000;
    image.FillRect(Rect(0, 0, 1, 1), Color(255, 0, 0, 128), DrawMode::Normal);
    EXPECT_EQ(image.GetBits()[0], 0xFFFF7F7Fu);
    image.FillRect(Rect(1, 0, 1, 1), Color(10, 20, 30, 64), DrawMode::Normal);
    // newA 64, w 255: the colour almost unchanged.
    EXPECT_EQ(image.GetBits()[1], 0x4009131Du);
    image.FillRect(Rect(-5, -5, 100, 100), Color(1, 2, 3, 0), DrawMode::Normal);
    EXPECT_EQ(image.GetBits()[0], 0xFFFF7F7Fu);
}

TEST(MemoryImageTest, OpaqueLinesRoundTo254AndStraightLinesToPureColour)
{
    MemoryImage image = MakeImage(8, 8, 0xFF000000);
    image.DrawLine(0, 0, 7, 7, Color::White, DrawMode::Normal);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(image.GetBits()[i * 8 + i], 0xFFFEFEFEu) << i;
    image.DrawLine(0, 7, 7, 7, Color::White, DrawMode::Normal);
    EXPECT_EQ(image.GetBits()[7 * 8 + 3], 0xFFFFFFFFu);
    // Lines outside the image draw nothing and do not crash.
    image.DrawLine(-100, -50, 300, 40, Color::White, DrawMode::Normal);
    image.DrawLineAA(-100, -50, 300, 40.5, Color::White, DrawMode::Normal);
}

TEST(MemoryImageTest, ShallowLineStepsOnceAcrossItsMinorAxis)
{
    MemoryImage image = MakeImage(5, 2, 0xFF000000);
    image.DrawLine(0, 0, 4, 1, Color(255, 255, 255, 255), DrawMode::Normal);
    int lit = 0;
    for (int i = 0; i < 10; ++i)
        lit += image.GetBits()[i] == 0xFFFEFEFEu;
    EXPECT_EQ(lit, 5); // one pixel per column
    EXPECT_EQ(image.GetBits()[0], 0xFFFEFEFEu);
    EXPECT_EQ(image.GetBits()[9], 0xFFFEFEFEu);
}

TEST(MemoryImageTest, AntiAliasedLineSplitsCoverageBetweenNeighbours)
{
    MemoryImage image = MakeImage(10, 10, 0xFF000000);
    image.DrawLineAA(0, 0, 9, 4, Color::White, DrawMode::Normal);
    // The first pixel has full coverage; every inner column splits it between two pixels.
    EXPECT_EQ(image.GetBits()[0], 0xFFFFFFFFu);
    for (int x = 1; x < 9; ++x)
    {
        uint32_t sum = 0;
        for (int y = 0; y < 10; ++y)
            sum += image.GetBits()[y * 10 + x] & 0xFF;
        EXPECT_GE(sum, 250u) << x;
        EXPECT_LE(sum, 256u) << x;
    }
}
