// TGA: uncompressed and run-length true colour (24 and 32 bit) and 8-bit palettised images
// (palette entries of 24 or 32 bit), either row order and either column order. The whole
// file is read, then parsed with bounds checks.
#include "framework/files/ByteReader.h"
#include "framework/files/ImageCodecs.h"
#include "framework/files/PakInterface.h"

#include <algorithm>

namespace ImageLib
{
namespace
{
struct TgaHeader
{
    uint8_t idLength = 0;
    uint8_t colorMapType = 0;
    uint8_t imageType = 0;
    uint16_t mapFirst = 0;
    uint16_t mapLength = 0;
    uint8_t mapDepth = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;
};

bool ReadHeader(Quoll::ByteReader& in, TgaHeader& h)
{
    uint16_t origin = 0;
    return in.ReadU8(h.idLength) && in.ReadU8(h.colorMapType) && in.ReadU8(h.imageType) && in.ReadU16(h.mapFirst) &&
           in.ReadU16(h.mapLength) && in.ReadU8(h.mapDepth) && in.ReadU16(origin) && in.ReadU16(origin) &&
           in.ReadU16(h.width) && in.ReadU16(h.height) && in.ReadU8(h.depth) && in.ReadU8(h.descriptor);
}

// One 24- or 32-bit BGR(A) value as 0xAARRGGBB.
uint32_t ToArgb(const uint8_t* p, int bytes)
{
    const uint32_t alpha = bytes == 4 ? p[3] : 0xFF;
    return (alpha << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

// Reads one stored pixel (true colour or palette index) as 0xAARRGGBB.
class PixelSource
{
public:
    PixelSource(Quoll::ByteReader& in, const TgaHeader& h, const std::vector<uint32_t>& palette)
        : mIn(in), mPalette(palette), mBytes(h.depth / 8), mFirst(h.mapFirst)
    {
    }
    bool Read(uint32_t& pixel)
    {
        const uint8_t* p = mIn.Take(static_cast<size_t>(mBytes));
        if (p == nullptr)
            return false;
        if (mPalette.empty())
        {
            pixel = ToArgb(p, mBytes);
            return true;
        }
        if (p[0] < mFirst || p[0] - mFirst >= static_cast<int>(mPalette.size()))
            return false;
        pixel = mPalette[p[0] - mFirst];
        return true;
    }

private:
    Quoll::ByteReader& mIn;
    const std::vector<uint32_t>& mPalette;
    int mBytes;
    int mFirst;
};

bool ReadPalette(Quoll::ByteReader& in, const TgaHeader& h, std::vector<uint32_t>& palette)
{
    if (h.colorMapType == 0)
        return true;
    if (h.colorMapType != 1 || (h.mapDepth != 24 && h.mapDepth != 32))
        return false;
    const int bytes = h.mapDepth / 8;
    for (int i = 0; i < h.mapLength; ++i)
    {
        const uint8_t* p = in.Take(static_cast<size_t>(bytes));
        if (p == nullptr)
            return false;
        palette.push_back(ToArgb(p, bytes));
    }
    return true;
}

// Pixels in file order; run-length packets may run across rows but not past the image.
bool ReadPixels(PixelSource& source, Quoll::ByteReader& in, bool runLength, std::vector<uint32_t>& pixels)
{
    size_t at = 0;
    while (at < pixels.size())
    {
        uint8_t packet = 0x00; // an uncompressed image is one long raw packet
        if (runLength && !in.ReadU8(packet))
            return false;
        const size_t count = runLength ? std::min<size_t>((packet & 0x7F) + 1u, pixels.size() - at) : pixels.size();
        if (packet & 0x80)
        {
            uint32_t pixel = 0;
            if (!source.Read(pixel))
                return false;
            std::fill_n(pixels.begin() + static_cast<long>(at), count, pixel);
        }
        else
            for (size_t i = 0; i < count; ++i)
                if (!source.Read(pixels[at + i]))
                    return false;
        at += count;
    }
    return true;
}
} // namespace

std::unique_ptr<Image> ReadTgaImage(Quoll::PakFileHandle* file)
{
    // 1. Header, identification field and palette.
    std::string bytes;
    if (!Quoll::PakReadAll(file, bytes))
        return nullptr;
    Quoll::ByteReader in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    TgaHeader h;
    std::vector<uint32_t> palette;
    if (!ReadHeader(in, h) || !in.Skip(h.idLength) || !ReadPalette(in, h, palette))
        return nullptr;

    // 2. The supported kinds: 1/9 palettised 8-bit, 2/10 true colour 24/32-bit.
    const bool runLength = h.imageType == 9 || h.imageType == 10;
    const bool mapped = h.imageType == 1 || h.imageType == 9;
    const bool trueColour = h.imageType == 2 || h.imageType == 10;
    if (mapped ? (h.depth != 8 || palette.empty()) : !(trueColour && (h.depth == 24 || h.depth == 32)))
        return nullptr;
    if (!Image::SizeAllowed(h.width, h.height))
        return nullptr;
    if (trueColour)
        palette.clear(); // a palette beside true-colour pixels is not used

    // 3. Pixels in file order, then placed by the descriptor's row and column order.
    std::vector<uint32_t> pixels(size_t{h.width} * h.height);
    PixelSource source(in, h, palette);
    if (!ReadPixels(source, in, runLength, pixels))
        return nullptr;
    const bool topDown = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;
    auto image = std::make_unique<Image>(h.width, h.height);
    for (int y = 0; y < h.height; ++y)
    {
        const int row = topDown ? y : h.height - 1 - y;
        for (int x = 0; x < h.width; ++x)
        {
            const int column = rightToLeft ? h.width - 1 - x : x;
            image->GetBits()[size_t(row) * h.width + column] = pixels[size_t(y) * h.width + x];
        }
    }
    return image;
}
} // namespace ImageLib
