#pragma once
// A software stand-in for the part of Direct3D that the 3D renderer and the display test use.
//
// Supports: a 3D object (SoftDirect3D) that makes managed textures in A8R8G8B8, A4R4G4B4, R5G6B5
// and 8-bit palettised with an alpha palette, enumerates the formats its settings list, and
// creates a device on a surface made with kCaps3DDevice; the device (SoftDirect3DDevice)
// with capabilities (texture size limits and aspect, configurable), render and texture-stage
// states, viewport, clear, render target, begin and end of scene with their errors, and
// DrawPrimitive of triangle strips, fans, lists and line strips of pre-transformed, lit vertices.
//
// Rasterisation: pixel centres at integer coordinates, top-left fill rule (vertices snapped to
// 1/256 pixel), colour = texel x diffuse (untextured: diffuse), affine interpolation, point or
// bilinear sampling with clamping (sample positions quantised to 1/256 texel), the blend pairs
// source-alpha/inverse-source-alpha, source-alpha/one and one/one, saturating; render targets in
// 32-bit, 24-bit and 16-bit formats of any masks. A fast path for axis-aligned, texel-aligned
// quads (most 2D work) gives the same pixels as the general path; SetFastQuads(false) turns it
// off for comparison. Triangle rows are walked over their inside span only and shaded and blended
// by the row kernels (SpanKernels.h: plain, SSE2 or AVX2, all with the same pixels);
// SetFastSpans(false) gives the plain per-pixel walk.
//
// Bands: with more than one drawing thread, a scene's clears and primitives are recorded and
// drawn at the end of the scene (or as soon as the target or a texture they use is touched) into
// horizontal bands on a persistent pool of threads, each band in submission order, so that the
// pixels do not depend on the number of threads. Threads: the settings' drawThreads, or
// QUOLL_D3D_THREADS, or the hardware's count capped at 8; 1 draws at once on the calling thread.
// The leading commands of a scene drawn in bands that repeat the previous scene's over the same
// pixels are put back from memory rather than drawn (SetSceneMemory), so an idle screen costs a
// compare and a copy.
// Fakes: no Z buffer, no lighting, no perspective (rhw is ignored), one texture stage.
#include "framework/platform/video/SoftDirectDraw.h"
#include "framework/platform/video/SpanKernels.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace Quoll::Platform
{
inline constexpr HResult D3DERR_INVALIDPRIMITIVETYPE = static_cast<HResult>(0x8876080DU);
inline constexpr HResult D3DERR_INVALIDVERTEXTYPE = static_cast<HResult>(0x88760811U);
inline constexpr HResult D3DERR_INVALID_DEVICE = static_cast<HResult>(0x88760812U);
inline constexpr HResult D3DERR_NOTINBEGIN = static_cast<HResult>(0x8876081FU);
inline constexpr HResult D3DERR_SCENE_IN_SCENE = static_cast<HResult>(0x88760824U);
inline constexpr HResult D3DERR_SCENE_NOT_IN_SCENE = static_cast<HResult>(0x88760825U);
inline constexpr HResult D3DERR_TEXTURE_LOCKED = static_cast<HResult>(0x8876082EU);
inline constexpr HResult D3DERR_TEXTURE_NOT_LOCKED = static_cast<HResult>(0x88760830U);
inline constexpr HResult D3DERR_TEXTURE_NO_SUPPORT = static_cast<HResult>(0x88760831U);
inline constexpr HResult D3DERR_UNSUPPORTEDFACTORVALUE = static_cast<HResult>(0x8876083AU);

// The one vertex layout: position, rhw, diffuse, specular, one texture coordinate pair.
inline constexpr uint32_t kFvfTLVertex = 452;

struct D3DVertex
{
    float x = 0, y = 0, z = 0, rhw = 1.0f;
    uint32_t diffuse = 0xFFFFFFFF; // 0xAARRGGBB
    uint32_t specular = 0;
    float u = 0, v = 0;
};
static_assert(sizeof(D3DVertex) == 32);

enum class PrimitiveType
{
    LineStrip = 3,
    TriangleList = 4,
    TriangleStrip = 5,
    TriangleFan = 6,
};

enum class RenderState
{
    AlphaBlendEnable,
    SrcBlend,
    DestBlend,
    Lighting,
    DitherEnable,
    SpecularEnable,
    ZWriteEnable,
    ZEnable,
    CullMode,
    Count,
};

enum class TextureStageState
{
    MinFilter,
    MagFilter,
    MipFilter,
    AlphaOp,
    AddressU,
    AddressV,
    Count,
};

// Values of the states above.
enum : uint32_t
{
    kBlendZero = 1,
    kBlendOne = 2,
    kBlendSrcAlpha = 5,
    kBlendInvSrcAlpha = 6,
    kCullNone = 1,
    kFilterPoint = 1,
    kFilterLinear = 2,
    kMipNone = 1,
    kTopModulate = 4,
    kTopSelectArg1 = 2,
    kAddressClamp = 3,
    kClearTarget = 1,
};

// A texture pixel format (with alpha mask); flags as the display code names them.
enum : uint32_t
{
    kPfAlphaPixels = 0x1,
    kPfPaletteIndexed8 = 0x20,
    kPfRgb = 0x40,
    kPfZBuffer = 0x400,
};

struct TextureFormat
{
    uint32_t flags = 0;
    int bitCount = 0;
    uint32_t alphaMask = 0, redMask = 0, greenMask = 0, blueMask = 0;
    bool operator==(const TextureFormat&) const = default;

    static TextureFormat A8R8G8B8() { return {kPfRgb | kPfAlphaPixels, 32, 0xFF000000, 0xFF0000, 0xFF00, 0xFF}; }
    static TextureFormat A4R4G4B4() { return {kPfRgb | kPfAlphaPixels, 16, 0xF000, 0xF00, 0xF0, 0xF}; }
    static TextureFormat R5G6B5() { return {kPfRgb, 16, 0, 0xF800, 0x7E0, 0x1F}; }
    static TextureFormat Palette8() { return {kPfRgb | kPfPaletteIndexed8, 8, 0, 0, 0, 0}; }
};

struct D3DDeviceCaps
{
    int minTextureWidth = 1, minTextureHeight = 1;
    int maxTextureWidth = 2048, maxTextureHeight = 2048;
    int maxTextureAspectRatio = 0; // 0: no limit
    bool alphaPalette = true;      // palettised textures may carry alpha
};

// What the stand-in device offers; tests change it to imitate other cards.
struct SoftDirect3DSettings
{
    D3DDeviceCaps caps;
    // The formats the device enumerates. All four can be made; R5G6B5 is left out of the list
    // by default, so that opaque images keep their full colour as they do on the 2D path.
    std::vector<TextureFormat> textureFormats = {TextureFormat::A8R8G8B8(), TextureFormat::A4R4G4B4(),
                                                 TextureFormat::Palette8()};
    bool hasDirect3D = true; // false: the DirectDraw object offers no 3D interface
    int drawThreads = 0;     // threads drawing a scene's bands; 0: QUOLL_D3D_THREADS or the hardware's
    int driverYear = 2026;   // the year the stand-in's driver file was written
};

struct D3DViewport
{
    int x = 0, y = 0, width = 0, height = 0;
    float minZ = 0.0f, maxZ = 1.0f;
};

class BandPool;

class SoftTexture
{
public:
    SoftTexture(int width, int height, const TextureFormat& format);
    // Fills pixels and pitch; a locked texture answers D3DERR_TEXTURE_LOCKED.
    HResult Lock(uint8_t** pixels, int* pitch);
    HResult Unlock();
    HResult SetPalette(std::shared_ptr<SoftPalette> palette);
    [[nodiscard]] const std::shared_ptr<SoftPalette>& GetPalette() const { return mPalette; }
    [[nodiscard]] int Width() const { return mWidth; }
    [[nodiscard]] int Height() const { return mHeight; }
    [[nodiscard]] const TextureFormat& Format() const { return mFormat; }
    // The texel as 0xAARRGGBB (clamped coordinates).
    [[nodiscard]] uint32_t TexelArgb(int x, int y) const;
    // Rows of 0xAARRGGBB texels, rebuilt after every unlock; the rasteriser samples these.
    [[nodiscard]] const uint32_t* ArgbRow(int y) const { return mArgb.data() + static_cast<size_t>(y) * mWidth; }
    // The queue whose drawing a lock or a new palette waits for.
    void SetPendingDraw(std::weak_ptr<PendingDraw> pending) { mPendingDraw = std::move(pending); }
    // Changes whenever the texels sampled change; never the same for two textures.
    [[nodiscard]] uint64_t Generation() const { return mGeneration; }

private:
    void FinishPendingDraw() const;
    void Decode();
    uint64_t mGeneration = 0;
    int mWidth, mHeight, mPitch;
    TextureFormat mFormat;
    std::vector<uint8_t> mPixels;
    std::vector<uint32_t> mArgb;
    std::shared_ptr<SoftPalette> mPalette;
    std::weak_ptr<PendingDraw> mPendingDraw;
    bool mLocked = false;
};

class SoftDirect3DDevice
{
public:
    SoftDirect3DDevice(const D3DDeviceCaps& caps, std::shared_ptr<SoftSurface> target, int drawThreads = 1);
    ~SoftDirect3DDevice();
    SoftDirect3DDevice(const SoftDirect3DDevice&) = delete;
    SoftDirect3DDevice& operator=(const SoftDirect3DDevice&) = delete;

    HResult GetCaps(D3DDeviceCaps* caps) const;
    HResult SetRenderState(RenderState state, uint32_t value);
    [[nodiscard]] uint32_t GetRenderState(RenderState state) const;
    HResult SetTextureStageState(int stage, TextureStageState state, uint32_t value);
    [[nodiscard]] uint32_t GetTextureStageState(TextureStageState state) const;
    HResult SetViewport(const D3DViewport& viewport);
    HResult GetViewport(D3DViewport* viewport) const;
    // Fills the viewport of the target with an 0xAARRGGBB colour.
    HResult Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil);
    HResult SetRenderTarget(std::shared_ptr<SoftSurface> target);
    HResult BeginScene();
    HResult EndScene();
    HResult SetTexture(int stage, std::shared_ptr<SoftTexture> texture);
    HResult DrawPrimitive(PrimitiveType type, uint32_t vertexFormat, const D3DVertex* vertices, int count,
                          uint32_t flags);

    [[nodiscard]] bool InScene() const { return mInScene; }
    [[nodiscard]] const std::shared_ptr<SoftSurface>& RenderTarget() const { return mTarget; }
    // Turns the fast quad path on or off (off: every triangle takes the general path).
    void SetFastQuads(bool on);
    // Quads taken by the fast path.
    [[nodiscard]] uint64_t FastQuadCount() const;
    // Turns the triangle span loops on or off (off: every pixel of a triangle's box is tested,
    // shaded and plotted on its own).
    void SetFastSpans(bool on);
    // The row kernels in use (tests compare the sets).
    void SetSpanKernels(const SpanKernels& kernels);
    // Threads (and bands) drawing a scene; 1 draws every primitive at once on the calling thread.
    void SetDrawThreads(int threads);
    [[nodiscard]] int DrawThreads() const { return mThreads; }
    // Draws what the scene has recorded so far (the target's lock failure is answered).
    HResult FinishDrawing();
    // Leading commands of a scene drawn in bands that repeat the previous scene's over the same
    // target pixels (an idle screen, or a still background under moving sprites, redrawn) are
    // not drawn again when they cover a screenful of rows or more: the pixels they gave are put
    // back. On by default (QUOLL_D3D_SCENE_MEMORY=off turns it off); off draws every command
    // (tests compare the two).
    void SetSceneMemory(bool on);
    // Scenes whose leading commands (or all) were put back from memory instead of drawn.
    [[nodiscard]] uint64_t RecalledScenes() const { return mRecalledScenes; }

private:
    struct Target;
    struct DrawState;
    struct Command;
    struct SceneMemory;
    class Queue;
    HResult Record(PrimitiveType type, const D3DVertex* vertices, int count, bool clear, uint32_t color);
    // For the scene being finished, with its target locked: the number of leading commands whose
    // pixels the scene memory put back, and the number after which it wants the pixels kept
    // (0: none).
    std::pair<size_t, size_t> RecallPrefix(const SurfaceDesc& desc);
    void Execute(const DrawState& state, const Command& command, const D3DVertex* vertices, Target& target) const;
    void DrawTriangle(const DrawState& state, const Target& target, const D3DVertex& a, const D3DVertex& b,
                      const D3DVertex& c) const;
    void DrawLine(const DrawState& state, const Target& target, const D3DVertex& a, const D3DVertex& b) const;
    // A strip of four vertices that is an aligned quad: drawn into the target, or only checked
    // when the target is null.
    bool DrawFastQuad(const DrawState& state, const Target* target, const D3DVertex* v) const;
    // Shades a run of a row (pixels first to first + count - 1 of the shade) into the target.
    void DrawSpan(const DrawState& state, const Target& target, int y, int x, const SpanShade& shade, int64_t first,
                  int count) const;
    // The row kernels' blend for the state (Plot's rules), false when its pair has none.
    bool RowBlend(const DrawState& state, SpanBlend& blend) const;
    // Blends colours into the row of a 32-bit target; false when the state's pair has no row
    // kernel.
    bool BlendRow(const DrawState& state, uint32_t* dest, const uint32_t* colours, int count) const;
    void Plot(const DrawState& state, const Target& target, int x, int y, uint32_t argb) const;

    D3DDeviceCaps mCaps;
    std::shared_ptr<SoftSurface> mTarget;
    std::unique_ptr<DrawState> mState;
    bool mInScene = false;
    bool mFastQuads = true;
    bool mFastSpans = true;
    const SpanKernels* mKernels;
    uint64_t mFastQuadCount = 0;
    // Recording for the bands.
    int mThreads = 1;
    std::unique_ptr<BandPool> mPool;
    std::shared_ptr<Queue> mQueue;
    std::vector<Command> mCommands;
    std::vector<DrawState> mStates;
    std::vector<D3DVertex> mVertices;
    // The lists being drawn (kept to reuse their memory).
    std::vector<Command> mDrawCommands;
    std::vector<DrawState> mDrawStates;
    std::vector<D3DVertex> mDrawVertices;
    bool mStateRecorded = false; // the current state is mStates.back()
    std::unique_ptr<SceneMemory> mMemory; // null while off
    uint64_t mRecalledScenes = 0;
};

// The 3D interface of a DirectDraw object.
class SoftDirect3D
{
public:
    explicit SoftDirect3D(SoftDirect3DSettings settings) : mSettings(std::move(settings)) {}

    // The surface must have been made with kCaps3DDevice and be 16, 24 or 32 bits per pixel.
    HResult CreateDevice(std::shared_ptr<SoftSurface> target, std::shared_ptr<SoftDirect3DDevice>& out);
    [[nodiscard]] const std::vector<TextureFormat>& EnumTextureFormats() const { return mSettings.textureFormats; }
    // The stand-in has no Z buffer formats.
    [[nodiscard]] std::vector<TextureFormat> EnumZBufferFormats() const { return {}; }
    // A managed texture in one of the four formats.
    HResult CreateTexture(int width, int height, const TextureFormat& format, std::shared_ptr<SoftTexture>& out);
    [[nodiscard]] const SoftDirect3DSettings& Settings() const { return mSettings; }

private:
    SoftDirect3DSettings mSettings;
};

// The 3D interface of a DirectDraw object (DDERR_UNSUPPORTED when the settings have none).
HResult QueryDirect3D(const SoftDirect3DSettings& settings, std::shared_ptr<SoftDirect3D>& out);

// The settings every new 3D object of the program takes; tests change them.
SoftDirect3DSettings& DefaultDirect3DSettings();
} // namespace Quoll::Platform
