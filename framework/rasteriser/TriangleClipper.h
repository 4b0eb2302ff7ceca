#pragma once
// Clips one triangle of float vertices to a rectangle (Sutherland-Hodgman against the four
// half-planes x >= left, x <= right, y >= top, y <= bottom). New vertices come from a static
// scratch pool that each call resets: not re-entrant, and the output is valid until the next call.
#include "framework/rasteriser/TriangleRasterizer.h"

#include <cstdint>

namespace Quoll
{
// Capacity of every vertex list and of the scratch pool; a triangle needs at most 7 and 8.
constexpr int kClipListCapacity = 64;

// Writes the clipped convex polygon to out (null-terminated) and returns its vertex count:
// 0 when nothing is left or a new vertex's position is not finite, otherwise at least 3. A vertex
// exactly on an edge is inside.
int32_t ClipPolygonToRect(const TriVertex* v0, const TriVertex* v1, const TriVertex* v2,
                          const TriVertex** out, float left, float right, float top, float bottom);
} // namespace Quoll
