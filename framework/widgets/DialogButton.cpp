#include "framework/widgets/DialogButton.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"

namespace Quoll
{
DialogButton::DialogButton(Image* componentImage, int id, ButtonListener* listener)
    : ButtonWidget(id, listener), mComponentImage(componentImage)
{
}

void DialogButton::Draw(Graphics* g)
{
    if (mNoDraw)
        return;
    if (mComponentImage == nullptr || HasImages())
    {
        ButtonWidget::Draw(g);
        return;
    }
    const bool pressed = IsPressed();
    const int column = mDisabled ? 0 : pressed ? 2 : mIsOver ? 1 : 0;
    const int columnWidth = mComponentImage->mWidth / 3;
    if (columnWidth > 0)
        g->DrawImageBox(Rect(0, 0, mWidth, mHeight), Rect(column * columnWidth, 0, columnWidth, mComponentImage->mHeight),
                        mComponentImage);
    DrawLabel(g, pressed ? 1 : 0, pressed ? 1 : 0);
}
} // namespace Quoll
