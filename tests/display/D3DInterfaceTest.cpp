// The 3D renderer: piece sizes under configured texture limits, the four texture formats copied
// in and recovered, image drawing across several pieces, polygons, and device failures that
// reach the registry and take the display out of 3D mode.
// Rerun: test_display --gtest_filter='D3DInterfaceTest.*'
#include "Display3DFixture.h"

#include "framework/display/D3DInterface.h"
#include "framework/display/Graphics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
void FillPattern(MemoryImage& image, int width, int height, bool alpha)
{
    std::vector<uint32_t> bits(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint32_t a = alpha ? static_cast<uint32_t>((x * 37 + y * 11) % 256) : 255;
            bits[static_cast<size_t>(y * width + x)] =
                (a << 24) | static_cast<uint32_t>(((x * 7) % 256) << 16 | ((y * 5) % 256) << 8 | ((x + y) % 256));
        }
    image.SetBits(bits.data(), width, height);
}

TextureData& DataOf(MemoryImage& image)
{
    return *static_cast<TextureData*>(image.mTextureData);
}
} // namespace

TEST(D3DInterfaceTest, PieceSizesFollowTheTableAndTheLimits)
{
    D3DDeviceCaps caps;
    caps.maxTextureWidth = caps.maxTextureHeight = 4096;
    caps.maxTextureAspectRatio = 4;
    const TextureLimits limits = TextureLimits::FromCaps(caps);
    EXPECT_EQ(limits.maxWidth, 1024);
    EXPECT_EQ(limits.maxAspectRatio, 4);
    TextureData data;
    data.width = 300;
    data.height = 200;
    data.CreateTextureDimensions(limits, 0);
    EXPECT_EQ(data.pieceWidth, 256);
    EXPECT_EQ(data.pieceHeight, 256);
    EXPECT_EQ(data.columns, 2);
    EXPECT_EQ(data.rows, 1);
    EXPECT_EQ(data.pieces[1].texWidth, 64); // 44 rounded up to a power of two
    int w = 400, h = 10;
    GetBestTextureDimensions(limits, w, h, false, 0);
    EXPECT_EQ(w, 128); // 400 mod 256 is 144; 400 mod 128 is 16
    EXPECT_EQ(h, 32);  // 16, widened to the aspect limit of 4
    w = 300, h = 300;
    GetBestTextureDimensions(limits, w, h, false, kTexFlagSmallPieces);
    EXPECT_EQ(w, 64);
    w = 300;
    GetBestTextureDimensions(limits, w, h, false, kTexFlagPow2);
    EXPECT_EQ(w, 512);
    // A device without a maximum is treated as 64 x 64 with aspect 1.
    D3DDeviceCaps none;
    none.maxTextureWidth = 0;
    const TextureLimits small = TextureLimits::FromCaps(none);
    EXPECT_EQ(small.maxWidth, 64);
    EXPECT_EQ(small.maxHeight, 64);
    EXPECT_EQ(small.minWidth, 64);
    EXPECT_EQ(small.maxAspectRatio, 1);
    data.CreateTextureDimensions(small, 0);
    EXPECT_EQ(data.columns, 5);
    EXPECT_EQ(data.rows, 4);
}

TEST(D3DInterfaceTest, SixtyFivePixelImageRepeatsItsLastColumnOnce)
{
    Display3D d;
    MemoryImage image;
    FillPattern(image, 65, 3, false);
    ASSERT_TRUE(d.Renderer()->CreateImageTexture(&image));
    TextureData& data = DataOf(image);
    ASSERT_EQ(data.pieces.size(), 1u);
    EXPECT_EQ(data.pieces[0].texWidth, 128);
    const SoftTexture& texture = *data.pieces[0].texture;
    for (int y = 0; y < 3; ++y)
    {
        EXPECT_EQ(texture.TexelArgb(65, y), texture.TexelArgb(64, y));
        EXPECT_NE(texture.TexelArgb(66, y), texture.TexelArgb(64, y));
    }
    EXPECT_EQ(texture.TexelArgb(10, 3), texture.TexelArgb(10, 2)) << "the last row once more below";
}

TEST(D3DInterfaceTest, EveryTextureFormatConvertsBothWays)
{
    Display3D d(D3DDeviceCaps(), {TextureFormat::A8R8G8B8(), TextureFormat::A4R4G4B4(), TextureFormat::R5G6B5(),
                                  TextureFormat::Palette8()});
    // Opaque: 5-6-5; alpha: 8-8-8-8; alpha with the flag: 4-4-4-4; palette: 8-bit.
    MemoryImage opaque, alpha, small, palette;
    FillPattern(opaque, 20, 9, false);
    FillPattern(alpha, 20, 9, true);
    FillPattern(small, 20, 9, true);
    small.mTextureFlags = kTexFlagPrefer4444;
    std::vector<uint32_t> few(20 * 9);
    for (size_t i = 0; i < few.size(); ++i)
        few[i] = i % 3 == 0 ? 0x80FF0000 : i % 3 == 1 ? 0xFF00FF00 : 0x00000000;
    palette.SetBits(few.data(), 20, 9);
    ASSERT_TRUE(palette.Palletize());
    struct Case
    {
        MemoryImage* image;
        int code;
        uint32_t (*expect)(uint32_t);
    };
    const Case cases[] = {
        {&opaque, kTexFormatR5G6B5, [](uint32_t c) { return 0xFF000000 | (c & 0xF8FCF8); }},
        {&alpha, kTexFormatA8R8G8B8, [](uint32_t c) { return c; }},
        {&small, kTexFormatA4R4G4B4, [](uint32_t c) { return ((c >> 28) * 17) << 24 | (c & 0xF0F0F0); }},
        {&palette, kTexFormatPalette8, [](uint32_t c) { return c; }},
    };
    for (const Case& c : cases)
    {
        const std::vector<uint32_t> original = [&] {
            const uint32_t* bits = c.image->mBits ? c.image->mBits.get() : nullptr;
            if (bits != nullptr)
                return std::vector<uint32_t>(bits, bits + 180);
            std::vector<uint32_t> out(180);
            for (size_t i = 0; i < out.size(); ++i)
                out[i] = c.image->mPalette[c.image->mPaletteIndices[i]];
            return out;
        }();
        ASSERT_TRUE(d.Renderer()->CreateImageTexture(c.image));
        EXPECT_EQ(DataOf(*c.image).formatCode, c.code);
        std::vector<uint32_t> back(180);
        ASSERT_TRUE(d.Renderer()->RecoverBits(c.image, back.data()));
        for (size_t i = 0; i < back.size(); ++i)
            ASSERT_EQ(back[i], c.expect(original[i])) << "format " << c.code << " pixel " << i;
    }
    // A changed image is not recovered from stale textures.
    alpha.BitsChanged();
    std::vector<uint32_t> back(180);
    EXPECT_FALSE(d.Renderer()->RecoverBits(&alpha, back.data()));
}

TEST(D3DInterfaceTest, ImagesLargerThanATextureDrawPieceByPiece)
{
    // The display test needs 64-texel textures; the small limit comes with the second Init.
    Display3D d;
    d.Renderer()->mDeviceSettings.caps.maxTextureWidth = d.Renderer()->mDeviceSettings.caps.maxTextureHeight = 32;
    ASSERT_EQ(d.t.Init(), 0);
    ASSERT_EQ(d.Renderer()->GetTextureLimits().maxWidth, 32);
    MemoryImage image;
    FillPattern(image, 70, 45, false);
    Graphics g(&d.t.Screen());
    g.DrawImage(&image, 5, 7);
    EXPECT_GT(DataOf(image).pieces.size(), 4u);
    for (int y = 0; y < 45; ++y)
        for (int x = 0; x < 70; ++x)
            ASSERT_EQ(d.Pixel(5 + x, 7 + y), image.mBits[static_cast<size_t>(y * 70 + x)] | 0xFF000000)
                << x << "," << y;
    // The same image stretched to twice its size through pieces still fills its rectangle.
    g.DrawImage(&image, 0, 0, 140, 90);
    EXPECT_EQ(d.Pixel(139, 89), image.mBits[static_cast<size_t>(44 * 70 + 69)] | 0xFF000000);
    d.t.display->Redraw(nullptr);
}

TEST(D3DInterfaceTest, PolygonsNeedThreePointsAndKeepToTheClip)
{
    Display3D d;
    const FPoint two[] = {{0, 0}, {50, 50}};
    EXPECT_TRUE(d.Renderer()->FillPolygon(two, 2, Rect(0, 0, 192, 144), Color(255, 0, 0), DrawMode::Normal, 0, 0));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(d.Pixel(x, y), 0xFF000000u);
    const FPoint square[] = {{0, 0}, {40, 0}, {40, 40}, {0, 40}};
    d.Renderer()->FillPolygon(square, 4, Rect(10, 10, 10, 10), Color(255, 0, 0), DrawMode::Normal, 2, 0);
    EXPECT_EQ(d.Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(d.Pixel(19, 19), 0xFFFF0000u);
    EXPECT_EQ(d.Pixel(20, 19), 0xFF000000u);
    EXPECT_EQ(d.Pixel(9, 12), 0xFF000000u);
}

TEST(D3DInterfaceTest, DeviceFailureIsRecordedAndLeaves3DAtTheNextRedraw)
{
    Display3D d;
    D3DTesterHost host;
    d.t.display->Set3DHost(&host);
    Graphics g(&d.t.Screen());
    g.SetColor(Color(0, 255, 0));
    g.FillRect(0, 0, 4, 4);
    ASSERT_TRUE(d.t.display->Redraw(nullptr));
    EXPECT_TRUE(d.t.display->Is3D());
    // The render target is held locked elsewhere: the next draw fails.
    SurfaceDesc desc;
    ASSERT_EQ(d.t.display->mDrawSurface->Lock(nullptr, &desc, kLockWait), DD_OK);
    g.FillRect(0, 0, 4, 4);
    d.t.display->mDrawSurface->Unlock(nullptr);
    EXPECT_EQ(LastRenderer3DError(), "DrawPrimitive (Rect): DDERR_SURFACEBUSY");
    ASSERT_TRUE(host.mValues.count("Test3D\\RuntimeError"));
    EXPECT_STREQ(reinterpret_cast<const char*>(host.mValues["Test3D\\RuntimeError"].second.data()),
                 "DrawPrimitive (Rect): DDERR_SURFACEBUSY");
    EXPECT_FALSE(d.t.display->Redraw(nullptr));
    EXPECT_FALSE(d.t.display->Is3D());
    LastRenderer3DError().clear();
}

TEST(D3DInterfaceTest, TexturesFollowTheImageAndGoWithIt)
{
    Display3D d;
    auto image = std::make_unique<MemoryImage>();
    FillPattern(*image, 8, 8, false);
    Graphics g(&d.t.Screen());
    const Renderer3D& renderer = *d.t.display->GetRenderer();
    EXPECT_FALSE(renderer.DescribeTexture(*image).present);
    g.DrawImage(image.get(), 0, 0);
    EXPECT_EQ(d.Renderer()->TextureSetSize(), 1u);
    // The image dump's texture column: an opaque image in the first format of the list.
    const TextureUse use = renderer.DescribeTexture(*image);
    EXPECT_TRUE(use.present);
    EXPECT_EQ(use.formatCode, kTexFormatA8R8G8B8);
    EXPECT_GE(use.bytes, 8 * 8 * 4);
    // New pixels: the next draw uploads them again.
    image->mBits[0] = 0xFF123456;
    image->BitsChanged();
    g.DrawImage(image.get(), 0, 0);
    EXPECT_EQ(d.Pixel(0, 0), 0xFF123456u);
    image.reset();
    EXPECT_EQ(d.Renderer()->TextureSetSize(), 0u);
}

TEST(D3DInterfaceTest, TrianglesAcrossSeveralPiecesMatchOnePiece)
{
    // The same textured, vertex-coloured triangles through one texture and through 32-texel pieces.
    MemoryImage image;
    FillPattern(image, 70, 45, false);
    const TriangleVertices triangles[2] = {
        {{3, 2, 0, 0, 0xFFFFFFFF}, {143, 6, 1, 0, 0xFFFFFFFF}, {8, 92, 0, 1, 0xFFFFFFFF}},
        {{143, 6, 1, 0, 0xFFFF8080}, {139, 95, 1, 1, 0xFFFFFFFF}, {8, 92, 0, 1, 0xFFFFFFFF}},
    };
    std::vector<uint32_t> results[2];
    for (int pieced = 0; pieced < 2; ++pieced)
    {
        Display3D d;
        if (pieced == 1)
        {
            d.Renderer()->mDeviceSettings.caps.maxTextureWidth = d.Renderer()->mDeviceSettings.caps.maxTextureHeight = 32;
            ASSERT_EQ(d.t.Init(), 0);
        }
        Graphics g(&d.t.Screen());
        g.ClipRect(0, 0, 120, 144);
        g.SetTriangleFiltering(false); // filtering would differ along the pieces' seams
        g.DrawTrianglesTex(&image, triangles, 2);
        EXPECT_EQ(DataOf(image).pieces.size(), pieced == 1 ? 6u : 1u);
        for (int y = 0; y < 144; ++y)
            for (int x = 0; x < 192; ++x)
                results[pieced].push_back(d.Pixel(x, y));
    }
    // Cut triangles carry their colours rounded at the cuts: within 1 per channel.
    auto close = [](uint32_t a, uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1)
                return false;
        return true;
    };
    size_t same = 0, drawn = 0;
    for (size_t i = 0; i < results[0].size(); ++i)
    {
        same += close(results[0][i], results[1][i]) ? 1 : 0;
        drawn += results[0][i] != 0xFF000000;
        if (i % 192 >= 120)
        {
            ASSERT_EQ(results[1][i], 0xFF000000u) << "outside the clip at " << i % 192;
        }
    }
    EXPECT_GT(drawn, 8000u);
    EXPECT_GE(static_cast<double>(same) / static_cast<double>(results[0].size()), 0.99);
}

TEST(D3DInterfaceTest, CoverageFillOnThe3DScreenLeavesNoTextureBehind)
{
    // Without a registry that drops textures, the scratch image of the fill must not stay in
    // the renderer's texture set after it is gone.
    TestDisplay t;
    t.display->Set3D(true);
    ASSERT_EQ(t.Init(), 0);
    auto* d3d = dynamic_cast<D3DInterface*>(t.display->GetRenderer());
    const std::vector<uint8_t> coverage(8 * 2, 200);
    const ScanSpan spans[2] = {{3, 4, 8}, {4, 4, 8}};
    t.Screen().FillScanLinesWithAlpha(spans, 2, Color(255, 0, 0), DrawMode::Normal, coverage.data(), 4, 3, 8, 2);
    EXPECT_EQ(d3d->TextureSetSize(), 0u);
    EXPECT_NEAR(static_cast<int>((t.display->mDrawSurface->ArgbAt(5, 3) >> 16) & 0xFF), 200, 2);
}
