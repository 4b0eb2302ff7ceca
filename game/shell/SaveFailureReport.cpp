#include "game/shell/SaveFailureReport.h"

#include <string_view>

bool SaveFailureReport::Add(const std::string& path, const std::string& reason)
{
    {
        std::lock_guard lock(mMutex);
        if (!mFiles.insert(path).second)
            return false;
        if (mFirst.empty())
            mFirst = path;
    }
    mLog("Cannot save " + path + (reason.empty() ? std::string() : ": " + reason));
    return true;
}

std::optional<std::string> SaveFailureReport::TakeUntold()
{
    std::lock_guard lock(mMutex);
    if (mTold || mFirst.empty())
        return std::nullopt;
    mTold = true;
    return mFirst;
}

bool SaveFailureReport::IsEmpty() const
{
    std::lock_guard lock(mMutex);
    return mFiles.empty();
}

std::optional<SaveFailureReport::Failure> SaveFailureReport::ParseAtomicFileLine(const std::string& text)
{
    static constexpr std::string_view kFailedFor = " failed for ";
    const size_t start = text.find(kFailedFor);
    if (start == std::string::npos)
        return std::nullopt;
    const size_t pathStart = start + kFailedFor.size();
    const size_t reasonStart = text.rfind(": ");
    if (reasonStart == std::string::npos || reasonStart <= pathStart)
        return Failure{text.substr(pathStart), {}};
    return Failure{text.substr(pathStart, reasonStart - pathStart), text.substr(reasonStart + 2)};
}
