#include "game/shell/FlowLog.h"

#include "game/shell/GameLog.h"

namespace
{
FlowLog::Sink GameLogSink(const char* loggerName)
{
    Logger* logger = &GameLog::Get().GetLogger(loggerName);
    return [logger](const std::string& line) { logger->Write(line); };
}
} // namespace

FlowLog::FlowLog() : mFlow(GameLogSink(kLoggerName)), mWarning(GameLogSink(kWarningLogName)) {}

void FlowLog::Push(int update, const std::string& state) const
{
    Write(std::to_string(update) + " push " + state);
}

void FlowLog::Pop(int update, const std::string& state) const
{
    Write(std::to_string(update) + " pop " + state);
}

void FlowLog::Change(int update, const std::string& oldState, const std::string& newState) const
{
    Write(std::to_string(update) + " change " + oldState + " " + newState);
}

void FlowLog::Command(int update, const std::string& state, int command, int argument) const
{
    Write(std::to_string(update) + " command " + state + " " + std::to_string(command) + " " +
          std::to_string(argument));
}

void FlowLog::Warning(const std::string& line) const
{
    if (mWarning)
        mWarning(line);
}

void FlowLog::Write(const std::string& line) const
{
    if (mFlow)
        mFlow(line);
}
