#include "game/shell/WidgetLink.h"

#include "game/shell/BaseWidget.h"
#include "game/shell/StateHost.h"

void WidgetLink::ReceiveCommand(int command, int argument)
{
    GetStateHost().DeliverCommand(*this, command, argument);
}

bool WidgetLink::IsWidgetAttached() const
{
    return mWidget != nullptr && mWidget->GetLink() == this;
}

void WidgetLink::Attach()
{
    Detach();
    mWidget = CreateWidget();
    if (mWidget != nullptr)
        mWidget->Attach(this);
}

void WidgetLink::Detach()
{
    BaseWidget* widget = mWidget;
    mWidget = nullptr;
    if (widget != nullptr)
        widget->Detach();
}
