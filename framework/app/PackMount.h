#pragma once
// Mounting the program's pack file at start-up: a missing pack is normal (the files are read
// from the disk), but one that exists and cannot be mounted (empty, cut short, not a pack) is
// written to the error log with its path and the reason.
#include <string>

namespace Quoll
{
class ErrorLog;
class PakInterface;

// True when the pack was mounted. `error`, when given, receives the logged reason.
bool MountPackFileOrLog(PakInterface& paks, const std::string& path, ErrorLog& log, std::string* error = nullptr);
} // namespace Quoll
