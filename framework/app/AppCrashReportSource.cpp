#include "framework/app/AppCrashReportSource.h"

#include "framework/app/QuollAppBase.h"
#include "framework/core/Common.h"
#include "framework/crash/CrashCatcher.h"

#include <atomic>
#include <memory>

namespace Quoll
{
namespace
{
std::atomic<DemoRecordingCloser> gDemoCloser{nullptr};

std::unique_ptr<CrashReportSource> MakeAppSource()
{
    if (gQuollApp == nullptr)
        return nullptr;
    return std::make_unique<AppCrashReportSource>(*gQuollApp);
}
} // namespace

void SetDemoRecordingCloser(DemoRecordingCloser closer) { gDemoCloser = closer; }

CrashAppInfo AppCrashReportSource::Gather()
{
    CrashAppInfo info;
    // 1. The application silences and hides itself.
    mApp.CrashOccurred();
    // 2. Its identity and crash information.
    info.product = mApp.mProdName;
    info.version = mApp.mProductVersion;
    info.crashInfo = mApp.GetCrashInfo();
    info.dataFolder = GetAppDataFolder();
    mApp.GetCrashReportFields(info.fields);
    // 3. A demo being recorded is closed and attached; the application's own attachment wins.
    DemoRecordingCloser closer = gDemoCloser.load();
    if (mApp.mRecordingDemo && closer != nullptr)
    {
        info.attachmentPath = closer(mApp);
        info.attach = !info.attachmentPath.empty();
    }
    if (std::string path = mApp.GetCrashAttachmentPath(); !path.empty())
    {
        info.attachmentPath = path;
        info.attach = true;
    }
    mApp.mRecordingDemo = false;
    mApp.mPlayingDemo = false;
    return info;
}

void InstallAppCrashReportSource() { CrashCatcher::SetFallbackReportSource(&MakeAppSource); }
} // namespace Quoll
