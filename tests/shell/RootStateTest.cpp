// The root state: it pushes the game's first state and, once resumed, asks for shutdown.
#include "StateTestDoubles.h"

#include "game/app/RootState.h"
#include "game/shell/WaitState.h"

#include <gtest/gtest.h>

using ShellTest::Journal;
using ShellTest::JournalState;
using ShellTest::RecordingHost;

namespace
{
TEST(RootStateTest, ResumingTheRootAsksForShutdownAndChangesAboveItDoNot)
{
    RecordingHost rec;
    int shutdowns = 0;
    Journal journal;
    RootState root(rec.host, [&] { ++shutdowns; });
    JournalState title(rec.host, "Title", journal);
    JournalState menu(rec.host, "Menu", journal);
    WaitState splash(rec.host, "Splash", title);
    root.SetFirstState(&splash);

    rec.host.PushState(root);
    EXPECT_EQ(rec.host.GetTopState(), &splash);
    splash.ReceiveCommand(0, 0);
    title.ChangeState(menu);
    EXPECT_EQ(rec.host.GetTopState(), &menu);
    EXPECT_EQ(shutdowns, 0);

    menu.PopState();
    EXPECT_EQ(shutdowns, 1);
    EXPECT_EQ(rec.host.GetTopState(), &root);
    EXPECT_EQ(rec.flow.front(), "0 push RootState");
}
} // namespace
