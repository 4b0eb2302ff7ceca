#pragma once
// The game's log: named loggers ("APP", "DEBUG", "WARNING", "ERROR", or any other name) whose
// lines go to one file, "GameLog.txt" in the per-user data folder, recreated at each start
// (by the copy that runs, not by one that hands over to it: OpenHeld).
// A filter chooses which loggers write: "*" selects all, otherwise a list of names separated
// by commas or spaces. Lines are written whole and flushed at once, from any thread.
//
// A statement is one LogRecord: text streamed into it goes to its logger as one line when the
// record ends, at the end of the full expression that made it:
//   LogRecord(GetErrorLog()) << "Cannot open file: " << path;
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

class GameLog;

// One named log; lines written to it are stamped with its name ("[ERROR] text").
class Logger
{
public:
    Logger(GameLog& owner, std::string name) : mOwner(owner), mName(std::move(name)) {}
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    [[nodiscard]] const std::string& GetName() const { return mName; }
    [[nodiscard]] bool IsEnabled() const;
    void Write(const std::string& line);

private:
    GameLog& mOwner;
    std::string mName;
};

class GameLog
{
public:
    static constexpr const char* kFileName = "GameLog.txt";

    GameLog() = default;
    // Lines still held are written as Close writes them.
    ~GameLog();
    GameLog(const GameLog&) = delete;
    GameLog& operator=(const GameLog&) = delete;

    // The program's log.
    static GameLog& Get();

    // Recreates the file and writes to it from now on; false when it cannot be created (the
    // lines are dropped then, as before opening).
    bool Open(const std::string& path);
    // The start of a run that may yet hand over to a copy already running with the same log:
    // opens the file for appending without emptying it and holds the lines written from now on.
    // StartAfresh (this copy runs) empties the file and writes the held lines; Discard (this copy
    // hands over) drops them and closes the file, which stays as the running copy left it.
    // False when the file cannot be opened (the lines are dropped then, as before opening).
    bool OpenHeld(const std::string& path);
    void StartAfresh();
    void Discard();
    // A log still holding its lines starts afresh with them first: a start that failed before
    // the handshake is told in the log. Only the process that opened the log acts on the file:
    // a forked child that ends through the same exit code closes its copy and writes nothing.
    void Close();
    [[nodiscard]] bool IsOpen() const;
    [[nodiscard]] std::string GetPath() const;

    // "*" (the default) selects every logger; otherwise only the named ones write.
    void SetFilter(const std::string& names);
    [[nodiscard]] bool IsEnabled(const std::string& loggerName) const;

    // The logger of that name, created on first use; it lives as long as this log.
    Logger& GetLogger(const std::string& name);

    // One line of the named logger, when the filter lets it through.
    void Write(const std::string& loggerName, const std::string& line);
    // The same, whatever the filter; false when the file is not open or the line did not reach
    // it (a full disk).
    [[nodiscard]] bool WriteChecked(const std::string& loggerName, const std::string& line);

private:
    mutable std::mutex mMutex;
    // Open and OpenHeld: the file emptied, or appended to while its lines are held.
    bool OpenFile(const std::string& path, bool hold);
    void StartAfreshLocked();
    void WriteLocked(const std::string& loggerName, const std::string& line);

    std::ofstream mFile;
    std::string mPath;
    long mOpener = 0; // the id of the process that opened the file
    bool mHolding = false;
    std::vector<std::string> mHeld; // whole lines, in order
    bool mAllEnabled = true;
    std::set<std::string> mEnabled;
    std::map<std::string, std::unique_ptr<Logger>> mLoggers;
};

// One log statement; written to its logger when it ends. Wide text is written as UTF-8.
class LogRecord
{
public:
    explicit LogRecord(Logger& logger) : mLogger(logger) {}
    ~LogRecord() { mLogger.Write(mStream.str()); }
    LogRecord(const LogRecord&) = delete;
    LogRecord& operator=(const LogRecord&) = delete;

    template <typename T>
    LogRecord& operator<<(const T& value)
    {
        mStream << value;
        return *this;
    }
    LogRecord& operator<<(const std::wstring& text);
    LogRecord& operator<<(const wchar_t* text);

private:
    Logger& mLogger;
    std::ostringstream mStream;
};

// The loggers of the program's log.
inline constexpr const char* kAppLogName = "APP";
inline constexpr const char* kDebugLogName = "DEBUG";
inline constexpr const char* kWarningLogName = "WARNING";
inline constexpr const char* kErrorLogName = "ERROR";
Logger& GetAppLog();
Logger& GetDebugLog();
Logger& GetWarningLog();
Logger& GetErrorLog();
