// The autoplay's clicks as script lines: a click after the play state's update k must stand at
// start + (k + 1) * 10 ms, where the game receives it after its update start/10 + k; clicks of
// one update share their time line.
#include "tools/autoplay/ClickScript.h"

#include <gtest/gtest.h>

TEST(ClickScript, ClicksStandAtTheUpdateTheyFollowAndShareATimeWithinOneUpdate)
{
    Autoplay::ClickScript script(75000);
    script.Add(66, 689, 483);
    script.Add(67, 630, 450);
    script.Add(67, 571, 483);
    EXPECT_EQ(script.Text(), "at 75670\n"
                             "mouse move 689 483\nmouse down left 689 483\nmouse up left 689 483\n"
                             "at 75680\n"
                             "mouse move 630 450\nmouse down left 630 450\nmouse up left 630 450\n"
                             "mouse move 571 483\nmouse down left 571 483\nmouse up left 571 483\n");
    EXPECT_EQ(script.GetClickCount(), 3);
}

TEST(ClickScript, AClickBeforeTheFirstUpdateStillGetsItsTime)
{
    Autoplay::ClickScript script(0);
    script.Add(-1, 10, 20);
    EXPECT_EQ(script.Text().substr(0, 5), "at 0\n");
}
