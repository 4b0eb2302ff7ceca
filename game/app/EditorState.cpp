#include "game/app/EditorState.h"

#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/app/PlayLevelState.h"
#include "game/level/Level.h"
#include "game/screens/EditorDlg.h"

EditorState::EditorState(StateHost& host, GameApp& app, PlayLevelState& play)
    : WidgetLink(host, "EditorState"), mApp(app), mPlay(play)
{
}

BaseWidget* EditorState::CreateWidget()
{
    return new EditorDlg(mApp.GetPlayServices());
}

EditorDlg* EditorState::GetDialog() const
{
    return IsWidgetAttached() ? static_cast<EditorDlg*>(GetWidget()) : nullptr;
}

Level* EditorState::GetLevel() const
{
    LevelSession* session = mPlay.GetSession();
    return session != nullptr && session->HasLevel() ? &session->GetLevel() : nullptr;
}

void EditorState::OnEnter()
{
    mApp.GetAchievements().SetEditorActive(true);
    WidgetLink::OnEnter();
    if (GetDialog() == nullptr || GetLevel() == nullptr)
    {
        mApp.LogError("The level editor cannot be shown");
        PopState();
        return;
    }
    AfterLevelLoad();
}

void EditorState::OnExit()
{
    WidgetLink::OnExit();
    mApp.GetAchievements().SetEditorActive(false);
}

void EditorState::AfterLevelLoad()
{
    EditorDlg* dialog = GetDialog();
    if (dialog == nullptr) return;
    // The reloaded level's scene may have come up over the panel.
    if (auto* widgets = dynamic_cast<Quoll::WidgetManager*>(mApp.GetWidgetManager()))
    {
        widgets->BringToFront(dialog);
        widgets->SetFocus(dialog);
    }
    RefreshStatus();
}

void EditorState::RefreshStatus()
{
    EditorDlg* dialog = GetDialog();
    const Level* level = GetLevel();
    if (dialog == nullptr || level == nullptr) return;
    const GameLogic& logic = level->GetLogic();
    const int third = logic.GetPlayerCount() >= 3 ? logic.GetPlayerAiLevel(3) : 0;
    dialog->UpdateStatusText(logic.GetPlayerAiLevel(2), third, level->GetMedalRule());
}

void EditorState::OnCommand(int command, int /*argument*/)
{
    Level* level = GetLevel();
    if (command == EditorDlg::kExit || level == nullptr)
    {
        PopState();
        return;
    }
    switch (command)
    {
    case EditorDlg::kReset:
        Reload(PlayLevelState::kCampaignFile);
        break;
    case EditorDlg::kSave:
        mPlay.SaveLevel(mApp.IsKeyDown(kKeyAlt) ? PlayLevelState::kCampaignFile
                                                : PlayLevelState::kEditorCopy);
        break;
    case EditorDlg::kReload:
        Reload(PlayLevelState::kEditorCopy);
        break;
    case EditorDlg::kCycleAi2:
        level->EditCyclePlayerAiLevel(2);
        RefreshStatus();
        break;
    case EditorDlg::kCycleAi3:
        // A two-player level has no third player to set.
        if (level->GetLogic().GetPlayerCount() < 3) break;
        level->EditCyclePlayerAiLevel(3);
        RefreshStatus();
        break;
    case EditorDlg::kToggleMedalMode:
        level->EditToggleMedalMode();
        RefreshStatus();
        break;
    case EditorDlg::kSetThresholds:
        if (const EditorDlg* dialog = GetDialog())
            level->EditSetMedalThresholds(dialog->GetFirstThreshold(),
                                          dialog->GetSecondThreshold());
        RefreshStatus();
        break;
    case EditorDlg::kBoardClick:
        if (const EditorDlg* dialog = GetDialog()) ApplyTile(dialog->GetSelectedEntry());
        break;
    default:
        // kSelectTile: the panel keeps the selection.
        break;
    }
}

void EditorState::Reload(int mode)
{
    // A level that does not read hands the play state back, and this state with it.
    if (mPlay.LoadLevel(mode)) AfterLevelLoad();
}

void EditorState::ApplyTile(int tile)
{
    Level* level = GetLevel();
    float x = 0, y = 0;
    mApp.GetMousePos(x, y);
    const ScreenPoint point{static_cast<int>(x), static_cast<int>(y)};
    if (tile < kFirstContentTile)
        level->EditSetCellKind(point, tile);
    else if (tile < kFirstBonusTile)
        level->EditSetCellContent(point, tile - kFirstContentTile);
    else
        // The bonuses' codes: 4, 8, 12 and 16.
        level->EditSetCellContent(point, 4 * tile - 28);
    RefreshStatus();
}
