#pragma once
// Geometry shared by the memory-image and surface blits: the memory image a draw reads,
// clipping a blit to both images, the quad of a matrix blit and the moved triangles of a
// textured draw.
#include "framework/display/Image.h"
#include "framework/display/Matrix3.h"
#include "framework/display/Rect.h"
#include "framework/rasteriser/TriangleRasterizer.h"

namespace Quoll
{
class MemoryImage;

// The memory image behind a draw's source (null when it is none); marks the source drawn.
MemoryImage* AsMemorySource(Image* source);

// Clips a blit of src at (x, y) to both images. With mirror, destination column x + w - 1 - i
// takes source column src.x + i. False when nothing is left.
bool ClipBlit(int& x, int& y, Rect& src, int srcW, int srcH, int dstW, int dstH, bool mirror);

// The corners of srcRect centred on the origin, transformed by the matrix and placed at
// (x, y), in strip order: top-left, top-right, bottom-left, bottom-right.
void MatrixQuadVertices(const MemoryImage& source, const Rect& srcRect, const Matrix3& matrix, float x, float y,
                        TriVertex (&vertices)[4]);

// A textured triangle moved by (tx, ty), its colours given the one meaning every path draws:
// the texture times the vertex colour (0 stands for white) times the call's colour.
struct ShadedTriangle
{
    TriVertex vertices[3];
    // The colour the rasteriser still tints with: the call's colour when no vertex shades, else
    // white (the call's colour is then multiplied into the vertex colours).
    Color tint;
    // Some vertex colour is not white, which asks for vertex shading.
    bool vertexColor;
};
ShadedTriangle OffsetTriangle(const TriangleVertices& triangle, float tx, float ty, const Color& color);

// Vertex colour v (0 read as white) times the call's colour c, per channel, rounded; both as
// 0xAARRGGBB.
uint32_t ModulateVertexColor(uint32_t v, uint32_t c);

// The rasteriser's mode for a draw mode.
TriangleMode ToTriangleMode(DrawMode mode);
} // namespace Quoll
