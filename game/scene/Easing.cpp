#include "game/scene/Easing.h"

#include <cmath>

namespace tween
{
namespace
{
constexpr double kPi = 3.14159265358979323846;

// The elapsed fraction u = t / d, rounded to float.
double Fraction(float t, float d)
{
    return static_cast<double>(t / d);
}

// The in-out forms' w = t / (d / 2), rounded to float: below 1 in the first half.
double HalfFraction(float t, float d)
{
    return static_cast<double>(t / (d / 2));
}

float Result(double value)
{
    return static_cast<float>(value);
}

// The back overshoot, and the in-out form's larger one, as floats.
constexpr float kBackOvershoot = 1.70158f;
const float kBackInOutOvershoot = static_cast<float>(static_cast<double>(kBackOvershoot) * 1.525);

// The bounce's hop boundaries (1, 2 and 2.5 over 2.75) and hop centres (1.5, 2.25 and 2.625
// over 2.75), as floats; the third boundary is compared in double.
constexpr float kFirstHopEnd = 1.0f / 2.75f;
constexpr float kSecondHopEnd = 2.0f / 2.75f;
constexpr double kThirdHopEnd = 2.5 / 2.75;
constexpr float kSecondHopCentre = 1.5f / 2.75f;
constexpr float kThirdHopCentre = 2.25f / 2.75f;
constexpr float kFourthHopCentre = 2.625f / 2.75f;
constexpr double kBounce = 7.5625;

// One decaying sine swing of the elastic curves: a 2^(exponent) sin((d v - s) 2 pi / p).
double ElasticSwing(double c, double d, double v, double p, double exponent)
{
    const double s = p / 4;
    return c * std::pow(2.0, exponent) * std::sin((d * v - s) * (2 * kPi) / p);
}
} // namespace

// --- Linear -------------------------------------------------------------------------------------

float Linear::EaseIn(float t, float b, float c, float d) const
{
    return Result(c * Fraction(t, d) + b);
}

float Linear::EaseOut(float t, float b, float c, float d) const
{
    return EaseIn(t, b, c, d);
}

float Linear::EaseInOut(float t, float b, float c, float d) const
{
    return EaseIn(t, b, c, d);
}

// --- Sine ---------------------------------------------------------------------------------------

float Sine::EaseIn(float t, float b, float c, float d) const
{
    return Result(c - c * std::cos(Fraction(t, d) * (kPi / 2)) + b);
}

float Sine::EaseOut(float t, float b, float c, float d) const
{
    return Result(c * std::sin(Fraction(t, d) * (kPi / 2)) + b);
}

float Sine::EaseInOut(float t, float b, float c, float d) const
{
    return Result(b - (c / 2.0) * (std::cos(kPi * t / d) - 1));
}

// --- Quad ---------------------------------------------------------------------------------------

float Quad::EaseIn(float t, float b, float c, float d) const
{
    const double u = Fraction(t, d);
    return Result(c * u * u + b);
}

float Quad::EaseOut(float t, float b, float c, float d) const
{
    const double u = Fraction(t, d);
    return Result(b - c * u * (u - 2));
}

float Quad::EaseInOut(float t, float b, float c, float d) const
{
    const double w = HalfFraction(t, d);
    if (w < 1)
        return Result(c / 2.0 * w * w + b);
    const double v = w - 1;
    return Result(b - c / 2.0 * (v * (v - 2) - 1));
}

// --- Cubic --------------------------------------------------------------------------------------

float Cubic::EaseIn(float t, float b, float c, float d) const
{
    const double u = Fraction(t, d);
    return Result(c * u * u * u + b);
}

float Cubic::EaseOut(float t, float b, float c, float d) const
{
    const double v = Fraction(t, d) - 1;
    return Result(c * (v * v * v + 1) + b);
}

float Cubic::EaseInOut(float t, float b, float c, float d) const
{
    const double w = HalfFraction(t, d);
    if (w < 1)
        return Result(c / 2.0 * w * w * w + b);
    const double v = w - 2;
    return Result(c / 2.0 * (v * v * v + 2) + b);
}

// --- Quart --------------------------------------------------------------------------------------

float Quart::EaseIn(float t, float b, float c, float d) const
{
    const double u = Fraction(t, d);
    return Result(c * u * u * u * u + b);
}

float Quart::EaseOut(float t, float b, float c, float d) const
{
    const double v = Fraction(t, d) - 1;
    return Result(b - c * (v * v * v * v - 1));
}

float Quart::EaseInOut(float t, float b, float c, float d) const
{
    const double w = HalfFraction(t, d);
    if (w < 1)
        return Result(c / 2.0 * w * w * w * w + b);
    const double v = w - 2;
    return Result(b - c / 2.0 * (v * v * v * v - 2));
}

// --- Quint --------------------------------------------------------------------------------------

float Quint::EaseIn(float t, float b, float c, float d) const
{
    const double u = Fraction(t, d);
    return Result(c * u * u * u * u * u + b);
}

float Quint::EaseOut(float t, float b, float c, float d) const
{
    const double v = Fraction(t, d) - 1;
    return Result(c * (v * v * v * v * v + 1) + b);
}

float Quint::EaseInOut(float t, float b, float c, float d) const
{
    const double w = HalfFraction(t, d);
    if (w < 1)
        return Result(c / 2.0 * w * w * w * w * w + b);
    const double v = w - 2;
    return Result(c / 2.0 * (v * v * v * v * v + 2) + b);
}

// --- Circ ---------------------------------------------------------------------------------------

float Circ::EaseIn(float t, float b, float c, float d) const
{
    const double u = Fraction(t, d);
    return Result(b - c * (std::sqrt(1 - u * u) - 1));
}

float Circ::EaseOut(float t, float b, float c, float d) const
{
    const double v = Fraction(t, d) - 1;
    return Result(c * std::sqrt(1 - v * v) + b);
}

float Circ::EaseInOut(float t, float b, float c, float d) const
{
    const double w = HalfFraction(t, d);
    if (w < 1)
        return Result(b - c / 2.0 * (std::sqrt(1 - w * w) - 1));
    const double v = w - 2;
    return Result(c / 2.0 * (std::sqrt(1 - v * v) + 1) + b);
}

// --- Expo ---------------------------------------------------------------------------------------

float Expo::EaseIn(float t, float b, float c, float d) const
{
    if (t == 0)
        return b;
    return Result(c * std::pow(2.0, 10 * (Fraction(t, d) - 1)) + b);
}

float Expo::EaseOut(float t, float b, float c, float d) const
{
    if (t == d)
        return Result(static_cast<double>(b) + c);
    return Result(c * (1 - std::pow(2.0, -10 * Fraction(t, d))) + b);
}

float Expo::EaseInOut(float t, float b, float c, float d) const
{
    if (t == 0)
        return b;
    if (t == d)
        return Result(static_cast<double>(b) + c);
    const double w = HalfFraction(t, d);
    if (w < 1)
        return Result(c / 2.0 * std::pow(2.0, 10 * (w - 1)) + b);
    return Result(c / 2.0 * (2 - std::pow(2.0, -10 * (w - 1))) + b);
}

// --- Elastic ------------------------------------------------------------------------------------

float Elastic::EaseIn(float t, float b, float c, float d) const
{
    if (t == 0)
        return b;
    const double u = Fraction(t, d);
    if (u == 1)
        return Result(static_cast<double>(b) + c);
    const double p = static_cast<double>(d) * static_cast<double>(0.3f);
    const double v = u - 1;
    return Result(b - ElasticSwing(c, d, v, p, 10 * v));
}

float Elastic::EaseOut(float t, float b, float c, float d) const
{
    if (t == 0)
        return b;
    const double u = Fraction(t, d);
    if (u == 1)
        return Result(static_cast<double>(b) + c);
    const double p = static_cast<double>(d) * static_cast<double>(0.3f);
    return Result(ElasticSwing(c, d, u, p, -10 * u) + c + b);
}

float Elastic::EaseInOut(float t, float b, float c, float d) const
{
    if (t == 0)
        return b;
    const double w = HalfFraction(t, d);
    if (w == 2)
        return Result(static_cast<double>(b) + c);
    const double p = static_cast<double>(d) * static_cast<double>(0.45f);
    const double v = w - 1;
    if (w < 1)
        return Result(b - ElasticSwing(c / 2.0, d, v, p, 10 * v));
    return Result(ElasticSwing(c / 2.0, d, v, p, -10 * v) + c + b);
}

// --- Bounce -------------------------------------------------------------------------------------

float Bounce::EaseIn(float t, float b, float c, float d) const
{
    return Result(c - static_cast<double>(EaseOut(d - t, 0, c, d)) + b);
}

float Bounce::EaseOut(float t, float b, float c, float d) const
{
    const float u = t / d;
    auto hop = [&](float centre, double top) {
        const double x = static_cast<double>(u) - centre;
        return Result(c * (kBounce * x * x + top) + b);
    };
    if (u < kFirstHopEnd)
        return Result(c * (kBounce * u * u) + b);
    if (u < kSecondHopEnd)
        return hop(kSecondHopCentre, 0.75);
    if (static_cast<double>(u) < kThirdHopEnd)
        return hop(kThirdHopCentre, 0.9375);
    return hop(kFourthHopCentre, 0.984375);
}

float Bounce::EaseInOut(float t, float b, float c, float d) const
{
    if (t < d / 2)
        return Result(EaseIn(t * 2, 0, c, d) / 2.0 + b);
    return Result(EaseOut(t * 2 - d, 0, c, d) / 2.0 + c / 2.0 + b);
}

// --- Back ---------------------------------------------------------------------------------------

float Back::EaseIn(float t, float b, float c, float d) const
{
    const double u = Fraction(t, d);
    const double s = kBackOvershoot;
    return Result(c * u * u * ((s + 1) * u - s) + b);
}

float Back::EaseOut(float t, float b, float c, float d) const
{
    const double v = Fraction(t, d) - 1;
    const double s = kBackOvershoot;
    return Result(c * (v * v * ((s + 1) * v + s) + 1) + b);
}

float Back::EaseInOut(float t, float b, float c, float d) const
{
    const double w = HalfFraction(t, d);
    const double k = kBackInOutOvershoot;
    if (w < 1)
        return Result(c / 2.0 * (w * w * ((k + 1) * w - k)) + b);
    const double v = w - 2;
    return Result(c / 2.0 * (v * v * ((k + 1) * v + k) + 2) + b);
}
} // namespace tween
