#pragma once
// EditorState: the level editor over the play screen. It shows the editor's panel and acts on its
// commands on the play state's level: leave; reload the campaign file or the editor's copy; save
// the editor's copy (with Alt held, the level's text beside it); cycle the computer players' AI
// levels; switch the medal mode and set its thresholds; and apply the panel's selected tile to
// the cell under the mouse. After every change the panel shows the level's AI levels and medal
// rule. The play state is paused under it, so the level does not play while it is edited, and
// the achievements count nothing while it is open.
#include "game/shell/WidgetLink.h"

class EditorDlg;
class GameApp;
class Level;
class PlayLevelState;

class EditorState final : public WidgetLink
{
public:
    // Palette tiles: 0-3 cell kinds, 4-7 cell contents (empty, players 1-3), 8-11 the four bonuses.
    static constexpr int kFirstContentTile = 4;
    static constexpr int kFirstBonusTile = 8;
    static constexpr int kKeyAlt = 18;

    EditorState(StateHost& host, GameApp& app, PlayLevelState& play);

    // After the play state has (re)loaded the level: the panel in front with the focus, and its
    // status refreshed.
    void AfterLevelLoad();
    void RefreshStatus();
    // The panel shown, null when none is.
    [[nodiscard]] EditorDlg* GetDialog() const;

    void OnEnter() override;
    void OnExit() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    // The play state's level; null when none is loaded.
    [[nodiscard]] Level* GetLevel() const;
    void Reload(int mode);
    void ApplyTile(int tile);

    GameApp& mApp;
    PlayLevelState& mPlay;
};
