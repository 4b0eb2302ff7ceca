// The level editor's state over a running level: its entry from the map, every palette tile on
// the cell under the mouse, the AI buttons with the panel's status, and saving: the editor's copy
// reloads byte for byte, the level's text compiles to the same bytes, and a failed save keeps
// the old file.
#include "tests/shell/playflow/PlayFlowFixture.h"

#include "framework/app/QuollAppBase.h"
#include "game/app/EditorState.h"
#include "game/app/LevelMapState.h"
#include "game/level/LevelText.h"
#include "game/screens/EditorDlg.h"
#include "game/screens/LevelMap.h"
#include "game/shell/GameLog.h"
#include "game/ui/Button.h"

#include <cstdlib>

namespace PlayFlow
{
namespace
{
constexpr int kLevel = 4;
constexpr int kCell = 30;

class LevelEditor : public PlayFlowTest
{
protected:
    // The level at the human's turn with the editor pushed over it.
    EditorDlg& OpenEditor()
    {
        Start(kLevel);
        EXPECT_TRUE(mRunner->RunToHumanTurn());
        Host().PushState(States().Editor());
        EXPECT_EQ(Host().GetTopState(), &States().Editor());
        EditorDlg* panel = States().Editor().GetDialog();
        EXPECT_NE(panel, nullptr);
        return *panel;
    }

    void Command(int command) { States().Editor().ReceiveCommand(command, 0); }

    // Picks the tile on the panel, then clicks the board cell as the editor's user does.
    void Apply(EditorDlg& panel, int tile, int cell)
    {
        const PaletteEntry& entry = panel.GetPaletteEntry(tile);
        mRunner->Click(entry.x + entry.width / 2, entry.y + entry.height / 2);
        EXPECT_EQ(panel.GetSelectedEntry(), tile);
        const ScreenPoint at = mRunner->Scene()->GetCellCentre(cell);
        mRunner->Click(at.x, at.y);
        mRunner->Step();
    }

    [[nodiscard]] const Board& GetBoard() { return CurrentLevel().GetLogic().GetBoard(); }
};

TEST_F(LevelEditor, ACtrlClickOnTheMapOpensTheEditorOverTheLevelOnlyWhenAsked)
{
    Start(1);
    LevelMapState& map = States().LevelMap();
    Host().ChangeState(map);
    ASSERT_TRUE(map.IsOnStack());
    mRunner->App().GetWidgetManager()->KeyDown(LevelMapState::kKeyControl);

    // Without the variable a Ctrl-click is a plain choice of the level.
    map.ReceiveCommand(Quoll::LevelMap::kStartLevel, kLevel);
    EXPECT_TRUE(map.IsOnStack());
    EXPECT_FALSE(States().Editor().IsOnStack());
    if (!Quoll::kDeveloperBuild) GTEST_SKIP() << "the level editor is a developer build's tool";

    Host().ChangeState(map);
    AllowLevelEditor();
    map.ReceiveCommand(Quoll::LevelMap::kStartLevel, kLevel);
    ASSERT_TRUE(mRunner->Play().IsOnStack());
    EXPECT_EQ(mRunner->Play().GetLevelNumber(), kLevel);
    EXPECT_EQ(Host().GetTopState(), &States().Editor());
    ASSERT_NE(States().Editor().GetDialog(), nullptr);
    EXPECT_EQ(
        States().Editor().GetDialog()->GetButton(EditorDlg::kCycleAi2)->mLabel.rfind(L"AI ", 0),
        0u);

    // Leaving the editor leaves the level running.
    Command(EditorDlg::kExit);
    EXPECT_EQ(Host().GetTopState(), &mRunner->Play());
    EXPECT_TRUE(mRunner->Play().IsLevelRunning());
    mRunner->App().GetWidgetManager()->KeyUp(LevelMapState::kKeyControl);
}

TEST_F(LevelEditor, EveryTileLandsOnTheCellUnderTheMouse)
{
    EditorDlg& panel = OpenEditor();
    if (HasFailure()) return;
    const Board before = GetBoard();
    for (int kind = 1; kind <= 3; ++kind)
    {
        Apply(panel, kind, kCell);
        EXPECT_EQ(GetBoard().GetCellValue(kCell), kind);
    }
    for (int owner = 3; owner >= 0; --owner)
    {
        Apply(panel, EditorState::kFirstContentTile + owner, kCell);
        EXPECT_EQ(GetBoard().GetOwner(kCell), owner);
        EXPECT_EQ(GetBoard().GetBonus(kCell), 0);
    }
    for (int tile = EditorState::kFirstBonusTile; tile < EditorDlg::kPaletteSize; ++tile)
    {
        Apply(panel, tile, kCell);
        EXPECT_EQ(GetBoard().GetBonus(kCell), 4 * (tile - EditorState::kFirstBonusTile + 1));
    }
    Apply(panel, 0, kCell);
    EXPECT_FALSE(GetBoard().Exists(kCell));
    // Only the cell under the mouse changed.
    for (int cell = 0; cell < kCellCount; ++cell)
    {
        if (cell == kCell) continue;
        EXPECT_EQ(GetBoard().GetCellValue(cell) | GetBoard().GetCellFlags(cell) << 16,
                  before.GetCellValue(cell) | before.GetCellFlags(cell) << 16)
            << "cell " << cell;
    }
}

TEST_F(LevelEditor, TheAiButtonsCycleThePlayersThatThereAreAndShowTheirLevels)
{
    EditorDlg& panel = OpenEditor();
    if (HasFailure()) return;
    const Level& level = CurrentLevel();
    ASSERT_EQ(level.GetLogic().GetPlayerCount(), 2);

    // A two-player level has no third AI to cycle.
    Command(EditorDlg::kCycleAi3);
    EXPECT_EQ(panel.GetButton(EditorDlg::kCycleAi3)->mLabel, L"AI 0");
    const int ai2 = level.GetLogic().GetPlayerAiLevel(2);
    Command(EditorDlg::kCycleAi2);
    const int cycled = level.GetLogic().GetPlayerAiLevel(2);
    EXPECT_EQ(cycled, ai2 == 3 ? 0 : ai2 + 1);
    EXPECT_EQ(panel.GetButton(EditorDlg::kCycleAi2)->mLabel, L"AI " + std::to_wstring(cycled));

    // A player-3 cell brings in the third player, whose AI then cycles.
    Apply(panel, EditorState::kFirstContentTile + 3, kCell);
    ASSERT_EQ(level.GetLogic().GetPlayerCount(), 3);
    const int ai3 = level.GetLogic().GetPlayerAiLevel(3);
    Command(EditorDlg::kCycleAi3);
    EXPECT_EQ(level.GetLogic().GetPlayerAiLevel(3), ai3 == 3 ? 0 : ai3 + 1);
    EXPECT_EQ(panel.GetButton(EditorDlg::kCycleAi3)->mLabel,
              L"AI " + std::to_wstring(level.GetLogic().GetPlayerAiLevel(3)));
}

TEST_F(LevelEditor, ASavedLevelReloadsByteForByteAndAFailedSaveKeepsTheOldFile)
{
    const fs::path logFile = fs::path(QUOLL_TEST_HOME) / (ProductName() + ".log");
    ASSERT_TRUE(GameLog::Get().Open(logFile.string()));
    EditorDlg& panel = OpenEditor();
    if (HasFailure()) return;
    const fs::path copy = PlayLevelState::GetEditorCopyPath(kLevel);
    const fs::path text = PlayLevelState::GetEditorTextPath(kLevel);
    fs::remove(copy);
    fs::remove(text);

    Apply(panel, 0, kCell);
    Command(EditorDlg::kSave);
    const std::string saved = ReadAll(copy);
    ASSERT_FALSE(saved.empty());

    // Reset brings back the campaign's cell, reload the editor's hole.
    Command(EditorDlg::kReset);
    ASSERT_EQ(Host().GetTopState(), &States().Editor());
    EXPECT_TRUE(GetBoard().Exists(kCell));
    Command(EditorDlg::kReload);
    ASSERT_EQ(Host().GetTopState(), &States().Editor());
    EXPECT_FALSE(GetBoard().Exists(kCell));
    Command(EditorDlg::kSave);
    EXPECT_EQ(ReadAll(copy), saved);

    // With Alt held the level's text goes beside the copy; it compiles to the same file.
    mRunner->App().GetWidgetManager()->KeyDown(EditorState::kKeyAlt);
    Command(EditorDlg::kSave);
    mRunner->App().GetWidgetManager()->KeyUp(EditorState::kKeyAlt);
    Quoll::Buffer compiled;
    LevelTextError error;
    ASSERT_TRUE(CompileLevelText(ReadAll(text), compiled, error)) << error.ToString();
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(compiled.GetDataPtr()), compiled.GetDataSize()),
        saved);
    EXPECT_EQ(ReadAll(copy), saved);

    // A write that cannot happen (its temporary file's place is taken) leaves the old file.
    const fs::path blocker = copy.string() + ".tmp" + std::to_string(::getpid());
    fs::create_directories(blocker / "taken");
    Apply(panel, 1, kCell);
    Command(EditorDlg::kSave);
    EXPECT_EQ(ReadAll(copy), saved);
    EXPECT_EQ(Host().GetTopState(), &States().Editor());
    fs::remove_all(blocker);
    GameLog::Get().Close();
    EXPECT_NE(ReadAll(logFile).find("Cannot save Level file: " + copy.string()), std::string::npos);
    fs::remove(logFile);
    fs::remove(copy);
    fs::remove(text);
}
} // namespace
} // namespace PlayFlow
