#pragma once
// LoadLevelState: the screen between the level map and the play screen. Starting a level paints
// the map as it stands into a picture (in the map's snapshot mode), which the loading screen shows
// under its progress bar. Each update then loads one resource of the play screen's groups (and
// of the level's own background group when the manifest has one) on the main thread: the
// framework's loading thread runs only once, at start-up. The bar shows the fraction loaded.
// Once everything is in, the zoom effect of the level's episode starts at the node or tube the
// level was chosen from, goes to the play state with the level, and the state changes to it.
// A group that is missing or fails to load is logged on the ERROR log, the resource manager's
// error is noted for the error box (one box for the load, at the next update) and the state
// hands back to the screen it came from.
#include "game/scene/FloatPoint.h"
#include "game/scene/ZoomConfig.h"
#include "framework/resources/ResourceManager.h"
#include "game/shell/WidgetLink.h"

#include <memory>
#include <string>
#include <vector>

class AssetCfg;
class GameApp;
class PlayLevelState;

namespace Quoll
{
class MemoryImage;
class ProgressWidget;
class Widget;
} // namespace Quoll

class LoadLevelState final : public WidgetLink
{
public:
    static constexpr int kLastLevel = 70;
    // The last level zooms with a configuration of its own.
    static constexpr int kLastLevelZoom = 6;

    struct Next
    {
        PlayLevelState* play = nullptr;
        // Where a level that cannot be loaded hands back to.
        GameState* levelMap = nullptr;
    };

    LoadLevelState(StateHost& host, GameApp& app, Next next);
    ~LoadLevelState() override;

    // The next entry loads a level: 1..70, or -episode for a random level of that episode. The
    // zoom starts at centre; the map widget, when given, is painted for the loading screen now.
    void SetLevel(int level, FloatPoint centre, Quoll::Widget* map = nullptr);
    // The next entry continues the profile's saved game of that level, handing back to
    // `previous` (the level map when null) when it cannot.
    void SetContinueSavedGame(int level, GameState* previous);
    // The groups loaded before a level; the play screen's by default.
    void SetGroups(std::vector<std::string> groups) { mGroups = std::move(groups); }

    // The zoom configuration of a level: its episode's, the last level's own, or the episode of
    // a random level.
    [[nodiscard]] static int ZoomConfigFor(int level, const AssetCfg& assets);
    [[nodiscard]] static bool IsValidLevel(int level);

    [[nodiscard]] int GetLevel() const { return mLevel; }
    // The fraction loaded, 0..1.
    [[nodiscard]] float GetProgress() const;
    [[nodiscard]] const Quoll::MemoryImage* GetMapSnapshot() const { return mSnapshot.get(); }

    void OnEnter() override;
    void OnExit() override;
    void Update() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int, int) override {}

private:
    void PaintMap(Quoll::Widget& map);
    // The groups still to load, "Fone<n>" of a campaign level's background when declared.
    [[nodiscard]] std::vector<std::string> GroupsToLoad() const;
    // Loads one resource; false (logged) when a group is missing or fails.
    bool LoadStep();
    bool Fail(const std::string& group, const std::string& reason);
    void StartLevel();
    void HandBack();

    GameApp& mApp;
    Next mNext;
    GameState* mPrevious = nullptr;
    std::vector<std::string> mGroups;
    Quoll::ZoomConfigs mZoomConfigs;
    int mLevel = 0;
    bool mContinueSavedGame = false;
    FloatPoint mCentre;
    std::unique_ptr<Quoll::MemoryImage> mSnapshot;
    Quoll::ProgressWidget* mBar = nullptr;

    // The load under way: the groups left, the current group's loader, the resources counted.
    std::vector<std::string> mPending;
    std::unique_ptr<Quoll::ResourceManager::GroupLoader> mLoader;
    int mTotal = 0;
    int mLoaded = 0;
    bool mDone = false;
};
