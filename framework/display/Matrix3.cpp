#include "framework/display/Matrix3.h"

#include <cmath>

namespace Quoll
{
void Matrix3::LoadIdentity()
{
    m = {1, 0, 0, 0, 1, 0, 0, 0, 1};
}

void Matrix3::Multiply(Matrix3& out, const Matrix3& a, const Matrix3& b)
{
    Matrix3 result;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            result.m[i * 3 + j] = a.m[i * 3 + 0] * b.m[0 * 3 + j] + a.m[i * 3 + 1] * b.m[1 * 3 + j] +
                                  a.m[i * 3 + 2] * b.m[2 * 3 + j];
    out.CopyFrom(result);
}

FPoint Matrix3::TransformPoint(float x, float y) const
{
    return {m[0] * x + m[1] * y + m[2], m[3] * x + m[4] * y + m[5]};
}

std::array<float, 3> Matrix3::TransformVector3(float x, float y, float z) const
{
    return {m[0] * x + m[1] * y + m[2] * z, m[3] * x + m[4] * y + m[5] * z, m[6] * x + m[7] * y + m[8] * z};
}

void Matrix3::PreMultiply(const Matrix3& left)
{
    Multiply(*this, left, *this);
}

void Matrix3::Translate(float tx, float ty)
{
    Matrix3 t;
    t.m[2] = tx;
    t.m[5] = ty;
    PreMultiply(t);
}

void Matrix3::Rotate(float radians)
{
    const auto c = static_cast<float>(std::cos(static_cast<double>(radians)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(radians)));
    Matrix3 r;
    r.m = {c, s, 0, -s, c, 0, 0, 0, 1};
    PreMultiply(r);
}

void Matrix3::RotateDeg(float degrees)
{
    Rotate(static_cast<float>(degrees * 3.1415927410125732 / 180.0));
}

void Matrix3::Scale(float sx, float sy)
{
    Matrix3 s;
    s.m[0] = sx;
    s.m[4] = sy;
    PreMultiply(s);
}
} // namespace Quoll
