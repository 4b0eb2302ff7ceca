#include "game/scene/ParticleSpans.h"

#include "framework/rasteriser/TriangleRasterizer.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "framework/rasteriser/TriangleVariants.h"

namespace
{
constexpr int kBlendTintTextured = Quoll::kSpanTextured | Quoll::kSpanBlend | Quoll::kSpanTint;
}

void InstallParticleSpanRoutines()
{
    using namespace Quoll;
    SetTriangleSpanOverride(kTriangleFormat8888, &DrawTriangle<TexturedKernel<PixelFormat8888, kBlendTintTextured>>);
    SetTriangleSpanOverride(kTriangleFormat888, &DrawTriangle<TexturedKernel<PixelFormat888, kBlendTintTextured>>);
    SetTriangleSpanOverride(kTriangleFormat565, &DrawTriangle<TexturedKernel<PixelFormat565, kBlendTintTextured>>);
    SetTriangleSpanOverride(kTriangleFormat555, &DrawTriangle<TexturedKernel<PixelFormat555, kBlendTintTextured>>);
}
