#pragma once
// The application's part of a crash report: its crash hooks, product name and version, and the
// demo being recorded. The application installs it as the crash catcher's fallback source.
#include "framework/crash/CrashReportSource.h"

#include <string>

namespace Quoll
{
class QuollAppBase;

// Closes a demo being recorded at a crash (its closing record, then the file) and returns
// the demo file's path. Set by the demo recorder; without it no demo is attached.
using DemoRecordingCloser = std::string (*)(QuollAppBase& app);
void SetDemoRecordingCloser(DemoRecordingCloser closer);

// The source over the application object (gQuollApp): its crash hooks, product name and
// version, and the demo being recorded.
class AppCrashReportSource final : public CrashReportSource
{
public:
    explicit AppCrashReportSource(QuollAppBase& app) : mApp(app) {}
    CrashAppInfo Gather() override;

private:
    QuollAppBase& mApp;
};
// Makes the crash catcher ask the application object (while one exists) for its part of a
// report when no other source was set.
void InstallAppCrashReportSource();
} // namespace Quoll
