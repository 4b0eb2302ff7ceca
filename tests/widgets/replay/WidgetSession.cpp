// widget_session: an application with the real widget toolkit under the replay check. A panel
// holds a button (it opens a modal yes/no dialog), a checkbox, a slider and an edit field; what
// their listeners hear is folded into the state hash, and the screen the widget manager draws
// is sampled into the digest's picture. Both the recording and the replay must hear the events
// the script was written for; a run that misses one exits with code 1.
#include "framework/app/BlockFont.h"
#include "framework/app/QuollAppBase.h"
#include "framework/core/Common.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/platform/system/Clock.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/Checkbox.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/EditWidget.h"
#include "framework/widgets/Slider.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/WidgetToolkit.h"
#include "framework/demo/ReplayDigest.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int kSample = 10; // one digest pixel per 10 x 10 screen pixels
constexpr int kDigestWidth = 64;
constexpr int kDigestHeight = 48;
constexpr uint32_t kWatchdogMilliseconds = 60000;
constexpr int kOpenDialogButton = 1;
constexpr int kDialogId = 1;

// The grey screen behind the controls.
class Panel final : public Quoll::Widget
{
public:
    void Draw(Quoll::Graphics* g) override
    {
        g->SetColor(Quoll::Color(64, 72, 96));
        g->FillRect(0, 0, mWidth, mHeight);
    }
};

class SessionApp final : public Quoll::QuollAppBase,
                         public Quoll::CheckboxListener,
                         public Quoll::SliderListener,
                         public Quoll::EditListener
{
public:
    SessionApp()
    {
        mCompanyName = "Nordwick";
        mProdName = "WidgetSession";
        mRegKey = "Nordwick\\WidgetSession";
        mWidth = 640;
        mHeight = 480;
        mManager = Quoll::InstallWidgetToolkit(*this, &mFont);
    }

    ~SessionApp() override
    {
        if (mPanel != nullptr)
            mManager->RemoveWidget(mPanel);
        delete mPanel; // its controls go with it
    }

    void Note(const std::string& what)
    {
        mEvents.push_back(what);
        const std::string line = std::to_string(mUpdateCount) + " " + what;
        mHash = QuollReplay::HashBytes(line.data(), line.size(), mHash);
    }

    void ButtonRelease(int id) override
    {
        Note("button " + std::to_string(id));
        if (id == kOpenDialogButton)
            DoDialog(kDialogId, true, L"Sure?", L"", L"", Quoll::Dialog::kButtonsYesNo);
        else if (id == 2000 + kDialogId || id == 3000 + kDialogId)
            KillDialog(kDialogId);
    }
    void CheckboxChecked(int, bool checked) override { Note(checked ? "checked" : "unchecked"); }
    void SliderVal(int, double value) override { Note("slider " + std::to_string(static_cast<int>(value * 100))); }
    void EditWidgetText(int, const std::wstring& text) override { Note("entered " + Quoll::WStringToString(text)); }

    void UpdateFrame() override
    {
        QuollAppBase::UpdateFrame();
        mDigest.Update(mUpdateCount, mHash, SampleScreen(), kDigestWidth, kDigestHeight);
    }

    void PopupW(const std::wstring& text) override
    {
        mFailed = true;
        std::fprintf(stderr, "widget_session: %s\n", Quoll::WStringToString(text).c_str());
    }

    bool Process(bool allowSleep) override
    {
        const bool stuck = mPlayingDemo && (mDemo.Failed() || (mDemo.Ended() && DemoHoldsUpdate()));
        if (stuck || Quoll::Platform::TickCount() - mStartedTick > kWatchdogMilliseconds)
            Shutdown();
        return QuollAppBase::Process(allowSleep);
    }

    int Run()
    {
        Init();
        BuildPanel();
        if (mPlayingDemo)
            mFastForwardToEnd = true;
        mStartedTick = Quoll::Platform::TickCount();
        Start();
        mDigest.Finish(mUpdateCount, mHash);
        return mFailed || (mPlayingDemo && mDemo.Failed()) || !HeardTheScript() ? 1 : 0;
    }

private:
    void BuildPanel()
    {
        mPanel = new Panel;
        mPanel->Resize(0, 0, mWidth, mHeight);
        auto* button = new Quoll::ButtonWidget(kOpenDialogButton, this);
        button->Resize(100, 80, 120, 30);
        button->SetFont(&mFont);
        button->SetLabel(L"Open");
        mPanel->AddWidget(button);
        auto* checkbox = new Quoll::Checkbox(nullptr, nullptr, 2, this);
        checkbox->Resize(100, 130, 16, 16);
        mPanel->AddWidget(checkbox);
        auto* slider = new Quoll::Slider(nullptr, nullptr, 3, this);
        slider->Resize(100, 170, 210, 20);
        mPanel->AddWidget(slider);
        auto* edit = new Quoll::EditWidget(4, this);
        edit->Resize(100, 210, 200, 24);
        edit->SetFont(&mFont);
        edit->mMaxChars = 8;
        mPanel->AddWidget(edit);
        mManager->AddWidget(mPanel);
    }

    // Every tenth pixel of the widget tree drawn into a memory image of its own: the real
    // screen is drawn as time allows, which a fast replay does not.
    const uint32_t* SampleScreen()
    {
        if (mOffscreen.mWidth != mWidth || mOffscreen.mHeight != mHeight)
        {
            mOffscreen.Create(mWidth, mHeight);
            mOffscreen.SetImageMode(false, false);
        }
        Quoll::Graphics clear(&mOffscreen);
        clear.SetColor(Quoll::Color(0, 0, 0));
        clear.FillRect(0, 0, mWidth, mHeight);
        Quoll::Image* screen = mManager->GetScreenImage();
        mManager->SetScreenImage(&mOffscreen);
        mManager->DrawScreen();
        mManager->SetScreenImage(screen);
        const uint32_t* bits = mOffscreen.GetBits();
        mSampled.assign(size_t(kDigestWidth) * kDigestHeight, 0xFF000000u);
        for (int y = 0; y < kDigestHeight && y * kSample < mHeight; ++y)
            for (int x = 0; x < kDigestWidth && x * kSample < mWidth; ++x)
                mSampled[size_t(y) * kDigestWidth + size_t(x)] = bits[size_t(y * kSample * mWidth + x * kSample)] | 0xFF000000u;
        return mSampled.data();
    }

    // The events session.script was written for, in order.
    bool HeardTheScript() const
    {
        const std::vector<std::string> expected = {"button 1", "button 2001", "checked",   "slider 10", "slider 20",
                                                   "slider 100", "button 1",  "button 3001", "entered abcdefgh"};
        if (mEvents == expected)
            return true;
        std::fprintf(stderr, "widget_session: heard");
        for (const std::string& event : mEvents)
            std::fprintf(stderr, " [%s]", event.c_str());
        std::fprintf(stderr, "\n");
        return false;
    }

    Quoll::BlockFont mFont;
    Quoll::WidgetManager* mManager = nullptr;
    Panel* mPanel = nullptr;
    QuollReplay::ReplayDigest mDigest;
    uint64_t mHash = 14695981039346656037ull;
    Quoll::MemoryImage mOffscreen;
    std::vector<uint32_t> mSampled;
    std::vector<std::string> mEvents;
    uint32_t mStartedTick = 0;
    bool mFailed = false;
};
} // namespace

int main()
{
    SessionApp app;
    return app.Run();
}
