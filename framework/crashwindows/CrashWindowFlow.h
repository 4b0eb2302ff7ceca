#pragma once
// What the crash windows ask of the sequence that runs them. A request that opens or closes a
// window takes effect once the message that asked for it has been handled.
#include <string>

namespace Quoll
{
class CrashWindowFlow
{
public:
    virtual ~CrashWindowFlow() = default;
    // The crash window's "Send Report".
    virtual void SendReport() = 0;
    // The details window's "Continue" with the user's text.
    virtual void Continue(const std::wstring& userText) = 0;
    // The progress window's "Abort" or close: the upload stops, and its end closes the windows.
    virtual void AbortTransfer() = 0;
    // The progress window's poll of the upload.
    virtual void PollTransfer() = 0;
    // "Close Now", the details window's "Abort", or closing either window: the windows close.
    virtual void Finish() = 0;
};
} // namespace Quoll
