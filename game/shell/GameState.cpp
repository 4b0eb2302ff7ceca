#include "game/shell/GameState.h"

#include "game/shell/StateHost.h"

GameState::GameState(StateHost& host, std::string name) : BaseState(host, std::move(name)), mStateHost(host) {}
