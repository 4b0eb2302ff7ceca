#pragma once
// Doubles of the state-machine tests: a host whose flow and warning lines are kept in memory,
// states that write every hook they receive to a shared journal and may run an action in any
// hook, and a screen widget that lives in a real widget manager and sends commands when it is
// clicked.
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/shell/BaseWidget.h"
#include "game/shell/GameState.h"
#include "game/shell/StateHost.h"
#include "game/shell/WidgetLink.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ShellTest
{
using Journal = std::vector<std::string>;

// A host with its log lines in memory.
struct RecordingHost
{
    std::vector<std::string> flow;
    std::vector<std::string> warnings;
    StateHost host{FlowLog([this](const std::string& line) { flow.push_back(line); },
                           [this](const std::string& line) { warnings.push_back(line); })};
};

// Writes "<name>.<hook>" for every hook; an action set for a hook runs after the entry.
class JournalState : public GameState
{
public:
    JournalState(StateHost& host, const std::string& name, Journal& journal) : GameState(host, name), mJournal(journal)
    {
    }

    std::map<std::string, std::function<void()>> actions;

    void OnEnter() override { Hook("enter"); }
    void OnExit() override { Hook("exit"); }
    void OnPause() override { Hook("pause"); }
    void OnResume() override { Hook("resume"); }
    void Update() override { Hook("update"); }
    void OnLoadingCompleted() override { Hook("loaded"); }

    // The requests, public for the tests.
    using GameState::ChangeState;
    using GameState::PopState;
    using GameState::PushState;

    void Note(const std::string& what) { mJournal.push_back(GetName() + "." + what); }

private:
    void Hook(const std::string& hook)
    {
        Note(hook);
        if (auto it = actions.find(hook); it != actions.end() && it->second)
            it->second();
    }

    Journal& mJournal;
};

// A full-screen widget that puts itself into the manager when attached and hands itself to the
// manager's deferred deletion when detached. A click sends command 7 with the x position; a key
// sends the key code as the command.
class FakeScreen final : public Quoll::Widget, public BaseWidget
{
public:
    FakeScreen(Quoll::WidgetManager& manager, Journal& journal, int* alive)
        : mManager(manager), mJournal(journal), mAlive(alive)
    {
        Resize(0, 0, 100, 100);
        ++*mAlive;
    }
    ~FakeScreen() override { --*mAlive; }

    void Attach(WidgetLink* link) override
    {
        BaseWidget::Attach(link);
        mManager.AddWidget(this);
        mManager.SetFocus(this);
        mJournal.push_back("widget.attach");
    }
    void Detach() override
    {
        mJournal.push_back("widget.detach");
        BaseWidget::Detach();
        mManager.SafeDeleteWidget(this);
    }

    using Widget::MouseDown;
    void MouseDown(int x, int, int, int) override
    {
        SendToLink(7, x);
        // Still alive here (freed after the input walk), whatever the state did in its handler.
        mJournal.push_back(GetLink() != nullptr ? "widget.after-send linked" : "widget.after-send unlinked");
    }
    bool WantsFocus() override { return true; }
    void KeyDown(int key) override { SendToLink(key, 0); }

private:
    Quoll::WidgetManager& mManager;
    Journal& mJournal;
    int* mAlive;
};

// A state showing a FakeScreen; its commands run the action set for them (or none).
class ScreenState : public WidgetLink
{
public:
    ScreenState(StateHost& host, const std::string& name, Quoll::WidgetManager& manager, Journal& journal,
                int* alive)
        : WidgetLink(host, name), mManager(manager), mJournal(journal), mAlive(alive)
    {
    }

    std::map<int, std::function<void(int)>> commands;
    int created = 0;

    using WidgetLink::PopState;
    using WidgetLink::PushState;

protected:
    BaseWidget* CreateWidget() override
    {
        ++created;
        return new FakeScreen(mManager, mJournal, mAlive);
    }
    void OnCommand(int command, int argument) override
    {
        mJournal.push_back(GetName() + ".command " + std::to_string(command) + " " + std::to_string(argument));
        if (auto it = commands.find(command); it != commands.end())
            it->second(argument);
        mJournal.push_back(GetName() + ".command-end");
    }

private:
    Quoll::WidgetManager& mManager;
    Journal& mJournal;
    int* mAlive;
};
} // namespace ShellTest
