// The main loop and its timing.
//
// Logic advances only in whole steps of the frame time (10 ms: 100 updates a second), fed by
// an accumulator of wall time capped at 200 ms, so that a stall is dropped rather than caught
// up. Each UpdateAppStep call does one thing of the cycle: messages (one queued message per
// call), then one update when enough time has gathered, then the owed fractional steps, then a
// draw or a sleep. The wall clock only decides how many steps run; every step the application
// sees is the fixed frame time.
#include "framework/core/DebugOutput.h"
#include "framework/app/QuollAppBase.h"
#include "framework/platform/system/Clock.h"
#include "framework/sound/SoundManager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Quoll
{
namespace
{
constexpr double kMaxUpdateBacklog = 200.0; // milliseconds
constexpr int kMaxLoadingSleep = 250;       // milliseconds
constexpr uint32_t kFastForwardDrawInterval = 1000;
constexpr uint32_t kVSyncTooFast = 800; // a second of updates in less: the refresh does not pace

enum UpdateState
{
    kStateMessages = 0,
    kStateUpdate = 1,
    kStateCatchUp = 2,
    kStateDraw = 3,
};
} // namespace

void QuollAppBase::Start()
{
    // Nothing runs after an early shutdown; the cursor and loading threads start.
    if (mShutdown)
        return;
    StartCursorThread();
    if (mAutoStartLoadingThread)
        StartLoadingThread();
    // The window is shown and takes the focus; the timing starts.
    mWindowSystem->ShowWindow(mMainWindow, Platform::SW_SHOW);
    mWindowSystem->SetFocus(mMainWindow);
    const uint32_t start = Platform::TickCount();
    mRunning = true;
    mLastUserInputTick = mLastTimerTick = mLastModeSwitchTime = start;
    // The main loop, with registry writes gathered per update; then the threads end.
    DeferSettingsWrites(true);
    DoMainLoop();
    ProcessDeferredDeletes();
    mRunning = false;
    WaitForLoadingThread();
    StopCursorThread();
    // The run's figures, the application's last word, the settings.
    ReportRunStatistics(start);
    PostMainLoopHook();
    WriteSettings();
    DeferSettingsWrites(false);
}

void QuollAppBase::ReportRunStatistics(uint32_t startTick)
{
    char line[96];
    auto report = [&](const char* format, auto value) {
        std::snprintf(line, sizeof line, format, value);
        OutputDebugText(line);
    };
    report("Seconds       = %g\r\n", (Platform::TickCount() - startTick) / 1000.0);
    report("Sleep Count   = %d\r\n", mSleepCount);
    report("Update Count  = %d\r\n", mUpdateCount);
    report("Draw Count    = %d\r\n", mDrawCount.load());
    report("Draw Time     = %d\r\n", mDrawTimeTotal);
    report("Screen Blt    = %d\r\n", mLastPresentTime);
    if (mDrawTimeTotal + mLastPresentTime > 0)
        report("Avg FPS       = %d\r\n", mDrawCount * 1000 / (mDrawTimeTotal + mLastPresentTime));
}

void QuollAppBase::DoMainLoop()
{
    while (!mShutdown)
    {
        mExitNestedLoop = false;
        UpdateApp();
    }
}

bool QuollAppBase::UpdateApp()
{
    bool updated = false;
    do
    {
        if (!UpdateAppStep(&updated))
            return false;
    } while (!updated && !mShutdown);
    return true;
}

bool QuollAppBase::UpdateAppStep(bool* updated)
{
    // A nested loop that was told to end returns; a finished cycle starts again.
    if (updated != nullptr)
        *updated = false;
    if (mExitNestedLoop)
        return false;
    if (mUpdateAppState == kStateDraw)
        mUpdateAppState = kStateMessages;
    ++mUpdateAppDepth;

    if (mUpdateAppState == kStateMessages)
    {
        // The system's messages, then one queued message per step.
        Platform::Message message;
        while (!mShutdown && mWindowSystem->PeekMessage(message))
        {
            mWindowSystem->TranslateMessage(message);
            mWindowSystem->DispatchMessage(message);
        }
        ProcessDemoInput();
        mDemoCursorX = mDemo.LastMouseX();
        mDemoCursorY = mDemo.LastMouseY();
        if (!ProcessDeferredMessage())
            mUpdateAppState = kStateUpdate;
    }
    else if (mDebugStepMode == 2)
    {
        // Held by the debug keys: one frame time per step.
        Platform::SleepMilliseconds(uint32_t(mFrameTime));
        mUpdateAppState = kStateDraw;
    }
    else if (mDebugStepMode == 1)
    {
        mDebugStepMode = 2;
        TryUpdateFrame();
        UpdateFrameSmooth(1.0f);
        DrawDirty();
    }
    else
    {
        const int before = mUpdateCount;
        Process(true);
        if (updated != nullptr)
            *updated = mUpdateCount != before;
    }
    --mUpdateAppDepth;
    return true;
}

void QuollAppBase::AccumulateElapsedTime()
{
    const uint32_t now = Platform::TickCount();
    if (mLastAccumulatorTime == 0)
    {
        mLastAccumulatorTime = now;
        return;
    }
    // The cap never falls below one step, so that a slow speed still reaches its next update.
    const double cap = mSpeedFactor > 0 ? std::max(kMaxUpdateBacklog, mFrameTime / mSpeedFactor) : kMaxUpdateBacklog;
    const int elapsed = int(now - mLastAccumulatorTime);
    mUpdateAccumulator = std::min(cap, mUpdateAccumulator + elapsed);
    mLastAccumulatorTime = now;
}

bool QuollAppBase::Process(bool allowSleep)
{
    // A shutdown asked for by another thread happens here.
    if (mShutdownRequested)
        Shutdown();

    // Step length; vertical-sync stepping is not offered, so a step is the frame time.
    const bool vsync = mVSyncUpdates && !mPlayingDemo && !mDrawSkipped && !mVSyncBroken &&
                       (!mIsPhysWindowed || (mWaitForVSync && !mSoftVSyncWait));
    double interval = mFrameTime / mSpeedFactor;
    double stepsPerFrame = 1.0;
    if (mVSyncUpdates)
    {
        interval = (1000.0 / mSyncRefreshRate) / mSpeedFactor;
        stepsPerFrame = float(1000.0 / (mFrameTime * mSyncRefreshRate));
    }

    // A demo fast-forwarding runs its updates back to back.
    if (mPlayingDemo && FastForwardDemo(stepsPerFrame))
        return true;

    // Timed updates; none while paused, at a speed of 0 or below, or while the desktop's
    // screen saver runs. The next step goes back to the messages (which may resume), after a
    // frame's sleep; the screen saver's pause ends in a drawing pass, which looks at the desktop.
    if (mPaused || mSpeedFactor <= 0 || mSystemScreenSaver.IsPaused())
    {
        mUpdateAppState = kStateDraw;
        if (mSystemScreenSaver.IsPaused())
            DrawDirty();
        if (!allowSleep)
            return false;
        Platform::SleepMilliseconds(uint32_t(mFrameTime));
        ProcessDeferredDeletes();
        return true;
    }
    const uint32_t now = Platform::TickCount();
    uint32_t slept = 0;
    if (!vsync)
        AccumulateElapsedTime();

    bool drawOrSleep = false;
    if (mUpdateAppState == kStateUpdate)
    {
        // A draw is forced after ten updates (at normal speed) without one, but always after
        // at least one update, so that a slow demo speed still updates.
        ++mFrameStepCount;
        const int drawAfter = std::max(2, int(std::floor(mSpeedFactor * 10)));
        const double threshold = vsync ? (mHasPendingDraw ? double(int(interval * 0.75)) : 0.0) : interval;
        if (mFrameStepCount >= drawAfter && !mLoadingThreadRunning)
        {
            drawOrSleep = true;
        }
        else if (mUpdateAccumulator < threshold)
        {
            drawOrSleep = true;
        }
        else
        {
            CheckVSyncBroken(now);
            if (TryUpdateFrame())
            {
                mUpdateAppState = kStateCatchUp;
                mHasPendingDraw = true;
            }
            else
            {
                // Held (a demo waiting for its loader, a record due, its end or a fault; the
                // screen saver's pause): back to the messages, which may close the program.
                drawOrSleep = true;
            }
        }
    }
    else if (mUpdateAppState == kStateCatchUp)
    {
        mUpdateAppState = kStateDraw;
        RunOwedSteps(stepsPerFrame);
        mUpdateAccumulator -= interval;
        if (vsync)
            mUpdateAccumulator = std::max(0.0, mUpdateAccumulator - 0.2);
    }
    else
    {
        drawOrSleep = true;
    }

    // Draw when an update is not drawn yet, else sleep to the next update.
    if (drawOrSleep)
    {
        mUpdateAppState = kStateDraw;
        mFrameStepCount = 0;
        if (mHasPendingDraw)
        {
            DrawDirty();
        }
        else
        {
            const int wait = int(interval - mUpdateAccumulator);
            if (wait > 0)
            {
                if (!allowSleep)
                    return false;
                ++mSleepCount;
                Platform::SleepMilliseconds(uint32_t(wait));
                slept = uint32_t(wait);
            }
        }
    }

    // The loading thread's share of the time; widgets whose deletion waited.
    if (!LoadingPacing(allowSleep, now, slept))
        return false;
    ProcessDeferredDeletes();
    return true;
}

// The fractional steps owed by vertical-sync stepping, then the smooth update.
void QuollAppBase::RunOwedSteps(double stepsPerFrame)
{
    mStepFraction += stepsPerFrame - 1.0;
    ProcessDeferredDeletes();
    while (mStepFraction >= 1.0)
    {
        ProcessDemoInput();
        ++mFrameStepCount;
        if (!TryUpdateFrame())
            break;
        ProcessDeferredDeletes();
        mStepFraction -= 1.0;
    }
    UpdateFrameSmooth(float(stepsPerFrame));
    ProcessDeferredDeletes();
}

// True when the pass is over (the fast-forward ran or waits); false to go on with timed updates.
bool QuollAppBase::FastForwardDemo(double stepsPerFrame)
{
    while (mUpdateCount < mFastForwardTarget || mFastForwardToEnd)
    {
        // Muted while it runs.
        if (!mAutoMuted && !mFastForwardStep)
        {
            mAutoMuted = true;
            Mute(true);
        }
        if (mFastForwardFirstTick == 0)
            mFastForwardFirstTick = Platform::TickCount();
        // Recorded input due now is applied first: this loop does not pass the message
        // step, and a due record holds the update.
        ResetFrameTiming();
        ProcessDemoInput();
        const int before = mUpdateCount;
        if (TryUpdateFrame())
            RunOwedSteps(stepsPerFrame);
        // The demo waits for something (the loading thread, its end): the next step takes
        // the messages, so that the window's close still ends the program.
        if (mUpdateCount == before)
        {
            mUpdateAppState = kStateDraw;
            return true;
        }
        // One draw a wall second, or after a single step.
        if (Platform::TickCount() - mFastForwardFirstTick >= kFastForwardDrawInterval || mFastForwardStep)
        {
            mFastForwardStep = false;
            mFastForwardFirstTick = Platform::TickCount();
            DrawDirty();
            return true;
        }
    }
    if (mAutoMuted)
    {
        mAutoMuted = false;
        if (mSoundManager)
            mSoundManager->StopAllSounds();
        Unmute(true);
    }
    return false;
}

// Three seconds' worth of updates in 800 ms or less each: the refresh does not pace the loop.
void QuollAppBase::CheckVSyncBroken(uint32_t now)
{
    if (mPlayingDemo || mSpeedFactor != 1.0)
        return;
    if (++mVSyncBrokenUpdates < (mFrameTime + 999) / mFrameTime)
        return;
    if (now - mVSyncBrokenTime <= kVSyncTooFast)
    {
        if (++mVSyncBrokenCount >= 3)
            mVSyncBroken = true;
    }
    else
    {
        mVSyncBrokenCount = 0;
    }
    mVSyncBrokenTime = now;
    mVSyncBrokenUpdates = 0;
}

// While the loading thread runs, each pass yields twice the time it took (at most 250 ms).
bool QuollAppBase::LoadingPacing(bool allowSleep, uint32_t passStart, uint32_t slept)
{
    if (!mLoadingThreadRunning)
        return true;
    const int spent = int(Platform::TickCount() - slept - passStart);
    const int extra = std::min(kMaxLoadingSleep, 2 * spent - int(slept));
    if (extra < 0)
        return true;
    if (!allowSleep)
        return false;
    Platform::SleepMilliseconds(uint32_t(extra));
    return true;
}

void QuollAppBase::SafeDeleteWidget(Widget* widget)
{
    if (widget != nullptr)
        mDeferredDeletes.emplace_back(mUpdateAppDepth, widget);
}

// A widget queued inside a nested loop lives until that loop has returned; the others go in
// the order they were queued.
void QuollAppBase::ProcessDeferredDeletes()
{
    std::list<std::pair<int, Widget*>> due;
    for (auto entry = mDeferredDeletes.begin(); entry != mDeferredDeletes.end();)
    {
        auto next = std::next(entry);
        if (entry->first >= mUpdateAppDepth)
            due.splice(due.end(), mDeferredDeletes, entry);
        entry = next;
    }
    for (const auto& [depth, widget] : due)
        mWidgetManager->DestroyWidget(widget);
}
} // namespace Quoll
