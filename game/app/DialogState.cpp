#include "game/app/DialogState.h"

#include "game/ui/UiServices.h"

void DialogState::OnEnter()
{
    mFailed = false;
    WidgetLink::OnEnter();
    if (!IsWidgetAttached())
    {
        mFailed = true;
        Ui().LogWarning(GetName() + ": its dialog could not be shown (its resources did not load); leaving");
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
