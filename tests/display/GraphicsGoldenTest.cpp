// A test scene that makes every drawing call of the context and the memory image at least once,
// compared with golden PNG images: the software paths in scene.png, the matrix and
// textured-triangle blits (drawn by the triangle rasteriser) in scene_triangles.png.
// Rerun: test_display --gtest_filter='GraphicsGoldenTest.*'; QUOLL_UPDATE_GOLDEN=1 rewrites.
#include "tests/GoldenImage.h"
#include "TestScene.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace Quoll::Testing;

TEST(GraphicsGoldenTest, SoftwareScene)
{
    MemoryImage canvas;
    MakeCanvas(canvas, 192, 144);
    DrawSoftwareScene(canvas);
    EXPECT_TRUE(MatchesGolden("scene", canvas.GetBits(), canvas.mWidth, canvas.mHeight));
}

TEST(GraphicsGoldenTest, TriangleScene)
{
    InitTriangleSpanTable();
    MemoryImage canvas, sprite;
    MakeCanvas(canvas, 96, 64);
    MakeSprite(sprite);
    Graphics g(&canvas);
    Matrix3 m;
    m.Scale(1.5f, 1.0f);
    m.Rotate(0.4f);
    g.DrawImageMatrix(&sprite, m, 20, 20);
    g.SetTriangleFiltering(true);
    g.DrawImageMatrix(&sprite, m, Rect(0, 0, 8, 8), 50, 20);
    g.SetTriangleFiltering(false);
    const TriangleVertices triangles[2] = {
        {{0, 0, 0, 0, 0xFFFFFFFF}, {30, 0, 1, 0, 0xFFFFFFFF}, {0, 30, 0, 1, 0xFFFFFFFF}},
        {{30, 0, 1, 0, 0xFFFF0000}, {30, 30, 1, 1, 0xFF00FF00}, {0, 30, 0, 1, 0x800000FF}},
    };
    g.Translate(60, 30);
    g.DrawTrianglesTex(&sprite, triangles, 2);
    EXPECT_TRUE(sprite.mDrawn);
    EXPECT_TRUE(MatchesGolden("scene_triangles", canvas.GetBits(), canvas.mWidth, canvas.mHeight));
}
