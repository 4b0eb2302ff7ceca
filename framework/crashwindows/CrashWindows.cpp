#include "framework/crashwindows/CrashWindows.h"

#include "framework/core/Common.h"
#include "framework/crash/CrashReporter.h"
#include "framework/platform/system/PlatformLog.h"

#include <chrono>
#include <thread>

namespace Quoll
{
namespace
{
const std::wstring kConnectionFailedText = L"Failed to connect to server.";
const std::wstring kConnectionFailedCaption = L"Connection Failed";
} // namespace

void CrashWindows::Show(Platform::WindowSystem& system, const CrashWindowRequest& request)
{
    CrashWindows windows(system, request);
    windows.Run();
}

CrashWindows::CrashWindows(Platform::WindowSystem& system, const CrashWindowRequest& request)
    : mSystem(system), mRequest(request), mFonts(CrashWindowFonts::Create())
{
}

CrashWindows::~CrashWindows()
{
    Close();
    mTransfer.Reset();
}

void CrashWindows::Open()
{
    mSystem.SetCursor(mSystem.LoadCursor(Platform::SystemCursor::Arrow));
    mCrash = std::make_unique<CrashWindow>(mSystem, mFonts, mRequest, Flow());
    mCrash->Show();
}

void CrashWindows::Run()
{
    Open();
    while (mStage != Stage::Done)
        if (!Step())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

bool CrashWindows::Step()
{
    Platform::Message message;
    if (!mSystem.PeekMessage(message))
    {
        // Everything delivered has been handled: a window still waiting for an answer that
        // nobody can give closes.
        if (WaitingForTheUser() && !CrashReporter::SomeoneCanAnswer(mSystem))
        {
            Platform::LogLine("CrashWindows", "no one is left to answer: closing");
            Close();
        }
        return false;
    }
    mSystem.TranslateMessage(message);
    mSystem.DispatchMessage(message);
    ApplyPending();
    return true;
}

void CrashWindows::ApplyPending()
{
    const Action action = mPending;
    mPending = Action::None;
    switch (action)
    {
    case Action::SendReport: OpenDetails(); break;
    case Action::Continue: OpenProgress(); break;
    case Action::Finish: Close(); break;
    case Action::None: break;
    }
}

std::string CrashWindows::UploadText(const std::wstring& typed)
{
    std::string text = WStringToString(typed);
    if (text.size() <= CrashWindowRequest::kMaxUserText)
        return text;
    size_t end = CrashWindowRequest::kMaxUserText;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end; // not inside a character
    return text.substr(0, end);
}

void CrashWindows::Continue(const std::wstring& userText)
{
    mUserText = UploadText(userText);
    mPending = Action::Continue;
}

void CrashWindows::OpenDetails()
{
    if (mStage != Stage::Crash)
        return;
    mCrash->Hide();
    mDetails = std::make_unique<DetailsWindow>(mSystem, mFonts, mRequest, Flow());
    mDetails->Show();
    mStage = Stage::Details;
}

void CrashWindows::OpenProgress()
{
    if (mStage != Stage::Details)
        return;
    mDetails->Hide();
    mProgress = std::make_unique<ProgressWindow>(mSystem, mFonts, Flow());
    mProgress->Start();
    mStage = Stage::Progress;
    Submit();
}

void CrashWindows::Submit()
{
    mTransfer.SendRequest(mRequest.buildUpload(mUserText), mRequest.submitHost);
}

// Sent or stopped, the windows close; a failure asks whether to try again.
void CrashWindows::PollTransfer()
{
    if (mStage != Stage::Progress)
        return;
    const HttpResult result = mTransfer.GetResultCode();
    if (result == HttpResult::NotStarted || result == HttpResult::InProgress)
        return;
    if (result == HttpResult::Done || result == HttpResult::Aborted)
    {
        Finish();
        return;
    }
    mTransfer.Reset();
    if (CrashReporter::SomeoneCanAnswer(mSystem) &&
        mSystem.MessageBox(mProgress->GetId(), kConnectionFailedText, kConnectionFailedCaption,
                           Platform::MB_RETRYCANCEL) == Platform::IDRETRY)
        Submit();
    else
        Finish();
}

void CrashWindows::Close()
{
    mProgress.reset();
    mDetails.reset();
    mCrash.reset();
    mStage = Stage::Done;
}
} // namespace Quoll
