#pragma once
// RootState: the bottom of the game's state stack. Entering it pushes the game's first state
// (when one is set); being resumed means every state above it has gone, so it asks the
// application to shut down.
#include "game/shell/GameState.h"

#include <functional>

class RootState final : public GameState
{
public:
    static constexpr const char* kName = "RootState";

    RootState(StateHost& host, std::function<void()> requestShutdown);

    // The state pushed when the root is entered; null for none.
    void SetFirstState(GameState* first) { mFirst = first; }

    void OnEnter() override;
    void OnResume() override;

private:
    std::function<void()> mRequestShutdown;
    GameState* mFirst = nullptr;
};
