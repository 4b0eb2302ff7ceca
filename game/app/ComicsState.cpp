#include "game/app/ComicsState.h"

#include "game/screens/ComicsViewer.h"

void ComicsState::OnEnter()
{
    mFinished = false;
    DialogState::OnEnter();
}

BaseWidget* ComicsState::CreateWidget()
{
    return new Quoll::ComicsViewer(mFinalComic);
}

void ComicsState::OnCommand(int /*command*/, int /*argument*/)
{
    if (mFinished) return;
    mFinished = true;
    Close();
}
