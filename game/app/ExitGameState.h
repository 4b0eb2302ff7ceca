#pragma once
// ExitGameState: asks whether to quit; yes shuts the application down, no (or Escape) closes.
#include "game/app/DialogState.h"

class ShellActions;

class ExitGameState final : public DialogState
{
public:
    ExitGameState(StateHost& host, ShellActions& actions) : DialogState(host, "ExitGameState"), mActions(actions) {}

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    ShellActions& mActions;
};
