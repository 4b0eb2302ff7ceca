// A minimal PNG writer: one IDAT of zlib-compressed RGBA rows with filter 0.
#include "framework/platform/window/FramePresenter.h"

#include "framework/platform/system/AtomicFile.h"

#include <string>
#include <vector>
#include <zlib.h>

namespace Quoll::Platform
{
namespace
{
void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    PutU32(out, static_cast<uint32_t>(crc));
}
} // namespace

bool WritePng(std::string_view path, const ArgbImageView& image)
{
    if (!image.IsValid())
        return false;
    std::vector<uint8_t> raw;
    raw.reserve(size_t(image.height) * (size_t(image.width) * 4 + 1));
    for (int y = 0; y < image.height; ++y)
    {
        raw.push_back(0); // filter: none
        for (int x = 0; x < image.width; ++x)
        {
            uint32_t p = image.At(x, y);
            raw.push_back(uint8_t(p >> 16));
            raw.push_back(uint8_t(p >> 8));
            raw.push_back(uint8_t(p));
            raw.push_back(uint8_t(p >> 24));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(image.width));
    PutU32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, deflate, no filter set, no interlace
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    return WriteFileAtomically(path, file);
}
} // namespace Quoll::Platform
