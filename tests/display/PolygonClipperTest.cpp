// The polygon clipper: order of the vertices kept, cut points interpolated in position, texture
// and colour, empty results, and the vertex list's inline storage.
// Rerun: test_display --gtest_filter='PolygonClipperTest.*'
#include "framework/display/PolygonClipper.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace Quoll;

static_assert(!std::is_copy_constructible_v<VertexList>, "a vertex list is never copied by accident");

namespace
{
D3DVertex V(float x, float y, float u = 0, float v = 0, uint32_t color = 0xFFFFFFFF)
{
    D3DVertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.u = u;
    vertex.v = v;
    vertex.diffuse = color;
    return vertex;
}

void Fill(VertexList& list, std::initializer_list<D3DVertex> vertices)
{
    list.Clear();
    for (const D3DVertex& v : vertices)
        list.Append(v);
}
} // namespace

TEST(PolygonClipperTest, TriangleInsideComesOutUnchangedInOrder)
{
    VertexList list, scratch;
    Fill(list, {V(2, 2), V(8, 3), V(5, 9)});
    ClipPolygonToRect(list, scratch, 0, 0, 10, 10);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0].x, 2);
    EXPECT_EQ(list[1].x, 8);
    EXPECT_EQ(list[2].x, 5);
}

TEST(PolygonClipperTest, PolygonsOutsideOrTooSmallComeOutEmpty)
{
    VertexList list, out;
    Fill(list, {V(12, 2), V(18, 3), V(15, 9)});
    ClipPolygonToPlaneUpper(VertexComponent::X, 10, list, out);
    EXPECT_EQ(out.Count(), 0);
    Fill(list, {V(1, 1)});
    ClipPolygonToPlaneLower(VertexComponent::X, 0, list, out);
    EXPECT_EQ(out.Count(), 0);
    // A vertex exactly on the upper bound is outside and returns as a cut at t = 0 or 1.
    Fill(list, {V(0, 0), V(10, 0), V(10, 10)});
    ClipPolygonToPlaneUpper(VertexComponent::X, 10, list, out);
    ASSERT_EQ(out.Count(), 3);
    EXPECT_EQ(out[0].x, 10); // the cut on the edge from the last vertex to the first
    EXPECT_EQ(out[0].y, 10);
    EXPECT_EQ(out[1].x, 0);
    EXPECT_EQ(out[2].x, 10);
}

TEST(PolygonClipperTest, CutPointsTakeTextureAndColourAtTheirFraction)
{
    VertexList list, out;
    Fill(list, {V(0, 0, 0, 0, 0xFF000000), V(20, 0, 1, 0, 0x00000000), V(20, 10, 1, 1, 0x00000000),
                V(0, 10, 0, 1, 0xFF000000)});
    ClipPolygonToPlaneLower(VertexComponent::X, 10, list, out);
    ASSERT_EQ(out.Count(), 4);
    int cuts = 0;
    for (int i = 0; i < out.Count(); ++i)
        if (out[i].x == 10)
        {
            ++cuts;
            EXPECT_FLOAT_EQ(out[i].u, 0.5f);
            EXPECT_EQ(out[i].diffuse >> 24, 128u); // 255 + 0.5 * -255 rounds to 128
        }
    EXPECT_EQ(cuts, 2);
    // Alpha 255 to 0 at t = 0.25 gives 191; equal colours are copied.
    const D3DVertex cut = InterpolateVertex(V(0, 0, 0, 0, 0xFF000000), V(4, 0, 0, 0, 0x00000000), 0.25f);
    EXPECT_EQ(cut.diffuse, 0xBF000000u);
    EXPECT_FLOAT_EQ(cut.x, 1.0f);
    const D3DVertex same = InterpolateVertex(V(0, 0, 0, 0, 0x12345678), V(4, 0, 0, 0, 0x12345678), 0.3f);
    EXPECT_EQ(same.diffuse, 0x12345678u);
}

TEST(PolygonClipperTest, UnitSquareCutsTextureSpace)
{
    VertexList list, scratch;
    Fill(list, {V(0, 0, -0.5f, 0.5f), V(10, 0, 1.5f, 0.5f), V(10, 10, 1.5f, 1.5f)});
    ClipToUnitSquare(list, scratch);
    ASSERT_GE(list.Count(), 3);
    for (int i = 0; i < list.Count(); ++i)
    {
        EXPECT_GE(list[i].u, 0.0f);
        EXPECT_LE(list[i].u, 1.0f);
        EXPECT_GE(list[i].v, 0.0f);
        EXPECT_LE(list[i].v, 1.0f);
    }
}

TEST(PolygonClipperTest, VertexListGrowsOntoTheHeapOnlyPastItsInlineCapacity)
{
    VertexList list;
    for (int i = 0; i < VertexList::kInlineCapacity; ++i)
        list.Append(V(static_cast<float>(i), 0));
    EXPECT_FALSE(list.OnHeap());
    list.Append(V(100, 0));
    EXPECT_TRUE(list.OnHeap());
    EXPECT_EQ(list.Capacity(), 2 * VertexList::kInlineCapacity);
    ASSERT_EQ(list.Count(), 101);
    EXPECT_EQ(list[57].x, 57);
    EXPECT_EQ(list[100].x, 100);
}
