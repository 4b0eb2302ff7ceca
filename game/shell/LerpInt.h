#pragma once
// a + trunc((b - a) * t): the integer step between two values, as fades and flashes use it.
[[nodiscard]] inline int LerpInt(int a, int b, float t)
{
    return a + static_cast<int>(static_cast<float>(b - a) * t);
}
