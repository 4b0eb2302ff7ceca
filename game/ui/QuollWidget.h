#pragma once
// QuollWidget: the base of the game's full-screen screens. Attach puts the screen into the widget
// manager with the keyboard focus; Detach takes it out with its children and hands it to the
// deferred deletion, so a screen detached from inside one of its own handlers lives until that
// handler has returned.
#include "framework/widgets/Widget.h"
#include "game/shell/BaseWidget.h"

class QuollWidget : public Quoll::Widget, public BaseWidget
{
public:
    QuollWidget() = default;

    // Screens build themselves in their override and end by calling this one.
    void Attach(WidgetLink* link) override;
    void Detach() override;
};

// Takes every child out of the widget and hands it to the deferred deletion.
void DeleteChildrenLater(Quoll::Widget& widget);
