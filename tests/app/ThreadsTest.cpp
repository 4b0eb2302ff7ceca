// The application's threads: the loading thread's completion picked up by the next update on
// the main thread with the main thread's priority restored, Shutdown from another thread, the
// destructor waiting for a running loader, and shared images asked for by two threads at once.
// Every case here is named Threads*, so that scripts/tsan.sh runs them under ThreadSanitizer.
// Rerun one case: test_app --gtest_filter='Threads*'
#include "TestApp.h"

#include "framework/display/MemoryImage.h"
#include "framework/platform/system/Clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Quoll;
using namespace QuollTest;

namespace
{
void WaitFor(const std::atomic<bool>& flag)
{
    while (!flag)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

class LoaderApp : public TestApp
{
public:
    void LoadingThreadProc() override
    {
        mNumLoadingThreadTasks = 4;
        entered = true;
        WaitFor(release);
        mCompletedLoadingThreadTasks = 6; // more than announced
    }
    void LoadingThreadCompleted() override
    {
        completedOnThread = std::this_thread::get_id();
        ++completions;
    }

    std::atomic<bool> entered{false}, release{false};
    std::thread::id completedOnThread;
    int completions = 0;
};
} // namespace

TEST(ThreadsLoader, CompletionIsPickedUpByTheNextUpdateOnTheMainThread)
{
    LoaderApp app;
    app.Init();
    app.StartLoadingThread();
    app.StartLoadingThread(); // once only
    EXPECT_TRUE(app.mMainThreadRaised);
    EXPECT_TRUE(app.mLoadingThreadRunning);
    WaitFor(app.entered);
    EXPECT_DOUBLE_EQ(app.GetLoadingThreadProgress(), 0.0);

    EXPECT_TRUE(app.TryUpdateFrame());
    EXPECT_EQ(app.completions, 0);

    app.release = true;
    while (!app.mLoadingThreadCompleted)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(app.completions, 0) << "nothing happens before the next update";
    EXPECT_TRUE(app.TryUpdateFrame());
    EXPECT_EQ(app.completions, 1);
    EXPECT_EQ(app.completedOnThread, std::this_thread::get_id());
    EXPECT_FALSE(app.mMainThreadRaised);
    EXPECT_FALSE(app.mLoadingThreadRunning);
    EXPECT_DOUBLE_EQ(app.GetLoadingThreadProgress(), 1.0);
    app.TryUpdateFrame();
    EXPECT_EQ(app.completions, 1);
}

// The desktop's screen saver may start only in a window and once the loading has completed.
TEST(ThreadsLoader, TheScreenSaverIsAllowedInAWindowOnceLoadingHasCompleted)
{
    LoaderApp app;
    app.Init();
    ASSERT_TRUE(app.mIsPhysWindowed);
    app.StartLoadingThread();
    WaitFor(app.entered);
    EXPECT_TRUE(app.TryUpdateFrame());
    EXPECT_FALSE(app.Headless().ScreenSaverAllowed());
    app.release = true;
    while (!app.mLoadingThreadCompleted)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(app.TryUpdateFrame());
    EXPECT_TRUE(app.Headless().ScreenSaverAllowed());
    app.SwitchWindowedMode(false);
    ASSERT_FALSE(app.mIsPhysWindowed);
    EXPECT_TRUE(app.TryUpdateFrame());
    EXPECT_FALSE(app.Headless().ScreenSaverAllowed());
}

TEST(ThreadsLoader, ProgressNeverExceedsOne)
{
    LoaderApp app;
    app.StartLoadingThread();
    WaitFor(app.entered);
    app.mCompletedLoadingThreadTasks = 9;
    EXPECT_DOUBLE_EQ(app.GetLoadingThreadProgress(), 1.0);
    app.release = true;
}

TEST(ThreadsShutdown, AnotherThreadOnlyRaisesTheRequest)
{
    ScopedThrowingExit exits;
    TestApp app;
    app.Init();
    std::thread other([&] { app.Shutdown(); });
    other.join();
    EXPECT_TRUE(app.mShutdownRequested);
    EXPECT_FALSE(app.mShutdown);
    app.Process(false);
    EXPECT_TRUE(app.mShutdown);
}

namespace
{
std::atomic<bool> gLoaderSawTheResourceManager{false};

class SlowLoaderApp : public TestApp
{
public:
    void LoadingThreadProc() override
    {
        entered = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gLoaderSawTheResourceManager = mResourceManager != nullptr;
    }
    std::atomic<bool> entered{false};
};
} // namespace

TEST(ThreadsDestructor, WaitsForTheLoaderBeforeDeletingWhatItUses)
{
    gLoaderSawTheResourceManager = false;
    auto app = std::make_unique<SlowLoaderApp>();
    app->Init();
    app->StartLoadingThread();
    WaitFor(app->entered);
    app.reset();
    EXPECT_TRUE(gLoaderSawTheResourceManager);
}

TEST(ThreadsCursor, StopsWithTheShutdownFlag)
{
    ScopedThrowingExit exits;
    TestApp app;
    app.Init();
    app.StartCursorThread();
    EXPECT_TRUE(app.mCursorThreadRunning);
    app.Shutdown();
    while (app.mCursorThreadRunning)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

namespace
{
class BlockingImageApp : public TestApp
{
public:
    MemoryImage* GetImage(const std::string&, bool) override
    {
        ++loads;
        loading = true;
        WaitFor(release);
        auto* image = new MemoryImage(this);
        image->Create(2, 2);
        return image;
    }
    std::atomic<int> loads{0};
    std::atomic<bool> loading{false}, release{false};
};
} // namespace

TEST(ThreadsSharedImages, ASecondAskerWaitsForTheImageBeingLoaded)
{
    BlockingImageApp app;
    app.Init();
    SharedImageRef first;
    std::thread loader([&] { first = app.GetSharedImage("data/Ball.png"); });
    WaitFor(app.loading);
    bool isNew = true;
    std::thread asker([&] {
        SharedImageRef second = app.GetSharedImage("DATA/ball.PNG", "", &isNew);
        EXPECT_NE(second.GetImage(), nullptr) << "never an empty entry";
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    app.release = true;
    loader.join();
    asker.join();
    EXPECT_FALSE(isNew);
    EXPECT_EQ(app.loads, 1);
    EXPECT_NE(first.GetImage(), nullptr);
}

TEST(SharedImages, NamesDifferingInCaseShareOneImageAndUnusedOnesAreCleanedUp)
{
    BlockingImageApp app;
    app.release = true;
    app.Init();
    bool isNew = false;
    SharedImageRef a = app.GetSharedImage("Art/Cell.png", "", &isNew);
    EXPECT_TRUE(isNew);
    {
        SharedImageRef b = app.GetSharedImage("ART/CELL.PNG", "", &isNew);
        EXPECT_FALSE(isNew);
        EXPECT_EQ(a.GetImage(), b.GetImage());
    }
    app.UpdateFrame();
    EXPECT_EQ(app.mSharedImageMap.size(), 1u) << "still held";
    a.Release();
    app.UpdateFrame();
    EXPECT_TRUE(app.mSharedImageMap.empty());
}

namespace
{
// Counts the cursor thread's calls; any thread may call.
class CursorDisplay final : public NullDisplay
{
public:
    CursorDisplay() : NullDisplay(640, 480) {}
    void SetCursorPos(int x, int y) override
    {
        lastX = x;
        lastY = y;
        ++moves;
    }
    void SetPendingCursorPos(int, int) override { ++pending; }

    std::atomic<int> moves{0}, pending{0}, lastX{0}, lastY{0};
};

class CursorApp : public TestApp
{
public:
    std::unique_ptr<AppDisplay> CreateDisplay() override
    {
        auto created = std::make_unique<CursorDisplay>();
        display = created.get();
        return created;
    }
    CursorDisplay* display = nullptr;
};
} // namespace

TEST(ThreadsCursor, FollowsTheRecordedPointerAtOnceOnlyWhenFramesStall)
{
    ScopedThrowingExit exits;
    CursorApp app;
    app.Init();
    app.mPlayingDemo = true; // the pointer is the demo's
    app.mDemoCursorX = 30;
    app.mDemoCursorY = 40;
    app.mNextDrawAllowed = Platform::TickCount() + 100000; // frames are being presented
    app.StartCursorThread();
    while (app.display->pending == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(app.display->moves, 0);

    app.mNextDrawAllowed = Platform::TickCount() - 1000; // no frame for a second
    while (app.display->moves == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(app.display->lastX, 30);
    EXPECT_EQ(app.display->lastY, 40);
    app.Shutdown();
}

namespace
{
class RunningApp : public TestApp
{
public:
    void LoadingThreadProc() override { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }
    void LoadingThreadCompleted() override
    {
        GetWindowSystem()->PostMessage(mMainWindow, Platform::WM_CLOSE, 0, 0);
    }
};
} // namespace

TEST(ThreadsRun, StartRunsBothThreadsAndReturnsAfterTheClose)
{
    ScopedThrowingExit exits;
    RunningApp app;
    app.Init();
    app.Start();
    EXPECT_TRUE(app.mShutdown);
    EXPECT_TRUE(app.mLoadingCompletionPickedUp);
    EXPECT_FALSE(app.mCursorThreadRunning);
    EXPECT_GT(app.mUpdateCount, 0);
}
