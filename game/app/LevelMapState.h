#pragma once
// LevelMapState: the level map. Every entry makes a fresh map: the map's song unless it plays
// already, the catalogue rebuilt for the profile's difficulty, the map built (with the intro
// while the current profile has not seen it; seeing it to the end or skipping it is recorded in
// the profile at once), then focused on the level and group the play state left. It leaves for
// the main menu, starts the chosen level once the map's transition has finished, and opens
// screens queued by others only while the map is idle. Once the campaign is complete it shows the
// final comic, when the map is idle, once per profile (marked seen and saved at its end).
#include "game/scene/FloatPoint.h"
#include "game/screens/LevelMap.h"
#include "game/shell/WidgetLink.h"

#include <deque>
#include <functional>

class ComicsState;
class LevelMapServices;
class ShellActions;

class LevelMapState final : public WidgetLink
{
public:
    static constexpr int kMapSong = 1;
    static constexpr float kMusicFade = 0.001f;
    static constexpr int kMapEnteredEvent = 3;

    // Starts a level (1..70, or -episode for a random level of that episode) zooming from the
    // centre given.
    using LevelStarter = std::function<void(int level, FloatPoint centre)>;

    struct Screens
    {
        GameState* mainMenu = nullptr;
        // The achievements viewer; null until it exists (the command is then logged).
        GameState* achievements = nullptr;
        // Null: the level is logged and the map is shown afresh.
        LevelStarter startLevel;
        // Null: no final comic.
        ComicsState* finalComic = nullptr;
    };

    LevelMapState(StateHost& host, ShellActions& actions, LevelMapServices& services,
                  Screens screens)
        : WidgetLink(host, "LevelMapState"), mActions(actions), mServices(services),
          mScreens(std::move(screens))
    {
    }

    void SetMainMenu(GameState* mainMenu) { mScreens.mainMenu = mainMenu; }
    void SetIntroFactory(Quoll::LevelMap::IntroFactory factory)
    {
        mIntroFactory = std::move(factory);
    }
    // The level just played and the group it completed (-1 for none); used at the next entry.
    void SetFocus(int level, int group)
    {
        mFocusLevel = level;
        mFocusGroup = group;
    }
    // The level editor's entry: with QUOLL_LEVEL_EDITOR=1 in a developer build, a level chosen
    // on the map with Ctrl held is started with the editor over it.
    void SetLevelEditor(std::function<void(int level)> editLevel) { mEditLevel = std::move(editLevel); }
    [[nodiscard]] bool IsLevelEditorOn() const;
    static constexpr int kKeyControl = 17;
    // Opens the screen over the map once the map is idle.
    void QueueScreen(GameState& screen) { mQueued.push_back(&screen); }
    [[nodiscard]] Quoll::LevelMap* GetMap() const;

    void OnEnter() override;
    void OnPause() override;
    void OnResume() override;
    void Update() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    void EnterMap();
    void OnIntroEnded();
    void StartIfOpen(int level);
    void StartLevel(int level, FloatPoint centre);
    [[nodiscard]] bool ShouldShowFinalComic() const;
    void TakeFinalComic();

    ShellActions& mActions;
    LevelMapServices& mServices;
    Screens mScreens;
    Quoll::LevelMap::IntroFactory mIntroFactory;
    std::function<void(int level)> mEditLevel;
    int mFocusLevel = -1;
    int mFocusGroup = -1;
    std::deque<GameState*> mQueued;
    // The final comic was offered since the map was entered (a comic that cannot be shown is not
    // offered again until the next entry).
    bool mFinalComicOffered = false;
    bool mAwaitingComic = false;
};
