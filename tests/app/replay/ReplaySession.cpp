// replay_session: the application under the replay check of the framework itself. It takes
// the framework's own options (-record, -play, -demofile=...), runs the headless script of
// QUOLL_HEADLESS_SCRIPT, and folds every input it receives, the outcomes of its registry,
// file and clipboard operations ('R', 'F' and 'C' keys) and its random draws into a state
// hash and a small screen, which ReplayDigest writes out. A played demo runs at full speed and
// ends with the recorded close; a replay that stops with an error exits with code 1.
#include "framework/core/Common.h"
#include "framework/core/MersenneTwister.h"
#include "framework/app/QuollAppBase.h"
#include "framework/platform/system/Clock.h"
#include "tests/app/replay/InputLogWidgets.h"
#include "framework/demo/ReplayDigest.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int kScreenWidth = 64;
constexpr int kScreenHeight = 48;
constexpr uint32_t kWatchdogMilliseconds = 60000;

class SessionApp final : public Quoll::QuollAppBase
{
public:
    SessionApp()
    {
        mWidgetManager = std::make_unique<QuollReplay::InputLogWidgets>(
            [this](const std::string& what, int x, int y) { Note(what, x, y); },
            [this](int keyCode) { KeyAction(keyCode); });
        mCompanyName = "Nordwick";
        mProdName = "ReplaySession";
        mRegKey = "Nordwick\\ReplaySession";
        mScreen.assign(size_t(kScreenWidth) * kScreenHeight, 0xFF000000u);
    }

    // Folds an input or an outcome into the state, and marks the screen where it points.
    void Note(const std::string& what, int x = -1, int y = -1)
    {
        const std::string line = std::to_string(mUpdateCount) + " " + what;
        mHash = QuollReplay::HashBytes(line.data(), line.size(), mHash);
        if (x >= 0 && y >= 0)
            mScreen[size_t(std::min(y / 16, kScreenHeight - 1)) * kScreenWidth + size_t(std::min(x / 16, kScreenWidth - 1))] =
                0xFF000000u | uint32_t(mHash & 0xFFFFFF);
    }

    void KeyAction(int keyCode)
    {
        if (keyCode == 'R')
        {
            const int written = int(Quoll::RandInt(1000));
            WriteRegInt("ReplayValue", written);
            int read = -1;
            Note("registry " + std::to_string(ReadRegInt("ReplayValue", read)) + " " + std::to_string(read));
        }
        else if (keyCode == 'F')
        {
            Quoll::Buffer buffer;
            const bool ok = ReadBufferFromFile(Quoll::GetAppDataFolder() + "replay.dat", buffer);
            Note("file " + std::to_string(ok) + " " +
                 std::to_string(QuollReplay::HashBytes(buffer.GetDataPtr(), buffer.GetDataSize())));
        }
        else if (keyCode == 'C')
            Note("clipboard " + GetClipboardText());
    }

    void UpdateFrame() override
    {
        QuollAppBase::UpdateFrame();
        const uint32_t draw = uint32_t(Quoll::RandInt(1u << 30));
        mHash = QuollReplay::HashBytes(&draw, sizeof draw, mHash);
        mDigest.Update(mUpdateCount, mHash, mScreen.data(), kScreenWidth, kScreenHeight);
    }

    void LoadingThreadCompleted() override { Note("loading completed"); }

    void PopupW(const std::wstring& text) override
    {
        mFailed = true;
        std::fprintf(stderr, "replay_session: %s\n", Quoll::WStringToString(text).c_str());
    }

    bool Process(bool allowSleep) override
    {
        const bool stuck = mPlayingDemo && (mDemo.Failed() || (mDemo.Ended() && DemoHoldsUpdate()));
        if (stuck || Quoll::Platform::TickCount() - mStartedTick > kWatchdogMilliseconds)
            Shutdown();
        return QuollAppBase::Process(allowSleep);
    }

    int Run()
    {
        Init();
        if (mPlayingDemo)
            mFastForwardToEnd = true;
        mStartedTick = Quoll::Platform::TickCount();
        Start();
        mDigest.Finish(mUpdateCount, mHash);
        return mFailed || (mPlayingDemo && mDemo.Failed()) ? 1 : 0;
    }

private:
    QuollReplay::ReplayDigest mDigest;
    uint64_t mHash = 14695981039346656037ull;
    std::vector<uint32_t> mScreen;
    uint32_t mStartedTick = 0;
    bool mFailed = false;
};

} // namespace

int main()
{
    SessionApp app;
    return app.Run();
}
