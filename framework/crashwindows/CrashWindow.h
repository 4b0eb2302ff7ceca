#pragma once
// The crash window, "Fatal Error!": what happened, the whole report in a scrolling read-only
// field, "Send Report" when a report server is set (disabled without the application's part)
// and "Close Now".
#include "framework/crash/CrashWindowRequest.h"
#include "framework/crashwindows/ControlWindow.h"
#include "framework/crashwindows/CrashWindowFlow.h"
#include "framework/crashwindows/CrashWindowFonts.h"
#include "framework/crashwindows/PushButton.h"
#include "framework/crashwindows/TextBox.h"

namespace Quoll
{
class CrashWindow final : public ControlWindow
{
public:
    enum ButtonId
    {
        kSendReport = 1,
        kCloseNow = 2,
    };
    static const Placement kPlacement;
    static const std::wstring kText;

    CrashWindow(Platform::WindowSystem& system, const CrashWindowFonts& fonts, const CrashWindowRequest& request,
                CrashWindowFlow& flow);

    [[nodiscard]] TextBox* GetReport() const { return mReport; }
    // Null when no report server is set.
    [[nodiscard]] PushButton* GetSendReport() const { return mSendReport; }
    [[nodiscard]] PushButton* GetCloseNow() const { return mCloseNow; }

    void ButtonRelease(int id) override;

protected:
    void OnClose() override { mFlow.Finish(); }

private:
    CrashWindowFlow& mFlow;
    TextBox* mReport = nullptr;
    PushButton* mSendReport = nullptr;
    PushButton* mCloseNow = nullptr;
};
} // namespace Quoll
