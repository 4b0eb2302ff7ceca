#include "game/ui/BacSlider.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/ui/UiServices.h"

#include <algorithm>

namespace Quoll
{
std::vector<TextRecord> BacSlider::sSegments;

BacSlider::BacSlider(int id, SliderListener* listener)
    : Slider(Ui().GetImageNamed("IMAGE_SETTING_SLIDER_TRACK"), Ui().GetImageNamed("IMAGE_SETTING_SLIDER_THUMB"), id,
             listener)
{
    if (sSegments.empty())
        LoadTextRecords(sSegments, kSegmentFile, Ui());
}

int BacSlider::SegmentAt(int x)
{
    for (int i = static_cast<int>(sSegments.size()) - 1; i >= 0; --i)
    {
        const TextRecord& segment = sSegments[static_cast<size_t>(i)];
        if (segment.value1 <= x && x <= segment.value1 + segment.value3)
            return i;
    }
    return -1;
}

double BacSlider::ValueOf(int x) const
{
    return mWidth > 0 ? std::clamp(static_cast<double>(x) / mWidth, 0.0, 1.0) : 0.0;
}

void BacSlider::Draw(Graphics* g)
{
    g->PushState();
    g->SetImageTint(true);
    g->SetColor(mDisabled ? mDisabledColor : Color::White);
    if (mTrackImage != nullptr)
        g->DrawImage(mTrackImage, 0, 0);
    const int position = static_cast<int>(mWidth * mVal);
    if (!mDisabled && position != 0 && mThumbImage != nullptr)
    {
        for (size_t i = 0; i < sSegments.size(); ++i)
            if (position >= sSegments[i].value1)
                g->DrawImageCel(mThumbImage, sSegments[i].value1, sSegments[i].value2, static_cast<int>(i));
    }
    g->PopState();
}

// A press on a segment holds it for a drag; a press between segments sets the value there and,
// when that changes it, tells the listener at once.
void BacSlider::MouseDown(int x, int, int button, int)
{
    if (button != 0)
        return;
    if (SegmentAt(x) >= 0)
    {
        Ui().SetCursor(kCursorDrag);
        mRelX = x;
        mDragging = true;
        return;
    }
    SetValueByUser(ValueOf(x));
}

void BacSlider::MouseMove(int x, int)
{
    if (mHorizontal)
        Ui().SetCursor(SegmentAt(x) >= 0 ? kCursorDrag : kCursorArrow);
}

void BacSlider::MouseDrag(int x, int)
{
    if (mDragging)
        SetValueByUser(ValueOf(x));
}
} // namespace Quoll
