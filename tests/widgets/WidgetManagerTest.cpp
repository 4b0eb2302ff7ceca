#include "WidgetTestSupport.h"

#include "framework/platform/window/WindowMessages.h"

#include <gtest/gtest.h>

using namespace QuollTest;
using Quoll::Widget;
using Strings = std::vector<std::string>;

namespace
{
// A panel at (20, 10) with a child at (5, 5) inside it, and a widget at (100, 0) on top.
struct Tree : ManagerFixture
{
    Tree()
    {
        panel = Add(MakeWidget("panel", &log, 20, 10, 60, 40));
        child = MakeWidget("child", &log, 5, 5, 20, 10);
        panel->AddWidget(child);
        side = Add(MakeWidget("side", &log, 100, 0, 50, 50));
        log.clear();
    }
    Strings log;
    LogWidget* panel;
    LogWidget* child;
    LogWidget* side;
};
} // namespace

TEST(WidgetManager, HitTestingFindsTheTopmostUsableWidgetWithItsOwnPosition)
{
    Tree t;
    int x = 0, y = 0;
    EXPECT_EQ(t.manager.GetWidgetAt(26, 16, &x, &y), t.child);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(t.manager.GetWidgetAt(21, 11), t.panel);
    EXPECT_EQ(t.manager.GetWidgetAt(5, 5), nullptr);

    // A widget that is not mouse-visible lets the hit through to its children only.
    t.panel->mMouseVisible = false;
    EXPECT_EQ(t.manager.GetWidgetAt(21, 11), nullptr);
    EXPECT_EQ(t.manager.GetWidgetAt(26, 16), t.child);
    t.panel->mMouseVisible = true;

    // Hidden or disabled widgets hide what they hold.
    t.child->SetVisible(false);
    EXPECT_EQ(t.manager.GetWidgetAt(26, 16), t.panel);
    t.child->SetVisible(true);
    t.panel->SetDisabled(true);
    EXPECT_EQ(t.manager.GetWidgetAt(26, 16), nullptr);
    t.panel->SetDisabled(false);

    // A child outside its parent's rectangle cannot be hit there.
    t.child->Move(70, 0);
    EXPECT_EQ(t.manager.GetWidgetAt(92, 12), nullptr);

    // Later and higher z priorities lie on top.
    auto* cover = t.Add(MakeWidget("cover", &t.log, 0, 0, 200, 100));
    EXPECT_EQ(t.manager.GetWidgetAt(26, 16), cover);
    cover->SetZPriority(-1);
    EXPECT_EQ(t.manager.GetWidgetAt(26, 16), t.panel);
    EXPECT_EQ(t.manager.GetWidgetAt(5, 5), cover);
}

TEST(WidgetManager, EnterAndLeaveFollowThePointer)
{
    Tree t;
    t.manager.MouseMove(21, 11);
    t.manager.MouseMove(26, 16);
    t.manager.MouseMove(27, 16);
    t.manager.MouseMove(110, 5);
    t.manager.MouseExit();
    EXPECT_EQ(t.log, (Strings{"panel enter", "panel move 1,1", "panel leave", "child enter", "child move 1,1",
                              "child move 2,1", "child leave", "side enter", "side move 10,5", "side leave"}));
    EXPECT_FALSE(t.side->mIsOver);
}

TEST(WidgetManager, TheDownWidgetGetsDragsAndItsMouseUpOutside)
{
    Tree t;
    t.manager.MouseMove(110, 5);
    t.manager.MouseDown(110, 5, 1);
    EXPECT_TRUE(t.side->mIsDown);
    EXPECT_EQ(t.manager.GetDownButtons(), 1);
    t.manager.MouseMove(30, 20); // over the panel's child: no enter while dragging
    t.manager.MouseUp(30, 20, 1);
    EXPECT_EQ(t.log, (Strings{"side enter", "side move 10,5", "side down 10,5 b0 c1", "side leave", "side drag -70,20",
                              "side up -70,20 b0 c1", "child enter"}));
    EXPECT_FALSE(t.side->mIsDown);
    EXPECT_EQ(t.manager.GetDownWidget(), nullptr);
    EXPECT_EQ(t.manager.GetLastMouseX(), 30);
}

TEST(WidgetManager, ClickCountsMapToButtonsAndASecondButtonGoesToTheHolder)
{
    Tree t;
    t.manager.MouseDown(110, 5, -2);
    t.manager.MouseDown(30, 20, 3); // the side widget holds the right button
    EXPECT_EQ(t.manager.GetDownButtons(), 2 | 4);
    t.manager.MouseUp(30, 20, -1);
    EXPECT_TRUE(t.side->mIsDown);
    t.manager.MouseUp(30, 20, 3);
    EXPECT_FALSE(t.side->mIsDown);
    EXPECT_EQ(t.log, (Strings{"side enter", "side down 10,5 b1 c-2", "side leave", "side down -70,20 b2 c3",
                              "side up -70,20 b1 c-1", "side up -70,20 b2 c3", "child enter"}));
}

TEST(WidgetManager, FocusTakesKeysAndLosingTheWindowFocusReleasesKeysAndButtons)
{
    Tree t;
    t.child->wantsFocus = true;
    t.manager.MouseDown(26, 16, 1); // clicking a widget that wants the focus gives it
    EXPECT_EQ(t.manager.GetFocusWidget(), t.child);
    EXPECT_TRUE(t.child->mHasFocus);
    t.manager.KeyDown(Quoll::Platform::VK_SHIFT);
    t.manager.KeyChar(L'a');
    EXPECT_TRUE(t.manager.IsKeyDown(Quoll::Platform::VK_SHIFT));
    t.log.clear();

    t.manager.LostFocus();
    EXPECT_EQ(t.log, (Strings{"child up 1,1 b0 c1", "child keyup 16", "child lostfocus"}));
    EXPECT_FALSE(t.manager.IsKeyDown(Quoll::Platform::VK_SHIFT));
    EXPECT_EQ(t.manager.GetDownButtons(), 0);
    EXPECT_EQ(t.manager.GetDownWidget(), nullptr);
    t.log.clear();
    t.manager.GotFocus();
    t.manager.SetFocus(t.side);
    EXPECT_EQ(t.log, (Strings{"child gotfocus", "child lostfocus", "side gotfocus"}));
    EXPECT_FALSE(t.child->mHasFocus);
}

TEST(WidgetManager, KeyCodesOutsideTheTableAreNeverStored)
{
    Tree t;
    t.manager.SetFocus(t.side);
    for (int key : {-1, 255, 256, 100000})
    {
        t.manager.KeyDown(key);
        EXPECT_FALSE(t.manager.IsKeyDown(key));
        t.manager.KeyUp(key);
    }
    t.manager.KeyDown(254);
    EXPECT_TRUE(t.manager.IsKeyDown(254));
    EXPECT_EQ(t.log.back(), "side keydown 254"); // the widget still hears every key
}

TEST(WidgetManager, SendButtonUpsAndReleaseDownButtonsUseTheLastPosition)
{
    Tree t;
    t.manager.MouseDown(110, 5, 1);
    t.manager.MouseDown(120, 6, -1);
    t.log.clear();
    t.manager.SendButtonUps(t.panel, 1 | 4);
    EXPECT_EQ(t.log, (Strings{"panel up 100,-4 b0 c1", "panel up 100,-4 b2 c3"}));
    t.log.clear();
    t.manager.ReleaseDownButtons();
    EXPECT_EQ(t.log, (Strings{"side up 20,6 b0 c1", "side up 20,6 b1 c-1"}));
    EXPECT_EQ(t.manager.GetDownButtons(), 0);
    t.log.clear();
    t.manager.ReleaseDownButtons(); // nothing is held any more
    EXPECT_TRUE(t.log.empty());
}

TEST(WidgetManager, ModalWidgetsStackAndBlockWhatLiesBelow)
{
    Tree t;
    t.manager.SetFocus(t.panel);
    auto* first = t.Add(MakeWidget("first", &t.log, 0, 60, 50, 40));
    auto* above = t.Add(MakeWidget("above", &t.log, 150, 60, 50, 40)); // added after: not blocked
    t.manager.AddBaseModal(first);
    EXPECT_EQ(t.manager.GetFocusWidget(), first);
    EXPECT_EQ(t.manager.GetWidgetAt(110, 5), nullptr);
    EXPECT_EQ(t.manager.GetWidgetAt(10, 70), first);
    EXPECT_EQ(t.manager.GetWidgetAt(160, 70), above);
    EXPECT_TRUE(t.manager.IsBlocked(t.panel));

    auto* second = t.Add(MakeWidget("second", &t.log, 60, 60, 50, 40));
    t.manager.AddBaseModal(second);
    EXPECT_EQ(t.manager.GetWidgetAt(10, 70), nullptr);
    t.manager.SetFocus(first); // a blocked focus widget hears no keys
    t.log.clear();
    t.manager.KeyChar(L'x');
    EXPECT_TRUE(t.log.empty());
    t.manager.SetFocus(second);

    t.manager.RemoveBaseModal(second);
    EXPECT_EQ(t.manager.GetFocusWidget(), first);
    EXPECT_EQ(t.manager.GetWidgetAt(10, 70), first);
    // Taking the modal widget out of the tree ends its modality and restores the focus.
    t.manager.RemoveWidget(first);
    EXPECT_EQ(t.manager.GetBaseModal(), nullptr);
    EXPECT_EQ(t.manager.GetFocusWidget(), t.panel);
    EXPECT_EQ(t.manager.GetWidgetAt(110, 5), t.side);
    t.manager.RemoveBaseModal(first); // already gone: nothing happens
}

TEST(WidgetManager, DrawScreenDrawsOnlyWhenDirtyWithTranslatedClippedContexts)
{
    Tree t;
    t.panel->fill = Quoll::Color(255, 0, 0);
    t.child->fill = Quoll::Color(0, 0, 255);
    EXPECT_TRUE(t.manager.DrawScreen());
    EXPECT_EQ(t.Pixel(19, 10), 0u); // the black screen
    EXPECT_EQ(t.Pixel(20, 10), 0xFF0000u);
    EXPECT_EQ(t.Pixel(79, 49), 0xFF0000u);
    EXPECT_EQ(t.Pixel(80, 50), 0u);
    EXPECT_EQ(t.Pixel(25, 15), 0x0000FFu);
    EXPECT_EQ(t.Pixel(45, 25), 0xFF0000u);
    EXPECT_FALSE(t.manager.DrawScreen());
    EXPECT_FALSE(t.manager.UpdateFrame()); // updating changed nothing
    EXPECT_EQ(t.child->updates, 1);

    t.log.clear();
    t.child->MarkDirty();
    EXPECT_TRUE(t.manager.DrawScreen());
    EXPECT_EQ(t.log, (Strings{"panel draw", "child draw", "side draw"}));
    t.child->SetVisible(false);
    t.log.clear();
    EXPECT_TRUE(t.manager.DrawScreen());
    EXPECT_EQ(t.log, (Strings{"panel draw", "side draw"}));
}

TEST(WidgetManager, OverlaysFollowTheTreeInPriorityOrder)
{
    Tree t;
    t.panel->overlayPriority = 10;
    t.child->overlayPriority = 0;
    t.side->overlayPriority = 10;
    ASSERT_TRUE(t.manager.DrawScreen());
    EXPECT_EQ(t.log, (Strings{"panel draw", "child draw", "side draw", "child overlay", "panel overlay", "side overlay"}));
}

// A listener that deletes a widget while the walk runs: the widget leaves the tree at once and
// goes when the walk is over.
TEST(WidgetManager, WidgetsDeletedDuringAWalkGoAfterIt)
{
    struct Deleter : LogWidget
    {
        using LogWidget::LogWidget;
        void Update() override
        {
            GetWidgetManager()->SafeDeleteWidget(victim);
            victim = nullptr;
        }
        Widget* victim = nullptr;
    };
    Tree t;
    auto* deleter = t.Add(new Deleter("deleter"));
    auto* victim = new LogWidget("victim", &t.log);
    victim->Resize(0, 0, 10, 10);
    t.manager.AddWidget(victim);
    deleter->victim = victim;
    t.manager.MouseMove(5, 5);
    EXPECT_EQ(t.manager.GetOverWidget(), victim);
    EXPECT_TRUE(t.manager.UpdateFrame());
    EXPECT_FALSE(t.manager.HasWidget(victim));
    EXPECT_EQ(t.manager.GetOverWidget(), nullptr);
}

TEST(WidgetManager, DeletingAWidgetTakesItAndItsChildrenOutOfTheTree)
{
    Tree t;
    t.child->wantsFocus = true;
    t.manager.MouseDown(26, 16, 1);
    EXPECT_EQ(t.manager.GetDownWidget(), t.child);
    t.owned.erase(t.owned.begin()); // the panel
    delete t.panel;
    EXPECT_EQ(t.manager.GetDownWidget(), nullptr);
    EXPECT_EQ(t.manager.GetFocusWidget(), nullptr);
    EXPECT_EQ(t.manager.GetOverWidget(), nullptr);
    t.manager.MouseUp(26, 16, 1);
    EXPECT_EQ(t.manager.GetWidgets().size(), 1u);
}

TEST(WidgetManager, AbsolutePositionsAndRemappedMouse)
{
    Tree t;
    EXPECT_EQ(t.child->GetAbsolutePosition(), (Quoll::Point{25, 15}));
    t.manager.SetMouseRects({100, 50, 400, 200}, {0, 0, 200, 100});
    int x = 300, y = 150;
    t.manager.RemapMouse(x, y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
}

TEST(WidgetContainer, PrioritiesOrderChildrenAndRemovingAllCanDeleteThem)
{
    struct Counting : LogWidget
    {
        using LogWidget::LogWidget;
        void SystemColoursChanged() override { Note("colours"); }
        void UpdateF(float fraction) override { Note("smooth " + std::to_string(static_cast<int>(fraction * 10))); }
    };
    Strings log;
    auto* root = new Counting("root", &log);
    auto* a = new Counting("a", &log);
    auto* b = new Counting("b", &log);
    auto* high = new Counting("high", &log);
    high->SetZPriority(5);
    root->AddWidget(high);
    root->AddWidget(a);
    root->AddWidget(b);
    EXPECT_EQ(root->GetWidgets(), (std::vector<Widget*>{a, b, high}));
    root->BringToFront(a); // above its equals, still below a higher priority
    EXPECT_EQ(root->GetWidgets(), (std::vector<Widget*>{b, a, high}));
    a->AddWidget(root); // a loop is refused
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_TRUE(a->GetWidgets().empty());

    ManagerFixture f;
    f.Add(root);
    f.manager.SystemColoursChangedAll();
    EXPECT_FALSE(f.manager.UpdateFrameSmooth(0.5f));
    EXPECT_EQ(log, (Strings{"root colours", "b colours", "a colours", "high colours", "root smooth 5", "b smooth 5",
                            "a smooth 5", "high smooth 5"}));
    root->RemoveAllWidgets(true, true); // the sanitiser sees any child left undeleted
    EXPECT_TRUE(root->GetWidgets().empty());
}
