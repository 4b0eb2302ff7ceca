#pragma once
// WaitState: shows one widget (a splash or a modal dialog) until it sends its first command,
// stores that command with its argument, then changes to its next state or, without one, pops
// back to the state that pushed it. The state that comes next reads the stored result; it is
// cleared when the wait state is entered again. Commands after the first are ignored.
#include "game/shell/WidgetLink.h"

#include <functional>
#include <optional>

class WaitState : public WidgetLink
{
public:
    struct Result
    {
        int command;
        int argument;
    };
    using WidgetFactory = std::function<BaseWidget*()>;

    // Pops itself at the first command.
    WaitState(StateHost& host, std::string name, WidgetFactory factory = {});
    // Changes to `next` at the first command.
    WaitState(StateHost& host, std::string name, GameState& next, WidgetFactory factory = {});

    // The widget to show at the next entry (one wait state may show different dialogs).
    void SetWidgetFactory(WidgetFactory factory) { mFactory = std::move(factory); }
    // The state to change to; null to pop.
    void SetNextState(GameState* next) { mNext = next; }

    // The first command received since the last entry, if any.
    [[nodiscard]] const std::optional<Result>& GetResult() const { return mResult; }

    void OnEnter() override;

protected:
    [[nodiscard]] BaseWidget* CreateWidget() override;
    void OnCommand(int command, int argument) override;

private:
    WidgetFactory mFactory;
    GameState* mNext = nullptr;
    std::optional<Result> mResult;
};
