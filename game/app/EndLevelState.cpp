#include "game/app/EndLevelState.h"

#include "game/app/GameApp.h"

EndLevelState::EndLevelState(StateHost& host, GameApp& app)
    : WaitState(host, "EndLevelState"), mApp(app), mServices(app)
{
}

void EndLevelState::Prepare(const EndLevelResult& result, const EndLevelScores& scores,
                            bool fireworks, bool endless)
{
    SetWidgetFactory(
        [this, result, scores, fireworks, endless]() -> BaseWidget*
        {
            auto* dialog = new EndLevelDlg(mServices, result, scores);
            if (fireworks) dialog->StartFireworks(endless);
            return dialog;
        });
}

EndLevelDlg* EndLevelState::GetDialog() const
{
    return IsWidgetAttached() ? static_cast<EndLevelDlg*>(GetWidget()) : nullptr;
}

void EndLevelState::OnEnter()
{
    WaitState::OnEnter();
    if (IsWidgetAttached()) return;
    mApp.LogError("The end-of-level dialog cannot be shown");
    PopState();
}
