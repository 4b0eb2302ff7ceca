#pragma once
// The framework's error log, "ScrError.txt": one line per message, "<text> HH:MM:SS <tick>",
// the time local on a 24-hour clock and the tick the system's millisecond count. The first
// line of a run empties the file; later lines are appended. The file is opened and closed for
// each line, in the current folder, or in the data folder when the current one is not
// writable. A line that cannot be written anywhere is lost from the file silently.
//
// Every line also goes to the log's sink, when the program installed one (the game's own log):
// the framework sits below the program and cannot write there itself.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace Quoll
{
enum class ErrorLogLevel
{
    Warning, // the program goes on as well as it can
    Error,
};

// Receives each line of the log, without its time.
using ErrorLogSink = void (*)(ErrorLogLevel level, const std::string& text);

class ErrorLog
{
public:
    explicit ErrorLog(std::string fileName = "ScrError.txt") : mFileName(std::move(fileName)) {}

    void Append(const std::string& text) { Append(text, ErrorLogLevel::Error, {}); }
    // The line as an error or a warning; `detail`, when given, reaches only the sink, after the
    // text in brackets (a library's own error text that the user's file leaves out).
    void Append(const std::string& text, ErrorLogLevel level, const std::string& detail);

    // Installs the sink (null: none); returns the previous one.
    ErrorLogSink SetSink(ErrorLogSink sink) { return mSink.exchange(sink); }

    // The line as written, with its line feed.
    static std::string FormatLine(const std::string& text, int hours, int minutes, int seconds, uint32_t tick);

    // The log of the program.
    static ErrorLog& Program();

private:
    std::mutex mMutex;
    std::string mFileName;
    bool mFirstWrite = true;
    std::atomic<ErrorLogSink> mSink{nullptr};
};
} // namespace Quoll
