#include "main/ReplayGameApp.h"

#include "framework/core/MersenneTwister.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "game/shell/BaseState.h"

#include <chrono>
#include <thread>

namespace
{
// Far enough ahead that no draw is due before the next checkpoint lifts it.
constexpr uint32_t kNoDrawFor = 1u << 30;
} // namespace

ReplayGameApp::~ReplayGameApp()
{
    mDigest.Finish(mUpdateCount, StateHash());
}

uint64_t ReplayGameApp::StateHash()
{
    std::string state = std::to_string(mUpdateCount);
    if (const States::BaseState* top = GetStateHost().GetTopState())
        state += ' ' + top->GetName();
    state += ' ' + std::to_string(GetStateHost().GetDepth());
    if (mWidgetManager)
        state += ' ' + std::to_string(mWidgetManager->GetLastMouseX()) + ',' +
                 std::to_string(mWidgetManager->GetLastMouseY());
    state += Quoll::GlobalRandom().GetState();
    return QuollReplay::HashBytes(state.data(), state.size());
}

void ReplayGameApp::UpdateFrame()
{
    // The previous update's evidence, with the frame drawn after it when it was a checkpoint.
    if (mPendingUpdate >= 0)
    {
        int width = 0, height = 0;
        const uint32_t* pixels = nullptr;
        const auto* headless = dynamic_cast<const Quoll::Platform::HeadlessWindowSystem*>(GetWindowSystem());
        if (headless != nullptr && mDigest.GetCheckpoints().count(mPendingUpdate) != 0)
            pixels = headless->LastFrame(width, height).data();
        mDigest.Update(mPendingUpdate, mPendingHash, pixels, width, height);
    }
    GameApp::UpdateFrame();
    mPendingUpdate = mUpdateCount;
    mPendingHash = StateHash();
    AllowDrawAfter(mUpdateCount);
}

void ReplayGameApp::AllowDrawAfter(int update)
{
    const uint32_t now = Quoll::Platform::TickCount();
    if (mDigest.GetCheckpoints().count(update) == 0)
    {
        mNextDrawAllowed = now + kNoDrawFor;
        return;
    }
    // The whole screen, as a player who saw every frame would see it.
    mNextDrawAllowed = now;
    mForceRedraw = true;
    if (mWidgetManager)
        mWidgetManager->MarkAllDirty();
    if (mPlayingDemo)
        mFastForwardStep = true;
}

bool ReplayGameApp::Process(bool allowSleep)
{
    // A played demo that stops with an error ends the run (its message is on the output), so
    // that the check fails at once rather than waiting at the message.
    if (mPlayingDemo && mDemo.Failed() && !mShutdown)
        Shutdown();
    if (!mPlayingDemo)
        while (mLoadingThreadRunning && !mLoadingThreadCompleted && !mShutdown)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return GameApp::Process(allowSleep);
}

void ReplayGameApp::RefreshCursor()
{
    GameApp::RefreshCursor();
    if (mPlayingDemo && mDisplay)
        mDisplay->SetCursorImage(nullptr);
}

bool ReplayGameApp::ChangeDirectoryHook(const std::string& folder)
{
    mProdName += "Replay";
    return GameApp::ChangeDirectoryHook(folder);
}
