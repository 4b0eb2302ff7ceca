#pragma once
// The framework's error log, "ScrError.txt": one line per message, "<text> HH:MM:SS <tick>",
// the time local on a 24-hour clock and the tick the system's millisecond count. The first
// line of a run empties the file; later lines are appended. The file is opened and closed for
// each line, in the current folder, or in the data folder when the current one is not
// writable. A line that cannot be written anywhere is lost silently.
#include <cstdint>
#include <mutex>
#include <string>

namespace Quoll
{
class ErrorLog
{
public:
    explicit ErrorLog(std::string fileName = "ScrError.txt") : mFileName(std::move(fileName)) {}

    void Append(const std::string& text);

    // The line as written, with its line feed.
    static std::string FormatLine(const std::string& text, int hours, int minutes, int seconds, uint32_t tick);

    // The log of the program.
    static ErrorLog& Program();

private:
    std::mutex mMutex;
    std::string mFileName;
    bool mFirstWrite = true;
};
} // namespace Quoll
