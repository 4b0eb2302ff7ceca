#include "framework/platform/video/SpanKernels.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <string>
#if defined(__SSE2__) && !defined(QUOLL_SCALAR_FALLBACK)
#include <emmintrin.h>
#define QUOLL_SPANS_SSE2 1
#endif

namespace Quoll::Platform
{
namespace
{
uint32_t Channel(uint32_t argb, int shift)
{
    return (argb >> shift) & 0xFF;
}

// (a * b + 127) / 255 for 8-bit channels.
uint32_t Modulate8(uint32_t a, uint32_t b)
{
    return (a * b + 127) / 255;
}

// (a (256 - f) + b f + 128) >> 8 on every channel.
uint32_t LerpArgb(uint32_t a, uint32_t b, uint32_t f)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= ((Channel(a, shift) * (256 - f) + Channel(b, shift) * f + 128) >> 8) << shift;
    return out;
}

int ClampIndex(int64_t value, int size)
{
    return static_cast<int>(std::clamp<int64_t>(value, 0, size - 1));
}

uint32_t TexelAt(const SpanShade& s, int x, int y)
{
    return s.texels[static_cast<size_t>(y) * static_cast<size_t>(s.width) + static_cast<size_t>(x)];
}

uint32_t PointSample(const SpanShade& s, int64_t pu, int64_t pv)
{
    return TexelAt(s, ClampIndex((pu + 128) >> 16, s.width), ClampIndex((pv + 128) >> 16, s.height));
}

uint32_t BilinearSample(const SpanShade& s, int64_t pu, int64_t pv)
{
    const int64_t qx = (pu - 32640) >> 8, qy = (pv - 32640) >> 8;
    const int64_t x = qx >> 8, y = qy >> 8;
    const int x0 = ClampIndex(x, s.width), x1 = ClampIndex(x + 1, s.width);
    const int y0 = ClampIndex(y, s.height), y1 = ClampIndex(y + 1, s.height);
    const auto fx = static_cast<uint32_t>(qx & 255), fy = static_cast<uint32_t>(qy & 255);
    return LerpArgb(LerpArgb(TexelAt(s, x0, y0), TexelAt(s, x1, y0), fx),
                    LerpArgb(TexelAt(s, x0, y1), TexelAt(s, x1, y1), fx), fy);
}

void ShadePlain(const SpanShade& s, int64_t first, int count, uint32_t* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = ShadeSpanPixel(s, first + i);
}

void ReplacePlain(uint32_t* dest, const uint32_t* src, int count)
{
    for (int i = 0; i < count; ++i)
        dest[i] = src[i] & 0xFFFFFF;
}

void NormalPlain(uint32_t* dest, const uint32_t* src, int count)
{
    for (int i = 0; i < count; ++i)
        dest[i] = BlendNormalArgb(dest[i], src[i]);
}

void AdditivePlain(uint32_t* dest, const uint32_t* src, int count)
{
    for (int i = 0; i < count; ++i)
        dest[i] = BlendAdditiveArgb(dest[i], src[i]);
}

void ModulatePlain(const uint32_t* texels, uint32_t diffuse, bool modulateAlpha, int count, uint32_t* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = ModulateArgb(texels[i], diffuse, modulateAlpha);
}

// The run shaded into a buffer a chunk at a time, each chunk blended by the set's row kernel.
void ShadeThenBlend(const SpanKernels& shading, const SpanKernels& blending, const SpanShade& s, int64_t first,
                    int count, uint32_t* dest, SpanBlend blend)
{
    constexpr int kChunk = 256;
    uint32_t colours[kChunk];
    const BlendSpanFn row = blend == SpanBlend::Replace  ? blending.replace
                            : blend == SpanBlend::Normal ? blending.normal
                                                         : blending.additive;
    for (int done = 0; done < count;)
    {
        const int n = std::min(kChunk, count - done);
        shading.shade(s, first + done, n, colours);
        row(dest + done, colours, n);
        done += n;
    }
}

void ShadeBlendPlain(const SpanShade& s, int64_t first, int count, uint32_t* dest, SpanBlend blend)
{
    ShadeThenBlend(PlainSpanKernels(), PlainSpanKernels(), s, first, count, dest, blend);
}

constexpr SpanKernels kPlain{"scalar",      1,           ShadePlain,    ReplacePlain, NormalPlain,
                             AdditivePlain, ModulatePlain, ShadeBlendPlain};

#if QUOLL_SPANS_SSE2
// Four pixels in the lanes of an SSE2 register.
struct Sse2
{
    using R = __m128i;
    static constexpr int kPixels = 4;

    static R Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint32_t* p, R v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static R LoadPartial(const uint32_t* p, int n)
    {
        const R first = _mm_cvtsi32_si128(static_cast<int>(p[0]));
        if (n == 1)
            return first;
        const R pair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        return n == 2 ? pair : _mm_unpacklo_epi64(pair, _mm_cvtsi32_si128(static_cast<int>(p[2])));
    }
    static void StorePartial(uint32_t* p, R v, int n)
    {
        if (n == 1)
        {
            p[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
            return;
        }
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
        if (n == 3)
            p[2] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
    }
    static R Set1(int32_t v) { return _mm_set1_epi32(v); }
    static R Set1x16(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
    static R Zero() { return _mm_setzero_si128(); }
    static R Add32(R a, R b) { return _mm_add_epi32(a, b); }
    static R Sub32(R a, R b) { return _mm_sub_epi32(a, b); }
    static bool AllEqual32(R a, R b) { return _mm_movemask_epi8(_mm_cmpeq_epi32(a, b)) == 0xFFFF; }
    static R And(R a, R b) { return _mm_and_si128(a, b); }
    static R Or(R a, R b) { return _mm_or_si128(a, b); }
    template <int N> static R Srai32(R a) { return _mm_srai_epi32(a, N); }
    template <int N> static R Slli32(R a) { return _mm_slli_epi32(a, N); }
    static R Clamp32(R a, int high)
    {
        a = _mm_and_si128(a, _mm_cmpgt_epi32(a, Zero())); // below 0 -> 0
        const R top = _mm_set1_epi32(high);
        const R over = _mm_cmpgt_epi32(a, top);
        return _mm_or_si128(_mm_andnot_si128(over, a), _mm_and_si128(over, top));
    }
    static R Ramp(int32_t step) { return _mm_setr_epi32(0, step, 2 * step, 3 * step); }
    static R Fetch(const uint32_t* texels, int width, R x, R y)
    {
        alignas(16) int32_t xs[4], ys[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(xs), x);
        _mm_store_si128(reinterpret_cast<__m128i*>(ys), y);
        auto at = [&](int i) {
            return static_cast<int>(texels[static_cast<size_t>(ys[i]) * static_cast<size_t>(width) +
                                           static_cast<size_t>(xs[i])]);
        };
        return _mm_setr_epi32(at(0), at(1), at(2), at(3));
    }
    static void FetchPairs(const uint32_t* texels, int width, R x, R y, R& left, R& right)
    {
        alignas(16) int32_t xs[4], ys[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(xs), x);
        _mm_store_si128(reinterpret_cast<__m128i*>(ys), y);
        auto pair = [&](int i) {
            return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(
                texels + static_cast<size_t>(ys[i]) * static_cast<size_t>(width) + static_cast<size_t>(xs[i])));
        };
        // l0 r0 l1 r1 and l2 r2 l3 r3, then l0 l1 r0 r1 and l2 l3 r2 r3.
        const R a = _mm_shuffle_epi32(_mm_unpacklo_epi64(pair(0), pair(1)), 0xD8);
        const R b = _mm_shuffle_epi32(_mm_unpacklo_epi64(pair(2), pair(3)), 0xD8);
        left = _mm_unpacklo_epi64(a, b);
        right = _mm_unpackhi_epi64(a, b);
    }
    static R CmpGt32(R a, R b) { return _mm_cmpgt_epi32(a, b); }
    static R Select(R mask, R a, R b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
    static R WidenLo(R a) { return _mm_unpacklo_epi8(a, Zero()); }
    static R WidenHi(R a) { return _mm_unpackhi_epi8(a, Zero()); }
    static R SpreadLo(R a) { return _mm_unpacklo_epi32(a, a); }
    static R SpreadHi(R a) { return _mm_unpackhi_epi32(a, a); }
    static R AlphaLanes(R a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xFF), 0xFF); }
    static R Mullo16(R a, R b) { return _mm_mullo_epi16(a, b); }
    static R Add16(R a, R b) { return _mm_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm_sub_epi16(a, b); }
    template <int N> static R Srli16(R a) { return _mm_srli_epi16(a, N); }
    static R Packus16(R a, R b) { return _mm_packus_epi16(a, b); }
    static R Packs32(R a, R b) { return _mm_packs_epi32(a, b); }
    static R ShiftBytes8(R a) { return _mm_srli_si128(a, 8); }
    static R UnpackLo8(R a, R b) { return _mm_unpacklo_epi8(a, b); }
    static R AddsU8(R a, R b) { return _mm_adds_epu8(a, b); }
};

#include "framework/platform/video/SpanKernelsSimd.inc"

constexpr SpanKernels kSse2{"sse2",
                            4,
                            ShadeSpanLanes<Sse2>,
                            ReplaceLanes<Sse2>,
                            NormalLanes<Sse2>,
                            AdditiveLanes<Sse2>,
                            ModulateLanes<Sse2>,
                            ShadeBlendLanes<Sse2>};
#endif

struct Choice
{
    const SpanKernels* kernels;
    bool plainWalk;
};

Choice ChooseKernels()
{
    const char* forced = std::getenv("QUOLL_D3D_SPANS");
    const std::string name = forced != nullptr ? forced : "";
    if (name == "plain")
        return {&kPlain, true};
    if (!name.empty())
        if (const SpanKernels* kernels = SpanKernelsNamed(name))
            return {kernels, false};
    for (const char* best : {"avx2", "sse2"})
        if (const SpanKernels* kernels = SpanKernelsNamed(best))
            return {kernels, false};
    return {&kPlain, false};
}

const Choice& Chosen()
{
    static const Choice choice = ChooseKernels();
    return choice;
}
} // namespace

uint32_t ModulateArgb(uint32_t texel, uint32_t diffuse, bool modulateAlpha)
{
    if (diffuse == 0xFFFFFFFF)
        return texel;
    const uint32_t a = modulateAlpha ? Modulate8(Channel(texel, 24), Channel(diffuse, 24)) : Channel(texel, 24);
    return (a << 24) | (Modulate8(Channel(texel, 16), Channel(diffuse, 16)) << 16) |
           (Modulate8(Channel(texel, 8), Channel(diffuse, 8)) << 8) | Modulate8(Channel(texel, 0), Channel(diffuse, 0));
}

uint32_t BlendNormalArgb(uint32_t dest, uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((Channel(argb, shift) * alpha + Channel(dest, shift) * (255 - alpha) + 127) / 255) << shift;
    return out;
}

uint32_t BlendAdditiveArgb(uint32_t dest, uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= std::min<uint32_t>(Channel(dest, shift) + Modulate8(Channel(argb, shift), alpha), 255) << shift;
    return out;
}

uint32_t ShadeSpanPixel(const SpanShade& s, int64_t k)
{
    uint32_t diffuse = s.diffuse;
    if (s.gouraud)
    {
        diffuse = 0;
        for (int i = 0; i < 4; ++i)
            diffuse |= static_cast<uint32_t>(std::clamp<int64_t>((s.c[i] + k * s.dc[i] + 32768) >> 16, 0, 255))
                       << (i * 8);
    }
    if (s.texels == nullptr)
        return diffuse;
    const int64_t pu = s.u + k * s.du, pv = s.v + k * s.dv;
    const uint32_t texel = s.linear ? BilinearSample(s, pu, pv) : PointSample(s, pu, pv);
    return ModulateArgb(texel, diffuse, s.modulateAlpha);
}

const SpanKernels& PlainSpanKernels()
{
    return kPlain;
}

const SpanKernels* SpanKernelsNamed(std::string_view name)
{
    if (name == "scalar")
        return &kPlain;
#if QUOLL_SPANS_SSE2
    if (name == "sse2")
        return &kSse2;
#endif
    if (name == "avx2")
        return Avx2SpanKernels();
    return nullptr;
}

const SpanKernels& DefaultSpanKernels()
{
    return *Chosen().kernels;
}

bool DefaultPlainWalk()
{
    return Chosen().plainWalk;
}
} // namespace Quoll::Platform
