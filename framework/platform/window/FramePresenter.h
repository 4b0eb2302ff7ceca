#pragma once
// Showing finished frames in a window. A frame is 32-bit 0xAARRGGBB pixels, rows
// `pitchBytes` apart; the presenter copies it, so the caller may reuse its buffer at once.
// Presenting happens on the main thread.
#include "framework/platform/window/CursorImage.h"

#include <cstdint>
#include <string_view>
#include <vector>

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

// An image that owns its pixels, rows packed (an icon kept by the window system).
struct ArgbImage
{
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;

    static ArgbImage CopyOf(const ArgbImageView& view)
    {
        ArgbImage image;
        image.width = view.width;
        image.height = view.height;
        image.pixels.reserve(size_t(view.width) * size_t(view.height));
        for (int y = 0; y < view.height; ++y)
            for (int x = 0; x < view.width; ++x)
                image.pixels.push_back(view.At(x, y));
        return image;
    }
    ArgbImageView View() const { return {pixels.data(), width, height, width * 4}; }
};

// A part of a frame in its pixels, right and bottom exclusive; empty when nothing is in it.
struct FrameArea
{
    int left = 0, top = 0, right = 0, bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const FrameArea&) const = default;
};

class FramePresenter
{
public:
    virtual ~FramePresenter() = default;
    // Shows the frame, scaled to the window with its aspect kept. False when the frame is
    // invalid or the window cannot show it; the previous frame stays then.
    virtual bool Present(const ArgbImageView& frame) = 0;
    // As Present, for a frame that differs from the one this presenter showed before only inside
    // `changed`: a presenter may send just that part to the screen (a frame of another size is
    // always shown whole). The default shows the whole frame.
    virtual bool PresentChanged(const ArgbImageView& frame, const FrameArea& changed)
    {
        (void)changed;
        return Present(frame);
    }
    // Frames shown so far.
    virtual uint64_t PresentCount() const = 0;
    // A cursor shown over the window's frames at the pointer, which the window system moves
    // on its own, as a hardware cursor: it moves without a new frame, whatever the drawing
    // thread does. It stands in for the hidden pointer, so it shows while the window's cursor
    // is none. Null removes it. False when the back end has no overlay; the caller then draws
    // the cursor into its frames.
    virtual bool SetCursorOverlay(const CursorPicture* picture)
    {
        (void)picture;
        return false;
    }
};

// Writes the image as an 8-bit RGBA PNG (evidence of headless runs and failing tests).
bool WritePng(std::string_view path, const ArgbImageView& image);
} // namespace Quoll::Platform
