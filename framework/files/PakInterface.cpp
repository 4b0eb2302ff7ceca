#include "framework/files/PakInterface.h"

#include "framework/platform/system/MappedFile.h"
#include "framework/platform/system/Path.h"
#include "framework/files/PakFormat.h"
#include "framework/files/PakScrambler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>

namespace Quoll
{
// A pack file mapped read-only into memory with its directory. Shared by the interface and
// every handle open on it, so unmounting never pulls the bytes from under a reader.
class MountedPak
{
public:
    bool Map(const std::string& path, std::string& error)
    {
        if (!mFile.Open(path))
            return error = "cannot open", false;
        mData = mFile.Bytes().data();
        mSize = mFile.Size();
        return true;
    }

    bool Load(uint64_t key, std::string& error)
    {
        mKey = key;
        if (!ParsePakFile(mData, mSize, key, mEntries, error))
            return false;
        for (size_t i = 0; i < mEntries.size(); ++i)
        {
            const std::string name = PakKeyOfPath(mEntries[i].name);
            if (name.empty() || !mByKey.emplace(name, i).second)
                return error = "bad or repeated name: " + mEntries[i].name, false;
            mKeys.push_back(name);
        }
        return true;
    }

    const PakEntry* Find(const std::string& key) const
    {
        const auto it = mByKey.find(key);
        return it == mByKey.end() ? nullptr : &mEntries[it->second];
    }

    Platform::MappedFile mFile;
    const uint8_t* mData = nullptr;
    uint64_t mSize = 0;
    uint64_t mKey = 0;
    std::vector<PakEntry> mEntries;
    std::vector<std::string> mKeys; // PakKeyOfPath of each entry's name
    std::unordered_map<std::string, size_t> mByKey;
};

// A handle reads either a block of memory (a pack entry, possibly scrambled) or a disk file.
struct PakFileHandle
{
    std::shared_ptr<const MountedPak> pack;
    const uint8_t* data = nullptr;
    uint64_t fileOffset = 0; // offset of data[0] in the pack, for the key stream
    bool scrambled = false;
    uint64_t key = 0;
    std::FILE* file = nullptr;
    uint64_t size = 0;
    uint64_t position = 0;
};

struct PakFindHandle
{
    std::vector<PakFindData> found;
    size_t next = 0;
};

namespace
{
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string LowerCopy(std::string text)
{
    for (char& c : text)
        c = LowerAscii(c);
    return text;
}

bool IsReadingMode(const char* mode)
{
    return mode != nullptr && mode[0] == 'r' && std::strchr(mode, '+') == nullptr;
}

PakFileHandle* OpenDiskFile(const std::string& path)
{
    std::FILE* file = Platform::OpenFile(path, "rb");
    if (file == nullptr)
        return nullptr;
    struct stat st{};
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode))
    {
        std::fclose(file);
        return nullptr;
    }
    auto* handle = new PakFileHandle;
    handle->file = file;
    handle->size = static_cast<uint64_t>(st.st_size);
    return handle;
}

// Splits a find pattern into its folder and its last component.
void SplitPattern(const std::string& pattern, std::string& folder, std::string& mask)
{
    const size_t slash = pattern.find_last_of("/\\");
    folder = slash == std::string::npos ? "" : pattern.substr(0, slash);
    mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
}
} // namespace

// --- PakInterface ----------------------------------------------------------------------

PakInterface::PakInterface() = default;
PakInterface::~PakInterface() = default;

void PakInterface::SetPassword(const std::string& password)
{
    std::unique_lock lock(mMutex);
    mPassword = password;
}

bool PakInterface::MountPakFile(const std::string& path)
{
    std::string password;
    {
        std::shared_lock lock(mMutex);
        password = mPassword;
    }
    auto pack = std::make_shared<MountedPak>();
    std::string error;
    const bool ok = pack->Map(path, error) &&
                    pack->Load(PakScrambler::KeyFromPassword(password), error);
    std::unique_lock lock(mMutex);
    if (!ok)
    {
        mLastError = "Cannot mount pack file " + path + ": " + error;
        return false;
    }
    mPacks.insert(mPacks.begin(), std::move(pack));
    return true;
}

void PakInterface::UnmountAll()
{
    std::unique_lock lock(mMutex);
    mPacks.clear();
}

std::string PakInterface::GetLastError() const
{
    std::shared_lock lock(mMutex);
    return mLastError;
}

PakFileHandle* PakInterface::OpenEntry(const std::string& path) const
{
    const std::string key = PakKeyOfPath(path);
    if (key.empty())
        return nullptr;
    std::shared_lock lock(mMutex);
    for (const auto& pack : mPacks)
        if (const PakEntry* entry = pack->Find(key))
        {
            auto* handle = new PakFileHandle;
            handle->pack = pack;
            handle->data = pack->mData + entry->dataOffset;
            handle->fileOffset = entry->dataOffset;
            handle->scrambled = true;
            handle->key = pack->mKey;
            handle->size = entry->size;
            return handle;
        }
    return nullptr;
}

void PakInterface::ListEntries(const std::string& folderKey, const std::string& mask,
                               std::vector<PakFindData>& out) const
{
    const std::string prefix = folderKey.empty() ? "" : folderKey + "/";
    std::shared_lock lock(mMutex);
    for (const auto& pack : mPacks)
        for (size_t i = 0; i < pack->mKeys.size(); ++i)
        {
            const std::string& key = pack->mKeys[i];
            if (key.compare(0, prefix.size(), prefix) != 0)
                continue;
            // A stored name without "." parts or doubled separators lists in its own case.
            const std::string& name = pack->mEntries[i].name;
            const std::string rest = LowerCopy(name) == key ? name.substr(prefix.size()) : key.substr(prefix.size());
            const size_t slash = rest.find('/');
            PakFindData data;
            data.mIsDirectory = slash != std::string::npos;
            data.mFileName = data.mIsDirectory ? rest.substr(0, slash) : rest;
            data.mSize = data.mIsDirectory ? 0 : pack->mEntries[i].size;
            if (Platform::WildcardMatch(mask, data.mFileName))
                out.push_back(std::move(data));
        }
}

PakInterface* GetPakInterface()
{
    static PakInterface instance;
    return &instance;
}

std::string PakKeyOfPath(const std::string& path)
{
    if (path.empty() || path[0] == '/' || path[0] == '\\')
        return {};
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size())
    {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
        {
            if (parts.empty())
                return {};
            parts.pop_back();
            continue;
        }
        parts.push_back(LowerCopy(std::move(part)));
    }
    std::string key;
    for (const std::string& part : parts)
        key += (key.empty() ? "" : "/") + part;
    return key;
}

// --- File calls -------------------------------------------------------------------------

PakFileHandle* PakFOpen(const std::string& path, const char* mode)
{
    if (!IsReadingMode(mode))
        return nullptr;
    if (PakFileHandle* handle = GetPakInterface()->OpenEntry(path))
        return handle;
    return OpenDiskFile(path);
}

PakFileHandle* PakFOpenMemory(const void* data, size_t size)
{
    auto* handle = new PakFileHandle;
    handle->data = static_cast<const uint8_t*>(data);
    handle->size = size;
    return handle;
}

size_t PakFRead(void* buffer, size_t size, size_t count, PakFileHandle* handle)
{
    if (handle == nullptr || size == 0 || count == 0)
        return 0;
    if (handle->file != nullptr)
    {
        const size_t read = std::fread(buffer, size, count, handle->file);
        const off_t at = ::ftello(handle->file);
        handle->position = at < 0 ? handle->position : static_cast<uint64_t>(at);
        return read;
    }
    const uint64_t available = handle->position < handle->size ? handle->size - handle->position : 0;
    const size_t wholeElements = static_cast<size_t>(std::min<uint64_t>(count, available / size));
    const size_t bytes = wholeElements * size;
    const uint8_t* from = handle->data + handle->position;
    auto* to = static_cast<uint8_t*>(buffer);
    if (handle->scrambled)
        PakScrambler::Apply(handle->key, handle->fileOffset + handle->position, from, to, bytes);
    else if (bytes > 0)
        std::memcpy(to, from, bytes);
    // A partial last element is consumed, as fread does.
    handle->position += std::min<uint64_t>(available, uint64_t{size} * count);
    return wholeElements;
}

int PakFSeek(PakFileHandle* handle, long offset, int origin)
{
    if (handle == nullptr)
        return -1;
    int64_t base = 0;
    switch (origin)
    {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<int64_t>(handle->position); break;
    case SEEK_END: base = static_cast<int64_t>(handle->size); break;
    default: return -1;
    }
    if (offset < 0 && base < -static_cast<int64_t>(offset))
        return -1;
    const uint64_t target = static_cast<uint64_t>(base + offset);
    if (handle->file != nullptr && ::fseeko(handle->file, static_cast<off_t>(target), SEEK_SET) != 0)
        return -1;
    handle->position = target;
    return 0;
}

long PakFTell(PakFileHandle* handle)
{
    return handle == nullptr ? -1 : static_cast<long>(handle->position);
}

char* PakFGets(char* buffer, int size, PakFileHandle* handle)
{
    if (handle == nullptr || buffer == nullptr || size < 1 || PakFEof(handle))
        return nullptr;
    int length = 0;
    while (length < size - 1)
    {
        char c = 0;
        if (PakFRead(&c, 1, 1, handle) != 1)
            break;
        buffer[length++] = c;
        if (c == '\n')
            break;
    }
    buffer[length] = '\0';
    return length == 0 ? nullptr : buffer;
}

int PakFEof(PakFileHandle* handle)
{
    return handle == nullptr || handle->position >= handle->size ? 1 : 0;
}

int PakFClose(PakFileHandle* handle)
{
    if (handle == nullptr)
        return -1;
    const int result = handle->file != nullptr ? std::fclose(handle->file) : 0;
    delete handle;
    return result;
}

// --- Finding files ----------------------------------------------------------------------

PakFindHandle* PakFindFirstFile(const std::string& pattern, PakFindData* data)
{
    std::string folder, mask;
    SplitPattern(pattern, folder, mask);
    std::vector<PakFindData> found;
    const std::string folderKey = PakKeyOfPath(folder);
    if (!folderKey.empty() || folder.empty() || folder == ".")
        GetPakInterface()->ListEntries(folderKey, mask, found);
    for (const Platform::FoundFile& file : Platform::FindFiles(pattern))
        found.push_back({file.name, file.isDirectory, file.size});

    // Each name once, ignoring case; the packs' entries come first and win.
    std::map<std::string, PakFindData> unique;
    for (PakFindData& entry : found)
        unique.emplace(LowerCopy(entry.mFileName), std::move(entry));
    if (unique.empty())
        return nullptr;
    auto* handle = new PakFindHandle;
    for (auto& [key, entry] : unique)
        handle->found.push_back(std::move(entry));
    if (!PakFindNextFile(handle, data))
    {
        delete handle;
        return nullptr;
    }
    return handle;
}

bool PakFindNextFile(PakFindHandle* handle, PakFindData* data)
{
    if (handle == nullptr || handle->next >= handle->found.size())
        return false;
    if (data != nullptr)
        *data = handle->found[handle->next];
    ++handle->next;
    return true;
}

void PakFindClose(PakFindHandle* handle) { delete handle; }

bool ListFilesByExtension(const std::string& folder, const std::string& extension, std::vector<std::string>& out)
{
    PakFindData data;
    PakFindHandle* handle = PakFindFirstFile(folder + "*." + extension, &data);
    if (handle == nullptr)
        return false;
    do
    {
        if (!data.mIsDirectory)
            out.push_back(data.mFileName);
    } while (PakFindNextFile(handle, &data));
    PakFindClose(handle);
    return true;
}

bool PakReadAll(PakFileHandle* handle, std::string& out)
{
    if (handle == nullptr)
        return false;
    std::string bytes;
    char block[65536];
    size_t read = 0;
    while ((read = PakFRead(block, 1, sizeof block, handle)) > 0)
        bytes.append(block, read);
    if (!PakFEof(handle))
        return false;
    out = std::move(bytes);
    return true;
}

bool PakReadFile(const std::string& path, std::string& out)
{
    PakFileHandle* handle = PakFOpen(path, "rb");
    if (handle == nullptr)
        return false;
    const bool complete = PakReadAll(handle, out);
    PakFClose(handle);
    return complete;
}
} // namespace Quoll
