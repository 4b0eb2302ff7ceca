// The exit dialog and the two that share its panel, and the pause menu: a command per button
// and key, one sound each, and their layout.
// Rerun one case: test_screens --gtest_filter='ExitDialogs.*'.
#include "ScreenTestDoubles.h"
#include "game/screens/ExitGameDlg.h"
#include "game/screens/InGameDlg.h"
#include "game/ui/Button.h"

#include <gtest/gtest.h>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using ScreenTest::ScreenHarness;

Quoll::Button* ButtonOf(const Quoll::Widget& dialog, int id)
{
    for (Quoll::Widget* child : dialog.GetWidgets())
        if (auto* button = dynamic_cast<Quoll::Button*>(child); button != nullptr && button->mId == id)
            return button;
    return nullptr;
}

TEST(ExitDialogs, YesNoAndEscapeOnAllThree)
{
    const struct
    {
        std::function<ExitGameDlg*()> make;
        int dialogId;
        std::wstring question;
    } cases[] = {
        {[] { return new ExitGameDlg; }, 1002, L"Are you sure"},
        {[] { return new StartSavedGameDlg; }, 1002, L"Saved game question"},
        {[] { return new TutorialCancelDlg; }, 1007, L"Tutorial quit"},
    };
    for (const auto& each : cases)
    {
        ScreenHarness harness;
        ExitGameDlg* dialog = harness.Show(each.make());
        EXPECT_EQ(dialog->GetDialogId(), each.dialogId);
        EXPECT_EQ(dialog->mDialogLines, each.question);
        Quoll::Button* yes = ButtonOf(*dialog, 0);
        Quoll::Button* no = ButtonOf(*dialog, 1);
        ASSERT_TRUE(yes != nullptr && no != nullptr);
        EXPECT_EQ(yes->mX, 40);
        EXPECT_EQ(yes->mY, 315);
        EXPECT_EQ(no->mX, 388);
        EXPECT_EQ(yes->mWidth, 160); // the image's size
        EXPECT_EQ(yes->mLabel, L"Yes");

        harness.ui.sounds.clear();
        harness.Click(*yes);
        harness.Click(*no);
        harness.Key(27);
        EXPECT_EQ(harness.Commands(), (Commands{{0, 0}, {1, 0}, {1, 0}}));
        // Over and select for each click, select for the key.
        EXPECT_EQ(harness.ui.SoundNames(),
                  (std::vector<std::string>{"SOUND_BUTTON_OVER", "SOUND_BUTTON_SELECT", "SOUND_BUTTON_OVER",
                                            "SOUND_BUTTON_SELECT", "SOUND_BUTTON_SELECT"}));
    }
}

TEST(ExitDialogs, PauseMenuCommandsKeysAndLayout)
{
    ScreenHarness harness;
    InGameDlg* dialog = harness.Show(new InGameDlg);
    Quoll::Button* resume = ButtonOf(*dialog, 0);
    Quoll::Button* saveQuit = ButtonOf(*dialog, 1);
    Quoll::Button* restart = ButtonOf(*dialog, 2);
    // Twice the image's width, centred: (560 - 320) / 2.
    EXPECT_EQ(resume->mX, 120);
    EXPECT_EQ(resume->mWidth, 320);
    EXPECT_EQ(resume->mY, 110);
    EXPECT_EQ(restart->mY, 190);
    EXPECT_EQ(saveQuit->mY, 310);

    harness.Click(*resume);
    harness.Click(*saveQuit);
    harness.Click(*restart);
    harness.Key(13);
    harness.Key(27);
    harness.Key(32);
    EXPECT_EQ(harness.Commands(), (Commands{{0, 0}, {1, 0}, {2, 0}, {0, 0}, {0, 0}}));

    // The save-and-quit hint: centred 200 px right of the button, 160 px below its top.
    saveQuit->ShowHint(true);
    ASSERT_TRUE(saveQuit->IsHintShown());
    const Quoll::Point at = saveQuit->GetAbsolutePosition();
    EXPECT_EQ(saveQuit->GetHintX(), at.x + 200 - 250);
    EXPECT_EQ(saveQuit->GetHintY(), at.y + 160 + 8);
}
} // namespace
