// The crash reporter's windows on the headless window system: their titles, places, sizes and
// controls, their look against the gallery (tests/golden/crash, shot under a real X server by
// CrashWindowGalleryTest), the way from the crash window through the details window to the
// upload at a loopback server, the ways out (Close Now, Abort, closing, no one left to answer;
// a failed upload's Retry and Cancel are in CrashReportTest), and the text control's wrapping,
// editing and scrolling.
// Rerun: test_app --gtest_filter='CrashWindows*:CrashTextBox*'
#include "framework/core/Common.h"
#include "framework/crash/CrashReportUpload.h"
#include "framework/crashwindows/CrashWindows.h"
#include "framework/crashwindows/TextBox.h"
#include "framework/platform/window/KeyMap.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "tests/GoldenImage.h"
#include "tests/app/CrashWindowSamples.h"
#include "tests/app/LoopbackHttpServer.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace Quoll;
using Platform::InputEvent;
using Platform::InputKind;
using Platform::WindowId;

namespace
{
std::string UploadOf(const std::string& userText, const std::string& host)
{
    CrashReportForm form;
    form.product = "PetriGlow";
    form.userText = userText;
    form.errorTitle = "Exception at 0010:0001A2F4";
    return CrashReportUpload::BuildRequest(form, host);
}

// The sample request on a headless desktop with someone at it: a script step far away keeps
// the script, and so the user, present.
class CrashWindowsTest : public ::testing::Test
{
protected:
    CrashWindowsTest() { system.LoadScript("at 600000\nexpose\n"); }

    void Mouse(InputKind kind, int x, int y)
    {
        InputEvent event;
        event.kind = kind;
        event.button = Platform::MouseButton::Left;
        event.x = x;
        event.y = y;
        system.Feed(event);
    }
    // A left click in the focus window, client coordinates.
    void Click(int x, int y)
    {
        Mouse(InputKind::MouseMove, x, y);
        Mouse(InputKind::MouseDown, x, y);
        Mouse(InputKind::MouseUp, x, y);
    }
    void Type(const std::string& text)
    {
        InputEvent event;
        event.kind = InputKind::Text;
        event.text = text;
        system.Feed(event);
    }
    void PressReturn()
    {
        const Platform::NamedKey key = Platform::KeyFromName("Return");
        for (InputKind kind : {InputKind::KeyDown, InputKind::KeyUp})
        {
            InputEvent event;
            event.kind = kind;
            event.symbol = key.symbol;
            event.usage = key.usage;
            system.Feed(event);
        }
    }
    // Handles everything queued.
    void Settle(CrashWindows& windows)
    {
        while (windows.Step())
        {
        }
    }
    // Runs until the sequence ends; false when it has not after ten seconds.
    bool RunToTheEnd(CrashWindows& windows)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (windows.GetStage() != CrashWindows::Stage::Done && std::chrono::steady_clock::now() < deadline)
            if (!windows.Step())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return windows.GetStage() == CrashWindows::Stage::Done;
    }
    Platform::WindowRect Placement(WindowId window)
    {
        Platform::WindowRect rect;
        system.GetWindowRect(window, rect);
        return rect;
    }
    ::testing::AssertionResult FrameMatches(const std::string& golden, int width, int height)
    {
        int shownWidth = 0, shownHeight = 0;
        const std::vector<uint32_t>& frame = system.LastFrame(shownWidth, shownHeight);
        if (shownWidth != width || shownHeight != height)
            return ::testing::AssertionFailure() << "frame " << shownWidth << " x " << shownHeight;
        // The X server keeps 8 bits a channel: a little room for its rounding.
        return Quoll::Testing::MatchesAreaGolden("crash", golden, frame.data(), width, height, 2);
    }
    // From the crash window to the details window.
    void SendReport(CrashWindows& windows)
    {
        Click(100, 280);
        Settle(windows);
        ASSERT_EQ(windows.GetStage(), CrashWindows::Stage::Details);
    }
    // The details window's "Continue", to the progress window.
    void Continue(CrashWindows& windows)
    {
        Click(100, 280);
        Settle(windows);
        ASSERT_EQ(windows.GetStage(), CrashWindows::Stage::Progress);
    }

    // Reports go to the loopback server.
    void SubmitTo(QuollTest::LoopbackHttpServer& server)
    {
        request.submitHost = server.HostAndPort();
        request.buildUpload = [&server](const std::string& userText) { return UploadOf(userText, server.HostAndPort()); };
    }

    Platform::HeadlessWindowSystem system;
    CrashWindowRequest request = QuollTest::SampleCrashWindowRequest();
};

} // namespace

// --- The windows, their places and their controls -------------------------------------------

TEST_F(CrashWindowsTest, CrashWindowShowsTheReportWithSendReportAndCloseNow)
{
    CrashWindows windows(system, request);
    windows.Open();
    CrashWindow* crash = windows.GetCrashWindow();
    ASSERT_NE(crash, nullptr);
    EXPECT_EQ(system.GetWindowText(crash->GetId()), L"Fatal Error!");
    EXPECT_EQ(Placement(crash->GetId()), (Platform::WindowRect{64, 64, 464, 364}));
    EXPECT_TRUE(system.IsWindowVisible(crash->GetId()));
    EXPECT_EQ(crash->GetReport()->GetText().substr(0, 31), L"Exception: Access Violation (co");
    EXPECT_GT(crash->GetReport()->GetLineCount(), crash->GetReport()->GetVisibleLines()) << "the report scrolls";
    ASSERT_NE(crash->GetSendReport(), nullptr);
    EXPECT_FALSE(crash->GetSendReport()->mDisabled);
    EXPECT_EQ(crash->GetSendReport()->mX, 8);
    EXPECT_EQ(crash->GetCloseNow()->mX, 204);
    EXPECT_EQ(crash->GetCloseNow()->mWidth, 188);
    EXPECT_TRUE(FrameMatches("crash_window", 400, 300));
}

TEST_F(CrashWindowsTest, WithoutReportServerOrApplicationNothingCanBeSent)
{
    request.submitHost.clear();
    {
        CrashWindows windows(system, request);
        windows.Open();
        EXPECT_EQ(windows.GetCrashWindow()->GetSendReport(), nullptr);
        EXPECT_EQ(windows.GetCrashWindow()->GetCloseNow()->mX, 8);
        EXPECT_EQ(windows.GetCrashWindow()->GetCloseNow()->mWidth, 384);
    }
    request = QuollTest::SampleCrashWindowRequest();
    request.hasApplication = false;
    CrashWindows windows(system, request);
    windows.Open();
    EXPECT_TRUE(windows.GetCrashWindow()->GetSendReport()->mDisabled);
    Click(100, 280);
    Settle(windows);
    EXPECT_EQ(windows.GetStage(), CrashWindows::Stage::Crash) << "a disabled Send Report does nothing";
}

// --- From the crash to the upload ------------------------------------------------------------

TEST_F(CrashWindowsTest, WhatTheUserTypesInTheDetailsWindowReachesTheUpload)
{
    QuollTest::LoopbackHttpServer server(QuollTest::LoopbackHttpServer::Behaviour::Respond,
                                         "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    SubmitTo(server);
    CrashWindows windows(system, request);
    windows.Open();
    const WindowId crash = windows.GetCrashWindow()->GetId();
    SendReport(windows);

    // The crash window hides; the details window takes the typing in its field.
    EXPECT_FALSE(system.IsWindowVisible(crash));
    DetailsWindow* details = windows.GetDetailsWindow();
    EXPECT_EQ(system.GetWindowText(details->GetId()), L"Error Details");
    EXPECT_EQ(Placement(details->GetId()), (Platform::WindowRect{80, 80, 480, 380}));
    EXPECT_EQ(details->GetFocus(), details->GetInput());
    Type("Clicked the board");
    PressReturn();
    Type("twice \xC3\xA9");
    Settle(windows);
    EXPECT_EQ(details->GetInput()->GetText(), L"Clicked the board\r\ntwice \u00E9");

    // "Continue" uploads it while the progress window shows.
    const WindowId detailsId = details->GetId();
    Continue(windows);
    EXPECT_FALSE(system.IsWindowVisible(detailsId));
    ProgressWindow* progress = windows.GetProgressWindow();
    EXPECT_EQ(system.GetWindowText(progress->GetId()), L"Submitting Report");
    EXPECT_EQ(Placement(progress->GetId()), (Platform::WindowRect{64, 64, 304, 128}));
    EXPECT_EQ(progress->GetText()->GetText(), L"Please Wait");
    ASSERT_TRUE(RunToTheEnd(windows));
    EXPECT_NE(server.Request().find("name=\"usertext\"\r\n\r\nClicked the board\r\ntwice \xC3\xA9\r\n"),
              std::string::npos)
        << server.Request();
    EXPECT_FALSE(system.IsWindow(crash)) << "the windows are gone once the report is sent";
    EXPECT_TRUE(system.MessageBoxes().empty());
}

TEST_F(CrashWindowsTest, DetailsAndProgressWindowsLookAsInTheGallery)
{
    QuollTest::LoopbackHttpServer server(QuollTest::LoopbackHttpServer::Behaviour::Silent);
    SubmitTo(server);
    CrashWindows windows(system, request);
    windows.Open();
    SendReport(windows);
    Type(WStringToString(QuollTest::kSampleUserText));
    Settle(windows);
    EXPECT_TRUE(FrameMatches("details_window", 400, 300));
    Continue(windows);
    EXPECT_TRUE(FrameMatches("progress_window", 240, 64));
}

// Under a window manager the frame is known once it has decorated the first window: every window
// after it still gets the client size its picture is drawn at, not a size less the frame.
TEST_F(CrashWindowsTest, UnderAWindowManagerEachWindowGetsItsWholeClientSize)
{
    const Platform::FrameExtents frame{2, 21, 3, 4};
    system.SetWindowFrame(frame);
    QuollTest::LoopbackHttpServer server(QuollTest::LoopbackHttpServer::Behaviour::Silent);
    SubmitTo(server);
    CrashWindows windows(system, request);
    windows.Open();
    Settle(windows);
    const auto clientOf = [this](WindowId window) {
        Platform::WindowRect rect;
        system.GetClientRect(window, rect);
        return rect;
    };
    EXPECT_EQ(clientOf(windows.GetCrashWindow()->GetId()), (Platform::WindowRect{0, 0, 400, 300}));
    SendReport(windows);
    const WindowId details = windows.GetDetailsWindow()->GetId();
    EXPECT_EQ(clientOf(details), (Platform::WindowRect{0, 0, 400, 300}));
    EXPECT_EQ(Placement(details), (Platform::WindowRect{80, 80, 80 + 2 + 400 + 3, 80 + 21 + 300 + 4}));
    Continue(windows);
    EXPECT_EQ(clientOf(windows.GetProgressWindow()->GetId()), (Platform::WindowRect{0, 0, 240, 64}));
    Click(120, 47); // Abort
    ASSERT_TRUE(RunToTheEnd(windows));
}

// --- The ways out -----------------------------------------------------------------------------

TEST_F(CrashWindowsTest, CloseNowAbortAndClosingEndTheWindows)
{
    {
        CrashWindows windows(system, request);
        windows.Open();
        const WindowId crash = windows.GetCrashWindow()->GetId();
        Click(300, 280); // Close Now
        Settle(windows);
        EXPECT_EQ(windows.GetStage(), CrashWindows::Stage::Done);
        EXPECT_FALSE(system.IsWindow(crash));
    }
    {
        CrashWindows windows(system, request);
        windows.Open();
        SendReport(windows);
        Click(300, 280); // Abort
        Settle(windows);
        EXPECT_EQ(windows.GetStage(), CrashWindows::Stage::Done);
    }
    {
        CrashWindows windows(system, request);
        windows.Open();
        InputEvent close;
        close.kind = InputKind::CloseRequested;
        system.Feed(close);
        Settle(windows);
        EXPECT_EQ(windows.GetStage(), CrashWindows::Stage::Done);
    }
}

TEST_F(CrashWindowsTest, AbortStopsAnUploadThatGetsNoAnswer)
{
    QuollTest::LoopbackHttpServer server(QuollTest::LoopbackHttpServer::Behaviour::Silent);
    SubmitTo(server);
    CrashWindows windows(system, request);
    windows.Open();
    SendReport(windows);
    Continue(windows);
    Click(120, 47); // the progress window's Abort
    ASSERT_TRUE(RunToTheEnd(windows));
    EXPECT_TRUE(system.MessageBoxes().empty()) << "an abort is no failure to report";
}

TEST(CrashWindows, WithNoOneLeftToAnswerTheWindowsClose)
{
    Platform::HeadlessWindowSystem system; // no script: nobody at the desktop
    const CrashWindowRequest request = QuollTest::SampleCrashWindowRequest();
    CrashWindows windows(system, request);
    windows.Open();
    while (windows.Step())
    {
    }
    EXPECT_EQ(windows.GetStage(), CrashWindows::Stage::Done) << "closed once the window's own messages are handled";
}

TEST(CrashWindows, UserTextIsCutToTheLimitAtACharacterBoundary)
{
    EXPECT_EQ(CrashWindows::UploadText(L"short"), "short");
    const std::wstring typed = std::wstring(CrashWindowRequest::kMaxUserText - 1, L'a') + L"\u00E9b";
    EXPECT_EQ(CrashWindows::UploadText(typed), std::string(CrashWindowRequest::kMaxUserText - 1, 'a'));
    EXPECT_EQ(ProgressWindow::TextOfTicks(0), L"Please Wait");
    EXPECT_EQ(ProgressWindow::TextOfTicks(3), L"Please Wait . . .");
    EXPECT_EQ(ProgressWindow::TextOfTicks(10), L"Please Wait");
}

// --- The text control (a font of 6-pixel characters) ------------------------------------------

namespace
{
// By default ten characters a line and three lines: 64 x 30 without frame, 10-pixel lines.
std::unique_ptr<TextBox> MakeBox(TextBox::Style style, const Font& font, int width = 64, int height = 30)
{
    auto box = std::make_unique<TextBox>(style, &font);
    box->Resize(0, 0, width, height);
    return box;
}
} // namespace

TEST(CrashTextBox, WrapsAtBlanksCutsLongWordsAndKeepsLineBreaks)
{
    QuollTest::FakeFont font;
    auto box = MakeBox({}, font);
    box->SetText(L"alpha beta gamma\r\ndelta\nabcdefghijklmnop");
    ASSERT_EQ(box->GetLineCount(), 5);
    EXPECT_EQ(box->GetLine(0), L"alpha beta ");
    EXPECT_EQ(box->GetLine(1), L"gamma");
    EXPECT_EQ(box->GetLine(2), L"delta");
    EXPECT_EQ(box->GetLine(3), L"abcdefghij");
    EXPECT_EQ(box->GetLine(4), L"klmnop");
}

TEST(CrashTextBox, TypingBackspaceAndCaretKeys)
{
    QuollTest::FakeFont font;
    auto box = MakeBox({.readOnly = false}, font);
    for (wchar_t c : std::wstring(L"ab\rc"))
        box->KeyChar(c);
    EXPECT_EQ(box->GetText(), L"ab\r\nc");
    box->KeyChar(8);
    box->KeyChar(8);
    EXPECT_EQ(box->GetText(), L"ab") << "a line break goes as one";
    box->KeyDown(Platform::VK_LEFT);
    box->KeyChar(L'X');
    box->KeyDown(Platform::VK_HOME);
    box->KeyDown(Platform::VK_DELETE);
    EXPECT_EQ(box->GetText(), L"Xb");
    box->KeyChar(27);
    box->KeyChar(9);
    EXPECT_EQ(box->GetText(), L"Xb") << "control characters are not text";

    auto readOnly = MakeBox({}, font);
    readOnly->SetText(L"report");
    readOnly->KeyChar(L'x');
    readOnly->KeyChar(8);
    EXPECT_EQ(readOnly->GetText(), L"report");
}

TEST(CrashTextBox, ScrollsByWheelArrowsTrackAndKeepsTheCaretInView)
{
    QuollTest::FakeFont font;
    std::wstring lines;
    for (int i = 0; i < 20; ++i)
        lines += L"line\r\n";
    // With frame and scroll bar a 100 x 74 box shows seven of the 21 lines; its scroll bar runs
    // from y = 1 to 73: up arrow, track from 17 to 57, down arrow.
    auto box = MakeBox({.readOnly = true, .border = true, .verticalScroll = true}, font, 100, 74);
    box->SetText(lines);
    ASSERT_EQ(box->GetVisibleLines(), 7);
    box->MouseWheel(-1);
    EXPECT_EQ(box->GetFirstLine(), 3);
    box->ScrollTo(100);
    EXPECT_EQ(box->GetFirstLine(), 14) << "the last line at the bottom";
    box->ScrollTo(0);
    const int barX = 100 - 1 - TextBox::kScrollBarWidth + 8;
    box->MouseDown(barX, 65, 0, 1); // the down arrow
    EXPECT_EQ(box->GetFirstLine(), 1);
    box->MouseDown(barX, 50, 0, 1); // the track below the thumb
    EXPECT_EQ(box->GetFirstLine(), 8);
    box->MouseDown(barX, 5, 0, 1); // the up arrow
    EXPECT_EQ(box->GetFirstLine(), 7);

    auto input = MakeBox({.readOnly = false, .border = true, .verticalScroll = true}, font, 100, 74);
    for (int i = 0; i < 10; ++i)
        input->KeyChar(13);
    EXPECT_EQ(input->GetFirstLine(), 4) << "the caret's line stays in view";
    input->KeyDown(Platform::VK_PRIOR);
    EXPECT_EQ(input->GetFirstLine(), 3);
}
