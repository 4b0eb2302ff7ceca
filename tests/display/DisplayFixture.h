#pragma once
// A display on a virtual video card for tests: a windowed display without a window system, of
// the given size, on a desktop of the given format and row padding.
#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/platform/video/SoftDirectDraw.h"

#include <memory>

namespace Quoll::Testing
{
struct TestDisplay
{
    explicit TestDisplay(const Platform::SurfaceFormat& format = Platform::SurfaceFormat::X8R8G8B8(), int width = 192,
                         int height = 144, int pitchPadding = 12)
        : card(MakeSettings(format, pitchPadding))
    {
        host.mOptions.width = width;
        host.mOptions.height = height;
        host.mOptions.colorDepth = format.bitCount;
        display = std::make_unique<DDInterface>(&host, &card);
    }

    static Platform::SoftCardSettings MakeSettings(const Platform::SurfaceFormat& format, int pitchPadding)
    {
        Platform::SoftCardSettings settings;
        settings.desktopFormat = format;
        if (format.bitCount == 16)
            settings.format16 = format;
        settings.pitchPadding = pitchPadding;
        return settings;
    }

    int Init(bool windowed = true)
    {
        // Full screen needs a window to own the display; none exists here, any id serves.
        return static_cast<int>(display->Init(windowed ? Platform::WindowId::None : Platform::WindowId{1}, windowed));
    }

    DDImage& Screen() { return *display->GetDDScreenImage(); }

    Platform::SoftVideoCard card;
    DisplayHost host;
    std::unique_ptr<DDInterface> display;
};

inline const Platform::SurfaceFormat kSurfaceFormats[] = {
    Platform::SurfaceFormat::X8R8G8B8(), Platform::SurfaceFormat::X8B8G8R8(), Platform::SurfaceFormat::R5G6B5(),
    Platform::SurfaceFormat::X1R5G5B5(), Platform::SurfaceFormat{16, 0xF000, 0x0F00, 0x00F0}};
} // namespace Quoll::Testing
