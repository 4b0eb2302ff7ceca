// The application's side of the demo stream: recording the input the main loop handles and
// the outcomes of the operations that pass through the stream, applying recorded input during
// playback, reading and writing the demo file, the playback keys, and stopping playback with
// an error when the demo and the program disagree. Also the screenshot and image dump of the
// debug keys.
#include "framework/core/Common.h"
#include "framework/app/AppCrashReportSource.h"
#include "framework/core/DebugOutput.h"
#include "framework/demo/DemoFile.h"
#include "framework/demo/DemoPlaybackKeys.h"
#include "framework/app/ErrorLog.h"
#include "framework/net/HttpTransfer.h"
#include "framework/app/ImageDump.h"
#include "framework/core/MersenneTwister.h"
#include "framework/app/QuollAppBase.h"
#include "framework/app/Screenshot.h"
#include "framework/display/DDInterface.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/system/Path.h"

#include <cstring>
#include <vector>

namespace Quoll
{
namespace
{
constexpr int kWheelNotch = 120;

// A crash closes the recording with a filler record and saves it beside the crash report.
std::string CloseRecordingAtCrash(QuollAppBase& app)
{
    if (!app.mRecordingDemo || app.mPlayingDemo)
        return {};
    app.mDemo.WriteRecord(DemoKind::Filler, app.mUpdateCount);
    app.WriteDemoFile();
    return Platform::PathExists(app.mDemoFileName) ? app.mDemoFileName : std::string();
}

// HTTP transfers: while recording, every change of a transfer's result is written with its
// transfer id; while playing back, a transfer polling for its outcome takes the record due now
// when it carries its id and leaves it for another transfer otherwise.
class AppHttpDemoHook final : public HttpDemoHook
{
public:
    bool IsPlayingBack() override { return gQuollApp != nullptr && gQuollApp->mPlayingDemo; }

    bool IsRecording() override
    {
        return gQuollApp != nullptr && gQuollApp->mRecordingDemo && !gQuollApp->mPlayingDemo &&
               !gQuollApp->mShutdown;
    }

    bool TakeRecordedResult(int32_t transferId, HttpResult& result, std::string& content) override
    {
        QuollAppBase* app = gQuollApp;
        if (app == nullptr || app->mDemoClosedByWindow || app->mShutdown)
            return false;
        DemoStream& demo = app->mDemo;
        if (!demo.PeekRecord(DemoKind::HttpResult, app->mUpdateCount) || demo.PeekInt32() != transferId)
            return false;
        demo.Data().ReadInt32();
        result = HttpResult(demo.Data().ReadByte());
        content = demo.Data().ReadString();
        demo.EndRecord();
        return true;
    }

    void RecordResult(int32_t transferId, HttpResult result, const std::string& content) override
    {
        QuollAppBase& app = *gQuollApp;
        app.mDemo.WriteRecord(DemoKind::HttpResult, app.mUpdateCount);
        app.mDemo.Data().WriteInt32(transferId);
        app.mDemo.Data().WriteByte(uint8_t(result));
        app.mDemo.Data().WriteString(result == HttpResult::InProgress ? std::string() : content);
    }
};

AppHttpDemoHook gHttpDemoHook;

// The crash catcher and the HTTP transfers reach the demo through these, set for the
// program's lifetime.
struct DemoHooksInstaller
{
    DemoHooksInstaller()
    {
        SetDemoRecordingCloser(&CloseRecordingAtCrash);
        SetHttpDemoHook(&gHttpDemoHook);
    }
} gDemoHooksInstaller;

bool IsButtonDown(uint32_t message)
{
    using namespace Platform;
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
           message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
}
} // namespace

// --- Records of the operations -------------------------------------------------------------------

void QuollAppBase::WriteDemoRecordHeader()
{
    mDemo.WriteHeader(mUpdateCount);
}

bool QuollAppBase::ReadDemoRecordHeader()
{
    return mDemo.ReadHeader(mUpdateCount);
}

void QuollAppBase::WriteDemoRecordKind(DemoKind kind)
{
    mDemo.WriteRecord(kind, mUpdateCount);
}

bool QuollAppBase::ExpectDemoRecord(DemoKind kind)
{
    if (mDemo.ExpectRecord(kind, mUpdateCount))
        return true;
    ReportDemoFailure();
    return false;
}

bool QuollAppBase::ReadDemoOutcome(DemoKind kind, bool closedResult)
{
    if (!IsReplayingRecords() || !ExpectDemoRecord(kind))
        return closedResult;
    const bool outcome = mDemo.Data().ReadBits(1, false) != 0;
    mDemo.EndRecord();
    return outcome;
}

// A recorded registry read. The recorded data are always taken off the stream, but never more
// than the caller's capacity is copied: a longer record fails as the real read would have.
bool QuollAppBase::ReadDemoRegistryValue(uint32_t* type, uint8_t* data, uint32_t* length)
{
    if (!IsReplayingRecords() || !ExpectDemoRecord(DemoKind::RegistryRead))
        return false;
    Buffer& demo = mDemo.Data();
    const bool read = demo.ReadBits(1, false) != 0;
    bool fits = true;
    if (read)
    {
        *type = uint32_t(demo.ReadInt32());
        const int32_t recorded = demo.ReadInt32();
        const size_t count = mDemo.ClampToRemainder(recorded);
        std::vector<uint8_t> bytes(count);
        demo.ReadBytes(bytes.data(), count);
        fits = count == size_t(recorded) && count <= *length;
        if (fits && count > 0)
            std::memcpy(data, bytes.data(), count);
        *length = uint32_t(count);
    }
    mDemo.EndRecord();
    return read && fits;
}

bool QuollAppBase::ReadDemoFileRecord(Buffer& buffer)
{
    if (!IsReplayingRecords() || !ExpectDemoRecord(DemoKind::FileRead))
        return false;
    Buffer& demo = mDemo.Data();
    bool read = demo.ReadBits(1, false) != 0;
    if (read)
    {
        const int32_t recorded = demo.ReadInt32();
        const size_t count = mDemo.ClampToRemainder(recorded);
        read = count == size_t(recorded);
        buffer.Clear();
        for (size_t i = 0; i < count; ++i)
            buffer.WriteByte(demo.ReadByte());
    }
    mDemo.EndRecord();
    return read;
}

void QuollAppBase::DemoSyncBuffer(Buffer& buffer)
{
    if (IsRecordingDemo())
        mDemo.WriteSyncBuffer(buffer, mUpdateCount);
    else if (IsReplayingRecords() && !mDemo.ReadSyncBuffer(buffer, mUpdateCount))
        ReportDemoFailure();
}

std::string QuollAppBase::DemoSyncString(const std::string& text)
{
    Buffer buffer;
    buffer.WriteString(text);
    DemoSyncBuffer(buffer);
    buffer.SeekReadStart();
    return buffer.ReadString();
}

bool QuollAppBase::DemoSyncBool(bool value)
{
    Buffer buffer;
    buffer.WriteBool(value);
    DemoSyncBuffer(buffer);
    buffer.SeekReadStart();
    return buffer.ReadBool();
}

void QuollAppBase::ReportDemoFailure()
{
    if (!mDemo.Failed() || mDemoFailureShown)
        return;
    mDemoFailureShown = true;
    ErrorLog::Program().Append(mDemo.Error());
    OutputDebugText(mDemo.Error() + "\r\n");
    PopupA(mDemo.Error());
}

// --- Recording of window input ----------------------------------------------------------------------

void QuollAppBase::DemoMousePosition(Platform::LParam lParam, int& x, int& y) const
{
    x = Platform::SignedLoWord(uintptr_t(lParam));
    y = Platform::SignedHiWord(uintptr_t(lParam));
    mWidgetManager->RemapMouse(x, y);
    x = DemoStream::ClampPointer(x);
    y = DemoStream::ClampPointer(y);
}

void QuollAppBase::RecordDeferredMessage(Platform::WindowId window, uint32_t message, Platform::WParam wParam,
                                         Platform::LParam lParam)
{
    using namespace Platform;
    if (!IsRecordingDemo())
        return;
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK)
    {
        int x = 0, y = 0;
        DemoMousePosition(lParam, x, y);
        if (message == WM_MOUSEMOVE)
            mDemo.WriteMouseMove(x, y, mUpdateCount);
        else
            mDemo.WriteMouseButton(x, y, IsButtonDown(message), MouseClickCount(message), mUpdateCount);
        return;
    }
    switch (message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: mDemo.WriteKey(DemoKind::KeyDown, int(wParam & 0xFF), mUpdateCount); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: mDemo.WriteKey(DemoKind::KeyUp, int(wParam & 0xFF), mUpdateCount); break;
    case WM_CHAR: mDemo.WriteChar(char32_t(wParam), mUpdateCount); break;
    case WM_MOUSEWHEEL: mDemo.WriteWheel(WheelDelta(wParam) / kWheelNotch, mUpdateCount); break;
    case WM_ACTIVATEAPP:
        if (window == mMainWindow)
        {
            WriteDemoRecordKind(DemoKind::Activate);
            mDemo.Data().WriteBits(wParam != 0 ? 1 : 0, 1);
        }
        break;
    case WM_SIZE:
        if (window == mMainWindow)
        {
            WriteDemoRecordKind(DemoKind::Minimise);
            mDemo.Data().WriteBool(wParam == SIZE_MINIMIZED);
        }
        break;
    case WM_CLOSE:
        if (window == mMainWindow || window == mInvisWindow)
            WriteDemoRecordKind(DemoKind::Close);
        break;
    default: break;
    }
}

void QuollAppBase::RecordMouseInWindow(bool inWindow)
{
    if (IsRecordingDemo())
        WriteDemoRecordKind(inWindow ? DemoKind::MouseEnter : DemoKind::MouseLeave);
}

void QuollAppBase::RecordLoadingCompletion()
{
    if (IsRecordingDemo())
        WriteDemoRecordKind(DemoKind::LoadingFinished);
}

void QuollAppBase::NoteRefreshRate()
{
    mSyncRefreshRate = mDisplay ? mDisplay->GetRefreshRate() : mSyncRefreshRate;
    if (IsRecordingDemo())
        mDemo.WriteDisplayMode(mIsWindowed, mSyncRefreshRate, mUpdateCount);
}

// --- Playback ------------------------------------------------------------------------------------------

bool QuollAppBase::DemoHoldsUpdate()
{
    if (!mPlayingDemo)
        return false;
    const bool holds = mDemo.HoldsUpdate(mUpdateCount);
    ReportDemoFailure();
    return holds;
}

// Stops at a recorded loading completion until the real one is picked up: the records that
// follow it at this update belong to what the application does on completion.
void QuollAppBase::ProcessDemoInput()
{
    while (mPlayingDemo && !mShutdown && mLoadingFinishedInDemo == mLoadingCompletionPickedUp)
    {
        const std::optional<DemoInput> input = mDemo.ReadInput(mUpdateCount);
        if (!input)
            break;
        const DemoInput& in = *input;
        switch (in.type)
        {
        case DemoInput::Type::MouseMove: mWidgetManager->MouseMove(in.x, in.y); break;
        case DemoInput::Type::MouseDown: mWidgetManager->MouseDown(in.x, in.y, in.value); break;
        case DemoInput::Type::MouseUp: mWidgetManager->MouseUp(in.x, in.y, in.value); break;
        case DemoInput::Type::Activate: ApplyActivation(in.flag); break;
        case DemoInput::Type::Minimise: ApplyMinimised(in.flag); break;
        case DemoInput::Type::KeyDown: mWidgetManager->KeyDown(in.value); break;
        case DemoInput::Type::KeyUp: mWidgetManager->KeyUp(in.value); break;
        case DemoInput::Type::Char: mWidgetManager->KeyChar(wchar_t(in.value)); break;
        case DemoInput::Type::Close:
            // From here on the recording read nothing more, and neither does the replay.
            mDemoClosedByWindow = true;
            Shutdown();
            break;
        case DemoInput::Type::MouseEnter: SetMouseIn(true); break;
        case DemoInput::Type::MouseLeave:
            mWidgetManager->MouseExit();
            SetMouseIn(false);
            break;
        case DemoInput::Type::LoadingFinished: mLoadingFinishedInDemo = true; break;
        case DemoInput::Type::Wheel: mWidgetManager->MouseWheel(in.value); break;
        case DemoInput::Type::DisplayMode:
            mIsWindowed = in.flag;
            mSyncRefreshRate = in.value;
            break;
        }
    }
    ReportDemoFailure();
}

bool QuollAppBase::HandleDemoPlaybackKey(char32_t key)
{
    DemoPlaybackControl control{mSpeedFactor, mFastForwardTarget, mFastForwardToEnd, mFastForwardStep, mPaused};
    const DemoKeyAction action =
        Quoll::HandleDemoPlaybackKey(key, control, mUpdateCount, mDemo.mLength, mFrameTime);
    mSpeedFactor = control.speedFactor;
    mFastForwardTarget = control.fastForwardTarget;
    mFastForwardToEnd = control.fastForwardToEnd;
    mFastForwardStep = control.fastForwardStep;
    mPaused = control.paused;
    if (action == DemoKeyAction::PauseToggled)
        ResetFrameTiming();
    else if (action == DemoKeyAction::ToggleSound)
        ToggleSound();
    else if (action == DemoKeyAction::JumpToTime)
        ShowJumpToTime();
    else if (action == DemoKeyAction::MarkerList)
        ShowMarkerList();
    return action != DemoKeyAction::None;
}

void QuollAppBase::ShowMarkerList()
{
    if (!mDemoDialogs || mModalClient != nullptr)
    {
        OutputDebugText("Demo: no marker list dialog\n");
        return;
    }
    const std::vector<DemoMarkerLine> lines = FutureMarkerLines(mDemo.mMarkers, mUpdateCount, mDemo.mLength, mFrameTime);
    const int chosen = mDemoDialogs->ChooseMarker(lines);
    if (chosen >= 0 && chosen < int(lines.size()) && lines[size_t(chosen)].update > mUpdateCount)
        mFastForwardTarget = lines[size_t(chosen)].update;
    ResetFrameTiming();
}

void QuollAppBase::ShowJumpToTime()
{
    if (!mDemoDialogs || mModalClient != nullptr)
    {
        OutputDebugText("Demo: no jump-to-time dialog\n");
        return;
    }
    constexpr uint32_t kStoredBytes = 1000; // what is read back of "DemoJumpTime"
    constexpr size_t kTypedBytes = 500;     // what is taken of the typed text
    std::string text;
    uint8_t stored[kStoredBytes] = {};
    uint32_t length = kStoredBytes, type = 0;
    if (ReadStoreValue("DemoJumpTime", &type, stored, &length) && type == Platform::REG_SZ)
        text.assign(reinterpret_cast<const char*>(stored), strnlen(reinterpret_cast<const char*>(stored), length));
    if (mDemoDialogs->AskJumpTime(text))
    {
        text.resize(std::min(text.size(), kTypedBytes));
        WriteStoreValue("DemoJumpTime", Platform::REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                        uint32_t(text.size() + 1));
        mFastForwardTarget = JumpToTimeTarget(text, mDemo.mLength, mFrameTime);
    }
    ResetFrameTiming();
}

// --- The demo file ------------------------------------------------------------------------------------

bool QuollAppBase::ReadDemoFile(std::string& error)
{
    uint32_t seed = 0;
    if (!Quoll::ReadDemoFile(mDemoFileName, mProductVersion, mDemo, seed, error))
        return false;
    mStartTick = seed;
    SeedRandom(seed);
    return true;
}

void QuollAppBase::WriteDemoFile()
{
    if (!mRecordingDemo || mPlayingDemo)
        return;
    if (!Quoll::WriteDemoFile(mDemoFileName, mStartTick, mProductVersion, mUpdateCount, mDemo))
        ErrorLog::Program().Append("Cannot write demo file: " + mDemoFileName);
}

int QuollAppBase::FindHighestDemoNumber(const std::string& prefix, int keepCount, bool deleteOldest)
{
    return Quoll::FindHighestDemoNumber(prefix, keepCount, deleteOldest);
}

// --- Screenshots and the image dump -------------------------------------------------------------

void QuollAppBase::TakeScreenshot()
{
    auto* screen = mDisplay ? dynamic_cast<MemoryImage*>(mDisplay->GetScreenImage()) : nullptr;
    if (screen == nullptr)
        return;
    if (!Quoll::TakeScreenshot(*screen, GetAppDataFolder()).empty())
        ResetFrameTiming();
}

void QuollAppBase::DumpImages()
{
    std::vector<ImageDumpEntry> entries;
    {
        AutoCrit lock(mDisplay ? mDisplay->GetLock() : mCritSect);
        const DDInterface* display = GetDDInterface();
        const Renderer3D* renderer = display != nullptr ? display->GetRenderer() : nullptr;
        for (MemoryImage* image : mMemoryImageSet)
            entries.push_back(DescribeImage(*image, renderer));
    }
    Quoll::DumpImages(entries, GetAppDataFolder(), DumpTimeText());
    ResetFrameTiming();
}
} // namespace Quoll
