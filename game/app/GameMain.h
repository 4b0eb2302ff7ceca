#pragma once
// The game's entry: the per-user data folder first and the game log in it ("GameLog.txt",
// recreated), "Game starting...", then the one GameApp: Init, the main loop, destruction;
// "end." and 0. The crash reporter's own runs (the catcher starting this program again to
// show a report) end before any of that.
#include <functional>
#include <memory>

class GameApp;

int GameMain(int argc, char** argv);
// The same with an application of the caller's (a program under test makes a derived one).
int GameMain(int argc, char** argv, const std::function<std::unique_ptr<GameApp>()>& makeApp);
