#include "framework/display/DDInterface.h"

#include "framework/core/DebugOutput.h"
#include "framework/display/D3DInterface.h"
#include "framework/display/D3DTester.h"
#include "framework/display/DDImage.h"
#include "framework/display/DXErrorName.h"
#include "framework/display/Graphics.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/system/Clock.h"

#include <algorithm>
#include <bit>
#include <cstdio>

namespace Quoll
{
using namespace Platform;

std::string& LastRenderer3DError()
{
    static std::string text;
    return text;
}

bool RatioIsGreaterThan(const Ratio& a, const Ratio& b)
{
    if (a.mDenominator == 0 || b.mDenominator == 0)
        return false;
    return b.mNumerator * a.mDenominator / b.mDenominator < a.mNumerator ||
           b.mNumerator < a.mNumerator * b.mDenominator / a.mDenominator;
}

namespace
{
void Trace(const char* format, int a, int b, int c, int d)
{
    char line[128];
    std::snprintf(line, sizeof(line), format, a, b, c, d);
    OutputDebugText(line);
}

SurfaceRect ToSurfaceRect(const Rect& r)
{
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

SurfaceRect Offset(SurfaceRect r, int dx, int dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

SurfaceRect ClipTo(SurfaceRect r, int width, int height)
{
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width), std::min(r.bottom, height)};
}
} // namespace

DDInterface::DDInterface(DisplayHost* host, SoftVideoCard* card)
    : mHost(host), mCard(card != nullptr ? card : &DefaultVideoCard()), mRenderer(std::make_unique<D3DInterface>())
{
    Set3DHost(nullptr);
}

DDInterface::~DDInterface()
{
    Cleanup();
    mRenderer.reset();
}

const char* DDInterface::ResultToString(int result)
{
    switch (result)
    {
    case RESULT_OK:
        return "RESULT_OK";
    case RESULT_FAIL:
        return "RESULT_FAIL";
    case RESULT_DD_CREATE_FAIL:
        return "RESULT_DD_CREATE_FAIL";
    case RESULT_SURFACE_FAIL:
        return "RESULT_SURFACE_FAIL";
    case RESULT_EXCLUSIVE_FAIL:
        return "RESULT_EXCLUSIVE_FAIL";
    case RESULT_DISPCHANGE_FAIL:
        return "RESULT_DISPCHANGE_FAIL";
    case RESULT_INVALID_COLORDEPTH:
        return "RESULT_INVALID_COLORDEPTH";
    default:
        return "RESULT_UNKNOWN";
    }
}

bool DDInterface::GotDXError(HResult result, const char* context)
{
    if (!Failed(result))
        return false;
    mErrorText = std::string(context) + ": " + DXErrorName(result);
    return true;
}

void DDInterface::SetRenderer(std::unique_ptr<Renderer3D> renderer)
{
    AutoCrit lock(mCritSect);
    mRenderer = std::move(renderer);
    if (!mRenderer)
        mIs3D = false;
    Set3DHost(m3DHost == &mOwn3DHost ? nullptr : m3DHost);
}

void DDInterface::Set3DHost(D3DTesterHost* host)
{
    m3DHost = host != nullptr ? host : &mOwn3DHost;
    if (mRenderer)
        mRenderer->Set3DHost(m3DHost);
}

bool DDInterface::ReadTextureBits(MemoryImage* image, uint32_t* bits)
{
    return mRenderer && mRenderer->RecoverBits(image, bits);
}

Image* DDInterface::GetScreenImage()
{
    return mScreenImage.get();
}

void DDInterface::AddDDImage(DDImage* image)
{
    AutoCrit lock(mCritSect);
    mDDImageSet.insert(image);
}

void DDInterface::RemoveDDImage(DDImage* image)
{
    AutoCrit lock(mCritSect);
    mDDImageSet.erase(image);
}

void DDInterface::Remove3DData(MemoryImage* image)
{
    if (mRenderer)
        mRenderer->Remove3DData(image);
}

HResult DDInterface::CreateSurface(const SurfaceDesc& desc, SurfacePtr& out)
{
    AutoCrit lock(mCritSect);
    out.reset();
    if (!mDD)
        return DDERR_NOTINITIALIZED;
    HResult result = mDD->CreateSurface(desc, out);
    if (Failed(result))
        return result;
    // Only 16- and 32-bit displays are drawn.
    SurfaceDesc primary;
    if (mPrimarySurface && !Failed(mPrimarySurface->GetSurfaceDesc(&primary)) && primary.format.bitCount != 16 &&
        primary.format.bitCount != 32)
    {
        out.reset();
        return DDERR_INVALIDPIXELFORMAT;
    }
    return DD_OK;
}

// --- Init -----------------------------------------------------------------------------------

DisplayResult DDInterface::Init(WindowId window, bool windowed)
{
    AutoCrit lock(mCritSect);
    const int result = InitLocked(window, windowed);
    if (result == RESULT_OK)
        UpdateCursorOverlay();
    return static_cast<DisplayResult>(result);
}

int DDInterface::InitLocked(WindowId window, bool windowed)
{
    // Start clean.
    mInitialized = false;
    Cleanup();
    // The DirectDraw object, on the desktop of the window system when there is one.
    if (WindowSystem* windows = mHost->GetDisplayWindowSystem())
        mCard->AttachToDesktop(*windows);
    if (mCard->HasCreateEx())
    {
        if (GotDXError(mCard->DirectDrawCreate(mDD), "DirectDrawCreateEx") ||
            GotDXError(mDD->QueryLegacyInterface(), "QueryrInterface IID_IDirectDraw"))
            return RESULT_DD_CREATE_FAIL;
    }
    else if (GotDXError(mCard->DirectDrawCreate(mDD), "DirectDrawCreate"))
    {
        return RESULT_DD_CREATE_FAIL;
    }
    // The display test.
    if (Do3DTest(window) && mDisplayTest->IsFreshResult())
        mHost->DisplayTestNotify();
    // Sizes.
    const DisplayOptions& options = mHost->GetDisplayOptions();
    mWindow = window;
    mWidth = options.width;
    mHeight = options.height;
    mAspect.Set(mWidth, mHeight);
    const SoftCardSettings& card = mCard->GetSettings();
    mDesktopWidth = card.desktopWidth;
    mDesktopHeight = card.desktopHeight;
    mDesktopAspect.Set(mDesktopWidth, mDesktopHeight);
    mDisplayWidth = mWidth;
    mDisplayHeight = mHeight;
    mDisplayAspect = mAspect;
    mIsWidescreen = false;
    mPresentationRect = Rect(0, 0, mWidth, mHeight);
    mHost->SetScreenRect(0, 0, mWidth, mHeight);
    mColorDepth = options.colorDepth;
    mIsWindowed = windowed;
    mHasOldCursorArea = false;
    Trace("Application requests %4d x %4d [%2d:%2d]\n", mWidth, mHeight, mAspect.mNumerator, mAspect.mDenominator);

    // The surfaces of the mode.
    int result = RESULT_OK;
    if (windowed)
    {
        ChooseWindowedLayout();
        result = CreateWindowedSurfaces();
    }
    else
    {
        ChooseFullScreenLayout();
        result = CreateFullScreenSurfaces();
    }
    if (result != RESULT_OK)
        return result;
    // Draw buffer and refresh rate.
    Trace("Draw buffer is       %4d x %4d [%2d:%2d]\n", mWidth, mHeight, mAspect.mNumerator, mAspect.mDenominator);
    ReadRefreshRate();
    // Cursor areas and the display format.
    if ((result = CreateCursorAreas()) != RESULT_OK || (result = ReadPixelFormat()) != RESULT_OK)
        return result;
    // The screen image.
    RecreateScreenImage(mVideoOnlyDraw);
    // The 3D renderer.
    if (mIs3D && mRenderer && !mRenderer->Init(this))
    {
        mErrorText = "3D init error: " + LastRenderer3DError();
        return RESULT_3D_FAIL;
    }
    // Done.
    ++mInitCount;
    mInitialized = true;
    return RESULT_OK;
}

void DDInterface::ChooseWindowedLayout()
{
    const DisplayOptions& options = mHost->GetDisplayOptions();
    Trace("Hack aspect is                   [%2d:%2d]\n", options.windowedAspect.mNumerator,
          options.windowedAspect.mDenominator, 0, 0);
    if (!options.windowedAspectEnabled || !RatioIsGreaterThan(options.windowedAspect, mAspect) ||
        options.windowedAspect.mDenominator == 0)
        return;
    mIsWidescreen = true;
    mDisplayWidth = options.windowedAspect.mNumerator * mHeight / options.windowedAspect.mDenominator;
    mDisplayHeight = mHeight;
    mDisplayAspect = options.windowedAspect;
    // The window grows about its centre.
    if (WindowSystem* windows = mHost->GetDisplayWindowSystem(); windows != nullptr && windows->IsWindow(mWindow))
    {
        ScreenPoint origin = ClientOrigin();
        const int left = std::max(origin.x - (mDisplayWidth - mWidth) / 2, 0);
        const int top = std::max(origin.y - (mDisplayHeight - mHeight) / 2, 0);
        windows->MoveWindow(mWindow, left, top, mDisplayWidth, mDisplayHeight);
    }
    if (!options.widenDrawBuffer)
    {
        mPresentationRect = Rect((mDisplayWidth - mWidth) / 2, 0, mWidth, mHeight);
    }
    else
    {
        mWidth = mDisplayWidth;
        mHeight = mDisplayHeight;
        mAspect = mDisplayAspect;
        mPresentationRect = Rect(0, 0, mDisplayWidth, mDisplayHeight);
    }
    Trace("Window is            %4d x %4d [%2d:%2d]\n", mDisplayWidth, mDisplayHeight, mDisplayAspect.mNumerator,
          mDisplayAspect.mDenominator);
}

void DDInterface::ChooseFullScreenLayout()
{
    const DisplayOptions& options = mHost->GetDisplayOptions();
    Trace("Desktop is           %4d x %4d [%2d:%2d]\n", mDesktopWidth, mDesktopHeight, mDesktopAspect.mNumerator,
          mDesktopAspect.mDenominator);
    if (mIs3D && options.fullScreenWidescreen && RatioIsGreaterThan(mDesktopAspect, mAspect) && mHeight > 0)
    {
        mIsWidescreen = true;
        mDisplayWidth = mDesktopWidth;
        mDisplayHeight = mDesktopHeight;
        mDisplayAspect = mDesktopAspect;
        if (!options.widenDrawBuffer)
        {
            const int wide = mWidth * mDesktopHeight / mHeight;
            mPresentationRect = Rect((mDesktopWidth - wide) / 2, 0, wide, mDesktopHeight);
        }
        else
        {
            mAspect = mDesktopAspect;
            mWidth = mDesktopAspect.mNumerator * mHeight / mDesktopAspect.mDenominator;
            mPresentationRect = Rect(0, 0, mDesktopWidth, mDesktopHeight);
        }
    }
    Trace("Display is           %4d x %4d [%2d:%2d]\n", mDisplayWidth, mDisplayHeight, mDisplayAspect.mNumerator,
          mDisplayAspect.mDenominator);
}

int DDInterface::CreateWindowedSurfaces()
{
    mDD->SetCooperativeLevel(mWindow, kCoopNormal);
    SurfaceDesc primary;
    primary.flags = kDescCaps;
    primary.caps = kCapsPrimarySurface;
    HResult result = mDD->CreateSurface(primary, mPrimarySurface);
    if (result == DDERR_INVALIDPIXELFORMAT)
        return RESULT_INVALID_COLORDEPTH;
    if (GotDXError(result, "CreateSurface Windowed Primary"))
        return RESULT_SURFACE_FAIL;
    SurfaceDesc draw;
    draw.flags = kDescCaps | kDescWidth | kDescHeight;
    draw.width = mWidth;
    draw.height = mHeight;
    draw.caps = kCapsOffscreenPlain | (mIs3D ? kCaps3DDevice | kCapsVideoMemory : kCapsSystemMemory);
    result = CreateSurface(draw, mDrawSurface);
    if (result == DDERR_INVALIDPIXELFORMAT)
        return RESULT_INVALID_COLORDEPTH;
    if (GotDXError(result, "CreateSurface Windowed DrawSurface"))
        return RESULT_SURFACE_FAIL;
    return AttachClipper("CreateClipper Windowed");
}

int DDInterface::CreateFullScreenSurfaces()
{
    if (GotDXError(mDD->SetCooperativeLevel(mWindow, kCoopExclusive | kCoopFullscreen), "SetCooperativeLevel FullScreen"))
        return RESULT_EXCLUSIVE_FAIL;
    if (GotDXError(mDD->SetDisplayMode(mDisplayWidth, mDisplayHeight, mColorDepth), "SetDisplayMode FullScreen"))
        return RESULT_DISPCHANGE_FAIL;
    SurfaceDesc primary;
    primary.flags = kDescCaps | kDescBackBufferCount;
    primary.backBufferCount = 1;
    primary.caps = kCapsPrimarySurface | kCapsFlip | kCapsComplex;
    const HResult created = mDD->CreateSurface(primary, mPrimarySurface);
    if (created == DDERR_INVALIDPIXELFORMAT)
        return RESULT_INVALID_COLORDEPTH;
    if (GotDXError(created, "CreateSurface FullScreen Primary"))
        return RESULT_SURFACE_FAIL;
    if (GotDXError(mPrimarySurface->GetAttachedSurface(kCapsBackBuffer, mSecondarySurface), "GetAttachedSurface"))
        return RESULT_SURFACE_FAIL;
    if (mIsWidescreen)
    {
        ClearSurface(mPrimarySurface);
        ClearSurface(mSecondarySurface);
    }
    SurfaceDesc draw;
    draw.flags = kDescCaps | kDescWidth | kDescHeight;
    draw.width = mWidth;
    draw.height = mHeight;
    draw.caps = kCapsOffscreenPlain | (mIs3D ? kCaps3DDevice | kCapsVideoMemory : kCapsSystemMemory);
    const HResult drawn = CreateSurface(draw, mDrawSurface);
    if (drawn == DDERR_INVALIDPIXELFORMAT)
        return RESULT_INVALID_COLORDEPTH;
    if (GotDXError(drawn, "CreateSurface FullScreen DrawSurface"))
        return RESULT_SURFACE_FAIL;
    const int clipper = AttachClipper("CreateClipper FullScreen");
    if (clipper != RESULT_OK)
        return clipper;
    if (!mHost->GetDisplayOptions().pageFlip)
        mDD->FlipToGDISurface();
    return RESULT_OK;
}

int DDInterface::AttachClipper(const char* context)
{
    std::shared_ptr<SoftClipper> clipper;
    if (GotDXError(mDD->CreateClipper(clipper), context))
        return RESULT_FAIL;
    if (!Failed(clipper->SetHWnd(mWindow)))
        mPrimarySurface->SetClipper(clipper);
    return RESULT_OK;
}

void DDInterface::ReadRefreshRate()
{
    int rate = 0;
    const bool read = !Failed(mDD->GetMonitorFrequency(&rate));
    const bool fallback = !read || rate < 60 || rate > 100;
    mRefreshRate = !read || rate < 60 ? 60 : std::min(rate, 100);
    if (fallback)
        mHost->SetRefreshRateFallback(true);
    mMillisecondsPerFrame = 1000 / mRefreshRate;
}

int DDInterface::CreateCursorAreas()
{
    SurfaceDesc desc;
    desc.flags = kDescCaps | kDescWidth | kDescHeight;
    desc.width = mCursorWidth;
    desc.height = mCursorHeight;
    desc.caps = kCapsOffscreenPlain | kCapsSystemMemory;
    if (GotDXError(CreateSurface(desc, mOldCursorArea), "CreateSurface OldCursorArea") ||
        GotDXError(CreateSurface(desc, mNewCursorArea), "CreateSurface NewCursorArea"))
        return RESULT_SURFACE_FAIL;
    mOldCursorAreaImage = std::make_unique<DDImage>(this);
    mOldCursorAreaImage->SetSurface(mOldCursorArea);
    mOldCursorAreaImage->SetImageMode(false, false);
    mNewCursorAreaImage = std::make_unique<DDImage>(this);
    mNewCursorAreaImage->SetSurface(mNewCursorArea);
    mNewCursorAreaImage->SetImageMode(false, false);
    return RESULT_OK;
}

int DDInterface::ReadPixelFormat()
{
    SurfaceDesc desc;
    if (!mPrimarySurface || Failed(mPrimarySurface->GetSurfaceDesc(&desc)) ||
        (desc.format.bitCount != 16 && desc.format.bitCount != 32))
        return RESULT_INVALID_COLORDEPTH;
    const SurfaceFormat& f = desc.format;
    mRGBBits = static_cast<uint32_t>(f.bitCount);
    mRedMask = f.redMask;
    mGreenMask = f.greenMask;
    mBlueMask = f.blueMask;
    auto channel = [](uint32_t mask, uint32_t& shift, uint32_t& bits) {
        shift = mask != 0 ? static_cast<uint32_t>(std::countr_zero(mask)) : 0;
        bits = mask != 0 ? static_cast<uint32_t>(std::bit_width(mask >> shift)) : 0;
    };
    channel(mRedMask, mRedShift, mRedBits);
    channel(mGreenMask, mGreenShift, mGreenBits);
    channel(mBlueMask, mBlueShift, mBlueBits);
    auto saturation = [](std::vector<int>& table, uint32_t bits) {
        const int max = (1 << bits) - 1;
        table.assign(static_cast<size_t>(2 * max + 1), 0);
        for (int i = 0; i <= 2 * max; ++i)
            table[static_cast<size_t>(i)] = std::min(i, max);
    };
    saturation(mRedAddTable, mRedBits);
    saturation(mGreenAddTable, mGreenBits);
    saturation(mBlueAddTable, mBlueBits);
    for (uint32_t i = 0; i < 256; ++i)
    {
        mRedConvTable[i] = static_cast<uint32_t>(uint64_t{i} * mRedMask / 255) & mRedMask;
        mGreenConvTable[i] = static_cast<uint32_t>(uint64_t{i} * mGreenMask / 255) & mGreenMask;
        mBlueConvTable[i] = static_cast<uint32_t>(uint64_t{i} * mBlueMask / 255) & mBlueMask;
    }
    return RESULT_OK;
}

void DDInterface::ClearSurface(const SurfacePtr& surface)
{
    SurfaceDesc desc;
    if (!surface || Failed(surface->Lock(nullptr, &desc, kLockWait | kLockWriteOnly)))
        return;
    for (int y = 0; y < desc.height; ++y)
        std::fill_n(desc.pixels + static_cast<ptrdiff_t>(y) * desc.pitch,
                    static_cast<size_t>(desc.width) * static_cast<size_t>(desc.format.BytesPerPixel()), uint8_t{0});
    surface->Unlock(nullptr);
}

bool DDInterface::Do3DTest(WindowId window)
{
    // Once in the life of the display, and only when 3D is wanted or its test is asked for.
    const DisplayOptions& options = mHost->GetDisplayOptions();
    const bool want3D = mIs3D || options.is3D;
    if (mDisplayTest || (!want3D && !options.autoTest3D))
        return false;
    mDisplayTest = std::make_unique<D3DTester>(m3DHost);
    if (mRenderer)
        mDisplayTest->mDeviceSettings = mRenderer->DeviceSettings();
    mDisplayTest->SetVidMemThresholds(options.minVidMemory3D, options.recommendedVidMemory3D);
    mDisplayTest->RunTest(window, mCard, mDD);
    const std::string& failure = mDisplayTest->GetFailureReason();
    const std::string& warning = mDisplayTest->GetWarning();
    if (want3D && failure.empty() && warning.empty() && mRenderer)
        mIs3D = true;
    if (!failure.empty() || (mDisplayTest->IsFreshResult() && !warning.empty()))
        mIs3D = false;
    return true;
}

void DDInterface::RecreateScreenImage(bool videoMemoryDraw)
{
    AutoCrit lock(mCritSect);
    mVideoOnlyDraw = videoMemoryDraw;
    if (!mSecondarySurface && mDD)
    {
        SurfaceDesc desc;
        desc.flags = kDescCaps | kDescWidth | kDescHeight;
        desc.width = mWidth;
        desc.height = mHeight;
        desc.caps = kCapsVideoMemory;
        if (Failed(CreateSurface(desc, mSecondarySurface)))
            mVideoOnlyDraw = false;
    }
    mScreenImage.reset();
    mScreenImage = std::make_unique<DDImage>(this);
    mScreenImage->SetSurface(mVideoOnlyDraw ? mSecondarySurface : mDrawSurface);
    mScreenImage->mVideoMemoryScreen = mVideoOnlyDraw;
    mScreenImage->mVideoMemory = mVideoOnlyDraw;
    mScreenImage->SetImageMode(false, false);
}

void DDInterface::Cleanup()
{
    AutoCrit lock(mCritSect);
    mInitialized = false;
    if (mCursorOverlay)
    {
        mCard->SetCursorOverlay(nullptr);
        mCursorOverlay = false;
        mOverlayImage = nullptr;
    }
    if (mRenderer)
        mRenderer->Cleanup();
    mOldCursorAreaImage.reset();
    mNewCursorAreaImage.reset();
    mOldCursorArea.reset();
    mNewCursorArea.reset();
    mScreenImage.reset();
    mDrawSurface.reset();
    mSecondarySurface.reset();
    mPrimarySurface.reset();
    if (mDD)
        mDD->SetCooperativeLevel(mWindow, kCoopNormal);
    mDD.reset();
}

void DDInterface::FlipToDesktopSurface()
{
    AutoCrit lock(mCritSect);
    if (mDD && !mIsWindowed)
        mDD->FlipToGDISurface();
}

void DDInterface::RestoreDesktopMode()
{
    AutoCrit lock(mCritSect);
    if (mDD)
        mDD->RestoreDisplayMode();
}

// --- Presenting -----------------------------------------------------------------------------

ScreenPoint DDInterface::ClientOrigin() const
{
    ScreenPoint origin;
    if (WindowSystem* windows = mHost->GetDisplayWindowSystem(); windows != nullptr && mIsWindowed)
        windows->ClientToScreen(mWindow, origin);
    return origin;
}

bool DDInterface::Redraw(const Rect* dirty)
{
    AutoCrit lock(mCritSect);
    // Not started: nothing to show.
    if (!mInitialized)
        return false;
    mInRedraw = true;
    // The 3D scene ends here, or 3D mode ends after a renderer failure.
    if (mIs3D && mRenderer)
    {
        if (!LastRenderer3DError().empty())
        {
            mInRedraw = false;
            mIs3D = false;
            return false;
        }
        mRenderer->EndScene();
    }
    // Rectangles.
    SurfaceRect dest = ToSurfaceRect(mPresentationRect);
    SurfaceRect src{0, 0, mWidth, mHeight};
    if (dirty != nullptr && !mIsWidescreen)
        dest = src = ToSurfaceRect(*dirty);
    BltFx fx;
    if (mIsWidescreen)
        fx.fxFlags = kBltFxArithStretchY;
    const ScreenPoint origin = ClientOrigin();
    dest = Offset(dest, origin.x, origin.y);
    // The draw surface is finished.
    SurfaceDesc desc;
    if (!Failed(mDrawSurface->Lock(nullptr, &desc, 0)))
        mDrawSurface->Unlock(nullptr);
    const DisplayOptions& options = mHost->GetDisplayOptions();
    HResult result = DD_OK;
    if (!mIsWindowed)
    {
        // Full screen: flip, or blit to the primary.
        if (!options.noFlip && options.pageFlip)
        {
            if (!mVideoOnlyDraw)
                mSecondarySurface->Blt(&dest, mDrawSurface.get(), &src, kBltWait, &fx);
            mCursorDrawnX = mCursorX;
            mCursorDrawnY = mCursorY;
            DrawCursorTo(mSecondarySurface, true);
            result = mPrimarySurface->Flip(nullptr, kFlipWait);
            GotDXError(result, "Redraw FullScreen Flip");
        }
        else
        {
            result = mPrimarySurface->Blt(&dest, mDrawSurface.get(), &src, kBltWait, &fx);
            GotDXError(result, "Redraw FullScreen Blt");
        }
    }
    else if (mVideoOnlyDraw)
    {
        // Windowed from video memory.
        if (options.waitForVSync && !options.vsyncBroken)
            mDD->WaitForVerticalBlank(kWaitVbBlockBegin);
        // The video-memory surface has the draw buffer's size: the cursor goes in client
        // coordinates and leaves the surface again once the frame is shown.
        mCursorDrawnX = mCursorX;
        mCursorDrawnY = mCursorY;
        DrawCursorTo(mSecondarySurface, false);
        result = mPrimarySurface->Blt(&dest, mSecondarySurface.get(), &src, kBltWait, &fx);
        if (mHasOldCursorArea)
        {
            RestoreOldCursorArea(mSecondarySurface);
            mHasOldCursorArea = true;
        }
        GotDXError(result, "Redraw Windowed");
    }
    else
    {
        // Windowed from system memory.
        PresentWindowed(dest, src, result);
        GotDXError(result, "Redraw Windowed");
    }
    // Done.
    mInRedraw = false;
    return !Failed(result);
}

void DDInterface::PresentWindowed(const SurfaceRect& dest, const SurfaceRect& src, HResult& result)
{
    mCursorDrawnX = mCursorX;
    mCursorDrawnY = mCursorY;
    DrawCursorTo(mDrawSurface, false);
    const DisplayOptions& options = mHost->GetDisplayOptions();
    BltFx fx;
    if (options.waitForVSync && !options.vsyncBroken)
    {
        bool split = false;
        if (mScanLineFailCount < 3)
            split = SplitBlit(dest, src, result);
        if (!split)
        {
            ++mScanLineFailCount;
            mDD->WaitForVerticalBlank(kWaitVbBlockBegin);
            result = mPrimarySurface->Blt(&dest, mDrawSurface.get(), &src, kBltWait, &fx);
        }
    }
    else
    {
        result = mPrimarySurface->Blt(&dest, mDrawSurface.get(), &src, kBltWait, &fx);
    }
    // The cursor leaves the draw buffer again; it stays on the screen.
    if (mHasOldCursorArea)
    {
        RestoreOldCursorArea(mDrawSurface);
        mHasOldCursorArea = true;
    }
}

// The frame in two halves, each blitted while the beam is in the other half.
bool DDInterface::SplitBlit(const SurfaceRect& dest, const SurfaceRect& src, HResult& result)
{
    const int middle = dest.top + mHost->GetDisplayOptions().height / 2;
    const int bottom = dest.top + mHeight;
    const int screenHeight = mCard->CurrentMode().height;
    const uint32_t start = TickCount();
    bool sawAbove = false;
    int splitLine = 0;
    bool triggered = false;
    // Wait (at most 200 ms) for the beam to pass the middle line.
    while (!triggered && TickCount() - start < 200)
    {
        int line = 0;
        const HResult polled = mDD->GetScanLine(&line);
        if (polled == DDERR_VERTICALBLANKINPROGRESS)
        {
            triggered = true;
        }
        else if (Failed(polled))
        {
            return false;
        }
        else if (line < middle && line < screenHeight)
        {
            sawAbove = true;
        }
        else if (sawAbove)
        {
            triggered = true;
            splitLine = line;
        }
        if (!triggered)
            SleepMilliseconds(1);
    }
    if (!triggered)
        return false;
    // The upper half while the beam draws the lower one.
    mScanLineFailCount = 0;
    BltFx fx;
    const int half = mHost->GetDisplayOptions().height / 2;
    const SurfaceRect upperDest{dest.left, dest.top, dest.right, std::min(dest.top + half, dest.bottom)};
    const SurfaceRect upperSrc{src.left, src.top, src.right, std::min(src.top + half, src.bottom)};
    result = mPrimarySurface->Blt(&upperDest, mDrawSurface.get(), &upperSrc, kBltWait, &fx);
    // Wait (at most 200 ms as well) for the beam to finish or wrap, then the lower half.
    const uint32_t second = TickCount();
    while (TickCount() - second < 200)
    {
        int line = 0;
        const HResult polled = mDD->GetScanLine(&line);
        if (!Failed(polled) && (line >= bottom || line < splitLine))
            break;
        SleepMilliseconds(1);
    }
    if (upperDest.bottom < dest.bottom && upperSrc.bottom < src.bottom)
    {
        const SurfaceRect lowerDest{dest.left, upperDest.bottom, dest.right, dest.bottom};
        const SurfaceRect lowerSrc{src.left, upperSrc.bottom, src.right, src.bottom};
        const HResult lower = mPrimarySurface->Blt(&lowerDest, mDrawSurface.get(), &lowerSrc, kBltWait, &fx);
        if (!Failed(result))
            result = lower;
    }
    return true;
}

// --- Software cursor ----------------------------------------------------------------------

bool DDInterface::SetCursorImage(Image* image)
{
    AutoCrit lock(mCritSect);
    if (image == mCursorImage)
        return false;
    mCursorImage = image;
    UpdateCursorOverlay();
    return true;
}

void DDInterface::SetCursorOverlayAllowed(bool allowed)
{
    AutoCrit lock(mCritSect);
    if (allowed == mCursorOverlayAllowed)
        return;
    mCursorOverlayAllowed = allowed;
    UpdateCursorOverlay();
}

void DDInterface::UpdateCursorOverlay()
{
    auto* image = dynamic_cast<MemoryImage*>(mCursorImage);
    const bool wanted = mCursorOverlayAllowed && mInitialized && image != nullptr && image->GetWidth() > 0 &&
                        image->GetHeight() > 0;
    if (!wanted)
    {
        if (mCursorOverlay)
            mCard->SetCursorOverlay(nullptr);
        mCursorOverlay = false;
        mOverlayImage = nullptr;
        return;
    }
    if (mCursorOverlay && image == mOverlayImage)
        return;
    const uint32_t* bits = image->GetBits();
    if (bits == nullptr)
        return;
    Platform::CursorPicture picture;
    picture.width = image->GetWidth();
    picture.height = image->GetHeight();
    // Centred on the pointer, as the drawn cursor is.
    picture.hotX = picture.width / 2;
    picture.hotY = picture.height / 2;
    picture.pixels.assign(bits, bits + static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    const bool shown = mCard->SetCursorOverlay(&picture);
    // A cursor drawn on the screen before goes; the window system shows it from now on.
    if (shown && !mCursorOverlay && mHasOldCursorArea)
        RestoreOldCursorArea(mPrimarySurface);
    mCursorOverlay = shown;
    mOverlayImage = shown ? image : nullptr;
}

SurfaceRect DDInterface::CursorRect(int x, int y, const SurfacePtr& surface, bool screenCoords) const
{
    SurfaceRect r{x - mCursorWidth / 2, y - mCursorHeight / 2, x + mCursorWidth / 2, y + mCursorHeight / 2};
    if (screenCoords)
    {
        const ScreenPoint origin = ClientOrigin();
        r = Offset(r, origin.x, origin.y);
    }
    return ClipTo(r, surface->Width(), surface->Height());
}

void DDInterface::DrawCursorTo(const SurfacePtr& surface, bool screenCoords)
{
    mHasOldCursorArea = false;
    // The window system shows an overlay cursor by itself.
    if (mCursorOverlay || !mOldCursorArea || mCursorImage == nullptr || !mPrimarySurface || !surface)
        return;
    const SurfaceRect area = CursorRect(mCursorDrawnX, mCursorDrawnY, surface, screenCoords);
    if (area.Width() <= 0 || area.Height() <= 0)
        return;
    // Save the background.
    const SurfaceRect saved{0, 0, area.Width(), area.Height()};
    mHasOldCursorArea = !Failed(mOldCursorArea->Blt(&saved, surface.get(), &area, kBltWait, nullptr));
    if (!mHasOldCursorArea)
        return;
    mCursorEverDrawn = true;
    // The cursor, centred on its position: straight into the 2D screen image, or through
    // the new area.
    const int offsetX = area.left - (screenCoords ? ClientOrigin().x : 0) - (mCursorDrawnX - mCursorWidth / 2);
    const int offsetY = area.top - (screenCoords ? ClientOrigin().y : 0) - (mCursorDrawnY - mCursorHeight / 2);
    const int imageX = (mCursorWidth - mCursorImage->GetWidth()) / 2 - offsetX;
    const int imageY = (mCursorHeight - mCursorImage->GetHeight()) / 2 - offsetY;
    if (surface == mDrawSurface && !mIs3D && mScreenImage)
    {
        Graphics g(mScreenImage.get());
        g.DrawImage(mCursorImage, mCursorDrawnX - mCursorImage->GetWidth() / 2,
                    mCursorDrawnY - mCursorImage->GetHeight() / 2);
        return;
    }
    mNewCursorArea->Blt(&saved, mOldCursorArea.get(), &saved, kBltWait, nullptr);
    {
        Graphics g(mNewCursorAreaImage.get());
        g.DrawImage(mCursorImage, imageX, imageY);
    }
    surface->Blt(&area, mNewCursorArea.get(), &saved, kBltWait, nullptr);
}

void DDInterface::RestoreOldCursorArea(const SurfacePtr& surface)
{
    if (!mHasOldCursorArea || !mPrimarySurface || !surface)
        return;
    // Only the primary is in screen coordinates; the other surfaces have the draw buffer's.
    const bool screenCoords = surface == mPrimarySurface;
    const SurfaceRect area = CursorRect(mCursorDrawnX, mCursorDrawnY, surface, screenCoords);
    const SurfaceRect saved{0, 0, area.Width(), area.Height()};
    if (area.Width() > 0 && area.Height() > 0)
        surface->Blt(&area, mOldCursorArea.get(), &saved, kBltWait, nullptr);
    mHasOldCursorArea = false;
}

void DDInterface::MoveCursorTo(const SurfacePtr& surface)
{
    // The old cursor is wiped with its saved background, then drawn at the new place.
    RestoreOldCursorArea(surface);
    mCursorDrawnX = mCursorX;
    mCursorDrawnY = mCursorY;
    DrawCursorTo(surface, true);
}

void DDInterface::SetPendingCursorPos(int x, int y)
{
    mCursorX = x;
    mCursorY = y;
}

// The cursor thread asks; the main thread moves the drawn cursor under the lock.
bool DDInterface::GetCursorDrawnPos(int& x, int& y) const
{
    AutoCrit lock(mCritSect);
    x = mCursorDrawnX;
    y = mCursorDrawnY;
    return mCursorEverDrawn;
}

void DDInterface::SetCursorPos(int x, int y)
{
    mCursorX = x;
    mCursorY = y;
    if (mInRedraw)
        return;
    AutoCrit lock(mCritSect);
    if (!mInitialized || !mPrimarySurface)
        return;
    if (mCursorOverlay)
    {
        // Shown by the window system where the pointer is: nothing to draw.
        mCursorDrawnX = mCursorX;
        mCursorDrawnY = mCursorY;
        return;
    }
    if (!mHasOldCursorArea)
    {
        mCursorDrawnX = mCursorX;
        mCursorDrawnY = mCursorY;
        DrawCursorTo(mPrimarySurface, true);
    }
    else
    {
        MoveCursorTo(mPrimarySurface);
    }
}
} // namespace Quoll
