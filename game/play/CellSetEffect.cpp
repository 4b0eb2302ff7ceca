#include "game/play/CellSetEffect.h"

#include <cmath>
#include <limits>

namespace
{
float RateOf(float time)
{
    if (std::isinf(time) || std::isnan(time))
        return 0;
    if (time <= 0)
        return std::numeric_limits<float>::infinity();
    return 1.0f / time;
}
} // namespace

CellSetEffect CellSetEffect::Make(CellSet cells, float peak, float riseTime, float fallTime, float delay)
{
    CellSetEffect effect;
    effect.cells = cells;
    effect.peak = peak;
    effect.riseRate = RateOf(riseTime);
    effect.fallRate = RateOf(fallTime);
    effect.delay = delay;
    return effect;
}

bool CellSetEffect::Update(float dt)
{
    if (delay > 0)
    {
        delay -= dt;
        if (delay > 0)
            return true;
    }
    if (riseRate != 0)
    {
        level += dt * riseRate;
        if (level > peak)
        {
            level = peak;
            riseRate = 0;
        }
        return true;
    }
    if (fallRate != 0)
    {
        level -= dt * fallRate;
        return level > 0;
    }
    return false;
}
