#pragma once
// MainMenuState: the main menu. It plays the menu's song unless it is playing already, opens
// the settings, scores, credits, exit and profile screens on the menu's commands, and keeps the
// profile button and the labels current when it comes back on top. Play first asks a profile
// that has not chosen its difficulty for one (cancelling stays on the menu), then, when the
// profile has a saved game, whether to continue it: yes continues it, no deletes it. Then it goes
// on to the level map (through the opening comic while the profile has not seen it).
#include "game/shell/WidgetLink.h"

#include <functional>
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
    // Continues the profile's saved game of that level.
    using SavedGameStarter = std::function<void(int level)>;

    MainMenuState(StateHost& host, ShellActions& actions, MainMenuServices& services,
                  Screens screens)
        : WidgetLink(host, "MainMenuState"), mActions(actions), mServices(services),
          mScreens(screens)
    {
    }

    void SetLevelMap(GameState* levelMap) { mScreens.levelMap = levelMap; }
    // The question whether to continue the saved game (it pops back with the answer) and what a
    // yes does. Without them saved games are not offered.
    void SetSavedGame(WaitState* question, SavedGameStarter start)
    {
        mSavedGameQuestion = question;
        mContinueSavedGame = std::move(start);
    }
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
    // Asks about the profile's saved game when there is one; the map otherwise.
    void OfferSavedGame();
    void TakeSavedGameAnswer();
    // The opening comic first while the profile has not seen it.
    void EnterLevelMap();
    void TakeOpeningComic();
    void Open(GameState* screen, const char* what);

    ShellActions& mActions;
    MainMenuServices& mServices;
    Screens mScreens;
    WaitState* mSavedGameQuestion = nullptr;
    SavedGameStarter mContinueSavedGame;
    bool mAwaitingDifficulty = false;
    bool mAwaitingComic = false;
    bool mAwaitingSavedGame = false;
    // The level of the saved game offered.
    int mSavedLevel = 0;
    // What the labels showed when another screen came on top.
    int mPausedLanguage = 0;
    std::string mPausedProfile;
};
