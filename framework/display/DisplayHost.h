#pragma once
// What the display reads from and reports to the application that owns it: the requested size
// and depth, the aspect and presentation options, the 3D options, and the few values the
// display hands back. The application object implements it; tests use DisplayHost itself,
// whose options are plain fields.
#include "framework/core/Ratio.h"
#include "framework/display/ImageRegistry.h"
#include "framework/platform/window/WindowSystem.h"

namespace Quoll
{
struct DisplayOptions
{
    int width = 640;
    int height = 480;
    int colorDepth = 32;
    bool is3D = false;             // draw through the 3D renderer
    bool autoTest3D = false;       // run the display test even when 3D is off
    int minVidMemory3D = 6;        // MB, for the display test
    int recommendedVidMemory3D = 14;
    Ratio windowedAspect{4, 3};    // target aspect of the window
    bool windowedAspectEnabled = false;
    bool fullScreenWidescreen = false;
    bool widenDrawBuffer = false;  // the draw buffer takes the presented size
    bool pageFlip = true;          // full screen presents by flipping
    bool noFlip = false;           // flipping is suspended for now
    bool waitForVSync = false;
    bool vsyncBroken = false;
};

class DisplayHost
{
public:
    virtual ~DisplayHost() = default;

    [[nodiscard]] virtual const DisplayOptions& GetDisplayOptions() const { return mOptions; }
    // The window system the display's window lives in (null: no window geometry, no showing).
    [[nodiscard]] virtual Platform::WindowSystem* GetDisplayWindowSystem() const { return mWindows; }
    // The images' registry (every surface-backed image is also a memory image).
    [[nodiscard]] virtual ImageRegistry* GetDisplayImageRegistry() const { return GetImageRegistry(); }
    // The area of the window the application draws to.
    virtual void SetScreenRect(int x, int y, int width, int height)
    {
        mScreenRect[0] = x;
        mScreenRect[1] = y;
        mScreenRect[2] = width;
        mScreenRect[3] = height;
    }
    // The monitor's frequency could not be read or was outside 60..100 Hz.
    virtual void SetRefreshRateFallback(bool fallback) { mRefreshRateFallback = fallback; }
    // A display test ran with a fresh result.
    virtual void DisplayTestNotify() { ++mDisplayTestNotifies; }

    DisplayOptions mOptions;
    Platform::WindowSystem* mWindows = nullptr;
    int mScreenRect[4] = {};
    bool mRefreshRateFallback = false;
    int mDisplayTestNotifies = 0;
};
} // namespace Quoll
