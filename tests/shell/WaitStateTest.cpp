// The waiting state: the first command is stored with its argument, then the state pops or
// changes to its next state.
#include "StateTestDoubles.h"

#include "game/shell/WaitState.h"

#include <gtest/gtest.h>

using ShellTest::FakeScreen;
using ShellTest::Journal;
using ShellTest::JournalState;
using ShellTest::RecordingHost;

namespace
{
class WaitStateTest : public ::testing::Test
{
protected:
    WaitStateTest() { manager.SetSize(640, 480); }
    // Widgets still shown are detached (and freed) while the manager exists.
    ~WaitStateTest() override { host.ExitAll(); }

    WaitState::WidgetFactory Screens()
    {
        return [this]() -> BaseWidget* { return new FakeScreen(manager, journal, &alive); };
    }

    Quoll::WidgetManager manager;
    RecordingHost rec;
    StateHost& host = rec.host;
    Journal journal;
    int alive = 0;
    JournalState menu{host, "Menu", journal};
    JournalState next{host, "Next", journal};
};

TEST_F(WaitStateTest, WithoutANextStateItStoresTheCommandAndPops)
{
    WaitState wait(host, "Wait", Screens());
    host.PushState(menu);
    menu.actions["resume"] = [&] {
        ASSERT_TRUE(wait.GetResult().has_value());
        menu.Note("read " + std::to_string(wait.GetResult()->command) + " " +
                  std::to_string(wait.GetResult()->argument));
    };
    host.PushState(wait);
    EXPECT_FALSE(wait.GetResult().has_value());
    journal.clear();

    manager.MouseDown(12, 5, 1);
    EXPECT_EQ(journal, (Journal{"widget.detach", "Menu.resume", "Menu.read 7 12", "widget.after-send unlinked"}));
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(host.GetTopState(), &menu);
}

TEST_F(WaitStateTest, WithANextStateItChangesToIt)
{
    WaitState splash(host, "Splash", next, Screens());
    host.PushState(menu);
    host.PushState(splash);
    journal.clear();
    splash.ReceiveCommand(0, 0);
    EXPECT_EQ(journal, (Journal{"widget.detach", "Next.enter"}));
    EXPECT_EQ(host.GetDepth(), 2u);
    ASSERT_TRUE(splash.GetResult().has_value());
    EXPECT_EQ(splash.GetResult()->command, 0);
}

TEST_F(WaitStateTest, OnlyTheFirstCommandCountsAndEntryClearsTheResult)
{
    class DoubleSender final : public Quoll::Widget, public BaseWidget
    {
    public:
        void Attach(WidgetLink* link) override
        {
            BaseWidget::Attach(link);
            link->ReceiveCommand(501, 1); // two commands before the state's change applies
            link->ReceiveCommand(500, 2);
        }
    };
    DoubleSender sender;
    WaitState wait(host, "Wait", [&]() -> BaseWidget* { return &sender; });
    host.PushState(menu);
    host.PushState(wait);
    EXPECT_EQ(host.GetTopState(), &menu) << "popped once, not twice";
    EXPECT_TRUE(menu.IsOnStack());
    ASSERT_TRUE(wait.GetResult().has_value());
    EXPECT_EQ(wait.GetResult()->command, 501);
    EXPECT_EQ(wait.GetResult()->argument, 1);

    wait.SetWidgetFactory({}); // shows nothing: waits without a widget
    host.PushState(wait);
    EXPECT_FALSE(wait.GetResult().has_value());
    EXPECT_EQ(wait.GetWidget(), nullptr);
    host.PopState();
}
} // namespace
