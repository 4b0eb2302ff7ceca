// The loading thread (the application's LoadingThreadProc, once) and the cursor thread (moves
// the software cursor when frames stall).
//
// The loading thread writes only its finished flag and the progress counters (atomics); the
// main thread picks the completion up before an update and does everything that follows from
// it. The cursor thread reads atomics only and reaches the display through its cursor calls;
// it sleeps in real time, as it paces a thread and not the logic.
#include "framework/core/DebugOutput.h"
#include "framework/app/QuollAppBase.h"
#include "framework/platform/system/Clock.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace Quoll
{
namespace
{
constexpr uint32_t kLoadingPollMs = 20;
constexpr auto kCursorPeriod = std::chrono::milliseconds(10);
constexpr int kCursorStallSlack = 5; // ms beyond one refresh without a present
} // namespace

// The main thread runs above normal while loading runs, so that input and drawing stay smooth
// while the loader takes the rest.
void QuollAppBase::StartLoadingThread()
{
    if (mLoadingThreadStarted)
        return;
    mLoadingThreadRunning = true;
    mMainThreadRaised = true;
    Platform::SetCurrentThreadPriority(Platform::ThreadPriority::AboveNormal);
    mLoadingThreadStarted = true;
    mLoadingThread = Platform::Thread([this] {
        LoadingThreadProc();
        char line[64];
        std::snprintf(line, sizeof line, "Resource Loading Time: %d\r\n",
                      int(Platform::TickCount() - mConstructionTick));
        OutputDebugText(line);
        mLoadingThreadCompleted = true;
    });
}

void QuollAppBase::WaitForLoadingThread()
{
    while (mLoadingThreadStarted && !mLoadingThreadCompleted)
        Platform::SleepMilliseconds(kLoadingPollMs);
    mLoadingThread.Join();
}

double QuollAppBase::GetLoadingThreadProgress()
{
    if (mLoadingCompletionPickedUp)
        return 1.0;
    const int total = mNumLoadingThreadTasks;
    if (!mLoadingThreadStarted || total <= 0)
        return 0.0;
    return std::min(1.0, double(mCompletedLoadingThreadTasks) / total);
}

// Before an update, on the main thread. A played demo takes the completion at the update at
// which the recording took it, and makes no update while the real thread and the recording
// disagree or while a recorded event is due first.
bool QuollAppBase::PickUpLoadingCompletion()
{
    const bool finished = mLoadingThreadCompleted && !mLoadingCompletionPickedUp;
    if (finished && (!mPlayingDemo || mLoadingFinishedInDemo))
    {
        Platform::SetCurrentThreadPriority(Platform::ThreadPriority::Normal);
        mMainThreadRaised = false;
        mLoadingCompletionPickedUp = true;
        mLoadingThreadRunning = false;
        // Recorded before the application acts on it: what it reads then follows in the demo.
        RecordLoadingCompletion();
        LoadingThreadCompleted();
    }
    if (!mPlayingDemo)
        return true;
    if (mLoadingCompletionPickedUp != mLoadingFinishedInDemo)
        return false;
    return !DemoHoldsUpdate();
}

void QuollAppBase::StartCursorThread()
{
    if (mCursorThreadRunning || !mDisplay || !mWindowSystem)
        return;
    mCursorThreadRunning = true;
    mCursorFollowsDemo = mPlayingDemo;
    Platform::SetCurrentThreadPriority(Platform::ThreadPriority::AboveNormal);
    mCursorThread = Platform::Thread([this] { CursorThreadProc(); });
}

void QuollAppBase::StopCursorThread()
{
    mCursorThread.Join();
}

// Every 10 ms: when no frame was presented for longer than a refresh, the cursor moves at
// once; otherwise the position waits for the next frame.
void QuollAppBase::CursorThreadProc()
{
    Platform::SetCurrentThreadPriority(Platform::ThreadPriority::AboveNormal);
    int lastX = 0, lastY = 0;
    while (!mShutdown)
    {
        int x = mDemoCursorX, y = mDemoCursorY;
        if (!mCursorFollowsDemo)
        {
            Platform::ScreenPoint point;
            mWindowSystem->GetCursorPos(point);
            mWindowSystem->ScreenToClient(mCursorWindow, point);
            x = point.x;
            y = point.y;
        }
        if (mDrawCount != 0)
            mDisplay->GetCursorDrawnPos(lastX, lastY);
        if (x != lastX || y != lastY)
        {
            const int sincePresent = int32_t(Platform::TickCount() - mNextDrawAllowed);
            if (sincePresent > mDisplay->GetRefreshPeriodMs() + kCursorStallSlack)
            {
                mDisplay->SetCursorPos(x, y);
                lastX = x;
                lastY = y;
            }
            else
            {
                mDisplay->SetPendingCursorPos(x, y);
            }
        }
        std::this_thread::sleep_for(kCursorPeriod);
    }
    mCursorThreadRunning = false;
}
} // namespace Quoll
