#include "framework/display/PolygonClipper.h"

#include <algorithm>
#include <cmath>

namespace Quoll
{
void VertexList::Append(const D3DVertex& vertex)
{
    if (mCount == mCapacity)
    {
        const int capacity = mCapacity * 2;
        auto storage = std::make_unique<D3DVertex[]>(static_cast<size_t>(capacity));
        std::copy(Data(), Data() + mCount, storage.get());
        mHeap = std::move(storage);
        mCapacity = capacity;
    }
    Data()[mCount++] = vertex;
}

namespace
{
float ComponentOf(const D3DVertex& v, VertexComponent component)
{
    switch (component)
    {
    case VertexComponent::X:
        return v.x;
    case VertexComponent::Y:
        return v.y;
    case VertexComponent::Z:
        return v.z;
    case VertexComponent::U:
        return v.u;
    case VertexComponent::V:
        return v.v;
    }
    return 0.0f;
}

uint32_t InterpolateColor(uint32_t a, uint32_t b, float t)
{
    if (a == b)
        return a;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        const auto c = static_cast<int>(std::lround(static_cast<float>(ca) + t * static_cast<float>(cb - ca)));
        out |= static_cast<uint32_t>(std::clamp(c, 0, 255)) << shift;
    }
    return out;
}

// Visits the edges (last, first), (0, 1), ..., (n - 2, n - 1); keeps the inside part.
template <typename Inside>
void ClipPolygon(VertexComponent component, float bound, const VertexList& in, VertexList& out, Inside inside)
{
    out.Clear();
    const int n = in.Count();
    if (n < 2)
        return;
    for (int i = 0; i < n; ++i)
    {
        const D3DVertex& a = in[i == 0 ? n - 1 : i - 1];
        const D3DVertex& b = in[i];
        const float ca = ComponentOf(a, component), cb = ComponentOf(b, component);
        const bool aInside = inside(ca), bInside = inside(cb);
        if (aInside != bInside)
            out.Append(InterpolateVertex(a, b, (bound - ca) / (cb - ca)));
        if (bInside)
            out.Append(b);
    }
}
} // namespace

D3DVertex InterpolateVertex(const D3DVertex& a, const D3DVertex& b, float t)
{
    D3DVertex r = a;
    r.x = a.x + t * (b.x - a.x);
    r.y = a.y + t * (b.y - a.y);
    r.u = a.u + t * (b.u - a.u);
    r.v = a.v + t * (b.v - a.v);
    r.diffuse = InterpolateColor(a.diffuse, b.diffuse, t);
    return r;
}

void ClipPolygonToPlaneLower(VertexComponent component, float bound, const VertexList& in, VertexList& out)
{
    ClipPolygon(component, bound, in, out, [bound](float c) { return c >= bound; });
}

void ClipPolygonToPlaneUpper(VertexComponent component, float bound, const VertexList& in, VertexList& out)
{
    ClipPolygon(component, bound, in, out, [bound](float c) { return c < bound; });
}

namespace
{
void ClipFourPlanes(VertexList& list, VertexList& scratch, VertexComponent a, VertexComponent b, float lowA,
                    float lowB, float highA, float highB)
{
    // Each stage reads one list and fills the other; after four the result is back in list.
    ClipPolygonToPlaneLower(a, lowA, list, scratch);
    ClipPolygonToPlaneLower(b, lowB, scratch, list);
    ClipPolygonToPlaneUpper(a, highA, list, scratch);
    ClipPolygonToPlaneUpper(b, highB, scratch, list);
}
} // namespace

void ClipPolygonToRect(VertexList& list, VertexList& scratch, float left, float top, float right, float bottom)
{
    ClipFourPlanes(list, scratch, VertexComponent::X, VertexComponent::Y, left, top, right, bottom);
}

void ClipToUnitSquare(VertexList& list, VertexList& scratch)
{
    ClipFourPlanes(list, scratch, VertexComponent::U, VertexComponent::V, 0.0f, 0.0f, 1.0f, 1.0f);
}
} // namespace Quoll
