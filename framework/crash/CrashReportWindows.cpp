// Crash report windows over the window system's windows, timers and message boxes.
#include "framework/crash/CrashReportWindows.h"

#include "framework/core/Common.h"

#include <chrono>
#include <thread>

namespace Quoll
{
namespace
{
using namespace Platform;

constexpr uint32_t kWindowStyle = WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
constexpr uintptr_t kPollTimer = 0;
constexpr uintptr_t kDotTimer = 1;
const std::wstring kCrashText = L"An unexpected error has occurred!";
const std::wstring kDetailsText = L"Please help out by providing as much information as you can about this crash.";
const std::wstring kConnectionFailedText = L"Failed to connect to server.";
const std::wstring kDetailsTitle = L"Error Details";
const std::wstring kProgressTitle = L"Submitting Report - Please Wait";

CrashReportWindows* gActive = nullptr; // the reporter has one set of windows

struct ActiveWindows
{
    explicit ActiveWindows(CrashReportWindows* windows) { gActive = windows; }
    ~ActiveWindows() { gActive = nullptr; }
};

// Drops the last UTF-8 character.
void PopCharacter(std::string& text)
{
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty())
        text.pop_back();
}
} // namespace

void CrashReportWindows::Run(const std::string& report, bool canSend, const std::string& submitHost,
                             const FormBuilder& buildForm)
{
    ActiveWindows active(this);
    mSystem.RegisterClass({"SubmitInfoWindow", 0, &CrashReportWindows::WindowProc});
    mSystem.RegisterClass({"SEHProgressWindow", 0, &CrashReportWindows::WindowProc});
    if (!AskToSend(report, canSend))
        return;
    std::optional<std::string> userText = AskUserText();
    if (!userText)
        return;
    Submit(submitHost, CrashReportUpload::BuildRequest(buildForm(*userText), submitHost));
}

bool CrashReportWindows::AskToSend(const std::string& report, bool canSend)
{
    std::wstring text = kCrashText + L"\r\n\r\n" + StringToWString(report);
    if (!canSend)
    {
        mSystem.MessageBox(WindowId::None, text + L"\r\n\r\nClose Now", L"Fatal Error!", MB_OK | MB_ICONERROR);
        return false;
    }
    text += L"\r\n\r\nSend Report? (No: Close Now)";
    return mSystem.MessageBox(WindowId::None, text, L"Fatal Error!", MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::string> CrashReportWindows::AskUserText()
{
    std::wstring text = kDetailsText + L"\r\n\r\nType it into the \"" + kDetailsTitle +
                        L"\" window: Enter sends the report, Escape aborts.";
    if (mSystem.MessageBox(WindowId::None, text, kDetailsTitle, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return std::nullopt;
    mStage = Stage::Details;
    mDone = false;
    mContinue = false;
    mUserText.clear();
    WindowId window = CreateWindow("SubmitInfoWindow", kDetailsTitle, 80, 80, 400, 300);
    RunUntil(mDone);
    mSystem.DestroyWindow(window);
    if (!mContinue)
        return std::nullopt;
    return mUserText;
}

void CrashReportWindows::Submit(const std::string& submitHost, const std::string& request)
{
    do
    {
        mTransfer.SendRequest(request, submitHost);
        mStage = Stage::Progress;
        mDone = false;
        mRetry = false;
        mDots = 0;
        WindowId window = CreateWindow("SEHProgressWindow", kProgressTitle, 64, 64, 240, 64);
        mSystem.SetTimer(window, kPollTimer, 20);
        mSystem.SetTimer(window, kDotTimer, 1000);
        RunUntil(mDone);
        mSystem.DestroyWindow(window);
    } while (mRetry);
    mTransfer.Reset();
}

void CrashReportWindows::RunUntil(const bool& done)
{
    while (!done)
    {
        Message message;
        if (!mSystem.PeekMessage(message))
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        mSystem.TranslateMessage(message);
        mSystem.DispatchMessage(message);
    }
}

WindowId CrashReportWindows::CreateWindow(const char* className, const std::wstring& title, int x, int y, int width,
                                          int height)
{
    WindowCreateInfo info;
    info.className = className;
    info.title = title;
    info.style = kWindowStyle;
    info.x = x;
    info.y = y;
    info.width = width;
    info.height = height;
    WindowId window = mSystem.CreateWindowEx(info);
    mSystem.SetFocus(window);
    return window;
}

LResult CrashReportWindows::WindowProc(WindowId window, uint32_t message, WParam wParam, LParam)
{
    return gActive != nullptr ? gActive->Handle(window, message, wParam) : 0;
}

LResult CrashReportWindows::Handle(WindowId window, uint32_t message, WParam wParam)
{
    switch (message)
    {
    case WM_CHAR:
        if (mStage == Stage::Details)
            HandleDetailsKey(window, static_cast<char32_t>(wParam));
        else if (wParam == 27)
            mTransfer.Abort(); // the next poll sees the abort and closes
        return 0;
    case WM_TIMER:
        if (mStage == Stage::Progress)
            HandleProgressTimer(window, static_cast<uintptr_t>(wParam));
        return 0;
    case WM_CLOSE:
        if (mStage == Stage::Details)
            mDone = true;
        else
            mTransfer.Abort();
        return 0;
    default: return mSystem.DefWindowProc(window, message, wParam, 0);
    }
}

void CrashReportWindows::HandleDetailsKey(WindowId window, char32_t c)
{
    if (c == 13 || c == 27)
    {
        mContinue = c == 13;
        mDone = true;
        return;
    }
    if (c == 8)
        PopCharacter(mUserText);
    else if (c >= 32)
    {
        std::string typed = WStringToString(std::wstring(1, static_cast<wchar_t>(c)));
        if (mUserText.size() + typed.size() <= kMaxUserText)
            mUserText += typed;
    }
    mSystem.SetWindowText(window, kDetailsTitle + L": " + StringToWString(mUserText));
}

void CrashReportWindows::HandleProgressTimer(WindowId window, uintptr_t timer)
{
    if (timer == kDotTimer)
    {
        std::wstring title = kProgressTitle;
        for (int i = 0, dots = ++mDots % 10; i < dots; ++i)
            title += L" .";
        mSystem.SetWindowText(window, title);
        return;
    }
    HttpResult result = mTransfer.GetResultCode();
    if (result == HttpResult::NotStarted || result == HttpResult::InProgress)
        return;
    if (result != HttpResult::Done && result != HttpResult::Aborted)
    {
        mTransfer.Reset();
        mRetry = mSystem.MessageBox(window, kConnectionFailedText, L"Connection Failed", MB_RETRYCANCEL) == IDRETRY;
    }
    mDone = true;
}
} // namespace Quoll
