// The flow log's lines: every push, pop, change and command in the order they took effect, each
// with the update it happened in.
#include "StateTestDoubles.h"

#include "game/shell/WaitState.h"

#include <gtest/gtest.h>

using ShellTest::Journal;
using ShellTest::JournalState;
using ShellTest::RecordingHost;

namespace
{
TEST(FlowLogTest, LinesFollowTheStackInOrderWithTheirUpdateNumbers)
{
    RecordingHost rec;
    StateHost& host = rec.host;
    Journal journal;
    JournalState root(host, "Root", journal);
    JournalState menu(host, "Menu", journal);
    JournalState map(host, "Map", journal);
    WaitState dialog(host, "Dialog");

    root.actions["enter"] = [&] { root.PushState(menu); };
    host.PushState(root); // before the first update
    host.Update();
    menu.actions["update"] = [&] {
        menu.PushState(dialog);
        menu.actions["update"] = nullptr;
    };
    host.Update();
    host.Update();
    dialog.ReceiveCommand(502, -3); // input between updates 3 and 4
    host.Update();
    menu.ChangeState(map);
    map.PopState();

    EXPECT_EQ(rec.flow, (std::vector<std::string>{
                            "0 push Root",
                            "0 push Menu",
                            "2 push Dialog",
                            "3 command Dialog 502 -3",
                            "3 pop Dialog",
                            "4 change Menu Map",
                            "4 pop Map",
                        }));
    EXPECT_TRUE(rec.warnings.empty());
}
} // namespace
