#include "framework/rasteriser/TriangleClipper.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace Quoll
{
namespace
{
TriVertex gScratchPool[kClipListCapacity];
int gScratchCount = 0;
// Set when an intersection came out non-finite (vertices far enough apart overflow the float
// range); the polygon is then dropped.
bool gNonFinite = false;

enum class ClipEdge
{
    Left,
    Right,
    Top,
    Bottom
};

template <ClipEdge kEdge> bool IsOutside(const TriVertex& v, float edge)
{
    switch (kEdge)
    {
    case ClipEdge::Left:
        return v.x < edge;
    case ClipEdge::Right:
        return v.x > edge;
    case ClipEdge::Top:
        return v.y < edge;
    default:
        return v.y > edge;
    }
}

// The channel at t, truncated; t is finite here.
uint32_t LerpChannel(uint32_t a, uint32_t b, int shift, float t)
{
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    const float value = static_cast<float>(ca) + static_cast<float>(cb - ca) * t;
    return static_cast<uint32_t>(std::clamp(value, 0.0f, 255.0f)) << shift;
}

// Texture positions are checked by the caller, which alone knows whether they are read.
bool IsFinitePosition(const TriVertex& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// The point where the edge crosses the segment, always interpolated from the outside vertex
// toward the inside one, so that an edge shared by two triangles is cut at the same point.
template <ClipEdge kEdge> const TriVertex* Intersect(const TriVertex& out, const TriVertex& in, float edge)
{
    assert(gScratchCount < kClipListCapacity && "clip scratch pool exhausted");
    const bool vertical = kEdge == ClipEdge::Left || kEdge == ClipEdge::Right;
    const float t = vertical ? (edge - out.x) / (in.x - out.x) : (edge - out.y) / (in.y - out.y);
    TriVertex& v = gScratchPool[gScratchCount++];
    v.x = out.x + (in.x - out.x) * t;
    v.y = out.y + (in.y - out.y) * t;
    v.u = out.u + (in.u - out.u) * t;
    v.v = out.v + (in.v - out.v) * t;
    if (!std::isfinite(t) || !IsFinitePosition(v))
    {
        // Nothing of it is converted; the polygon is dropped.
        gNonFinite = true;
        v.color = 0;
        return &v;
    }
    v.color = LerpChannel(out.color, in.color, 24, t) | LerpChannel(out.color, in.color, 16, t) |
              LerpChannel(out.color, in.color, 8, t) | LerpChannel(out.color, in.color, 0, t);
    return &v;
}

template <ClipEdge kEdge> int ClipAgainst(const TriVertex* const* in, const TriVertex** out, float edge)
{
    int count = 0;
    for (int i = 0; in[i]; ++i)
    {
        const TriVertex* p = in[i];
        const TriVertex* q = in[i + 1] ? in[i + 1] : in[0];
        const bool pOut = IsOutside<kEdge>(*p, edge);
        const bool qOut = IsOutside<kEdge>(*q, edge);
        if (!pOut)
            out[count++] = p;
        if (pOut != qOut)
            out[count++] = pOut ? Intersect<kEdge>(*p, *q, edge) : Intersect<kEdge>(*q, *p, edge);
    }
    out[count] = nullptr;
    return count;
}
} // namespace

int32_t ClipPolygonToRect(const TriVertex* v0, const TriVertex* v1, const TriVertex* v2,
                          const TriVertex** out, float left, float right, float top, float bottom)
{
    // A fresh scratch pool; then the left, right, top and bottom edges, alternating between two lists.
    gScratchCount = 0;
    gNonFinite = false;
    const TriVertex* const input[4] = {v0, v1, v2, nullptr};
    const TriVertex* own[kClipListCapacity];
    if (ClipAgainst<ClipEdge::Left>(input, own, left) < 3)
        return 0;
    if (ClipAgainst<ClipEdge::Right>(own, out, right) < 3)
        return 0;
    if (ClipAgainst<ClipEdge::Top>(out, own, top) < 3)
        return 0;
    const int count = ClipAgainst<ClipEdge::Bottom>(own, out, bottom);
    return count < 3 || gNonFinite ? 0 : count;
}
} // namespace Quoll
