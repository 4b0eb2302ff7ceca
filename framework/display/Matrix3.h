#pragma once
// A 3x3 float matrix for 2D affine drawing, row-major m[0..8]. A point is the column (x, y, 1):
// x' = m0 x + m1 y + m2, y' = m3 x + m4 y + m5. Every builder multiplies its matrix in front of
// the existing one, so it applies after what the matrix already does.
#include <array>

namespace Quoll
{
struct FPoint
{
    float x = 0;
    float y = 0;
};

class Matrix3
{
public:
    Matrix3() { LoadIdentity(); }

    void LoadIdentity();
    void CopyFrom(const Matrix3& other) { m = other.m; }
    // out = a * b; out may be a or b.
    static void Multiply(Matrix3& out, const Matrix3& a, const Matrix3& b);

    [[nodiscard]] FPoint TransformPoint(float x, float y) const;
    [[nodiscard]] std::array<float, 3> TransformVector3(float x, float y, float z) const;

    void Translate(float tx, float ty);
    void Rotate(float radians);
    void RotateDeg(float degrees);
    void Scale(float sx, float sy);

    std::array<float, 9> m{};

private:
    void PreMultiply(const Matrix3& left);
};
} // namespace Quoll
