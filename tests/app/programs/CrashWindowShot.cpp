// Shows one crash window as the reporter shows it, on the window system that QUOLL_PLATFORM
// names, for the gallery's screenshots under a real X server:
//   crash_window_shot crash|details|progress <ready file>
// The window shows the gallery's sample report (the details window with the sample text typed
// into it, through the window's own messages); once it is drawn the ready file is written and
// the window stays, unchanged, until it is closed or the program gets SIGTERM.
#include "framework/crashwindows/CrashWindow.h"
#include "framework/crashwindows/CrashWindowFlow.h"
#include "framework/crashwindows/DetailsWindow.h"
#include "framework/crashwindows/ProgressWindow.h"
#include "tests/app/CrashWindowSamples.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

using namespace Quoll;

namespace
{
// The windows' requests: only a close ends the program.
class ShotFlow final : public CrashWindowFlow
{
public:
    void SendReport() override {}
    void Continue(const std::wstring&) override {}
    void AbortTransfer() override { closed = true; }
    void PollTransfer() override {}
    void Finish() override { closed = true; }

    bool closed = false;
};

std::unique_ptr<ControlWindow> MakeWindow(const std::string& which, Platform::WindowSystem& system,
                                          const CrashWindowFonts& fonts, const CrashWindowRequest& request,
                                          CrashWindowFlow& flow)
{
    if (which == "crash")
        return std::make_unique<CrashWindow>(system, fonts, request, flow);
    if (which == "details")
        return std::make_unique<DetailsWindow>(system, fonts, request, flow);
    if (which == "progress")
        return std::make_unique<ProgressWindow>(system, fonts, flow);
    return nullptr;
}

// Handles what is queued; false when nothing was.
bool Pump(Platform::WindowSystem& system)
{
    Platform::Message message;
    if (!system.PeekMessage(message))
        return false;
    system.TranslateMessage(message);
    system.DispatchMessage(message);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s crash|details|progress <ready file>\n", argv[0]);
        return 2;
    }
    std::unique_ptr<Platform::WindowSystem> system = Platform::WindowSystem::Create();
    if (system == nullptr)
        return 1;
    const CrashWindowRequest request = QuollTest::SampleCrashWindowRequest();
    const CrashWindowFonts fonts = CrashWindowFonts::Create();
    ShotFlow flow;
    std::unique_ptr<ControlWindow> window = MakeWindow(argv[1], *system, fonts, request, flow);
    if (window == nullptr)
        return 2;
    window->Show();
    if (std::strcmp(argv[1], "details") == 0)
        for (const wchar_t* c = QuollTest::kSampleUserText; *c != 0; ++c)
            system->PostMessage(window->GetId(), Platform::WM_CHAR, static_cast<Platform::WParam>(*c), 0);
    // Settle: the window system's first events and the typing, then a quiet moment.
    for (int quiet = 0; quiet < 20;)
    {
        quiet = Pump(*system) ? 0 : quiet + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    window->Paint();
    std::ofstream(argv[2]) << "ready\n";
    while (!flow.closed)
        if (!Pump(*system))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return 0;
}
