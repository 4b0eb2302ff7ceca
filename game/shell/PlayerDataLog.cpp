#include "game/shell/PlayerDataLog.h"

#include "framework/core/DebugOutput.h"

#include <mutex>
#include <utility>

namespace
{
std::mutex gSinkMutex;
PlayerDataLogSink gSink;
} // namespace

PlayerDataLogSink SetPlayerDataLogSink(PlayerDataLogSink sink)
{
    std::lock_guard lock(gSinkMutex);
    return std::exchange(gSink, std::move(sink));
}

void LogPlayerData(PlayerLogKind kind, const std::string& line)
{
    PlayerDataLogSink sink;
    {
        std::lock_guard lock(gSinkMutex);
        sink = gSink;
    }
    if (sink)
    {
        sink(kind, line);
        return;
    }
    if (kind == PlayerLogKind::WriteFailed)
        Quoll::OutputDebugText("ERROR: Cannot write " + line + "\n");
    else
        Quoll::OutputDebugText((kind == PlayerLogKind::Error ? "ERROR: " : "WARNING: ") + line + "\n");
}
