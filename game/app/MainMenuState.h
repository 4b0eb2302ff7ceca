#pragma once
// MainMenuState: the main menu. It plays the menu's song unless it is playing already, opens
// the settings, scores, credits, exit and profile screens on the menu's commands, and keeps the
// profile button and the labels current when it comes back on top. Play first asks a profile
// that has not chosen its difficulty for one (cancelling stays on the menu), then goes on to the
// level map.
#include "game/shell/WidgetLink.h"

#include <string>

namespace Quoll
{
class MainMenu;
}
class MainMenuServices;
class ComicsState;
class ShellActions;
class WaitState;

class MainMenuState final : public WidgetLink
{
public:
    static constexpr int kMenuSong = 1;
    static constexpr float kMusicFade = 0.001f;

    struct Screens
    {
        GameState* settings = nullptr;
        GameState* scores = nullptr;
        GameState* credits = nullptr;
        GameState* exit = nullptr;
        GameState* changeProfile = nullptr;
        // Shows the difficulty dialog and pops back with its command.
        WaitState* difficulty = nullptr;
        // Null: play is logged and the menu stays.
        GameState* levelMap = nullptr;
        // Null: no opening comic.
        ComicsState* comics = nullptr;
    };

    MainMenuState(StateHost& host, ShellActions& actions, MainMenuServices& services,
                  Screens screens)
        : WidgetLink(host, "MainMenuState"), mActions(actions), mServices(services),
          mScreens(screens)
    {
    }

    void SetLevelMap(GameState* levelMap) { mScreens.levelMap = levelMap; }
    [[nodiscard]] Quoll::MainMenu* GetMenu() const;

    void OnEnter() override;
    void OnPause() override;
    void OnResume() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    void Play();
    // The difficulty dialog's answer, once it has popped.
    void TakeDifficulty();
    // The opening comic first while the profile has not seen it.
    void EnterLevelMap();
    void TakeOpeningComic();
    void Open(GameState* screen, const char* what);

    ShellActions& mActions;
    MainMenuServices& mServices;
    Screens mScreens;
    bool mAwaitingDifficulty = false;
    bool mAwaitingComic = false;
    // What the labels showed when another screen came on top.
    int mPausedLanguage = 0;
    std::string mPausedProfile;
};
