#pragma once
// The easing curves of timed movements, fades and scalings, in their (t, b, c, d) form: t the time
// since the start, b the start value, c the change, d the duration, in the caller's units. A curve
// yields b at t = 0 and b + c at t = d (up to rounding); t outside 0..d is not clamped.
// Arithmetic runs in double and the result is rounded to float; u = t / d and, for the in-out
// forms, w = t / (d / 2) are rounded to float first.
//
// Callers use the shared instances below (tween::quad.EaseOut(...)) or pass a curve by reference.
namespace tween
{
class Easing
{
public:
    virtual ~Easing() = default;
    [[nodiscard]] virtual float EaseIn(float t, float b, float c, float d) const = 0;
    [[nodiscard]] virtual float EaseOut(float t, float b, float c, float d) const = 0;
    [[nodiscard]] virtual float EaseInOut(float t, float b, float c, float d) const = 0;
};

// One straight line serves all three forms.
class Linear : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

class Sine : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

class Quint : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

class Quart : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

class Quad : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

// 2^(10 (u - 1)); exact b and b + c at the ends.
class Expo : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

// A decaying sine of period 0.3 d (0.45 d in-out).
class Elastic : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

class Cubic : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

class Circ : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

// Four parabolic hops; the in form mirrors the out form.
class Bounce : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

// Overshoots by s = 1.70158 (s x 1.525 in-out).
class Back : public Easing
{
public:
    [[nodiscard]] float EaseIn(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseOut(float t, float b, float c, float d) const override;
    [[nodiscard]] float EaseInOut(float t, float b, float c, float d) const override;
};

// The shared instances, one per curve.
inline const Linear linear{};
inline const Sine sine{};
inline const Quint quint{};
inline const Quart quart{};
inline const Quad quad{};
inline const Expo expo{};
inline const Elastic elastic{};
inline const Cubic cubic{};
inline const Circ circ{};
inline const Bounce bounce{};
inline const Back back{};
} // namespace tween
