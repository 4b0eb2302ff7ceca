#pragma once
// A checkbox: a left click toggles it and tells the listener. Drawn with its checked or unchecked
// image, or without images as a box (colour 0 outline, 1 inside, 2 check mark).
#include "framework/widgets/CheckboxListener.h"
#include "framework/widgets/Widget.h"

namespace Quoll
{
class Image;

class Checkbox : public Widget
{
public:
    Checkbox(Image* uncheckedImage, Image* checkedImage, int id, CheckboxListener* listener);

    // With `tellListener` the listener hears of it, changed or not.
    void SetChecked(bool checked, bool tellListener = true);
    [[nodiscard]] bool IsChecked() const { return mChecked; }

    void Draw(Graphics* g) override;
    using Widget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;

    Image* mUncheckedImage; // not owned
    Image* mCheckedImage;   // not owned
    int mId;
    CheckboxListener* mListener;

private:
    bool mChecked = false;
};
} // namespace Quoll
