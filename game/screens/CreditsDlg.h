#pragma once
// CreditsDlg: the makers of the game, one name a line under the caption, and an OK button
// (command 1; Escape sends 0).
#include "game/ui/QuollDialog.h"

#include <array>

namespace Quoll
{
class Button;
}

class CreditsDlg : public QuollDialog
{
public:
    static constexpr int kDialogId = 1001;
    static constexpr int kCommandEscape = 0;
    static constexpr int kCommandOk = 1;
    // The people who made the game, in the order shown.
    static const std::array<const char*, 8> kNames;

    CreditsDlg() : QuollDialog(kDialogId, kCommandEscape) {}

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void Draw(Quoll::Graphics* g) override;

private:
    // Writes the text centred on the dialog at the baseline.
    void WriteCentred(Quoll::Graphics* g, const std::wstring& text, int baseline);

    Quoll::Button* mOkButton = nullptr;
};
