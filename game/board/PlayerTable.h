#pragma once
// PlayerTable: the AI level of each of the 1..3 players of a round (-1 human, 0..2 computer
// players of rising strength, 3 the boss) and the hostility rule that follows from them.
#include <array>
#include <cstdint>

inline constexpr int kMaxPlayers = 3;
inline constexpr int kHumanLevel = -1;
inline constexpr int kBossLevel = 3;

class PlayerTable
{
public:
    [[nodiscard]] int GetCount() const { return mCount; }
    // count 0..3; new players get level 0.
    void Resize(int count);
    // player 1..N
    [[nodiscard]] int GetAiLevel(int player) const;
    // player 1..N, level -1..3
    void SetAiLevel(int player, int level);
    [[nodiscard]] bool HasEnoughPlayers() const { return mCount >= 2; }
    [[nodiscard]] bool IsBoss(int player) const { return GetAiLevel(player) == kBossLevel; }
    // Players 1..N, never 0. With a boss involved only player 1 and the other side are hostile
    // (and the boss's captures empty cells); otherwise any two different players are. A player
    // is never hostile to itself.
    [[nodiscard]] bool AreHostile(int a, int b) const;

    bool operator==(const PlayerTable&) const = default;

private:
    std::array<int32_t, kMaxPlayers> mLevels{};
    int mCount = 0;
};
