#include "framework/crashwindows/CrashWindow.h"

#include "framework/core/Common.h"

namespace Quoll
{
const ControlWindow::Placement CrashWindow::kPlacement{"SEHWindow", L"Fatal Error!", 64, 64, 400, 300};
const std::wstring CrashWindow::kText = L"An unexpected error has occured!";

CrashWindow::CrashWindow(Platform::WindowSystem& system, const CrashWindowFonts& fonts,
                         const CrashWindowRequest& request, CrashWindowFlow& flow)
    : ControlWindow(system, kPlacement), mFlow(flow)
{
    auto text = std::make_unique<TextBox>(TextBox::Style{}, fonts.label.get());
    text->SetText(kText);
    Add(std::move(text), 8, 8, 384, 84);
    auto report = std::make_unique<TextBox>(TextBox::Style{.border = true, .verticalScroll = true}, fonts.report.get());
    report->SetText(StringToWString(request.report));
    mReport = Add(std::move(report), 8, 92, 384, 168);
    // Without a report server only "Close Now" is offered, across the whole width.
    if (request.submitHost.empty())
    {
        mCloseNow = Add(std::make_unique<PushButton>(kCloseNow, this, L"Close Now", fonts.label.get()), 8, 268, 384, 24);
        return;
    }
    mSendReport = Add(std::make_unique<PushButton>(kSendReport, this, L"Send Report", fonts.label.get()), 8, 268, 188, 24);
    mSendReport->SetDisabled(!request.hasApplication);
    mCloseNow = Add(std::make_unique<PushButton>(kCloseNow, this, L"Close Now", fonts.label.get()), 204, 268, 188, 24);
}

void CrashWindow::ButtonRelease(int id)
{
    if (id == kSendReport)
        mFlow.SendReport();
    else if (id == kCloseNow)
        mFlow.Finish();
}
} // namespace Quoll
