// The settings dialog: quiet until attached, commands of every control, the music and sound
// switches, the screen mode, the language button, the cursor hint and the layout.
// Rerun one case: test_screens --gtest_filter='SettingsDlgTest.*'.
#include "ScreenTestDoubles.h"
#include "framework/widgets/Checkbox.h"
#include "game/screens/SettingsDlg.h"
#include "game/ui/BacSlider.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"

#include <gtest/gtest.h>

namespace
{
using Commands = std::vector<std::pair<int, int>>;
using ScreenTest::ScreenHarness;

class SettingsDlgTest : public ::testing::Test
{
protected:
    SettingsDlgTest()
    {
        view.musicVolume = 0.25;
        view.soundVolume = 0.75;
        view.windowed = true;
        view.twoLanguages = true;
        harness.ui.texts["UI_SOUND_ENABLED"] = L"On";
        harness.ui.texts["UI_SOUND_DISABLED"] = L"Sound is off";
    }

    SettingsDlg* Open()
    {
        dialog = harness.Show(new SettingsDlg(view));
        return dialog;
    }

    ScreenHarness harness;
    SettingsView view;
    SettingsDlg* dialog = nullptr;
};

TEST_F(SettingsDlgTest, AttachingIsQuietAndShowsTheValues)
{
    Open();
    EXPECT_TRUE(harness.Commands().empty());
    EXPECT_EQ(harness.ui.SoundNames(), std::vector<std::string>{"SOUND_GAMEMENU_SHOW"});
    EXPECT_DOUBLE_EQ(dialog->GetMusicSlider()->GetValue(), 0.25);
    EXPECT_DOUBLE_EQ(dialog->GetSoundSlider()->GetValue(), 0.75);
    EXPECT_TRUE(dialog->GetCheckbox(SettingsDlg::kMusicCheckboxId)->IsChecked());
    EXPECT_FALSE(dialog->IsFullScreenChecked());
    EXPECT_TRUE(dialog->GetLangButton()->mVisible);
    // Layout: the two sliders one pixel apart, the boxes and buttons where they belong.
    EXPECT_EQ(dialog->GetMusicSlider()->mX, 65);
    EXPECT_EQ(dialog->GetSoundSlider()->mX, 66);
    EXPECT_EQ(dialog->GetSoundSlider()->mY, 235);
    EXPECT_EQ(dialog->GetMusicSlider()->mWidth, 220);
    EXPECT_EQ(dialog->GetCheckbox(SettingsDlg::kFullScreenId)->mY, 390);
    EXPECT_EQ(dialog->GetLangButton()->mX, 53);
}

TEST_F(SettingsDlgTest, VolumesAreSentAsWholePercents)
{
    Open();
    dialog->SliderVal(SettingsDlg::kMusicSliderId, 0.5);
    dialog->SliderVal(SettingsDlg::kSoundSliderId, 0.999);
    EXPECT_EQ(harness.Commands(), (Commands{{4, 50}, {5, 99}}));
}

TEST_F(SettingsDlgTest, MusicOffDisablesItsSliderAndSaysSo)
{
    Open();
    harness.Run();
    // The seventh glyph of the music switch's label exists only for the longer "off" text.
    const int labelX = dialog->mX + 366 + 6 * 6 + 1;
    const int labelY = dialog->mY + 186 - 4;
    EXPECT_NE(harness.ui.Pixel(labelX, labelY), ColorMapText.ToInt() & 0xFFFFFF);

    harness.ui.sounds.clear();
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kMusicCheckboxId));
    EXPECT_EQ(harness.Commands(), (Commands{{7, 0}}));
    EXPECT_TRUE(dialog->GetMusicSlider()->mDisabled);
    EXPECT_FALSE(dialog->GetSoundSlider()->mDisabled);
    EXPECT_EQ(harness.ui.SoundNames(), std::vector<std::string>{"SOUND_BUTTON_SELECT"});
    harness.Run();
    EXPECT_EQ(harness.ui.Pixel(labelX, labelY), ColorMapText.ToInt() & 0xFFFFFF);

    harness.Click(*dialog->GetCheckbox(SettingsDlg::kSoundCheckboxId));
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kCustomCursorId));
    EXPECT_EQ(harness.Commands(), (Commands{{7, 0}, {8, 0}, {9, 0}}));
    EXPECT_TRUE(dialog->GetSoundSlider()->mDisabled);
}

TEST_F(SettingsDlgTest, FullScreenIsReadOnOkAndEscapeSendsOnlyCancel)
{
    Open();
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kFullScreenId));
    EXPECT_TRUE(harness.Commands().empty());
    EXPECT_TRUE(dialog->IsFullScreenChecked());
    harness.Key(27);
    EXPECT_EQ(harness.Commands(), (Commands{{0, 0}}));
    harness.Click(*dialog->GetWidgets().at(1)); // OK
    harness.Click(*dialog->GetLangButton());
    EXPECT_EQ(harness.Commands(), (Commands{{0, 0}, {3, 0}, {1, 0}}));
}

TEST_F(SettingsDlgTest, EqualLanguagesHideTheLanguageButton)
{
    view.twoLanguages = false;
    Open();
    EXPECT_FALSE(dialog->GetLangButton()->mVisible);
}

TEST_F(SettingsDlgTest, WindowedImpossibleShowsTheMessageAndChecksTheBoxAgain)
{
    view.windowed = false;
    int messages = 0;
    view.isWindowedImpossible = [] { return true; };
    view.showNoWindowedMessage = [&] { ++messages; };
    Open();
    ASSERT_TRUE(dialog->IsFullScreenChecked());
    harness.Click(*dialog->GetCheckbox(SettingsDlg::kFullScreenId));
    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(dialog->IsFullScreenChecked());
    EXPECT_TRUE(harness.Commands().empty());
}

TEST_F(SettingsDlgTest, CursorHintFollowsThePointerAndTextsRefresh)
{
    Open();
    const Quoll::Checkbox* box = dialog->GetCheckbox(SettingsDlg::kCustomCursorId);
    const Quoll::Point at = box->GetAbsolutePosition();
    harness.ui.manager.MouseMove(at.x + 5, at.y + 5);
    harness.Run();
    EXPECT_EQ(dialog->GetCursorHintText(), L"Cursor switch");
    harness.ui.manager.MouseMove(at.x - 50, at.y + 5);
    harness.Run();
    EXPECT_EQ(dialog->GetCursorHintText(), L"");

    harness.ui.texts["UI_OK"] = L"Gut";
    harness.ui.texts["UI_SETTINGS"] = L"Optionen";
    dialog->RefreshTexts();
    EXPECT_EQ(dynamic_cast<Quoll::Button*>(dialog->GetWidgets().at(1))->mLabel, L"Gut");
    EXPECT_EQ(dialog->mDialogHeader, L"Optionen");
}
} // namespace
