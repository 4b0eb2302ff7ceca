#pragma once
// The details window, "Error Details": a request for what happened, the field the user types it
// in (it has the focus), "Continue" (disabled without the application's part) and "Abort".
#include "framework/crash/CrashWindowRequest.h"
#include "framework/crashwindows/ControlWindow.h"
#include "framework/crashwindows/CrashWindowFlow.h"
#include "framework/crashwindows/CrashWindowFonts.h"
#include "framework/crashwindows/PushButton.h"
#include "framework/crashwindows/TextBox.h"

namespace Quoll
{
class DetailsWindow final : public ControlWindow
{
public:
    enum ButtonId
    {
        kContinue = 1,
        kAbort = 2,
    };
    static const Placement kPlacement;
    static const std::wstring kText;

    DetailsWindow(Platform::WindowSystem& system, const CrashWindowFonts& fonts, const CrashWindowRequest& request,
                  CrashWindowFlow& flow);

    [[nodiscard]] TextBox* GetInput() const { return mInput; }
    [[nodiscard]] PushButton* GetContinue() const { return mContinue; }
    [[nodiscard]] PushButton* GetAbort() const { return mAbort; }

    void ButtonRelease(int id) override;

protected:
    void OnClose() override { mFlow.Finish(); }

private:
    CrashWindowFlow& mFlow;
    TextBox* mInput = nullptr;
    PushButton* mContinue = nullptr;
    PushButton* mAbort = nullptr;
};
} // namespace Quoll
