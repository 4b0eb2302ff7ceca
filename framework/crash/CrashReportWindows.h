#pragma once
// The windows of the crash reporter, on the platform's window system: the crash window (a
// message box with the report, "Send Report" offered when a report server is set and the
// application answered), the details window in which the user describes what happened
// (typed text shows in its title; Enter continues, Escape or closing aborts) and the
// progress window of the upload (closing it or Escape aborts; a failure offers a retry).
// The headless window system answers from its script.
#include "framework/crash/CrashReportUpload.h"
#include "framework/net/HttpTransfer.h"
#include "framework/platform/window/WindowSystem.h"

#include <functional>
#include <optional>
#include <string>

namespace Quoll
{
class CrashReportWindows
{
public:
    // The form to upload for the user's text.
    using FormBuilder = std::function<CrashReportForm(const std::string& userText)>;

    static constexpr size_t kMaxUserText = 8192;

    explicit CrashReportWindows(Platform::WindowSystem& system) : mSystem(system) {}

    // Runs the windows until the user is done. With `canSend` false only "Close Now" is offered.
    void Run(const std::string& report, bool canSend, const std::string& submitHost, const FormBuilder& buildForm);

private:
    bool AskToSend(const std::string& report, bool canSend);
    std::optional<std::string> AskUserText();
    void Submit(const std::string& submitHost, const std::string& request);
    // Dispatches messages until `done`.
    void RunUntil(const bool& done);
    static Platform::LResult WindowProc(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                        Platform::LParam lParam);
    Platform::LResult Handle(Platform::WindowId window, uint32_t message, Platform::WParam wParam);
    void HandleDetailsKey(Platform::WindowId window, char32_t c);
    void HandleProgressTimer(Platform::WindowId window, uintptr_t timer);
    Platform::WindowId CreateWindow(const char* className, const std::wstring& title, int x, int y, int width,
                                    int height);

    enum class Stage
    {
        Details,
        Progress,
    };

    Platform::WindowSystem& mSystem;
    Stage mStage = Stage::Details;
    bool mDone = false;
    bool mContinue = false; // the details window's answer
    bool mRetry = false; // the progress window's answer
    std::string mUserText;
    int mDots = 0;
    HTTPTransfer mTransfer;
};
} // namespace Quoll
