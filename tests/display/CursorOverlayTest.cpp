// The cursor as the window's overlay: the display hands the cursor image to the presenter, the
// window system moves it with the pointer on its own, so it keeps up while the main thread
// presents nothing; the frames themselves no longer carry it. Without the permission (demo
// playback) the cursor is drawn into the frames as before.
// Rerun: test_display --gtest_filter='CursorOverlay.*'
#include "DisplayFixture.h"

#include "framework/display/Graphics.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
constexpr uint32_t kCursorColor = 0xFFE01010, kBackground = 0xFF2040A0;

// A headless desktop with one window of the display's size and a display on it.
struct OverlayDesktop
{
    OverlayDesktop()
    {
        system = std::make_unique<HeadlessWindowSystem>();
        sWindows = system.get();
        system->RegisterClass({"CursorOverlayTest", 0, [](WindowId w, uint32_t m, WParam wp, LParam lp) {
                                   return sWindows->DefWindowProc(w, m, wp, lp);
                               }});
        WindowCreateInfo info;
        info.className = "CursorOverlayTest";
        info.style = WS_VISIBLE;
        info.x = 100;
        info.y = 50;
        info.width = 192;
        info.height = 144;
        window = system->CreateWindowEx(info);
        system->ClientToScreen(window, origin);
        host.mOptions.width = 192;
        host.mOptions.height = 144;
        host.mOptions.colorDepth = 32;
        host.mWindows = system.get();
        display = std::make_unique<DDInterface>(&host, &card);
        std::vector<uint32_t> pixels(9 * 9, kCursorColor);
        cursor.SetBits(pixels.data(), 9, 9);
    }
    ~OverlayDesktop()
    {
        display.reset();
        sWindows = nullptr;
    }

    // A frame of the background colour, presented.
    void PresentFrame()
    {
        Graphics g(display->GetDDScreenImage());
        g.SetColor(Color(static_cast<int>(kBackground)));
        g.FillRect(0, 0, 192, 144);
        ASSERT_TRUE(display->Redraw(nullptr));
    }

    // The pixel at a client position of what the window shows (the frame and the overlay).
    uint32_t Shown(int x, int y) const
    {
        int width = 0, height = 0;
        const std::vector<uint32_t> shown = system->ShownFrame(width, height);
        return shown.at(static_cast<size_t>(y * width + x));
    }
    // The background as the frame holds it (the fill quantises the colour a little).
    uint32_t Background() const { return InFrame(188, 4) | 0xFF000000u; }
    uint32_t InFrame(int x, int y) const
    {
        int width = 0, height = 0;
        return system->LastFrame(width, height).at(static_cast<size_t>(y * width + x));
    }

    static inline WindowSystem* sWindows = nullptr;
    std::unique_ptr<HeadlessWindowSystem> system;
    WindowId window = WindowId::None;
    ScreenPoint origin;
    SoftVideoCard card;
    DisplayHost host;
    std::unique_ptr<DDInterface> display;
    MemoryImage cursor;
};
} // namespace

TEST(CursorOverlay, MovesWhileTheMainThreadPresentsNothing)
{
    OverlayDesktop d;
    ASSERT_EQ(static_cast<int>(d.display->Init(d.window, true)), 0);
    d.display->SetCursorOverlayAllowed(true);
    EXPECT_TRUE(d.display->SetCursorImage(&d.cursor));
    ASSERT_TRUE(d.display->ShowsCursorOverlay());
    d.system->SetCursor(CursorId::None); // the overlay stands in for the hidden pointer
    d.system->MovePointer({d.origin.x + 30, d.origin.y + 20});
    d.PresentFrame();
    EXPECT_EQ(d.Shown(30, 20), kCursorColor);
    EXPECT_EQ(d.InFrame(30, 20) | 0xFF000000u, d.Background()) << "the frame itself carries no cursor";

    // The user moves the pointer while the main thread holds for 200 ms without presenting.
    const int presentsBefore = static_cast<int>(d.card.FramesShown());
    std::thread user([&] {
        for (int step = 1; step <= 10; ++step)
        {
            d.system->MovePointer({d.origin.x + 30 + 12 * step, d.origin.y + 20 + 9 * step});
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    user.join();
    EXPECT_EQ(static_cast<int>(d.card.FramesShown()), presentsBefore) << "no frame was presented";
    EXPECT_EQ(d.Shown(150, 110), kCursorColor) << "the cursor at its new place";
    EXPECT_EQ(d.Shown(30, 20), d.Background()) << "and gone from the old one";

    // Shown pointers hide the overlay; taking the image back removes it.
    d.system->SetCursor(d.system->LoadCursor(IDC_ARROW));
    EXPECT_EQ(d.Shown(150, 110), d.Background());
    d.system->SetCursor(CursorId::None);
    d.display->SetCursorImage(nullptr);
    EXPECT_FALSE(d.display->ShowsCursorOverlay());
    EXPECT_EQ(d.Shown(150, 110), d.Background());
}

TEST(CursorOverlay, WithoutPermissionTheCursorIsDrawnIntoTheFrame)
{
    OverlayDesktop d;
    ASSERT_EQ(static_cast<int>(d.display->Init(d.window, true)), 0);
    d.display->SetCursorOverlayAllowed(false);
    d.display->SetCursorImage(&d.cursor);
    EXPECT_FALSE(d.display->ShowsCursorOverlay());
    d.display->SetPendingCursorPos(60, 40);
    d.PresentFrame();
    EXPECT_EQ(d.InFrame(60, 40), kCursorColor);
    // Allowed later (demo playback ended): the overlay takes over from the next frame on.
    d.display->SetCursorOverlayAllowed(true);
    EXPECT_TRUE(d.display->ShowsCursorOverlay());
    d.PresentFrame();
    EXPECT_EQ(d.InFrame(60, 40) | 0xFF000000u, d.Background());
}

TEST(CursorOverlay, AWindowlessDisplayDrawsTheCursorItself)
{
    TestDisplay t;
    ASSERT_EQ(t.Init(), 0);
    MemoryImage cursor;
    std::vector<uint32_t> pixels(4, kCursorColor);
    cursor.SetBits(pixels.data(), 2, 2);
    t.display->SetCursorOverlayAllowed(true);
    t.display->SetCursorImage(&cursor);
    EXPECT_FALSE(t.display->ShowsCursorOverlay());
}
