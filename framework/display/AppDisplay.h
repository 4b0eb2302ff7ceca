#pragma once
// What the application object needs of its display: starting it on the main window, the
// refresh rate and size it settled on, the screen image, the lock that guards images, and the
// full-screen desktop switch around native dialogs. The display subsystem implements it; until
// it exists the application creates a NullDisplay, a windowed display of the application's
// size that shows nothing.
#include "framework/core/CriticalSection.h"
#include "framework/display/Rect.h"
#include "framework/platform/window/WindowSystem.h"

#include <string>

namespace Quoll
{
class Image;

// Results of Init, with the names the window handling shows when a display cannot start.
enum class DisplayResult : int
{
    Ok = 0,
    Failed = 1,            // the clipper could not be made
    CreateFailed = 2,      // the display device could not be made
    SurfaceFailed = 3,
    ExclusiveFailed = 4,   // full screen refused
    ModeChangeFailed = 5,
    InvalidColorDepth = 6, // the desktop is neither 16 nor 32 bits per pixel
    RendererFailed = 7,    // the 3D renderer did not start
};
const char* DisplayResultName(DisplayResult result);

class AppDisplay
{
public:
    virtual ~AppDisplay() = default;

    virtual DisplayResult Init(Platform::WindowId window, bool windowed) = 0;
    [[nodiscard]] virtual bool IsWindowed() const = 0;
    [[nodiscard]] virtual int GetWidth() const = 0;
    [[nodiscard]] virtual int GetHeight() const = 0;
    [[nodiscard]] virtual int GetRefreshRate() const = 0;
    [[nodiscard]] virtual Image* GetScreenImage() = 0;
    [[nodiscard]] virtual bool Is3D() const = 0;
    virtual void Set3D(bool is3D) = 0;
    // The text of the last failure.
    [[nodiscard]] virtual std::string GetErrorText() const = 0;
    // Full screen only: shows the desktop's surface while a native dialog is up, and back.
    virtual void FlipToDesktopSurface() = 0;
    virtual void RestoreDesktopMode() = 0;
    // Guards surfaces, the application's image set and its shared images.
    virtual CriticalSection& GetLock() = 0;

    // Shows the finished frame (null: the whole screen image); false when showing failed.
    virtual bool Redraw(const Rect* clip)
    {
        (void)clip;
        return true;
    }
    // Length of one refresh of the display, in milliseconds.
    [[nodiscard]] virtual int GetRefreshPeriodMs() const
    {
        return 1000 / (GetRefreshRate() > 0 ? GetRefreshRate() : 60);
    }
    // Makes the screen image again, in video memory or not.
    virtual void RecreateScreenImage(bool videoMemoryDraw) { (void)videoMemoryDraw; }

    // The software cursor. SetCursorImage is true when the image changed (null: none).
    // SetCursorPos moves it at once (the cursor thread, when frames stall); a pending
    // position is only drawn with the next frame.
    virtual bool SetCursorImage(Image* image)
    {
        (void)image;
        return false;
    }
    virtual void SetCursorPos(int x, int y)
    {
        (void)x;
        (void)y;
    }
    virtual void SetPendingCursorPos(int x, int y)
    {
        (void)x;
        (void)y;
    }
    // Whether the cursor may be shown as the window's overlay, which the window system moves
    // with the real pointer; not while the cursor follows something else (a demo's pointer).
    virtual void SetCursorOverlayAllowed(bool allowed) { (void)allowed; }
    // Where the cursor was drawn last; false before it was ever drawn.
    virtual bool GetCursorDrawnPos(int& x, int& y) const
    {
        (void)x;
        (void)y;
        return false;
    }
};

class NullDisplay : public AppDisplay
{
public:
    NullDisplay(int width, int height) : mWidth(width), mHeight(height) {}

    DisplayResult Init(Platform::WindowId window, bool windowed) override;
    [[nodiscard]] bool IsWindowed() const override { return mWindowed; }
    [[nodiscard]] int GetWidth() const override { return mWidth; }
    [[nodiscard]] int GetHeight() const override { return mHeight; }
    [[nodiscard]] int GetRefreshRate() const override { return 60; }
    [[nodiscard]] Image* GetScreenImage() override { return nullptr; }
    [[nodiscard]] bool Is3D() const override { return false; }
    void Set3D(bool) override {}
    [[nodiscard]] std::string GetErrorText() const override { return {}; }
    void FlipToDesktopSurface() override { ++mDesktopFlips; }
    void RestoreDesktopMode() override {}
    CriticalSection& GetLock() override { return mLock; }

    [[nodiscard]] int DesktopFlips() const { return mDesktopFlips; }
    [[nodiscard]] Platform::WindowId Window() const { return mWindow; }

private:
    int mWidth, mHeight;
    bool mWindowed = true;
    int mDesktopFlips = 0;
    Platform::WindowId mWindow = Platform::WindowId::None;
    CriticalSection mLock;
};
} // namespace Quoll
