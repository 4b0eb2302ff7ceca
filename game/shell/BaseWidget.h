#pragma once
// BaseWidget: the widget side of the link between a game state and the screen or dialog it
// shows (the state side is WidgetLink). A mixin placed after the framework widget part of each
// game widget; it holds the link while the widget is attached and sends the widget's numbered
// commands through it. The game's screen and dialog bases replace Attach and Detach to put the
// widget into the widget manager and take it out again.
class WidgetLink;

class BaseWidget
{
public:
    BaseWidget(const BaseWidget&) = delete;
    BaseWidget& operator=(const BaseWidget&) = delete;

    // Stores the link.
    virtual void Attach(WidgetLink* link) { mLink = link; }
    // Forgets the link.
    virtual void Detach() { mLink = nullptr; }
    // Hands a command with its argument, unchanged, to the link's state. Without a link (the
    // widget is not attached) the command is dropped with a line on the "WARNING" log.
    virtual void SendToLink(int command, int argument);

    [[nodiscard]] WidgetLink* GetLink() const { return mLink; }

protected:
    BaseWidget() = default;
    // Not virtual: the owning widget's destructor is the one that runs.
    ~BaseWidget() = default;

private:
    WidgetLink* mLink = nullptr;
};
