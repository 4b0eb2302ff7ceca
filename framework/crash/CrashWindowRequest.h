#pragma once
// What the reporter hands to its windows: the crash window shows the report, the details window
// takes the user's words and the progress window sends the upload built from them. The windows
// themselves sit above the crash catcher (they are made of widgets); a program that can show them
// installs them with CrashCatcher::SetReportWindows.
#include <cstddef>
#include <functional>
#include <string>

namespace Quoll
{
namespace Platform
{
class WindowSystem;
}

struct CrashWindowRequest
{
    // The most of the user's text that goes into the upload, in bytes.
    static constexpr size_t kMaxUserText = 8192;

    std::string errorTitle; // "Exception at SSSS:OOOOOOOO"
    std::string report; // the whole crash report, as "crash.txt" holds it
    std::string submitHost; // the report server; empty offers only "Close Now"
    bool hasApplication = false; // without the application's part nothing can be sent
    // The complete upload request for the user's text.
    std::function<std::string(const std::string& userText)> buildUpload;
};

// Runs the windows on the system until the user is done with them.
using CrashWindowsRunner = void (*)(Platform::WindowSystem& system, const CrashWindowRequest& request);
} // namespace Quoll
