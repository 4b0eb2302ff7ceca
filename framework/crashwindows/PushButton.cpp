#include "framework/crashwindows/PushButton.h"

#include "framework/crashwindows/TextBox.h"

namespace Quoll
{
namespace
{
const Color kLabel(0, 0, 0);
const Color kDisabledLabel(128, 128, 128);
} // namespace

PushButton::PushButton(int id, ButtonListener* listener, const std::wstring& label, const Font* font)
    : ButtonWidget(id, listener)
{
    SetFont(font);
    SetLabel(label);
    SetColor(kColorBackground, TextBox::kFaceColor);
    SetColor(kColorLabelOver, kLabel);
}

void PushButton::SetDisabled(bool disabled)
{
    ButtonWidget::SetDisabled(disabled);
    SetColor(kColorLabel, disabled ? kDisabledLabel : kLabel);
    SetColor(kColorLabelOver, disabled ? kDisabledLabel : kLabel);
    MarkDirty();
}
} // namespace Quoll
