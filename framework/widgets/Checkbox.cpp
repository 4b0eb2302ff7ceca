#include "framework/widgets/Checkbox.h"

#include "framework/display/Graphics.h"

namespace Quoll
{
Checkbox::Checkbox(Image* uncheckedImage, Image* checkedImage, int id, CheckboxListener* listener)
    : mUncheckedImage(uncheckedImage), mCheckedImage(checkedImage), mId(id), mListener(listener)
{
    mColors = {Color(0, 0, 0), Color(255, 255, 255), Color(0, 0, 0)};
}

void Checkbox::SetChecked(bool checked, bool tellListener)
{
    mChecked = checked;
    MarkDirty();
    if (tellListener && mListener != nullptr)
        mListener->CheckboxChecked(mId, mChecked);
}

void Checkbox::Draw(Graphics* g)
{
    Image* image = mChecked ? mCheckedImage : mUncheckedImage;
    if (image != nullptr)
    {
        g->DrawImage(image, 0, 0);
        return;
    }
    g->SetColor(GetColor(1));
    g->FillRect(0, 0, mWidth, mHeight);
    g->SetColor(GetColor(0));
    g->DrawRect(0, 0, mWidth - 1, mHeight - 1);
    if (mChecked && mWidth > 6 && mHeight > 6)
    {
        g->SetColor(GetColor(2));
        g->FillRect(3, 3, mWidth - 6, mHeight - 6);
    }
}

void Checkbox::MouseDown(int, int, int button, int)
{
    if (button == 0)
        SetChecked(!mChecked, true);
}
} // namespace Quoll
