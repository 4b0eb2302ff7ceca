#pragma once
// LoadState: shows the loading progress bar over the screen below it (or over black on a
// one-shot request), feeds it the loading thread's progress at every update and pops itself
// once loading has finished, whether the completion reaches it or had arrived before it was
// pushed.
#include "game/shell/WidgetLink.h"

#include <functional>

namespace Quoll
{
class ProgressWidget;
}

class LoadState final : public WidgetLink
{
public:
    struct Loading
    {
        // The fraction loaded so far, 0..1.
        std::function<float()> progress;
        // Whether the loading thread's work has finished and its completion was picked up.
        std::function<bool()> finished;
    };

    LoadState(StateHost& host, Loading loading) : WidgetLink(host, "LoadState"), mLoading(std::move(loading)) {}

    // The next bar shows over a black screen (the request is used once).
    void RequestBlackBackground() { mBlackBackgroundRequested = true; }

    void OnEnter() override;
    void OnExit() override;
    void Update() override;
    void OnLoadingCompleted() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int, int) override {}

private:
    Loading mLoading;
    Quoll::ProgressWidget* mBar = nullptr;
    bool mBlackBackgroundRequested = false;
    bool mDone = false;
};
