#include "framework/display/Transform.h"

namespace Quoll
{
void Transform::Reset()
{
    mStale = true;
    mComplex = false;
    mTransX1 = mTransY1 = mTransX2 = mTransY2 = 0;
    mScaleX = mScaleY = 1;
    mRotation = 0;
    mHasRotation = mHasScale = false;
}

void Transform::Rotate(float radians)
{
    if (!mComplex && mHasScale)
        MakeComplex();
    if (mComplex)
    {
        mMatrix.Rotate(radians);
        return;
    }
    mRotation += radians;
    mStale = true;
    mHasRotation = true;
}

void Transform::Scale(float sx, float sy)
{
    if (mComplex)
    {
        mMatrix.Scale(sx, sy);
        return;
    }
    // The simple form holds a scale only without rotation and first translation; a negative x
    // scale only as the single mirror of an unscaled image.
    const bool simple = !mHasRotation && mTransX1 == 0 && mTransY1 == 0 &&
                        (sx >= 0 || mScaleX * sx == -1.0f) && sy >= 0;
    if (simple)
    {
        mScaleX *= sx;
        mScaleY *= sy;
        mStale = true;
        mHasScale = true;
        return;
    }
    MakeComplex();
    mMatrix.Scale(sx, sy);
}

void Transform::MakeComplex()
{
    if (mComplex)
        return;
    // Build the matrix from the simple form before it becomes authoritative.
    UpdateMatrix();
    mComplex = true;
}

void Transform::UpdateMatrix()
{
    if (!mStale || mComplex)
        return;
    mStale = false;
    mMatrix.LoadIdentity();
    mMatrix.m[2] = mTransX1;
    mMatrix.m[5] = mTransY1;
    if (mHasScale)
    {
        mMatrix.m[0] = mScaleX;
        mMatrix.m[4] = mScaleY;
    }
    else if (mHasRotation)
    {
        mMatrix.Rotate(mRotation);
    }
    if (mTransX2 != 0 || mTransY2 != 0)
        mMatrix.Translate(mTransX2, mTransY2);
}

const Matrix3& Transform::GetMatrix()
{
    UpdateMatrix();
    return mMatrix;
}
} // namespace Quoll
