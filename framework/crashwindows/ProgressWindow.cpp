#include "framework/crashwindows/ProgressWindow.h"

namespace Quoll
{
const ControlWindow::Placement ProgressWindow::kPlacement{"SEHProgressWindow", L"Submitting Report", 64, 64, 240, 64};

ProgressWindow::ProgressWindow(Platform::WindowSystem& system, const CrashWindowFonts& fonts, CrashWindowFlow& flow)
    : ControlWindow(system, kPlacement), mFlow(flow)
{
    auto text = std::make_unique<TextBox>(TextBox::Style{}, fonts.progress.get());
    text->SetText(TextOfTicks(0));
    mText = Add(std::move(text), 24, 10, 224, 24);
    mAbort = Add(std::make_unique<PushButton>(kAbort, this, L"Abort", fonts.input.get()), 72, 36, 96, 22);
}

void ProgressWindow::Start()
{
    Show();
    System().SetTimer(GetId(), kPollTimer, 20);
    System().SetTimer(GetId(), kDotTimer, 1000);
}

std::wstring ProgressWindow::TextOfTicks(int ticks)
{
    std::wstring text = L"Please Wait";
    for (int dot = 0; dot < ticks % 10; ++dot)
        text += L" .";
    return text;
}

void ProgressWindow::ButtonRelease(int id)
{
    if (id == kAbort)
        mFlow.AbortTransfer();
}

void ProgressWindow::OnTimer(uintptr_t timer)
{
    if (timer == kDotTimer)
        mText->SetText(TextOfTicks(++mTicks));
    else if (timer == kPollTimer)
        mFlow.PollTransfer();
}
} // namespace Quoll
