#pragma once
// DialogState: a state that shows one dialog made by its factory-like CreateWidget and closes
// (pops itself) when done. A dialog that did not attach (its resource group failed to load) is
// reported on the "WARNING" log and the state pops itself at its next update.
#include "game/shell/WidgetLink.h"

class DialogState : public WidgetLink
{
public:
    using WidgetLink::WidgetLink;

    void OnEnter() override;
    void Update() override;

protected:
    // Pops the state (after the current call has returned).
    void Close() { PopState(); }

private:
    bool mFailed = false;
};

// A state that shows a dialog made by a function and closes on any of its commands (the
// credits and scores dialogs).
template <typename MakeDialog> class CloseOnCommandState final : public DialogState
{
public:
    CloseOnCommandState(StateHost& host, std::string name, MakeDialog make)
        : DialogState(host, std::move(name)), mMake(std::move(make))
    {
    }

protected:
    BaseWidget* CreateWidget() override { return mMake(); }
    void OnCommand(int, int) override { Close(); }

private:
    MakeDialog mMake;
};
