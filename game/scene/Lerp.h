#pragma once
// Straight interpolation: a + (b - a) t, with b - a and (b - a) t each rounded to float. t is not
// clamped: values outside 0..1 extrapolate.
#include "game/scene/FloatPoint.h"

[[nodiscard]] FloatPoint Lerp(const FloatPoint& a, const FloatPoint& b, float t);
[[nodiscard]] float LerpScalar(const float& a, const float& b, float t);
