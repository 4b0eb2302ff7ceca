#pragma once
// ChangeProfileDlg: the profiles as five slot buttons (ids 4 to 8; a click selects, Up and Down
// move the selection round the used slots), with OK (command 0, also Enter), add (1) and delete
// (2); Escape sends 3. The state reads the selection when it handles OK and delete and calls
// RefreshProfileList after it changed the list.
#include "game/shell/ProfileList.h"
#include "game/ui/QuollDialog.h"

#include <array>
#include <string>

namespace Quoll
{
class Button;
}

class ChangeProfileDlg : public QuollDialog
{
public:
    static constexpr int kDialogId = 1000;
    static constexpr int kCommandOk = 0;
    static constexpr int kCommandAdd = 1;
    static constexpr int kCommandDelete = 2;
    static constexpr int kCommandCancel = 3;
    static constexpr int kFirstSlotId = 4;
    static constexpr int kSlots = ProfileList::kMaxProfiles;

    // The list is read at each refresh; it must outlive the dialog. The current profile's name
    // gives the first selection.
    ChangeProfileDlg(const ProfileList& profiles, std::string currentName);

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void KeyDown(int keyCode) override;
    void ButtonRelease(int id) override;

    void RefreshProfileList();
    [[nodiscard]] int GetSelected() const { return mSelected; }
    void SetSelected(int selected) { mSelected = selected; }

    [[nodiscard]] Quoll::Button* GetOkButton() const { return mOkButton; }
    [[nodiscard]] Quoll::Button* GetAddButton() const { return mAddButton; }
    [[nodiscard]] Quoll::Button* GetDeleteButton() const { return mDeleteButton; }
    [[nodiscard]] Quoll::Button* GetSlot(int index) const { return mSlots[static_cast<size_t>(index)]; }

private:
    void MoveSelection(int step);

    const ProfileList& mProfiles;
    std::string mCurrentName;
    int mSelected = -1;
    Quoll::Button* mOkButton = nullptr;
    Quoll::Button* mAddButton = nullptr;
    Quoll::Button* mDeleteButton = nullptr;
    std::array<Quoll::Button*, kSlots> mSlots{};
};
