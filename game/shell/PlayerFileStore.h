#pragma once
// PlayerFileStore: the whole files the player's data lives in (the profile list, profiles, saved
// games, the score table), named relative to the player's data folder. Every write replaces the
// file whole; the application's store writes through its atomic whole-file writer, so a write
// that fails or is interrupted leaves the old file. MemoryFileStore keeps the files in memory for
// tests and tools.
//
// A file above kMaxFileSize is never read: no player file comes near it, so it is damage (or not
// the game's); it is logged and moved aside to "<name>.bad" like any damaged file. A write that
// fails is reported once per file (PlayerLogKind::WriteFailed with the file's path), however
// often it is tried again.
#include "framework/core/Buffer.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Quoll
{
class QuollAppBase;
}

// A file of the store's folder, as the folder lists it.
struct StoredFile
{
    std::string name;
    uint64_t size = 0;
    // Larger is later; comparable only between files of the same store.
    int64_t modified = 0;
};

class PlayerFileStore
{
public:
    // Well above the largest record a reader accepts (a saved game's body of at most 1 MiB); the
    // files the game writes stay near 3 KB.
    static constexpr uint64_t kMaxFileSize = uint64_t(4) << 20;

    virtual ~PlayerFileStore() = default;

    // The whole file into buffer (read position at its start); false when it cannot be read, the
    // buffer then unchanged. A file above kMaxFileSize is refused before it is read, logged and
    // moved aside to "<name>.bad".
    bool Read(const std::string& name, Quoll::Buffer& buffer);
    // Replaces the file by the buffer's bytes; false when that failed (the old file stays).
    bool Write(const std::string& name, const Quoll::Buffer& buffer);
    // Makes the file empty. The readers take an empty file for a missing one; emptying, unlike
    // removing, goes through the whole-file writer, so that a played-back demo sees it too.
    bool Erase(const std::string& name) { return Write(name, Quoll::Buffer()); }
    // Keeps the bytes of a file that could not be read beside it as "<name>.bad", so that the
    // defaults written over it later do not lose what was there. Returns the text the error
    // line ends with: "<name> corrupted; kept as <name>.bad" (or without the copy when it failed).
    std::string KeepDamaged(const std::string& name, const Quoll::Buffer& bytes);
    // Moves a file about to be replaced by a fresh record aside to "<name>.old" (a rename, which
    // needs no space; a copy of bytes, its content, where renaming fails); false when neither
    // worked.
    bool KeepOld(const std::string& name, const Quoll::Buffer& bytes);

    // The files directly in the store's folder.
    [[nodiscard]] virtual std::vector<StoredFile> List() = 0;
    // Where the file is, for the player's eyes.
    [[nodiscard]] virtual std::string GetPath(const std::string& name) const { return name; }

protected:
    virtual bool ReadFile(const std::string& name, Quoll::Buffer& buffer) = 0;
    virtual bool WriteFile(const std::string& name, const Quoll::Buffer& buffer) = 0;
    // The file's size without reading it; nullopt when it is not known (missing, or not on a disk).
    [[nodiscard]] virtual std::optional<uint64_t> GetSize(const std::string& name) = 0;
    virtual bool Rename(const std::string& from, const std::string& to) = 0;

private:
    std::set<std::string> mReportedWrites;
};

class MemoryFileStore : public PlayerFileStore
{
public:
    std::vector<StoredFile> List() override;

    // Writes fail while set (a full disk).
    void SetFailWrites(bool fail) { mFailWrites = fail; }
    [[nodiscard]] bool Has(const std::string& name) const { return mFiles.count(name) != 0; }
    [[nodiscard]] std::map<std::string, std::string> GetFiles() const;
    // The raw bytes of a file; also lets tests plant damaged files. Planting or writing a file
    // makes it the latest modified.
    void SetBytes(const std::string& name, std::string bytes);
    [[nodiscard]] std::string GetBytes(const std::string& name) const;
    // A file's modification stamp, for tests of the order of files.
    void SetModified(const std::string& name, int64_t modified);

protected:
    bool ReadFile(const std::string& name, Quoll::Buffer& buffer) override;
    bool WriteFile(const std::string& name, const Quoll::Buffer& buffer) override;
    [[nodiscard]] std::optional<uint64_t> GetSize(const std::string& name) override;
    bool Rename(const std::string& from, const std::string& to) override;

private:
    struct File
    {
        std::string bytes;
        int64_t modified = 0;
    };
    std::map<std::string, File> mFiles;
    int64_t mClock = 0;
    bool mFailWrites = false;
};

// The application's files under a folder (normally the per-user data folder), read, written,
// listed, sized and renamed through the application, so that demos record the outcomes and a
// played-back demo takes them from its records, leaving the folder untouched.
class AppFileStore : public PlayerFileStore
{
public:
    AppFileStore(Quoll::QuollAppBase& app, std::string folder);

    std::vector<StoredFile> List() override;
    [[nodiscard]] std::string GetPath(const std::string& name) const override;

protected:
    bool ReadFile(const std::string& name, Quoll::Buffer& buffer) override;
    bool WriteFile(const std::string& name, const Quoll::Buffer& buffer) override;
    [[nodiscard]] std::optional<uint64_t> GetSize(const std::string& name) override;
    bool Rename(const std::string& from, const std::string& to) override;

private:
    Quoll::QuollAppBase& mApp;
    std::string mFolder;
};
