#include "game/app/DialogState.h"

#include "game/shell/FlowLog.h"

void DialogState::OnEnter()
{
    mFailed = false;
    WidgetLink::OnEnter();
    if (!IsWidgetAttached())
    {
        mFailed = true;
        FlowLog().Warning(GetName() + ": its dialog could not be shown (its resources did not load); leaving");
    }
}

void DialogState::Update()
{
    if (mFailed)
    {
        mFailed = false;
        Close();
    }
}
