// The profile dialogs: the slot list's refresh rules, selection by click and keys, commands,
// layout, and the name field's limits.
// Rerun one case: test_screens --gtest_filter='ProfileDialogs.*'.
#include "ScreenTestDoubles.h"
#include "game/screens/ChangeProfileDlg.h"
#include "game/screens/ProfileNameDlg.h"
#include "game/ui/Button.h"
#include "game/ui/ExEditWidget.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using ScreenTest::ScreenHarness;

ProfileList MakeProfiles(int count)
{
    ProfileList list;
    const char* names[] = {"ann", "bob", "cid", "dee", "eve"};
    for (int i = 0; i < count; ++i)
        list.Add(names[i]);
    return list;
}

TEST(ProfileDialogs, RefreshRules)
{
    {
        ScreenHarness harness;
        const ProfileList five = MakeProfiles(5);
        auto* dialog = harness.Show(new ChangeProfileDlg(five, "cid"));
        EXPECT_EQ(dialog->GetSelected(), 2);
        EXPECT_TRUE(dialog->GetAddButton()->mDisabled);
        EXPECT_FALSE(dialog->GetDeleteButton()->mDisabled);
        EXPECT_FALSE(dialog->GetOkButton()->mDisabled);
        EXPECT_EQ(dialog->GetSlot(2)->mButtonImage, harness.ui.GetImageNamed("IMAGE_BTN2_SELECTED"));
        EXPECT_EQ(dialog->GetSlot(1)->mButtonImage, harness.ui.GetImageNamed("IMAGE_BTN2"));
        EXPECT_EQ(dialog->GetSlot(4)->mLabel, L"eve");
    }
    {
        ScreenHarness harness;
        const ProfileList one = MakeProfiles(1);
        auto* dialog = harness.Show(new ChangeProfileDlg(one, "ann"));
        EXPECT_TRUE(dialog->GetDeleteButton()->mDisabled);
        EXPECT_FALSE(dialog->GetAddButton()->mDisabled);
        EXPECT_TRUE(dialog->GetSlot(1)->mDisabled);
        EXPECT_EQ(dialog->GetSlot(1)->mLabel, L"Empty");
    }
    {
        ScreenHarness harness;
        const ProfileList three = MakeProfiles(3);
        auto* dialog = harness.Show(new ChangeProfileDlg(three, "zed"));
        EXPECT_EQ(dialog->GetSelected(), -1);
        EXPECT_TRUE(dialog->GetOkButton()->mDisabled);
        EXPECT_TRUE(dialog->GetDeleteButton()->mDisabled); // nothing selected to delete
        for (int i = 0; i < 5; ++i)
            EXPECT_NE(dialog->GetSlot(i)->mButtonImage, harness.ui.GetImageNamed("IMAGE_BTN2_SELECTED"));
    }
}

TEST(ProfileDialogs, SelectionByClickAndKeysWraps)
{
    ScreenHarness harness;
    const ProfileList three = MakeProfiles(3);
    auto* dialog = harness.Show(new ChangeProfileDlg(three, "ann"));
    harness.Key(38); // Up from the first: the last used slot
    EXPECT_EQ(dialog->GetSelected(), 2);
    harness.Key(40); // Down from the last used slot: the first
    EXPECT_EQ(dialog->GetSelected(), 0);
    harness.Click(*dialog->GetSlot(1));
    EXPECT_EQ(dialog->GetSelected(), 1);
    EXPECT_EQ(dialog->GetSlot(1)->mButtonImage, harness.ui.GetImageNamed("IMAGE_BTN2_SELECTED"));
    harness.Click(*dialog->GetSlot(4)); // empty and disabled: nothing
    EXPECT_EQ(dialog->GetSelected(), 1);
    EXPECT_TRUE(harness.Commands().empty());
    EXPECT_TRUE(dialog->mHasFocus); // the refresh takes the focus back
}

TEST(ProfileDialogs, ChangeProfileCommandsAndLayout)
{
    ScreenHarness harness;
    const ProfileList three = MakeProfiles(3);
    auto* dialog = harness.Show(new ChangeProfileDlg(three, "bob"));
    EXPECT_EQ(dialog->GetAddButton()->mX, 100);
    EXPECT_EQ(dialog->GetAddButton()->mY, 475);
    EXPECT_EQ(dialog->GetDeleteButton()->mX, 160);
    EXPECT_EQ(dialog->GetDeleteButton()->mY, 550);
    EXPECT_EQ(dialog->GetOkButton()->mX, 389);
    EXPECT_EQ(dialog->GetOkButton()->mY, 504);
    EXPECT_EQ(dialog->GetSlot(3)->mX, 140);
    EXPECT_EQ(dialog->GetSlot(3)->mY, 150 + 65 * 3);
    EXPECT_EQ(dialog->GetSlot(3)->mWidth, 310);

    harness.ui.sounds.clear();
    harness.Click(*dialog->GetOkButton());
    harness.Click(*dialog->GetAddButton());
    harness.Click(*dialog->GetDeleteButton());
    harness.Key(13);
    harness.Key(27);
    EXPECT_EQ(harness.Commands(), (Commands{{0, 0}, {1, 0}, {2, 0}, {0, 0}, {3, 0}}));
    const std::vector<std::string> sounds = harness.ui.SoundNames();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "SOUND_BUTTON_SELECT"), 5);
}

TEST(ProfileDialogs, NameFieldTakesEightAllowedCharacters)
{
    ScreenHarness harness;
    auto* dialog = harness.Show(new ProfileNameDlg);
    Quoll::ExEditWidget* field = dialog->GetNameField();
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->mHasFocus);
    // 150 * 1.7 = 255 wide, centred plus the background's 20 px, at y 200.
    EXPECT_EQ(field->mWidth, 255);
    EXPECT_EQ(field->mX, (560 - 255) / 2 + 20);
    EXPECT_EQ(field->mY, 200);

    harness.Type(L"a n$n\u0416@abcdefgh");
    EXPECT_EQ(dialog->GetEnteredName(), L"annabcde");
    EXPECT_TRUE(harness.Commands().empty());
}

TEST(ProfileNameDlgCommands, EnterEscapeAndOk)
{
    ScreenHarness harness;
    auto* dialog = harness.Show(new ProfileNameDlg);
    harness.Type(L"ann");
    harness.Type(L"\r"); // Enter in the field reports the text
    harness.Key(27);     // Escape in the field empties it and sends 1
    EXPECT_EQ(dialog->GetEnteredName(), L"");
    dialog->KeyDown(13); // Enter on the dialog with an empty name
    harness.Type(L"bo");
    dialog->KeyDown(13);
    dialog->KeyDown(27);
    harness.Click(*dynamic_cast<Quoll::Button*>(dialog->GetWidgets().at(1)));
    EXPECT_EQ(harness.Commands(), (Commands{{1, 0}, {1, 0}, {2, 0}, {1, 0}, {2, 0}, {0, 0}}));
    harness.Close();
    EXPECT_EQ(harness.ui.manager.GetFocusWidget(), nullptr);
}
} // namespace
