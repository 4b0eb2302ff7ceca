#pragma once
// The crash reporter's windows in their order: the crash window first; "Send Report" hides it
// and opens the details window; "Continue" hides that, takes the user's text (at most 8,192
// bytes) and opens the progress window while the report is uploaded to the report server. The
// upload's end, "Close Now", "Abort" and closing a window end the sequence; a failed upload asks
// "Connection Failed" with Retry (a new upload) and Cancel.
//
// The windows run on the reporter's own message loop. Where no one is left to answer them (a
// headless run whose script is over, see CrashReporter::SomeoneCanAnswer), the windows waiting
// for the user close and a failed upload is not retried.
#include "framework/crash/CrashWindowRequest.h"
#include "framework/crashwindows/CrashWindow.h"
#include "framework/crashwindows/CrashWindowFlow.h"
#include "framework/crashwindows/CrashWindowFonts.h"
#include "framework/crashwindows/DetailsWindow.h"
#include "framework/crashwindows/ProgressWindow.h"
#include "framework/net/HttpTransfer.h"
#include "framework/platform/window/WindowSystem.h"

#include <memory>
#include <string>

namespace Quoll
{
class CrashWindows final : private CrashWindowFlow
{
public:
    enum class Stage
    {
        Crash,
        Details,
        Progress,
        Done,
    };

    // The runner the crash catcher is given: runs the windows until the user is done.
    static void Show(Platform::WindowSystem& system, const CrashWindowRequest& request);

    // The request must outlive the windows.
    CrashWindows(Platform::WindowSystem& system, const CrashWindowRequest& request);
    ~CrashWindows() override;
    CrashWindows(const CrashWindows&) = delete;
    CrashWindows& operator=(const CrashWindows&) = delete;

    // Shows the crash window.
    void Open();
    // Handles one message and what it asked for; false when none was waiting.
    bool Step();
    // Open, then Step until the end.
    void Run();

    [[nodiscard]] Stage GetStage() const { return mStage; }
    // Null before the window opened and once the sequence ended.
    [[nodiscard]] CrashWindow* GetCrashWindow() const { return mCrash.get(); }
    [[nodiscard]] DetailsWindow* GetDetailsWindow() const { return mDetails.get(); }
    [[nodiscard]] ProgressWindow* GetProgressWindow() const { return mProgress.get(); }
    // What the user typed, as uploaded (UTF-8).
    [[nodiscard]] const std::string& GetUserText() const { return mUserText; }
    // The user's text in UTF-8, cut to the upload's limit at a character boundary.
    static std::string UploadText(const std::wstring& typed);

private:
    enum class Action
    {
        None,
        SendReport,
        Continue,
        Finish,
    };

    void SendReport() override { mPending = Action::SendReport; }
    void Continue(const std::wstring& userText) override;
    void AbortTransfer() override { mTransfer.Abort(); }
    void PollTransfer() override;
    void Finish() override { mPending = Action::Finish; }

    CrashWindowFlow& Flow() { return *this; }
    void ApplyPending();
    void OpenDetails();
    void OpenProgress();
    void Submit();
    void Close();
    [[nodiscard]] bool WaitingForTheUser() const { return mStage == Stage::Crash || mStage == Stage::Details; }

    Platform::WindowSystem& mSystem;
    const CrashWindowRequest& mRequest;
    CrashWindowFonts mFonts;
    Stage mStage = Stage::Crash;
    Action mPending = Action::None;
    std::unique_ptr<CrashWindow> mCrash;
    std::unique_ptr<DetailsWindow> mDetails;
    std::unique_ptr<ProgressWindow> mProgress;
    std::string mUserText;
    HTTPTransfer mTransfer;
};
} // namespace Quoll
