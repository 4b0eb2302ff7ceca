#pragma once
// A software stand-in for the part of DirectDraw that the display code uses.
//
// Supports: a virtual video card (SoftVideoCard) with a desktop mode, a list of display modes,
// a refresh rate, reported video memory and a device identity; the DirectDraw object made from
// it (SoftDirectDraw) with cooperative levels, mode changes, surfaces, clippers and palettes;
// surfaces in system memory in 32-bit (both channel orders), 16-bit (5-6-5, 5-5-5 or other
// masks), 24-bit and 8-bit palette formats, with a pitch that may exceed width times bytes per
// pixel; lock and unlock (a second lock is refused as busy); blits (copy, nearest
// stretch, source colour key, colour fill, clipping to the window with a clipper, refusal of
// rectangles outside a surface without one); flip chains; a virtual scan line and vertical
// blank derived from the platform clock; fault injection (fail the n-th call of a kind with a
// given result).
//
// Fakes: "video memory" is system memory with a budget; the primary surface of a windowed
// display covers the desktop, and whatever lands on it inside the cooperative window's client
// area is shown through the window system's frame presenter (whole frames; the headless back
// end keeps the last one, the SDL back end shows it), always on the thread that attached the
// window system. A full-screen primary is shown whole.
// Limits: no overlays, no hardware 3D, no raster operations beyond copy and fill, one
// primary per card.
#include "framework/platform/window/WindowSystem.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Quoll::Platform
{
using HResult = int32_t;

// Results the stand-in returns. The values are this layer's own; the names are those that
// DXErrorName prints.
inline constexpr HResult DD_OK = 0;
inline constexpr HResult DDERR_UNSUPPORTED = static_cast<HResult>(0x80004001U);
inline constexpr HResult DDERR_GENERIC = static_cast<HResult>(0x80004005U);
inline constexpr HResult DDERR_OUTOFMEMORY = static_cast<HResult>(0x8007000EU);
inline constexpr HResult DDERR_INVALIDPARAMS = static_cast<HResult>(0x80070057U);
inline constexpr HResult DDERR_NOTINITIALIZED = static_cast<HResult>(0x800401F0U);
inline constexpr HResult DDERR_INVALIDPIXELFORMAT = static_cast<HResult>(0x88760091U);
inline constexpr HResult DDERR_VERTICALBLANKINPROGRESS = static_cast<HResult>(0x88760219U);
inline constexpr HResult DDERR_EXCLUSIVEMODEALREADYSET = static_cast<HResult>(0x88760410U);
inline constexpr HResult DDERR_INVALIDCAPS = static_cast<HResult>(0x88760417U);
inline constexpr HResult DDERR_INVALIDOBJECT = static_cast<HResult>(0x8876041BU);
inline constexpr HResult DDERR_INVALIDRECT = static_cast<HResult>(0x8876041FU);
inline constexpr HResult DDERR_NOCOLORKEY = static_cast<HResult>(0x8876042AU);
inline constexpr HResult DDERR_NOEXCLUSIVEMODE = static_cast<HResult>(0x88760432U);
inline constexpr HResult DDERR_NOHWND = static_cast<HResult>(0x88760436U);
inline constexpr HResult DDERR_NOPALETTEATTACHED = static_cast<HResult>(0x8876043CU);
inline constexpr HResult DDERR_NOTFLIPPABLE = static_cast<HResult>(0x88760448U);
inline constexpr HResult DDERR_NOTFOUND = static_cast<HResult>(0x88760449U);
inline constexpr HResult DDERR_NOTLOCKED = static_cast<HResult>(0x8876044CU);
inline constexpr HResult DDERR_OUTOFVIDEOMEMORY = static_cast<HResult>(0x88760453U);
inline constexpr HResult DDERR_PRIMARYSURFACEALREADYEXISTS = static_cast<HResult>(0x88760459U);
inline constexpr HResult DDERR_SURFACEBUSY = static_cast<HResult>(0x8876045DU);
inline constexpr HResult DDERR_SURFACELOST = static_cast<HResult>(0x8876045FU);
inline constexpr HResult DDERR_UNSUPPORTEDMODE = static_cast<HResult>(0x88760467U);

[[nodiscard]] inline bool Failed(HResult result) { return result < 0; }

// Every result name of the display, 3D and sound families, with the value this layer gives it.
struct ResultName
{
    HResult code;
    const char* name;
};
std::span<const ResultName> ResultNames();

// --- Flags, with the values the display code passes --------------------------------------
enum : uint32_t
{
    // Surface capabilities.
    kCapsBackBuffer = 0x4,
    kCapsComplex = 0x8,
    kCapsFlip = 0x10,
    kCapsOffscreenPlain = 0x40,
    kCapsPrimarySurface = 0x200,
    kCaps3DDevice = 0x2000,
    kCapsSystemMemory = 0x800,
    kCapsVideoMemory = 0x4000,
    // Which fields of a SurfaceDesc are given.
    kDescCaps = 0x1,
    kDescHeight = 0x2,
    kDescWidth = 0x4,
    kDescPitch = 0x8,
    kDescBackBufferCount = 0x20,
    kDescPixelFormat = 0x1000,
    // Cooperative levels.
    kCoopFullscreen = 0x1,
    kCoopNormal = 0x8,
    kCoopExclusive = 0x10,
    // Lock, blit, flip, colour key and vertical-blank flags.
    kLockWait = 0x1,
    kLockWriteOnly = 0x20,
    kBltColorFill = 0x400,
    kBltKeySrc = 0x8000,
    kBltWait = 0x1000000,
    kBltFxArithStretchY = 0x1,
    kFlipWait = 0x1,
    kColorKeySrcBlt = 0x8,
    kWaitVbBlockBegin = 0x1,
};

struct SurfaceFormat
{
    int bitCount = 32;
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0xFF00;
    uint32_t blueMask = 0xFF;

    [[nodiscard]] int BytesPerPixel() const { return (bitCount + 7) / 8; }
    bool operator==(const SurfaceFormat&) const = default;

    static SurfaceFormat X8R8G8B8() { return {32, 0xFF0000, 0xFF00, 0xFF}; }
    static SurfaceFormat X8B8G8R8() { return {32, 0xFF, 0xFF00, 0xFF0000}; }
    static SurfaceFormat R5G6B5() { return {16, 0xF800, 0x07E0, 0x001F}; }
    static SurfaceFormat X1R5G5B5() { return {16, 0x7C00, 0x03E0, 0x001F}; }
    static SurfaceFormat R8G8B8() { return {24, 0xFF0000, 0xFF00, 0xFF}; }
    static SurfaceFormat Palette8() { return {8, 0, 0, 0}; }
};

// Converts between a surface pixel value and 0xFFRRGGBB (channels scaled to 0..255 and
// rounded; narrowed by dropping low bits); palette formats go through the palette's entries.
uint32_t PixelToArgb(uint32_t pixel, const SurfaceFormat& format, const uint32_t* palette);
uint32_t ArgbToPixel(uint32_t argb, const SurfaceFormat& format);

struct SurfaceDesc
{
    uint32_t flags = 0; // kDesc*: which of the fields below are given
    int width = 0;
    int height = 0;
    int32_t pitch = 0; // bytes from one row to the next
    int backBufferCount = 0;
    uint8_t* pixels = nullptr; // set by Lock
    SurfaceFormat format;
    uint32_t caps = 0;
};

// Left, top inclusive; right, bottom exclusive.
struct SurfaceRect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    bool operator==(const SurfaceRect&) const = default;
};

struct BltFx
{
    uint32_t fxFlags = 0;   // kBltFx*
    uint32_t fillColor = 0; // a pixel value of the destination format
};

struct ColorKey
{
    uint32_t low = 0, high = 0;
};

struct DeviceIdentity
{
    std::string driver = "softdd";
    std::string description = "Quoll software display";
    uint32_t vendorId = 0x5155;
    uint32_t deviceId = 0x0001;
    uint32_t driverVersion = 0x00010000;
};

struct DisplayMode
{
    int width = 0, height = 0, bitCount = 0;
    bool operator==(const DisplayMode&) const = default;
};

// The operations faults can be injected into.
enum class SoftCall
{
    CreateDirectDraw,
    QueryInterface,
    SetCooperativeLevel,
    SetDisplayMode,
    CreateSurface,
    CreateClipper,
    SetHWnd,
    GetAttachedSurface,
    GetSurfaceDesc,
    Lock,
    Blt,
    Flip,
    GetMonitorFrequency,
    GetScanLine,
    WaitForVerticalBlank,
    Count,
};

class SoftVideoCard;
class SoftDirectDraw;
struct SoftCardState;

class SoftClipper
{
public:
    HResult SetHWnd(WindowId window);
    [[nodiscard]] WindowId Window() const { return mWindow; }

private:
    friend class SoftDirectDraw;
    explicit SoftClipper(std::shared_ptr<SoftCardState> card) : mCard(std::move(card)) {}
    std::shared_ptr<SoftCardState> mCard;
    WindowId mWindow = WindowId::None;
};

class SoftPalette
{
public:
    // 0xAARRGGBB entries.
    void SetEntries(int first, std::span<const uint32_t> entries);
    [[nodiscard]] const uint32_t* Entries() const { return mEntries; }

private:
    uint32_t mEntries[256] = {};
};

// Drawing a device has queued for a surface or a texture; finished before anyone else touches
// their pixels.
class PendingDraw
{
public:
    virtual ~PendingDraw() = default;
    virtual void Finish() = 0;
};

class SoftSurface
{
public:
    SoftSurface(const SoftSurface&) = delete;
    SoftSurface& operator=(const SoftSurface&) = delete;
    ~SoftSurface();

    // Fills desc with the whole surface (or rect) and its pixel pointer; a surface that is
    // already locked answers DDERR_SURFACEBUSY.
    HResult Lock(const SurfaceRect* rect, SurfaceDesc* desc, uint32_t flags);
    HResult Unlock(const SurfaceRect* rect);
    HResult GetSurfaceDesc(SurfaceDesc* desc);
    // A null dest or source rect means the whole surface. Sizes that differ stretch (nearest
    // pixel). Without a clipper a rect outside either surface is refused (DDERR_INVALIDRECT);
    // with one the destination is cut to the clipper's window. Locked surfaces are busy.
    HResult Blt(const SurfaceRect* destRect, SoftSurface* source, const SurfaceRect* srcRect, uint32_t flags,
                const BltFx* fx);
    // Exchanges the pixels of the primary and its back buffer and shows the new front.
    HResult Flip(SoftSurface* target, uint32_t flags);
    HResult GetAttachedSurface(uint32_t caps, std::shared_ptr<SoftSurface>& out);
    HResult SetColorKey(uint32_t flags, const ColorKey* key);
    HResult GetColorKey(uint32_t flags, ColorKey* key) const;
    HResult SetClipper(std::shared_ptr<SoftClipper> clipper);
    HResult SetPalette(std::shared_ptr<SoftPalette> palette);

    // Direct views, for the stand-in's own tests and for showing frames.
    [[nodiscard]] int Width() const { return mWidth; }
    [[nodiscard]] int Height() const { return mHeight; }
    [[nodiscard]] int Pitch() const { return mPitch; }
    [[nodiscard]] const SurfaceFormat& Format() const { return mFormat; }
    [[nodiscard]] uint32_t Caps() const { return mCaps; }
    [[nodiscard]] bool IsLocked() const { return mLocked; }
    [[nodiscard]] uint32_t PixelAt(int x, int y) const;
    [[nodiscard]] uint32_t ArgbAt(int x, int y) const;
    void SetPixelAt(int x, int y, uint32_t pixel);
    // The queue whose drawing every access to the pixels waits for (one at a time).
    void SetPendingDraw(std::weak_ptr<PendingDraw> pending) { mPendingDraw = std::move(pending); }
    void FinishPendingDraw() const;

private:
    friend class SoftDirectDraw;
    friend struct SoftCardState;
    SoftSurface(std::shared_ptr<SoftCardState> card, int width, int height, const SurfaceFormat& format,
                uint32_t caps);
    [[nodiscard]] uint8_t* Row(int y) { return mPixels.data() + static_cast<size_t>(y) * static_cast<size_t>(mPitch); }
    [[nodiscard]] const uint8_t* Row(int y) const
    {
        return mPixels.data() + static_cast<size_t>(y) * static_cast<size_t>(mPitch);
    }
    HResult FillRect(const SurfaceRect& rect, uint32_t pixel);
    void CopyRect(const SurfaceRect& dest, const SoftSurface& source, const SurfaceRect& src, bool keyed);
    // Shows the frame when this is the primary.
    void ShowIfPrimary(const SurfaceRect& changed);

    std::shared_ptr<SoftCardState> mCard;
    int mWidth, mHeight, mPitch;
    SurfaceFormat mFormat;
    uint32_t mCaps;
    std::vector<uint8_t> mPixels;
    size_t mVideoBytes = 0; // charged to the card's video memory
    bool mLocked = false;
    bool mHasSourceKey = false;
    ColorKey mSourceKey;
    std::shared_ptr<SoftClipper> mClipper;
    std::shared_ptr<SoftPalette> mPalette;
    std::shared_ptr<SoftSurface> mBackBuffer;
    std::weak_ptr<PendingDraw> mPendingDraw;
};

// The DirectDraw object of a card.
class SoftDirectDraw
{
public:
    ~SoftDirectDraw();
    SoftDirectDraw(const SoftDirectDraw&) = delete;
    SoftDirectDraw& operator=(const SoftDirectDraw&) = delete;

    // The older interface of the same object (fault point "QueryInterface").
    HResult QueryLegacyInterface();
    HResult SetCooperativeLevel(WindowId window, uint32_t flags);
    // Needs the exclusive level; the mode must be in the card's list.
    HResult SetDisplayMode(int width, int height, int bitCount);
    HResult RestoreDisplayMode();
    HResult GetDisplayMode(SurfaceDesc* desc);
    [[nodiscard]] std::vector<DisplayMode> EnumDisplayModes() const;
    // A primary takes the display mode's size and format; with kCapsFlip, kCapsComplex and a
    // back buffer count of 1 it gets an attached back buffer. Other surfaces need a width and
    // height; their format is the display's unless kDescPixelFormat gives one.
    HResult CreateSurface(const SurfaceDesc& desc, std::shared_ptr<SoftSurface>& out);
    HResult CreateClipper(std::shared_ptr<SoftClipper>& out);
    HResult CreatePalette(std::span<const uint32_t> entries, std::shared_ptr<SoftPalette>& out);
    HResult GetMonitorFrequency(int* hertz);
    // The beam's line, or DDERR_VERTICALBLANKINPROGRESS during the blank.
    HResult GetScanLine(int* line);
    HResult GetVerticalBlankStatus(bool* inBlank);
    // Sleeps until the next blank begins.
    HResult WaitForVerticalBlank(uint32_t flags);
    HResult GetAvailableVidMem(uint32_t caps, uint32_t* total, uint32_t* free);
    HResult GetDeviceIdentifier(DeviceIdentity* identity);
    HResult FlipToGDISurface();

private:
    friend class SoftVideoCard;
    explicit SoftDirectDraw(std::shared_ptr<SoftCardState> card) : mCard(std::move(card)) {}
    std::shared_ptr<SoftCardState> mCard;
    WindowId mWindow = WindowId::None;
    bool mExclusive = false;
};

// What a virtual video card offers.
struct SoftCardSettings
{
    int desktopWidth = 1024;
    int desktopHeight = 768;
    SurfaceFormat desktopFormat = SurfaceFormat::X8R8G8B8();
    // The 16-bit format of 16-bit display modes.
    SurfaceFormat format16 = SurfaceFormat::R5G6B5();
    int refreshRate = 60; // 0: the frequency cannot be read
    int blankLines = 45;  // lines of the vertical blank after the visible ones
    uint32_t videoMemoryBytes = 32u << 20;
    int pitchPadding = 0; // extra bytes at the end of every surface row
    bool hasCreateEx = true;
    std::vector<DisplayMode> modes = {{640, 480, 16}, {640, 480, 32}, {800, 600, 16}, {800, 600, 32},
                                      {1024, 768, 16}, {1024, 768, 32}, {1280, 720, 32}, {1920, 1080, 32}};
    DeviceIdentity identity;
};

// The virtual machine behind the stand-in: its settings, its display mode and its faults.
class SoftVideoCard
{
public:
    using Settings = SoftCardSettings;

    explicit SoftVideoCard(Settings settings = Settings());
    ~SoftVideoCard();
    SoftVideoCard(const SoftVideoCard&) = delete;
    SoftVideoCard& operator=(const SoftVideoCard&) = delete;

    // Frames on the primary are shown through this system's presenter of the cooperative
    // window (none: nothing is shown), on the calling thread only: changes made on other
    // threads are shown with the next change on it, or by ShowPending.
    void SetWindowSystem(WindowSystem* system);
    // Shows what other threads changed on the primary since the last frame (showing thread).
    void ShowPending();
    // Hands the cursor picture (null: none) to the presenter of the cooperative window as its
    // cursor overlay, which the window system moves with the pointer on its own (showing
    // thread). False when there is no window or its presenter has no overlay: the caller
    // draws the cursor itself then.
    bool SetCursorOverlay(const CursorPicture* picture);
    // Shows frames through the system and takes its desktop's size and refresh rate as the
    // desktop mode (the format stays as set). Call with no surfaces of the card alive.
    void AttachToDesktop(WindowSystem& system);
    [[nodiscard]] const Settings& GetSettings() const;
    Settings& MutableSettings();
    // Whether the extended entry point exists; the old one always does.
    [[nodiscard]] bool HasCreateEx() const;
    HResult DirectDrawCreate(std::shared_ptr<SoftDirectDraw>& out);

    // The n-th call of the kind from now (1 = the next one) fails with the result.
    void FailCall(SoftCall call, int nth, HResult result);
    void ClearFaults();
    [[nodiscard]] int CallCount(SoftCall call) const;

    [[nodiscard]] DisplayMode CurrentMode() const;
    [[nodiscard]] uint64_t FramesShown() const;
    [[nodiscard]] uint32_t FreeVideoMemory() const;

private:
    std::shared_ptr<SoftCardState> mState;
};

// The card of the running program (made on first use with the default settings).
SoftVideoCard& DefaultVideoCard();
} // namespace Quoll::Platform
