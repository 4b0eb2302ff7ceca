#pragma once
// WidgetLink: a game state that shows a widget (a screen or a dialog) and acts on the numbered
// commands the widget sends. Attach makes the widget (CreateWidget, each state its own) and
// hands it the link; Detach has the widget take itself out and forgets it. By default entering
// the state attaches and leaving detaches; a state that overrides the hooks calls Attach and
// Detach itself where it needs them, and the host detaches a widget left attached once the
// state is off the stack.
//
// A command goes from the widget (BaseWidget::SendToLink) through ReceiveCommand to the host,
// which logs it and calls OnCommand; stack changes asked for in OnCommand take effect after it
// has returned.
#include "game/shell/GameState.h"

class BaseWidget;

class WidgetLink : public GameState
{
public:
    using GameState::GameState;

    // The way in for the widget's commands.
    void ReceiveCommand(int command, int argument);

    // The widget made by the last Attach; null before it and after Detach.
    [[nodiscard]] BaseWidget* GetWidget() const { return mWidget; }
    // Whether the widget took the link (a dialog whose resources failed to load does not).
    [[nodiscard]] bool IsWidgetAttached() const;

    void OnEnter() override { Attach(); }
    void OnExit() override { Detach(); }
    void AfterExit() final { Detach(); }

protected:
    // Makes the state's widget (owned by the widget toolkit from then on); may return null.
    [[nodiscard]] virtual BaseWidget* CreateWidget() = 0;
    virtual void OnCommand(int command, int argument) = 0;

    // Makes the widget and attaches it (a widget still attached is detached first).
    void Attach();
    // Detaches the widget, if any, and forgets it.
    void Detach();

private:
    friend class StateHost;

    BaseWidget* mWidget = nullptr;
};
