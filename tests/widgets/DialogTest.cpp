// Dialogs made by the application through the installed toolkit, and the dialog on its own:
// placement and preferred height, its buttons' results, dragging by the header, modality.
#include "WidgetTestSupport.h"
#include "tests/app/TestApp.h"

#include "framework/platform/system/Clock.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/WidgetToolkit.h"

#include <gtest/gtest.h>

using namespace QuollTest;
using Quoll::Dialog;

namespace
{
class DialogApp : public TestApp
{
public:
    DialogApp()
    {
        mWidth = 1024;
        mHeight = 768;
        manager = Quoll::InstallWidgetToolkit(*this, &font);
    }
    void ButtonPress(int id) override { pressed.push_back(id); }
    void ButtonRelease(int id) override { released.push_back(id); }

    FakeFont font;
    Quoll::WidgetManager* manager;
    std::vector<int> pressed, released;
};

// A click in the middle of a widget, in application coordinates.
void Click(Quoll::WidgetManager& manager, Quoll::Widget* widget)
{
    const Quoll::Point at = widget->GetAbsolutePosition();
    manager.MouseMove(at.x + widget->mWidth / 2, at.y + widget->mHeight / 2);
    manager.MouseDown(at.x + widget->mWidth / 2, at.y + widget->mHeight / 2, 1);
    manager.MouseUp(at.x + widget->mWidth / 2, at.y + widget->mHeight / 2, 1);
}
} // namespace

// The body's height is what the context measures for its wrapped text; a body of one more
// line is one line spacing (10) taller.
TEST(Dialog, TheApplicationPlacesADialogWithoutWidthAtItsPreferredHeight)
{
    DialogApp app;
    auto* dialog = dynamic_cast<Dialog*>(app.DoDialog(5, false, L"Header", L"One line", L"", Dialog::kButtonsYesNo));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetRect(), Quoll::Rect(256, 153, 512, dialog->GetPreferredHeight(512)));
    EXPECT_EQ(app.manager->GetWidgets(), std::vector<Quoll::Widget*>{dialog});

    Quoll::Graphics measure;
    measure.SetFont(&app.font);
    const int bodyHeight = measure.MeasureWordWrappedHeight(464, L"One line");
    EXPECT_EQ(dialog->GetPreferredHeight(512), 24 + (10 + 10) + bodyHeight + (8 + 24) + 24);
    // 464 pixels hold 77 characters of 6: two words of 40 wrap.
    const std::wstring word(40, L'x');
    Dialog longer(6, false, L"Header", word + L" " + word, L"", Dialog::kButtonsYesNo);
    longer.SetLinesFont(&app.font);
    longer.SetHeaderFont(&app.font);
    EXPECT_EQ(longer.GetPreferredHeight(512), dialog->GetPreferredHeight(512) + 10);

    // The buttons share the bottom row inside the insets.
    const Quoll::Rect yes = dialog->GetButton(Dialog::kIdYes)->GetRect();
    const Quoll::Rect no = dialog->GetButton(Dialog::kIdNo)->GetRect();
    EXPECT_EQ(yes, Quoll::Rect(24, dialog->mHeight - 48, 228, 24));
    EXPECT_EQ(no, Quoll::Rect(512 - 24 - 228, dialog->mHeight - 48, 228, 24));
}

TEST(Dialog, ButtonsGiveTheirResultToTheApplication)
{
    DialogApp app;
    auto* dialog = dynamic_cast<Dialog*>(app.DoDialog(5, true, L"Sure?", L"", L"", Dialog::kButtonsOkCancel));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetButton(Dialog::kIdYes)->mLabel, L"OK");
    EXPECT_EQ(app.manager->GetBaseModal(), dialog);
    EXPECT_EQ(dialog->GetResult(), -1);
    Click(*app.manager, dialog->GetButton(Dialog::kIdNo));
    EXPECT_EQ(dialog->GetResult(), 1001);
    EXPECT_EQ(app.pressed, std::vector<int>{3005});
    EXPECT_EQ(app.released, std::vector<int>{3005});

    // Killed, it leaves the tree and the modal stack at once and is deleted later.
    EXPECT_TRUE(app.KillDialog(5));
    EXPECT_TRUE(app.manager->GetWidgets().empty());
    EXPECT_EQ(app.manager->GetBaseModal(), nullptr);
    app.ProcessDeferredDeletes();
}

TEST(Dialog, AModalDialogKeepsInputFromTheWidgetsBelow)
{
    DialogApp app;
    std::vector<std::string> log;
    auto* below = MakeWidget("below", &log, 0, 0, 1024, 768);
    app.manager->AddWidget(below);
    auto* dialog = app.DoDialog(5, true, L"Modal", L"", L"", Dialog::kButtonsFooter)->GetWidget();
    app.manager->MouseDown(5, 5, 1);
    app.manager->MouseUp(5, 5, 1);
    EXPECT_TRUE(log.empty());
    app.KillDialog(5);
    app.manager->MouseDown(5, 5, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"below enter", "below down 5,5 b0 c1"}));
    app.ProcessDeferredDeletes();
    (void)dialog;
    delete below;
}

TEST(Dialog, ItIsDraggedByItsHeaderOnlyWhenMouseVisible)
{
    ManagerFixture f;
    FakeFont font;
    Dialog dialog(1, false, L"Header", L"Body", L"", Dialog::kButtonsNone);
    dialog.SetHeaderFont(&font);
    f.manager.AddWidget(&dialog);
    dialog.Resize(50, 20, 100, 60);
    f.manager.MouseDown(60, 30, 1); // inside the header band (24 + 10 high)
    f.manager.MouseMove(70, 35);
    EXPECT_EQ(dialog.GetRect(), Quoll::Rect(60, 25, 100, 60));
    f.manager.MouseMove(500, 500); // kept inside the screen
    EXPECT_EQ(dialog.GetRect(), Quoll::Rect(100, 40, 100, 60));
    f.manager.MouseUp(500, 500, 1);

    f.manager.MouseDown(150, 95, 1); // the body does not drag
    f.manager.MouseMove(120, 80);
    f.manager.MouseUp(120, 80, 1);
    EXPECT_EQ(dialog.GetRect(), Quoll::Rect(100, 40, 100, 60));

    dialog.mMouseVisible = false;
    f.manager.MouseDown(110, 45, 1);
    f.manager.MouseMove(90, 45);
    f.manager.MouseUp(90, 45, 1);
    EXPECT_EQ(dialog.GetRect(), Quoll::Rect(100, 40, 100, 60));
    f.manager.RemoveWidget(&dialog);
}

// The application started with the real manager: a dialog it shows is drawn by its loop.
TEST(Dialog, TheStartedApplicationDrawsItsDialogs)
{
    Quoll::Platform::FakeClock clock{1'000'000'000};
    Quoll::Platform::ScopedClock scoped{clock};
    ScopedThrowingExit exits;
    DialogApp app;
    app.Init();
    auto* dialog = dynamic_cast<Dialog*>(app.DoDialog(9, false, L"Hello", L"World", L"", Dialog::kButtonsNone));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsDirty());
    for (int i = 0; i < 20 && dialog->IsDirty(); ++i)
    {
        clock.AdvanceMilliseconds(10);
        app.UpdateAppStep(nullptr);
    }
    EXPECT_FALSE(dialog->IsDirty());
    EXPECT_NE(app.manager->GetScreenImage(), nullptr);
}
