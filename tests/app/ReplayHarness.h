#pragma once
// The replay harness: an application that runs a scripted session on the headless window
// system and a fake clock while recording a demo, then the same application replaying that
// demo at full speed. Each run keeps evidence: every input call the widgets received with the
// update count it came at, the outcomes of the registry, file and clipboard operations, the
// loader's completion, a digest of the random generator every N updates, and the generator's
// final state. Two runs agree when their evidence is equal; FirstDifference names the first
// update where they part.
//
// Script keys with an effect of their own: 'R' writes and reads back a registry value, 'F'
// reads the harness's data file, 'C' reads the clipboard.
#include "TestApp.h"
#include "tests/app/replay/InputLogWidgets.h"

#include "framework/core/Common.h"
#include "framework/core/MersenneTwister.h"
#include "framework/platform/system/Clock.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace QuollTest
{
struct ReplayEvidence
{
    std::vector<std::string> events; // "<update> <what>"
    std::string randomState;
    int updates = 0;
    std::vector<std::string> popups; // message boxes shown (a failed replay shows its error)
};

// "update N: <recorded> / <replayed>" for the first event that differs, or empty.
inline std::string FirstDifference(const ReplayEvidence& recorded, const ReplayEvidence& replayed)
{
    const size_t common = std::min(recorded.events.size(), replayed.events.size());
    for (size_t i = 0; i < common; ++i)
        if (recorded.events[i] != replayed.events[i])
            return "update " + recorded.events[i].substr(0, recorded.events[i].find(' ')) + ": '" +
                   recorded.events[i] + "' / '" + replayed.events[i] + "'";
    if (recorded.events.size() != replayed.events.size())
    {
        const std::vector<std::string>& longer =
            recorded.events.size() > common ? recorded.events : replayed.events;
        return "update " + longer[common].substr(0, longer[common].find(' ')) + ": '" + longer[common] +
               "' in one run only";
    }
    if (recorded.randomState != replayed.randomState)
        return "the random generator's final state";
    return {};
}

class ReplayTestApp : public TestApp
{
public:
    static constexpr int kDigestEvery = 50;

    ReplayTestApp(const std::string& demoPath, bool play, std::string dataFile)
        : mDataFile(std::move(dataFile))
    {
        mWidgetManager = std::make_unique<QuollReplay::InputLogWidgets>(
            [this](const std::string& what, int x, int y) {
                Log(x < 0 ? what : what + " " + std::to_string(x) + "," + std::to_string(y));
            },
            [this](int keyCode) { KeyAction(keyCode); });
        // The demo options come from the command line, as they do for the program: what Init
        // reads before it (the settings) is not part of the demo.
        mCommandLine = std::string(play ? "-play" : "-record") + " -demofile=\"" + demoPath + "\"";
        mCommandLineParsed = false;
    }

    void ParseCommandLine() override
    {
        mCommandLineParsed = true;
        ParseCommandLineString(mCommandLine);
    }

    void Log(const std::string& what) { mEvidence.events.push_back(std::to_string(mUpdateCount) + " " + what); }

    // Runs until the application shuts down (or the watchdog ends a stuck run).
    ReplayEvidence Run(const std::string& script)
    {
        ScopedThrowingExit exits;
        Init();
        if (!script.empty())
        {
            std::string error;
            EXPECT_TRUE(Headless().LoadScript(script, &error)) << error;
        }
        if (mPlayingDemo && mFullSpeedReplay)
            mFastForwardToEnd = true;
        mLoaderDeadline = Quoll::Platform::TickCount() + 200 + uint32_t(std::rand() % 600);
        mWatchdogTick = Quoll::Platform::TickCount() + mWatchdogMilliseconds;
        mWatchdogRealTime = std::chrono::steady_clock::now() + std::chrono::milliseconds(mWatchdogMilliseconds);
        Start();
        mEvidence.randomState = Quoll::GlobalRandom().GetState();
        mEvidence.updates = mUpdateCount;
        return mEvidence;
    }

    // The registry, file and clipboard operations of the script's keys.
    void KeyAction(int keyCode)
    {
        if (keyCode == 'R')
        {
            const int written = int(Quoll::RandInt(1000));
            WriteRegInt("ReplayValue", written);
            mRegistryReadBit = static_cast<int32_t>(mDemo.Data().GetWriteBitPos());
            int read = -1;
            const bool ok = ReadRegInt("ReplayValue", read);
            Log("registry " + std::to_string(written) + " " + std::to_string(ok) + " " + std::to_string(read));
        }
        else if (keyCode == 'F')
        {
            Quoll::Buffer buffer;
            const bool ok = ReadBufferFromFile(mDataFile, buffer);
            Log("file " + std::to_string(ok) + " " + (ok ? buffer.ReadString() : std::string()));
        }
        else if (keyCode == 'C')
            Log("clipboard " + GetClipboardText());
    }

    void UpdateFrame() override
    {
        WaitForLateLoader();
        TestApp::UpdateFrame();
        Quoll::RandInt(100); // the program's randomness advances with every update
        if (mUpdateCount % kDigestEvery == 0)
            Log("random " + std::to_string(Quoll::GlobalRandom().Next(1u << 30)));
    }

    void LoadingThreadProc() override
    {
        // Finishes at an unpredictable update: when the session's clock has passed a random
        // point (as the recording's main loop sleeps), or after a few real milliseconds (a
        // replay at full speed does not sleep).
        const uint32_t until = mLoaderDeadline;
        const auto realLimit = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
        while (Quoll::Platform::TickCount() < until && std::chrono::steady_clock::now() < realLimit)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The game reads its settings here; those reads are recorded after the completion.
    void LoadingThreadCompleted() override
    {
        int value = -1;
        const bool read = ReadRegInt("ReplayValue", value);
        Log("loading completed " + std::to_string(read) + " " + std::to_string(value));
    }

    void PopupW(const std::wstring& text) override { mEvidence.popups.push_back(Quoll::WStringToString(text)); }

    bool Process(bool allowSleep) override
    {
        // A failed or ended replay makes no more updates; the harness ends it, or closes its
        // window as a user would.
        const bool stuck = mPlayingDemo && (mDemo.Failed() || (mDemo.Ended() && DemoHoldsUpdate()));
        if (stuck && mCloseWhenStuck && !mCloseSent)
        {
            mCloseSent = true;
            Quoll::Platform::InputEvent close;
            close.kind = Quoll::Platform::InputKind::CloseRequested;
            Headless().Feed(close);
        }
        else if ((stuck && !mCloseWhenStuck) || Quoll::Platform::TickCount() > mWatchdogTick ||
                 std::chrono::steady_clock::now() > mWatchdogRealTime)
            Shutdown();
        return TestApp::Process(allowSleep);
    }

    int32_t mRegistryReadBit = -1; // where the last registry read record starts in the stream
    bool mFullSpeedReplay = true;  // a replay runs to its end at full speed
    uint32_t mWatchdogMilliseconds = kWatchdogMilliseconds; // of the session's clock, and of real time
    bool mCloseWhenStuck = false;  // a stuck replay gets a window close instead of a shutdown
    bool mCloseSent = false;

private:
    static constexpr uint32_t kWatchdogMilliseconds = 20000;
    static constexpr uint32_t kLoaderSlack = 300;

    // A recording does not run far past the loader's point in time without it (a busy machine
    // may not schedule the thread before the session ends); where it finishes stays open.
    void WaitForLateLoader()
    {
        const auto realLimit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!mPlayingDemo && mLoadingThreadStarted && !mLoadingThreadCompleted &&
               Quoll::Platform::TickCount() > mLoaderDeadline + kLoaderSlack &&
               std::chrono::steady_clock::now() < realLimit)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    std::string mCommandLine;
    std::string mDataFile;
    ReplayEvidence mEvidence;
    uint32_t mWatchdogTick = 0;
    std::atomic<uint32_t> mLoaderDeadline{UINT32_MAX - kLoaderSlack};
    std::chrono::steady_clock::time_point mWatchdogRealTime;
};

} // namespace QuollTest
