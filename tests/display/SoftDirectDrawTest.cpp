// The software DirectDraw stand-in: locks, pitches, blits (copy, stretch, colour key, fill,
// clipping), flip chains, display modes, the virtual beam, video memory and fault injection.
// Rerun: test_display --gtest_filter='SoftDirectDrawTest.*'
#include "framework/platform/system/Clock.h"
#include "framework/platform/video/SoftDirectDraw.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Quoll::Platform;

namespace
{
struct Card
{
    explicit Card(SoftCardSettings settings = SoftCardSettings()) : card(std::move(settings))
    {
        EXPECT_EQ(card.DirectDrawCreate(dd), DD_OK);
    }
    std::shared_ptr<SoftSurface> Offscreen(int w, int h, const SurfaceFormat& f, uint32_t caps = kCapsSystemMemory)
    {
        SurfaceDesc desc;
        desc.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
        desc.width = w;
        desc.height = h;
        desc.format = f;
        desc.caps = kCapsOffscreenPlain | caps;
        std::shared_ptr<SoftSurface> surface;
        EXPECT_EQ(dd->CreateSurface(desc, surface), DD_OK);
        return surface;
    }
    SoftVideoCard card;
    std::shared_ptr<SoftDirectDraw> dd;
};

SoftCardSettings Padded(int padding)
{
    SoftCardSettings settings;
    settings.pitchPadding = padding;
    return settings;
}
} // namespace

TEST(SoftDirectDrawTest, LockGivesPaddedPitchAndRefusesASecondLock)
{
    Card c(Padded(12));
    auto s = c.Offscreen(5, 3, SurfaceFormat::R5G6B5());
    SurfaceDesc desc;
    ASSERT_EQ(s->Lock(nullptr, &desc, kLockWait), DD_OK);
    EXPECT_EQ(desc.pitch, 12 + 12);
    EXPECT_EQ(desc.format, SurfaceFormat::R5G6B5());
    SurfaceDesc again;
    EXPECT_EQ(s->Lock(nullptr, &again, kLockWait), DDERR_SURFACEBUSY);
    EXPECT_EQ(s->Blt(nullptr, s.get(), nullptr, kBltWait, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(s->Unlock(nullptr), DD_OK);
    EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);
}

TEST(SoftDirectDrawTest, CopyConvertsBetweenFormatsAndStretchesNearest)
{
    Card c;
    auto src = c.Offscreen(2, 1, SurfaceFormat::X8R8G8B8());
    src->SetPixelAt(0, 0, 0xFF0000);
    src->SetPixelAt(1, 0, 0x00FF00);
    auto dst = c.Offscreen(4, 2, SurfaceFormat::R5G6B5());
    ASSERT_EQ(dst->Blt(nullptr, src.get(), nullptr, kBltWait, nullptr), DD_OK);
    EXPECT_EQ(dst->PixelAt(0, 0), 0xF800u);
    EXPECT_EQ(dst->PixelAt(1, 1), 0xF800u);
    EXPECT_EQ(dst->PixelAt(2, 0), 0x07E0u);
    EXPECT_EQ(dst->ArgbAt(3, 1), 0xFF00FF00u);
    auto bgr = c.Offscreen(2, 1, SurfaceFormat::X8B8G8R8());
    ASSERT_EQ(bgr->Blt(nullptr, src.get(), nullptr, kBltWait, nullptr), DD_OK);
    EXPECT_EQ(bgr->PixelAt(0, 0), 0x0000FFu);
}

TEST(SoftDirectDrawTest, SourceColourKeyAndColourFill)
{
    Card c;
    auto src = c.Offscreen(2, 1, SurfaceFormat::X8R8G8B8());
    src->SetPixelAt(0, 0, 0x123456);
    src->SetPixelAt(1, 0, 0xABCDEF);
    auto dst = c.Offscreen(2, 1, SurfaceFormat::X8R8G8B8());
    BltFx fx;
    fx.fillColor = 0x111111;
    ASSERT_EQ(dst->Blt(nullptr, nullptr, nullptr, kBltColorFill | kBltWait, &fx), DD_OK);
    EXPECT_EQ(dst->Blt(nullptr, src.get(), nullptr, kBltKeySrc, nullptr), DDERR_NOCOLORKEY);
    const ColorKey key{0x123456, 0x123456};
    ASSERT_EQ(src->SetColorKey(kColorKeySrcBlt, &key), DD_OK);
    ASSERT_EQ(dst->Blt(nullptr, src.get(), nullptr, kBltKeySrc | kBltWait, nullptr), DD_OK);
    EXPECT_EQ(dst->PixelAt(0, 0), 0x111111u);
    EXPECT_EQ(dst->PixelAt(1, 0), 0xABCDEFu);
}

TEST(SoftDirectDrawTest, RectanglesOutsideAreRefusedWithoutClipperAndCutWithOne)
{
    Card c;
    auto src = c.Offscreen(8, 8, SurfaceFormat::X8R8G8B8());
    auto dst = c.Offscreen(8, 8, SurfaceFormat::X8R8G8B8());
    BltFx fx;
    fx.fillColor = 0x00FF00;
    ASSERT_EQ(src->Blt(nullptr, nullptr, nullptr, kBltColorFill, &fx), DD_OK);
    const SurfaceRect outside{4, 4, 12, 12};
    EXPECT_EQ(dst->Blt(&outside, src.get(), nullptr, kBltWait, nullptr), DDERR_INVALIDRECT);
    EXPECT_EQ(dst->PixelAt(5, 5), 0u);
    const SurfaceRect badSource{0, 0, 9, 8};
    EXPECT_EQ(dst->Blt(nullptr, src.get(), &badSource, kBltWait, nullptr), DDERR_INVALIDRECT);
    std::shared_ptr<SoftClipper> clipper;
    ASSERT_EQ(c.dd->CreateClipper(clipper), DD_OK);
    dst->SetClipper(clipper);
    ASSERT_EQ(dst->Blt(&outside, src.get(), nullptr, kBltWait, nullptr), DD_OK);
    EXPECT_EQ(dst->PixelAt(7, 7), 0x00FF00u);
    EXPECT_EQ(dst->PixelAt(3, 3), 0u);
}

TEST(SoftDirectDrawTest, FullScreenFlipChainAndModes)
{
    Card c;
    SurfaceDesc primary;
    primary.flags = kDescCaps | kDescBackBufferCount;
    primary.backBufferCount = 1;
    primary.caps = kCapsPrimarySurface | kCapsFlip | kCapsComplex;
    std::shared_ptr<SoftSurface> front;
    EXPECT_EQ(c.dd->CreateSurface(primary, front), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(c.dd->SetDisplayMode(800, 600, 16), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(c.dd->SetCooperativeLevel(WindowId::None, kCoopExclusive | kCoopFullscreen), DDERR_NOHWND);
    ASSERT_EQ(c.dd->SetCooperativeLevel(WindowId{7}, kCoopExclusive | kCoopFullscreen), DD_OK);
    EXPECT_EQ(c.dd->SetDisplayMode(123, 45, 32), DDERR_UNSUPPORTEDMODE);
    ASSERT_EQ(c.dd->SetDisplayMode(800, 600, 16), DD_OK);
    ASSERT_EQ(c.dd->CreateSurface(primary, front), DD_OK);
    EXPECT_EQ(front->Width(), 800);
    EXPECT_EQ(front->Format(), SurfaceFormat::R5G6B5());
    std::shared_ptr<SoftSurface> back;
    ASSERT_EQ(front->GetAttachedSurface(kCapsBackBuffer, back), DD_OK);
    back->SetPixelAt(1, 1, 0x1234);
    ASSERT_EQ(front->Flip(nullptr, kFlipWait), DD_OK);
    EXPECT_EQ(front->PixelAt(1, 1), 0x1234u);
    EXPECT_EQ(back->PixelAt(1, 1), 0u);
    EXPECT_EQ(back->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(c.card.FramesShown(), 1u);
    c.dd->RestoreDisplayMode();
    EXPECT_EQ(c.card.CurrentMode(), (DisplayMode{1024, 768, 32}));
}

TEST(SoftDirectDrawTest, BeamFollowsTheClock)
{
    FakeClock clock;
    ScopedClock scoped(clock);
    SoftCardSettings settings;
    settings.desktopHeight = 100;
    settings.blankLines = 25; // 125 lines a frame at 125 Hz: 64 us a line
    settings.refreshRate = 125;
    Card c(settings);
    int line = -1;
    ASSERT_EQ(c.dd->GetScanLine(&line), DD_OK);
    EXPECT_EQ(line, 0);
    clock.AdvanceNanoseconds(64'000 * 50);
    ASSERT_EQ(c.dd->GetScanLine(&line), DD_OK);
    EXPECT_EQ(line, 50);
    clock.AdvanceNanoseconds(64'000 * 60);
    EXPECT_EQ(c.dd->GetScanLine(&line), DDERR_VERTICALBLANKINPROGRESS);
    clock.AdvanceNanoseconds(64'000 * 20);
    ASSERT_EQ(c.dd->WaitForVerticalBlank(kWaitVbBlockBegin), DD_OK);
    bool inBlank = false;
    ASSERT_EQ(c.dd->GetVerticalBlankStatus(&inBlank), DD_OK);
    EXPECT_TRUE(inBlank);
}

TEST(SoftDirectDrawTest, VideoMemoryBudgetIdentityAndOddFormats)
{
    SoftCardSettings settings;
    settings.videoMemoryBytes = 64 * 64 * 4;
    Card c(settings);
    auto first = c.Offscreen(64, 64, SurfaceFormat::X8R8G8B8(), kCapsVideoMemory);
    EXPECT_EQ(c.card.FreeVideoMemory(), 0u);
    SurfaceDesc desc;
    desc.flags = kDescCaps | kDescWidth | kDescHeight;
    desc.width = desc.height = 8;
    desc.caps = kCapsVideoMemory;
    std::shared_ptr<SoftSurface> more;
    EXPECT_EQ(c.dd->CreateSurface(desc, more), DDERR_OUTOFVIDEOMEMORY);
    first.reset();
    EXPECT_EQ(c.card.FreeVideoMemory(), 64u * 64u * 4u);
    DeviceIdentity identity;
    ASSERT_EQ(c.dd->GetDeviceIdentifier(&identity), DD_OK);
    EXPECT_EQ(identity.description, "Quoll software display");
    auto rgb24 = c.Offscreen(3, 1, SurfaceFormat::R8G8B8());
    EXPECT_EQ(rgb24->Pitch(), 12);
    auto indexed = c.Offscreen(2, 1, SurfaceFormat::Palette8());
    std::shared_ptr<SoftPalette> palette;
    const uint32_t entries[2] = {0xFF000000, 0xFF336699};
    c.dd->CreatePalette(entries, palette);
    ASSERT_EQ(indexed->SetPalette(palette), DD_OK);
    indexed->SetPixelAt(1, 0, 1);
    EXPECT_EQ(indexed->ArgbAt(1, 0), 0xFF336699u);
    EXPECT_EQ(rgb24->SetPalette(palette), DDERR_INVALIDPIXELFORMAT);
}

TEST(SoftDirectDrawTest, InjectedFaultsHitTheNthCallOnly)
{
    Card c;
    c.card.FailCall(SoftCall::Lock, 2, DDERR_SURFACELOST);
    auto s = c.Offscreen(2, 2, SurfaceFormat::X8R8G8B8());
    SurfaceDesc desc;
    ASSERT_EQ(s->Lock(nullptr, &desc, 0), DD_OK);
    s->Unlock(nullptr);
    EXPECT_EQ(s->Lock(nullptr, &desc, 0), DDERR_SURFACELOST);
    EXPECT_EQ(s->Lock(nullptr, &desc, 0), DD_OK);
    s->Unlock(nullptr);
    EXPECT_EQ(c.card.CallCount(SoftCall::Lock), 3);
    c.card.FailCall(SoftCall::CreateDirectDraw, 1, DDERR_GENERIC);
    std::shared_ptr<SoftDirectDraw> other;
    EXPECT_EQ(c.card.DirectDrawCreate(other), DDERR_GENERIC);
    EXPECT_EQ(other, nullptr);
}

TEST(SoftDirectDrawTest, TheWindowsAreaOfThePrimaryIsShown)
{
    auto system = WindowSystem::Create("headless");
    ASSERT_NE(system, nullptr);
    auto* headless = dynamic_cast<HeadlessWindowSystem*>(system.get());
    ASSERT_NE(headless, nullptr);
    static WindowSystem* windows = nullptr;
    windows = system.get();
    system->RegisterClass({"SoftDirectDrawTest", 0, [](WindowId w, uint32_t m, WParam wp, LParam lp) {
                               return windows->DefWindowProc(w, m, wp, lp);
                           }});
    WindowCreateInfo info;
    info.className = "SoftDirectDrawTest";
    info.style = WS_VISIBLE;
    info.x = 100;
    info.y = 50;
    info.width = 40;
    info.height = 30;
    const WindowId window = system->CreateWindowEx(info);
    ScreenPoint origin;
    ASSERT_TRUE(system->ClientToScreen(window, origin));

    Card c;
    c.card.AttachToDesktop(*system);
    ASSERT_EQ(c.dd->SetCooperativeLevel(window, kCoopNormal), DD_OK);
    SurfaceDesc desc;
    desc.flags = kDescCaps;
    desc.caps = kCapsPrimarySurface;
    std::shared_ptr<SoftSurface> primary;
    ASSERT_EQ(c.dd->CreateSurface(desc, primary), DD_OK);
    std::shared_ptr<SoftClipper> clipper;
    ASSERT_EQ(c.dd->CreateClipper(clipper), DD_OK);
    clipper->SetHWnd(window);
    primary->SetClipper(clipper);
    auto frame = c.Offscreen(40, 30, SurfaceFormat::X8R8G8B8());
    BltFx fx;
    fx.fillColor = 0x204060;
    frame->Blt(nullptr, nullptr, nullptr, kBltColorFill, &fx);
    // The whole frame, then a small part of a new one: the shown frame has both.
    const SurfaceRect dest{origin.x, origin.y, origin.x + 40, origin.y + 30};
    ASSERT_EQ(primary->Blt(&dest, frame.get(), nullptr, kBltWait, nullptr), DD_OK);
    fx.fillColor = 0xFF0000;
    frame->Blt(nullptr, nullptr, nullptr, kBltColorFill, &fx);
    const SurfaceRect part{origin.x + 5, origin.y + 5, origin.x + 10, origin.y + 10};
    const SurfaceRect partSource{5, 5, 10, 10};
    ASSERT_EQ(primary->Blt(&part, frame.get(), &partSource, kBltWait, nullptr), DD_OK);
    int width = 0, height = 0;
    const std::vector<uint32_t>& shown = headless->LastFrame(width, height);
    ASSERT_EQ(width, 40);
    ASSERT_EQ(height, 30);
    EXPECT_EQ(shown[0], 0xFF204060u);
    EXPECT_EQ(shown[6 * 40 + 6], 0xFFFF0000u);
    EXPECT_EQ(shown[12 * 40 + 12], 0xFF204060u);
    // Outside the window the clipper keeps the primary unchanged.
    const SurfaceRect wide{origin.x - 10, origin.y, origin.x + 30, origin.y + 30};
    ASSERT_EQ(primary->Blt(&wide, frame.get(), nullptr, kBltWait, nullptr), DD_OK);
    EXPECT_EQ(primary->PixelAt(origin.x - 5, origin.y + 1), 0u);
    EXPECT_EQ(primary->PixelAt(origin.x + 1, origin.y + 1), 0xFF0000u);
    // Another thread's change waits for the showing thread.
    fx.fillColor = 0x00FF00;
    frame->Blt(nullptr, nullptr, nullptr, kBltColorFill, &fx);
    const uint64_t framesBefore = c.card.FramesShown();
    std::thread([&] { primary->Blt(&dest, frame.get(), nullptr, kBltWait, nullptr); }).join();
    EXPECT_EQ(c.card.FramesShown(), framesBefore);
    EXPECT_EQ(headless->LastFrame(width, height)[0], 0xFFFF0000u);
    c.card.ShowPending();
    EXPECT_EQ(c.card.FramesShown(), framesBefore + 1);
    EXPECT_EQ(headless->LastFrame(width, height)[0], 0xFF00FF00u);
    system->DestroyWindow(window);
}
