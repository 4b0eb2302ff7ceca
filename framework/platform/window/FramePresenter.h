#pragma once
// Showing finished frames in a window. A frame is 32-bit 0xAARRGGBB pixels, rows
// `pitchBytes` apart; the presenter copies it, so the caller may reuse its buffer at once.
// Presenting happens on the main thread.
#include <cstdint>
#include <string_view>

namespace Quoll::Platform
{
struct ArgbImageView
{
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchBytes = 0;

    bool IsValid() const
    {
        return pixels != nullptr && width > 0 && height > 0 && pitchBytes >= width * 4 && pitchBytes % 4 == 0;
    }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(pitchBytes / 4) + size_t(x)]; }
};

class FramePresenter
{
public:
    virtual ~FramePresenter() = default;
    // Shows the frame, scaled to the window with its aspect kept. False when the frame is
    // invalid or the window cannot show it; the previous frame stays then.
    virtual bool Present(const ArgbImageView& frame) = 0;
    // Frames shown so far.
    virtual uint64_t PresentCount() const = 0;
};

// Writes the image as an 8-bit RGBA PNG (evidence of headless runs and failing tests).
bool WritePng(std::string_view path, const ArgbImageView& image);
} // namespace Quoll::Platform
