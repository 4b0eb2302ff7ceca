#pragma once
// A push button of the crash windows: the toolkit's framed button with a black label, grey
// while the button is disabled.
#include "framework/widgets/ButtonWidget.h"

#include <string>

namespace Quoll
{
class PushButton final : public ButtonWidget
{
public:
    PushButton(int id, ButtonListener* listener, const std::wstring& label, const Font* font);

    void SetDisabled(bool disabled) override;
};
} // namespace Quoll
