#include "framework/platform/window/CursorImage.h"

namespace Quoll::Platform
{
std::optional<CursorPicture> CursorPicture::FromMasks(int width, int height, int hotX, int hotY,
                                                      std::span<const uint8_t> andMask,
                                                      std::span<const uint8_t> xorMask)
{
    if (width <= 0 || height <= 0 || width > 256 || height > 256)
        return std::nullopt;
    size_t rowBytes = size_t((width + 15) / 16) * 2;
    size_t needed = rowBytes * size_t(height);
    if (andMask.size() < needed || xorMask.size() < needed)
        return std::nullopt;
    CursorPicture picture;
    picture.width = width;
    picture.height = height;
    picture.hotX = hotX;
    picture.hotY = hotY;
    picture.pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            size_t byte = size_t(y) * rowBytes + size_t(x / 8);
            int bit = 7 - x % 8;
            bool a = (andMask[byte] >> bit) & 1;
            bool b = (xorMask[byte] >> bit) & 1;
            uint32_t colour = !a ? (b ? 0xFFFFFFFFu : 0xFF000000u) : (b ? 0xFF000000u : 0x00000000u);
            picture.pixels[size_t(y) * size_t(width) + size_t(x)] = colour;
        }
    return picture;
}
} // namespace Quoll::Platform
