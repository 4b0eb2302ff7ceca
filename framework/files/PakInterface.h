#pragma once
// The pack-file layer: every reader of game data opens its files here. A file is served
// from a mounted pack when a pack holds it, otherwise from the disk. Paths may use '\' or
// '/', doubled separators and any letter case: pack names are matched ignoring ASCII case,
// and on disk each component falls back to a case-insensitive match.
//
// The file calls mirror the C runtime's (fopen, fread, fseek, ftell, fgets, feof, fclose)
// and are safe to use from several threads, each on its own handles. Only reading is
// offered: a mode that writes or appends is refused.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <string>
#include <vector>

namespace Quoll
{
struct PakFileHandle;
struct PakFindHandle;
class MountedPak;

struct PakFindData
{
    std::string mFileName; // the entry's own name, no folder
    bool mIsDirectory = false;
    uint64_t mSize = 0;
};

class PakInterface
{
public:
    PakInterface();
    ~PakInterface();
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // The password of the packs mounted from now on.
    void SetPassword(const std::string& password);
    // Adds a pack to those read from; a pack mounted later is searched first. False, with
    // the reason in GetLastError, when the file is missing, corrupt or has another password.
    bool MountPakFile(const std::string& path);
    void UnmountAll();
    [[nodiscard]] std::string GetLastError() const;

    // Used by the PakF* calls.
    PakFileHandle* OpenEntry(const std::string& path) const;
    void ListEntries(const std::string& folderKey, const std::string& mask, std::vector<PakFindData>& out) const;

private:
    mutable std::shared_mutex mMutex;
    std::string mPassword;
    std::vector<std::shared_ptr<const MountedPak>> mPacks;
    std::string mLastError;
};

// The program-wide pack reader.
PakInterface* GetPakInterface();

// The pack-side key of a path: separators normalised, "." and ".." applied, ASCII lower
// case. Empty for an absolute path or one that leaves its root (such paths are disk only).
std::string PakKeyOfPath(const std::string& path);

// Null when the file is in no mounted pack and not on the disk, or the mode writes.
PakFileHandle* PakFOpen(const std::string& path, const char* mode = "rb");
// A read-only handle over bytes that the caller keeps alive until it is closed.
PakFileHandle* PakFOpenMemory(const void* data, size_t size);
size_t PakFRead(void* buffer, size_t size, size_t count, PakFileHandle* handle);
// SEEK_SET, SEEK_CUR or SEEK_END; 0 on success, -1 for another origin or a position
// before the start (the position is then unchanged). Seeking past the end is allowed.
int PakFSeek(PakFileHandle* handle, long offset, int origin);
long PakFTell(PakFileHandle* handle);
// Reads up to size - 1 characters, stopping after a '\n'; null at the end of the file.
char* PakFGets(char* buffer, int size, PakFileHandle* handle);
// Non-zero when the position is at or past the end of the file.
int PakFEof(PakFileHandle* handle);
int PakFClose(PakFileHandle* handle);

// Files and folders matching the last component of the pattern ('*' and '?', any case)
// in its folder, from the mounted packs and the disk, each name once. Null when nothing
// matches; otherwise the first match is in data.
PakFindHandle* PakFindFirstFile(const std::string& pattern, PakFindData* data);
bool PakFindNextFile(PakFindHandle* handle, PakFindData* data);
void PakFindClose(PakFindHandle* handle);

// Appends the names of the files (not folders) matching folder + "*." + extension.
bool ListFilesByExtension(const std::string& folder, const std::string& extension, std::vector<std::string>& out);

// Reads a whole file through the layer; false when it cannot be opened or read.
bool PakReadFile(const std::string& path, std::string& out);
// Reads the rest of an open file; false when a read error stopped it before the end.
bool PakReadAll(PakFileHandle* handle, std::string& out);
} // namespace Quoll
