#pragma once
// ComicsState: shows one of the two comics over the state that pushed it and pops back at the
// viewer's command 0 (the end or a skip). The pushing state asks WasFinished on its resume to
// tell a comic seen to its end or skipped from one that could not be shown (its pictures did
// not load; the state then leaves at its next update).
#include "game/app/DialogState.h"

class ComicsState final : public DialogState
{
public:
    explicit ComicsState(StateHost& host) : DialogState(host, "ComicsState") {}

    // The comic the next entry shows: false the opening one, true the final one.
    void SetComic(bool finalComic) { mFinalComic = finalComic; }
    [[nodiscard]] bool IsFinalComic() const { return mFinalComic; }
    // Whether the viewer sent its command since the last entry.
    [[nodiscard]] bool WasFinished() const { return mFinished; }

    void OnEnter() override;

protected:
    BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    bool mFinalComic = false;
    bool mFinished = false;
};
