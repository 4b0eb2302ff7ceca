#pragma once
// ScoresDlg: the five best results, each on its row panel with its rank image, the player's name
// and the score centred on their columns; OK sends 1, Escape 0.
#include "game/shell/ScoreTable.h"
#include "game/ui/QuollDialog.h"

namespace Quoll
{
class Button;
}

class ScoresDlg : public QuollDialog
{
public:
    static constexpr int kDialogId = 1004;
    static constexpr int kCommandEscape = 0;
    static constexpr int kCommandOk = 1;
    static constexpr int kRows = 5;

    // The table is read at each draw; it must outlive the dialog.
    explicit ScoresDlg(const ScoreTable& table) : QuollDialog(kDialogId, kCommandEscape), mTable(table) {}

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;
    void Draw(Quoll::Graphics* g) override;

private:
    const ScoreTable& mTable;
    Quoll::Button* mOkButton = nullptr;
};
