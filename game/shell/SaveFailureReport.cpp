#include "game/shell/SaveFailureReport.h"

#include <string_view>

void SaveFailureReport::SetCoverage(const std::string& playerFolder, const std::string& settingsFile)
{
    std::lock_guard lock(mMutex);
    mPlayerFolder = playerFolder;
    while (mPlayerFolder.size() > 1 && mPlayerFolder.back() == '/')
        mPlayerFolder.pop_back();
    mSettingsFile = settingsFile;
}

bool SaveFailureReport::Covers(const std::string& path) const
{
    const size_t separator = path.rfind('/');
    return IsSettingsFile(path) || (separator != std::string::npos && IsPlayerFolder(path.substr(0, separator)));
}

bool SaveFailureReport::IsSettingsFile(const std::string& path) const
{
    std::lock_guard lock(mMutex);
    return !mSettingsFile.empty() && path == mSettingsFile;
}

bool SaveFailureReport::IsPlayerFolder(const std::string& folder) const
{
    std::lock_guard lock(mMutex);
    std::string trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    return !mPlayerFolder.empty() && trimmed == mPlayerFolder;
}

SaveFailureReport::FolderKind SaveFailureReport::GetFolderKind(const std::string& folder) const
{
    if (IsPlayerFolder(folder))
        return FolderKind::Player;
    std::lock_guard lock(mMutex);
    const size_t separator = mSettingsFile.rfind('/');
    if (separator != std::string::npos)
        return folder.rfind(mSettingsFile.substr(0, separator), 0) == 0 ? FolderKind::Settings : FolderKind::Player;
    return mPlayerFolder.empty() ? FolderKind::Unknown : FolderKind::Settings;
}

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
