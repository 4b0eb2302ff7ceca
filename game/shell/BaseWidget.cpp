#include "game/shell/BaseWidget.h"

#include "game/shell/FlowLog.h"
#include "game/shell/WidgetLink.h"

#include <string>

void BaseWidget::SendToLink(int command, int argument)
{
    if (mLink == nullptr)
    {
        FlowLog().Warning("A widget without a state sent command " + std::to_string(command) + ", dropped");
        return;
    }
    mLink->ReceiveCommand(command, argument);
}
