#pragma once
// The 3D device's row kernels: shading a run of a triangle row (texel sample times diffuse) and
// blending a row of 0xAARRGGBB colours into a 32-bit target row. One plain set, one in SSE2
// lanes (4 pixels at once) and, where the processor has it, one in AVX2 lanes (8 at once); every
// set gives the same pixels, since all of them work in the same fixed-point form:
//
// - sample positions are texel coordinates times 65536, the run's pixel k at base + k * step;
//   a point sample takes texel (p + 128) >> 16, a bilinear one starts at q = (p - 32640) >> 8,
//   texel q >> 8 with weight q & 255 (positions quantised to 1/256 texel), each tap clamped;
// - bilinear taps are weighted along x, rounded, then along y, rounded: (a (256 - f) + b f +
//   128) >> 8 each time, exact in 16-bit lanes;
// - Gouraud channels are values times 65536, rounded with (c + 32768) >> 16 and clamped;
// - texel times diffuse, the normal and the additive pair round as (n + 127) / 255.
//
// The set in use is chosen once: the best the processor runs, or QUOLL_D3D_SPANS (plain,
// scalar, sse2 or avx2; plain is the device's per-pixel walk, scalar the plain kernels).
#include <cstdint>
#include <string_view>

namespace Quoll::Platform
{
// One run of pixels to shade; pixel k of the run (k counted from the run's base) uses the
// positions and channels below advanced k steps.
struct SpanShade
{
    const uint32_t* texels = nullptr; // 0xAARRGGBB rows of width texels; null: diffuse alone
    int width = 0, height = 0;
    bool linear = false;        // bilinear sampling (else point)
    bool modulateAlpha = false; // alpha = texel alpha x diffuse alpha (else the texel's)
    bool gouraud = false;       // diffuse from the channel planes (else the flat diffuse)
    uint32_t diffuse = 0xFFFFFFFF;
    int64_t u = 0, du = 0, v = 0, dv = 0; // texel positions x 65536 and their steps
    int64_t c[4] = {}, dc[4] = {};        // blue, green, red, alpha x 65536 and their steps
};

using ShadeSpanFn = void (*)(const SpanShade& shade, int64_t first, int count, uint32_t* out);
// Blends count colours into a 32-bit target row (the row's alpha byte is written 0).
using BlendSpanFn = void (*)(uint32_t* dest, const uint32_t* src, int count);
// count texels times one diffuse colour.
using ModulateSpanFn = void (*)(const uint32_t* texels, uint32_t diffuse, bool modulateAlpha, int count,
                                uint32_t* out);

// The blend pairs a row kernel writes with: none (store), source-alpha/inverse-source-alpha and
// source-alpha/one.
enum class SpanBlend
{
    Replace,
    Normal,
    Additive
};
// Shades a run and blends it into a 32-bit target row in one pass: the same pixels as shading the
// run, then blending the colours.
using ShadeBlendSpanFn = void (*)(const SpanShade& shade, int64_t first, int count, uint32_t* dest, SpanBlend blend);

struct SpanKernels
{
    const char* name;
    int width; // pixels per step
    ShadeSpanFn shade;
    BlendSpanFn replace, normal, additive; // store; source-alpha/inverse; source-alpha/one
    ModulateSpanFn modulate;
    ShadeBlendSpanFn shadeBlend;
};

// The plain reference of a single pixel of a run.
uint32_t ShadeSpanPixel(const SpanShade& shade, int64_t k);
// Texel times diffuse (white leaves the texel).
uint32_t ModulateArgb(uint32_t texel, uint32_t diffuse, bool modulateAlpha);
// The pair source-alpha/inverse-source-alpha and source-alpha/one on one 0x00RRGGBB pixel.
uint32_t BlendNormalArgb(uint32_t dest, uint32_t argb);
uint32_t BlendAdditiveArgb(uint32_t dest, uint32_t argb);

const SpanKernels& PlainSpanKernels();
// The sets by name ("scalar", "sse2", "avx2"); null when this build or processor lacks it.
const SpanKernels* SpanKernelsNamed(std::string_view name);
// The set chosen at start-up; plainWalk is true when QUOLL_D3D_SPANS asks for the per-pixel walk.
const SpanKernels& DefaultSpanKernels();
bool DefaultPlainWalk();

// Internal: the AVX2 set (built in its own file with AVX2 code generation).
const SpanKernels* Avx2SpanKernels();
} // namespace Quoll::Platform
