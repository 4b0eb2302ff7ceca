#include "game/scene/Sprite.h"

#include "framework/display/Graphics.h"
#include "game/scene/Truncate.h"

using Quoll::Rect;

Rect GetCelRect(const Quoll::Image* image, int cel)
{
    if (image == nullptr || image->mNumCols < 1 || image->mNumRows < 1)
        return Rect();
    const int w = image->mWidth / image->mNumCols;
    const int h = image->mHeight / image->mNumRows;
    return Rect((cel % image->mNumCols) * w, (cel / image->mNumCols) * h, w, h);
}

void Sprite::SetScale(float scale)
{
    mTransform.mScaleX = scale;
    mTransform.mScaleY = scale;
    mTransform.Scale(1, 1);
}

void Sprite::Update(float /*dt*/) {}

void Sprite::Draw(Quoll::Graphics* g, float x, float y, const Quoll::Color& color)
{
    g->SetImageTint(true);
    if (mImage == nullptr)
        return;
    g->SetColor(color);
    const Rect source = mCel == -1 ? Rect(0, 0, mImage->mWidth, mImage->mHeight) : GetCelRect(mImage, mCel);
    DrawSourceRect(g, source, x, y);
}

void Sprite::DrawSourceRect(Quoll::Graphics* g, const Rect& source, float x, float y)
{
    const Quoll::Transform& t = mTransform;
    // Untransformed: the point is the top-left corner, whatever the centred flag says.
    if (!t.mComplex && !t.mHasRotation && !t.mHasScale)
    {
        if (mSubPixel)
            g->DrawImageF(mImage, x, y, source);
        else
            g->DrawImage(mImage, TruncToInt(x), TruncToInt(y), source);
        return;
    }
    if (mCentred)
    {
        g->DrawImageTransformF(mImage, t, source, x, y);
        return;
    }
    // Not centred: move the centre so that the scaled cel's top-left lies on the point.
    const float cx = x + static_cast<float>(source.width / 2) * t.mScaleX;
    const float cy = y + static_cast<float>(source.height / 2) * t.mScaleY;
    g->DrawImageTransformF(mImage, t, source, cx, cy);
}

int Sprite::GetWidth() const
{
    return mImage != nullptr ? mImage->GetCelWidth() : 0;
}

int Sprite::GetHeight() const
{
    return mImage != nullptr ? mImage->GetCelHeight() : 0;
}

Rect Sprite::GetRectAt(float x, float y) const
{
    if (mImage == nullptr)
        return Rect();
    const float w = static_cast<float>(GetWidth()) * mTransform.mScaleX;
    const float h = static_cast<float>(GetHeight()) * mTransform.mScaleY;
    if (mCentred)
        return Rect(TruncToInt(x - w * 0.5f), TruncToInt(y - h * 0.5f), TruncToInt(w), TruncToInt(h));
    return Rect(TruncToInt(x), TruncToInt(y), TruncToInt(w), TruncToInt(h));
}
