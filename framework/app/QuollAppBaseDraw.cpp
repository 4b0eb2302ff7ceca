// One logic update, one drawing pass, presenting the frame (with recovery of a lost display)
// and the diagnostic overlays (frames per second, mouse position, demo time left).
//
// Drawing is paced before anything is drawn: a pass that may not present yet draws nothing,
// so a frame is never drawn and then withheld.
#include "framework/app/BlockFont.h"
#include "framework/app/QuollAppBase.h"
#include "framework/display/DDInterface.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/system/Clock.h"
#include "framework/sound/MusicInterface.h"

#include <cstdio>

namespace Quoll
{
namespace
{
constexpr uint32_t kPresentAtLeastEvery = 1000; // ms
constexpr uint32_t kReinitInterval = 1000;      // ms between attempts while inactive
constexpr int kLoadingDrawMinimum = 15;         // ms counted for a pass while loading
constexpr int kLoadingDrawGap = 35;             // ms added after each pass while loading
constexpr int kOverlayWidth = 50;
constexpr int kOverlayMargin = 10;

// a is later than b on the wrapping millisecond clock.
bool IsLater(uint32_t a, uint32_t b)
{
    return int32_t(a - b) > 0;
}
} // namespace

void QuollAppBase::UpdateFrame()
{
    ++mUpdateCount;
    if (mWidgetManager->UpdateFrame())
        ++mChangedUpdateCount;
    if (mMusicInterface)
        mMusicInterface->Update();
    CleanSharedImages();
}

bool QuollAppBase::TryUpdateFrame()
{
    if (mSystemScreenSaver.IsPaused())
        return false;
    if (!PickUpLoadingCompletion())
        return false;
    UpdateFrame();
    FlushSettings();
    UpdateScreenSaverPermission();
    return true;
}

void QuollAppBase::UpdateFrameSmooth(float fraction)
{
    if (mSmoothUpdates)
        mWidgetManager->UpdateFrameSmooth(fraction);
}

void QuollAppBase::Redraw(const Rect* clip)
{
    if (mDrawing || mShutdown || mSystemScreenSaver.IsPaused() || !mDisplay)
        return;
    if (mDisplay->Redraw(clip))
    {
        if (mDisplayLost)
        {
            mDisplayLost = false;
            mLastReinitAttempt = 0;
        }
        ++mPresentCount;
        return;
    }
    // A 3D scene that could not begin is part of the same loss: the restart deals with it.
    if (const DDInterface* display = GetDDInterface())
        if (Renderer3D* renderer = display->GetRenderer())
            renderer->ClearRenderTargetFailed();
    mDisplayLost = true;
    ReinitialiseLostDisplay();
}

// Tried while the window is active, or once a second in a window; never while minimised.
void QuollAppBase::ReinitialiseLostDisplay()
{
    Platform::WindowPlacement placement;
    mWindowSystem->GetWindowPlacement(mMainWindow, placement);
    const uint32_t now = Platform::TickCount();
    const bool due = mActive || (now - mLastReinitAttempt > kReinitInterval && mIsPhysWindowed);
    if (!due || placement.showCmd == Platform::SW_SHOWMINIMIZED)
        return;
    mLastReinitAttempt = now;
    mWidgetManager->SetScreenImage(nullptr);
    const DisplayResult result = InitDisplay();
    if (result == DisplayResult::InvalidColorDepth && mIsWindowed)
    {
        if (mActive)
        {
            SwitchWindowedMode(false);
            mForceFullScreen = true;
        }
        return;
    }
    if (result == DisplayResult::RendererFailed)
    {
        Set3DAcceleration(false, true);
        return;
    }
    if (result != DisplayResult::Ok)
        return; // a later pass tries again
    ReInitImages();
    TakeNewScreenImage();
    ++mPresentCount;
}

bool QuollAppBase::DrawDirty()
{
    // A lost display only tries to come back.
    if (mDisplayLost)
    {
        Redraw(nullptr);
        mNothingDrawn = true;
        return false;
    }
    const uint32_t passStart = Platform::TickCount();

    // Overlays; nothing while the system's screen saver runs.
    if (mShowFPS)
        UpdateOverlays();
    CheckSystemScreenSaver(passStart);
    if (mSystemScreenSaver.IsPaused())
    {
        mNothingDrawn = true;
        return false;
    }

    // Pacing while loading: too early, nothing is drawn at all.
    if (IsLater(mNextDrawAllowed, passStart))
    {
        mDrawSkipped = true;
        mHasPendingDraw = false;
        mNothingDrawn = true;
        return false;
    }

    // The widgets; a clean screen is still presented once a second.
    mDrawing = true;
    const bool drewSomething = mWidgetManager->DrawScreen();
    mDrawing = false;
    if (!drewSomething && passStart - mLastPresentTick < kPresentAtLeastEvery && !mForceRedraw)
    {
        mDrawSkipped = true;
        mHasPendingDraw = false;
        mNothingDrawn = true;
        return false;
    }

    // Count the draw; the overlays go on top.
    ++mDrawCount;
    if (mShowFPS)
        DrawOverlays();
    DrawModalClient();

    // Soft vertical sync in a window: one refresh since the last present.
    if (mWaitForVSync && mIsPhysWindowed && mVSyncBroken && mDisplay)
    {
        const uint32_t due = mLastPresentTick + uint32_t(mDisplay->GetRefreshPeriodMs());
        const uint32_t now = Platform::TickCount();
        if (IsLater(due, now))
            Platform::SleepMilliseconds(due - now);
    }

    // Present.
    const uint32_t presentStart = Platform::TickCount();
    mDrawTimeTotal += int(presentStart - passStart);
    mLastPresentTick = presentStart;
    Redraw(nullptr);
    AccumulateElapsedTime();
    const uint32_t now = Platform::TickCount();
    mLastPresentTime = int(now - presentStart);

    // While loading, passes are spaced so that loading gets the processor.
    if (mLoadingThreadRunning)
    {
        int spent = int(now - passStart);
        if (spent < kLoadingDrawMinimum + 1)
            spent = kLoadingDrawMinimum;
        uint32_t next = mNextDrawAllowed + uint32_t(spent + kLoadingDrawGap);
        if (!IsLater(next, now))
            next = now;
        mNextDrawAllowed = next;
    }
    else
    {
        mNextDrawAllowed = now;
    }

    // The frame is drawn: nothing is pending any more.
    mForceRedraw = false;
    mHasPendingDraw = false;
    mDrawSkipped = false;
    mNothingDrawn = false;
    return true;
}

void QuollAppBase::CheckSystemScreenSaver(uint32_t now)
{
    constexpr uint32_t kCheckInterval = 1000; // ms
    // A full-screen program covers the screen saver; a screen saver is one itself.
    if (mIsScreenSaver || !mIsPhysWindowed || !mWindowSystem)
    {
        if (mSystemScreenSaver.End())
            mWidgetManager->MarkAllDirty();
        return;
    }
    if (mScreenSaverChecked && now - mScreenSaverCheckTick < kCheckInterval)
        return;
    mScreenSaverChecked = true;
    mScreenSaverCheckTick = now;
    if (mSystemScreenSaver.Run(*mWindowSystem, now, mLastUserInputTick) == SystemScreenSaverCheck::Change::Ended)
        mWidgetManager->MarkAllDirty();
}

// --- Overlays ------------------------------------------------------------------------------------

namespace
{
void DrawOverlayText(Image* image, Font* font, const std::string& text)
{
    Graphics g(image);
    g.SetColor(Color(0, 0, 0));
    g.FillRect(0, 0, image->GetWidth(), image->GetHeight());
    g.SetFont(font);
    g.SetColor(Color(255, 255, 255));
    g.DrawString(std::wstring(text.begin(), text.end()), 2, font->GetAscent());
}

std::string HoursMinutesSeconds(int seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}
} // namespace

std::unique_ptr<Font> QuollAppBase::MakeSystemFont(const std::string& faceName, int pointSize)
{
    std::unique_ptr<Font> font;
    if (mSystemFontHook != nullptr)
        font = mSystemFontHook(this, faceName, pointSize);
    if (!font)
        font = std::make_unique<BlockFont>();
    return font;
}

void QuollAppBase::UpdateOverlays()
{
    if (!mOverlayFont)
        mOverlayFont = MakeSystemFont("Tahoma", 8);
    auto makeImage = [this](std::unique_ptr<Image>& image) {
        if (image)
            return;
        std::unique_ptr<MemoryImage> created(NewDisplayImage());
        created->Create(kOverlayWidth, mOverlayFont->GetHeight() + 4);
        image = std::move(created);
    };
    makeImage(mOverlayImage);
    const uint32_t now = Platform::TickCount();
    char text[32];
    if (mShowFPSMode == 0)
    {
        if (mFrameRate.Frame(now))
        {
            std::snprintf(text, sizeof text, "FPS: %d", mFrameRate.Rate());
            DrawOverlayText(mOverlayImage.get(), mOverlayFont.get(), text);
        }
    }
    else
    {
        std::snprintf(text, sizeof text, "%d,%d", mWidgetManager->GetLastMouseX(), mWidgetManager->GetLastMouseY());
        DrawOverlayText(mOverlayImage.get(), mOverlayFont.get(), text);
    }
    if (!mPlayingDemo)
        return;
    makeImage(mDemoTimeImage);
    const double speed = mSpeedFactor > 0 ? mSpeedFactor : 1.0;
    if (mDemoTimeDrawn != 0 && now - mDemoTimeDrawn < uint32_t(1000 / speed))
        return;
    mDemoTimeDrawn = now;
    const int secondsLeft = int(int64_t(mFrameTime) * (mDemo.mLength - mUpdateCount) / 1000);
    DrawOverlayText(mDemoTimeImage.get(), mOverlayFont.get(), HoursMinutesSeconds(secondsLeft));
}

void QuollAppBase::DrawOverlays()
{
    Image* screen = mDisplay ? mDisplay->GetScreenImage() : nullptr;
    if (screen == nullptr || !mOverlayImage)
        return;
    Graphics g(screen);
    const int overlayY = mHeight - mOverlayImage->GetHeight() - kOverlayMargin;
    g.DrawImage(mOverlayImage.get(), mWidth - mOverlayImage->GetWidth() - kOverlayMargin, overlayY);
    if (mPlayingDemo && mDemoTimeImage)
        g.DrawImage(mDemoTimeImage.get(), mWidth - mDemoTimeImage->GetWidth() - kOverlayMargin,
                    mHeight - mOverlayImage->GetHeight() - mDemoTimeImage->GetHeight() - 15);
}
} // namespace Quoll
