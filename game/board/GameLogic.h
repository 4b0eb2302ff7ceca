#pragma once
// GameLogic: the rules engine of one round. It owns the board, the player table, the turn, the
// cell count and reachable free cells of every player, the neighbour tables of its board and
// the round's own random generator, all copied with it. It checks and applies moves and
// captures, passes the turn, names the leader and the winner, runs the computer opponent's
// search, and reads and writes its state as the level-logic section ("qklgc" and "qkrnd").
#include "game/board/Board.h"
#include "game/board/MoveList.h"
#include "game/board/NeighbourTables.h"
#include "game/board/PlayerTable.h"

#include "framework/core/Buffer.h"
#include "framework/core/MersenneTwister.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class GameLogic
{
public:
    // The generator's seed when Init is given 0.
    static constexpr uint32_t kDefaultSeed = 9823745;

    GameLogic();
    // A copy is never the active logic, whatever the original was.
    GameLogic(const GameLogic& other);
    GameLogic& operator=(const GameLogic& other);
    ~GameLogic();

    // Reset, then seed the generator (0 = kDefaultSeed); no current player.
    void Init(uint32_t seed);
    // Empty board, no players, no counts.
    void Reset();

    // Makes ActiveNeighbourTables() answer this logic's tables, following its holes from then on.
    void MakeActive() const;
    [[nodiscard]] bool IsActive() const;

    // --- Players and turn ---
    [[nodiscard]] const PlayerTable& GetPlayers() const { return mPlayers; }
    [[nodiscard]] int GetPlayerCount() const { return mPlayers.GetCount(); }
    // player 1..N
    [[nodiscard]] int GetPlayerAiLevel(int player) const { return mPlayers.GetAiLevel(player); }
    [[nodiscard]] bool HasEnoughPlayers() const { return mPlayers.HasEnoughPlayers(); }
    [[nodiscard]] bool AreHostile(int a, int b) const { return mPlayers.AreHostile(a, b); }
    // A new count (0..3) resizes the table (new players level 0, player 3 always 0) and recounts.
    void SetPlayerCount(int count);
    // player 1..N, level -1..3
    void SetPlayerAiLevel(int player, int level);
    // Raises the level of player 1..N by one, wrapping from 3 to 0 (level editor).
    void CyclePlayerAiLevel(int player);
    [[nodiscard]] int GetCurrentPlayer() const { return mCurrentPlayer; }
    // player 0..N
    void SetCurrentPlayer(int player);
    // Passes the turn to the next player (cyclic, the current one excluded) that has cells and a
    // move; false, with the turn unchanged, when there is none.
    bool NextPlayer();
    // The player NextPlayer would choose after player (0: from player 1 on), or 0.
    [[nodiscard]] int FindNextPlayer(int player) const;

    // --- Counts and state ---
    // Entry 0 = free cells, p = cells of player p; 0 outside 0..N.
    [[nodiscard]] int GetCellCount(int index) const;
    [[nodiscard]] int GetFreeCellCount() const { return GetCellCount(0); }
    // The free cells player 1..N can move to.
    [[nodiscard]] CellSet GetTargets(int player) const;
    [[nodiscard]] bool IsPlayerAlive(int player) const;
    [[nodiscard]] bool CanMove(int player) const;
    // The player with most cells, the higher number on equal counts; 0 when nobody has cells.
    [[nodiscard]] int GetLeader() const;
    // 0 while the round goes on; otherwise the player with most cells, the lower number on
    // equal counts.
    [[nodiscard]] int GetWinner() const;

    [[nodiscard]] const Board& GetBoard() const { return mBoard; }
    // For callers that build a board cell by cell: they end with Recount, which also rebuilds
    // the neighbour tables when the holes changed.
    [[nodiscard]] Board& GetBoard() { return mBoard; }
    [[nodiscard]] const NeighbourTables& GetNeighbourTables() const { return *mTables; }
    [[nodiscard]] const Quoll::MersenneTwister& GetRandom() const { return mRandom; }
    [[nodiscard]] Quoll::MersenneTwister& GetRandom() { return mRandom; }
    // A draw below bound from the round's generator; 0 (and no draw) when bound <= 0.
    uint32_t Random(int bound);

    // Recounts cells per player and the target sets from the board.
    void Recount();
    void UpdateTargets();

    // --- Moves ---
    // True when to lies within distance 2 of from (cells 0..60, from != to); sets the jump flag
    // (true for distance 2). Ownership and freeness are the caller's checks.
    [[nodiscard]] bool IsLegalMove(int from, int to);
    [[nodiscard]] bool GetJumpFlag() const { return mJumpFlag; }
    void MakeMove(int from, int to, bool clone);
    // Captures around target for its owner. When the current player is 1, bossCells first gets
    // the neighbours owned by a boss. Returns the number captured.
    int CaptureAt(int target, std::vector<int>* captured, std::vector<int>& bossCells);
    // For every existing cell of cells: the owner bits (ownerBits) or the bonus bits := value.
    void AssignCells(CellSet cells, int value, bool ownerBits);
    // Cell 0..60 (others ignored); kind 0 makes a hole and clears the cell's content.
    void SetCellKind(int cell, int kind);
    // value 0..3 = owner, 4..16 = bonus code; holes are left alone.
    void SetCellContent(int cell, int value);
    void ClearCellContent(int cell, bool ownerBits);
    void RefreshCounts(int player);

    // The owner bits of from move to to; from is emptied unless clone.
    static void ApplyMove(Board& board, int from, int to, bool clone);
    // Captures the hostile neighbours of target on board for target's owner: converted, or
    // emptied when a boss is involved. Appends them to captured; returns how many.
    int Capture(int target, Board& board, std::vector<int>* captured) const;
    // Whether a move of player is a clone: distance 1 and not the boss.
    [[nodiscard]] bool IsClone(int player, bool jump) const { return !jump && !mPlayers.IsBoss(player); }

    // --- Computer opponent (AiSearch) ---
    // The move of the current player at the depth of its level (a human: the hint). False, with
    // from = to = 0, when it has none.
    bool FindBestMove(int& from, int& to);
    // The chosen move of the current player; all zero when it cannot move.
    AiMove Search(int depth);
    void GenerateMoves(int player, MoveList& list) const;
    // Scores every move at depth 0, then sorts the list best first.
    void ScoreMoves(int player, MoveList& list) const;
    // The score of a move of the current player, found on a copy.
    [[nodiscard]] int EvaluateMove(const AiMove& move, int depth) const;
    // The index the player's level picks from a sorted list; draws from the round's generator.
    int ChooseMove(int player, const MoveList& list);

    // --- Level-logic section ---
    void Write(Quoll::Buffer& buffer) const;
    // False, with the logic unchanged, when the section is broken, truncated or holds values
    // out of range (players outside 1..3, levels outside -1..3, current player outside 1..N,
    // owners above N).
    [[nodiscard]] bool Read(Quoll::Buffer& buffer);

private:
    void CopyFrom(const GameLogic& other);
    void RefreshNeighbourTables();

    PlayerTable mPlayers;
    int32_t mCurrentPlayer = 0;
    // Entry 0 free cells, entries 1..N the players'.
    std::array<int32_t, kMaxPlayers + 1> mCellCounts{};
    std::array<CellSet, kMaxPlayers> mTargets{};
    Board mBoard;
    std::shared_ptr<const NeighbourTables> mTables;
    Quoll::MersenneTwister mRandom;
    bool mJumpFlag = false;
};

// The neighbour tables of the active logic, or the full hexagon's when none is active. The
// reference holds until that logic changes its holes or is destroyed: use it at once.
const NeighbourTables& ActiveNeighbourTables();
