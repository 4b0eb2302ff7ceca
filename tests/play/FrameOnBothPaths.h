#pragma once
// A test frame drawn the two ways the play screen's goldens compare: on a memory image over black
// (the 2D path), and on a test display's screen surface through its 3D or 2D path. Frame is
// default-constructible and draws with Draw(Quoll::Graphics&); on a display it is made after the
// display's image registry and lives until the display has drawn. Pixels come back opaque ARGB.
#include "../display/Display3DFixture.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace PlayTesting
{
template <typename Frame>
std::vector<uint32_t> DrawOnMemoryImage(int width, int height)
{
    Quoll::InitTriangleSpanTable();
    Frame frame;
    Quoll::MemoryImage screen;
    std::vector<uint32_t> black(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    screen.SetBits(black.data(), width, height);
    {
        Quoll::Graphics g(&screen);
        frame.Draw(g);
    }
    const uint32_t* bits = screen.GetBits();
    std::vector<uint32_t> pixels(bits, bits + black.size());
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

template <typename Frame>
std::vector<uint32_t> DrawOnDisplay(int width, int height, bool is3D)
{
    using namespace Quoll::Testing;
    Quoll::InitTriangleSpanTable();
    Registry3D registry;
    TestDisplay t(Quoll::Platform::SurfaceFormat::X8R8G8B8(), width, height);
    registry.mDisplay = t.display.get();
    t.display->Set3D(is3D);
    EXPECT_EQ(t.Init(), 0);
    std::vector<uint32_t> pixels;
    {
        Frame frame;
        {
            Quoll::Graphics g(&t.Screen());
            frame.Draw(g);
        }
        EXPECT_TRUE(t.display->Redraw(nullptr));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(t.display->mDrawSurface->ArgbAt(x, y) | 0xFF000000u);
    }
    t.display.reset();
    return pixels;
}
} // namespace PlayTesting
