#pragma once
// The headless window system: no display at all. Windows, the queue, timers, cursors and
// the clipboard behave as in the SDL back end; input comes from Feed or from a script
// (HeadlessScript.h; the file named by QUOLL_HEADLESS_SCRIPT is loaded at start); message
// boxes answer from the script's "msgbox" steps, else with their default button, and
// log the question; presenters keep the last frame.
//
// Evidence: with QUOLL_HEADLESS_DUMP naming a folder, the destructor writes there
// "last-frame.png", "input.script" (the input delivered, in script syntax, replayable)
// and "message-boxes.txt"; WriteEvidence does the same on request.
//
// Fakes: the desktop is QUOLL_HEADLESS_SCREEN ("WxH", default 1920x1080) at 60 Hz with a
// 40-pixel panel at the bottom; showing a window gives it the focus; opening a URL
// records it and succeeds; a window with a caption gets the frame SetWindowFrame gives (none
// by default) when it is first shown, as a window manager does; the desktop's screen saver
// answers with what a test set (SetScreenSaver), and by default cannot answer. Limits: one
// desktop; no window manager to refuse anything.
#include "framework/platform/window/WindowSystem.h"
#include "framework/platform/window/headless/HeadlessScript.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Quoll::Platform
{
// The last frame presented and the cursor overlay, shared by the system and its presenters.
struct HeadlessFrameStore
{
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    WindowId window = WindowId::None; // where the frame was presented
    std::optional<CursorPicture> overlay;
};

// A desktop position read and written whole from any thread. Both coordinates share one 64-bit
// word, which every compiler handles without a lock (an atomic of the two-int struct needs the
// atomic support library under clang).
class AtomicScreenPoint
{
public:
    void Store(ScreenPoint point)
    {
        mBits.store(static_cast<uint32_t>(point.x) | uint64_t{static_cast<uint32_t>(point.y)} << 32);
    }
    [[nodiscard]] ScreenPoint Load() const
    {
        const uint64_t bits = mBits.load();
        return {static_cast<int32_t>(static_cast<uint32_t>(bits)), static_cast<int32_t>(bits >> 32)};
    }

private:
    std::atomic<uint64_t> mBits{0};
    static_assert(std::atomic<uint64_t>::is_always_lock_free);
};

class HeadlessWindowSystem final : public WindowSystem
{
public:
    struct AskedMessageBox
    {
        std::string caption;
        std::string text;
        uint32_t flags = 0;
        int answer = 0;
    };

    // The desktop's screen saver as the queries report it.
    struct ScreenSaver
    {
        ScreenSaverSettings settings;
        bool running = false;
        uint32_t lastInputTick = 0; // TickCount
    };

    HeadlessWindowSystem();
    ~HeadlessWindowSystem() override;

    const char* BackendName() const override { return "headless"; }

    // Input delivered at the next PeekMessage.
    void Feed(const InputEvent& event);
    // Adds a script whose times count from now on the current clock.
    bool LoadScript(std::string_view text, std::string* error = nullptr);
    // True when every script step has been delivered.
    bool ScriptFinished() const { return mSteps.empty(); }
    void QueueMessageBoxAnswer(int answer) { mAnswers.push_back(answer); }
    // The frame the window manager draws around windows with a caption, from their next show.
    void SetWindowFrame(const FrameExtents& frame) { mFrame = frame; }

    const std::vector<AskedMessageBox>& MessageBoxes() const { return mAsked; }
    const std::vector<std::string>& OpenedUrls() const { return mUrls; }
    // The picture of a cursor made here (system shapes have none).
    const CursorPicture* CursorPictureOf(CursorId cursor) const;
    bool CursorVisible() const { return GetCursor() != CursorId::None; }
    bool PointerCaptured() const { return mCaptured; }
    // The icon a window was given (null when it has none).
    const ArgbImage* IconOf(WindowId window) const;
    // The last frame presented in any window (empty when none was).
    const std::vector<uint32_t>& LastFrame(int& width, int& height) const;
    // What the window shows: the last frame with the cursor overlay, while the pointer is
    // hidden, blended over it at the pointer (its hot spot there).
    std::vector<uint32_t> ShownFrame(int& width, int& height) const;
    // The user moves the pointer to a desktop position: it takes effect at once, as a
    // hardware pointer does (any thread). Input messages come only from Feed and scripts.
    void MovePointer(ScreenPoint point) { mGlobalPointer.Store(point); }
    std::string InputLog() const { return mInputLog; }
    // None: the desktop cannot answer (the default).
    void SetScreenSaver(std::optional<ScreenSaver> saver) { mSaver = saver; }
    const std::optional<ScreenSaver>& GetScreenSaver() const { return mSaver; }
    // How often the desktop's wait for its screen saver was restarted (a refused start); each
    // restart counts as input now.
    int ScreenSaverResets() const { return mSaverResets; }
    bool WriteEvidence(const std::string& folder) const;

protected:
    void NativeShow(WindowRecord& window, int showCmd) override;
    void NativeDestroy(WindowRecord& window) override;
    void NativeUpdate(WindowRecord& window, WindowChange change) override;
    void NativeSetIcon(WindowRecord& window, const ArgbImageView& icon) override;
    void NativeRaise(WindowRecord& window) override;
    void PumpNativeEvents(std::vector<InputEvent>& events) override;
    ScreenInfo NativeScreen() override { return mScreen; }
    ScreenPoint NativeGlobalPointer() override { return mGlobalPointer.Load(); }
    void NativeCapture(bool capture) override { mCaptured = capture; }
    bool NativeCreateCursor(CursorId id, SystemCursor shape) override;
    bool NativeCreateCursor(CursorId id, const CursorPicture& picture) override;
    void NativeSetCursor(CursorId) override {}
    void NativeDestroyCursor(CursorId id) override { mPictures.erase(id); }
    bool NativeSetClipboard(const std::string& text) override;
    std::string NativeGetClipboard() override { return mClipboard; }
    int NativeMessageBox(WindowRecord* owner, const std::string& text, const std::string& caption,
                         uint32_t flags) override;
    bool NativeOpenUrl(const std::string& url) override;
    std::unique_ptr<FramePresenter> NativeCreatePresenter(WindowRecord& window) override;
    std::optional<ScreenSaverSettings> NativeScreenSaverSettings() override;
    std::optional<bool> NativeScreenSaverRunning() override;
    std::optional<uint32_t> NativeLastInputTick() override;
    void NativeResetScreenSaver() override;

private:
    void Deliver(const InputEvent& event, std::vector<InputEvent>& events);
    void Decorate(WindowRecord& window);

    ScreenInfo mScreen;
    AtomicScreenPoint mGlobalPointer;
    bool mCaptured = false;
    std::string mClipboard;
    std::deque<InputEvent> mFed;
    HeadlessScript mScript;
    std::deque<ScriptStep> mSteps;
    uint32_t mScriptStart = 0;
    std::deque<int> mAnswers;
    std::vector<AskedMessageBox> mAsked;
    std::vector<std::string> mUrls;
    std::map<CursorId, CursorPicture> mPictures;
    std::map<WindowId, ArgbImage> mIcons;
    std::shared_ptr<HeadlessFrameStore> mFrames = std::make_shared<HeadlessFrameStore>();
    std::string mInputLog;
    std::string mDumpFolder;
    FrameExtents mFrame;
    std::set<WindowId> mDecorated; // windows that have their frame
    std::optional<ScreenSaver> mSaver;
    int mSaverResets = 0;
};
} // namespace Quoll::Platform
