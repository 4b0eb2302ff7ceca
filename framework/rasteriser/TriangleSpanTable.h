#pragma once
// The 128-entry table of whole-triangle drawing variants, indexed by format group * 32 plus the
// flag bits: 16 textured, 8 blend, 4 vertex colours, 2 tint, 1 filter. Groups: 0 for 0x8888 and
// every unknown code, 1 for 0x888, 2 for 0x565, 3 for 0x555. Beside it, the 32 entries of the
// additive family of textured triangles, indexed by format group * 8 plus the flag bits 4 vertex
// colours, 2 tint, 1 filter. Every entry is null (draws nothing) until InitTriangleSpanTable
// fills the tables. Written without a lock: fill them at start-up.
#include "framework/rasteriser/TriangleRecords.h"

#include <cstdint>

namespace Quoll
{
constexpr int kTriangleSpanTableSize = 128;
constexpr int kTriangleAddGroupSize = 8;
constexpr int kTriangleAddTableSize = 4 * kTriangleAddGroupSize;

enum TriangleSpanFlag : int
{
    kSpanFilter = 1,
    kSpanTint = 2,
    kSpanVertexColor = 4,
    kSpanBlend = 8,
    kSpanTextured = 16,
};

// The table group of a destination format code.
int TriangleFormatGroup(int32_t format);

void InitTriangleSpanTable();
// Stores func in entry 26 (textured, blended, tinted) of the format's group.
void SetTriangleSpanOverride(int32_t format, TriangleSpanFunc func);
// The entry at index (0..127), or null before initialisation.
TriangleSpanFunc GetTriangleSpanEntry(int index);

// Draws one triangle with the entry that the format and the flags select; a null entry draws
// nothing.
void DispatchTriangleSpan(bool textured, bool blend, int32_t format, bool vertexColor, bool tint,
                          const FixedVertex* vertices, uint8_t* dstPixels, int32_t pitch,
                          const TriangleTexture* texture, const TriangleColor* color, bool filter);

// The additive entry at index (0..31), or null before initialisation.
TriangleSpanFunc GetTriangleAddEntry(int index);

// Draws one textured triangle additively with the entry that the format and the flags select.
void DispatchTriangleAdd(int32_t format, bool vertexColor, bool tint, const FixedVertex* vertices,
                         uint8_t* dstPixels, int32_t pitch, const TriangleTexture* texture,
                         const TriangleColor* color, bool filter);
} // namespace Quoll
