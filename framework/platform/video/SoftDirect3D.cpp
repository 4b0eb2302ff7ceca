#include "framework/platform/video/SoftDirect3D.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Quoll::Platform
{
namespace
{
constexpr int kSubPixelBits = 8;
constexpr double kSubPixel = 1 << kSubPixelBits;

// Vertices farther out than this (or not finite) make their primitive draw nothing, so that the
// fixed-point edge arithmetic cannot overflow.
constexpr float kMaxCoordinate = 1 << 20;

bool UsableVertex(const D3DVertex& v)
{
    return std::abs(v.x) <= kMaxCoordinate && std::abs(v.y) <= kMaxCoordinate;
}

int64_t Snap(float value)
{
    return static_cast<int64_t>(std::llround(static_cast<double>(value) * kSubPixel));
}

// The smallest pixel index whose centre (in subpixels) is at least p.
int64_t CeilPixel(int64_t p)
{
    return (p + (1 << kSubPixelBits) - 1) >> kSubPixelBits;
}

uint32_t Channel(uint32_t argb, int shift)
{
    return (argb >> shift) & 0xFF;
}

uint32_t Factor(uint32_t blend, uint32_t srcAlpha)
{
    switch (blend)
    {
    case kBlendZero:
        return 0;
    case kBlendOne:
        return 255;
    case kBlendSrcAlpha:
        return srcAlpha;
    case kBlendInvSrcAlpha:
        return 255 - srcAlpha;
    default:
        return 0;
    }
}

bool ValidBlend(uint32_t value)
{
    return value == kBlendZero || value == kBlendOne || value == kBlendSrcAlpha || value == kBlendInvSrcAlpha;
}

uint32_t TexelToArgb(uint32_t texel, const TextureFormat& format, const SoftPalette* palette)
{
    if ((format.flags & kPfPaletteIndexed8) != 0)
        return palette != nullptr ? palette->Entries()[texel & 0xFF] : 0xFF000000;
    auto widen = [texel](uint32_t mask) -> uint32_t {
        if (mask == 0)
            return 255;
        const int shift = std::countr_zero(mask);
        const uint32_t maxValue = mask >> shift;
        return ((texel & mask) >> shift) * 255 / maxValue;
    };
    return (widen(format.alphaMask) << 24) | (widen(format.redMask) << 16) | (widen(format.greenMask) << 8) |
           widen(format.blueMask);
}

// Modulates two 8-bit channels (white leaves the other unchanged).
uint32_t Modulate(uint32_t a, uint32_t b)
{
    return (a * b + 127) / 255;
}

// Texel times diffuse; the alpha is the texel's, or modulated too.
uint32_t ModulateTexel(uint32_t texel, uint32_t diffuse, bool modulateAlpha)
{
    const uint32_t a = modulateAlpha ? Modulate(Channel(texel, 24), Channel(diffuse, 24)) : Channel(texel, 24);
    return (a << 24) | (Modulate(Channel(texel, 16), Channel(diffuse, 16)) << 16) |
           (Modulate(Channel(texel, 8), Channel(diffuse, 8)) << 8) | Modulate(Channel(texel, 0), Channel(diffuse, 0));
}

enum class BlendResult
{
    Keep,    // the destination stays
    Replace, // the source replaces it
    Mixed,   // out holds the blend
};

// Source and destination 0xAARRGGBB under the blend factors (factors(alpha) gives the source
// and destination factor); channels saturate.
template <typename Factors>
inline BlendResult BlendWith(uint32_t argb, uint32_t dest, uint32_t& out, Factors factors)
{
    const auto [sf, df] = factors(Channel(argb, 24));
    if (sf == 0 && df == 255)
        return BlendResult::Keep;
    if (sf == 255 && df == 0)
        return BlendResult::Replace;
    out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const uint32_t c = (Channel(argb, shift) * sf + Channel(dest, shift) * df + 127) / 255;
        out |= std::min<uint32_t>(c, 255) << shift;
    }
    return BlendResult::Mixed;
}

inline BlendResult BlendPixel(uint32_t argb, uint32_t srcBlend, uint32_t destBlend, uint32_t dest, uint32_t& out)
{
    return BlendWith(argb, dest, out, [srcBlend, destBlend](uint32_t alpha) {
        return std::pair<uint32_t, uint32_t>(Factor(srcBlend, alpha), Factor(destBlend, alpha));
    });
}

// BlendInPlace with the normal pair, three channels at once in 16-bit lanes: with source and
// destination weights summing to 255, n = s * a + d * (255 - a) + 127 stays below 65280, where
// n / 255 equals (n + 1 + (n >> 8)) >> 8, so the lanes give BlendWith's result exactly.
inline void BlendNormalInPlace(uint32_t* pixel, uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    if (alpha == 0)
        return;
    if (alpha == 255)
    {
        *pixel = argb & 0xFFFFFF;
        return;
    }
    constexpr uint64_t kOnes = 0x000100010001ULL, kLow = 0x00FF00FF00FFULL;
    auto spread = [](uint32_t c) {
        return (c & 0xFF) | (static_cast<uint64_t>(c & 0xFF00) << 8) | (static_cast<uint64_t>(c & 0xFF0000) << 16);
    };
    const uint64_t n = spread(argb) * alpha + spread(*pixel) * (255 - alpha) + 127 * kOnes;
    const uint64_t q = ((n + kOnes + ((n >> 8) & kLow)) >> 8) & kLow;
    *pixel = static_cast<uint32_t>((q & 0xFF) | ((q >> 8) & 0xFF00) | ((q >> 16) & 0xFF0000));
}

// BlendInPlace with the additive pair in 16-bit lanes: (s * a + d * 255 + 127) / 255 is
// d + (s * a + 127) / 255, whose quotient the lanes give as in BlendNormalInPlace; sums past
// 255 saturate.
inline void BlendAdditiveInPlace(uint32_t* pixel, uint32_t argb)
{
    const uint32_t alpha = argb >> 24;
    if (alpha == 0)
        return;
    constexpr uint64_t kOnes = 0x000100010001ULL, kLow = 0x00FF00FF00FFULL;
    auto spread = [](uint32_t c) {
        return (c & 0xFF) | (static_cast<uint64_t>(c & 0xFF00) << 8) | (static_cast<uint64_t>(c & 0xFF0000) << 16);
    };
    const uint64_t n = spread(argb) * alpha + 127 * kOnes;
    const uint64_t sum = (((n + kOnes + ((n >> 8) & kLow)) >> 8) & kLow) + spread(*pixel);
    const uint64_t q = (sum | (((sum >> 8) & kOnes) * 255)) & kLow;
    *pixel = static_cast<uint32_t>((q & 0xFF) | ((q >> 8) & 0xFF00) | ((q >> 16) & 0xFF0000));
}

// A 32-bit target pixel blended in place.
template <typename Factors> inline void BlendInPlace(uint32_t* pixel, uint32_t argb, Factors factors)
{
    uint32_t out = 0;
    const BlendResult result = BlendWith(argb, *pixel | 0xFF000000, out, factors);
    if (result != BlendResult::Keep)
        *pixel = (result == BlendResult::Replace ? argb : out) & 0xFFFFFF;
}
} // namespace

// --- Textures ----------------------------------------------------------------------------------

SoftTexture::SoftTexture(int width, int height, const TextureFormat& format)
    : mWidth(width), mHeight(height), mPitch(width * ((format.bitCount + 7) / 8)), mFormat(format),
      mPixels(static_cast<size_t>(mPitch) * static_cast<size_t>(height)),
      mArgb(static_cast<size_t>(width) * static_cast<size_t>(height))
{
    Decode();
}

HResult SoftTexture::Lock(uint8_t** pixels, int* pitch)
{
    if (pixels == nullptr || pitch == nullptr)
        return DDERR_INVALIDPARAMS;
    if (mLocked)
        return D3DERR_TEXTURE_LOCKED;
    mLocked = true;
    *pixels = mPixels.data();
    *pitch = mPitch;
    return DD_OK;
}

HResult SoftTexture::Unlock()
{
    if (!mLocked)
        return D3DERR_TEXTURE_NOT_LOCKED;
    mLocked = false;
    Decode();
    return DD_OK;
}

HResult SoftTexture::SetPalette(std::shared_ptr<SoftPalette> palette)
{
    mPalette = std::move(palette);
    Decode();
    return DD_OK;
}

uint32_t SoftTexture::TexelArgb(int x, int y) const
{
    x = std::clamp(x, 0, mWidth - 1);
    y = std::clamp(y, 0, mHeight - 1);
    return ArgbRow(y)[x];
}

void SoftTexture::Decode()
{
    const int bytes = (mFormat.bitCount + 7) / 8;
    for (int y = 0; y < mHeight; ++y)
    {
        const uint8_t* row = mPixels.data() + static_cast<size_t>(y) * static_cast<size_t>(mPitch);
        uint32_t* out = mArgb.data() + static_cast<size_t>(y) * static_cast<size_t>(mWidth);
        for (int x = 0; x < mWidth; ++x)
        {
            uint32_t texel = 0;
            std::memcpy(&texel, row + static_cast<ptrdiff_t>(x) * bytes, static_cast<size_t>(bytes));
            out[x] = TexelToArgb(texel, mFormat, mPalette.get());
        }
    }
}

// --- The device ----------------------------------------------------------------------------------

// The locked render target, clipped to the viewport.
struct SoftDirect3DDevice::Target
{
    SoftSurface* surface = nullptr;
    uint8_t* pixels = nullptr;
    int pitch = 0;
    SurfaceFormat format;
    bool argb32 = false; // 0x00RRGGBB words
    int left = 0, top = 0, right = 0, bottom = 0;

    [[nodiscard]] uint32_t Read(int x, int y) const
    {
        const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
        if (argb32)
        {
            uint32_t pixel = 0;
            std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 4, 4);
            return pixel | 0xFF000000;
        }
        return PixelToArgb(LoadPixel(row, x), format, nullptr);
    }
    void Write(int x, int y, uint32_t argb) const
    {
        uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
        if (argb32)
        {
            const uint32_t pixel = argb & 0xFFFFFF;
            std::memcpy(row + static_cast<ptrdiff_t>(x) * 4, &pixel, 4);
            return;
        }
        StorePixel(row, x, ArgbToPixel(argb, format));
    }
    [[nodiscard]] uint32_t LoadPixel(const uint8_t* row, int x) const
    {
        uint32_t pixel = 0;
        switch (format.bitCount)
        {
        case 16:
            std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 2, 2);
            break;
        case 24:
            std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 3, 3);
            break;
        default:
            std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 4, 4);
            break;
        }
        return pixel;
    }
    void StorePixel(uint8_t* row, int x, uint32_t pixel) const
    {
        switch (format.bitCount)
        {
        case 16:
            std::memcpy(row + static_cast<ptrdiff_t>(x) * 2, &pixel, 2);
            break;
        case 24:
            std::memcpy(row + static_cast<ptrdiff_t>(x) * 3, &pixel, 3);
            break;
        default:
            std::memcpy(row + static_cast<ptrdiff_t>(x) * 4, &pixel, 4);
            break;
        }
    }
};

SoftDirect3DDevice::SoftDirect3DDevice(const D3DDeviceCaps& caps, std::shared_ptr<SoftSurface> target)
    : mCaps(caps), mTarget(std::move(target))
{
    mRenderStates[static_cast<int>(RenderState::SrcBlend)] = kBlendOne;
    mRenderStates[static_cast<int>(RenderState::DestBlend)] = kBlendZero;
    mRenderStates[static_cast<int>(RenderState::CullMode)] = kCullNone;
    mStageStates[static_cast<int>(TextureStageState::MinFilter)] = kFilterPoint;
    mStageStates[static_cast<int>(TextureStageState::MagFilter)] = kFilterPoint;
    mStageStates[static_cast<int>(TextureStageState::MipFilter)] = kMipNone;
    mStageStates[static_cast<int>(TextureStageState::AlphaOp)] = kTopSelectArg1;
    mStageStates[static_cast<int>(TextureStageState::AddressU)] = kAddressClamp;
    mStageStates[static_cast<int>(TextureStageState::AddressV)] = kAddressClamp;
    if (mTarget)
        mViewport = {0, 0, mTarget->Width(), mTarget->Height(), 0.0f, 1.0f};
}

HResult SoftDirect3DDevice::GetCaps(D3DDeviceCaps* caps) const
{
    if (caps == nullptr)
        return DDERR_INVALIDPARAMS;
    *caps = mCaps;
    return DD_OK;
}

HResult SoftDirect3DDevice::SetRenderState(RenderState state, uint32_t value)
{
    if (state >= RenderState::Count)
        return DDERR_INVALIDPARAMS;
    if ((state == RenderState::SrcBlend || state == RenderState::DestBlend) && !ValidBlend(value))
        return D3DERR_UNSUPPORTEDFACTORVALUE;
    mRenderStates[static_cast<int>(state)] = value;
    return DD_OK;
}

uint32_t SoftDirect3DDevice::GetRenderState(RenderState state) const
{
    return state < RenderState::Count ? mRenderStates[static_cast<int>(state)] : 0;
}

HResult SoftDirect3DDevice::SetTextureStageState(int stage, TextureStageState state, uint32_t value)
{
    if (stage != 0 || state >= TextureStageState::Count)
        return DDERR_INVALIDPARAMS;
    mStageStates[static_cast<int>(state)] = value;
    return DD_OK;
}

uint32_t SoftDirect3DDevice::GetTextureStageState(TextureStageState state) const
{
    return state < TextureStageState::Count ? mStageStates[static_cast<int>(state)] : 0;
}

HResult SoftDirect3DDevice::SetViewport(const D3DViewport& viewport)
{
    if (viewport.width < 0 || viewport.height < 0)
        return DDERR_INVALIDPARAMS;
    mViewport = viewport;
    return DD_OK;
}

HResult SoftDirect3DDevice::GetViewport(D3DViewport* viewport) const
{
    if (viewport == nullptr)
        return DDERR_INVALIDPARAMS;
    *viewport = mViewport;
    return DD_OK;
}

HResult SoftDirect3DDevice::SetRenderTarget(std::shared_ptr<SoftSurface> target)
{
    if (!target || (target->Caps() & kCaps3DDevice) == 0)
        return DDERR_INVALIDCAPS;
    const int bits = target->Format().bitCount;
    if (bits != 16 && bits != 24 && bits != 32)
        return DDERR_INVALIDPIXELFORMAT;
    mTarget = std::move(target);
    return DD_OK;
}

HResult SoftDirect3DDevice::BeginScene()
{
    if (mInScene)
        return D3DERR_SCENE_IN_SCENE;
    mInScene = true;
    return DD_OK;
}

HResult SoftDirect3DDevice::EndScene()
{
    if (!mInScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    mInScene = false;
    return DD_OK;
}

HResult SoftDirect3DDevice::SetTexture(int stage, std::shared_ptr<SoftTexture> texture)
{
    if (stage != 0)
        return DDERR_INVALIDPARAMS;
    mTexture = std::move(texture);
    return DD_OK;
}

HResult SoftDirect3DDevice::Clear(uint32_t flags, uint32_t color, float, uint32_t)
{
    if (!mTarget)
        return D3DERR_INVALID_DEVICE;
    if ((flags & kClearTarget) == 0)
        return DD_OK;
    SurfaceDesc desc;
    const HResult result = mTarget->Lock(nullptr, &desc, kLockWait);
    if (Failed(result))
        return result;
    Target target{mTarget.get(), desc.pixels, desc.pitch, desc.format, desc.format == SurfaceFormat::X8R8G8B8(),
                  std::max(mViewport.x, 0), std::max(mViewport.y, 0),
                  std::min(mViewport.x + mViewport.width, desc.width),
                  std::min(mViewport.y + mViewport.height, desc.height)};
    for (int y = target.top; y < target.bottom; ++y)
        for (int x = target.left; x < target.right; ++x)
            target.Write(x, y, color);
    mTarget->Unlock(nullptr);
    return DD_OK;
}

HResult SoftDirect3DDevice::DrawPrimitive(PrimitiveType type, uint32_t vertexFormat, const D3DVertex* vertices,
                                          int count, uint32_t)
{
    if (vertexFormat != kFvfTLVertex)
        return D3DERR_INVALIDVERTEXTYPE;
    if (vertices == nullptr || count < 0)
        return DDERR_INVALIDPARAMS;
    if (!mInScene)
        return D3DERR_NOTINBEGIN;
    if (!mTarget)
        return D3DERR_INVALID_DEVICE;
    if (type != PrimitiveType::LineStrip && type != PrimitiveType::TriangleList &&
        type != PrimitiveType::TriangleStrip && type != PrimitiveType::TriangleFan)
        return D3DERR_INVALIDPRIMITIVETYPE;
    SurfaceDesc desc;
    const HResult result = mTarget->Lock(nullptr, &desc, kLockWait);
    if (Failed(result))
        return result;
    Target target{mTarget.get(), desc.pixels, desc.pitch, desc.format, desc.format == SurfaceFormat::X8R8G8B8(),
                  std::max(mViewport.x, 0), std::max(mViewport.y, 0),
                  std::min(mViewport.x + mViewport.width, desc.width),
                  std::min(mViewport.y + mViewport.height, desc.height)};
    switch (type)
    {
    case PrimitiveType::LineStrip:
        for (int i = 0; i + 1 < count; ++i)
            DrawLine(target, vertices[i], vertices[i + 1]);
        break;
    case PrimitiveType::TriangleList:
        for (int i = 0; i + 2 < count; i += 3)
            DrawTriangle(target, vertices[i], vertices[i + 1], vertices[i + 2]);
        break;
    case PrimitiveType::TriangleStrip:
        if (count == 4 && mFastQuads && DrawFastQuad(target, vertices))
            break;
        for (int i = 0; i + 2 < count; ++i)
            DrawTriangle(target, vertices[i], vertices[i + 1], vertices[i + 2]);
        break;
    case PrimitiveType::TriangleFan:
        for (int i = 1; i + 1 < count; ++i)
            DrawTriangle(target, vertices[0], vertices[i], vertices[i + 1]);
        break;
    }
    mTarget->Unlock(nullptr);
    return DD_OK;
}

// --- Shading and blending ----------------------------------------------------------------------------

namespace
{
// floor(value); values outside +-2^40 (and NaN) read as 0.
int64_t FloorToInt(double value)
{
    if (!(value > -1099511627776.0 && value < 1099511627776.0))
        return 0;
    auto t = static_cast<int64_t>(value);
    return static_cast<double>(t) > value ? t - 1 : t;
}

// The four texels weighted (weights (256 - fx) (256 - fy), fx (256 - fy), (256 - fx) fy and
// fx fy, summing to 65536), each channel rounded. Weighted along x first in 16-bit lanes (at
// most 255 * 256), then along y in 32-bit lanes: the same sums as weighting each texel at once.
#if defined(__SSE2__)
inline uint32_t Bilinear(uint32_t t00, uint32_t t01, uint32_t t10, uint32_t t11, uint32_t fx, uint32_t fy)
{
    const __m128i zero = _mm_setzero_si128();
    auto widen = [zero](uint32_t t) { return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(t)), zero); };
    const __m128i left = _mm_unpacklo_epi64(widen(t00), widen(t10));
    const __m128i right = _mm_unpacklo_epi64(widen(t01), widen(t11));
    const __m128i across = _mm_add_epi16(_mm_mullo_epi16(left, _mm_set1_epi16(static_cast<short>(256 - fx))),
                                         _mm_mullo_epi16(right, _mm_set1_epi16(static_cast<short>(fx))));
    const __m128i down =
        _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(256 - fy)), _mm_set1_epi16(static_cast<short>(fy)));
    const __m128i low = _mm_mullo_epi16(across, down), high = _mm_mulhi_epu16(across, down);
    const __m128i sum = _mm_add_epi32(_mm_add_epi32(_mm_unpacklo_epi16(low, high), _mm_unpackhi_epi16(low, high)),
                                      _mm_set1_epi32(0x8000));
    const __m128i channels = _mm_srli_epi32(sum, 16);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(channels, channels), zero)));
}
#else
// Blue and red in the 32-bit lanes of one word, green and alpha in another.
inline uint64_t SpreadLow(uint32_t t)
{
    return (t & 0xFF) | (static_cast<uint64_t>(t & 0xFF0000) << 16);
}

inline uint64_t SpreadHigh(uint32_t t)
{
    return ((t >> 8) & 0xFF) | (static_cast<uint64_t>(t >> 24) << 32);
}

inline uint32_t Bilinear(uint32_t t00, uint32_t t01, uint32_t t10, uint32_t t11, uint32_t fx, uint32_t fy)
{
    const uint64_t w00 = (256 - fx) * (256 - fy), w01 = fx * (256 - fy), w10 = (256 - fx) * fy, w11 = fx * fy;
    constexpr uint64_t kHalf = 0x0000800000008000ULL, kLanes = 0x000000FF000000FFULL;
    const uint64_t low = ((SpreadLow(t00) * w00 + SpreadLow(t01) * w01 + SpreadLow(t10) * w10 + SpreadLow(t11) * w11 +
                           kHalf) >> 16) & kLanes;
    const uint64_t high = ((SpreadHigh(t00) * w00 + SpreadHigh(t01) * w01 + SpreadHigh(t10) * w10 +
                            SpreadHigh(t11) * w11 + kHalf) >> 16) & kLanes;
    return static_cast<uint32_t>(low) | static_cast<uint32_t>(low >> 16) | static_cast<uint32_t>(high << 8) |
           static_cast<uint32_t>(high >> 8);
}
#endif
} // namespace

namespace
{
// Texel (point or bilinear sample at texture coordinates u, v) times diffuse; diffuse alone
// without a texture.
inline uint32_t ShadeWith(const SoftTexture* texturePtr, bool linear, bool modulateAlpha, uint32_t diffuse, double u,
                          double v)
{
    if (texturePtr == nullptr)
        return diffuse;
    const SoftTexture& texture = *texturePtr;
    const double su = u * texture.Width();
    const double sv = v * texture.Height();
    uint32_t texel = 0;
    if (!linear)
    {
        // Positions quantised to 1/256 texel, so that a texel centre hit with rounding noise
        // still picks that texel.
        const int64_t px = FloorToInt(su * 256.0 + 0.5) >> 8;
        const int64_t py = FloorToInt(sv * 256.0 + 0.5) >> 8;
        texel = texture.TexelArgb(static_cast<int>(std::clamp<int64_t>(px, -1, 1 << 20)),
                                  static_cast<int>(std::clamp<int64_t>(py, -1, 1 << 20)));
    }
    else
    {
        const int64_t fxp = FloorToInt((su - 0.5) * 256.0 + 0.5);
        const int64_t fyp = FloorToInt((sv - 0.5) * 256.0 + 0.5);
        const int x0 = static_cast<int>(std::clamp<int64_t>(fxp >> 8, -2, 1 << 20));
        const int y0 = static_cast<int>(std::clamp<int64_t>(fyp >> 8, -2, 1 << 20));
        const auto fx = static_cast<uint32_t>(fxp & 255);
        const auto fy = static_cast<uint32_t>(fyp & 255);
        if (x0 >= 0 && y0 >= 0 && x0 + 1 < texture.Width() && y0 + 1 < texture.Height())
        {
            const uint32_t* row0 = texture.ArgbRow(y0) + x0;
            const uint32_t* row1 = texture.ArgbRow(y0 + 1) + x0;
            texel = Bilinear(row0[0], row0[1], row1[0], row1[1], fx, fy);
        }
        else
        {
            texel = Bilinear(texture.TexelArgb(x0, y0), texture.TexelArgb(x0 + 1, y0), texture.TexelArgb(x0, y0 + 1),
                             texture.TexelArgb(x0 + 1, y0 + 1), fx, fy);
        }
    }
    if (diffuse == 0xFFFFFFFF)
        return texel; // modulation by white changes nothing
    return ModulateTexel(texel, diffuse, modulateAlpha);
}
} // namespace

uint32_t SoftDirect3DDevice::Shade(uint32_t diffuse, double u, double v) const
{
    return ShadeWith(mTexture.get(), mStageStates[static_cast<int>(TextureStageState::MagFilter)] == kFilterLinear,
                     mStageStates[static_cast<int>(TextureStageState::AlphaOp)] == kTopModulate, diffuse, u, v);
}

void SoftDirect3DDevice::PlotInPlace(uint32_t* pixel, uint32_t argb) const
{
    const uint32_t srcBlend = mRenderStates[static_cast<int>(RenderState::SrcBlend)];
    const uint32_t destBlend = mRenderStates[static_cast<int>(RenderState::DestBlend)];
    BlendInPlace(pixel, argb, [srcBlend, destBlend](uint32_t alpha) {
        return std::pair<uint32_t, uint32_t>(Factor(srcBlend, alpha), Factor(destBlend, alpha));
    });
}

void SoftDirect3DDevice::Plot(Target& target, int x, int y, uint32_t argb) const
{
    if (mRenderStates[static_cast<int>(RenderState::AlphaBlendEnable)] == 0)
    {
        target.Write(x, y, argb);
        return;
    }
    uint32_t out = 0;
    switch (BlendPixel(argb, mRenderStates[static_cast<int>(RenderState::SrcBlend)],
                       mRenderStates[static_cast<int>(RenderState::DestBlend)], target.Read(x, y), out))
    {
    case BlendResult::Keep:
        break;
    case BlendResult::Replace:
        target.Write(x, y, argb);
        break;
    case BlendResult::Mixed:
        target.Write(x, y, out);
        break;
    }
}

// --- Triangles -------------------------------------------------------------------------------------

namespace
{
// An attribute's plane over the triangle: value at (x, y) = base + dx * (x - x0) + dy * (y - y0).
struct Plane
{
    double base = 0, dx = 0, dy = 0;
    [[nodiscard]] double At(double x, double y, double x0, double y0) const { return base + dx * (x - x0) + dy * (y - y0); }
};

Plane MakePlane(double f0, double f1, double f2, double ex1, double ey1, double ex2, double ey2, double area)
{
    Plane p;
    p.base = f0;
    p.dx = ((f1 - f0) * ey2 - (f2 - f0) * ey1) / area;
    p.dy = ((f2 - f0) * ex1 - (f1 - f0) * ex2) / area;
    return p;
}

struct Edge
{
    int64_t x0, y0, dx, dy;
    int64_t bias; // 0 for top and left edges (pixels on them are inside), 1 otherwise

    Edge(int64_t ax, int64_t ay, int64_t bx, int64_t by) : x0(ax), y0(ay), dx(bx - ax), dy(by - ay)
    {
        const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        bias = topLeft ? 0 : 1;
    }
    [[nodiscard]] int64_t At(int64_t px, int64_t py) const { return dx * (py - y0) - dy * (px - x0); }
};

uint32_t ClampChannel(double value)
{
    return static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L));
}
} // namespace

namespace
{
// Narrows [first, last] to the steps k along a row where the edge value w + k * step is not
// negative; false when none are left.
bool ClipSpan(int64_t w, int64_t step, int64_t& first, int64_t& last)
{
    if (step > 0)
    {
        if (w < 0)
            first = std::max(first, (step - 1 - w) / step);
    }
    else if (step < 0)
    {
        if (w < 0)
            return false;
        last = std::min(last, w / -step);
    }
    else if (w < 0)
        return false;
    return first <= last;
}

// ShadeWith's point sample with the texture's size and texels at hand: the same position
// arithmetic, the clamping of TexelArgb folded in.
struct PointSampler
{
    const uint32_t* texels;
    int width, height;

    [[nodiscard]] uint32_t operator()(double u, double v) const
    {
        const double su = u * width;
        const double sv = v * height;
        const int64_t px = FloorToInt(su * 256.0 + 0.5) >> 8;
        const int64_t py = FloorToInt(sv * 256.0 + 0.5) >> 8;
        const int x = std::clamp(static_cast<int>(std::clamp<int64_t>(px, -1, 1 << 20)), 0, width - 1);
        const int y = std::clamp(static_cast<int>(std::clamp<int64_t>(py, -1, 1 << 20)), 0, height - 1);
        return texels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

// ShadeWith's bilinear sample likewise; each of the four texels clamped on its own, which is
// what both of ShadeWith's branches read.
struct LinearSampler
{
    const uint32_t* texels;
    int width, height;

    [[nodiscard]] uint32_t operator()(double u, double v) const
    {
        const double su = u * width;
        const double sv = v * height;
        const int64_t fxp = FloorToInt((su - 0.5) * 256.0 + 0.5);
        const int64_t fyp = FloorToInt((sv - 0.5) * 256.0 + 0.5);
        const int x0 = static_cast<int>(std::clamp<int64_t>(fxp >> 8, -2, 1 << 20));
        const int y0 = static_cast<int>(std::clamp<int64_t>(fyp >> 8, -2, 1 << 20));
        const auto fx = static_cast<uint32_t>(fxp & 255);
        const auto fy = static_cast<uint32_t>(fyp & 255);
        const auto xa = static_cast<size_t>(std::clamp(x0, 0, width - 1));
        const auto xb = static_cast<size_t>(std::clamp(x0 + 1, 0, width - 1));
        const uint32_t* row0 = texels + static_cast<size_t>(std::clamp(y0, 0, height - 1)) * static_cast<size_t>(width);
        const uint32_t* row1 = texels + static_cast<size_t>(std::clamp(y0 + 1, 0, height - 1)) * static_cast<size_t>(width);
        return Bilinear(row0[xa], row0[xb], row1[xa], row1[xb], fx, fy);
    }
};

// A sampled texel times diffuse, as ShadeWith gives it.
template <typename Sampler> struct TexturedShader
{
    Sampler sample;
    bool modulateAlpha;

    [[nodiscard]] uint32_t operator()(uint32_t diffuse, double u, double v) const
    {
        const uint32_t texel = sample(u, v);
        return diffuse == 0xFFFFFFFF ? texel : ModulateTexel(texel, diffuse, modulateAlpha);
    }
};
} // namespace

void SoftDirect3DDevice::DrawTriangle(Target& target, const D3DVertex& a, const D3DVertex& b0, const D3DVertex& c0)
{
    if (!UsableVertex(a) || !UsableVertex(b0) || !UsableVertex(c0))
        return;
    // 1. Snap the corners and orient the triangle so that its area is positive.
    const D3DVertex* b = &b0;
    const D3DVertex* c = &c0;
    int64_t ax = Snap(a.x), ay = Snap(a.y), bx = Snap(b->x), by = Snap(b->y), cx = Snap(c->x), cy = Snap(c->y);
    int64_t area = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
    if (area == 0)
        return;
    if (area < 0)
    {
        std::swap(b, c);
        std::swap(bx, cx);
        std::swap(by, cy);
        area = -area;
    }
    // 2. The pixel box, clipped to the viewport.
    const int minX = static_cast<int>(std::max<int64_t>(CeilPixel(std::min({ax, bx, cx})), target.left));
    const int maxX = static_cast<int>(std::min<int64_t>(std::max({ax, bx, cx}) >> kSubPixelBits, target.right - 1));
    const int minY = static_cast<int>(std::max<int64_t>(CeilPixel(std::min({ay, by, cy})), target.top));
    const int maxY = static_cast<int>(std::min<int64_t>(std::max({ay, by, cy}) >> kSubPixelBits, target.bottom - 1));
    if (minX > maxX || minY > maxY)
        return;
    // 3. Attribute planes in pixel units.
    const double x0 = static_cast<double>(ax) / kSubPixel, y0 = static_cast<double>(ay) / kSubPixel;
    const double ex1 = static_cast<double>(bx - ax) / kSubPixel, ey1 = static_cast<double>(by - ay) / kSubPixel;
    const double ex2 = static_cast<double>(cx - ax) / kSubPixel, ey2 = static_cast<double>(cy - ay) / kSubPixel;
    const double pixelArea = ex1 * ey2 - ex2 * ey1;
    const Plane pu = MakePlane(a.u, b->u, c->u, ex1, ey1, ex2, ey2, pixelArea);
    const Plane pv = MakePlane(a.v, b->v, c->v, ex1, ey1, ex2, ey2, pixelArea);
    const bool flat = a.diffuse == b->diffuse && a.diffuse == c->diffuse;
    Plane pc[4];
    if (!flat)
        for (int i = 0; i < 4; ++i)
            pc[i] = MakePlane(Channel(a.diffuse, i * 8), Channel(b->diffuse, i * 8), Channel(c->diffuse, i * 8), ex1,
                              ey1, ex2, ey2, pixelArea);
    // 4. Walk the box row by row; a pixel is inside when every edge function passes its fill
    //    rule. Each row's inside span is found from the edge values at its start; the texture
    //    coordinates step along the whole row from minX, so every pixel keeps the sum it would
    //    have if every pixel of the row were visited.
    const Edge e0(ax, ay, bx, by), e1(bx, by, cx, cy), e2(cx, cy, ax, ay);
    const int64_t step0 = -e0.dy << kSubPixelBits, step1 = -e1.dy << kSubPixelBits, step2 = -e2.dy << kSubPixelBits;
    const int64_t firstX = static_cast<int64_t>(minX) << kSubPixelBits;
    const SoftTexture* texture = mTexture.get();
    const bool linear = mStageStates[static_cast<int>(TextureStageState::MagFilter)] == kFilterLinear;
    const bool modulateAlpha = mStageStates[static_cast<int>(TextureStageState::AlphaOp)] == kTopModulate;
    auto diffuseAt = [&](int x, int y) {
        if (flat)
            return a.diffuse;
        uint32_t diffuse = 0;
        for (int i = 0; i < 4; ++i)
            diffuse |= ClampChannel(pc[i].At(x, y, x0, y0)) << (i * 8);
        return diffuse;
    };
    if (!mFastSpans)
    {
        // The plain walk, every pixel of the box tested and shaded on its own.
        for (int y = minY; y <= maxY; ++y)
        {
            const int64_t py = static_cast<int64_t>(y) << kSubPixelBits;
            int64_t w0 = e0.At(firstX, py) - e0.bias, w1 = e1.At(firstX, py) - e1.bias, w2 = e2.At(firstX, py) - e2.bias;
            double u = pu.At(minX, y, x0, y0), v = pv.At(minX, y, x0, y0);
            for (int x = minX; x <= maxX; ++x, w0 += step0, w1 += step1, w2 += step2, u += pu.dx, v += pv.dx)
                if ((w0 | w1 | w2) >= 0)
                    Plot(target, x, y, ShadeWith(texture, linear, modulateAlpha, diffuseAt(x, y), u, v));
        }
        return;
    }
    auto walk = [&](auto shade, auto plot) {
        for (int y = minY; y <= maxY; ++y)
        {
            const int64_t py = static_cast<int64_t>(y) << kSubPixelBits;
            int64_t first = 0, last = maxX - minX;
            if (!ClipSpan(e0.At(firstX, py) - e0.bias, step0, first, last) ||
                !ClipSpan(e1.At(firstX, py) - e1.bias, step1, first, last) ||
                !ClipSpan(e2.At(firstX, py) - e2.bias, step2, first, last))
                continue;
            double u = pu.At(minX, y, x0, y0), v = pv.At(minX, y, x0, y0);
            for (int64_t k = 0; k < first; ++k)
            {
                u += pu.dx;
                v += pv.dx;
            }
            auto* row = reinterpret_cast<uint32_t*>(target.pixels + static_cast<ptrdiff_t>(y) * target.pitch);
            const int spanEnd = minX + static_cast<int>(last);
            for (int x = minX + static_cast<int>(first); x <= spanEnd; ++x, u += pu.dx, v += pv.dx)
                plot(row, x, y, shade(diffuseAt(x, y), u, v));
        }
    };
    // The loop specialised for the blend and the sampler in use.
    const bool blend = mRenderStates[static_cast<int>(RenderState::AlphaBlendEnable)] != 0;
    const uint32_t srcBlend = mRenderStates[static_cast<int>(RenderState::SrcBlend)];
    const uint32_t destBlend = mRenderStates[static_cast<int>(RenderState::DestBlend)];
    auto walkWith = [&](auto shade) {
        if (target.argb32 && blend && srcBlend == kBlendSrcAlpha && destBlend == kBlendInvSrcAlpha)
            walk(shade, [](uint32_t* row, int x, int, uint32_t argb) { BlendNormalInPlace(row + x, argb); });
        else if (target.argb32 && blend && srcBlend == kBlendSrcAlpha && destBlend == kBlendOne)
            walk(shade, [](uint32_t* row, int x, int, uint32_t argb) { BlendAdditiveInPlace(row + x, argb); });
        else if (target.argb32 && blend)
            walk(shade, [this](uint32_t* row, int x, int, uint32_t argb) { PlotInPlace(row + x, argb); });
        else if (target.argb32)
            walk(shade, [](uint32_t* row, int x, int, uint32_t argb) { row[x] = argb & 0xFFFFFF; });
        else
            walk(shade, [this, &target](uint32_t*, int x, int y, uint32_t argb) { Plot(target, x, y, argb); });
    };
    if (texture == nullptr)
        walkWith([](uint32_t diffuse, double, double) { return diffuse; });
    else if (linear)
        walkWith(TexturedShader<LinearSampler>{{texture->ArgbRow(0), texture->Width(), texture->Height()}, modulateAlpha});
    else
        walkWith(TexturedShader<PointSampler>{{texture->ArgbRow(0), texture->Width(), texture->Height()}, modulateAlpha});
}

// A strip of four corners (top-left, top-right, bottom-left, bottom-right in any mirror) with one
// colour and, when textured, one texel per pixel: drawn texel row by texel row. The texel each
// pixel takes is the one the general path samples, since both quantise sample positions to
// 1/256 texel and the alignment checked here keeps every sample far from a rounding edge.
bool SoftDirect3DDevice::DrawFastQuad(Target& target, const D3DVertex* v)
{
    if (v[0].y != v[1].y || v[2].y != v[3].y || v[0].x != v[2].x || v[1].x != v[3].x || !UsableVertex(v[0]) ||
        !UsableVertex(v[3]))
        return false;
    if (v[0].diffuse != v[1].diffuse || v[0].diffuse != v[2].diffuse || v[0].diffuse != v[3].diffuse)
        return false;
    if (v[0].u != v[2].u || v[1].u != v[3].u || v[0].v != v[1].v || v[2].v != v[3].v)
        return false;
    const int64_t xa = Snap(v[0].x), xb = Snap(v[1].x), ya = Snap(v[0].y), yb = Snap(v[2].y);
    if (xa == xb || ya == yb)
        return true; // no area: nothing to draw
    // Left and top edges are inclusive, right and bottom exclusive.
    const bool flipX = xb < xa, flipY = yb < ya;
    const int64_t left = std::min(xa, xb), right = std::max(xa, xb), top = std::min(ya, yb), bottom = std::max(ya, yb);
    const int x0 = static_cast<int>(std::max<int64_t>(CeilPixel(left), target.left));
    const int x1 = static_cast<int>(std::min<int64_t>(CeilPixel(right), target.right));
    const int y0 = static_cast<int>(std::max<int64_t>(CeilPixel(top), target.top));
    const int y1 = static_cast<int>(std::min<int64_t>(CeilPixel(bottom), target.bottom));
    const uint32_t diffuse = v[0].diffuse;
    const bool blend = mRenderStates[static_cast<int>(RenderState::AlphaBlendEnable)] != 0;
    // Rows of the quad; a 32-bit target's row is blended in place as Plot would, with the
    // renderer's two blend pairs known in advance.
    const uint32_t srcBlend = mRenderStates[static_cast<int>(RenderState::SrcBlend)];
    const uint32_t destBlend = mRenderStates[static_cast<int>(RenderState::DestBlend)];
    auto blendRows = [&](auto texelAt, auto blendPixel) {
        for (int y = y0; y < y1; ++y)
        {
            auto* dest = reinterpret_cast<uint32_t*>(target.pixels + static_cast<ptrdiff_t>(y) * target.pitch);
            for (int x = x0; x < x1; ++x)
                blendPixel(dest + x, texelAt(x, y));
        }
    };
    auto drawRows = [&](auto texelAt) {
        if (target.argb32 && blend && srcBlend == kBlendSrcAlpha && destBlend == kBlendInvSrcAlpha)
            blendRows(texelAt, BlendNormalInPlace);
        else if (target.argb32 && blend && srcBlend == kBlendSrcAlpha && destBlend == kBlendOne)
            blendRows(texelAt, BlendAdditiveInPlace);
        else
            for (int y = y0; y < y1; ++y)
            {
                auto* dest = reinterpret_cast<uint32_t*>(target.pixels + static_cast<ptrdiff_t>(y) * target.pitch);
                for (int x = x0; x < x1; ++x)
                {
                    const uint32_t texel = texelAt(x, y);
                    if (target.argb32 && blend)
                        PlotInPlace(dest + x, texel);
                    else
                        Plot(target, x, y, texel);
                }
            }
    };
    if (!mTexture)
    {
        ++mFastQuadCount;
        drawRows([diffuse](int, int) { return diffuse; });
        return true;
    }
    // Texel alignment: one texel per pixel, increasing with x and y, centres on pixel centres.
    const double width = static_cast<double>(right - left) / kSubPixel, height = static_cast<double>(bottom - top) / kSubPixel;
    const double uLeft = flipX ? v[1].u : v[0].u, uRight = flipX ? v[0].u : v[1].u;
    const double vTop = flipY ? v[2].v : v[0].v, vBottom = flipY ? v[0].v : v[2].v;
    const double texW = mTexture->Width(), texH = mTexture->Height();
    constexpr double kTolerance = 1.0 / 4096;
    if (std::abs((uRight - uLeft) * texW - width) > kTolerance || std::abs((vBottom - vTop) * texH - height) > kTolerance)
        return false;
    const double leftEdge = static_cast<double>(left) / kSubPixel, topEdge = static_cast<double>(top) / kSubPixel;
    const double s0 = uLeft * texW + (x0 - leftEdge), t0 = vTop * texH + (y0 - topEdge);
    const double k0 = std::floor(s0), j0 = std::floor(t0);
    if (std::abs(s0 - k0 - 0.5) > kTolerance || std::abs(t0 - j0 - 0.5) > kTolerance)
        return false;
    ++mFastQuadCount;
    const bool modulate = diffuse != 0xFFFFFFFF;
    const bool modulateAlpha = mStageStates[static_cast<int>(TextureStageState::AlphaOp)] == kTopModulate;
    const SoftTexture& texture = *mTexture;
    const int kx = static_cast<int>(k0) - x0, jy = static_cast<int>(j0) - y0;
    const bool inside = kx + x0 >= 0 && jy + y0 >= 0 && kx + x1 <= texture.Width() && jy + y1 <= texture.Height();
    if (inside && !modulate)
        drawRows([&](int x, int y) { return texture.ArgbRow(jy + y)[kx + x]; });
    else
        drawRows([&](int x, int y) {
            const uint32_t texel = texture.TexelArgb(kx + x, jy + y);
            return modulate ? ModulateTexel(texel, diffuse, modulateAlpha) : texel;
        });
    return true;
}

// --- Lines -----------------------------------------------------------------------------------------

// The pixels whose centres the segment passes along its major axis, the last one excluded.
void SoftDirect3DDevice::DrawLine(Target& target, const D3DVertex& a, const D3DVertex& b)
{
    if (!UsableVertex(a) || !UsableVertex(b))
        return;
    const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const double major = xMajor ? dx : dy;
    if (major == 0)
        return;
    const double start = xMajor ? a.x : a.y;
    const double end = xMajor ? b.x : b.y;
    const int step = major > 0 ? 1 : -1;
    // Pixels whose centre c satisfies start <= c < end (or the mirror when going backwards).
    int first = step > 0 ? static_cast<int>(std::ceil(start)) : static_cast<int>(std::floor(start));
    int last = step > 0 ? static_cast<int>(std::ceil(end)) - 1 : static_cast<int>(std::floor(end)) + 1;
    // Only the part over the target is walked.
    const int low = (xMajor ? target.left : target.top) - 1, high = xMajor ? target.right : target.bottom;
    last = step > 0 ? std::min(last, high) : std::max(last, low);
    first = step > 0 ? std::max(first, low) : std::min(first, high);
    for (int m = first; step > 0 ? m <= last : m >= last; m += step)
    {
        const double t = (m - start) / major;
        const double minor = xMajor ? a.y + t * dy : a.x + t * dx;
        const int n = static_cast<int>(std::floor(minor + 0.5));
        const int x = xMajor ? m : n, y = xMajor ? n : m;
        if (x < target.left || x >= target.right || y < target.top || y >= target.bottom)
            continue;
        uint32_t diffuse = 0;
        for (int shift = 0; shift < 32; shift += 8)
        {
            const double ca = Channel(a.diffuse, shift), cb = Channel(b.diffuse, shift);
            diffuse |= ClampChannel(ca + t * (cb - ca)) << shift;
        }
        Plot(target, x, y, Shade(diffuse, a.u + t * (b.u - a.u), a.v + t * (b.v - a.v)));
    }
}

// --- The 3D object -----------------------------------------------------------------------------------

HResult SoftDirect3D::CreateDevice(std::shared_ptr<SoftSurface> target, std::shared_ptr<SoftDirect3DDevice>& out)
{
    out.reset();
    auto device = std::make_shared<SoftDirect3DDevice>(mSettings.caps, nullptr);
    const HResult result = device->SetRenderTarget(std::move(target));
    if (Failed(result))
        return result;
    D3DViewport viewport{0, 0, device->RenderTarget()->Width(), device->RenderTarget()->Height(), 0.0f, 1.0f};
    device->SetViewport(viewport);
    out = std::move(device);
    return DD_OK;
}

HResult SoftDirect3D::CreateTexture(int width, int height, const TextureFormat& format,
                                    std::shared_ptr<SoftTexture>& out)
{
    out.reset();
    if (width <= 0 || height <= 0 || width > mSettings.caps.maxTextureWidth || height > mSettings.caps.maxTextureHeight)
        return DDERR_INVALIDPARAMS;
    if (format != TextureFormat::A8R8G8B8() && format != TextureFormat::A4R4G4B4() &&
        format != TextureFormat::R5G6B5() && format != TextureFormat::Palette8())
        return DDERR_INVALIDPIXELFORMAT;
    out = std::make_shared<SoftTexture>(width, height, format);
    return DD_OK;
}

HResult QueryDirect3D(const SoftDirect3DSettings& settings, std::shared_ptr<SoftDirect3D>& out)
{
    out.reset();
    if (!settings.hasDirect3D)
        return DDERR_UNSUPPORTED;
    out = std::make_shared<SoftDirect3D>(settings);
    return DD_OK;
}

SoftDirect3DSettings& DefaultDirect3DSettings()
{
    static SoftDirect3DSettings settings;
    return settings;
}
} // namespace Quoll::Platform
