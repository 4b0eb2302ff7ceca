// The golden scene drawn through the 3D renderer onto the 3D screen, compared with its golden
// and with the same scene drawn in software: outside the draws that the two paths do by their
// own rules, at least 99% of the pixels agree within 3 per channel. Those draws are lines (the
// device's line rule; anti-aliased lines are plain lines in 3D), the cleared rectangle (memory
// only), and filtered, stretched, rotated and matrix images (the device samples at pixel
// centres, the software transforms at pixel corners).
// Rerun: test_display --gtest_filter='Golden3DTest.*'; QUOLL_UPDATE_GOLDEN=1 rewrites.
#include "Display3DFixture.h"
#include "tests/GoldenImage.h"
#include "TestScene.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
std::vector<uint32_t> DrawThrough3D(const SurfaceFormat& format)
{
    InitTriangleSpanTable();
    Display3D d({}, {}, format);
    TestDisplay& t = d.t;
    MemoryImage canvas;
    MakeCanvas(canvas, 192, 144);
    t.Screen().Blt(&canvas, 0, 0, Rect(0, 0, 192, 144), Color::White, DrawMode::Normal);
    DrawSoftwareScene(t.Screen());
    EXPECT_TRUE(t.display->Redraw(nullptr));
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 144; ++y)
        for (int x = 0; x < 192; ++x)
            pixels.push_back(t.display->mDrawSurface->ArgbAt(x, y));
    return pixels;
}

// Where the scene's draws follow each path's own rules.
const Rect kOwnRules[] = {{56, 4, 35, 17},   {94, 4, 37, 19},  {134, 4, 6, 6},   {106, 26, 20, 20},
                          {116, 16, 34, 40}, {138, 16, 34, 40}, {4, 50, 32, 24},  {40, 50, 32, 24},
                          {76, 50, 5, 20},   {86, 50, 24, 24},  {116, 50, 24, 24}, {4, 80, 60, 28},
                          {64, 74, 90, 36}};

bool InOwnRules(int x, int y)
{
    for (const Rect& r : kOwnRules)
        if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height)
            return true;
    return false;
}

// The share of pixels (all, or those outside the own-rule areas) whose channels all lie within
// the tolerance.
double AgreeingShare(const std::vector<uint32_t>& a, const uint32_t* b, int tolerance, bool masked)
{
    size_t agree = 0, counted = 0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (masked && InOwnRules(static_cast<int>(i % 192), static_cast<int>(i / 192)))
            continue;
        ++counted;
        bool close = true;
        for (int shift = 0; shift < 24; shift += 8)
            close = close && std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)) <= tolerance;
        agree += close ? 1 : 0;
    }
    return static_cast<double>(agree) / static_cast<double>(counted);
}
} // namespace

TEST(Golden3DTest, SceneThrough3DMatchesItsGolden)
{
    const auto pixels = DrawThrough3D(SurfaceFormat::X8R8G8B8());
    EXPECT_TRUE(MatchesGolden("scene_3d32", pixels.data(), 192, 144));
    const auto pixels565 = DrawThrough3D(SurfaceFormat::R5G6B5());
    EXPECT_TRUE(MatchesGolden("scene_3d565", pixels565.data(), 192, 144));
}

TEST(Golden3DTest, SceneThrough3DAgreesWithTheSoftwareScene)
{
    MemoryImage canvas;
    MakeCanvas(canvas, 192, 144);
    DrawSoftwareScene(canvas);
    const auto pixels = DrawThrough3D(SurfaceFormat::X8R8G8B8());
    EXPECT_GE(AgreeingShare(pixels, canvas.GetBits(), 3, true), 0.99) << "outside the own-rule draws";
    EXPECT_GE(AgreeingShare(pixels, canvas.GetBits(), 3, false), 0.93) << "over the whole scene";
}
