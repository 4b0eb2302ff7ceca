#include "game/board/PlayerTable.h"

#include <cassert>
#include <cstddef>

void PlayerTable::Resize(int count)
{
    assert(count >= 0 && count <= kMaxPlayers && "PlayerTable::Resize: 0..3 players");
    if (count < 0 || count > kMaxPlayers)
        return;
    for (int i = mCount; i < count; ++i)
        mLevels[static_cast<std::size_t>(i)] = 0;
    mCount = count;
}

int PlayerTable::GetAiLevel(int player) const
{
    assert(player >= 1 && player <= mCount && "PlayerTable::GetAiLevel: player outside 1..N");
    if (player < 1 || player > mCount)
        return 0;
    return mLevels[static_cast<std::size_t>(player - 1)];
}

void PlayerTable::SetAiLevel(int player, int level)
{
    assert(player >= 1 && player <= mCount && level >= kHumanLevel && level <= kBossLevel &&
           "PlayerTable::SetAiLevel: player 1..N, level -1..3");
    if (player >= 1 && player <= mCount)
        mLevels[static_cast<std::size_t>(player - 1)] = level;
}

bool PlayerTable::AreHostile(int a, int b) const
{
    if (a == 0 || b == 0 || a == b)
        return false;
    if (IsBoss(a) || IsBoss(b))
        return a == 1 || b == 1;
    return true;
}
