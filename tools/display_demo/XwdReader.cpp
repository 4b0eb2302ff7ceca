#include "XwdReader.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace
{
uint32_t BigEndian32(const std::vector<uint8_t>& data, size_t at)
{
    return static_cast<uint32_t>(data[at]) << 24 | static_cast<uint32_t>(data[at + 1]) << 16 |
           static_cast<uint32_t>(data[at + 2]) << 8 | data[at + 3];
}

uint32_t Widen(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t max = mask >> shift;
    return (((pixel & mask) >> shift) * 255 + max / 2) / max;
}

// Header fields, in order, as 32-bit big-endian words.
enum Field
{
    HeaderSize = 0,
    FileVersion = 1,
    PixmapFormat = 2,
    PixmapWidth = 4,
    PixmapHeight = 5,
    ByteOrder = 7,
    BitsPerPixel = 11,
    BytesPerLine = 12,
    RedMask = 14,
    GreenMask = 15,
    BlueMask = 16,
    ColorCount = 19,
    FieldCount = 25,
};
} // namespace

bool ReadXwd(const std::string& path, XwdPicture& picture, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (data.size() < FieldCount * 4)
        return error = "too short for a header", false;
    auto field = [&](Field f) { return BigEndian32(data, static_cast<size_t>(f) * 4); };
    const uint64_t headerSize = field(HeaderSize);
    const uint32_t bpp = field(BitsPerPixel), bytesPerLine = field(BytesPerLine);
    const uint32_t width = field(PixmapWidth), height = field(PixmapHeight);
    if (field(FileVersion) != 7 || field(PixmapFormat) != 2)
        return error = "not a version 7 ZPixmap dump", false;
    if (bpp != 16 && bpp != 24 && bpp != 32)
        return error = "unsupported bits per pixel " + std::to_string(bpp), false;
    if (width == 0 || height == 0 || width > 16384 || height > 16384 || bytesPerLine < width * (bpp / 8))
        return error = "bad size", false;
    const uint64_t start = headerSize + uint64_t{field(ColorCount)} * 12;
    if (start + uint64_t{bytesPerLine} * height > data.size())
        return error = "truncated pixels", false;
    const bool msbFirst = field(ByteOrder) == 1;
    const uint32_t rm = field(RedMask), gm = field(GreenMask), bm = field(BlueMask);
    const int bytes = static_cast<int>(bpp / 8);
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.assign(static_cast<size_t>(width) * height, 0);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            const size_t at = static_cast<size_t>(start + uint64_t{y} * bytesPerLine + uint64_t{x} * bytes);
            uint32_t p = 0;
            for (int i = 0; i < bytes; ++i)
                p |= static_cast<uint32_t>(data[at + static_cast<size_t>(i)]) << (msbFirst ? 8 * (bytes - 1 - i) : 8 * i);
            picture.pixels[static_cast<size_t>(y) * width + x] = 0xFF000000 | Widen(p, rm) << 16 | Widen(p, gm) << 8 | Widen(p, bm);
        }
    return true;
}
