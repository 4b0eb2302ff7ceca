#include "game/ui/QuollWidget.h"

#include "game/ui/UiServices.h"

void DeleteChildrenLater(Quoll::Widget& widget)
{
    const std::vector<Quoll::Widget*> children = widget.GetWidgets();
    for (Quoll::Widget* child : children)
    {
        widget.RemoveWidget(child);
        Ui().DeleteWidgetLater(child);
    }
}

void QuollWidget::Attach(WidgetLink* link)
{
    BaseWidget::Attach(link);
    Ui().AddWidget(this);
    Ui().SetFocus(this);
}

void QuollWidget::Detach()
{
    BaseWidget::Detach();
    if (GetParent() != nullptr)
        Ui().RemoveWidget(this);
    DeleteChildrenLater(*this);
    Ui().DeleteWidgetLater(this);
}
