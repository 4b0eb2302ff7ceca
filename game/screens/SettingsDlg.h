#pragma once
// SettingsDlg: music and sound volume sliders, music and sound on/off, full screen, image
// cursors, the language switch and OK. Every change goes to the state as a command at once
// (volumes as 0..100); full screen alone is applied by the state when OK (3) arrives; Escape
// sends 0. The dialog reads the values it starts from when it is made and writes nothing itself.
#include "framework/widgets/CheckboxListener.h"
#include "framework/widgets/SliderListener.h"
#include "game/ui/QuollDialog.h"

#include <functional>

namespace Quoll
{
class BacSlider;
class Button;
class Checkbox;
} // namespace Quoll

// The values the dialog shows when it opens, and what it asks of the application.
struct SettingsView
{
    double musicVolume = 1.0;
    double soundVolume = 1.0;
    bool musicEnabled = true;
    bool soundEnabled = true;
    bool windowed = true;
    bool customCursors = true;
    // The two languages of the texts differ: the language button is shown.
    bool twoLanguages = false;
    // Whether the desktop cannot show a window (its colour depth); null: it always can.
    std::function<bool()> isWindowedImpossible;
    // Shows the message that windowed mode is impossible.
    std::function<void()> showNoWindowedMessage;
};

class SettingsDlg : public QuollDialog, public Quoll::SliderListener, public Quoll::CheckboxListener
{
public:
    static constexpr int kDialogId = 1005;
    static constexpr int kCommandCancel = 0;
    static constexpr int kLangButtonId = 1;
    static constexpr int kOkButtonId = 3;
    static constexpr int kMusicSliderId = 4;
    static constexpr int kSoundSliderId = 5;
    static constexpr int kFullScreenId = 6;
    static constexpr int kMusicCheckboxId = 7;
    static constexpr int kSoundCheckboxId = 8;
    static constexpr int kCustomCursorId = 9;

    explicit SettingsDlg(SettingsView view);

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void Draw(Quoll::Graphics* g) override;
    void Update() override;

    void ButtonRelease(int id) override;
    void SliderVal(int id, double value) override;
    void CheckboxChecked(int id, bool checked) override;

    // The labels, header and language hint again in the current language.
    void RefreshTexts();

    [[nodiscard]] bool IsFullScreenChecked() const;
    [[nodiscard]] const std::wstring& GetCursorHintText() const { return mCursorHintText; }
    [[nodiscard]] Quoll::Button* GetLangButton() const { return mLangButton; }
    [[nodiscard]] Quoll::BacSlider* GetMusicSlider() const { return mMusicSlider; }
    [[nodiscard]] Quoll::BacSlider* GetSoundSlider() const { return mSoundSlider; }
    [[nodiscard]] Quoll::Checkbox* GetCheckbox(int id) const;

private:
    void SyncControls();
    Quoll::Checkbox* AddCheckbox(int id);
    void DrawLabels(Quoll::Graphics* g, int dx, int dy);

    SettingsView mView;
    Quoll::Button* mLangButton = nullptr;
    Quoll::Button* mOkButton = nullptr;
    Quoll::BacSlider* mMusicSlider = nullptr;
    Quoll::BacSlider* mSoundSlider = nullptr;
    Quoll::Checkbox* mMusicCheckbox = nullptr;
    Quoll::Checkbox* mSoundCheckbox = nullptr;
    Quoll::Checkbox* mFullScreenCheckbox = nullptr;
    Quoll::Checkbox* mCustomCursorCheckbox = nullptr;
    std::wstring mCursorHintText;
};
