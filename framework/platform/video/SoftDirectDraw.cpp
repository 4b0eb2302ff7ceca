#include "framework/platform/video/SoftDirectDraw.h"

#include "framework/platform/system/Clock.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <thread>

namespace Quoll::Platform
{
// What the card, its DirectDraw objects and their surfaces share.
struct SoftCardState
{
    SoftVideoCard::Settings settings;
    DisplayMode mode;
    SurfaceFormat modeFormat;
    bool fullScreen = false;
    WindowId window = WindowId::None;
    WindowSystem* windows = nullptr;
    std::unique_ptr<FramePresenter> presenter;
    WindowId presenterWindow = WindowId::None;
    std::thread::id showingThread = std::this_thread::get_id(); // frames are shown on it only
    bool hasPending = false;     // the primary changed on another thread
    SurfaceRect pending;
    std::vector<uint32_t> frame; // the last frame shown, as 0xAARRGGBB
    SurfaceRect frameArea;       // the part of the primary it shows
    uint64_t framesShown = 0;
    uint64_t usedVideoBytes = 0;
    SoftSurface* primary = nullptr;
    std::optional<CursorPicture> cursorOverlay; // given again to a new presenter

    struct Fault
    {
        int atCall;
        HResult result;
    };
    std::array<std::vector<Fault>, static_cast<size_t>(SoftCall::Count)> faults;
    std::array<int, static_cast<size_t>(SoftCall::Count)> calls{};

    // Counts the call; the injected result when one is due, else DD_OK.
    HResult Enter(SoftCall call)
    {
        const auto index = static_cast<size_t>(call);
        const int count = ++calls[index];
        auto& list = faults[index];
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->atCall == count)
            {
                const HResult result = it->result;
                list.erase(it);
                return result;
            }
        return DD_OK;
    }

    void SetMode(int width, int height, const SurfaceFormat& format)
    {
        mode = {width, height, format.bitCount};
        modeFormat = format;
    }

    // Shows the frame, converting only the changed part when the shown area is the same.
    void Show(const SurfaceRect& changed);
    // The presenter of the cooperative window, made when there is none for it (null without a
    // window).
    FramePresenter* Presenter();
};

namespace
{
struct Channel
{
    int shift;
    int bits;
};

Channel ChannelOf(uint32_t mask)
{
    if (mask == 0)
        return {0, 0};
    const int shift = std::countr_zero(mask);
    return {shift, static_cast<int>(std::bit_width(mask >> shift))};
}

uint32_t Widen(uint32_t pixel, uint32_t mask)
{
    const Channel c = ChannelOf(mask);
    if (c.bits == 0)
        return 0;
    const uint32_t max = (1u << c.bits) - 1;
    const uint32_t value = (pixel & mask) >> c.shift;
    return (value * 255 + max / 2) / max;
}

uint32_t Narrow(uint32_t channel, uint32_t mask)
{
    const Channel c = ChannelOf(mask);
    if (c.bits == 0)
        return 0;
    const uint32_t value = c.bits >= 8 ? channel << (c.bits - 8) : channel >> (8 - c.bits);
    return (value << c.shift) & mask;
}

uint32_t ReadPixel(const uint8_t* at, int bytes)
{
    switch (bytes)
    {
    case 1:
        return at[0];
    case 2:
        return static_cast<uint32_t>(at[0] | at[1] << 8);
    case 3:
        return static_cast<uint32_t>(at[0] | at[1] << 8 | at[2] << 16);
    default:
        uint32_t value;
        std::memcpy(&value, at, 4);
        return value;
    }
}

void WritePixel(uint8_t* at, int bytes, uint32_t value)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool InsideSurface(const SurfaceRect& r, int width, int height)
{
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height && r.left < r.right &&
           r.top < r.bottom;
}

SurfaceRect Intersect(const SurfaceRect& a, const SurfaceRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

int AlignedPitch(int width, const SurfaceFormat& format, int padding)
{
    return ((width * format.BytesPerPixel() + 3) & ~3) + std::max(padding, 0);
}
} // namespace

uint32_t PixelToArgb(uint32_t pixel, const SurfaceFormat& format, const uint32_t* palette)
{
    if (format.bitCount == 8)
        return palette != nullptr ? (palette[pixel & 0xFF] | 0xFF000000) : 0xFF000000;
    return 0xFF000000 | Widen(pixel, format.redMask) << 16 | Widen(pixel, format.greenMask) << 8 |
           Widen(pixel, format.blueMask);
}

uint32_t ArgbToPixel(uint32_t argb, const SurfaceFormat& format)
{
    return Narrow((argb >> 16) & 0xFF, format.redMask) | Narrow((argb >> 8) & 0xFF, format.greenMask) |
           Narrow(argb & 0xFF, format.blueMask);
}

// --- Showing frames -------------------------------------------------------------------------

FramePresenter* SoftCardState::Presenter()
{
    if (windows == nullptr || window == WindowId::None || !windows->IsWindow(window))
        return nullptr;
    if (!presenter || presenterWindow != window)
    {
        presenter = windows->CreatePresenter(window);
        presenterWindow = window;
        if (presenter && cursorOverlay)
            presenter->SetCursorOverlay(&*cursorOverlay);
    }
    return presenter.get();
}

void SoftCardState::Show(const SurfaceRect& changed)
{
    if (primary == nullptr)
        return;
    // Other threads (the cursor's) leave their change for the showing thread.
    if (std::this_thread::get_id() != showingThread)
    {
        pending = hasPending ? SurfaceRect{std::min(pending.left, changed.left), std::min(pending.top, changed.top),
                                           std::max(pending.right, changed.right),
                                           std::max(pending.bottom, changed.bottom)}
                             : changed;
        hasPending = true;
        return;
    }
    SurfaceRect update = changed;
    if (hasPending)
    {
        update = {std::min(update.left, pending.left), std::min(update.top, pending.top),
                  std::max(update.right, pending.right), std::max(update.bottom, pending.bottom)};
        hasPending = false;
    }
    ++framesShown;
    if (windows == nullptr || window == WindowId::None || !windows->IsWindow(window))
        return;
    // The window's client area, in primary coordinates (the whole primary in full screen).
    SurfaceRect area{0, 0, primary->Width(), primary->Height()};
    if (!fullScreen)
    {
        WindowRect client;
        ScreenPoint origin;
        if (!windows->GetClientRect(window, client) || !windows->ClientToScreen(window, origin))
            return;
        area = {origin.x, origin.y, origin.x + client.Width(), origin.y + client.Height()};
    }
    if (area.Width() <= 0 || area.Height() <= 0)
        return;
    if (Presenter() == nullptr)
        return;
    // The frame: converted whole when the area moved, else only where the primary changed.
    update = Intersect(update, area);
    bool newFrame = false;
    if (!(frameArea == area) || frame.size() != static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height()))
    {
        frame.assign(static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height()), 0xFF000000);
        frameArea = area;
        update = area;
        newFrame = true;
    }
    update = Intersect(update, {0, 0, primary->Width(), primary->Height()});
    // Only the rows whose pixels differ from the frame shown count as changed, so that a
    // redrawn but unchanged picture costs the window system nothing.
    const bool argbLayout = primary->Format() == SurfaceFormat::X8R8G8B8();
    int firstChanged = update.bottom, lastChanged = update.top - 1;
    for (int y = update.top; y < update.bottom; ++y)
    {
        uint32_t* out = frame.data() + static_cast<size_t>(y - area.top) * static_cast<size_t>(area.Width()) +
                        static_cast<size_t>(update.left - area.left);
        bool changedRow = false;
        uint32_t row[256];
        for (int x = update.left; x < update.right; x += 256)
        {
            const int n = std::min(256, update.right - x);
            if (argbLayout)
            {
                // The common format needs only its unused byte set.
                std::memcpy(row, primary->Row(y) + static_cast<size_t>(x) * 4, static_cast<size_t>(n) * 4);
                for (int i = 0; i < n; ++i)
                    row[i] |= 0xFF000000;
            }
            else
                for (int i = 0; i < n; ++i)
                    row[i] = primary->ArgbAt(x + i, y);
            uint32_t* chunk = out + (x - update.left);
            if (std::memcmp(chunk, row, static_cast<size_t>(n) * 4) != 0)
            {
                std::memcpy(chunk, row, static_cast<size_t>(n) * 4);
                changedRow = true;
            }
        }
        if (changedRow)
        {
            firstChanged = std::min(firstChanged, y);
            lastChanged = y;
        }
    }
    FrameArea changedInFrame{update.left - area.left, firstChanged - area.top, update.right - area.left,
                             lastChanged + 1 - area.top};
    if (newFrame)
        changedInFrame = {0, 0, area.Width(), area.Height()};
    else if (lastChanged < firstChanged)
        changedInFrame = {};
    presenter->PresentChanged({frame.data(), area.Width(), area.Height(), area.Width() * 4}, changedInFrame);
}

// --- Clipper and palette --------------------------------------------------------------------

HResult SoftClipper::SetHWnd(WindowId window)
{
    const HResult fault = mCard->Enter(SoftCall::SetHWnd);
    if (Failed(fault))
        return fault;
    mWindow = window;
    return DD_OK;
}

void SoftPalette::SetEntries(int first, std::span<const uint32_t> entries)
{
    for (size_t i = 0; i < entries.size() && first + static_cast<int>(i) < 256; ++i)
        if (first + static_cast<int>(i) >= 0)
            mEntries[first + static_cast<int>(i)] = entries[i];
}

// --- Surfaces -------------------------------------------------------------------------------

SoftSurface::SoftSurface(std::shared_ptr<SoftCardState> card, int width, int height, const SurfaceFormat& format,
                         uint32_t caps)
    : mCard(std::move(card)), mWidth(width), mHeight(height),
      mPitch(AlignedPitch(width, format, mCard->settings.pitchPadding)), mFormat(format), mCaps(caps),
      mPixels(static_cast<size_t>(mPitch) * static_cast<size_t>(height))
{
}

SoftSurface::~SoftSurface()
{
    mCard->usedVideoBytes -= mVideoBytes;
    if (mCard->primary == this)
        mCard->primary = nullptr;
}

void SoftSurface::FinishPendingDraw() const
{
    if (const auto pending = mPendingDraw.lock())
        pending->Finish();
}

uint32_t SoftSurface::PixelAt(int x, int y) const
{
    FinishPendingDraw();
    const int bytes = mFormat.BytesPerPixel();
    return ReadPixel(Row(y) + static_cast<size_t>(x) * static_cast<size_t>(bytes), bytes);
}

uint32_t SoftSurface::ArgbAt(int x, int y) const
{
    return PixelToArgb(PixelAt(x, y), mFormat, mPalette ? mPalette->Entries() : nullptr);
}

void SoftSurface::SetPixelAt(int x, int y, uint32_t pixel)
{
    FinishPendingDraw();
    const int bytes = mFormat.BytesPerPixel();
    WritePixel(Row(y) + static_cast<size_t>(x) * static_cast<size_t>(bytes), bytes, pixel);
}

HResult SoftSurface::Lock(const SurfaceRect* rect, SurfaceDesc* desc, uint32_t)
{
    FinishPendingDraw();
    if (desc == nullptr)
        return DDERR_INVALIDPARAMS;
    const HResult fault = mCard->Enter(SoftCall::Lock);
    if (Failed(fault))
        return fault;
    if (mLocked)
        return DDERR_SURFACEBUSY;
    const SurfaceRect area = rect != nullptr ? *rect : SurfaceRect{0, 0, mWidth, mHeight};
    if (!InsideSurface(area, mWidth, mHeight))
        return DDERR_INVALIDRECT;
    GetSurfaceDesc(desc);
    desc->pixels = Row(area.top) + static_cast<size_t>(area.left) * static_cast<size_t>(mFormat.BytesPerPixel());
    mLocked = true;
    return DD_OK;
}

HResult SoftSurface::Unlock(const SurfaceRect*)
{
    if (!mLocked)
        return DDERR_NOTLOCKED;
    mLocked = false;
    ShowIfPrimary({0, 0, mWidth, mHeight});
    return DD_OK;
}

HResult SoftSurface::GetSurfaceDesc(SurfaceDesc* desc)
{
    if (desc == nullptr)
        return DDERR_INVALIDPARAMS;
    const HResult fault = mCard->Enter(SoftCall::GetSurfaceDesc);
    if (Failed(fault))
        return fault;
    *desc = SurfaceDesc();
    desc->flags = kDescCaps | kDescWidth | kDescHeight | kDescPitch | kDescPixelFormat;
    desc->width = mWidth;
    desc->height = mHeight;
    desc->pitch = mPitch;
    desc->format = mFormat;
    desc->caps = mCaps;
    desc->backBufferCount = mBackBuffer ? 1 : 0;
    return DD_OK;
}

HResult SoftSurface::FillRect(const SurfaceRect& rect, uint32_t pixel)
{
    const int bytes = mFormat.BytesPerPixel();
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        uint8_t* at = Row(y) + static_cast<size_t>(rect.left) * static_cast<size_t>(bytes);
        for (int x = rect.left; x < rect.right; ++x, at += bytes)
            WritePixel(at, bytes, pixel);
    }
    return DD_OK;
}

void SoftSurface::CopyRect(const SurfaceRect& dest, const SoftSurface& source, const SurfaceRect& src, bool keyed)
{
    const int dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
    const int dBytes = mFormat.BytesPerPixel(), sBytes = source.mFormat.BytesPerPixel();
    const bool sameFormat = mFormat == source.mFormat && mFormat.bitCount != 8;
    // 1. Same size and format, no key: whole rows (in an order that survives overlap).
    if (sameFormat && !keyed && dw == sw && dh == sh)
    {
        const bool upwards = &source == this && dest.top > src.top;
        for (int i = 0; i < dh; ++i)
        {
            const int row = upwards ? dh - 1 - i : i;
            std::memmove(Row(dest.top + row) + static_cast<size_t>(dest.left) * static_cast<size_t>(dBytes),
                         source.Row(src.top + row) + static_cast<size_t>(src.left) * static_cast<size_t>(sBytes),
                         static_cast<size_t>(dw) * static_cast<size_t>(dBytes));
        }
        return;
    }
    // 2. Pixel by pixel: nearest source pixel, key test on the raw value, format conversion.
    const uint32_t* palette = source.mPalette ? source.mPalette->Entries() : nullptr;
    for (int y = 0; y < dh; ++y)
    {
        const int sy = src.top + static_cast<int>(static_cast<int64_t>(y) * sh / dh);
        for (int x = 0; x < dw; ++x)
        {
            const int sx = src.left + static_cast<int>(static_cast<int64_t>(x) * sw / dw);
            uint32_t pixel = source.PixelAt(sx, sy);
            if (keyed && pixel >= source.mSourceKey.low && pixel <= source.mSourceKey.high)
                continue;
            if (!sameFormat)
                pixel = ArgbToPixel(PixelToArgb(pixel, source.mFormat, palette), mFormat);
            SetPixelAt(dest.left + x, dest.top + y, pixel);
        }
    }
}

HResult SoftSurface::Blt(const SurfaceRect* destRect, SoftSurface* source, const SurfaceRect* srcRect,
                         uint32_t flags, const BltFx* fx)
{
    FinishPendingDraw();
    if (source != nullptr)
        source->FinishPendingDraw();
    const HResult fault = mCard->Enter(SoftCall::Blt);
    if (Failed(fault))
        return fault;
    if (mLocked || (source != nullptr && source->mLocked))
        return DDERR_SURFACEBUSY;
    const SurfaceRect whole{0, 0, mWidth, mHeight};
    const SurfaceRect dest = destRect != nullptr ? *destRect : whole;
    if (dest.Width() <= 0 || dest.Height() <= 0)
        return DDERR_INVALIDRECT;

    // 1. The part of the destination that may change: the clipper's window, or the whole
    // rect, which must then lie inside the surface.
    SurfaceRect visible = dest;
    if (mClipper && mClipper->Window() != WindowId::None && mCard->windows != nullptr)
    {
        WindowRect client;
        ScreenPoint origin;
        if (mCard->windows->GetClientRect(mClipper->Window(), client) &&
            mCard->windows->ClientToScreen(mClipper->Window(), origin))
        {
            const bool screenSized = (mCaps & kCapsPrimarySurface) != 0 && !mCard->fullScreen;
            const SurfaceRect window = screenSized ? SurfaceRect{origin.x, origin.y, origin.x + client.Width(),
                                                                 origin.y + client.Height()}
                                                   : whole;
            visible = Intersect(visible, window);
        }
        visible = Intersect(visible, whole);
    }
    else if (mClipper)
    {
        visible = Intersect(visible, whole);
    }
    else if (!InsideSurface(dest, mWidth, mHeight))
    {
        return DDERR_INVALIDRECT;
    }

    // 2. Colour fill.
    if ((flags & kBltColorFill) != 0)
    {
        if (fx == nullptr)
            return DDERR_INVALIDPARAMS;
        if (visible.Width() > 0 && visible.Height() > 0)
            FillRect(visible, fx->fillColor);
        ShowIfPrimary(visible);
        return DD_OK;
    }

    // 3. Copy or stretch from the source rect, which must lie inside the source.
    if (source == nullptr)
        return DDERR_INVALIDPARAMS;
    const SurfaceRect src = srcRect != nullptr ? *srcRect : SurfaceRect{0, 0, source->mWidth, source->mHeight};
    if (!InsideSurface(src, source->mWidth, source->mHeight))
        return DDERR_INVALIDRECT;
    const bool keyed = (flags & kBltKeySrc) != 0;
    if (keyed && !source->mHasSourceKey)
        return DDERR_NOCOLORKEY;
    if (visible.Width() <= 0 || visible.Height() <= 0)
        return DD_OK;
    if (visible == dest)
    {
        CopyRect(dest, *source, src, keyed);
    }
    else
    {
        // The clipped part keeps the scale of the whole rect.
        const auto scaled = [](int offset, int srcLen, int destLen) {
            return static_cast<int>(static_cast<int64_t>(offset) * srcLen / destLen);
        };
        SurfaceRect part;
        part.left = src.left + scaled(visible.left - dest.left, src.Width(), dest.Width());
        part.top = src.top + scaled(visible.top - dest.top, src.Height(), dest.Height());
        part.right = src.left + scaled(visible.right - dest.left, src.Width(), dest.Width());
        part.bottom = src.top + scaled(visible.bottom - dest.top, src.Height(), dest.Height());
        part.right = std::max(part.right, part.left + 1);
        part.bottom = std::max(part.bottom, part.top + 1);
        CopyRect(visible, *source, part, keyed);
    }
    ShowIfPrimary(visible);
    return DD_OK;
}

void SoftSurface::ShowIfPrimary(const SurfaceRect& changed)
{
    if (mCard->primary == this)
        mCard->Show(changed);
}

HResult SoftSurface::Flip(SoftSurface*, uint32_t)
{
    const HResult fault = mCard->Enter(SoftCall::Flip);
    if (Failed(fault))
        return fault;
    if (!mBackBuffer)
        return DDERR_NOTFLIPPABLE;
    FinishPendingDraw();
    mBackBuffer->FinishPendingDraw();
    if (mLocked || mBackBuffer->mLocked)
        return DDERR_SURFACEBUSY;
    mPixels.swap(mBackBuffer->mPixels);
    ShowIfPrimary({0, 0, mWidth, mHeight});
    return DD_OK;
}

HResult SoftSurface::GetAttachedSurface(uint32_t caps, std::shared_ptr<SoftSurface>& out)
{
    out.reset();
    const HResult fault = mCard->Enter(SoftCall::GetAttachedSurface);
    if (Failed(fault))
        return fault;
    if ((caps & kCapsBackBuffer) == 0 || !mBackBuffer)
        return DDERR_NOTFOUND;
    out = mBackBuffer;
    return DD_OK;
}

HResult SoftSurface::SetColorKey(uint32_t flags, const ColorKey* key)
{
    if ((flags & kColorKeySrcBlt) == 0)
        return DDERR_INVALIDPARAMS;
    mHasSourceKey = key != nullptr;
    mSourceKey = key != nullptr ? *key : ColorKey();
    return DD_OK;
}

HResult SoftSurface::GetColorKey(uint32_t flags, ColorKey* key) const
{
    if ((flags & kColorKeySrcBlt) == 0 || key == nullptr)
        return DDERR_INVALIDPARAMS;
    if (!mHasSourceKey)
        return DDERR_NOCOLORKEY;
    *key = mSourceKey;
    return DD_OK;
}

HResult SoftSurface::SetClipper(std::shared_ptr<SoftClipper> clipper)
{
    mClipper = std::move(clipper);
    return DD_OK;
}

HResult SoftSurface::SetPalette(std::shared_ptr<SoftPalette> palette)
{
    if (mFormat.bitCount != 8)
        return DDERR_INVALIDPIXELFORMAT;
    mPalette = std::move(palette);
    return DD_OK;
}

// --- The DirectDraw object ------------------------------------------------------------------

SoftDirectDraw::~SoftDirectDraw()
{
    if (mExclusive)
        RestoreDisplayMode();
}

HResult SoftDirectDraw::QueryLegacyInterface()
{
    return mCard->Enter(SoftCall::QueryInterface);
}

HResult SoftDirectDraw::SetCooperativeLevel(WindowId window, uint32_t flags)
{
    const HResult fault = mCard->Enter(SoftCall::SetCooperativeLevel);
    if (Failed(fault))
        return fault;
    const bool exclusive = (flags & kCoopExclusive) != 0;
    if (exclusive && ((flags & kCoopFullscreen) == 0 || window == WindowId::None))
        return window == WindowId::None ? DDERR_NOHWND : DDERR_INVALIDPARAMS;
    if (!exclusive && mExclusive)
        RestoreDisplayMode();
    mExclusive = exclusive;
    mWindow = window;
    mCard->window = window;
    mCard->fullScreen = exclusive;
    return DD_OK;
}

HResult SoftDirectDraw::SetDisplayMode(int width, int height, int bitCount)
{
    const HResult fault = mCard->Enter(SoftCall::SetDisplayMode);
    if (Failed(fault))
        return fault;
    if (!mExclusive)
        return DDERR_NOEXCLUSIVEMODE;
    const DisplayMode wanted{width, height, bitCount};
    const auto& modes = mCard->settings.modes;
    if (std::find(modes.begin(), modes.end(), wanted) == modes.end())
        return DDERR_UNSUPPORTEDMODE;
    const SurfaceFormat& desktop = mCard->settings.desktopFormat;
    SurfaceFormat format = bitCount == 16 ? mCard->settings.format16 : SurfaceFormat::X8R8G8B8();
    if (bitCount == desktop.bitCount)
        format = desktop;
    mCard->SetMode(width, height, format);
    return DD_OK;
}

HResult SoftDirectDraw::RestoreDisplayMode()
{
    const auto& s = mCard->settings;
    mCard->SetMode(s.desktopWidth, s.desktopHeight, s.desktopFormat);
    return DD_OK;
}

HResult SoftDirectDraw::GetDisplayMode(SurfaceDesc* desc)
{
    if (desc == nullptr)
        return DDERR_INVALIDPARAMS;
    *desc = SurfaceDesc();
    desc->flags = kDescWidth | kDescHeight | kDescPixelFormat;
    desc->width = mCard->mode.width;
    desc->height = mCard->mode.height;
    desc->format = mCard->modeFormat;
    return DD_OK;
}

std::vector<DisplayMode> SoftDirectDraw::EnumDisplayModes() const
{
    return mCard->settings.modes;
}

HResult SoftDirectDraw::CreateSurface(const SurfaceDesc& desc, std::shared_ptr<SoftSurface>& out)
{
    out.reset();
    const HResult fault = mCard->Enter(SoftCall::CreateSurface);
    if (Failed(fault))
        return fault;
    const uint32_t caps = (desc.flags & kDescCaps) != 0 ? desc.caps : kCapsOffscreenPlain;
    if ((caps & kCapsPrimarySurface) != 0)
    {
        // 1. The primary: the display mode's size and format, maybe with a back buffer.
        if (mCard->primary != nullptr)
            return DDERR_PRIMARYSURFACEALREADYEXISTS;
        const bool flipping = (caps & kCapsFlip) != 0;
        if (flipping && ((caps & kCapsComplex) == 0 || desc.backBufferCount < 1 || !mExclusive))
            return mExclusive ? DDERR_INVALIDCAPS : DDERR_NOEXCLUSIVEMODE;
        const DisplayMode mode = mCard->mode;
        out.reset(new SoftSurface(mCard, mode.width, mode.height, mCard->modeFormat, caps));
        if (flipping)
            out->mBackBuffer.reset(new SoftSurface(mCard, mode.width, mode.height, mCard->modeFormat,
                                                   kCapsBackBuffer | (caps & kCapsVideoMemory)));
        mCard->primary = out.get();
        mCard->frameArea = SurfaceRect();
        return DD_OK;
    }
    // 2. An off-screen surface.
    if ((desc.flags & (kDescWidth | kDescHeight)) != (kDescWidth | kDescHeight) || desc.width <= 0 ||
        desc.height <= 0 || desc.width > 16384 || desc.height > 16384)
        return DDERR_INVALIDPARAMS;
    const SurfaceFormat format = (desc.flags & kDescPixelFormat) != 0 ? desc.format : mCard->modeFormat;
    auto surface = std::shared_ptr<SoftSurface>(new SoftSurface(mCard, desc.width, desc.height, format, caps));
    if ((caps & kCapsVideoMemory) != 0)
    {
        const uint64_t bytes = surface->mPixels.size();
        if (mCard->usedVideoBytes + bytes > mCard->settings.videoMemoryBytes)
            return DDERR_OUTOFVIDEOMEMORY;
        surface->mVideoBytes = bytes;
        mCard->usedVideoBytes += bytes;
    }
    out = std::move(surface);
    return DD_OK;
}

HResult SoftDirectDraw::CreateClipper(std::shared_ptr<SoftClipper>& out)
{
    out.reset();
    const HResult fault = mCard->Enter(SoftCall::CreateClipper);
    if (Failed(fault))
        return fault;
    out.reset(new SoftClipper(mCard));
    return DD_OK;
}

HResult SoftDirectDraw::CreatePalette(std::span<const uint32_t> entries, std::shared_ptr<SoftPalette>& out)
{
    out = std::make_shared<SoftPalette>();
    out->SetEntries(0, entries);
    return DD_OK;
}

HResult SoftDirectDraw::GetMonitorFrequency(int* hertz)
{
    if (hertz == nullptr)
        return DDERR_INVALIDPARAMS;
    const HResult fault = mCard->Enter(SoftCall::GetMonitorFrequency);
    if (Failed(fault))
        return fault;
    if (mCard->settings.refreshRate <= 0)
        return DDERR_UNSUPPORTED;
    *hertz = mCard->settings.refreshRate;
    return DD_OK;
}

namespace
{
// The beam: the frame period split into visible lines and blank lines, phase from the clock.
struct Beam
{
    int64_t period;     // ns
    int64_t phase;      // ns into the current frame
    int64_t blankStart; // ns at which the blank begins
    int line;
    bool inBlank;
};

Beam ReadBeam(const SoftCardState& card)
{
    const int rate = card.settings.refreshRate > 0 ? card.settings.refreshRate : 60;
    const int visible = std::max(card.mode.height, 1);
    const int total = visible + std::max(card.settings.blankLines, 1);
    const int64_t frequency = PerformanceFrequency();
    const int64_t now = static_cast<int64_t>(static_cast<__int128>(PerformanceCounter()) * 1'000'000'000 / frequency);
    Beam beam{};
    beam.period = 1'000'000'000 / rate;
    beam.phase = now % beam.period;
    beam.blankStart = beam.period * visible / total;
    beam.line = static_cast<int>(beam.phase * total / beam.period);
    beam.inBlank = beam.line >= visible;
    return beam;
}
} // namespace

HResult SoftDirectDraw::GetScanLine(int* line)
{
    if (line == nullptr)
        return DDERR_INVALIDPARAMS;
    const HResult fault = mCard->Enter(SoftCall::GetScanLine);
    if (Failed(fault))
        return fault;
    const Beam beam = ReadBeam(*mCard);
    if (beam.inBlank)
        return DDERR_VERTICALBLANKINPROGRESS;
    *line = beam.line;
    return DD_OK;
}

HResult SoftDirectDraw::GetVerticalBlankStatus(bool* inBlank)
{
    if (inBlank == nullptr)
        return DDERR_INVALIDPARAMS;
    *inBlank = ReadBeam(*mCard).inBlank;
    return DD_OK;
}

HResult SoftDirectDraw::WaitForVerticalBlank(uint32_t)
{
    const HResult fault = mCard->Enter(SoftCall::WaitForVerticalBlank);
    if (Failed(fault))
        return fault;
    const Beam beam = ReadBeam(*mCard);
    const int64_t wait =
        beam.phase < beam.blankStart ? beam.blankStart - beam.phase : beam.period - beam.phase + beam.blankStart;
    SleepMilliseconds(static_cast<uint32_t>((wait + 999'999) / 1'000'000));
    return DD_OK;
}

HResult SoftDirectDraw::GetAvailableVidMem(uint32_t, uint32_t* total, uint32_t* free)
{
    if (total != nullptr)
        *total = mCard->settings.videoMemoryBytes;
    if (free != nullptr)
        *free = static_cast<uint32_t>(mCard->settings.videoMemoryBytes - std::min<uint64_t>(mCard->usedVideoBytes, mCard->settings.videoMemoryBytes));
    return DD_OK;
}

HResult SoftDirectDraw::GetDeviceIdentifier(DeviceIdentity* identity)
{
    if (identity == nullptr)
        return DDERR_INVALIDPARAMS;
    *identity = mCard->settings.identity;
    return DD_OK;
}

HResult SoftDirectDraw::FlipToGDISurface()
{
    return DD_OK;
}

// --- The card ---------------------------------------------------------------------------------

SoftVideoCard::SoftVideoCard(Settings settings) : mState(std::make_shared<SoftCardState>())
{
    mState->settings = std::move(settings);
    const auto& s = mState->settings;
    mState->SetMode(s.desktopWidth, s.desktopHeight, s.desktopFormat);
}

SoftVideoCard::~SoftVideoCard()
{
    mState->presenter.reset();
    mState->windows = nullptr;
}

void SoftVideoCard::SetWindowSystem(WindowSystem* system)
{
    mState->presenter.reset();
    mState->windows = system;
    mState->showingThread = std::this_thread::get_id();
}

void SoftVideoCard::ShowPending()
{
    if (mState->hasPending && std::this_thread::get_id() == mState->showingThread)
        mState->Show(mState->pending);
}

bool SoftVideoCard::SetCursorOverlay(const CursorPicture* picture)
{
    if (std::this_thread::get_id() != mState->showingThread)
        return false;
    FramePresenter* presenter = mState->Presenter();
    const bool shown = presenter != nullptr && presenter->SetCursorOverlay(picture);
    if (shown && picture != nullptr)
        mState->cursorOverlay = *picture;
    else
        mState->cursorOverlay.reset();
    return shown;
}

void SoftVideoCard::AttachToDesktop(WindowSystem& system)
{
    SetWindowSystem(&system);
    const ScreenInfo screen = system.GetScreenInfo();
    auto& s = mState->settings;
    if (screen.width > 0 && screen.height > 0)
    {
        s.desktopWidth = screen.width;
        s.desktopHeight = screen.height;
    }
    if (screen.refreshRate > 0)
        s.refreshRate = screen.refreshRate;
    mState->SetMode(s.desktopWidth, s.desktopHeight, s.desktopFormat);
}

const SoftVideoCard::Settings& SoftVideoCard::GetSettings() const
{
    return mState->settings;
}

SoftVideoCard::Settings& SoftVideoCard::MutableSettings()
{
    return mState->settings;
}

bool SoftVideoCard::HasCreateEx() const
{
    return mState->settings.hasCreateEx;
}

HResult SoftVideoCard::DirectDrawCreate(std::shared_ptr<SoftDirectDraw>& out)
{
    out.reset();
    const HResult fault = mState->Enter(SoftCall::CreateDirectDraw);
    if (Failed(fault))
        return fault;
    out.reset(new SoftDirectDraw(mState));
    return DD_OK;
}

void SoftVideoCard::FailCall(SoftCall call, int nth, HResult result)
{
    const auto index = static_cast<size_t>(call);
    mState->faults[index].push_back({mState->calls[index] + std::max(nth, 1), result});
}

void SoftVideoCard::ClearFaults()
{
    for (auto& list : mState->faults)
        list.clear();
}

int SoftVideoCard::CallCount(SoftCall call) const
{
    return mState->calls[static_cast<size_t>(call)];
}

DisplayMode SoftVideoCard::CurrentMode() const
{
    return mState->mode;
}

uint64_t SoftVideoCard::FramesShown() const
{
    return mState->framesShown;
}

uint32_t SoftVideoCard::FreeVideoMemory() const
{
    const uint64_t total = mState->settings.videoMemoryBytes;
    return static_cast<uint32_t>(total - std::min(total, mState->usedVideoBytes));
}

SoftVideoCard& DefaultVideoCard()
{
    static SoftVideoCard card;
    return card;
}
} // namespace Quoll::Platform
