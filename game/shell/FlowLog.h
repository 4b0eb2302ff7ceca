#pragma once
// The flow log: one line for every push, pop, change and command the state machine carries
// out, stamped with the logic update it happened in, in the named log "FLOW" of the game log.
// Lines (after the log's own "[FLOW] " stamp):
//   <update> push <state>
//   <update> pop <state>                  (the state taken off)
//   <update> change <old state> <new state>
//   <update> command <state> <command> <argument>
// Requests the machine refuses are reported on the "WARNING" log. Tests may give sinks of
// their own; by default both go to the program's game log.
#include <functional>
#include <string>

class FlowLog
{
public:
    using Sink = std::function<void(const std::string& line)>;

    static constexpr const char* kLoggerName = "FLOW";

    // Lines to the game log's "FLOW" and "WARNING" loggers.
    FlowLog();
    FlowLog(Sink flow, Sink warning) : mFlow(std::move(flow)), mWarning(std::move(warning)) {}

    void Push(int update, const std::string& state) const;
    void Pop(int update, const std::string& state) const;
    void Change(int update, const std::string& oldState, const std::string& newState) const;
    void Command(int update, const std::string& state, int command, int argument) const;
    void Warning(const std::string& line) const;

private:
    void Write(const std::string& line) const;

    Sink mFlow;
    Sink mWarning;
};
