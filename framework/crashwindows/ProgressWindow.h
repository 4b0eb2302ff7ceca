#pragma once
// The progress window, "Submitting Report": "Please Wait" gains a dot every second (up to nine,
// then it starts again), the upload is polled every 20 ms, and "Abort" or closing the window
// stops the upload.
#include "framework/crashwindows/ControlWindow.h"
#include "framework/crashwindows/CrashWindowFlow.h"
#include "framework/crashwindows/CrashWindowFonts.h"
#include "framework/crashwindows/PushButton.h"
#include "framework/crashwindows/TextBox.h"

namespace Quoll
{
class ProgressWindow final : public ControlWindow
{
public:
    enum ButtonId
    {
        kAbort = 1,
    };
    enum TimerId : uintptr_t
    {
        kPollTimer = 0,
        kDotTimer = 1,
    };
    static const Placement kPlacement;

    ProgressWindow(Platform::WindowSystem& system, const CrashWindowFonts& fonts, CrashWindowFlow& flow);

    // Shows the window and starts its timers.
    void Start();
    [[nodiscard]] TextBox* GetText() const { return mText; }
    [[nodiscard]] PushButton* GetAbort() const { return mAbort; }
    // "Please Wait" with the dots of the tick count.
    static std::wstring TextOfTicks(int ticks);

    void ButtonRelease(int id) override;

protected:
    void OnClose() override { mFlow.AbortTransfer(); }
    void OnTimer(uintptr_t timer) override;

private:
    CrashWindowFlow& mFlow;
    TextBox* mText = nullptr;
    PushButton* mAbort = nullptr;
    int mTicks = 0;
};
} // namespace Quoll
