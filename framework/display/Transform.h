#pragma once
// A 2D transform kept in a cheap simple form (first translation, scale or rotation, second
// translation) and turned into a Matrix3 only when needed. Mixing scale and rotation, or scaling
// after a first translation, switches it for good to the complex form, where the matrix is
// authoritative. Owners read and write the simple fields directly.
#include "framework/display/Matrix3.h"

namespace Quoll
{
class Transform
{
public:
    Transform() { Reset(); }

    void Reset();
    void Rotate(float radians);
    void Scale(float sx, float sy);
    void MakeComplex();
    void UpdateMatrix();
    const Matrix3& GetMatrix();

    Matrix3 mMatrix;
    bool mStale = true;
    bool mComplex = false;
    bool mHasRotation = false;
    bool mHasScale = false;
    float mTransX1 = 0;
    float mTransY1 = 0;
    float mTransX2 = 0;
    float mTransY2 = 0;
    float mScaleX = 1;
    float mScaleY = 1;
    float mRotation = 0;
};
} // namespace Quoll
