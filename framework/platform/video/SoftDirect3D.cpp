#include "framework/platform/video/SoftDirect3D.h"

#include "framework/platform/video/BandPool.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <thread>
#include <utility>

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

} // namespace
// --- Textures ----------------------------------------------------------------------------------

SoftTexture::SoftTexture(int width, int height, const TextureFormat& format)
    : mWidth(width), mHeight(height), mPitch(width * ((format.bitCount + 7) / 8)), mFormat(format),
      mPixels(static_cast<size_t>(mPitch) * static_cast<size_t>(height)),
      mArgb(static_cast<size_t>(width) * static_cast<size_t>(height))
{
    Decode();
}

void SoftTexture::FinishPendingDraw() const
{
    if (const auto pending = mPendingDraw.lock())
        pending->Finish();
}

HResult SoftTexture::Lock(uint8_t** pixels, int* pitch)
{
    FinishPendingDraw();
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
    FinishPendingDraw();
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
    static std::atomic<uint64_t> generations{0};
    mGeneration = ++generations;
    if (mFormat == TextureFormat::A8R8G8B8() && !mArgb.empty())
    {
        std::memcpy(mArgb.data(), mPixels.data(), mArgb.size() * 4); // rows without padding, as 0xAARRGGBB words
        return;
    }
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

// The states a primitive is drawn with.
struct SoftDirect3DDevice::DrawState
{
    uint32_t renderStates[static_cast<int>(RenderState::Count)] = {};
    uint32_t stageStates[static_cast<int>(TextureStageState::Count)] = {};
    std::shared_ptr<SoftTexture> texture;
    D3DViewport viewport;

    [[nodiscard]] uint32_t Render(RenderState state) const { return renderStates[static_cast<int>(state)]; }
    [[nodiscard]] uint32_t Stage(TextureStageState state) const { return stageStates[static_cast<int>(state)]; }
    [[nodiscard]] bool Blending() const { return Render(RenderState::AlphaBlendEnable) != 0; }
    [[nodiscard]] bool operator==(const DrawState& other) const
    {
        const D3DViewport& a = viewport;
        const D3DViewport& b = other.viewport;
        return std::equal(std::begin(renderStates), std::end(renderStates), std::begin(other.renderStates)) &&
               std::equal(std::begin(stageStates), std::end(stageStates), std::begin(other.stageStates)) &&
               texture == other.texture && a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    }
    [[nodiscard]] bool Pair(uint32_t src, uint32_t dest) const
    {
        return Blending() && Render(RenderState::SrcBlend) == src && Render(RenderState::DestBlend) == dest;
    }
    // The shade of a run with a flat diffuse; positions are left to the caller.
    [[nodiscard]] SpanShade Shade(uint32_t diffuse) const
    {
        SpanShade shade;
        shade.diffuse = diffuse;
        shade.modulateAlpha = Stage(TextureStageState::AlphaOp) == kTopModulate;
        if (texture)
        {
            shade.texels = texture->ArgbRow(0);
            shade.width = texture->Width();
            shade.height = texture->Height();
            shade.linear = Stage(TextureStageState::MagFilter) == kFilterLinear;
        }
        return shade;
    }
};

// A recorded clear or primitive: its state, and its vertices in the recorded vertex list.
struct SoftDirect3DDevice::Command
{
    PrimitiveType type = PrimitiveType::TriangleList;
    bool clear = false;
    uint32_t color = 0;
    size_t state = 0;
    size_t first = 0;
    int count = 0;
    bool fastQuad = false; // a strip drawn by DrawFastQuad
    // The rows it may touch lie within [top - 1, bottom + 1].
    float top = -std::numeric_limits<float>::infinity(), bottom = std::numeric_limits<float>::infinity();

    [[nodiscard]] bool Misses(int bandTop, int bandBottom) const
    {
        return bottom + 1 < static_cast<float>(bandTop) || top - 1 > static_cast<float>(bandBottom);
    }
    [[nodiscard]] bool SameAs(const Command& other) const
    {
        return type == other.type && clear == other.clear && color == other.color && state == other.state &&
               first == other.first && count == other.count && fastQuad == other.fastQuad;
    }
    // Rows of the target it may touch.
    [[nodiscard]] float Rows(int height) const
    {
        return std::min(bottom + 1, static_cast<float>(height)) - std::max(top - 1, 0.0f);
    }
};

// The last scene finished in bands and, once leading commands of it came twice in a row, the
// target's pixels before them and after them (the pixels before matter only when those commands
// do not cover the target). The states hold their textures, so a texture's
// address is never reused while it is remembered; each texture's generation tells whether its
// texels changed.
struct SoftDirect3DDevice::SceneMemory
{
    std::vector<Command> commands;
    std::vector<DrawState> states;
    std::vector<uint64_t> generations;
    std::vector<D3DVertex> vertices;
    int width = 0, height = 0, pitch = 0;
    SurfaceFormat format;
    size_t kept = 0;                    // leading commands whose result `after` holds; 0: none
    std::vector<uint8_t> before, after; // the target around them
    bool covers = false;                // their result does not depend on the pixels before
    bool missed = false;                // the last recall met other pixels: the next keeps none

    [[nodiscard]] static size_t Bytes(const SurfaceDesc& desc)
    {
        return static_cast<size_t>(desc.pitch) * static_cast<size_t>(desc.height);
    }
    [[nodiscard]] static uint64_t GenerationOf(const DrawState& state)
    {
        return state.texture ? state.texture->Generation() : 0;
    }
    // How many leading commands of the scene draw what the remembered scene's drew: the same
    // commands with the same states, textures and vertices, bit for bit, on a target alike.
    [[nodiscard]] size_t SamePrefix(const std::vector<Command>& otherCommands,
                                    const std::vector<DrawState>& otherStates,
                                    const std::vector<D3DVertex>& otherVertices, const SurfaceDesc& desc) const
    {
        if (desc.width != width || desc.height != height || desc.pitch != pitch || !(desc.format == format))
            return 0;
        size_t statesSame = 0; // states [0, statesSame) compared equal
        const size_t count = std::min(commands.size(), otherCommands.size());
        for (size_t i = 0; i < count; ++i)
        {
            const Command& command = commands[i];
            if (!command.SameAs(otherCommands[i]))
                return i;
            // States are recorded in order, so a command's state and those before it are compared.
            for (; statesSame <= command.state; ++statesSame)
                if (statesSame >= otherStates.size() || !(states[statesSame] == otherStates[statesSame]) ||
                    generations[statesSame] != GenerationOf(otherStates[statesSame]))
                    return i;
            if (command.count > 0 &&
                (command.first + static_cast<size_t>(command.count) > otherVertices.size() ||
                 std::memcmp(vertices.data() + command.first, otherVertices.data() + command.first,
                             static_cast<size_t>(command.count) * sizeof(D3DVertex)) != 0))
                return i;
        }
        return count;
    }
    // Remembers a new scene; the pixels kept for the old one go.
    void Replace(const std::vector<Command>& newCommands, const std::vector<DrawState>& newStates,
                 const std::vector<D3DVertex>& newVertices, const SurfaceDesc& desc)
    {
        commands = newCommands;
        states = newStates;
        generations.clear();
        for (const DrawState& state : states)
            generations.push_back(GenerationOf(state));
        vertices = newVertices;
        width = desc.width;
        height = desc.height;
        pitch = desc.pitch;
        format = desc.format;
        kept = 0;
        covers = false;
        before.clear();
        after.clear();
    }
    void KeepAfter(const SurfaceDesc& desc, size_t commandsDrawn)
    {
        after.assign(desc.pixels, desc.pixels + Bytes(desc));
        kept = commandsDrawn;
    }
};

// What the target and the textures in use call on to finish the recorded drawing.
class SoftDirect3DDevice::Queue : public PendingDraw
{
public:
    explicit Queue(SoftDirect3DDevice* device) : mDevice(device) {}
    void Finish() override
    {
        if (mDevice != nullptr)
            mDevice->FinishDrawing();
    }
    void Detach() { mDevice = nullptr; }

private:
    SoftDirect3DDevice* mDevice;
};

namespace
{
// QUOLL_D3D_SCENE_MEMORY=off draws every scene (for comparisons).
bool SceneMemoryFromEnvironment()
{
    const char* value = std::getenv("QUOLL_D3D_SCENE_MEMORY");
    return value == nullptr || std::strcmp(value, "off") != 0;
}

int ThreadsFromEnvironment()
{
    const char* value = std::getenv("QUOLL_D3D_THREADS");
    if (value == nullptr)
        return 0;
    char* end = nullptr;
    const long threads = std::strtol(value, &end, 10);
    return end != value && *end == '\0' && threads > 0 ? static_cast<int>(std::min(threads, 64L)) : 0;
}

int ChooseThreads(int asked)
{
    if (asked > 0)
        return asked;
    if (const int forced = ThreadsFromEnvironment(); forced > 0)
        return forced;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1U, 8U));
}
} // namespace

// The locked render target, clipped to the viewport.
struct SoftDirect3DDevice::Target
{
    SoftSurface* surface = nullptr;
    uint8_t* pixels = nullptr;
    int pitch = 0;
    SurfaceFormat format;
    bool argb32 = false; // 0x00RRGGBB words
    int left = 0, top = 0, right = 0, bottom = 0;

    [[nodiscard]] uint32_t* Row32(int y) const
    {
        return reinterpret_cast<uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * pitch);
    }
    // The target cut to rows [bandTop, bandBottom).
    [[nodiscard]] Target Band(int bandTop, int bandBottom) const
    {
        Target band = *this;
        band.top = std::max(top, bandTop);
        band.bottom = std::min(bottom, bandBottom);
        return band;
    }

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

SoftDirect3DDevice::SoftDirect3DDevice(const D3DDeviceCaps& caps, std::shared_ptr<SoftSurface> target,
                                       int drawThreads)
    : mCaps(caps), mTarget(std::move(target)), mState(std::make_unique<DrawState>()),
      mFastSpans(!DefaultPlainWalk()), mKernels(&DefaultSpanKernels()), mQueue(std::make_shared<Queue>(this)),
      mMemory(SceneMemoryFromEnvironment() ? std::make_unique<SceneMemory>() : nullptr)
{
    auto& render = mState->renderStates;
    auto& stage = mState->stageStates;
    render[static_cast<int>(RenderState::SrcBlend)] = kBlendOne;
    render[static_cast<int>(RenderState::DestBlend)] = kBlendZero;
    render[static_cast<int>(RenderState::CullMode)] = kCullNone;
    stage[static_cast<int>(TextureStageState::MinFilter)] = kFilterPoint;
    stage[static_cast<int>(TextureStageState::MagFilter)] = kFilterPoint;
    stage[static_cast<int>(TextureStageState::MipFilter)] = kMipNone;
    stage[static_cast<int>(TextureStageState::AlphaOp)] = kTopSelectArg1;
    stage[static_cast<int>(TextureStageState::AddressU)] = kAddressClamp;
    stage[static_cast<int>(TextureStageState::AddressV)] = kAddressClamp;
    if (mTarget)
    {
        mState->viewport = {0, 0, mTarget->Width(), mTarget->Height(), 0.0f, 1.0f};
        mTarget->SetPendingDraw(mQueue);
    }
    SetDrawThreads(drawThreads);
}

SoftDirect3DDevice::~SoftDirect3DDevice()
{
    FinishDrawing();
    mQueue->Detach();
}

void SoftDirect3DDevice::SetFastQuads(bool on)
{
    FinishDrawing();
    mFastQuads = on;
    // A path chosen for comparison draws its scenes itself.
    if (mMemory)
        mMemory->Replace({}, {}, {}, {});
}

uint64_t SoftDirect3DDevice::FastQuadCount() const
{
    return mFastQuadCount;
}

void SoftDirect3DDevice::SetFastSpans(bool on)
{
    FinishDrawing();
    mFastSpans = on;
    // A path chosen for comparison draws its scenes itself.
    if (mMemory)
        mMemory->Replace({}, {}, {}, {});
}

void SoftDirect3DDevice::SetSpanKernels(const SpanKernels& kernels)
{
    FinishDrawing();
    mKernels = &kernels;
    // A path chosen for comparison draws its scenes itself.
    if (mMemory)
        mMemory->Replace({}, {}, {}, {});
}

void SoftDirect3DDevice::SetSceneMemory(bool on)
{
    FinishDrawing();
    mMemory = on ? std::make_unique<SceneMemory>() : nullptr;
}

void SoftDirect3DDevice::SetDrawThreads(int threads)
{
    FinishDrawing();
    mThreads = std::max(threads, 1);
    if (mPool && mPool->Threads() != mThreads)
        mPool.reset(); // the pool starts with the first scene drawn in bands
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
    mState->renderStates[static_cast<int>(state)] = value;
    mStateRecorded = false;
    return DD_OK;
}

uint32_t SoftDirect3DDevice::GetRenderState(RenderState state) const
{
    return state < RenderState::Count ? mState->Render(state) : 0;
}

HResult SoftDirect3DDevice::SetTextureStageState(int stage, TextureStageState state, uint32_t value)
{
    if (stage != 0 || state >= TextureStageState::Count)
        return DDERR_INVALIDPARAMS;
    mState->stageStates[static_cast<int>(state)] = value;
    mStateRecorded = false;
    return DD_OK;
}

uint32_t SoftDirect3DDevice::GetTextureStageState(TextureStageState state) const
{
    return state < TextureStageState::Count ? mState->Stage(state) : 0;
}

HResult SoftDirect3DDevice::SetViewport(const D3DViewport& viewport)
{
    if (viewport.width < 0 || viewport.height < 0)
        return DDERR_INVALIDPARAMS;
    mState->viewport = viewport;
    mStateRecorded = false;
    return DD_OK;
}

HResult SoftDirect3DDevice::GetViewport(D3DViewport* viewport) const
{
    if (viewport == nullptr)
        return DDERR_INVALIDPARAMS;
    *viewport = mState->viewport;
    return DD_OK;
}

HResult SoftDirect3DDevice::SetRenderTarget(std::shared_ptr<SoftSurface> target)
{
    if (!target || (target->Caps() & kCaps3DDevice) == 0)
        return DDERR_INVALIDCAPS;
    const int bits = target->Format().bitCount;
    if (bits != 16 && bits != 24 && bits != 32)
        return DDERR_INVALIDPIXELFORMAT;
    FinishDrawing();
    mTarget = std::move(target);
    mTarget->SetPendingDraw(mQueue);
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
    return FinishDrawing();
}

HResult SoftDirect3DDevice::SetTexture(int stage, std::shared_ptr<SoftTexture> texture)
{
    if (stage != 0)
        return DDERR_INVALIDPARAMS;
    mState->texture = std::move(texture);
    mStateRecorded = false;
    return DD_OK;
}

HResult SoftDirect3DDevice::Clear(uint32_t flags, uint32_t color, float, uint32_t)
{
    if (!mTarget)
        return D3DERR_INVALID_DEVICE;
    if ((flags & kClearTarget) == 0)
        return DD_OK;
    return Record(PrimitiveType::TriangleList, nullptr, 0, true, color);
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
    if (mTarget->IsLocked())
        return DDERR_SURFACEBUSY;
    return Record(type, vertices, count, false, 0);
}

// Queues the command; with one thread (or outside a scene) it is drawn at once.
HResult SoftDirect3DDevice::Record(PrimitiveType type, const D3DVertex* vertices, int count, bool clear,
                                   uint32_t color)
{
    if (!mStateRecorded || mStates.empty())
    {
        if (mStates.empty() || !(mStates.back() == *mState))
            mStates.push_back(*mState);
        mStateRecorded = true;
        if (mState->texture)
            mState->texture->SetPendingDraw(mQueue);
    }
    Command command{type, clear, color, mStates.size() - 1, mVertices.size(), count};
    if (count > 0)
    {
        mVertices.insert(mVertices.end(), vertices, vertices + count);
        float top = vertices[0].y, bottom = vertices[0].y;
        for (int i = 1; i < count; ++i)
        {
            top = std::min(top, vertices[i].y);
            bottom = std::max(bottom, vertices[i].y);
        }
        if (std::isfinite(top) && std::isfinite(bottom))
            command.top = top, command.bottom = bottom;
    }
    if (type == PrimitiveType::TriangleStrip && count == 4 && mFastQuads && !clear &&
        DrawFastQuad(mStates[command.state], nullptr, vertices))
    {
        command.fastQuad = true;
        ++mFastQuadCount;
    }
    mCommands.push_back(command);
    return mThreads == 1 || !mInScene ? FinishDrawing() : DD_OK;
}

HResult SoftDirect3DDevice::FinishDrawing()
{
    if (mCommands.empty())
        return DD_OK;
    // Taken first: the target's lock below asks for the pending drawing again. The lists keep
    // their capacity from frame to frame.
    std::swap(mCommands, mDrawCommands);
    std::swap(mStates, mDrawStates);
    std::swap(mVertices, mDrawVertices);
    mStateRecorded = false;
    const std::vector<Command>& commands = mDrawCommands;
    const std::vector<DrawState>& states = mDrawStates;
    const std::vector<D3DVertex>& vertices = mDrawVertices;
    struct Done
    {
        SoftDirect3DDevice* device;
        ~Done()
        {
            for (const DrawState& state : device->mDrawStates)
                if (state.texture)
                    state.texture->SetPendingDraw({});
            device->mDrawCommands.clear();
            device->mDrawStates.clear();
            device->mDrawVertices.clear();
        }
    } done{this};
    if (!mTarget)
        return D3DERR_INVALID_DEVICE;
    SurfaceDesc desc;
    if (const HResult locked = mTarget->Lock(nullptr, &desc, kLockWait); Failed(locked))
        return locked;
    // The leading commands the scene memory puts back, and where it keeps the pixels this time.
    const auto [first, keepAt] = RecallPrefix(desc);
    const Target whole{mTarget.get(), desc.pixels, desc.pitch, desc.format, desc.format == SurfaceFormat::X8R8G8B8(),
                       0, 0, desc.width, desc.height};
    auto drawCommands = [&](size_t from, size_t to) {
        auto drawBand = [&](int bandTop, int bandBottom) {
            for (size_t i = from; i < to; ++i)
            {
                const Command& command = commands[i];
                if (command.Misses(bandTop, bandBottom))
                    continue;
                const DrawState& state = states[command.state];
                const D3DViewport& view = state.viewport;
                Target target = whole.Band(bandTop, bandBottom);
                target.left = std::max(view.x, 0);
                target.top = std::max({view.y, 0, target.top});
                target.right = std::min(view.x + view.width, desc.width);
                target.bottom = std::min(view.y + view.height, target.bottom);
                Execute(state, command, vertices.data(), target);
            }
        };
        if (from >= to)
            return;
        if (mThreads == 1)
        {
            drawBand(0, desc.height);
            return;
        }
        if (!mPool)
            mPool = std::make_unique<BandPool>(mThreads);
        // Four bands a thread, taken in turn, so that a thread held up elsewhere delays little.
        const int bands = std::min(mThreads * 4, std::max(desc.height, 1));
        mPool->Run(bands, [&](int band) {
            drawBand(desc.height * band / bands, desc.height * (band + 1) / bands);
        });
    };
    if (keepAt > 0)
    {
        // Whether the kept commands' pixels depend on the pixels under them (a background that
        // covers the target opaquely does not): drawn over a target of all bits clear and over
        // one of all bits set. Every blend is monotonic in each channel of the pixel under it, so
        // two equal results mean equal results over any pixels.
        SceneMemory& memory = *mMemory;
        const size_t bytes = SceneMemory::Bytes(desc);
        std::memset(desc.pixels, 0x00, bytes);
        drawCommands(0, keepAt);
        memory.after.assign(desc.pixels, desc.pixels + bytes);
        std::memset(desc.pixels, 0xFF, bytes);
        drawCommands(0, keepAt);
        memory.covers = std::memcmp(desc.pixels, memory.after.data(), bytes) == 0;
        if (!memory.covers)
        {
            std::memcpy(desc.pixels, memory.before.data(), bytes);
            drawCommands(0, keepAt);
        }
        memory.KeepAfter(desc, keepAt);
    }
    drawCommands(std::max(first, keepAt), commands.size());
    mTarget->Unlock(nullptr);
    return DD_OK;
}

std::pair<size_t, size_t> SoftDirect3DDevice::RecallPrefix(const SurfaceDesc& desc)
{
    if (!mMemory || mThreads == 1 || desc.pixels == nullptr || desc.pitch <= 0)
        return {0, 0};
    SceneMemory& memory = *mMemory;
    const size_t same = memory.SamePrefix(mDrawCommands, mDrawStates, mDrawVertices, desc);
    if (memory.kept > 0 && memory.kept <= same)
    {
        const size_t bytes = SceneMemory::Bytes(desc);
        if (memory.covers || std::memcmp(desc.pixels, memory.before.data(), bytes) == 0)
        {
            std::memcpy(desc.pixels, memory.after.data(), bytes);
            ++mRecalledScenes;
            return {memory.kept, 0};
        }
        // Other pixels under the same commands: they are drawn, and kept again the time after
        // next, so that pixels that keep changing cost a copy only every other scene.
        memory.missed = true;
    }
    memory.Replace(mDrawCommands, mDrawStates, mDrawVertices, desc);
    // Leading commands that came twice in a row are kept when comparing and copying the target
    // (about the cost of drawing a screenful of rows) is cheaper than drawing them.
    float rows = 0;
    for (size_t i = 0; i < same; ++i)
        rows += mDrawCommands[i].Rows(desc.height);
    if (same == 0 || std::exchange(memory.missed, false) || rows < static_cast<float>(desc.height))
        return {0, 0};
    memory.before.assign(desc.pixels, desc.pixels + SceneMemory::Bytes(desc));
    return {0, same};
}

void SoftDirect3DDevice::Execute(const DrawState& state, const Command& command, const D3DVertex* vertices,
                                 Target& target) const
{
    const D3DVertex* v = vertices + command.first;
    const int count = command.count;
    if (command.clear)
    {
        for (int y = target.top; y < target.bottom; ++y)
            for (int x = target.left; x < target.right; ++x)
                target.Write(x, y, command.color);
        return;
    }
    switch (command.type)
    {
    case PrimitiveType::LineStrip:
        for (int i = 0; i + 1 < count; ++i)
            DrawLine(state, target, v[i], v[i + 1]);
        break;
    case PrimitiveType::TriangleList:
        for (int i = 0; i + 2 < count; i += 3)
            DrawTriangle(state, target, v[i], v[i + 1], v[i + 2]);
        break;
    case PrimitiveType::TriangleStrip:
        if (command.fastQuad)
        {
            DrawFastQuad(state, &target, v);
            break;
        }
        for (int i = 0; i + 2 < count; ++i)
            DrawTriangle(state, target, v[i], v[i + 1], v[i + 2]);
        break;
    case PrimitiveType::TriangleFan:
        for (int i = 1; i + 1 < count; ++i)
            DrawTriangle(state, target, v[0], v[i], v[i + 1]);
        break;
    }
}

// --- Plotting ------------------------------------------------------------------------------------

void SoftDirect3DDevice::Plot(const DrawState& state, const Target& target, int x, int y, uint32_t argb) const
{
    if (!state.Blending())
    {
        target.Write(x, y, argb);
        return;
    }
    uint32_t out = 0;
    switch (BlendPixel(argb, state.Render(RenderState::SrcBlend), state.Render(RenderState::DestBlend),
                       target.Read(x, y), out))
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

bool SoftDirect3DDevice::RowBlend(const DrawState& state, SpanBlend& blend) const
{
    if (!state.Blending())
        blend = SpanBlend::Replace;
    else if (state.Pair(kBlendSrcAlpha, kBlendInvSrcAlpha))
        blend = SpanBlend::Normal;
    else if (state.Pair(kBlendSrcAlpha, kBlendOne))
        blend = SpanBlend::Additive;
    else
        return false;
    return true;
}

bool SoftDirect3DDevice::BlendRow(const DrawState& state, uint32_t* dest, const uint32_t* colours, int count) const
{
    SpanBlend blend = SpanBlend::Replace;
    if (!RowBlend(state, blend))
        return false;
    if (blend == SpanBlend::Replace)
        mKernels->replace(dest, colours, count);
    else if (blend == SpanBlend::Normal)
        mKernels->normal(dest, colours, count);
    else
        mKernels->additive(dest, colours, count);
    return true;
}

void SoftDirect3DDevice::DrawSpan(const DrawState& state, const Target& target, int y, int x, const SpanShade& shade,
                                  int64_t first, int count) const
{
    // A 32-bit target under one of the row kernels' blends: shaded and blended in one pass.
    SpanBlend blend = SpanBlend::Replace;
    if (target.argb32 && RowBlend(state, blend))
    {
        mKernels->shadeBlend(shade, first, count, target.Row32(y) + x, blend);
        return;
    }
    constexpr int kChunk = 256;
    uint32_t colours[kChunk];
    for (int done = 0; done < count;)
    {
        const int n = std::min(kChunk, count - done);
        mKernels->shade(shade, first + done, n, colours);
        const int at = x + done;
        for (int i = 0; i < n; ++i)
            Plot(state, target, at + i, y, colours[i]);
        done += n;
    }
}

// --- Triangles -------------------------------------------------------------------------------------

namespace
{
constexpr double kFixedOne = 65536.0;

// A value in the kernels' fixed-point form, kept within +-2^50 (NaN reads as 0) so that stepping
// along a row cannot overflow.
int64_t ToFixed(double value)
{
    constexpr double kLimit = 1125899906842624.0; // 2^50
    if (!(value > -kLimit))
        return value < 0 ? -static_cast<int64_t>(kLimit) : 0;
    if (!(value < kLimit))
        return static_cast<int64_t>(kLimit);
    // Halves round up (llround would round them away from zero, at the cost of a library call).
    const double shifted = value + 0.5;
    const auto truncated = static_cast<int64_t>(shifted);
    return static_cast<double>(truncated) > shifted ? truncated - 1 : truncated;
}

// A step in the same form, within +-2^40.
int64_t ToFixedStep(double value)
{
    constexpr double kLimit = 1099511627776.0; // 2^40
    return ToFixed(std::clamp(value, -kLimit, kLimit));
}

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
} // namespace

void SoftDirect3DDevice::DrawTriangle(const DrawState& state, const Target& target, const D3DVertex& a,
                                      const D3DVertex& b0, const D3DVertex& c0) const
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
    // 2. The pixel box, clipped to the viewport (and the band).
    const int minX = static_cast<int>(std::max<int64_t>(CeilPixel(std::min({ax, bx, cx})), target.left));
    const int maxX = static_cast<int>(std::min<int64_t>(std::max({ax, bx, cx}) >> kSubPixelBits, target.right - 1));
    const int minY = static_cast<int>(std::max<int64_t>(CeilPixel(std::min({ay, by, cy})), target.top));
    const int maxY = static_cast<int>(std::min<int64_t>(std::max({ay, by, cy}) >> kSubPixelBits, target.bottom - 1));
    if (minX > maxX || minY > maxY)
        return;
    // 3. Attribute planes in pixel units: texel positions, and the diffuse channels unless flat.
    const double x0 = static_cast<double>(ax) / kSubPixel, y0 = static_cast<double>(ay) / kSubPixel;
    const double ex1 = static_cast<double>(bx - ax) / kSubPixel, ey1 = static_cast<double>(by - ay) / kSubPixel;
    const double ex2 = static_cast<double>(cx - ax) / kSubPixel, ey2 = static_cast<double>(cy - ay) / kSubPixel;
    const double pixelArea = ex1 * ey2 - ex2 * ey1;
    SpanShade shade = state.Shade(a.diffuse);
    const double texW = shade.width, texH = shade.height;
    const Plane pu = MakePlane(a.u * texW, b->u * texW, c->u * texW, ex1, ey1, ex2, ey2, pixelArea);
    const Plane pv = MakePlane(a.v * texH, b->v * texH, c->v * texH, ex1, ey1, ex2, ey2, pixelArea);
    shade.gouraud = a.diffuse != b->diffuse || a.diffuse != c->diffuse;
    Plane pc[4];
    if (shade.gouraud)
        for (int i = 0; i < 4; ++i)
            pc[i] = MakePlane(Channel(a.diffuse, i * 8), Channel(b->diffuse, i * 8), Channel(c->diffuse, i * 8), ex1,
                              ey1, ex2, ey2, pixelArea);
    shade.du = ToFixedStep(pu.dx * kFixedOne);
    shade.dv = ToFixedStep(pv.dx * kFixedOne);
    for (int i = 0; i < 4; ++i)
        shade.dc[i] = ToFixedStep(pc[i].dx * kFixedOne);
    // Every row's values start at the box's left column (which no band moves) and step per pixel.
    auto startRow = [&](int y) {
        if (shade.texels != nullptr)
        {
            shade.u = ToFixed(pu.At(minX, y, x0, y0) * kFixedOne);
            shade.v = ToFixed(pv.At(minX, y, x0, y0) * kFixedOne);
        }
        if (shade.gouraud)
            for (int i = 0; i < 4; ++i)
                shade.c[i] = ToFixed(pc[i].At(minX, y, x0, y0) * kFixedOne);
    };
    // 4. Walk the box row by row; a pixel is inside when every edge function passes its fill rule.
    const Edge e0(ax, ay, bx, by), e1(bx, by, cx, cy), e2(cx, cy, ax, ay);
    const int64_t step0 = -e0.dy << kSubPixelBits, step1 = -e1.dy << kSubPixelBits, step2 = -e2.dy << kSubPixelBits;
    const int64_t firstX = static_cast<int64_t>(minX) << kSubPixelBits;
    for (int y = minY; y <= maxY; ++y)
    {
        const int64_t py = static_cast<int64_t>(y) << kSubPixelBits;
        const int64_t w0 = e0.At(firstX, py) - e0.bias, w1 = e1.At(firstX, py) - e1.bias, w2 = e2.At(firstX, py) - e2.bias;
        if (!mFastSpans)
        {
            // The plain walk: every pixel of the box tested, shaded and plotted on its own.
            startRow(y);
            for (int k = 0; k <= maxX - minX; ++k)
                if (((w0 + k * step0) | (w1 + k * step1) | (w2 + k * step2)) >= 0)
                    Plot(state, target, minX + k, y, ShadeSpanPixel(shade, k));
            continue;
        }
        // The row's inside span, found from the edge values at its start.
        int64_t first = 0, last = maxX - minX;
        if (!ClipSpan(w0, step0, first, last) || !ClipSpan(w1, step1, first, last) || !ClipSpan(w2, step2, first, last))
            continue;
        startRow(y);
        DrawSpan(state, target, y, minX + static_cast<int>(first), shade, first, static_cast<int>(last - first + 1));
    }
}

// A strip of four corners (top-left, top-right, bottom-left, bottom-right in any mirror) with one
// colour and, when textured, one texel per pixel: drawn texel row by texel row with the row
// kernels. The texel each pixel takes is the one the general path samples, since the alignment
// checked here keeps every sample position far from a rounding edge of the kernels' fixed point.
bool SoftDirect3DDevice::DrawFastQuad(const DrawState& state, const Target* targetOrNull, const D3DVertex* v) const
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
    const uint32_t diffuse = v[0].diffuse;
    const SoftTexture* texture = state.texture.get();
    // Texel alignment: one texel per pixel, increasing with x and y, centres on pixel centres.
    int kx = 0, jy = 0;
    if (texture != nullptr)
    {
        const double width = static_cast<double>(right - left) / kSubPixel;
        const double height = static_cast<double>(bottom - top) / kSubPixel;
        const double uLeft = flipX ? v[1].u : v[0].u, uRight = flipX ? v[0].u : v[1].u;
        const double vTop = flipY ? v[2].v : v[0].v, vBottom = flipY ? v[0].v : v[2].v;
        const double texW = texture->Width(), texH = texture->Height();
        constexpr double kTolerance = 1.0 / 4096;
        if (std::abs((uRight - uLeft) * texW - width) > kTolerance ||
            std::abs((vBottom - vTop) * texH - height) > kTolerance)
            return false;
        // Where the texture's columns and rows fall, from the quad's edges (not the band's).
        const double leftEdge = static_cast<double>(left) / kSubPixel, topEdge = static_cast<double>(top) / kSubPixel;
        const int firstX = static_cast<int>(CeilPixel(left)), firstY = static_cast<int>(CeilPixel(top));
        const double s0 = uLeft * texW + (firstX - leftEdge), t0 = vTop * texH + (firstY - topEdge);
        const double k0 = std::floor(s0), j0 = std::floor(t0);
        if (std::abs(s0 - k0 - 0.5) > kTolerance || std::abs(t0 - j0 - 0.5) > kTolerance)
            return false;
        kx = static_cast<int>(k0) - firstX;
        jy = static_cast<int>(j0) - firstY;
    }
    if (targetOrNull == nullptr)
        return true;
    const Target& target = *targetOrNull;
    const int x0 = static_cast<int>(std::max<int64_t>(CeilPixel(left), target.left));
    const int x1 = static_cast<int>(std::min<int64_t>(CeilPixel(right), target.right));
    const int y0 = static_cast<int>(std::max<int64_t>(CeilPixel(top), target.top));
    const int y1 = static_cast<int>(std::min<int64_t>(CeilPixel(bottom), target.bottom));
    if (x0 >= x1)
        return true;
    const bool modulateAlpha = state.Stage(TextureStageState::AlphaOp) == kTopModulate;
    const bool modulate = texture != nullptr && diffuse != 0xFFFFFFFF;
    constexpr int kChunk = 256;
    uint32_t texels[kChunk], colours[kChunk];
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; x += kChunk)
        {
            const int n = std::min(kChunk, x1 - x);
            const uint32_t* row = colours;
            if (texture == nullptr)
                std::fill_n(colours, n, diffuse);
            else if (kx + x >= 0 && jy + y >= 0 && kx + x + n <= texture->Width() && jy + y < texture->Height())
                row = texture->ArgbRow(jy + y) + kx + x;
            else
            {
                for (int i = 0; i < n; ++i)
                    colours[i] = texture->TexelArgb(kx + x + i, jy + y);
            }
            if (modulate)
            {
                if (row == colours)
                    row = std::copy_n(colours, n, texels) - n;
                mKernels->modulate(row, diffuse, modulateAlpha, n, colours);
                row = colours;
            }
            if (!target.argb32 || !BlendRow(state, target.Row32(y) + x, row, n))
                for (int i = 0; i < n; ++i)
                    Plot(state, target, x + i, y, row[i]);
        }
    return true;
}

// --- Lines -----------------------------------------------------------------------------------------

// The pixels whose centres the segment passes along its major axis, the last one excluded.
void SoftDirect3DDevice::DrawLine(const DrawState& state, const Target& target, const D3DVertex& a,
                                  const D3DVertex& b) const
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
        SpanShade shade = state.Shade(diffuse);
        if (shade.texels != nullptr)
        {
            shade.u = ToFixed((a.u + t * (b.u - a.u)) * shade.width * kFixedOne);
            shade.v = ToFixed((a.v + t * (b.v - a.v)) * shade.height * kFixedOne);
        }
        Plot(state, target, x, y, ShadeSpanPixel(shade, 0));
    }
}

// --- The 3D object -----------------------------------------------------------------------------------

HResult SoftDirect3D::CreateDevice(std::shared_ptr<SoftSurface> target, std::shared_ptr<SoftDirect3DDevice>& out)
{
    out.reset();
    auto device = std::make_shared<SoftDirect3DDevice>(mSettings.caps, nullptr, ChooseThreads(mSettings.drawThreads));
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
