// Starts the application object as the game does (1024 x 768, framed, centred in the work
// area) through QuollAppBase::Init, shows an animated frame at every logic update of its main
// loop and closes after a number of frames, either by posting WM_CLOSE or by sending itself
// SIGTERM; then the application object shuts down and is destroyed.
// Usage: window_smoke [--frames N] [--close post|signal|never] [--backend sdl|headless]
//                     [--fullscreen 1]  (desktop-sized, frames scaled with their aspect kept)
// Exit code 0 when the frames were shown and the close arrived as WM_CLOSE. The per-user
// folders default to a folder under /tmp, so that a run never touches a real home folder.
#include "framework/app/QuollAppBase.h"
#include "framework/platform/window/FramePresenter.h"
#include "framework/platform/window/WindowSystem.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace Quoll;
using namespace Quoll::Platform;

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

void DrawFrame(std::vector<uint32_t>& pixels, int frame)
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            uint32_t r = uint32_t((x + frame * 4) & 0xFF);
            uint32_t g = uint32_t((y + frame * 2) & 0xFF);
            uint32_t b = uint32_t(((x ^ y) + frame) & 0xFF);
            pixels[size_t(y) * kWidth + size_t(x)] = 0xFF000000u | r << 16 | g << 8 | b;
        }
}

class SmokeApp final : public QuollAppBase
{
public:
    SmokeApp(int frames, std::string close) : mFrames(frames), mClose(std::move(close))
    {
        mProdName = "WindowSmoke";
        mTitle = L"Window smoke test";
        mWidth = kWidth;
        mHeight = kHeight;
        mCommandLineParsed = true; // the smoke program's own options are not the framework's
        mOnlyAllowOneCopyToRun = false;
    }

    bool ChangeDirectoryHook(const std::string&) override { return true; }
    void CloseRequested() override { mClosed = true; }

    void UpdateFrame() override
    {
        QuollAppBase::UpdateFrame();
        if (mFailed || mShown >= mFrames)
            return;
        if (!mPresenter)
            mPresenter = GetWindowSystem()->CreatePresenter(mMainWindow);
        DrawFrame(mPixels, mShown);
        if (!mPresenter || !mPresenter->Present({mPixels.data(), kWidth, kHeight, kWidth * 4}))
        {
            std::fprintf(stderr, "window_smoke: a frame could not be shown\n");
            mFailed = true;
            Shutdown();
            return;
        }
        if (++mShown == mFrames && mClose != "never")
        {
            if (mClose == "signal")
                std::raise(SIGTERM);
            else
                GetWindowSystem()->PostMessage(mMainWindow, WM_CLOSE, 0, 0);
        }
    }

    bool Succeeded() const { return !mFailed && mClosed && mShown >= mFrames; }
    int Shown() const { return mShown; }
    bool Closed() const { return mClosed; }

private:
    int mFrames;
    std::string mClose;
    int mShown = 0;
    bool mClosed = false;
    bool mFailed = false;
    std::unique_ptr<FramePresenter> mPresenter;
    std::vector<uint32_t> mPixels = std::vector<uint32_t>(size_t(kWidth) * kHeight);
};

void KeepOutOfTheHomeFolder()
{
    const std::string base = "/tmp/window_smoke-" + std::to_string(::getuid());
    ::setenv("XDG_DATA_HOME", (base + "/data").c_str(), 0);
    ::setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 0);
}
} // namespace

int main(int argc, char** argv)
{
    int frames = 120;
    std::string close = "post";
    std::string backend;
    bool fullScreen = false;
    for (int i = 1; i + 1 < argc; i += 2)
    {
        if (std::strcmp(argv[i], "--frames") == 0)
            frames = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--close") == 0)
            close = argv[i + 1];
        else if (std::strcmp(argv[i], "--backend") == 0)
            backend = argv[i + 1];
        else if (std::strcmp(argv[i], "--fullscreen") == 0)
            fullScreen = std::atoi(argv[i + 1]) != 0;
        else
        {
            std::fprintf(stderr, "usage: %s [--frames N] [--close post|signal|never] [--backend NAME] [--fullscreen 1]\n",
                         argv[0]);
            return 2;
        }
    }
    KeepOutOfTheHomeFolder();

    std::unique_ptr<WindowSystem> system = WindowSystem::Create(backend);
    if (!system)
        return 1;
    const std::string backendName = system->BackendName();

    bool succeeded = false;
    int shown = 0;
    {
        SmokeApp app(frames, close);
        app.mIsWindowed = !fullScreen;
        app.SetWindowSystem(std::move(system));
        app.Init();
        app.Start();
        succeeded = app.Succeeded();
        shown = app.Shown();
        if (!app.Closed())
            std::fprintf(stderr, "window_smoke: the run ended without WM_CLOSE\n");
    }
    std::printf("window_smoke: %s back end, %d frames of %dx%d shown through the application object, %s\n",
                backendName.c_str(), shown, kWidth, kHeight, succeeded ? "closed by WM_CLOSE" : "FAILED");
    return succeeded ? 0 : 1;
}
