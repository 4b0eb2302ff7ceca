#pragma once
// EditorDlg: the level editor's panel, a translucent strip along the bottom of the screen with a
// palette of twelve tiles (cell kinds, bacteria of the three players, the four bonuses), buttons
// to leave, reset, save and reload the level, to cycle the computer players' AI levels and to
// switch the medal mode, and two 3-digit fields for the medal thresholds. It holds no level
// data: it sends numbered commands to the editor state, which edits the level and then tells
// the panel what to show. A click outside the tiles and controls is a board click (command 9).
#include "framework/widgets/EditListener.h"
#include "game/board/LevelParams.h"
#include "game/ui/QuollDialog.h"

#include <array>

namespace Quoll
{
class Button;
class EditWidget;
class Image;
} // namespace Quoll
class PlayServices;

struct PaletteEntry
{
    int kind = 0;
    Quoll::Image* image = nullptr;
    int cel = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    [[nodiscard]] bool Contains(int px, int py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

class EditorDlg : public QuollDialog, public Quoll::EditListener
{
public:
    static constexpr int kDialogId = 1006;
    static constexpr int kPaletteSize = 12;
    static constexpr int kStripY = 668;
    enum Command
    {
        kExit = 0,
        kReset = 1,
        kSave = 2,
        kReload = 3,
        kCycleAi2 = 4,
        kCycleAi3 = 5,
        kToggleMedalMode = 6,
        kSetThresholds = 7,
        kSelectTile = 8,
        kBoardClick = 9,
    };

    // The palette's pictures come from the play screen's services.
    explicit EditorDlg(PlayServices& play);

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void Update() override;
    void Draw(Quoll::Graphics* g) override;
    void KeyDown(int keyCode) override;
    using QuollDialog::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void ButtonRelease(int id) override;

    void EditWidgetText(int id, const std::wstring& text) override;
    bool AllowChar(int id, wchar_t character) override;

    // The AI levels of players 2 and 3 (0 without a third player) and the level's medal rule.
    void UpdateStatusText(int aiLevel2, int aiLevel3, const MedalRule& rule);
    // The fields' numbers; 1 and 2 when a field holds no number.
    [[nodiscard]] int GetFirstThreshold() const;
    [[nodiscard]] int GetSecondThreshold() const;

    [[nodiscard]] int GetSelectedEntry() const { return mSelectedEntry; }
    [[nodiscard]] const PaletteEntry& GetPaletteEntry(int index) const
    {
        return mPalette.at(static_cast<size_t>(index));
    }
    [[nodiscard]] Quoll::Button* GetButton(int id) const;
    [[nodiscard]] Quoll::EditWidget* GetThresholdEdit(int index) const
    {
        return index == 0 ? mThreshold1 : mThreshold2;
    }
    [[nodiscard]] Quoll::Image* GetMedalIcon(int index) const
    {
        return index == 0 ? mMedalIcon1 : mMedalIcon2;
    }

private:
    void PlaceLevelButtons();
    void PlaceStatusControls();
    // The image and cel a tile shows; null for the empty kinds.
    Quoll::Image* GetPaletteImage(int index, int& cel);
    Quoll::Button* MakeButton(int id, const std::string& label);
    Quoll::EditWidget* MakeThresholdEdit();

    PlayServices& mPlay;
    Quoll::Button* mExitButton = nullptr;
    Quoll::Button* mSaveButton = nullptr;
    Quoll::Button* mReloadButton = nullptr;
    Quoll::Button* mResetButton = nullptr;
    Quoll::Button* mAiButton2 = nullptr;
    Quoll::Button* mAiButton3 = nullptr;
    Quoll::Button* mMedalModeButton = nullptr;
    Quoll::EditWidget* mThreshold1 = nullptr;
    Quoll::EditWidget* mThreshold2 = nullptr;
    Quoll::Image* mMedalIcon1 = nullptr;
    Quoll::Image* mMedalIcon2 = nullptr;
    std::array<PaletteEntry, kPaletteSize> mPalette{};
    int mSelectedEntry = 5;
};
