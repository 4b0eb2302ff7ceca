#pragma once
// A slider: a value from 0 to 1 shown as a thumb along a track. A press on the thumb drags it, a
// press on the track moves the thumb there and drags from its middle; the listener hears of every
// change the user makes. Without images: colour 0 track, 1 thumb.
#include "framework/widgets/SliderListener.h"
#include "framework/widgets/Widget.h"

namespace Quoll
{
class Image;

class Slider : public Widget
{
public:
    Slider(Image* trackImage, Image* thumbImage, int id, SliderListener* listener);

    // Clamps to [0, 1] (anything not a number gives 0) and marks the slider dirty; the listener
    // is not told.
    virtual void SetValue(double value);
    [[nodiscard]] double GetValue() const { return mVal; }

    void Draw(Graphics* g) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseDrag(int x, int y) override;
    void MouseUp(int x, int y, int button, int clickCount) override;

    // The thumb's size along the track and its position (left or top edge).
    [[nodiscard]] int ThumbSize() const;
    [[nodiscard]] int ThumbPosition() const;

    double mVal = 0;
    SliderListener* mListener;
    int mId;
    Image* mTrackImage; // not owned
    Image* mThumbImage; // not owned
    bool mDragging = false;
    // Where inside the thumb the drag holds it.
    int mRelX = 0;
    bool mHorizontal = true;

protected:
    // The value for a thumb whose edge is at `position`, clamped; tells the listener on a change.
    void SetValueByUser(double value);
    [[nodiscard]] double ValueAt(int position) const;
};
} // namespace Quoll
