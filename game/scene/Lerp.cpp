#include "game/scene/Lerp.h"

float LerpScalar(const float& a, const float& b, float t)
{
    const float change = b - a;
    const float part = change * t;
    return a + part;
}

FloatPoint Lerp(const FloatPoint& a, const FloatPoint& b, float t)
{
    return {LerpScalar(a.x, b.x, t), LerpScalar(a.y, b.y, t)};
}
