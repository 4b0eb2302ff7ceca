// Native message boxes, the fatal-error popup, the error log and the end of the process.
#include "framework/core/Common.h"
#include "framework/app/ErrorLog.h"
#include "framework/app/QuollAppBase.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/SingleInstance.h"

#include <atomic>
#include <cstdlib>

namespace Quoll
{
namespace
{
void ExitProcess(int code)
{
    std::exit(code);
}

std::atomic<ExitHandler> gExitHandler{&ExitProcess};
} // namespace

ExitHandler QuollAppBase::SetExitHandler(ExitHandler handler)
{
    return gExitHandler.exchange(handler != nullptr ? handler : &ExitProcess);
}

// A recording is saved here too, so that a fatal error keeps it. A start that ends before the
// single-instance handshake leaves a running copy's files alone: the name is only looked at.
void QuollAppBase::DoExit(int code)
{
    if (!mInstanceDecisionTold && Platform::SingleInstance::IsTaken(SingleInstanceName()))
        TellInstanceDecision(true);
    WriteDemoFile();
    FlushSettings();
    RestoreDisplayMode();
    gExitHandler.load()(code);
    std::exit(code); // a handler must not return; if it does, the process still ends
}

void QuollAppBase::BeginPopup()
{
    if (mDisplay && !mDisplay->IsWindowed())
    {
        mDisplay->FlipToDesktopSurface();
        mInPopup = true;
        mInputIgnored = true;
    }
}

// The time spent in the dialog is not caught up, and nothing held before it stays held.
void QuollAppBase::EndPopup()
{
    mInPopup = false;
    mInputIgnored = false;
    ResetFrameTiming();
    ClearKeysDown();
    mWidgetManager->ReleaseDownButtons();
    if (mWindowSystem)
        mWindowSystem->ReleaseCapture();
}

int QuollAppBase::MsgBoxW(const std::wstring& text, const std::wstring& title, uint32_t flags)
{
    if (mIsScreenSaver)
    {
        LogScreenSaverError(WStringToString(text));
        return Platform::IDOK;
    }
    if (!mWindowSystem)
    {
        LogScreenSaverError(WStringToString(title) + ": " + WStringToString(text));
        return 0;
    }
    BeginPopup();
    const int answer = mWindowSystem->MessageBox(mMainWindow, text, title, flags);
    EndPopup();
    return answer;
}

int QuollAppBase::MsgBoxA(const std::string& text, const std::string& title, uint32_t flags)
{
    return MsgBoxW(StringToWString(text), StringToWString(title), flags);
}

void QuollAppBase::PopupW(const std::wstring& text)
{
    if (mIsScreenSaver || !mWindowSystem)
    {
        LogScreenSaverError(WStringToString(text));
        return;
    }
    BeginPopup();
    if (!mShutdown)
        mWindowSystem->MessageBox(mMainWindow, text, GetString("FATAL_ERROR", L"FATAL ERROR"),
                                  Platform::MB_ICONERROR | Platform::MB_OK);
    EndPopup();
}

void QuollAppBase::PopupA(const std::string& text)
{
    PopupW(StringToWString(text));
}

void QuollAppBase::LogScreenSaverError(const std::string& text)
{
    ErrorLog::Program().Append(text);
}

void QuollAppBase::ResetFrameTiming()
{
    mUpdateAccumulator = 0.0;
    mLastAccumulatorTime = Platform::TickCount();
}

void QuollAppBase::ClearKeysDown()
{
    mWidgetManager->ClearKeysDown();
    mCtrlDown = false;
    mAltDown = false;
}
} // namespace Quoll
