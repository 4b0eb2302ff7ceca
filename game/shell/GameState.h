#pragma once
// GameState: a state of the game, run by the game's StateHost. Every screen's state derives
// from it (through WidgetLink when it shows a widget); the host is fixed for the state's life.
#include "game/shell/BaseState.h"

class StateHost;

class GameState : public States::BaseState
{
public:
    GameState(StateHost& host, std::string name);

    [[nodiscard]] StateHost& GetStateHost() const { return mStateHost; }

private:
    StateHost& mStateHost;
};
