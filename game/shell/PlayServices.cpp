#include "game/shell/PlayServices.h"

namespace
{
int KindOrOne(int kind)
{
    return kind >= 1 && kind <= kBossBacteria ? kind : 1;
}
} // namespace

int ChoosePlayerBacteria(int player, int aiLevel, int hero, int enemy, int third)
{
    if (player < 1 || player > 3)
        return 1;
    if (aiLevel == kBossAiLevel)
        return kBossBacteria;
    const int kinds[3] = {hero, enemy, third};
    return KindOrOne(kinds[player - 1]);
}
