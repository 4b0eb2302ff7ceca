#pragma once
// AiSearch: the computer opponent's search for the player to move. Depth 0 scores every move by
// the mover's cell count after it; depth 1 also lets every opponent answer once with its own
// depth-0 choice, on a look-ahead copy whose counts and target sets stay those of the position
// searched. Only the final choice draws from the round's generator: every look-ahead draws from
// its own copy of it, all copies starting from the same state.
#include "game/board/GameLogic.h"
#include "game/board/MoveList.h"

#include "framework/core/MersenneTwister.h"

#include <array>
#include <cstdint>
#include <optional>

// Search depth by AI level 0..3.
inline constexpr std::array<int, 4> kSearchDepthByLevel = {0, 0, 1, 1};

// The depth a player of aiLevel searches at; a human (a hint) searches like level 1.
constexpr int SearchDepthForLevel(int aiLevel)
{
    const int level = aiLevel < 0 ? 1 : aiLevel > 3 ? 3 : aiLevel;
    return kSearchDepthByLevel[static_cast<size_t>(level)];
}

struct SearchStats
{
    // Moves given a score, at every depth: the bench signature.
    uint64_t scoredMoves = 0;
};

class AiSearch
{
public:
    explicit AiSearch(const GameLogic& logic, SearchStats* stats = nullptr);

    // The chosen move of the current player, the choice drawn from random (the round's
    // generator); all zero when it has no move.
    AiMove Search(int depth, Quoll::MersenneTwister& random);
    // A move's score for the current player, on a look-ahead; the round's generator is untouched.
    int EvaluateMove(const AiMove& move, int depth);

private:
    // The words a look-ahead copy of the round's generator would draw. Every copy starts from
    // the round's state, so they all read one sequence, drawn once from a private copy.
    class ForkedWords
    {
    public:
        explicit ForkedWords(const Quoll::MersenneTwister& origin) : mOrigin(origin) {}
        // Forgets the words drawn: the origin has moved on.
        void Restart();
        uint32_t Word(int position);

    private:
        static constexpr int kCapacity = 16;
        const Quoll::MersenneTwister& mOrigin;
        std::optional<Quoll::MersenneTwister> mCopy;
        std::array<uint32_t, kCapacity> mWords{};
        int mCount = 0;
    };

    // One look-ahead: its own board and turn; counts and targets are the logic's.
    struct LookAhead
    {
        Board board;
        int currentPlayer;
        int drawn;
    };

    int Evaluate(LookAhead& look, const AiMove& move, int depth);
    AiMove ReplySearch(LookAhead& look);
    void Score(const Board& board, int player, MoveList& list);

    const GameLogic& mLogic;
    SearchStats* mStats;
    ForkedWords mForked;
};
