#include "framework/widgets/Slider.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"

#include <algorithm>
#include <cmath>

namespace Quoll
{
namespace
{
constexpr int kDefaultThumbSize = 10;

double Clamped(double value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0, 1.0);
}
} // namespace

Slider::Slider(Image* trackImage, Image* thumbImage, int id, SliderListener* listener)
    : mListener(listener), mId(id), mTrackImage(trackImage), mThumbImage(thumbImage)
{
    mColors = {Color(96, 96, 96), Color(220, 220, 220)};
}

void Slider::SetValue(double value)
{
    mVal = Clamped(value);
    MarkDirtyFull();
}

void Slider::SetValueByUser(double value)
{
    const double clamped = Clamped(value);
    if (clamped == mVal)
        return;
    mVal = clamped;
    MarkDirtyFull();
    if (mListener != nullptr)
        mListener->SliderVal(mId, mVal);
}

int Slider::ThumbSize() const
{
    if (mThumbImage != nullptr)
        return mHorizontal ? mThumbImage->GetCelWidth() : mThumbImage->GetCelHeight();
    return kDefaultThumbSize;
}

int Slider::ThumbPosition() const
{
    const int travel = (mHorizontal ? mWidth : mHeight) - ThumbSize();
    return travel > 0 ? static_cast<int>(mVal * travel) : 0;
}

double Slider::ValueAt(int position) const
{
    const int travel = (mHorizontal ? mWidth : mHeight) - ThumbSize();
    return travel > 0 ? static_cast<double>(position) / travel : 0.0;
}

void Slider::Draw(Graphics* g)
{
    const int thumb = ThumbPosition();
    if (mTrackImage != nullptr)
    {
        const Rect source(0, 0, mTrackImage->mWidth, mTrackImage->mHeight);
        if (mHorizontal)
            g->DrawImage(mTrackImage, Rect(0, (mHeight - source.height) / 2, mWidth, source.height), source);
        else
            g->DrawImage(mTrackImage, Rect((mWidth - source.width) / 2, 0, source.width, mHeight), source);
    }
    else
    {
        g->SetColor(GetColor(0));
        if (mHorizontal)
            g->FillRect(0, mHeight / 2 - 2, mWidth, 4);
        else
            g->FillRect(mWidth / 2 - 2, 0, 4, mHeight);
    }
    if (mThumbImage != nullptr)
    {
        const int cellWidth = mThumbImage->GetCelWidth(), cellHeight = mThumbImage->GetCelHeight();
        if (mHorizontal)
            g->DrawImageCel(mThumbImage, thumb, (mHeight - cellHeight) / 2, 0);
        else
            g->DrawImageCel(mThumbImage, (mWidth - cellWidth) / 2, thumb, 0);
        return;
    }
    g->SetColor(GetColor(1));
    if (mHorizontal)
        g->FillRect(thumb, 0, kDefaultThumbSize, mHeight);
    else
        g->FillRect(0, thumb, mWidth, kDefaultThumbSize);
}

void Slider::MouseDown(int x, int y, int button, int)
{
    if (button != 0)
        return;
    const int position = mHorizontal ? x : y;
    const int thumb = ThumbPosition();
    const int size = ThumbSize();
    if (position >= thumb && position < thumb + size)
        mRelX = position - thumb;
    else
    {
        mRelX = size / 2;
        SetValueByUser(ValueAt(position - mRelX));
    }
    mDragging = true;
}

void Slider::MouseDrag(int x, int y)
{
    if (mDragging)
        SetValueByUser(ValueAt((mHorizontal ? x : y) - mRelX));
}

void Slider::MouseUp(int, int, int, int)
{
    mDragging = false;
}
} // namespace Quoll
