// Stresses the window system's own behaviour on the headless back end: back-end choice
// by name, posted messages from many threads, broadcasts and registered messages, the
// timer on a fake clock, messages for destroyed windows, presenters and their evidence,
// scripted message boxes, cursors from masks, the clipboard, window placement and the window
// manager's frame around framed windows.
// Rerun one case: test_platform --gtest_filter='WindowSystem.*'
#include "HeadlessFixture.h"
#include "ScratchFolder.h"

#include "framework/platform/system/Clock.h"

#include <filesystem>
#include <fstream>
#include <thread>

namespace Quoll::Platform
{
using WindowSystemTest = Testing::HeadlessFixture;

TEST(WindowSystem, BackEndsAreChosenByName)
{
    std::unique_ptr<WindowSystem> headless = WindowSystem::Create("headless");
    ASSERT_NE(headless, nullptr);
    EXPECT_STREQ(headless->BackendName(), "headless");
    headless.reset();
    // QUOLL_PLATFORM=headless is set for every test.
    std::unique_ptr<WindowSystem> chosen = WindowSystem::Create();
    ASSERT_NE(chosen, nullptr);
    EXPECT_STREQ(chosen->BackendName(), "headless");
    chosen.reset();
    EXPECT_EQ(WindowSystem::Create("nonexistent"), nullptr);
}

TEST(WindowSystem, RegisteredMessagesAreSharedByNameIgnoringCase)
{
    uint32_t notify = WindowSystem::RegisterWindowMessage("NotifyPetriGlowSaga");
    EXPECT_GE(notify, kFirstRegisteredMessage);
    EXPECT_LE(notify, kLastRegisteredMessage);
    EXPECT_EQ(WindowSystem::RegisterWindowMessage("notifypetriglowsaga"), notify);
    EXPECT_NE(WindowSystem::RegisterWindowMessage("SomethingElse"), notify);
    EXPECT_EQ(WindowSystem::RegisteredMessageName(notify), "NotifyPetriGlowSaga");
    EXPECT_EQ(WindowSystem::RegisterWindowMessage(""), 0u);
}

TEST_F(WindowSystemTest, PostedMessagesFromManyThreadsAllArriveInOrderPerThread)
{
    constexpr int kThreads = 4, kEach = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([this, t] {
            for (int i = 0; i < kEach; ++i)
                ASSERT_TRUE(mSystem.PostMessage(mMain, WM_USER + t, WParam(i), 0));
        });
    for (auto& thread : threads)
        thread.join();
    auto taken = Pump();
    ASSERT_EQ(taken.size(), size_t(kThreads * kEach));
    int next[kThreads] = {};
    for (const Message& message : taken)
    {
        int t = int(message.message - WM_USER);
        ASSERT_EQ(message.wParam, WParam(next[t]));
        ++next[t];
    }
    EXPECT_FALSE(mSystem.PostMessage(WindowId{12345}, WM_USER, 0, 0));
}

TEST_F(WindowSystemTest, BroadcastsReachEveryWindowAndDestroyedWindowsGetNothing)
{
    WindowCreateInfo info;
    info.className = "PlainWindow"; // zero size: the invisible message window
    WindowId invisible = mSystem.CreateWindowEx(info);
    uint32_t notify = WindowSystem::RegisterWindowMessage("NotifyTest");
    ASSERT_TRUE(mSystem.PostMessage(HWND_BROADCAST, notify, 0, 0));
    ASSERT_TRUE(mSystem.PostMessage(invisible, WM_USER, 0, 0));
    mSystem.DestroyWindow(invisible);
    sReceived.clear();
    auto taken = Pump();
    auto got = Only(sReceived, {notify, WM_USER});
    ASSERT_EQ(got.size(), 1u); // the destroyed window's messages are dropped at dispatch
    EXPECT_EQ(got[0].window, mMain);
    EXPECT_EQ(taken.size(), 3u);
}

TEST_F(WindowSystemTest, TheTimerFiresOnTheFakeClockOnePerDueTime)
{
    FakeClock clock(1'000'000'000);
    ScopedClock scope(clock);
    ASSERT_TRUE(mSystem.SetTimer(mMain, 100, 10));
    EXPECT_TRUE(Pump().empty());
    clock.Sleep(9);
    EXPECT_TRUE(Pump().empty());
    clock.Sleep(1);
    auto taken = Pump();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, WM_TIMER);
    EXPECT_EQ(taken[0].wParam, 100u);
    // A long stall gives one timer message, not a burst.
    clock.Sleep(500);
    EXPECT_EQ(Pump().size(), 1u);
    EXPECT_TRUE(mSystem.KillTimer(mMain, 100));
    clock.Sleep(50);
    EXPECT_TRUE(Pump().empty());
}

TEST_F(WindowSystemTest, ScriptStepsWaitForTheirTime)
{
    FakeClock clock(0);
    ScopedClock scope(clock);
    std::string error;
    ASSERT_TRUE(mSystem.LoadScript("key A\nat 1000\nkey B\n", &error)) << error;
    EXPECT_EQ(Only(Pump(), {WM_KEYDOWN}).size(), 1u);
    EXPECT_FALSE(mSystem.ScriptFinished());
    clock.Sleep(1000);
    EXPECT_EQ(Only(Pump(), {WM_KEYDOWN}).size(), 1u);
    EXPECT_TRUE(mSystem.ScriptFinished());
    EXPECT_FALSE(mSystem.LoadScript("key down Nonsense\n", &error));
    EXPECT_EQ(error, "line 1: unknown key Nonsense");
}

TEST_F(WindowSystemTest, PresentersKeepTheLastFrameAndWriteEvidence)
{
    std::unique_ptr<FramePresenter> presenter = mSystem.CreatePresenter(mMain);
    ASSERT_NE(presenter, nullptr);
    // A frame with a pitch wider than its rows.
    std::vector<uint32_t> pixels(4 * 3, 0xDEADBEEF);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            pixels[size_t(y) * 4 + size_t(x)] = 0xFF000000u | uint32_t(y * 3 + x);
    EXPECT_FALSE(presenter->Present({pixels.data(), 3, 3, 8})); // pitch shorter than a row
    ASSERT_TRUE(presenter->Present({pixels.data(), 3, 3, 16}));
    EXPECT_EQ(presenter->PresentCount(), 1u);
    int width = 0, height = 0;
    const std::vector<uint32_t>& last = mSystem.LastFrame(width, height);
    ASSERT_EQ(width, 3);
    ASSERT_EQ(height, 3);
    EXPECT_EQ(last[4], 0xFF000004u);
    EXPECT_EQ(last[8], 0xFF000008u);

    std::string folder = Testing::ScratchFolder();
    Script("key A\n");
    ASSERT_TRUE(mSystem.WriteEvidence(folder));
    std::ifstream png(folder + "/last-frame.png", std::ios::binary);
    char signature[8] = {};
    png.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    // The input log replays as a script.
    std::ifstream script(folder + "/input.script");
    std::string log((std::istreambuf_iterator<char>(script)), std::istreambuf_iterator<char>());
    HeadlessWindowSystem replay;
    std::string error;
    EXPECT_TRUE(replay.LoadScript(log, &error)) << error << "\n" << log;

    WindowCreateInfo info;
    info.className = "PlainWindow";
    EXPECT_EQ(mSystem.CreatePresenter(mSystem.CreateWindowEx(info)), nullptr); // message-only
}

TEST_F(WindowSystemTest, MessageBoxesAnswerFromTheScriptElseTheDefaultAndAreLogged)
{
    std::string error;
    ASSERT_TRUE(mSystem.LoadScript("msgbox IDNO\n", &error)) << error;
    EXPECT_EQ(mSystem.MessageBox(mMain, "Keep it?", "Question", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(mSystem.MessageBox(mMain, L"Übel", L"FATAL ERROR", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(mSystem.MessageBox(WindowId::None, "x", "y", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    ASSERT_EQ(mSystem.MessageBoxes().size(), 3u);
    EXPECT_EQ(mSystem.MessageBoxes()[0].text, "Keep it?");
    EXPECT_EQ(mSystem.MessageBoxes()[1].text, "\xC3\x9C" "bel");
    EXPECT_EQ(WindowSystem::MessageBoxAnswers(MB_ABORTRETRYIGNORE), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    EXPECT_EQ(WindowSystem::DefaultMessageBoxAnswer(MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(WindowSystem::DefaultMessageBoxAnswer(MB_OK | MB_DEFBUTTON3), IDOK);
}

TEST_F(WindowSystemTest, KeysHeldWhenABoxOpensAreForgotten)
{
    Script("key down Ctrl\n");
    EXPECT_NE(mSystem.GetKeyState(VK_CONTROL), 0);
    mSystem.MessageBox(mMain, "text", "caption", MB_OK);
    EXPECT_EQ(mSystem.GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(mSystem.GetAsyncKeyState(VK_CONTROL), 0);
}

TEST_F(WindowSystemTest, CursorsFromMasksAndImages)
{
    // 16 x 2: row 0 black then white; row 1 transparent then inverted.
    const uint8_t andMask[] = {0x00, 0x00, 0xFF, 0xFF};
    const uint8_t xorMask[] = {0x00, 0xFF, 0x00, 0xFF};
    CursorId hand = mSystem.CreateCursor(11, 1, 16, 2, andMask, xorMask);
    ASSERT_NE(hand, CursorId::None);
    const CursorPicture* picture = mSystem.CursorPictureOf(hand);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixels[0], 0xFF000000u);
    EXPECT_EQ(picture->pixels[8], 0xFFFFFFFFu);
    EXPECT_EQ(picture->pixels[16], 0x00000000u);
    EXPECT_EQ(picture->pixels[24], 0xFF000000u);
    EXPECT_EQ(picture->hotX, 11);
    EXPECT_EQ(mSystem.CreateCursor(0, 0, 32, 32, andMask, xorMask), CursorId::None); // masks too short

    CursorId arrow = mSystem.LoadCursor(IDC_ARROW);
    EXPECT_EQ(mSystem.LoadCursor(IDC_ARROW), arrow);
    mSystem.SetCursor(hand);
    EXPECT_EQ(mSystem.SetCursor(CursorId::None), hand);
    EXPECT_FALSE(mSystem.CursorVisible());
    mSystem.SetCursor(hand);
    EXPECT_TRUE(mSystem.DestroyCursor(hand));
    EXPECT_EQ(mSystem.GetCursor(), arrow); // the destroyed cursor is not left in use
    EXPECT_FALSE(mSystem.DestroyCursor(arrow)); // system cursors stay

    uint32_t image[4] = {0xFF112233, 0, 0, 0xFF445566};
    CursorId coloured = mSystem.CreateCursorFromImage({image, 2, 2, 8}, 5, 5);
    ASSERT_NE(coloured, CursorId::None);
    EXPECT_EQ(mSystem.CursorPictureOf(coloured)->hotX, 1); // clamped into the picture
    EXPECT_EQ(mSystem.CursorPictureOf(coloured)->pixels[3], 0xFF445566u);
}

TEST_F(WindowSystemTest, ClipboardPointerCaptureAndPlacement)
{
    EXPECT_TRUE(mSystem.SetClipboardText("Grüße"));
    EXPECT_EQ(mSystem.GetClipboardText(), "Grüße");

    Script("mouse move 10 20\n");
    auto setCursor = Only(sReceived, {WM_SETCURSOR});
    ASSERT_EQ(setCursor.size(), 1u);
    EXPECT_EQ(LoWord(uintptr_t(setCursor[0].lParam)), HTCLIENT);
    ScreenPoint point;
    ASSERT_TRUE(mSystem.GetCursorPos(point));
    EXPECT_EQ(point, (ScreenPoint{74, 84}));
    // The cursor thread asks from another thread.
    ScreenPoint fromThread;
    std::thread([&] {
        mSystem.GetCursorPos(fromThread);
        mSystem.ScreenToClient(mMain, fromThread);
    }).join();
    EXPECT_EQ(fromThread, (ScreenPoint{10, 20}));
    EXPECT_EQ(mSystem.WindowFromPoint(point), mMain);
    ASSERT_TRUE(mSystem.ScreenToClient(mMain, point));
    EXPECT_EQ(point, (ScreenPoint{10, 20}));
    Script("leave\n");
    EXPECT_EQ(mSystem.WindowFromPoint({5000, 5000}), WindowId::None);
    // Off the windows the desktop pointer is asked, negative coordinates (a screen to the left) too.
    mSystem.MovePointer({-1200, -3});
    ASSERT_TRUE(mSystem.GetCursorPos(point));
    EXPECT_EQ(point, (ScreenPoint{-1200, -3}));

    EXPECT_EQ(mSystem.SetCapture(mMain), WindowId::None);
    EXPECT_TRUE(mSystem.PointerCaptured());
    mSystem.ReleaseCapture();
    EXPECT_FALSE(mSystem.PointerCaptured());

    ASSERT_TRUE(mSystem.MoveWindow(mMain, 100, 50, 1024, 768));
    auto moved = Only(Pump(), {WM_MOVE});
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(LoWord(uintptr_t(moved[0].lParam)), 100);
    WindowPlacement placement;
    ASSERT_TRUE(mSystem.GetWindowPlacement(mMain, placement));
    EXPECT_EQ(placement.showCmd, SW_SHOWNORMAL);
    EXPECT_EQ(placement.normalPosition, (WindowRect{100, 50, 1124, 818}));
    ScreenInfo screen = mSystem.GetScreenInfo();
    EXPECT_EQ(screen.width, 1920);
    EXPECT_EQ(screen.workArea.bottom, 1040);
    EXPECT_TRUE(mSystem.OpenUrl("https://example.invalid/"));
    EXPECT_EQ(mSystem.OpenedUrls().size(), 1u);
    EXPECT_FALSE(mSystem.OpenUrl(""));
}

TEST_F(WindowSystemTest, EnablingSendsEnableAndTitlesRoundTrip)
{
    EXPECT_FALSE(mSystem.EnableWindow(mMain, false));
    auto enable = Only(sReceived, {WM_ENABLE});
    ASSERT_EQ(enable.size(), 1u);
    EXPECT_EQ(enable[0].wParam, 0u);
    EXPECT_FALSE(mSystem.IsWindowEnabled(mMain));
    EXPECT_TRUE(mSystem.SetWindowText(mMain, L"Petri Glow — Saga"));
    EXPECT_EQ(mSystem.GetWindowText(mMain), L"Petri Glow — Saga");
    EXPECT_FALSE(mSystem.RegisterClass({"mainwindow", 0, &Record})); // names ignore case
    WindowCreateInfo info;
    info.className = "NoSuchClass";
    EXPECT_EQ(mSystem.CreateWindowEx(info), WindowId::None);
}
TEST_F(WindowSystemTest, TheManagersFrameLiesInsideTheOuterRectangleOnceItHasDecoratedAWindow)
{
    constexpr FrameExtents kFrame{1, 20, 1, 1};
    constexpr uint32_t kFramed = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    mSystem.SetWindowFrame(kFrame);
    auto create = [this](uint32_t style, uint32_t exStyle, WindowRect outer) {
        WindowCreateInfo info;
        info.className = "PlainWindow";
        info.style = style;
        info.exStyle = exStyle;
        info.x = outer.left;
        info.y = outer.top;
        info.width = outer.Width();
        info.height = outer.Height();
        return mSystem.CreateWindowEx(info);
    };
    const WindowRect client{0, 0, 640, 480};
    EXPECT_EQ(mSystem.AdjustWindowRect(client, kFramed), client) << "no frame known before a window is decorated";

    // The first framed window: the manager puts its frame where the window asked to be.
    const WindowId first = create(kFramed, 0, {100, 100, 740, 580});
    mSystem.ShowWindow(first, SW_SHOW);
    const auto moved = Only(Pump(), {WM_MOVE});
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].lParam, MakeLParam(101, 120)) << "WM_MOVE gives the client area's corner";
    WindowRect rect;
    ASSERT_TRUE(mSystem.GetWindowRect(first, rect));
    EXPECT_EQ(rect, (WindowRect{100, 100, 742, 601}));
    ASSERT_TRUE(mSystem.GetClientRect(first, rect));
    EXPECT_EQ(rect, client);
    ScreenPoint origin;
    ASSERT_TRUE(mSystem.ClientToScreen(first, origin));
    EXPECT_EQ(origin, (ScreenPoint{101, 120}));
    WindowPlacement placement;
    ASSERT_TRUE(mSystem.GetWindowPlacement(first, placement));
    EXPECT_EQ(placement.normalPosition, (WindowRect{100, 100, 742, 601}));

    // Later windows are made with the frame known: they stay where they asked to be.
    const WindowRect outer = mSystem.AdjustWindowRect(client, kFramed);
    EXPECT_EQ(outer, (WindowRect{-1, -20, 641, 481}));
    EXPECT_EQ(mSystem.AdjustWindowRect(client, WS_POPUP), client) << "no frame without a caption";
    const WindowId second = create(kFramed, 0, {300, 200, 300 + outer.Width(), 200 + outer.Height()});
    mSystem.ShowWindow(second, SW_SHOW);
    EXPECT_TRUE(Only(Pump(), {WM_MOVE}).empty());
    ASSERT_TRUE(mSystem.GetWindowRect(second, rect));
    EXPECT_EQ(rect, (WindowRect{300, 200, 942, 701}));
    origin = {};
    ASSERT_TRUE(mSystem.ClientToScreen(second, origin));
    EXPECT_EQ(origin, (ScreenPoint{301, 220}));

    // Full screen covers the desktop, whatever size the window asks for.
    const WindowId full = create(WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, {0, 0, 1024, 768});
    ASSERT_TRUE(mSystem.GetWindowRect(full, rect));
    const ScreenInfo screen = mSystem.GetScreenInfo();
    EXPECT_EQ(rect, (WindowRect{0, 0, screen.width, screen.height}));
}
} // namespace Quoll::Platform
