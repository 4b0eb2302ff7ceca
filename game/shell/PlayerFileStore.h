#pragma once
// PlayerFileStore: the whole files the player's data lives in (the profile list, profiles, saved
// games, the score table), named relative to the player's data folder. Every write replaces the
// file whole; the application's store writes through its atomic whole-file writer, so a write
// that fails or is interrupted leaves the old file. MemoryFileStore keeps the files in memory for
// tests and tools.
#include "framework/core/Buffer.h"

#include <map>
#include <string>

namespace Quoll
{
class QuollAppBase;
}

class PlayerFileStore
{
public:
    virtual ~PlayerFileStore() = default;

    // The whole file into buffer (read position at its start); false when it cannot be read, the
    // buffer then unchanged.
    virtual bool Read(const std::string& name, Quoll::Buffer& buffer) = 0;
    // Replaces the file by the buffer's bytes; false when that failed (the old file stays).
    virtual bool Write(const std::string& name, const Quoll::Buffer& buffer) = 0;
    // Makes the file empty. The readers take an empty file for a missing one; emptying, unlike
    // removing, goes through the whole-file writer, so that a played-back demo sees it too.
    bool Erase(const std::string& name) { return Write(name, Quoll::Buffer()); }
    // Keeps the bytes of a file that could not be read beside it as "<name>.bad", so that the
    // defaults written over it later do not lose what was there. Returns the text the error
    // line ends with: "<name> corrupted; kept as <name>.bad" (or without the copy when it failed).
    std::string KeepDamaged(const std::string& name, const Quoll::Buffer& bytes);
};

class MemoryFileStore : public PlayerFileStore
{
public:
    bool Read(const std::string& name, Quoll::Buffer& buffer) override;
    bool Write(const std::string& name, const Quoll::Buffer& buffer) override;

    // Writes fail while set (a full disk).
    void SetFailWrites(bool fail) { mFailWrites = fail; }
    [[nodiscard]] bool Has(const std::string& name) const { return mFiles.count(name) != 0; }
    [[nodiscard]] const std::map<std::string, std::string>& GetFiles() const { return mFiles; }
    // The raw bytes of a file; also lets tests plant damaged files.
    void SetBytes(const std::string& name, std::string bytes) { mFiles[name] = std::move(bytes); }
    [[nodiscard]] std::string GetBytes(const std::string& name) const;

private:
    std::map<std::string, std::string> mFiles;
    bool mFailWrites = false;
};

// The application's files under a folder (normally the per-user data folder), read and written
// through the application, so that demos record and replay the outcomes.
class AppFileStore : public PlayerFileStore
{
public:
    AppFileStore(Quoll::QuollAppBase& app, std::string folder);

    bool Read(const std::string& name, Quoll::Buffer& buffer) override;
    bool Write(const std::string& name, const Quoll::Buffer& buffer) override;

    [[nodiscard]] std::string GetPath(const std::string& name) const;

private:
    Quoll::QuollAppBase& mApp;
    std::string mFolder;
};
