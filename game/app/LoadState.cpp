#include "game/app/LoadState.h"

#include "game/screens/ProgressWidget.h"

BaseWidget* LoadState::CreateWidget()
{
    mBar = new Quoll::ProgressWidget;
    mBar->blackBackground = mBlackBackgroundRequested;
    mBlackBackgroundRequested = false;
    return mBar;
}

void LoadState::OnEnter()
{
    mDone = false;
    WidgetLink::OnEnter();
}

void LoadState::OnExit()
{
    WidgetLink::OnExit();
    mBar = nullptr;
}

void LoadState::Update()
{
    if (mDone)
        return;
    if (mLoading.finished && mLoading.finished())
    {
        OnLoadingCompleted();
        return;
    }
    if (mBar != nullptr && mLoading.progress)
        mBar->SetProgress(mLoading.progress());
}

void LoadState::OnLoadingCompleted()
{
    if (mDone)
        return;
    mDone = true;
    if (mBar != nullptr)
        mBar->SetProgress(1.0f);
    PopState();
}
