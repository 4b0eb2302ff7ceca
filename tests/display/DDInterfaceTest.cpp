// The display: every result of Init reached through the video card's fault injection, the
// display format and its tables, the refresh-rate limits, the aspect choice, presenting a
// frame and the software cursor's save-under.
// Rerun: test_display --gtest_filter='DDInterfaceTest.*'
#include "DisplayFixture.h"

#include "framework/display/D3DTester.h"
#include "framework/display/Graphics.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

static_assert(!std::is_copy_constructible_v<DDInterface>);
static_assert(!std::is_copy_constructible_v<DDImage>);

namespace
{
// A renderer that starts or fails to, with the error text it leaves.
class FakeRenderer : public Renderer3D
{
public:
    explicit FakeRenderer(bool starts) : mStarts(starts) {}
    bool Init(DDInterface*) override
    {
        if (!mStarts)
            LastRenderer3DError() = "no device";
        return mStarts;
    }
    bool mStarts;
    int mScenesEnded = 0;
    int mBlts = 0;
    int mClippedBlts = 0;
    void Cleanup() override { LastRenderer3DError().clear(); }
    void EndScene() override { ++mScenesEnded; }
    void Remove3DData(MemoryImage*) override {}
    bool ForbidsDirectCopies() const override { return false; }
    void FillRect(const Rect&, const Color&, DrawMode) override {}
    void DrawLine(double, double, double, double, const Color&, DrawMode) override {}
    bool FillPolygon(const FPoint*, int, const Rect&, const Color&, DrawMode, int, int) override { return false; }
    void Blt(Image*, float, float, const Rect&, const Color&, DrawMode) override { ++mBlts; }
    void BltClipF(Image*, float, float, const Rect&, const Rect&, const Color&, DrawMode) override { ++mClippedBlts; }
    void BltMirror(Image*, float, float, const Rect&, const Color&, DrawMode) override {}
    void BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, DrawMode, double, float,
                    float) override
    {
    }
    void StretchBlt(Image*, const Rect&, const Rect&, const Rect&, const Color&, DrawMode, bool, bool) override {}
    void BltTransformed(Image*, const Rect&, const Color&, DrawMode, const Rect&, const Matrix3&, bool, float, float,
                        bool) override
    {
    }
    void DrawTrianglesTex(Image*, const TriangleVertices*, int, const Rect&, const Color&, DrawMode, float, float,
                          bool) override
    {
    }
    bool RecoverBits(MemoryImage*, uint32_t* bits) override
    {
        bits[0] = 0xFF123456;
        return true;
    }
    TextureUse DescribeTexture(const MemoryImage&) const override { return {true, 4, 512}; }
    const SoftDirect3DSettings& DeviceSettings() const override { return mSettings; }
    void Set3DHost(D3DTesterHost* host) override { mHost = host; }
    bool RenderTargetFailed() const override { return false; }
    void ClearRenderTargetFailed() override {}
    SoftDirect3DSettings mSettings;
    D3DTesterHost* mHost = nullptr;
};

struct FaultCase
{
    SoftCall call;
    bool windowed;
    int result;
    const char* errorText;
};
} // namespace

TEST(DDInterfaceTest, EveryInitResultThroughInjectedFaults)
{
    const FaultCase cases[] = {
        {SoftCall::CreateClipper, true, 1, "CreateClipper Windowed: DDERR_SURFACELOST"},
        {SoftCall::CreateClipper, false, 1, "CreateClipper FullScreen: DDERR_SURFACELOST"},
        {SoftCall::CreateDirectDraw, true, 2, "DirectDrawCreateEx: DDERR_SURFACELOST"},
        {SoftCall::QueryInterface, true, 2, "QueryrInterface IID_IDirectDraw: DDERR_SURFACELOST"},
        {SoftCall::CreateSurface, true, 3, "CreateSurface Windowed Primary: DDERR_SURFACELOST"},
        {SoftCall::CreateSurface, false, 3, "CreateSurface FullScreen Primary: DDERR_SURFACELOST"},
        {SoftCall::GetAttachedSurface, false, 3, "GetAttachedSurface: DDERR_SURFACELOST"},
        {SoftCall::SetCooperativeLevel, false, 4, "SetCooperativeLevel FullScreen: DDERR_SURFACELOST"},
        {SoftCall::SetDisplayMode, false, 5, "SetDisplayMode FullScreen: DDERR_SURFACELOST"},
    };
    for (const FaultCase& c : cases)
    {
        SCOPED_TRACE(c.errorText);
        TestDisplay t;
        t.host.mOptions.width = 640;
        t.host.mOptions.height = 480;
        t.card.FailCall(c.call, 1, DDERR_SURFACELOST);
        EXPECT_EQ(t.Init(c.windowed), c.result);
        EXPECT_EQ(t.display->GetErrorText(), c.errorText);
        EXPECT_EQ(t.display->GetDDScreenImage(), nullptr);
        EXPECT_FALSE(t.display->Redraw(nullptr));
    }
    EXPECT_STREQ(DDInterface::ResultToString(7), "RESULT_UNKNOWN");
    EXPECT_STREQ(DDInterface::ResultToString(6), "RESULT_INVALID_COLORDEPTH");
    EXPECT_STREQ(DDInterface::ResultToString(-1), "RESULT_UNKNOWN");
}

TEST(DDInterfaceTest, DisplaysOtherThan16Or32BitsAreRefused)
{
    for (const SurfaceFormat& format : {SurfaceFormat::R8G8B8(), SurfaceFormat::Palette8()})
    {
        TestDisplay t(format);
        EXPECT_EQ(t.Init(), 6);
        EXPECT_EQ(t.display->GetDDScreenImage(), nullptr);
    }
    TestDisplay t;
    t.card.FailCall(SoftCall::CreateSurface, 1, DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(t.Init(), 6);
}

TEST(DDInterfaceTest, RendererFailureIsResultSeven)
{
    TestDisplay t;
    t.display->SetRenderer(std::make_unique<FakeRenderer>(false));
    t.display->Set3D(true);
    EXPECT_EQ(t.Init(), 7);
    EXPECT_EQ(t.display->GetErrorText(), "3D init error: no device");
}

// A renderer other than the built-in one gets the host, serves the texture read-back and gives
// the display test the device to test.
TEST(DDInterfaceTest, AnyRendererServesHostReadBackAndTestedDevice)
{
    TestDisplay t;
    auto renderer = std::make_unique<FakeRenderer>(true);
    FakeRenderer* fake = renderer.get();
    fake->mSettings.driverYear = 1999;
    t.display->SetRenderer(std::move(renderer));
    EXPECT_NE(fake->mHost, nullptr) << "the display's own host";
    D3DTesterHost host;
    t.display->Set3DHost(&host);
    EXPECT_EQ(fake->mHost, &host);
    uint32_t bits[1] = {0};
    MemoryImage image;
    EXPECT_TRUE(t.display->ReadTextureBits(&image, bits));
    EXPECT_EQ(bits[0], 0xFF123456u);
    t.display->Set3D(true);
    ASSERT_EQ(t.Init(), 0);
    ASSERT_NE(t.display->GetDisplayTest(), nullptr);
    EXPECT_EQ(t.display->GetDisplayTest()->mDeviceSettings.driverYear, 1999);
}

TEST(DDInterfaceTest, RendererErrorDuringAFrameLeaves3DMode)
{
    TestDisplay t;
    auto renderer = std::make_unique<FakeRenderer>(true);
    FakeRenderer* fake = renderer.get();
    t.display->SetRenderer(std::move(renderer));
    t.display->Set3D(true);
    ASSERT_EQ(t.Init(), 0);
    EXPECT_TRUE(t.Screen().Check3D());
    EXPECT_TRUE(IsImage3D(&t.Screen()));
    EXPECT_TRUE(Graphics(&t.Screen()).mIs3D);
    ASSERT_TRUE(t.display->Redraw(nullptr));
    EXPECT_EQ(fake->mScenesEnded, 1);
    LastRenderer3DError() = "lost device";
    EXPECT_FALSE(t.display->Redraw(nullptr));
    EXPECT_FALSE(t.display->Is3D());
    EXPECT_FALSE(t.Screen().Check3D());
    LastRenderer3DError().clear();
}

TEST(DDInterfaceTest, ScanLineWaitsFallBackToTheBlankAfterThreeFailures)
{
    FakeClock clock;
    ScopedClock scoped(clock);
    TestDisplay t;
    t.host.mOptions.waitForVSync = true;
    ASSERT_EQ(t.Init(), 0);
    // Two failed waits, then a split that succeeds and resets the count.
    t.card.FailCall(SoftCall::GetScanLine, 1, DDERR_SURFACELOST);
    ASSERT_TRUE(t.display->Redraw(nullptr));
    t.card.FailCall(SoftCall::GetScanLine, 1, DDERR_SURFACELOST);
    ASSERT_TRUE(t.display->Redraw(nullptr));
    EXPECT_EQ(t.display->mScanLineFailCount, 2);
    EXPECT_EQ(t.card.CallCount(SoftCall::WaitForVerticalBlank), 2);
    ASSERT_TRUE(t.display->Redraw(nullptr));
    EXPECT_EQ(t.display->mScanLineFailCount, 0);
    // Three failures in a row: no more polling, always the blank.
    for (int i = 0; i < 3; ++i)
    {
        t.card.FailCall(SoftCall::GetScanLine, 1, DDERR_SURFACELOST);
        ASSERT_TRUE(t.display->Redraw(nullptr));
    }
    const int polls = t.card.CallCount(SoftCall::GetScanLine);
    const int waits = t.card.CallCount(SoftCall::WaitForVerticalBlank);
    ASSERT_TRUE(t.display->Redraw(nullptr));
    EXPECT_EQ(t.card.CallCount(SoftCall::GetScanLine), polls);
    EXPECT_EQ(t.card.CallCount(SoftCall::WaitForVerticalBlank), waits + 1);
}

TEST(DDInterfaceTest, FormatFieldsAndTablesOf565)
{
    TestDisplay t(SurfaceFormat::R5G6B5());
    ASSERT_EQ(t.Init(), 0);
    const DDInterface& d = *t.display;
    EXPECT_EQ(d.mRGBBits, 16u);
    EXPECT_EQ(d.mRedBits, 5u);
    EXPECT_EQ(d.mGreenBits, 6u);
    EXPECT_EQ(d.mBlueBits, 5u);
    EXPECT_EQ(d.mRedShift, 11u);
    EXPECT_EQ(d.mGreenShift, 5u);
    EXPECT_EQ(d.mBlueShift, 0u);
    EXPECT_EQ(d.mRedAddTable.size(), 63u);
    EXPECT_EQ(d.mGreenAddTable.size(), 127u);
    EXPECT_EQ(d.mRedAddTable[62], 31);
    EXPECT_EQ(d.mRedConvTable[255], 0xF800u);
    EXPECT_EQ(d.mGreenConvTable[128], (128u * 0x7E0u / 255u) & 0x7E0u);
    EXPECT_EQ(d.mInitCount, 1);
    ASSERT_NE(t.display->GetDDScreenImage(), nullptr);
    EXPECT_EQ(t.Screen().mWidth, 192);
}

TEST(DDInterfaceTest, RefreshRateIsKeptBetween60And100)
{
    const int rates[][3] = {{50, 60, 1}, {120, 100, 1}, {75, 75, 0}, {0, 60, 1}};
    for (const auto& rate : rates)
    {
        TestDisplay t;
        t.card.MutableSettings().refreshRate = rate[0];
        ASSERT_EQ(t.Init(), 0);
        EXPECT_EQ(t.display->GetRefreshRate(), rate[1]);
        EXPECT_EQ(t.host.mRefreshRateFallback, rate[2] != 0);
        EXPECT_EQ(t.display->mMillisecondsPerFrame, 1000 / rate[1]);
    }
}

TEST(DDInterfaceTest, WindowedAspectWidensOnlyForAWiderTarget)
{
    TestDisplay narrow;
    narrow.host.mOptions.windowedAspectEnabled = true;
    narrow.host.mOptions.windowedAspect = Ratio(4, 3);
    ASSERT_EQ(narrow.Init(), 0);
    EXPECT_FALSE(narrow.display->mIsWidescreen);
    EXPECT_EQ(narrow.display->mPresentationRect, Rect(0, 0, 192, 144));

    TestDisplay wide;
    wide.host.mOptions.windowedAspectEnabled = true;
    wide.host.mOptions.windowedAspect = Ratio(16, 9);
    ASSERT_EQ(wide.Init(), 0);
    EXPECT_TRUE(wide.display->mIsWidescreen);
    EXPECT_EQ(wide.display->mDisplayWidth, 256);
    EXPECT_EQ(wide.display->mPresentationRect, Rect(32, 0, 192, 144));

    wide.host.mOptions.widenDrawBuffer = true;
    ASSERT_EQ(wide.Init(), 0);
    EXPECT_EQ(wide.display->GetWidth(), 256);
    EXPECT_EQ(wide.display->mPresentationRect, Rect(0, 0, 256, 144));
    EXPECT_TRUE(RatioIsGreaterThan(Ratio(16, 10), Ratio(4, 3)));
    EXPECT_FALSE(RatioIsGreaterThan(Ratio(4, 3), Ratio(4, 3)));
}

TEST(DDInterfaceTest, RedrawShowsTheFrameOnThePrimary)
{
    for (const SurfaceFormat& format : kSurfaceFormats)
    {
        TestDisplay t(format);
        ASSERT_EQ(t.Init(), 0);
        Graphics g(&t.Screen());
        g.SetColor(Color(255, 0, 0));
        g.FillRect(0, 0, 192, 144);
        g.SetColor(Color(0, 0, 255));
        g.FillRect(10, 10, 5, 5);
        ASSERT_TRUE(t.display->Redraw(nullptr));
        const SurfacePtr& primary = t.display->mPrimarySurface;
        EXPECT_EQ(primary->ArgbAt(0, 0) & 0xFFF00000u, 0xFFF00000u);
        EXPECT_EQ(primary->ArgbAt(12, 12) & 0xF0F0F0u, 0x0000F0u);
        EXPECT_EQ(primary->ArgbAt(191, 143), primary->ArgbAt(0, 0));
        EXPECT_EQ(primary->PixelAt(192, 0), 0u);
        const Rect dirty(10, 10, 2, 2);
        g.SetColor(Color(0, 255, 0));
        g.FillRect(0, 0, 192, 144);
        ASSERT_TRUE(t.display->Redraw(&dirty));
        EXPECT_NE(primary->ArgbAt(10, 10), primary->ArgbAt(12, 12));
    }
}

TEST(DDInterfaceTest, CursorSaveUnderLeavesTheFrameByteIdentical)
{
    for (const SurfaceFormat& format : kSurfaceFormats)
    {
        TestDisplay t(format, 192, 144);
        ASSERT_EQ(t.Init(), 0);
        Graphics g(&t.Screen());
        for (int y = 0; y < 144; ++y)
        {
            g.SetColor(Color(y, 255 - y, (y * 7) % 256));
            g.FillRect(0, y, 192, 1);
        }
        MemoryImage cursor;
        std::vector<uint32_t> pixels(16 * 16, 0xFFFF00FF);
        pixels[0] = 0;
        cursor.SetBits(pixels.data(), 16, 16);
        EXPECT_TRUE(t.display->SetCursorImage(&cursor));
        EXPECT_FALSE(t.display->SetCursorImage(&cursor));

        const SurfacePtr& draw = t.display->mDrawSurface;
        std::vector<uint32_t> before;
        for (int y = 0; y < 144; ++y)
            for (int x = 0; x < 192; ++x)
                before.push_back(draw->PixelAt(x, y));
        int drawnX = 0, drawnY = 0;
        EXPECT_FALSE(t.display->GetCursorDrawnPos(drawnX, drawnY));
        t.display->SetPendingCursorPos(40, 40);
        EXPECT_FALSE(t.display->GetCursorDrawnPos(drawnX, drawnY));
        ASSERT_TRUE(t.display->Redraw(nullptr));
        EXPECT_TRUE(t.display->GetCursorDrawnPos(drawnX, drawnY));
        EXPECT_EQ(drawnX, 40);
        std::vector<uint32_t> after;
        for (int y = 0; y < 144; ++y)
            for (int x = 0; x < 192; ++x)
                after.push_back(draw->PixelAt(x, y));
        EXPECT_EQ(before, after);
        const SurfacePtr& primary = t.display->mPrimarySurface;
        EXPECT_EQ(primary->ArgbAt(40, 40), 0xFFFF00FFu);
        // Moving the cursor puts the frame back where it was.
        t.display->SetCursorPos(120, 100);
        EXPECT_EQ(primary->PixelAt(40, 40), draw->PixelAt(40, 40));
        EXPECT_EQ(primary->PixelAt(32, 32), draw->PixelAt(32, 32));
        EXPECT_EQ(primary->ArgbAt(120, 100), 0xFFFF00FFu);
        EXPECT_EQ(primary->PixelAt(112, 92), draw->PixelAt(112, 92));
    }
}

// The cursor thread asks where the cursor was drawn while the main thread draws frames that
// move it (run under ThreadSanitizer by scripts/tsan.sh).
TEST(ThreadsDisplay, TheCursorsDrawnPositionIsReadWhileFramesMoveIt)
{
    TestDisplay t(kSurfaceFormats[0], 192, 144);
    ASSERT_EQ(t.Init(), 0);
    MemoryImage cursor;
    std::vector<uint32_t> pixels(16 * 16, 0xFFFF00FF);
    cursor.SetBits(pixels.data(), 16, 16);
    ASSERT_TRUE(t.display->SetCursorImage(&cursor));
    std::atomic<bool> done{false};
    std::thread reader([&] {
        int x = 0, y = 0;
        while (!done)
        {
            if (t.display->GetCursorDrawnPos(x, y))
            {
                EXPECT_EQ(x, y);
            }
        }
    });
    for (int i = 0; i < 200; ++i)
    {
        t.display->SetPendingCursorPos(20 + i % 100, 20 + i % 100);
        ASSERT_TRUE(t.display->Redraw(nullptr));
    }
    done = true;
    reader.join();
}

TEST(DDInterfaceTest, FullScreenSetsTheModeAndFlipsOrBlits)
{
    TestDisplay t(SurfaceFormat::X8R8G8B8(), 640, 480);
    t.host.mOptions.colorDepth = 16;
    ASSERT_EQ(t.Init(false), 0);
    EXPECT_EQ(t.card.CurrentMode(), (DisplayMode{640, 480, 16}));
    EXPECT_EQ(t.display->mRGBBits, 16u);
    EXPECT_EQ(t.Screen().GetSurface()->Format(), SurfaceFormat::R5G6B5());
    Graphics g(&t.Screen());
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 640, 480);
    // Page flipping: the frame reaches the front through the back buffer.
    ASSERT_TRUE(t.display->Redraw(nullptr));
    EXPECT_EQ(t.display->mPrimarySurface->PixelAt(5, 5), 0xF800u);
    EXPECT_EQ(t.card.CallCount(SoftCall::Flip), 1);
    // Flipping suspended: a blit to the primary.
    t.host.mOptions.noFlip = true;
    g.SetColor(Color(0, 0, 255));
    g.FillRect(0, 0, 640, 480);
    ASSERT_TRUE(t.display->Redraw(nullptr));
    EXPECT_EQ(t.display->mPrimarySurface->PixelAt(5, 5), 0x001Fu);
    EXPECT_EQ(t.card.CallCount(SoftCall::Flip), 1);
    // A failed flip is reported with its context.
    t.host.mOptions.noFlip = false;
    t.card.FailCall(SoftCall::Flip, 1, DDERR_SURFACELOST);
    EXPECT_FALSE(t.display->Redraw(nullptr));
    EXPECT_EQ(t.display->GetErrorText(), "Redraw FullScreen Flip: DDERR_SURFACELOST");
    // Leaving the display gives the desktop its mode back.
    t.display->Cleanup();
    EXPECT_EQ(t.card.CurrentMode(), (DisplayMode{1024, 768, 32}));
}

TEST(DDInterfaceTest, The3DScreenCopiesOpaqueSurfacesAndSendsTheRestToTheRenderer)
{
    TestDisplay t;
    auto renderer = std::make_unique<FakeRenderer>(true);
    FakeRenderer* fake = renderer.get();
    t.display->SetRenderer(std::move(renderer));
    t.display->Set3D(true);
    ASSERT_EQ(t.Init(), 0);
    DDImage sprite(t.display.get());
    std::vector<uint32_t> pixels = {0x00000000, 0xFF00FF00};
    sprite.SetBits(pixels.data(), 2, 1);
    ASSERT_TRUE(sprite.EnsureSurface());
    const int blits = t.card.CallCount(SoftCall::Blt);
    // White and normal: a surface copy with the source key.
    t.Screen().Blt(&sprite, 3, 3, Rect(0, 0, 2, 1), Color::White, DrawMode::Normal);
    EXPECT_EQ(t.card.CallCount(SoftCall::Blt), blits + 1);
    EXPECT_EQ(t.display->mDrawSurface->PixelAt(4, 3), 0x00FF00u);
    EXPECT_EQ(t.display->mDrawSurface->PixelAt(3, 3), 0u);
    // Tinted or additive: the renderer.
    t.Screen().Blt(&sprite, 3, 3, Rect(0, 0, 2, 1), Color(255, 0, 0), DrawMode::Normal);
    t.Screen().Blt(&sprite, 3, 3, Rect(0, 0, 2, 1), Color::White, DrawMode::Additive);
    EXPECT_EQ(fake->mBlts, 2);
    EXPECT_EQ(t.card.CallCount(SoftCall::Blt), blits + 1);
    // A float-position blit whose clip misses it draws nothing.
    t.Screen().BltAtFloat(&sprite, 10.5f, 10.5f, Rect(0, 0, 2, 1), Rect(50, 50, 10, 10), Color::White,
                          DrawMode::Normal);
    EXPECT_EQ(fake->mClippedBlts, 0);
    t.Screen().BltAtFloat(&sprite, 10.5f, 10.5f, Rect(0, 0, 2, 1), Rect(0, 0, 40, 40), Color::White,
                          DrawMode::Normal);
    EXPECT_EQ(fake->mClippedBlts, 1);
}

TEST(DDInterfaceTest, VideoMemoryPresentLeavesNoCursorInTheFrame)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    t.display->RecreateScreenImage(true);
    ASSERT_TRUE(t.display->mVideoOnlyDraw);
    const SurfacePtr& video = t.display->mSecondarySurface;
    for (int y = 0; y < 144; ++y)
        for (int x = 0; x < 192; ++x)
            video->SetPixelAt(x, y, static_cast<uint32_t>(x * 256 + y));
    MemoryImage cursor;
    std::vector<uint32_t> pixels(16 * 16, 0xFFFF00FF);
    cursor.SetBits(pixels.data(), 16, 16);
    t.display->SetCursorImage(&cursor);
    // Software drawing leaves the video-memory screen alone.
    MemoryImage sprite;
    std::vector<uint32_t> spritePixels(8 * 8, 0xFFFFFFFF);
    sprite.SetBits(spritePixels.data(), 8, 8);
    Graphics g(t.display->GetScreenImage());
    g.SetColor(Color(255, 0, 0));
    g.FillRect(0, 0, 20, 20);
    g.DrawImage(&sprite, 0, 0);
    g.DrawImageRotated(&sprite, 10, 10, 0.5);
    g.SetFastStretch(true);
    g.DrawImage(&sprite, 0, 0, 30, 30);
    t.display->mCursorX = 30;
    t.display->mCursorY = 20;
    ASSERT_TRUE(t.display->Redraw(nullptr));
    EXPECT_EQ(t.display->mPrimarySurface->ArgbAt(30, 20), 0xFFFF00FFu);
    for (int y = 0; y < 144; ++y)
        for (int x = 0; x < 192; ++x)
            ASSERT_EQ(video->PixelAt(x, y), static_cast<uint32_t>(x * 256 + y)) << x << "," << y;
}

TEST(DDInterfaceTest, CursorThreadMovesTheCursorBesideRedraws)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    MemoryImage cursor;
    std::vector<uint32_t> pixels(16 * 16, 0xFF00FFFF);
    cursor.SetBits(pixels.data(), 16, 16);
    t.display->SetCursorImage(&cursor);
    std::thread mover([&] {
        for (int i = 0; i < 300; ++i)
            t.display->SetCursorPos(20 + i % 150, 20 + i % 100);
    });
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(t.display->Redraw(nullptr));
    mover.join();
    // The last position is shown, and the frame under the old ones is whole again.
    t.display->SetCursorPos(100, 100);
    EXPECT_EQ(t.display->mPrimarySurface->ArgbAt(100, 100), 0xFF00FFFFu);
    EXPECT_EQ(t.display->mPrimarySurface->PixelAt(20, 20), t.display->mDrawSurface->PixelAt(20, 20));
}
