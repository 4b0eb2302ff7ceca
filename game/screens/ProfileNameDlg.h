#pragma once
// ProfileNameDlg: asks for a new profile's name in an edit field of at most eight characters
// that takes only the characters a profile name may hold. OK sends 0; Enter sends 1 with a name
// and 2 without; Escape on the dialog sends 2; Escape in the field empties it and sends 1.
#include "framework/widgets/EditListener.h"
#include "game/ui/QuollDialog.h"

namespace Quoll
{
class Button;
class ExEditWidget;
} // namespace Quoll

class ProfileNameDlg : public QuollDialog, public Quoll::EditListener
{
public:
    static constexpr int kDialogId = 1003;
    static constexpr int kCommandOk = 0;
    static constexpr int kCommandEnter = 1;
    static constexpr int kCommandCancel = 2;

    ProfileNameDlg() : QuollDialog(kDialogId, kCommandCancel) {}

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void KeyDown(int keyCode) override;

    // The field's text; empty without a field.
    [[nodiscard]] std::wstring GetEnteredName() const;
    [[nodiscard]] Quoll::ExEditWidget* GetNameField() const { return mNameField; }

    // --- EditListener ---
    void EditWidgetText(int id, const std::wstring& text) override;
    bool AllowKey(int id, int keyCode) override;
    bool AllowChar(int id, wchar_t character) override;

private:
    Quoll::Button* mOkButton = nullptr;
    Quoll::ExEditWidget* mNameField = nullptr;
};
