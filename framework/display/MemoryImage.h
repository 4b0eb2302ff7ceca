#pragma once
// The software image: 32-bit ARGB pixels in memory.
#include <cstdint>

namespace Quoll
{
class MemoryImage
{
public:
    MemoryImage() = default;
    virtual ~MemoryImage();
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    [[nodiscard]] int GetWidth() const { return mWidth; }
    [[nodiscard]] int GetHeight() const { return mHeight; }

    virtual void CommitBits();
    virtual uint32_t* GetBits();

    int mWidth = 0;
    int mHeight = 0;
    uint32_t* mBits = nullptr;
    bool mHasTrans = false;
    bool mHasAlpha = false;
};
} // namespace Quoll
