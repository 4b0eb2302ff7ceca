#include "framework/files/PakWriter.h"

#include "framework/platform/system/AtomicFile.h"
#include "framework/files/PakFormat.h"
#include "framework/files/PakInterface.h"
#include "framework/files/PakScrambler.h"

#include <set>

namespace Quoll
{
namespace
{
template <typename T> void AppendLittle(std::string& out, T value)
{
    for (size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF));
}

} // namespace

void PakWriter::AddFile(const std::string& name, std::string bytes)
{
    mFiles.push_back({name, std::move(bytes)});
}

bool PakWriter::Write(const std::string& path, const std::string& password, std::string& error) const
{
    // 1. Check the names: each must be usable as a key, and keys must not collide.
    std::set<std::string> keys;
    for (const File& file : mFiles)
    {
        const std::string key = PakKeyOfPath(file.name);
        if (key.empty() || file.name.size() > PakFormat::kMaxNameLength)
            return error = "bad file name: " + file.name, false;
        if (!keys.insert(key).second)
            return error = "two files with the same name: " + file.name, false;
    }

    // 2. Directory, then data, with offsets relative to the data area.
    std::string directory;
    uint64_t dataOffset = 0;
    for (const File& file : mFiles)
    {
        AppendLittle(directory, static_cast<uint16_t>(file.name.size()));
        directory += file.name;
        AppendLittle(directory, dataOffset);
        AppendLittle(directory, static_cast<uint64_t>(file.bytes.size()));
        dataOffset += file.bytes.size();
    }
    if (directory.size() > UINT32_MAX || mFiles.size() > UINT32_MAX)
        return error = "too many files", false;

    // 3. Header, then everything after it scrambled by its offset in the file.
    const uint64_t key = PakScrambler::KeyFromPassword(password);
    std::string pack;
    AppendLittle(pack, PakFormat::kMagic);
    AppendLittle(pack, PakFormat::kVersion);
    AppendLittle(pack, PakScrambler::KeyCheck(key));
    AppendLittle(pack, static_cast<uint32_t>(mFiles.size()));
    AppendLittle(pack, static_cast<uint32_t>(directory.size()));
    pack += directory;
    for (const File& file : mFiles)
        pack += file.bytes;
    auto* body = reinterpret_cast<uint8_t*>(pack.data()) + PakFormat::kHeaderSize;
    PakScrambler::Apply(key, PakFormat::kHeaderSize, body, body, pack.size() - PakFormat::kHeaderSize);

    // 4. Temporary file, renamed over the target.
    if (!Platform::WriteFileAtomically(path, {reinterpret_cast<const uint8_t*>(pack.data()), pack.size()}))
        return error = "cannot write " + path, false;
    return true;
}
} // namespace Quoll
