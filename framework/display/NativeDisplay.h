#pragma once
// The display's pixel format: bits per pixel and, per channel, mask, bit count and lowest bit.
// All zero until the display has started.
#include "framework/display/PixelFormat.h"

#include <cstdint>

namespace Quoll
{
class NativeDisplay
{
public:
    virtual ~NativeDisplay() = default;

    // The format as the images take it.
    [[nodiscard]] PixelFormat GetPixelFormat() const
    {
        return {static_cast<int>(mRGBBits), mRedMask, mGreenMask, mBlueMask, static_cast<int>(mRedBits),
                static_cast<int>(mGreenBits), static_cast<int>(mBlueBits), static_cast<int>(mRedShift),
                static_cast<int>(mGreenShift), static_cast<int>(mBlueShift)};
    }

    uint32_t mRGBBits = 0;
    uint32_t mRedMask = 0;
    uint32_t mGreenMask = 0;
    uint32_t mBlueMask = 0;
    uint32_t mRedBits = 0;
    uint32_t mGreenBits = 0;
    uint32_t mBlueBits = 0;
    uint32_t mRedShift = 0;
    uint32_t mGreenShift = 0;
    uint32_t mBlueShift = 0;
};
} // namespace Quoll
