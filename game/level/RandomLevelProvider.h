#pragma once
// Game::RandomLevelProvider: fills a GameLogic with a random level that is playable: two or
// three players, a board of 32 to 61 cells with random cell looks, start bacteria scattered or
// in compact groups, and bonuses of the kinds the profile's progress has unlocked. Every draw of
// the layout comes from the provider's own generator, seeded from the program-wide one, so a
// provider with the same seed builds the same level for the same progress. The last seed
// outlives the provider; RandomLevelReplay makes the next provider reuse it (a restart).
#include "game/board/GameLogic.h"

#include "framework/core/MersenneTwister.h"

#include <cstdint>
#include <functional>
#include <vector>

class LevelList;

namespace Game
{
// Set by the game shell when the player restarts a random level; the next provider clears it.
extern bool RandomLevelReplay;
// The seed of the last provider built.
extern uint32_t RandomLevelLastSeed;

class RandomLevelProvider
{
public:
    // Attempts before Generate gives up.
    static constexpr int kMaxAttempts = 10000;

    // parameter: kept for the creator. catalogue: whose progress unlocks the bonus kinds (none
    // when null).
    explicit RandomLevelProvider(int parameter, const LevelList* catalogue);
    virtual ~RandomLevelProvider() = default;

    // What a random level of the current level number (minus its episode) is filled by: a
    // provider made with the negated number generates into the logic.
    [[nodiscard]] static std::function<bool(GameLogic&)> ForLevel(int currentLevel, const LevelList* catalogue);

    // Fills the logic until it is playable; false after kMaxAttempts failed attempts.
    bool Generate(GameLogic& logic);
    // At least two players and every player can move.
    [[nodiscard]] static bool IsPlayable(const GameLogic& logic);

    [[nodiscard]] int GetParameter() const { return mParameter; }
    [[nodiscard]] uint32_t GetSeed() const { return mSeed; }

    // The generation steps, in the order Generate calls them.
    virtual void ChoosePlayers(GameLogic& logic);
    virtual void ChooseCells(GameLogic& logic);
    virtual void PlaceStartBacteria(GameLogic& logic);
    virtual void PlaceBonuses(GameLogic& logic);

    // The cells reachable from start over empty cells (no owner, no bonus), start first, then
    // ring by ring: each cell's unvisited neighbours in cell order, visited depth first.
    [[nodiscard]] static std::vector<int> CollectEmptyRegion(const Board& board, const NeighbourTables& tables,
                                                             int start);

protected:
    // A draw below bound from the provider's generator; 0 (and no draw) when bound <= 0.
    int Random(int bound);

private:
    void PlaceScattered(GameLogic& logic, const std::vector<int>& quotas);
    void PlaceGrouped(GameLogic& logic, const std::vector<int>& quotas);
    [[nodiscard]] std::vector<int> AllowedBonusKinds() const;

    int mParameter;
    const LevelList* mCatalogue;
    Quoll::MersenneTwister mRandom;
    uint32_t mSeed = 0;
};
} // namespace Game
