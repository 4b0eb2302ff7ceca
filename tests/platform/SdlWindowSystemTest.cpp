// Stresses the SDL back end on SDL's dummy video driver (no display): windows framed and
// full screen, frames shown through the streaming texture (also after a size change),
// the desktop's facts, cursors on a driver without cursors, the clipboard, and a message
// box that cannot be shown reporting 0 and keeping its question in the log, and SDL's own
// events (pushed into its queue) converted into the window messages, and the desktop's screen
// saver, which only an X display answers.
// Rerun one case: test_platform --gtest_filter='SdlWindowSystem.*'
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/window/WindowSystem.h"
#include "framework/platform/window/sdl/SdlFrameOutput.h"

#include <SDL.h>
#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
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

// A window of the "MainWindow" class with the style asked for.
WindowId CreateMainWindow(WindowSystem& system, uint32_t style, uint32_t exStyle, int x, int y, int width, int height)
{
    WindowCreateInfo info;
    info.className = "MainWindow";
    info.title = L"Fenêtre";
    info.style = style;
    info.exStyle = exStyle;
    info.x = x;
    info.y = y;
    info.width = width;
    info.height = height;
    return system.CreateWindowEx(info);
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
        return CreateMainWindow(*mSystem, style, exStyle, 64, 64, width, height);
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

namespace
{
// The SDL id of the one native window.
Uint32 OnlySdlWindow()
{
    for (Uint32 id = 1; id < 256; ++id)
        if (SDL_GetWindowFromID(id) != nullptr)
            return id;
    return 0;
}

SDL_Event Key(Uint32 window, bool down, SDL_Keycode symbol, SDL_Scancode scancode, Uint16 mod)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = window;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = symbol;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event WindowEvent(Uint32 window, Uint8 what, int data1 = 0, int data2 = 0)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window;
    event.window.event = what;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}
} // namespace

// Each kind of SDL event the back end converts: keys with modifiers, typed text, buttons with
// their clicks, the wheel (also flipped), focus, minimising, the close button and a display
// change; the messages that come out, in order.
TEST_F(SdlWindowSystem, SdlEventsBecomeTheirWindowMessages)
{
    WindowId window = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 0, 640, 480);
    ASSERT_NE(window, WindowId::None);
    const Uint32 sdlWindow = OnlySdlWindow();
    ASSERT_NE(sdlWindow, 0u);
    auto pump = [&] {
        std::vector<Message> taken;
        Message message;
        while (mSystem->PeekMessage(message))
        {
            taken.push_back(message);
            mSystem->TranslateMessage(message);
            mSystem->DispatchMessage(message);
        }
        return taken;
    };
    auto only = [](const std::vector<Message>& messages, std::initializer_list<uint32_t> kinds) {
        std::vector<Message> out;
        for (const Message& message : messages)
            if (std::find(kinds.begin(), kinds.end(), message.message) != kinds.end())
                out.push_back(message);
        return out;
    };
    pump();

    std::vector<SDL_Event> events;
    events.push_back(Key(sdlWindow, true, SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT));
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = sdlWindow;
    std::strcpy(text.text.text, "\xC3\xA9");
    events.push_back(text);
    events.push_back(Key(sdlWindow, false, SDLK_a, SDL_SCANCODE_A, KMOD_NONE));
    events.push_back(Key(sdlWindow, true, SDLK_x, SDL_SCANCODE_X, KMOD_LALT));
    events.push_back(Key(sdlWindow, false, SDLK_x, SDL_SCANCODE_X, KMOD_LALT));
    for (const SDL_Event& event : events)
        ASSERT_EQ(SDL_PushEvent(const_cast<SDL_Event*>(&event)), 1) << SDL_GetError();
    auto keys = only(pump(), {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP});
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[0].message, WM_KEYDOWN);
    EXPECT_EQ(keys[0].wParam, WParam('A'));
    EXPECT_EQ(keys[0].window, window);
    EXPECT_EQ(keys[1].message, WM_CHAR);
    EXPECT_EQ(keys[1].wParam, WParam(0xE9));
    EXPECT_EQ(keys[2].message, WM_KEYUP);
    EXPECT_EQ(keys[3].message, WM_SYSKEYDOWN); // with Alt held
    EXPECT_EQ(keys[3].wParam, WParam('X'));
    EXPECT_NE(uint32_t(keys[3].lParam) & (1u << 29), 0u);
    EXPECT_EQ(keys[4].message, WM_SYSKEYUP);

    SDL_SetModState(KMOD_LCTRL);
    SDL_Event button{};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.windowID = sdlWindow;
    button.button.button = SDL_BUTTON_RIGHT;
    button.button.state = SDL_PRESSED;
    button.button.clicks = 2;
    button.button.x = 30;
    button.button.y = 40;
    ASSERT_EQ(SDL_PushEvent(&button), 1);
    button.type = SDL_MOUSEBUTTONUP;
    button.button.state = SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&button), 1);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = sdlWindow;
    wheel.wheel.y = 2;
    wheel.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    ASSERT_EQ(SDL_PushEvent(&wheel), 1);
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    ASSERT_EQ(SDL_PushEvent(&wheel), 1);
    auto mouse = only(pump(), {WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_RBUTTONUP, WM_MOUSEWHEEL});
    SDL_SetModState(KMOD_NONE);
    ASSERT_EQ(mouse.size(), 4u);
    EXPECT_EQ(mouse[0].message, WM_RBUTTONDBLCLK); // the class asks for double clicks
    EXPECT_EQ(mouse[0].wParam, MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(SignedLoWord(uintptr_t(mouse[0].lParam)), 30);
    EXPECT_EQ(SignedHiWord(uintptr_t(mouse[0].lParam)), 40);
    EXPECT_EQ(mouse[1].message, WM_RBUTTONUP);
    EXPECT_EQ(WheelDelta(mouse[2].wParam), 240);
    EXPECT_EQ(WheelDelta(mouse[3].wParam), -240); // a flipped wheel turns the other way

    // Focus is gained first (the dummy driver may or may not have given it at showing).
    for (Uint8 what : {Uint8(SDL_WINDOWEVENT_FOCUS_GAINED), Uint8(SDL_WINDOWEVENT_FOCUS_LOST),
                       Uint8(SDL_WINDOWEVENT_MINIMIZED), Uint8(SDL_WINDOWEVENT_RESTORED)})
    {
        SDL_Event event = WindowEvent(sdlWindow, what);
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    const std::vector<Message> states = pump();
    auto activations = only(states, {WM_ACTIVATEAPP});
    ASSERT_FALSE(activations.empty());
    EXPECT_EQ(activations.back().wParam, 0u);
    auto sizes = only(states, {WM_SIZE});
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(sizes[1].wParam, SIZE_RESTORED);

    SDL_Event display{};
    display.type = SDL_DISPLAYEVENT;
    display.display.event = SDL_DISPLAYEVENT_ORIENTATION;
    ASSERT_EQ(SDL_PushEvent(&display), 1);
    SDL_Event close = WindowEvent(sdlWindow, SDL_WINDOWEVENT_CLOSE);
    ASSERT_EQ(SDL_PushEvent(&close), 1);
    auto last = only(pump(), {WM_DISPLAYCHANGE, WM_CLOSE});
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].message, WM_DISPLAYCHANGE);
    EXPECT_EQ(last[1].message, WM_CLOSE);
    EXPECT_EQ(last[1].window, window);
}
namespace
{
// Every message taken from the queue, each dispatched.
std::vector<Message> TakeAll(WindowSystem& system)
{
    std::vector<Message> taken;
    Message message;
    while (system.PeekMessage(message))
    {
        taken.push_back(message);
        system.DispatchMessage(message);
    }
    return taken;
}

std::vector<Message> Moves(const std::vector<Message>& messages)
{
    std::vector<Message> moves;
    std::copy_if(messages.begin(), messages.end(), std::back_inserter(moves),
                 [](const Message& message) { return message.message == WM_MOVE; });
    return moves;
}
} // namespace

// The window manager hides a window when it is minimised or the user switches desktops; that is
// no re-making of the window, and the user's next move of it stands.
TEST_F(SdlWindowSystem, AMoveAfterAHideOfTheWindowManagerStands)
{
    const WindowId window = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE, 0, 640, 480);
    ASSERT_NE(window, WindowId::None);
    const Uint32 sdlWindow = OnlySdlWindow();
    ASSERT_NE(sdlWindow, 0u);
    TakeAll(*mSystem);
    for (SDL_Event event : {WindowEvent(sdlWindow, SDL_WINDOWEVENT_HIDDEN), WindowEvent(sdlWindow, SDL_WINDOWEVENT_SHOWN),
                            WindowEvent(sdlWindow, SDL_WINDOWEVENT_MOVED, 300, 200)})
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    const std::vector<Message> moves = Moves(TakeAll(*mSystem));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].lParam, MakeLParam(300, 200));
    ScreenPoint corner;
    ASSERT_TRUE(mSystem->ClientToScreen(window, corner));
    EXPECT_EQ(corner, (ScreenPoint{300, 200}));
}

namespace
{
// The window surface's pixel at (x, y), as 0xRRGGBB.
uint32_t SurfacePixel(SDL_Window* window, int x, int y)
{
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    uint32_t pixel = 0;
    std::memcpy(&pixel, static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, 4);
    return pixel & 0xFFFFFF;
}

struct TestFrame
{
    TestFrame(int width, int height, uint32_t colour)
        : pixels(static_cast<size_t>(width * height), colour), view{pixels.data(), width, height, width * 4}
    {
    }
    std::vector<uint32_t> pixels;
    ArgbImageView view;
};
} // namespace

TEST_F(SdlWindowSystem, FramesOfTheWindowsSizeGoToItsSurfaceChangedRowsOnly)
{
    SDL_Window* window = SDL_CreateWindow("frames", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr);
    {
        SdlFrameOutput output(window, SdlFrameOutput::Path::Fitting);
        TestFrame first(64, 48, 0xFF112233), second(64, 48, 0xFF445566);
        // The first frame goes whole, whatever it says changed.
        EXPECT_TRUE(output.Show(first.view, {0, 0, 1, 1}));
        EXPECT_FALSE(output.UsesRenderer());
        EXPECT_EQ(SurfacePixel(window, 63, 47), 0x112233u);
        // Then only the changed part; an empty part changes nothing.
        EXPECT_TRUE(output.Show(second.view, {8, 10, 30, 20}));
        EXPECT_EQ(SurfacePixel(window, 8, 10), 0x445566u);
        EXPECT_EQ(SurfacePixel(window, 29, 19), 0x445566u);
        EXPECT_EQ(SurfacePixel(window, 30, 19), 0x112233u);
        EXPECT_EQ(SurfacePixel(window, 8, 20), 0x112233u);
        EXPECT_TRUE(output.Show(first.view, {}));
        EXPECT_EQ(SurfacePixel(window, 8, 10), 0x445566u);
        // A part beyond the frame is cut to it.
        EXPECT_TRUE(output.Show(first.view, {-5, -5, 500, 500}));
        EXPECT_EQ(SurfacePixel(window, 8, 10), 0x112233u);

        // A frame of another size is scaled by the renderer; the next fitting frame is shown
        // whole again.
        TestFrame small(32, 24, 0xFF778899);
        EXPECT_TRUE(output.Show(small.view, {0, 0, 32, 24}));
        EXPECT_TRUE(output.UsesRenderer());
        EXPECT_TRUE(output.Show(second.view, {}));
        EXPECT_FALSE(output.UsesRenderer());
        EXPECT_EQ(SurfacePixel(window, 0, 0), 0x445566u);
        EXPECT_EQ(SurfacePixel(window, 63, 47), 0x445566u);
        EXPECT_FALSE(output.Show({nullptr, 64, 48, 256}, {}));
    }
    {
        // The former way, kept for comparisons, takes the renderer for every frame.
        SdlFrameOutput output(window, SdlFrameOutput::Path::Renderer);
        TestFrame frame(64, 48, 0xFF112233);
        EXPECT_TRUE(output.Show(frame.view, {0, 0, 64, 48}));
        EXPECT_TRUE(output.UsesRenderer());
    }
    SDL_DestroyWindow(window);
}
} // namespace Quoll::Platform

namespace Quoll::Platform
{
TEST_F(SdlWindowSystem, TheScreenSaverCannotAnswerWithoutAnXDisplay)
{
    gLogged.clear();
    LogSink previous = SetLogSink(&CaptureLog);
    EXPECT_FALSE(mSystem->GetScreenSaverSettings()) << "no window yet";
    const WindowId window = Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 320, 240);
    ASSERT_NE(window, WindowId::None);
    EXPECT_FALSE(mSystem->GetScreenSaverSettings());
    EXPECT_FALSE(mSystem->IsScreenSaverRunning());
    EXPECT_FALSE(mSystem->GetLastInputTick());
    SetLogSink(previous);
    EXPECT_EQ(std::count(gLogged.begin(), gLogged.end(), "WindowSystem: screen saver: not an X display, its state is unknown"),
              1)
        << "said once";
}

// The cases below need an X server: CTest runs them in an Xvfb server of their own (platform_on_x,
// which sets QUOLL_TEST_NEEDS_X); elsewhere they are skipped without one.
namespace
{
class SdlWindowSystemOnX : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
        {
            if (std::getenv("QUOLL_TEST_NEEDS_X") != nullptr)
                FAIL() << "no X display where one was given";
            GTEST_SKIP() << "no X display";
        }
        ::setenv("SDL_VIDEODRIVER", "x11", 1);
        system = WindowSystem::Create("sdl");
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_NE(system, nullptr);
        gSdl = system.get();
        ASSERT_TRUE(system->RegisterClass({"MainWindow", 0, &Procedure}));
    }
    void TearDown() override
    {
        system.reset();
        gSdl = nullptr;
    }
    WindowId CreateFramed(int x, int y, int width, int height)
    {
        return CreateMainWindow(*system, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, x, y, width, height);
    }

    std::unique_ptr<WindowSystem> system;
};
} // namespace

TEST_F(SdlWindowSystemOnX, TheScreenSaverExtensionAnswers)
{
    ASSERT_NE(CreateFramed(0, 0, 64, 48), WindowId::None);
    const std::optional<ScreenSaverSettings> settings = system->GetScreenSaverSettings();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->active, settings->timeoutMs > 0);
    EXPECT_EQ(system->IsScreenSaverRunning(), std::optional<bool>(false));
    const std::optional<uint32_t> lastInput = system->GetLastInputTick();
    ASSERT_TRUE(lastInput);
    EXPECT_LE(int32_t(*lastInput - TickCount()), 0);
}

// SDL re-makes a window whose renderer needs another kind of window; a window manager would put
// its frame where the new window asks to be, so the move that follows is undone.
TEST_F(SdlWindowSystemOnX, TheMoveOfAWindowThatSdlRemadeForItsRendererIsUndone)
{
    const WindowId window = CreateFramed(100, 90, 64, 48);
    ASSERT_NE(window, WindowId::None);
    TakeAll(*system);
    std::unique_ptr<FramePresenter> presenter = system->CreatePresenter(window);
    std::vector<uint32_t> pixels(32 * 24, 0xFF204060);
    ASSERT_TRUE(presenter->Present({pixels.data(), 32, 24, 32 * 4})) << "a frame of another size: the renderer";
    const Uint32 sdlWindow = OnlySdlWindow();
    if ((SDL_GetWindowFlags(SDL_GetWindowFromID(sdlWindow)) & SDL_WINDOW_OPENGL) == 0)
        GTEST_SKIP() << "SDL's renderer here needs no other kind of window";
    TakeAll(*system);
    SDL_Event moved = WindowEvent(sdlWindow, SDL_WINDOWEVENT_MOVED, 140, 130);
    ASSERT_EQ(SDL_PushEvent(&moved), 1);
    EXPECT_TRUE(Moves(TakeAll(*system)).empty());
    ScreenPoint corner;
    ASSERT_TRUE(system->ClientToScreen(window, corner));
    EXPECT_EQ(corner, (ScreenPoint{100, 90}));
}
} // namespace Quoll::Platform
