#pragma once
// EndLevelState: the waiting state that shows the end-of-level dialog over a finished level. The
// play state prepares it with the level's result and score block and pushes it; the dialog's
// first command (0 continue, 1 restart) is stored and the state pops back to the play state,
// which acts on it. A dialog that cannot be built (its resources do not load) is logged and the
// state pops without a command, so the game goes on to the map instead of standing still.
#include "game/app/GameEndLevelServices.h"
#include "game/screens/EndLevelDlg.h"
#include "game/shell/WaitState.h"

class GameApp;

class EndLevelState final : public WaitState
{
public:
    EndLevelState(StateHost& host, GameApp& app);

    // The dialog of the next entry; fireworks when asked, endless when `endless`.
    void Prepare(const EndLevelResult& result, const EndLevelScores& scores, bool fireworks,
                 bool endless);
    // The dialog shown, null when none is.
    [[nodiscard]] EndLevelDlg* GetDialog() const;

    void OnEnter() override;

private:
    GameApp& mApp;
    GameEndLevelServices mServices;
};
