#pragma once
// Geometry shared by the memory-image and surface blits: the memory image a draw reads,
// clipping a blit to both images, the quad of a matrix blit and the moved triangles of a
// textured draw.
#include "framework/display/Image.h"
#include "framework/display/Matrix3.h"
#include "framework/display/Rect.h"

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

// A textured triangle moved by (tx, ty); true when some vertex colour is not white, which
// asks for vertex shading.
bool OffsetTriangle(const TriangleVertices& triangle, float tx, float ty, TriVertex (&vertices)[3]);
} // namespace Quoll
