#pragma once
// Helpers of the rasteriser tests: a destination with canary margins in any of the four formats,
// vertex records from pixel coordinates, and a CRC-32 of pixel memory.
#include "framework/rasteriser/TriangleRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace RasterTest
{
using Quoll::FixedVertex;

constexpr uint8_t kCanary = 0xA5;

inline int PixelBytes(int32_t format) { return (format == 0x565 || format == 0x555) ? 2 : 4; }

// width x height pixels with `margin` rows of canary bytes above and below and `margin` canary
// pixels left and right of every row; an extra `pitchPad` bytes widen the pitch.
class Canvas
{
public:
    Canvas(int width, int height, int32_t format, int margin = 0, int pitchPad = 0)
        : mWidth(width), mHeight(height), mFormat(format), mMargin(margin),
          mPitch((width + 2 * margin) * PixelBytes(format) + pitchPad),
          mBytes(static_cast<size_t>(mPitch) * (height + 2 * margin), kCanary)
    {
        Fill(0);
    }

    uint8_t* Origin() { return mBytes.data() + static_cast<size_t>(mMargin) * mPitch + mMargin * PixelBytes(mFormat); }
    int32_t Pitch() const { return mPitch; }
    int32_t Format() const { return mFormat; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    uint32_t Get(int x, int y) const
    {
        const uint8_t* p = const_cast<Canvas*>(this)->Origin() + static_cast<ptrdiff_t>(y) * mPitch + x * PixelBytes(mFormat);
        uint32_t v = 0;
        std::memcpy(&v, p, PixelBytes(mFormat));
        return v;
    }

    void Set(int x, int y, uint32_t v)
    {
        std::memcpy(Origin() + static_cast<ptrdiff_t>(y) * mPitch + x * PixelBytes(mFormat), &v, PixelBytes(mFormat));
    }

    void Fill(uint32_t v)
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
                Set(x, y, v);
    }

    // True when no byte outside the width x height pixels has changed.
    bool CanariesIntact() const
    {
        const int bpp = PixelBytes(mFormat);
        for (size_t i = 0; i < mBytes.size(); ++i)
        {
            const long row = static_cast<long>(i / mPitch) - mMargin;
            const long col = static_cast<long>(i % mPitch) - mMargin * bpp;
            const bool inside = row >= 0 && row < mHeight && col >= 0 && col < mWidth * bpp;
            if (!inside && mBytes[i] != kCanary)
                return false;
        }
        return true;
    }

    const std::vector<uint8_t>& Bytes() const { return mBytes; }

private:
    int mWidth, mHeight;
    int32_t mFormat;
    int mMargin;
    int32_t mPitch;
    std::vector<uint8_t> mBytes;
};

inline int32_t Fx(double v) { return static_cast<int32_t>(v * 65536.0); }

// A vertex at pixel position (x, y) with colour 0xAARRGGBB and texel position (u, v).
inline FixedVertex Vertex(double x, double y, uint32_t argb = 0xFFFFFFFF, double u = 0, double v = 0)
{
    return FixedVertex{Fx(x), Fx(y), static_cast<int32_t>(((argb >> 24) & 0xFF) << 16),
                       static_cast<int32_t>(((argb >> 16) & 0xFF) << 16),
                       static_cast<int32_t>(((argb >> 8) & 0xFF) << 16), static_cast<int32_t>((argb & 0xFF) << 16),
                       Fx(u), Fx(v)};
}

inline uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
} // namespace RasterTest
