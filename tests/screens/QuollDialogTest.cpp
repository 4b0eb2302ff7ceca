// The game's widget bases: attaching and detaching through a state, deferred deletion, the same
// dialog id twice, a dialog whose group did not load, commands without a link, and Escape.
// Rerun one case: test_screens --gtest_filter='WidgetBases.*'.
#include "ScreenTestDoubles.h"
#include "game/screens/ExitGameDlg.h"
#include "game/screens/InGameDlg.h"
#include "game/shell/GameLog.h"
#include "game/ui/Button.h"
#include "game/ui/QuollWidget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace
{
using ScreenTest::ScreenHarness;

bool Contains(const std::vector<const Quoll::Widget*>& list, const void* widget)
{
    return std::find(list.begin(), list.end(), widget) != list.end();
}

// A screen that detaches itself (through its state) from inside its key handler and then
// touches its own fields.
class SelfClosingScreen : public QuollWidget
{
public:
    void KeyDown(int) override
    {
        SendToLink(7, 0); // the state pops itself at once
        ++keysAfterClose;
    }
    int keysAfterClose = 0;
};

TEST(WidgetBases, ScreenAttachesWithFocusAndIsDeletedAfterTheUpdate)
{
    ScreenHarness harness;
    auto* screen = harness.Show(new SelfClosingScreen);
    screen->Resize(0, 0, 1024, 768);
    EXPECT_TRUE(harness.ui.manager.HasWidget(screen));
    EXPECT_TRUE(screen->mHasFocus);
    EXPECT_EQ(screen->GetLink(), &harness.Link());

    harness.Link().onCommand = [&](int, int) { harness.Link().Detach(); };
    harness.Key(65);
    // Still alive after its own handler returned; gone after the deferred deletion.
    EXPECT_EQ(screen->keysAfterClose, 1);
    EXPECT_FALSE(harness.ui.manager.HasWidget(screen));
    harness.ui.RunDeferredDeletes();
    EXPECT_TRUE(Contains(harness.ui.deleted, screen));
}

TEST(WidgetBases, DialogAttachRegistersPlaysTheShowSoundAndDetachUnloadsItsGroup)
{
    ScreenHarness harness;
    auto* dialog = harness.Show(new ExitGameDlg);
    EXPECT_EQ(harness.ui.GetDialog(ExitGameDlg::kDialogId), dialog);
    EXPECT_TRUE(dialog->mHasFocus);
    EXPECT_FALSE(dialog->mMouseVisible);
    EXPECT_EQ(harness.ui.SoundNames(), std::vector<std::string>{"SOUND_GAMEMENU_SHOW"});
    // Centred on the panel: (1024 - 560) / 2, (768 - 400) / 2.
    EXPECT_EQ(dialog->mX, 232);
    EXPECT_EQ(dialog->mY, 184);
    EXPECT_EQ(dialog->mWidth, 560);

    harness.Close();
    EXPECT_EQ(harness.ui.GetDialog(ExitGameDlg::kDialogId), nullptr);
    EXPECT_TRUE(Contains(harness.ui.deleted, dialog));
    EXPECT_EQ(harness.ui.groupCalls, (std::vector<std::string>{"load ExitDialog", "unload ExitDialog"}));
}

TEST(WidgetBases, SameIdReplacesTheOlderWithoutDeletingIt)
{
    ScreenHarness harness;
    auto* older = harness.Show(new ExitGameDlg);
    auto* newer = harness.Show(new InGameDlg);
    EXPECT_EQ(harness.ui.GetDialog(1002), newer);
    EXPECT_FALSE(harness.ui.manager.HasWidget(older));
    harness.ui.RunDeferredDeletes();
    EXPECT_FALSE(Contains(harness.ui.deleted, older)); // its state still owns it

    // The older state's detach frees only its own dialog (run under ASan).
    harness.LinkAt(0).Detach();
    harness.ui.RunDeferredDeletes();
    EXPECT_TRUE(Contains(harness.ui.deleted, older));
    EXPECT_EQ(harness.ui.GetDialog(1002), newer);
    EXPECT_TRUE(harness.ui.manager.HasWidget(newer));
}

TEST(WidgetBases, DialogWhoseGroupFailedIsNeverShownAndIsFreedByItsDetach)
{
    ScreenHarness harness;
    auto* shown = harness.Show(new InGameDlg);
    harness.ui.failingGroups.insert("ExitDialog");
    auto* failed = harness.Show(new ExitGameDlg);
    EXPECT_FALSE(harness.Link().IsWidgetAttached());
    EXPECT_EQ(failed->GetLink(), nullptr);
    EXPECT_EQ(harness.ui.GetDialog(1002), shown);
    harness.Close();
    EXPECT_TRUE(Contains(harness.ui.deleted, failed));
    EXPECT_EQ(harness.ui.GetDialog(1002), shown);
    EXPECT_EQ(std::count(harness.ui.groupCalls.begin(), harness.ui.groupCalls.end(), "unload ExitDialog"), 0);
}

TEST(WidgetBases, CommandWithoutALinkIsDroppedWithAWarning)
{
    ScreenHarness harness;
    const std::string path = "null_link_game_log.txt";
    ASSERT_TRUE(GameLog::Get().Open(path));
    auto* dialog = new ExitGameDlg;
    dialog->SendToLink(1, 0);
    GameLog::Get().Close();
    std::ifstream file(path);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("WARNING"), std::string::npos) << text;
    EXPECT_NE(text.find("command 1"), std::string::npos) << text;
    dialog->Detach();
    harness.ui.RunDeferredDeletes();
    EXPECT_TRUE(Contains(harness.ui.deleted, dialog));
}

TEST(WidgetBases, EscapeSendsOneCommandAndOneSound)
{
    ScreenHarness harness;
    harness.Show(new ExitGameDlg);
    harness.ui.sounds.clear();
    harness.Key(27);
    EXPECT_EQ(harness.Commands(), (std::vector<std::pair<int, int>>{{ExitGameDlg::kCommandNo, 0}}));
    EXPECT_EQ(harness.ui.SoundNames(), std::vector<std::string>{"SOUND_BUTTON_SELECT"});
    harness.Key(65);
    EXPECT_EQ(harness.Commands().size(), 1u);
}
} // namespace
