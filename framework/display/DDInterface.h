#pragma once
// The display: everything between the application and the screen. It owns the DirectDraw
// object of the video card, the primary surface, the back buffer (full screen) or video-memory
// draw surface (windowed), the off-screen draw surface every frame is drawn into, the window
// clipper, the choice of display size and aspect, the display format with its conversion and
// saturation tables, the presentation of a finished frame (flip or blit, optionally timed to
// the vertical blank), a software cursor drawn with save-under surfaces, and the switch to the
// 3D renderer. The application creates one, calls Init whenever the window or mode changes and
// Redraw once per drawn frame. Every surface operation runs under the display lock.
#include "framework/display/AppDisplay.h"
#include "framework/core/CriticalSection.h"
#include "framework/core/Ratio.h"
#include "framework/display/D3DTesterHost.h"
#include "framework/display/DisplayHost.h"
#include "framework/display/NativeDisplay.h"
#include "framework/display/Rect.h"
#include "framework/platform/video/SoftDirectDraw.h"

#include <array>
#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Quoll
{
class D3DTester;
class DDImage;
class Image;
class MemoryImage;
class Renderer3D;

using SurfacePtr = std::shared_ptr<Platform::SoftSurface>;

// a is wider than b.
bool RatioIsGreaterThan(const Ratio& a, const Ratio& b);

class DDInterface : public NativeDisplay, public AppDisplay
{
public:
    enum Result : int
    {
        RESULT_OK = 0,
        RESULT_FAIL = 1,
        RESULT_DD_CREATE_FAIL = 2,
        RESULT_SURFACE_FAIL = 3,
        RESULT_EXCLUSIVE_FAIL = 4,
        RESULT_DISPCHANGE_FAIL = 5,
        RESULT_INVALID_COLORDEPTH = 6,
        RESULT_3D_FAIL = 7,
    };

    // card: the video card to drive (the program's default card when null).
    explicit DDInterface(DisplayHost* host, Platform::SoftVideoCard* card = nullptr);
    DDInterface(const DDInterface&) = delete;
    DDInterface& operator=(const DDInterface&) = delete;
    ~DDInterface() override;

    static const char* ResultToString(int result);
    [[nodiscard]] DDImage* GetDDScreenImage() const { return mScreenImage.get(); }
    Platform::HResult CreateSurface(const Platform::SurfaceDesc& desc, SurfacePtr& out);
    void RecreateScreenImage(bool videoMemoryDraw) override;
    void AddDDImage(DDImage* image);
    void RemoveDDImage(DDImage* image);
    void Remove3DData(MemoryImage* image);
    // Presents the frame; null means the whole draw buffer. False when showing failed.
    bool Redraw(const Rect* dirty) override;
    // True when the image differs from the stored one. With the overlay allowed and offered
    // by the window's presenter, the cursor is shown as that overlay (moved by the window
    // system with the pointer) and is no longer drawn into the frames.
    bool SetCursorImage(Image* image) override;
    void SetCursorOverlayAllowed(bool allowed) override;
    [[nodiscard]] bool ShowsCursorOverlay() const { return mCursorOverlay; }
    void SetCursorPos(int x, int y) override;
    // Stores the position only; the next frame draws the cursor there.
    void SetPendingCursorPos(int x, int y) override;
    bool GetCursorDrawnPos(int& x, int& y) const override;
    [[nodiscard]] int GetRefreshPeriodMs() const override { return mMillisecondsPerFrame; }
    void Cleanup();
    // The renderer that draws in 3D mode (none: 3D mode is never entered).
    void SetRenderer(std::unique_ptr<Renderer3D> renderer);
    [[nodiscard]] Renderer3D* GetRenderer() const { return mRenderer.get(); }
    // The application's registry, demo stream and 3D-suspended flag for the 3D renderer and the
    // display test (null: values kept in memory).
    void Set3DHost(D3DTesterHost* host);
    // Reads an image's textures back into bits (width * height words); false when it cannot.
    bool ReadTextureBits(MemoryImage* image, uint32_t* bits);
    [[nodiscard]] D3DTester* GetDisplayTest() const { return mDisplayTest.get(); }

    // --- The application's view (AppDisplay) ----------------------------------------------
    // One of the Result codes, as the application's result type.
    DisplayResult Init(Platform::WindowId window, bool windowed) override;
    [[nodiscard]] bool IsWindowed() const override { return mIsWindowed; }
    [[nodiscard]] int GetWidth() const override { return mWidth; }
    [[nodiscard]] int GetHeight() const override { return mHeight; }
    [[nodiscard]] int GetRefreshRate() const override { return mRefreshRate; }
    [[nodiscard]] Image* GetScreenImage() override;
    [[nodiscard]] bool Is3D() const override { return mIs3D; }
    void Set3D(bool is3D) override { mIs3D = is3D && mRenderer != nullptr; }
    [[nodiscard]] std::string GetErrorText() const override { return mErrorText; }
    void FlipToDesktopSurface() override;
    void RestoreDesktopMode() override;
    CriticalSection& GetLock() override { return mCritSect; }

    // --- State ------------------------------------------------------------------------------
    DisplayHost* mHost;
    Platform::SoftVideoCard* mCard;
    std::unique_ptr<Renderer3D> mRenderer;
    std::unique_ptr<D3DTester> mDisplayTest;
    D3DTesterHost mOwn3DHost;
    D3DTesterHost* m3DHost = &mOwn3DHost;
    bool mIs3D = false;
    mutable CriticalSection mCritSect;
    // Read by the cursor thread without the lock.
    std::atomic<bool> mInRedraw = false;
    std::shared_ptr<Platform::SoftDirectDraw> mDD;
    SurfacePtr mPrimarySurface;
    SurfacePtr mSecondarySurface;
    SurfacePtr mDrawSurface;
    int mWidth = 0, mHeight = 0;
    Ratio mAspect;
    int mDesktopWidth = 0, mDesktopHeight = 0;
    Ratio mDesktopAspect;
    bool mIsWidescreen = false;
    int mDisplayWidth = 0, mDisplayHeight = 0;
    Ratio mDisplayAspect;
    Rect mPresentationRect;
    int mColorDepth = 0;
    int mRefreshRate = 60;
    int mMillisecondsPerFrame = 16;
    int mScanLineFailCount = 0;
    std::vector<int> mRedAddTable, mGreenAddTable, mBlueAddTable;
    std::array<uint32_t, 256> mRedConvTable{}, mGreenConvTable{}, mBlueConvTable{};
    bool mInitialized = false;
    Platform::WindowId mWindow = Platform::WindowId::None;
    bool mIsWindowed = true;
    std::unique_ptr<DDImage> mScreenImage;
    std::set<DDImage*> mDDImageSet;
    bool mVideoOnlyDraw = false;
    int mInitCount = 0;
    int mCursorWidth = 64, mCursorHeight = 64;
    std::atomic<int> mCursorX = 0, mCursorY = 0; // written by the cursor thread
    int mCursorDrawnX = 0, mCursorDrawnY = 0;
    Image* mCursorImage = nullptr;
    bool mCursorOverlayAllowed = false;
    std::atomic<bool> mCursorOverlay = false; // read by the cursor thread
    MemoryImage* mOverlayImage = nullptr;     // the image the overlay was made from
    bool mHasOldCursorArea = false;
    bool mCursorEverDrawn = false;
    SurfacePtr mOldCursorArea, mNewCursorArea;
    std::unique_ptr<DDImage> mOldCursorAreaImage, mNewCursorAreaImage;
    std::string mErrorText;

private:
    bool GotDXError(Platform::HResult result, const char* context);
    int InitLocked(Platform::WindowId window, bool windowed);
    void ChooseWindowedLayout();
    void ChooseFullScreenLayout();
    int CreateWindowedSurfaces();
    int CreateFullScreenSurfaces();
    int AttachClipper(const char* context);
    void ReadRefreshRate();
    int CreateCursorAreas();
    int ReadPixelFormat();
    void ClearSurface(const SurfacePtr& surface);
    bool Do3DTest(Platform::WindowId window);
    void PresentWindowed(const Platform::SurfaceRect& dest, const Platform::SurfaceRect& src, Platform::HResult& result);
    bool SplitBlit(const Platform::SurfaceRect& dest, const Platform::SurfaceRect& src, Platform::HResult& result);
    Platform::ScreenPoint ClientOrigin() const;
    void RestoreOldCursorArea(const SurfacePtr& surface);
    void DrawCursorTo(const SurfacePtr& surface, bool screenCoords);
    void MoveCursorTo(const SurfacePtr& surface);
    // Hands the cursor image to the presenter as its overlay, or takes it back, as the image,
    // the permission and the display's state ask.
    void UpdateCursorOverlay();
    Platform::SurfaceRect CursorRect(int x, int y, const SurfacePtr& surface, bool screenCoords) const;
};
} // namespace Quoll
