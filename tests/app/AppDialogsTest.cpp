// Framework dialogs by id and deferred deletion: centring of a dialog without a size, one
// dialog per id, modal bookkeeping, and widgets deleted only once the loop is back at the
// depth they were queued at, in the order they were queued.
// Rerun one case: test_app --gtest_filter='AppDialogs.*:DeferredDeletion.*'
#include "AppTestDoubles.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

namespace
{
class DialogApp : public RecordingApp
{
public:
    DialogApp()
    {
        mWidth = 1024;
        mHeight = 768;
    }
    void ModalOpen() override { ++modalOpens; }
    void ModalClose() override { ++modalCloses; }

    int modalOpens = 0, modalCloses = 0;
};
} // namespace

TEST(AppDialogs, ADialogWithoutASizeIsCentredAFifthDown)
{
    FakeDialog dialog(7, false, 300); // outlives the application, which holds it
    DialogApp app;
    app.AddDialog(7, &dialog);
    EXPECT_EQ(dialog.width, 512);
    EXPECT_EQ(dialog.x, 256);
    EXPECT_EQ(dialog.y, 153);
    EXPECT_EQ(dialog.height, 300);
    EXPECT_EQ(app.GetDialog(7), &dialog);
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_EQ(app.widgets->added, std::vector<Widget*>{dialog.GetWidget()});
}

TEST(AppDialogs, KillingAnUnknownIdChangesNothing)
{
    FakeDialog dialog(1, false);
    DialogApp app;
    app.AddDialog(1, &dialog);
    EXPECT_FALSE(app.KillDialog(2));
    EXPECT_EQ(app.GetDialogCount(), 1);
    EXPECT_TRUE(app.widgets->destroyed.empty());
}

TEST(AppDialogs, ModalDialogKilledWithoutAButtonGetsResultZeroAndIsDeletedLater)
{
    FakeDialog dialog(3, true);
    DialogApp app;
    app.AddDialog(3, &dialog);
    EXPECT_EQ(app.modalOpens, 1);
    EXPECT_EQ(app.widgets->modal.size(), 1u);

    EXPECT_TRUE(app.KillDialogObject(&dialog));
    EXPECT_EQ(dialog.result, 0);
    EXPECT_EQ(app.modalCloses, 1);
    EXPECT_TRUE(app.widgets->modal.empty());
    EXPECT_TRUE(app.widgets->added.empty());
    EXPECT_EQ(app.GetDialog(3), nullptr);
    EXPECT_TRUE(app.widgets->destroyed.empty()) << "deletion waits for the loop";
    app.ProcessDeferredDeletes();
    EXPECT_EQ(app.widgets->destroyed, std::vector<Widget*>{dialog.GetWidget()});
}

TEST(AppDialogs, ANewDialogWithAnIdInUseReplacesTheOld)
{
    FakeDialog older(5, false), newer(5, false);
    DialogApp app;
    app.AddDialog(5, &older);
    app.AddDialogObject(&newer);
    EXPECT_EQ(app.GetDialog(5), &newer);
    EXPECT_EQ(app.GetDialogCount(), 1);
    app.ProcessDeferredDeletes();
    EXPECT_EQ(app.widgets->destroyed, std::vector<Widget*>{older.GetWidget()});
}

TEST(DeferredDeletion, WidgetsQueuedInANestedLoopOutliveItOnlyUntilItReturns)
{
    DialogApp app;
    int tokens[4] = {};
    app.SafeDeleteWidget(WidgetToken(&tokens[0])); // at the top level
    app.mUpdateAppDepth = 2;                       // inside a nested modal loop
    app.SafeDeleteWidget(WidgetToken(&tokens[1]));
    app.SafeDeleteWidget(WidgetToken(&tokens[2]));
    app.mUpdateAppDepth = 3;
    app.SafeDeleteWidget(WidgetToken(&tokens[3]));

    app.ProcessDeferredDeletes();
    EXPECT_EQ(app.widgets->destroyed, std::vector<Widget*>{WidgetToken(&tokens[3])});
    app.mUpdateAppDepth = 1;
    app.ProcessDeferredDeletes();
    EXPECT_EQ(app.widgets->destroyed,
              (std::vector<Widget*>{WidgetToken(&tokens[3]), WidgetToken(&tokens[1]), WidgetToken(&tokens[2])}));
    app.mUpdateAppDepth = 0;
    app.ProcessDeferredDeletes();
    EXPECT_EQ(app.widgets->destroyed.back(), WidgetToken(&tokens[0]));
    EXPECT_TRUE(app.mDeferredDeletes.empty());
}

TEST(AppDialogs, DialogButtonsBecomeApplicationButtons)
{
    struct ButtonApp : DialogApp
    {
        std::vector<int> pressed;
        void ButtonPress(int id) override { pressed.push_back(id); }
    } app;
    app.DialogButtonPress(4, 1000);
    app.DialogButtonPress(4, 1001);
    app.DialogButtonPress(4, 1002);
    EXPECT_EQ(app.pressed, (std::vector<int>{2004, 3004}));
}
