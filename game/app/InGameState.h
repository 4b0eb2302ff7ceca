#pragma once
// InGameState: the play screen's pause menu (InGameDlg) over the play state. Continue closes
// it; save and quit writes the saved game through the play state and leaves to the main menu;
// restart closes it and passes the restart command to the play state.
#include "game/shell/WidgetLink.h"

class PlayLevelState;

class InGameState final : public WidgetLink
{
public:
    InGameState(StateHost& host, PlayLevelState& play) : WidgetLink(host, "InGameState"), mPlay(play) {}

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    PlayLevelState& mPlay;
};
