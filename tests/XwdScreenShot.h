#pragma once
// Screenshots of a real X server taken with xwd: the reader of its files for the tests that look
// at the game or its windows under xvfb-run.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace TestXwd
{
struct ScreenShot
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // ARGB
};

inline uint32_t Word(const std::string& bytes, size_t at, size_t size, bool bigEndian)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + (bigEndian ? i : size - 1 - i)]);
    return value;
}

// An xwd file of a true-colour screen (24 or 32 bits a pixel, 8 bits a channel): the big-endian
// header of 25 words, the window name, the colour table, then the rows.
inline std::optional<ScreenShot> ReadXwd(const std::string& bytes)
{
    constexpr size_t kHeaderWords = 25;
    if (bytes.size() < kHeaderWords * 4)
        return std::nullopt;
    uint32_t header[kHeaderWords];
    for (size_t i = 0; i < kHeaderWords; ++i)
        header[i] = Word(bytes, i * 4, 4, true);
    const uint32_t headerSize = header[0], format = header[2], width = header[4], height = header[5],
                   byteOrder = header[7], bitsPerPixel = header[11], rowBytes = header[12], colours = header[19];
    const size_t pixelBytes = bitsPerPixel / 8;
    const size_t start = size_t{headerSize} + size_t{colours} * 12;
    const bool supported = format == 2 && (bitsPerPixel == 24 || bitsPerPixel == 32) && header[14] == 0xFF0000 &&
                           header[15] == 0xFF00 && header[16] == 0xFF && rowBytes >= width * pixelBytes;
    if (!supported || start + size_t{rowBytes} * height > bytes.size())
        return std::nullopt;
    ScreenShot shot{static_cast<int>(width), static_cast<int>(height), {}};
    shot.pixels.reserve(size_t{width} * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            shot.pixels.push_back(
                0xFF000000u | Word(bytes, start + size_t{y} * rowBytes + x * pixelBytes, pixelBytes, byteOrder != 0));
    return shot;
}

} // namespace TestXwd
