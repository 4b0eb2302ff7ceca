#pragma once
// The button of dialogs: a nine-part box cut from a component image of three equal columns
// (normal, over, down), the label shifted by one pixel while held; without a component image it
// is drawn as a plain button.
#include "framework/widgets/ButtonWidget.h"

namespace Quoll
{
class DialogButton : public ButtonWidget
{
public:
    DialogButton(Image* componentImage, int id, ButtonListener* listener);

    void Draw(Graphics* g) override;

    Image* mComponentImage; // not owned
};
} // namespace Quoll
