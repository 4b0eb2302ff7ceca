#pragma once
// PlayerDataLog: where the profile, saved-game, score and achievement code reports what it could
// not read or write. Lines go to a sink that the application points at its named logs ("WARNING"
// and "ERROR" of the game log) and its report of files that could not be saved; until it does,
// they go to the debug output. Tests install a sink of their own to see the lines.
#include <functional>
#include <string>

enum class PlayerLogKind
{
    Warning,
    Error,
    // A file could not be written; the line is the file's path. Reported once per file.
    WriteFailed,
};

using PlayerDataLogSink = std::function<void(PlayerLogKind kind, const std::string& line)>;

// Installs the sink (an empty one restores the debug output) and returns the previous one.
PlayerDataLogSink SetPlayerDataLogSink(PlayerDataLogSink sink);
void LogPlayerData(PlayerLogKind kind, const std::string& line);
