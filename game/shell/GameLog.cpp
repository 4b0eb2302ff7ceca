#include "game/shell/GameLog.h"

#include "framework/core/Common.h"

#include <filesystem>
#include <unistd.h>

bool Logger::IsEnabled() const
{
    return mOwner.IsEnabled(mName);
}

void Logger::Write(const std::string& line)
{
    mOwner.Write(mName, line);
}

GameLog& GameLog::Get()
{
    static GameLog log;
    return log;
}

GameLog::~GameLog()
{
    Close();
}

bool GameLog::Open(const std::string& path)
{
    return OpenFile(path, false);
}

bool GameLog::OpenHeld(const std::string& path)
{
    return OpenFile(path, true);
}

bool GameLog::OpenFile(const std::string& path, bool hold)
{
    std::lock_guard lock(mMutex);
    if (mFile.is_open())
        mFile.close();
    mHeld.clear();
    mFile.clear();
    // A held log appends: another copy's writes into the same file never leave a gap of zero bytes.
    mFile.open(path, std::ios::binary | (hold ? std::ios::app : std::ios::trunc));
    mHolding = hold && mFile.is_open();
    mPath = mFile.is_open() ? path : std::string();
    mOpener = ::getpid();
    return mFile.is_open();
}

void GameLog::StartAfresh()
{
    std::lock_guard lock(mMutex);
    StartAfreshLocked();
}

void GameLog::StartAfreshLocked()
{
    if (!mHolding)
        return;
    mHolding = false;
    std::error_code error;
    std::filesystem::resize_file(mPath, 0, error);
    for (const std::string& line : mHeld)
        mFile << line;
    mHeld.clear();
    mFile.flush();
}

void GameLog::Discard()
{
    std::lock_guard lock(mMutex);
    mHolding = false;
    mHeld.clear();
    mFile.close();
    mPath.clear();
}

void GameLog::Close()
{
    std::lock_guard lock(mMutex);
    if (mOpener != ::getpid())
    {
        mHolding = false;
        mHeld.clear();
    }
    StartAfreshLocked();
    mFile.close();
    mPath.clear();
}

bool GameLog::IsOpen() const
{
    std::lock_guard lock(mMutex);
    return mFile.is_open();
}

std::string GameLog::GetPath() const
{
    std::lock_guard lock(mMutex);
    return mPath;
}

void GameLog::SetFilter(const std::string& names)
{
    std::lock_guard lock(mMutex);
    mEnabled.clear();
    mAllEnabled = false;
    std::string name;
    auto flush = [&] {
        if (name == "*")
            mAllEnabled = true;
        else if (!name.empty())
            mEnabled.insert(name);
        name.clear();
    };
    for (char c : names)
    {
        if (c == ',' || c == ' ' || c == '\t')
            flush();
        else
            name += c;
    }
    flush();
}

bool GameLog::IsEnabled(const std::string& loggerName) const
{
    std::lock_guard lock(mMutex);
    return mAllEnabled || mEnabled.count(loggerName) != 0;
}

Logger& GameLog::GetLogger(const std::string& name)
{
    std::lock_guard lock(mMutex);
    std::unique_ptr<Logger>& logger = mLoggers[name];
    if (!logger)
        logger = std::make_unique<Logger>(*this, name);
    return *logger;
}

void GameLog::Write(const std::string& loggerName, const std::string& line)
{
    std::lock_guard lock(mMutex);
    if (!mFile.is_open() || !(mAllEnabled || mEnabled.count(loggerName) != 0))
        return;
    WriteLocked(loggerName, line);
}

bool GameLog::WriteChecked(const std::string& loggerName, const std::string& line)
{
    std::lock_guard lock(mMutex);
    if (!mFile.is_open())
        return false;
    // A write that failed before (the disk was full) does not keep this one out.
    mFile.clear();
    WriteLocked(loggerName, line);
    return mFile.good();
}

void GameLog::WriteLocked(const std::string& loggerName, const std::string& line)
{
    std::string whole = '[' + loggerName + "] " + line + '\n';
    if (mHolding)
    {
        mHeld.push_back(std::move(whole));
        return;
    }
    mFile << whole;
    mFile.flush();
}

LogRecord& LogRecord::operator<<(const std::wstring& text)
{
    mStream << Quoll::WStringToString(text);
    return *this;
}

LogRecord& LogRecord::operator<<(const wchar_t* text)
{
    return *this << std::wstring(text != nullptr ? text : L"");
}

Logger& GetAppLog()
{
    return GameLog::Get().GetLogger(kAppLogName);
}

Logger& GetDebugLog()
{
    return GameLog::Get().GetLogger(kDebugLogName);
}

Logger& GetWarningLog()
{
    return GameLog::Get().GetLogger(kWarningLogName);
}

Logger& GetErrorLog()
{
    return GameLog::Get().GetLogger(kErrorLogName);
}
