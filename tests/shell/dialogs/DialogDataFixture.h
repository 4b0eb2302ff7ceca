#pragma once
// The game application started on the generated game data without its states, the interface
// group loaded as at run time, and each of the game's dialogs shown through a link of its own on
// the application's state host: built from the real resource groups, texts and fonts, and drawn
// by the real widget manager into a screen of the game's size.
#include "tests/shell/dialogs/TextRecorder.h"
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/MemoryImage.h"
#include "game/shell/ProfileList.h"
#include "game/shell/ScoreTable.h"
#include "game/shell/WidgetLink.h"
#include "game/ui/QuollDialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
class Button;
}

namespace DialogDataTest
{
// The groups loaded by the loading thread before any dialog can open.
inline constexpr const char* kResidentGroups[] = {"Interface"};

// What the game's fonts drew since it was last cleared (the fonts outlive every application).
[[nodiscard]] TextRecorder& DrawnTexts();
// The font factory that reports to DrawnTexts; it outlives every application.
[[nodiscard]] RecordingFontFactory& RecordingFonts();

// The application without its states: nothing but the dialogs under test is shown. Its fonts
// report what they draw to DrawnTexts.
class DialogGameApp : public PlayDataTest::DataGameApp
{
public:
    DialogGameApp();

protected:
    void StartStateHost() override {}
};

// A state that shows the dialog its factory makes and records the commands it receives.
class DialogLink : public WidgetLink
{
public:
    DialogLink(StateHost& host, std::function<QuollDialog*()> factory)
        : WidgetLink(host, "DialogLink"), mFactory(std::move(factory))
    {
    }

    std::vector<std::pair<int, int>> commands;

protected:
    BaseWidget* CreateWidget() override
    {
        mDialog = mFactory();
        return mDialog;
    }
    void OnCommand(int command, int argument) override { commands.emplace_back(command, argument); }

public:
    // The dialog made by the last attach; null before it.
    [[nodiscard]] QuollDialog* Dialog() const { return mDialog; }

private:
    std::function<QuollDialog*()> mFactory;
    QuollDialog* mDialog = nullptr;
};

// One dialog as a player meets it: how it is made and what is done to it once shown (a name
// typed, the pointer over a control).
struct DialogScene
{
    std::string name;
    std::function<QuollDialog*()> make;
    // Runs after the dialog is shown; may be empty.
    std::function<void(QuollDialog&, Quoll::AppWidgetManager&)> show;
};

// The dialogs of the game, each once.
[[nodiscard]] const std::vector<DialogScene>& DialogScenes();

// The button of the id among the dialog's children; null when none.
[[nodiscard]] Quoll::Button* FindButton(const QuollDialog& dialog, int id);

class DialogData : public ::testing::Test
{
protected:
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;

    void SetUp() override;
    void TearDown() override;

    // Shows the scene's dialog on a state of its own; the dialog is attached when its group
    // loaded.
    DialogLink& Show(const DialogScene& scene);
    // Takes the showing dialog's state off the stack (its dialog detaches) and frees what the
    // application deferred.
    void Close();
    // The screen with the backdrop and the dialog drawn, ARGB.
    [[nodiscard]] std::vector<uint32_t> Render();

    [[nodiscard]] GameApp& App() { return *mApp; }
    [[nodiscard]] Quoll::AppWidgetManager& Manager() { return *mApp->GetWidgetManager(); }

    Quoll::MemoryImage mScreen;
    std::unique_ptr<Quoll::Widget> mBackdrop;
    std::unique_ptr<DialogGameApp> mApp;
    std::unique_ptr<DialogLink> mLink;
};
} // namespace DialogDataTest
