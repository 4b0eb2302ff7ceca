#pragma once
// The screens suite's harness: a recording widget link run by a real state host, the widgets'
// fake services with every image the dialogs use (plain framed pictures), sounds and texts, and
// helpers that click buttons and press keys through the real widget manager. ScreenGallery
// renders a screen on the 2D path for the golden images and the gallery program.
#include "../ui/UiTestDoubles.h"
#include "game/shell/BaseWidget.h"
#include "game/shell/StateHost.h"
#include "game/shell/WidgetLink.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ScreenTest
{
// A state that shows the widget its factory makes and records the commands it receives.
class RecordingLink : public WidgetLink
{
public:
    RecordingLink(StateHost& host, std::function<BaseWidget*()> factory)
        : WidgetLink(host, "RecordingLink"), mFactory(std::move(factory))
    {
    }

    using WidgetLink::Attach;
    using WidgetLink::Detach;

    std::vector<std::pair<int, int>> commands;
    // Runs after each recorded command (inside the handler).
    std::function<void(int, int)> onCommand;

protected:
    BaseWidget* CreateWidget() override { return mFactory(); }
    void OnCommand(int command, int argument) override
    {
        commands.emplace_back(command, argument);
        if (onCommand)
            onCommand(command, argument);
    }

private:
    std::function<BaseWidget*()> mFactory;
};

// Registers the dialogs' images, sounds and texts (each text key's value is its key in lower
// case with spaces for underscores, unless given) on the services and sets the shared fonts.
void PopulateServices(UiTest::FakeUiServices& ui, Quoll::Font* font);

// A plain picture with a lighter frame two pixels wide.
std::unique_ptr<Quoll::MemoryImage> MakeFramedImage(int width, int height, uint32_t fill, uint32_t frame);

class ScreenHarness
{
public:
    // With the block font unless another is given (not owned).
    explicit ScreenHarness(Quoll::Font* font = nullptr);
    ~ScreenHarness();
    ScreenHarness(const ScreenHarness&) = delete;
    ScreenHarness& operator=(const ScreenHarness&) = delete;

    // Pushes a state showing the widget (owned by the toolkit from then on).
    template <typename T> T* Show(T* widget)
    {
        ShowWidget(widget);
        return widget;
    }
    void ShowWidget(BaseWidget* widget);
    // Pops the showing state; its widget is deleted by the next deferred deletion.
    void Close();
    // n logic updates of the host and the widgets, each with a drawn frame.
    void Run(int updates = 1);

    // A left click in the middle of the widget, through the widget manager.
    void Click(const Quoll::Widget& widget);
    void Key(int keyCode);
    void Type(const std::wstring& text);

    [[nodiscard]] RecordingLink& Link() { return *mLinks.back(); }
    // The links in the order they were shown.
    [[nodiscard]] RecordingLink& LinkAt(size_t index) { return *mLinks.at(index); }
    [[nodiscard]] const std::vector<std::pair<int, int>>& Commands() { return Link().commands; }

    UiTest::BlockFont blockFont;
    UiTest::FakeUiServices ui;
    std::vector<std::string> flow;
    std::vector<std::string> warnings;
    StateHost host{FlowLog([this](const std::string& line) { flow.push_back(line); },
                           [this](const std::string& line) { warnings.push_back(line); })};

private:
    std::vector<std::unique_ptr<RecordingLink>> mLinks;
};

// The screen as the player sees it after `updates` updates: the manager's screen image.
void RenderScreen(ScreenHarness& harness, int updates);
} // namespace ScreenTest
