// Level: the level editor's changes to the board, each shown at once.
#include "game/level/Level.h"

namespace
{
bool IsCellContent(int value)
{
    return (value >= 0 && value <= kMaxOwner) || value == BONUS_MINE || value == BONUS_TELEPORT ||
           value == BONUS_BOMB || value == BONUS_LAID_MINE;
}
} // namespace

void Level::EditSetCellKind(ScreenPoint point, int kind)
{
    const int cell = mView->CellAtPoint(point);
    if (IsCell(cell) && kind >= 0 && kind <= 0xFFFF && mView->GetCellViewKind(cell) != kind)
        EditSetCellKindAt(cell, kind);
    RefreshScene();
}

void Level::EditSetCellKindAt(int cell, int kind)
{
    mLogic.SetCellKind(cell, kind);
    if (kind == 0)
        mView->ClearCellUnits(cell);
    mView->SetCellViewKind(cell, kind);
    mView->CentreOnScreen();
}

void Level::EditSetCellContent(ScreenPoint point, int value)
{
    const int cell = mView->CellAtPoint(point);
    // Owners beyond the players are refused, but for a third player's cell in a two-player
    // level, which brings in the third player.
    const int players = mLogic.GetPlayerCount();
    const bool ownerFits = value > kMaxOwner || value <= players || (value == 3 && players == 2);
    if (IsCell(cell) && IsCellContent(value) && ownerFits && mLogic.GetBoard().Exists(cell))
        EditSetCellContentAt(cell, value);
    RefreshScene();
}

void Level::EditSetCellContentAt(int cell, int value)
{
    const CellSet cells = CellSet::Single(cell);
    mView->PlaceOnCells(value, cells);
    const bool owner = value <= kMaxOwner;
    // A third player's cell makes room for the third player first, so the logic never holds
    // an owner beyond its players.
    if (value == 3 && mLogic.GetPlayerCount() == 2)
    {
        mLogic.SetPlayerCount(3);
        mParams.playerCount = 3;
    }
    mLogic.AssignCells(cells, value, owner);
    if (value == 0)
        mLogic.AssignCells(cells, 0, false);
    EditAdjustPlayerCount();
}

void Level::EditAdjustPlayerCount()
{
    const bool thirdPlayerCells = mLogic.GetBoard().CountCells(kOwnerMask, 3) > 0;
    if (thirdPlayerCells && mLogic.GetPlayerCount() == 2)
    {
        mLogic.SetPlayerCount(3);
        mParams.playerCount = 3;
    }
    else if (!thirdPlayerCells && mLogic.GetPlayerCount() == 3)
    {
        mLogic.SetPlayerCount(2);
        mParams.playerCount = 2;
    }
}

void Level::EditCyclePlayerAiLevel(int player)
{
    mLogic.CyclePlayerAiLevel(player);
    RefreshScene();
}
