#pragma once
// SaveFailureReport: the files this session could not write. Each file is logged once, however
// often its write is tried again, and the player is told once per session, about the first
// file. Files are reported from any thread; the player is told on the main thread (TakeUntold).
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>

class SaveFailureReport
{
public:
    using LogLine = std::function<void(const std::string& line)>;

    explicit SaveFailureReport(LogLine log) : mLog(std::move(log)) {}

    // The files the report is about: those directly in the player's folder, and the settings
    // file (either may be empty: none).
    void SetCoverage(const std::string& playerFolder, const std::string& settingsFile);
    [[nodiscard]] bool Covers(const std::string& path) const;
    [[nodiscard]] bool IsSettingsFile(const std::string& path) const;
    [[nodiscard]] bool IsPlayerFolder(const std::string& folder) const;
    // What a user folder that cannot be made holds: the game's only ones are the player's and the
    // settings' folders (told apart by whichever of the two is known).
    enum class FolderKind
    {
        Player,
        Settings,
        Unknown,
    };
    [[nodiscard]] FolderKind GetFolderKind(const std::string& folder) const;

    // A write of the file (its full path) failed; reason is the system's, or empty. The line
    // "Cannot save <path>: <reason>" is logged when the file is new to the report; true then.
    bool Add(const std::string& path, const std::string& reason);
    // The path of the first file that failed, once: the player is told about it now.
    [[nodiscard]] std::optional<std::string> TakeUntold();
    [[nodiscard]] bool IsEmpty() const;

    // The path of the file that an "AtomicFile" line of the platform's log says failed to be
    // written ("<step> failed for <path>: <reason>"), and the reason; nullopt for other lines.
    struct Failure
    {
        std::string path;
        std::string reason;
    };
    [[nodiscard]] static std::optional<Failure> ParseAtomicFileLine(const std::string& text);

private:
    mutable std::mutex mMutex;
    LogLine mLog;
    std::string mPlayerFolder;
    std::string mSettingsFile;
    std::set<std::string> mFiles;
    std::string mFirst;
    bool mTold = false;
};
