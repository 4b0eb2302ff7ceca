// Stresses the SDL back end on SDL's dummy video driver (no display): windows framed and
// full screen, frames shown through the streaming texture (also after a size change),
// the desktop's facts, cursors on a driver without cursors, the clipboard, and a message
// box that cannot be shown reporting 0 and keeping its question in the log.
// Rerun one case: test_platform --gtest_filter='SdlWindowSystem.*'
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/window/WindowSystem.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace Quoll::Platform
{
namespace
{
WindowSystem* gSdl = nullptr;
int gCreates = 0;

LResult Procedure(WindowId window, uint32_t message, WParam wParam, LParam lParam)
{
    if (message == WM_CREATE)
        ++gCreates;
    return gSdl->DefWindowProc(window, message, wParam, lParam);
}

std::vector<std::string> gLogged;
void CaptureLog(std::string_view subsystem, std::string_view text)
{
    gLogged.push_back(std::string(subsystem) + ": " + std::string(text));
}

class SdlWindowSystem : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        mSystem = WindowSystem::Create("sdl");
        ASSERT_NE(mSystem, nullptr);
        gSdl = mSystem.get();
        ASSERT_TRUE(mSystem->RegisterClass({"MainWindow", CS_DBLCLKS, &Procedure}));
    }
    void TearDown() override
    {
        mSystem.reset();
        gSdl = nullptr;
    }

    WindowId Create(uint32_t style, uint32_t exStyle, int width, int height)
    {
        WindowCreateInfo info;
        info.className = "MainWindow";
        info.title = L"Fenêtre";
        info.style = style;
        info.exStyle = exStyle;
        info.x = 64;
        info.y = 64;
        info.width = width;
        info.height = height;
        return mSystem->CreateWindowEx(info);
    }

    std::unique_ptr<WindowSystem> mSystem;
};
} // namespace

TEST_F(SdlWindowSystem, ShowsFramesInFramedAndFullScreenWindows)
{
    EXPECT_STREQ(mSystem->BackendName(), "sdl");
    gCreates = 0;
    WindowId framed = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 1024, 768);
    ASSERT_NE(framed, WindowId::None);
    EXPECT_EQ(gCreates, 1);
    mSystem->ShowWindow(framed, SW_SHOW);
    std::unique_ptr<FramePresenter> presenter = mSystem->CreatePresenter(framed);
    ASSERT_NE(presenter, nullptr);
    std::vector<uint32_t> pixels(1024 * 768, 0xFF336699);
    EXPECT_TRUE(presenter->Present({pixels.data(), 1024, 768, 1024 * 4}));
    EXPECT_TRUE(presenter->Present({pixels.data(), 640, 480, 1024 * 4})); // a smaller frame, same buffer
    EXPECT_FALSE(presenter->Present({nullptr, 640, 480, 640 * 4}));
    EXPECT_EQ(presenter->PresentCount(), 2u);

    uint32_t icon[16 * 16];
    std::fill(std::begin(icon), std::end(icon), 0xFFFF0000u);
    EXPECT_TRUE(mSystem->SetWindowIcon(framed, {icon, 16, 16, 64}));
    EXPECT_TRUE(mSystem->SetWindowText(framed, L"Title"));
    EXPECT_TRUE(mSystem->MoveWindow(framed, 10, 10, 1024, 768));

    // Re-created as full screen, as a mode switch does.
    EXPECT_TRUE(mSystem->DestroyWindow(framed));
    EXPECT_FALSE(presenter->Present({pixels.data(), 1024, 768, 1024 * 4})); // its window is gone
    WindowId full = Create(WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, 1024, 768);
    ASSERT_NE(full, WindowId::None);
    std::unique_ptr<FramePresenter> fullPresenter = mSystem->CreatePresenter(full);
    EXPECT_TRUE(fullPresenter->Present({pixels.data(), 1024, 768, 1024 * 4}));

    Message message;
    for (int i = 0; i < 100 && mSystem->PeekMessage(message); ++i)
        mSystem->DispatchMessage(message);
}

TEST_F(SdlWindowSystem, KnowsTheDesktopAndKeepsCursorsAndClipboard)
{
    ScreenInfo screen = mSystem->GetScreenInfo();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
    EXPECT_GT(screen.refreshRate, 0);
    EXPECT_GT(screen.workArea.Width(), 0);

    CursorId arrow = mSystem->LoadCursor(IDC_ARROW);
    EXPECT_NE(arrow, CursorId::None);
    CursorId wait = mSystem->LoadCursor(IDC_WAIT);
    mSystem->SetCursor(wait);
    EXPECT_EQ(mSystem->GetCursor(), wait);
    const uint8_t andMask[32 * 4] = {};
    const uint8_t xorMask[32 * 4] = {};
    CursorId hand = mSystem->CreateCursor(11, 4, 32, 32, andMask, xorMask);
    EXPECT_NE(hand, CursorId::None);
    mSystem->SetCursor(hand);
    EXPECT_TRUE(mSystem->DestroyCursor(hand));
    mSystem->SetCursor(CursorId::None);

    EXPECT_TRUE(mSystem->SetClipboardText("copied text"));
    EXPECT_EQ(mSystem->GetClipboardText(), "copied text");
}

TEST_F(SdlWindowSystem, AMessageBoxThatCannotBeShownAnswersZeroAndLogs)
{
    // Make sure no real display can be reached, so nothing waits for a person.
    std::string display = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    std::string wayland = std::getenv("WAYLAND_DISPLAY") != nullptr ? std::getenv("WAYLAND_DISPLAY") : "";
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    gLogged.clear();
    LogSink previous = SetLogSink(&CaptureLog);
    int answer = mSystem->MessageBox(WindowId::None, "Failed to initialize", "FATAL ERROR", MB_OK | MB_ICONERROR);
    SetLogSink(previous);
    if (!display.empty())
        ::setenv("DISPLAY", display.c_str(), 1);
    if (!wayland.empty())
        ::setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
    EXPECT_EQ(answer, 0);
    ASSERT_EQ(gLogged.size(), 1u);
    EXPECT_NE(gLogged[0].find("Failed to initialize"), std::string::npos);
}
} // namespace Quoll::Platform
