#include "game/app/StartLoadState.h"

#include "game/screens/TitleScreen.h"
#include "game/ui/UiServices.h"

BaseWidget* StartLoadState::CreateWidget()
{
    mTitle = new Quoll::TitleScreen(mArtLanguage ? mArtLanguage() : 0);
    return mTitle;
}

void StartLoadState::OnEnter()
{
    mLoadingFinished = false;
    mCreatingProfile = false;
    if (!Ui().LoadResourceGroup(kTitleGroup))
        Ui().LogWarning(std::string("The title screen's group ") + kTitleGroup + " did not load");
    Attach();
    if (mNext.loading != nullptr)
        PushState(*mNext.loading);
    else
        OnResume();
}

void StartLoadState::OnExit()
{
    Detach();
    mTitle = nullptr;
}

void StartLoadState::OnResume()
{
    if (mCreatingProfile)
    {
        // The first profile exists now: on to the menu.
        mCreatingProfile = false;
        if (mNext.mainMenu != nullptr)
            ChangeState(*mNext.mainMenu);
        return;
    }
    mLoadingFinished = true;
    if (mTitle == nullptr)
        return;
    mTitle->showPrompt = mLoadingFinished;
    // The loading bar held the keyboard; the title takes it back.
    Ui().SetFocus(mTitle);
}

void StartLoadState::OnCommand(int command, int)
{
    if (command != Quoll::TitleScreen::kCommandContinue || !mLoadingFinished || mCreatingProfile)
        return;
    const bool needsProfile = mNext.createProfile != nullptr && mNext.hasProfile && !mNext.hasProfile();
    if (needsProfile)
    {
        mCreatingProfile = true;
        PushState(*mNext.createProfile);
    }
    else if (mNext.mainMenu != nullptr)
        ChangeState(*mNext.mainMenu);
}
