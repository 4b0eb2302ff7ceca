// States with widgets: entering attaches the widget to the widget manager, leaving takes it out
// and frees it once the input that caused it has unwound; commands come back through the link.
#include "StateTestDoubles.h"

#include <gtest/gtest.h>

using ShellTest::FakeScreen;
using ShellTest::Journal;
using ShellTest::JournalState;
using ShellTest::RecordingHost;
using ShellTest::ScreenState;

namespace
{
class WidgetLinkTest : public ::testing::Test
{
protected:
    WidgetLinkTest() { manager.SetSize(640, 480); }
    // Widgets still shown are detached (and freed) while the manager exists.
    ~WidgetLinkTest() override { host.ExitAll(); }

    Quoll::WidgetManager manager;
    RecordingHost rec;
    StateHost& host = rec.host;
    Journal journal;
    int alive = 0;
    JournalState root{host, "Root", journal};
    ScreenState menu{host, "Menu", manager, journal, &alive};
    ScreenState dialog{host, "Dialog", manager, journal, &alive};
};

TEST_F(WidgetLinkTest, EnteringAttachesTheWidgetAndLeavingDetachesIt)
{
    host.PushState(root);
    host.PushState(menu);
    auto* screen = dynamic_cast<FakeScreen*>(menu.GetWidget());
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(menu.IsWidgetAttached());
    EXPECT_TRUE(manager.IsInTree(screen));
    EXPECT_EQ(manager.GetFocusWidget(), screen);

    host.PopState();
    EXPECT_EQ(menu.GetWidget(), nullptr);
    EXPECT_EQ(alive, 0) << "detached outside any walk: freed at once";

    host.PushState(menu);
    EXPECT_EQ(menu.created, 2) << "a new widget on every entry";
    EXPECT_EQ(alive, 1);
}

TEST_F(WidgetLinkTest, AClickReachesTheStateAndItsPopWaitsForTheHandler)
{
    host.PushState(root);
    host.PushState(menu);
    menu.commands[7] = [&](int) { menu.PopState(); };
    journal.clear();

    manager.MouseDown(30, 40, 1);
    EXPECT_EQ(journal, (Journal{"Menu.command 7 30", "Menu.command-end", "widget.detach", "Root.resume",
                                "widget.after-send unlinked"}))
        << "the pop runs when the state's handler returns; the widget, detached, is still alive";
    EXPECT_EQ(alive, 0) << "freed once the input walk has unwound";
    EXPECT_EQ(host.GetTopState(), &root);
    manager.MouseUp(30, 40, 1);
}

TEST_F(WidgetLinkTest, APushedDialogTakesTheKeysAndTheScreenBelowKeepsItsWidget)
{
    host.PushState(root);
    host.PushState(menu);
    menu.commands[65] = [&](int) { menu.PushState(dialog); };
    dialog.commands[27] = [&](int) { dialog.PopState(); };

    manager.KeyDown(65);
    EXPECT_EQ(host.GetTopState(), &dialog);
    EXPECT_EQ(alive, 2);
    EXPECT_TRUE(menu.IsWidgetAttached()) << "pausing does not detach";
    EXPECT_EQ(manager.GetFocusWidget(), dynamic_cast<FakeScreen*>(dialog.GetWidget()));

    manager.KeyDown(27);
    EXPECT_EQ(host.GetTopState(), &menu);
    EXPECT_EQ(alive, 1);
}

TEST_F(WidgetLinkTest, AStateThatForgetsToDetachHasItsWidgetDetachedByTheHost)
{
    class ForgetfulState final : public ScreenState
    {
    public:
        using ScreenState::ScreenState;
        void OnExit() override {}
    } forgetful{host, "Forgetful", manager, journal, &alive};

    host.PushState(root);
    host.PushState(forgetful);
    host.PopState();
    EXPECT_EQ(forgetful.GetWidget(), nullptr);
    EXPECT_EQ(alive, 0);
}

TEST_F(WidgetLinkTest, CommandsOfAStateOffTheStackOrOfAWidgetWithoutLinkAreDropped)
{
    host.PushState(root);
    journal.clear();
    menu.ReceiveCommand(3, 4); // never entered
    EXPECT_TRUE(journal.empty());
    ASSERT_EQ(rec.warnings.size(), 1u);
    EXPECT_EQ(rec.warnings[0], "Command 3 for state Menu, which is not on the stack, dropped");
    EXPECT_TRUE(rec.flow.size() == 1u) << "only the push of the root was logged";

    FakeScreen loose(manager, journal, &alive);
    loose.SendToLink(1, 0); // no link: a warning on the game log, nothing else
    EXPECT_TRUE(journal.empty());
}
} // namespace
