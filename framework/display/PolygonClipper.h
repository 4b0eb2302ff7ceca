#pragma once
// Clipping of convex polygons of screen-space vertices against one axis-aligned plane at a
// time, on one chosen vertex component (Sutherland-Hodgman). The 3D renderer cuts filled
// polygons and transformed image pieces to a clip rectangle, and textured triangles to the
// texture square of one piece, with four such planes in a row.
#include "framework/platform/video/SoftDirect3D.h"

#include <cstdint>
#include <memory>

namespace Quoll
{
using D3DVertex = Platform::D3DVertex;

// Which component a plane cuts; any other value reads as 0.
enum class VertexComponent : int
{
    X = 0,
    Y = 1,
    Z = 2,
    U = 3,
    V = 4,
};

// A growable vertex array whose first 100 vertices live inside the object, so that clipping a
// triangle or a quad allocates nothing.
class VertexList
{
public:
    static constexpr int kInlineCapacity = 100;

    VertexList() = default;
    VertexList(const VertexList&) = delete;
    VertexList& operator=(const VertexList&) = delete;

    void Append(const D3DVertex& vertex);
    void Clear() { mCount = 0; }
    [[nodiscard]] int Count() const { return mCount; }
    [[nodiscard]] int Capacity() const { return mCapacity; }
    [[nodiscard]] bool OnHeap() const { return mHeap != nullptr; }
    [[nodiscard]] D3DVertex* Data() { return mHeap ? mHeap.get() : mInline; }
    [[nodiscard]] const D3DVertex* Data() const { return mHeap ? mHeap.get() : mInline; }
    D3DVertex& operator[](int i) { return Data()[i]; }
    const D3DVertex& operator[](int i) const { return Data()[i]; }

private:
    D3DVertex mInline[kInlineCapacity];
    std::unique_ptr<D3DVertex[]> mHeap;
    int mCount = 0;
    int mCapacity = kInlineCapacity;
};

// The vertex a fraction t of the way from a to b (position, texture and colour; z, rhw and the
// specular colour are a's).
D3DVertex InterpolateVertex(const D3DVertex& a, const D3DVertex& b, float t);

// Keeps the part where the component is at least the bound (output emptied first).
void ClipPolygonToPlaneLower(VertexComponent component, float bound, const VertexList& in, VertexList& out);
// Keeps the part where the component is below the bound (output emptied first).
void ClipPolygonToPlaneUpper(VertexComponent component, float bound, const VertexList& in, VertexList& out);

// Cuts the polygon in list to left <= x < right, top <= y < bottom; scratch is a second list.
void ClipPolygonToRect(VertexList& list, VertexList& scratch, float left, float top, float right, float bottom);
// Cuts the polygon in list to 0 <= u < 1, 0 <= v < 1.
void ClipToUnitSquare(VertexList& list, VertexList& scratch);
} // namespace Quoll
