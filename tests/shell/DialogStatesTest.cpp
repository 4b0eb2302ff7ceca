// The states of the game's dialogs over real player data in a file store: profiles made, chosen
// and deleted are on disk at once, the settings are applied and written on close, exit's yes
// shuts down, and a dialog whose resources did not load lets its state leave with a log line.
// Rerun one case: test_shell --gtest_filter='DialogStates.*'.
#include "framework/widgets/Checkbox.h"
#include "game/app/ChangeProfileState.h"
#include "game/app/CreateProfileState.h"
#include "game/app/DialogState.h"
#include "game/app/ExitGameState.h"
#include "game/app/SettingsState.h"
#include "game/app/ShellActions.h"
#include "game/screens/ChangeProfileDlg.h"
#include "game/screens/CreditsDlg.h"
#include "game/screens/ProfileNameDlg.h"
#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "game/ui/Button.h"
#include "tests/screens/ScreenTestDoubles.h"

#include <gtest/gtest.h>

namespace
{
class FakeActions : public ShellActions
{
public:
    PlayerData* GetPlayerData() override { return data.get(); }
    void OnProfileChanged() override { calls.push_back("profile " + data->GetCurrentName()); }
    SettingsView ReadSettingsView() override { return view; }
    void SetMusicVolume(double volume) override { calls.push_back("music volume " + std::to_string(volume)); }
    void SetSoundVolume(double volume) override { calls.push_back("sound volume " + std::to_string(volume)); }
    void SetMusicEnabled(bool enabled) override { calls.push_back(std::string("music ") + (enabled ? "on" : "off")); }
    void SetSoundEnabled(bool enabled) override { calls.push_back(std::string("sound ") + (enabled ? "on" : "off")); }
    void PlayMusic(int song, float) override { calls.push_back("play music " + std::to_string(song)); }
    void PlaySoundNamed(const std::string& name) override { calls.push_back("sound " + name); }
    void SetCustomCursors(bool enabled) override { calls.push_back(std::string("cursors ") + (enabled ? "on" : "off")); }
    void OnAchievementEvent(int eventId) override { calls.push_back("event " + std::to_string(eventId)); }
    void SetWindowed(bool windowed) override { calls.push_back(std::string("windowed ") + (windowed ? "yes" : "no")); }
    void ToggleLanguage() override { calls.push_back("language"); }
    void WriteSettings() override { calls.push_back("write settings"); }
    void RequestShutdown() override { calls.push_back("shutdown"); }

    MemoryFileStore store;
    std::unique_ptr<PlayerData> data = std::make_unique<PlayerData>(store);
    SettingsView view;
    std::vector<std::string> calls;
};

// The profile names as a new reading of the store finds them.
std::vector<std::string> NamesOnDisk(PlayerFileStore& store)
{
    ProfileList list;
    list.Load(store);
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i)
        names.push_back(list.GetName(i));
    return names;
}

class DialogStates : public ::testing::Test
{
protected:
    void MakeProfiles(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            actions.data->CreateProfile(name);
    }

    // A state that lives until the harness has taken every state off its stack.
    template <typename T, typename... Args> T& Make(Args&&... args)
    {
        states.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        return static_cast<T&>(*states.back());
    }

    FakeActions actions;
    std::vector<std::unique_ptr<States::BaseState>> states;
    ScreenTest::ScreenHarness harness;
};

TEST_F(DialogStates, CreateSelectAndDeleteAreOnDiskAtOnce)
{
    MakeProfiles({"ann", "bob"});
    auto& change = Make<ChangeProfileState>(harness.host, actions);
    harness.host.PushState(change);
    auto* dialog = dynamic_cast<ChangeProfileDlg*>(change.GetWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetSelected(), 1); // bob, made last, is current

    // Add: the name dialog on top; "cid" typed and OK.
    harness.Click(*dialog->GetAddButton());
    harness.Type(L"cid");
    auto* top = dynamic_cast<WidgetLink*>(harness.host.GetTopState());
    ASSERT_NE(top, &change);
    auto* nameDialog = dynamic_cast<ProfileNameDlg*>(top->GetWidget());
    harness.Click(*nameDialog->GetWidgets().at(1));
    harness.Run();
    EXPECT_EQ(harness.host.GetTopState(), &change);
    EXPECT_EQ(NamesOnDisk(actions.store), (std::vector<std::string>{"ann", "bob", "cid"}));
    EXPECT_EQ(actions.data->GetCurrentName(), "cid");
    EXPECT_EQ(dialog->GetSelected(), 2);

    // Delete the selected ann: bob, now first, becomes current.
    harness.Click(*dialog->GetSlot(0));
    harness.Click(*dialog->GetDeleteButton());
    EXPECT_EQ(NamesOnDisk(actions.store), (std::vector<std::string>{"bob", "cid"}));
    EXPECT_EQ(dialog->GetSelected(), 0);
    EXPECT_EQ(actions.data->GetCurrentName(), "bob");

    harness.Click(*dialog->GetSlot(1));
    harness.Key(13);
    harness.Run();
    EXPECT_FALSE(change.IsOnStack());
    EXPECT_EQ(actions.data->GetCurrentName(), "cid");
    EXPECT_EQ(actions.calls.back(), "profile cid");
}

TEST_F(DialogStates, OkAndDeleteWithoutASelectionDoNothing)
{
    MakeProfiles({"ann", "bob"});
    auto& change = Make<ChangeProfileState>(harness.host, actions);
    harness.host.PushState(change);
    auto* dialog = dynamic_cast<ChangeProfileDlg*>(change.GetWidget());
    dialog->SetSelected(7);
    harness.Key(13);
    dialog->ButtonRelease(ChangeProfileDlg::kCommandDelete);
    harness.Run();
    EXPECT_TRUE(change.IsOnStack());
    EXPECT_EQ(NamesOnDisk(actions.store), (std::vector<std::string>{"ann", "bob"}));
}

TEST_F(DialogStates, NoEmptyOrDuplicateProfile)
{
    MakeProfiles({"ann"});
    auto& create = Make<CreateProfileState>(harness.host, actions);
    harness.host.PushState(create);
    auto* dialog = dynamic_cast<ProfileNameDlg*>(create.GetWidget());
    dialog->ButtonRelease(ProfileNameDlg::kCommandOk); // empty: nothing
    harness.Type(L"ann");
    dialog->ButtonRelease(ProfileNameDlg::kCommandOk); // taken: nothing
    harness.Type(L"\r");
    harness.Run();
    EXPECT_TRUE(create.IsOnStack());
    EXPECT_EQ(NamesOnDisk(actions.store), std::vector<std::string>{"ann"});

    // Enter with an empty name closes.
    harness.Key(27); // the field empties and reports Enter
    harness.Run();
    EXPECT_FALSE(create.IsOnStack());
}

TEST_F(DialogStates, FirstProfileIsCompulsory)
{
    auto& create = Make<CreateProfileState>(harness.host, actions);
    harness.host.PushState(create);
    auto* dialog = dynamic_cast<ProfileNameDlg*>(create.GetWidget());
    harness.Key(27);
    dialog->KeyDown(27);
    dialog->KeyDown(13);
    harness.Run(2);
    EXPECT_TRUE(create.IsOnStack());
    harness.Type(L"zoe\r");
    harness.Run();
    EXPECT_FALSE(create.IsOnStack());
    EXPECT_EQ(NamesOnDisk(actions.store), std::vector<std::string>{"zoe"});
}

TEST_F(DialogStates, SettingsApplyAtOnceAndAreWrittenOnClose)
{
    actions.view.twoLanguages = true;
    auto& settings = Make<SettingsState>(harness.host, actions);
    harness.host.PushState(settings);
    auto* dialog = dynamic_cast<SettingsDlg*>(settings.GetWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(actions.calls.empty());
    dialog->SliderVal(SettingsDlg::kMusicSliderId, 0.5);
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kSoundCheckboxId));
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kCustomCursorId));
    harness.Click(*dialog->GetLangButton());
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kFullScreenId));
    harness.Click(*dialog->GetWidgets().at(1)); // OK
    harness.Run();
    EXPECT_FALSE(settings.IsOnStack());
    EXPECT_EQ(actions.calls,
              (std::vector<std::string>{"music volume 0.500000", "sound off", "sound SOUND_BUTTON_SELECT", "event 13",
                                        "cursors off", "language", "windowed no", "write settings"}));
}

TEST_F(DialogStates, EscapeKeepsTheScreenMode)
{
    auto& settings = Make<SettingsState>(harness.host, actions);
    harness.host.PushState(settings);
    auto* dialog = dynamic_cast<SettingsDlg*>(settings.GetWidget());
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kFullScreenId));
    harness.Key(27);
    harness.Run();
    EXPECT_EQ(actions.calls, std::vector<std::string>{"write settings"});
}

TEST_F(DialogStates, ExitYesShutsDownAndNoCloses)
{
    auto& exit = Make<ExitGameState>(harness.host, actions);
    harness.host.PushState(exit);
    harness.Key(27);
    harness.Run();
    EXPECT_FALSE(exit.IsOnStack());
    harness.host.PushState(exit);
    dynamic_cast<QuollDialog*>(exit.GetWidget())->ButtonRelease(0);
    EXPECT_EQ(actions.calls, std::vector<std::string>{"shutdown"});
}

TEST_F(DialogStates, MissingGroupPopsTheStateWithALogLine)
{
    harness.ui.failingGroups.insert("Credits");
    auto make = [] { return static_cast<BaseWidget*>(new CreditsDlg); };
    auto& credits = Make<CloseOnCommandState<decltype(make)>>(harness.host, "CreditsState", make);
    harness.host.PushState(credits);
    EXPECT_TRUE(credits.IsOnStack());
    ASSERT_EQ(harness.ui.CountLog("WARNING: CreditsState"), 1);
    harness.Run();
    EXPECT_FALSE(credits.IsOnStack());
}

TEST_F(DialogStates, CreditsCloseOnAnyCommand)
{
    auto make = [] { return static_cast<BaseWidget*>(new CreditsDlg); };
    auto& credits = Make<CloseOnCommandState<decltype(make)>>(harness.host, "CreditsState", make);
    harness.host.PushState(credits);
    harness.Key(27);
    harness.Run();
    EXPECT_FALSE(credits.IsOnStack());
}
} // namespace
