// The state machine's hook order, its deferred requests and the checks it makes on them.
#include "StateTestDoubles.h"

#include <gtest/gtest.h>

using ShellTest::Journal;
using ShellTest::JournalState;
using ShellTest::RecordingHost;

namespace
{
class StateHostTest : public ::testing::Test
{
protected:
    RecordingHost rec;
    StateHost& host = rec.host;
    Journal journal;
    JournalState a{host, "A", journal};
    JournalState b{host, "B", journal};
    JournalState c{host, "C", journal};
};

TEST_F(StateHostTest, PushPopAndChangeCallTheHooksInOrder)
{
    host.PushState(a);
    host.PushState(b);
    EXPECT_EQ(journal, (Journal{"A.enter", "A.pause", "B.enter"}));
    journal.clear();

    host.ChangeState(c);
    EXPECT_EQ(journal, (Journal{"B.exit", "C.enter"})) << "the state below is neither resumed nor paused";
    EXPECT_EQ(host.GetTopState(), &c);
    journal.clear();

    host.PopState();
    EXPECT_EQ(journal, (Journal{"C.exit", "A.resume"}));
    EXPECT_EQ(host.GetDepth(), 1u);
    EXPECT_TRUE(a.IsOnStack());
    EXPECT_FALSE(c.IsOnStack());
}

TEST_F(StateHostTest, UpdatesAndLoadingCompletionReachOnlyTheTopState)
{
    host.Update(); // nothing on the stack: only counted
    host.PushState(a);
    host.PushState(b);
    journal.clear();
    host.Update();
    host.LoadingCompleted();
    EXPECT_EQ(journal, (Journal{"B.update", "B.loaded"}));
    EXPECT_EQ(host.GetUpdateNumber(), 2);
}

TEST_F(StateHostTest, RequestsMadeInsideAnUpdateApplyAfterItReturns)
{
    host.PushState(a);
    a.actions["update"] = [&] {
        a.PushState(b);
        a.Note("after-push top=" + host.GetTopState()->GetName());
        a.PopState(); // pops B, pushed just before
        a.PushState(c);
        a.Note("update-end");
    };
    journal.clear();
    host.Update();
    EXPECT_EQ(journal, (Journal{"A.update", "A.after-push top=A", "A.update-end", "A.pause", "B.enter", "B.exit",
                                "A.resume", "A.pause", "C.enter"}));
    EXPECT_EQ(host.GetTopState(), &c);
}

TEST_F(StateHostTest, RequestsMadeInsideHooksQueueBehindTheCurrentOne)
{
    // A's entry pushes B, B's entry changes to C: each takes effect after the hook that asked.
    a.actions["enter"] = [&] { a.PushState(b); a.Note("enter-end"); };
    b.actions["enter"] = [&] { b.ChangeState(c); b.Note("enter-end"); };
    host.PushState(a);
    EXPECT_EQ(journal, (Journal{"A.enter", "A.enter-end", "A.pause", "B.enter", "B.enter-end", "B.exit", "C.enter"}));
    EXPECT_EQ(host.GetDepth(), 2u);
}

TEST_F(StateHostTest, RefusedRequestsLeaveTheStackAsItWasAndAreReported)
{
    host.PopState();
    host.ChangeState(a);
    EXPECT_EQ(host.GetDepth(), 0u);
    EXPECT_TRUE(journal.empty());

    host.PushState(a);
    host.PushState(b);
    journal.clear();
    host.PushState(a); // already on the stack
    host.ChangeState(a);

    RecordingHost other;
    JournalState stranger{other.host, "Stranger", journal};
    host.PushState(stranger);

    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(host.GetDepth(), 2u);
    EXPECT_EQ(host.GetTopState(), &b);
    ASSERT_EQ(rec.warnings.size(), 5u);
    EXPECT_EQ(rec.warnings[0], "Refused pop: the state stack is empty");
    EXPECT_EQ(rec.warnings[2], "Refused push of state A: it is already on the stack");
    EXPECT_EQ(rec.warnings[4], "Refused push of state Stranger: it belongs to another host");
}

TEST_F(StateHostTest, TheTopStateMayChangeToItself)
{
    host.PushState(a);
    host.PushState(b);
    journal.clear();
    host.ChangeState(b);
    EXPECT_EQ(journal, (Journal{"B.exit", "B.enter"}));
    EXPECT_EQ(host.GetDepth(), 2u);
}

TEST_F(StateHostTest, ExitAllLeavesTopFirstWithoutResumingAndDropsRequests)
{
    host.PushState(a);
    host.PushState(b);
    b.actions["exit"] = [&] { b.PushState(c); };
    journal.clear();
    host.ExitAll();
    EXPECT_EQ(journal, (Journal{"B.exit", "A.exit"}));
    EXPECT_EQ(host.GetDepth(), 0u);
    host.Update();
    EXPECT_EQ(journal.size(), 2u) << "the push asked for during the exit was dropped";
}
} // namespace
