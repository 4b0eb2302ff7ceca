#include "framework/demo/DemoFile.h"

#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/Path.h"
#include "framework/platform/system/TextHelpers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace Quoll
{
namespace
{
constexpr const char* kInvalidDemoFile = "Invalid demo file.";
constexpr size_t kMaxVersionText = 0xFFFF;

// The bytes of the file not yet read.
int64_t Remaining(const Buffer& file)
{
    return static_cast<int64_t>(file.GetBitsLeft() / 8);
}

Buffer MarkerBlock(const DemoStream& stream)
{
    Buffer block;
    block.WriteInt32(int32_t(stream.mMarkers.size()));
    for (const auto& [name, update] : stream.mMarkers)
    {
        block.WriteString(name);
        block.WriteInt32(update);
    }
    return block;
}

// Count, then (name, update) pairs; false when the block holds fewer than its count.
bool ReadMarkerBlock(Buffer& block, std::list<std::pair<std::string, int>>& markers)
{
    const int32_t count = block.ReadInt32();
    int32_t read = 0;
    while (read < count && !block.AtEnd())
    {
        std::string name = block.ReadString();
        const int32_t update = block.ReadInt32();
        markers.emplace_back(std::move(name), update);
        ++read;
    }
    return read >= count;
}

// The file's fields after the magic and the version text, in order.
bool ReadDemoBody(Buffer& file, int32_t version, DemoStream& stream)
{
    if (version >= 2)
    {
        if (Remaining(file) < 4)
            return false;
        const int32_t markerBytes = file.ReadInt32();
        if (markerBytes < 0 || markerBytes >= Remaining(file))
            return false;
        Buffer block;
        for (int32_t i = 0; i < markerBytes; ++i)
            block.WriteByte(file.ReadByte());
        if (!ReadMarkerBlock(block, stream.mMarkers))
            return false;
    }
    if (Remaining(file) <= 4)
        return false;
    stream.mLength = file.ReadInt32();
    while (!file.AtEnd())
        stream.Data().WriteByte(file.ReadByte());
    return true;
}

// The number N of a file named <stem>N.dmo; -1 for any other name.
int DemoNumberOf(const std::string& name, const std::string& stem)
{
    constexpr std::string_view kExtension = ".dmo";
    if (name.size() <= stem.size() + kExtension.size() || name.compare(0, stem.size(), stem) != 0)
        return -1;
    if (!Platform::EqualNoCaseAscii(std::string_view(name).substr(name.size() - kExtension.size()), kExtension))
        return -1;
    const std::string digits = name.substr(stem.size(), name.size() - stem.size() - kExtension.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::atoi(digits.c_str());
}
} // namespace

bool WriteDemoFile(const std::string& path, uint32_t seed, const std::string& productVersion, int updateCount,
                   const DemoStream& stream)
{
    const std::string version = productVersion.substr(0, kMaxVersionText);
    const Buffer markers = MarkerBlock(stream);
    Buffer file;
    file.WriteInt32(int32_t(kDemoFileMagic));
    file.WriteInt32(kDemoFileVersion);
    file.WriteInt32(int32_t(seed));
    file.WriteInt16(int16_t(uint16_t(version.size())));
    file.WriteBytes(version.data(), version.size());
    file.WriteInt32(int32_t(markers.GetDataSize()));
    file.WriteBytes(markers.GetDataPtr(), markers.GetDataSize());
    file.WriteInt32(updateCount);
    file.WriteBytes(stream.Data().GetDataPtr(), stream.Data().GetDataSize());
    return Platform::WriteFileAtomically(path, {file.GetDataPtr(), file.GetDataSize()});
}

bool ReadDemoFile(const std::string& path, const std::string& productVersion, DemoStream& stream, uint32_t& seed,
                  std::string& error)
{
    // The whole file.
    const std::optional<std::vector<uint8_t>> bytes = Platform::ReadWholeFile(path);
    if (!bytes)
    {
        error = "Demo file not found: " + path;
        return false;
    }
    Buffer file;
    file.SetData(bytes->data(), bytes->size());
    stream.Reset();
    stream.mMarkers.clear();
    stream.mLength = 0;

    // Magic, version and seed.
    if (Remaining(file) < 14 || uint32_t(file.ReadInt32()) != kDemoFileMagic)
    {
        error = kInvalidDemoFile;
        return false;
    }
    const int32_t version = file.ReadInt32();
    seed = uint32_t(file.ReadInt32());

    // The whole version text is read before it is compared.
    const uint16_t textLength = uint16_t(file.ReadInt16());
    if (textLength > Remaining(file))
    {
        error = kInvalidDemoFile;
        return false;
    }
    std::string text(textLength, '\0');
    file.ReadBytes(text.data(), text.size());
    if (text != productVersion)
    {
        error = "This demo file appears to be for '" + text + "'";
        return false;
    }

    // Markers, length, records.
    if (!ReadDemoBody(file, version, stream))
    {
        stream.Reset();
        stream.mMarkers.clear();
        error = kInvalidDemoFile;
        return false;
    }
    return true;
}

std::string NumberedDemoName(const std::string& prefix, int number)
{
    return prefix + std::to_string(number) + ".dmo";
}

int FindHighestDemoNumber(const std::string& prefix, int keepCount, bool deleteOldest)
{
    const size_t separator = prefix.find_last_of("/\\");
    const std::string stem = separator == std::string::npos ? prefix : prefix.substr(separator + 1);
    int count = 0, lowest = -1, highest = -1;
    for (const Platform::FoundFile& file : Platform::FindFiles(prefix + "*.dmo"))
    {
        const int number = file.isDirectory ? -1 : DemoNumberOf(file.name, stem);
        if (number < 0)
            continue;
        ++count;
        lowest = lowest < 0 ? number : std::min(lowest, number);
        highest = std::max(highest, number);
    }
    if (count == 0)
        return 0;
    if (count >= keepCount && deleteOldest)
        std::remove(Platform::ResolvePathCase(NumberedDemoName(prefix, lowest)).c_str());
    return highest;
}
} // namespace Quoll
