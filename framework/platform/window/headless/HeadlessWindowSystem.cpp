// Headless window system: supports everything the SDL back end does without a display;
// fakes the desktop, the focus and the opener; see HeadlessWindowSystem.h for its limits.
#include "framework/platform/window/headless/HeadlessWindowSystem.h"

#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/Path.h"
#include "framework/platform/system/PlatformLog.h"

#include <cstdlib>
#include <cstring>

namespace Quoll::Platform
{
namespace
{
class HeadlessPresenter final : public FramePresenter
{
public:
    HeadlessPresenter(std::shared_ptr<HeadlessFrameStore> store, WindowId window)
        : mStore(std::move(store)), mWindow(window)
    {
    }
    bool Present(const ArgbImageView& frame) override;
    uint64_t PresentCount() const override { return mCount; }
    bool SetCursorOverlay(const CursorPicture* picture) override
    {
        if (picture != nullptr)
            mStore->overlay = *picture;
        else
            mStore->overlay.reset();
        return true;
    }

private:
    std::shared_ptr<HeadlessFrameStore> mStore;
    WindowId mWindow;
    uint64_t mCount = 0;
};

bool WriteText(const std::string& path, const std::string& text)
{
    return WriteFileAtomically(path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

ScreenInfo ScreenFromEnvironment()
{
    ScreenInfo screen;
    screen.width = 1920;
    screen.height = 1080;
    if (const char* value = std::getenv("QUOLL_HEADLESS_SCREEN"))
    {
        int width = 0, height = 0;
        if (std::sscanf(value, "%dx%d", &width, &height) == 2 && width >= 320 && height >= 200 && width <= 16384 &&
            height <= 16384)
        {
            screen.width = width;
            screen.height = height;
        }
        else
            LogLine("Headless", std::string("ignoring QUOLL_HEADLESS_SCREEN=") + value);
    }
    screen.workArea = {0, 0, screen.width, screen.height - 40};
    screen.refreshRate = 60;
    return screen;
}
} // namespace

std::unique_ptr<WindowSystem> CreateHeadlessWindowSystem() { return std::make_unique<HeadlessWindowSystem>(); }

HeadlessWindowSystem::HeadlessWindowSystem() : mScreen(ScreenFromEnvironment())
{
    if (const char* dump = std::getenv("QUOLL_HEADLESS_DUMP"); dump != nullptr && *dump != '\0')
        mDumpFolder = dump;
    if (const char* script = std::getenv("QUOLL_HEADLESS_SCRIPT"); script != nullptr && *script != '\0')
    {
        std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(script);
        std::string error = "cannot read the file";
        if (!bytes || !LoadScript(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), &error))
            LogLine("Headless", std::string("script ") + script + ": " + error);
    }
}

HeadlessWindowSystem::~HeadlessWindowSystem()
{
    if (!mDumpFolder.empty())
        WriteEvidence(mDumpFolder);
}

void HeadlessWindowSystem::Feed(const InputEvent& event) { mFed.push_back(event); }

bool HeadlessWindowSystem::LoadScript(std::string_view text, std::string* error)
{
    std::vector<ScriptStep> steps;
    bool parsed = mScript.Parse(text, steps, error);
    if (mSteps.empty())
        mScriptStart = TickCount();
    for (ScriptStep& step : steps)
    {
        // Answers are used by the message boxes in order, whenever they are asked.
        if (!step.event)
        {
            mAnswers.push_back(step.messageBoxAnswer);
            continue;
        }
        step.atMilliseconds += mScriptStart;
        mSteps.push_back(std::move(step));
    }
    return parsed;
}

void HeadlessWindowSystem::Deliver(const InputEvent& event, std::vector<InputEvent>& events)
{
    if (event.kind == InputKind::MouseMove || event.kind == InputKind::MouseDown || event.kind == InputKind::MouseUp)
    {
        ScreenPoint point{event.x, event.y};
        WindowId target = event.window != WindowId::None ? event.window : InputTarget();
        if (ClientToScreen(target, point))
            mGlobalPointer.Store(point);
    }
    mInputLog += HeadlessScript::Format(event) + "\n";
    events.push_back(event);
}

void HeadlessWindowSystem::PumpNativeEvents(std::vector<InputEvent>& events)
{
    while (!mFed.empty())
    {
        InputEvent event = std::move(mFed.front());
        mFed.pop_front();
        Deliver(event, events);
    }
    uint32_t now = TickCount();
    while (!mSteps.empty() && static_cast<int32_t>(now - mSteps.front().atMilliseconds) >= 0)
    {
        Deliver(*mSteps.front().event, events);
        mSteps.pop_front();
    }
}

void HeadlessWindowSystem::NativeShow(WindowRecord& window, int showCmd)
{
    if (showCmd != SW_HIDE)
        Decorate(window);
    InputEvent event;
    event.window = window.id;
    switch (showCmd)
    {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        if (!window.minimised)
        {
            event.kind = InputKind::Minimised;
            Feed(event);
        }
        return;
    case SW_SHOWMAXIMIZED:
        event.kind = InputKind::Maximised;
        Feed(event);
        break;
    case SW_SHOW:
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (window.minimised || (showCmd == SW_RESTORE && window.maximised))
        {
            event.kind = InputKind::Restored;
            Feed(event);
        }
        break;
    default: return; // hidden, or shown without activation
    }
    // A window manager gives the shown window the focus.
    if (GetActiveWindow() != window.id)
    {
        event.kind = InputKind::FocusGained;
        Feed(event);
    }
}

// The first time a window with a caption is shown, the manager puts its frame where the window's
// outer rectangle was asked to be, and says how thick the frame is: the client area moves.
void HeadlessWindowSystem::Decorate(WindowRecord& window)
{
    if (!window.HasFrame() || window.IsMessageOnly() || !mDecorated.insert(window.id).second || window.frame == mFrame)
        return;
    const WindowRect outer = window.OuterRect();
    InputEvent event;
    event.kind = InputKind::Moved;
    event.window = window.id;
    event.x = outer.left + mFrame.left;
    event.y = outer.top + mFrame.top;
    event.frame = mFrame;
    Feed(event);
}

void HeadlessWindowSystem::NativeDestroy(WindowRecord& window)
{
    mDecorated.erase(window.id);
    mIcons.erase(window.id);
}

void HeadlessWindowSystem::NativeUpdate(WindowRecord& window, WindowChange change)
{
    if (change != WindowChange::Geometry || window.IsMessageOnly())
        return;
    InputEvent event;
    event.kind = InputKind::Moved;
    event.window = window.id;
    event.x = window.rect.left;
    event.y = window.rect.top;
    event.frame = window.frame;
    Feed(event);
}

void HeadlessWindowSystem::NativeSetIcon(WindowRecord& window, const ArgbImageView& icon)
{
    mIcons[window.id] = ArgbImage::CopyOf(icon);
}

const ArgbImage* HeadlessWindowSystem::IconOf(WindowId window) const
{
    auto found = mIcons.find(window);
    return found == mIcons.end() ? nullptr : &found->second;
}

std::optional<ScreenSaverSettings> HeadlessWindowSystem::NativeScreenSaverSettings()
{
    if (!mSaver)
        return std::nullopt;
    return mSaver->settings;
}

std::optional<bool> HeadlessWindowSystem::NativeScreenSaverRunning()
{
    if (!mSaver)
        return std::nullopt;
    return mSaver->running;
}

std::optional<uint32_t> HeadlessWindowSystem::NativeLastInputTick()
{
    if (!mSaver)
        return std::nullopt;
    return mSaver->lastInputTick;
}

void HeadlessWindowSystem::NativeResetScreenSaver()
{
    ++mSaverResets;
    if (mSaver)
        mSaver->lastInputTick = TickCount();
}

void HeadlessWindowSystem::NativeRaise(WindowRecord& window)
{
    if (GetActiveWindow() == window.id)
        return;
    InputEvent event;
    event.kind = InputKind::FocusGained;
    event.window = window.id;
    Feed(event);
}

bool HeadlessWindowSystem::NativeCreateCursor(CursorId, SystemCursor) { return true; }

bool HeadlessWindowSystem::NativeCreateCursor(CursorId id, const CursorPicture& picture)
{
    mPictures[id] = picture;
    return true;
}

const CursorPicture* HeadlessWindowSystem::CursorPictureOf(CursorId cursor) const
{
    auto found = mPictures.find(cursor);
    return found == mPictures.end() ? nullptr : &found->second;
}

bool HeadlessWindowSystem::NativeSetClipboard(const std::string& text)
{
    mClipboard = text;
    return true;
}

int HeadlessWindowSystem::NativeMessageBox(WindowRecord*, const std::string& text, const std::string& caption,
                                           uint32_t flags)
{
    int answer = DefaultMessageBoxAnswer(flags);
    if (!mAnswers.empty())
    {
        answer = mAnswers.front();
        mAnswers.pop_front();
    }
    mAsked.push_back({caption, text, flags, answer});
    LogLine("Headless", "message box \"" + caption + "\": \"" + text + "\" -> " + std::to_string(answer));
    return answer;
}

bool HeadlessWindowSystem::NativeOpenUrl(const std::string& url)
{
    mUrls.push_back(url);
    return true;
}

bool HeadlessPresenter::Present(const ArgbImageView& frame)
{
    if (!frame.IsValid())
        return false;
    mStore->pixels.resize(size_t(frame.width) * size_t(frame.height));
    for (int y = 0; y < frame.height; ++y)
        std::memcpy(mStore->pixels.data() + size_t(y) * size_t(frame.width),
                    frame.pixels + size_t(y) * size_t(frame.pitchBytes / 4), size_t(frame.width) * 4);
    mStore->width = frame.width;
    mStore->height = frame.height;
    mStore->window = mWindow;
    ++mCount;
    return true;
}

std::unique_ptr<FramePresenter> HeadlessWindowSystem::NativeCreatePresenter(WindowRecord& window)
{
    // The store is shared so the last frame outlives the presenter.
    return std::make_unique<HeadlessPresenter>(mFrames, window.id);
}

const std::vector<uint32_t>& HeadlessWindowSystem::LastFrame(int& width, int& height) const
{
    width = mFrames->width;
    height = mFrames->height;
    return mFrames->pixels;
}

std::vector<uint32_t> HeadlessWindowSystem::ShownFrame(int& width, int& height) const
{
    width = mFrames->width;
    height = mFrames->height;
    std::vector<uint32_t> shown = mFrames->pixels;
    ScreenPoint pointer = mGlobalPointer.Load();
    if (!mFrames->overlay || CursorVisible() || !ScreenToClient(mFrames->window, pointer))
        return shown;
    const CursorPicture& cursor = *mFrames->overlay;
    for (int y = 0; y < cursor.height; ++y)
        for (int x = 0; x < cursor.width; ++x)
        {
            const int fx = pointer.x - cursor.hotX + x, fy = pointer.y - cursor.hotY + y;
            if (fx < 0 || fy < 0 || fx >= width || fy >= height)
                continue;
            const uint32_t c = cursor.pixels[size_t(y) * size_t(cursor.width) + size_t(x)];
            uint32_t& d = shown[size_t(fy) * size_t(width) + size_t(fx)];
            const uint32_t a = c >> 24;
            uint32_t out = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8)
                out |= ((((c >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
            d = out;
        }
    return shown;
}

bool HeadlessWindowSystem::WriteEvidence(const std::string& folder) const
{
    if (!MakeDirectories(folder))
        return false;
    bool written = WriteText(folder + "/input.script", mInputLog);
    std::string boxes;
    for (const AskedMessageBox& box : mAsked)
        boxes += box.caption + "\t" + box.text + "\t" + std::to_string(box.flags) + "\t" + std::to_string(box.answer) + "\n";
    written = WriteText(folder + "/message-boxes.txt", boxes) && written;
    if (mFrames->width > 0)
    {
        int width = 0, height = 0;
        const std::vector<uint32_t> shown = ShownFrame(width, height);
        ArgbImageView frame{shown.data(), width, height, width * 4};
        written = WritePng(folder + "/last-frame.png", frame) && written;
    }
    return written;
}
} // namespace Quoll::Platform
