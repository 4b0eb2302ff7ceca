#include "framework/crashwindows/DetailsWindow.h"

namespace Quoll
{
const ControlWindow::Placement DetailsWindow::kPlacement{"SubmitInfoWindow", L"Error Details", 80, 80, 400, 300};
const std::wstring DetailsWindow::kText =
    L"Please help out by providing as much information as you can about this crash.";

DetailsWindow::DetailsWindow(Platform::WindowSystem& system, const CrashWindowFonts& fonts,
                             const CrashWindowRequest& request, CrashWindowFlow& flow)
    : ControlWindow(system, kPlacement), mFlow(flow)
{
    auto text = std::make_unique<TextBox>(TextBox::Style{}, fonts.label.get());
    text->SetText(kText);
    Add(std::move(text), 8, 8, 384, 84);
    mInput = Add(std::make_unique<TextBox>(TextBox::Style{.readOnly = false, .border = true, .verticalScroll = true},
                                           fonts.input.get()),
                 8, 92, 384, 168);
    mContinue = Add(std::make_unique<PushButton>(kContinue, this, L"Continue", fonts.label.get()), 8, 268, 188, 24);
    mContinue->SetDisabled(!request.hasApplication);
    mAbort = Add(std::make_unique<PushButton>(kAbort, this, L"Abort", fonts.label.get()), 204, 268, 188, 24);
    SetFocus(mInput);
}

void DetailsWindow::ButtonRelease(int id)
{
    if (id == kContinue)
        mFlow.Continue(mInput->GetText());
    else if (id == kAbort)
        mFlow.Finish();
}
} // namespace Quoll
