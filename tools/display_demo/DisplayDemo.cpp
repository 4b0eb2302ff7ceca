// Draws the golden test scene through the display into a real window: a window of the scene's
// size, a windowed display on the software video card over it, the scene drawn into the
// screen image and presented for a number of frames. With --shot, it then takes a screenshot of
// the X server ("xwd -root"), cuts the window's client area out of it and compares that with a
// golden image within a tolerance per channel, writing the area as PNG beside the dump.
// Usage: display_demo [--frames N] [--format 32|565|555] [--shot FILE.xwd --golden FILE.png
//                     [--tolerance T]]
// Exit code 0 when the frames were shown (and the screenshot matched).
#include "TestScene.h"
#include "XwdReader.h"

#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/window/WindowSystem.h"
#include "framework/files/ImageLib.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace Quoll;
using namespace Quoll::Platform;

namespace
{
constexpr int kWidth = 192;
constexpr int kHeight = 144;
WindowSystem* gSystem = nullptr;

LResult DemoProc(WindowId window, uint32_t message, WParam wParam, LParam lParam)
{
    return gSystem->DefWindowProc(window, message, wParam, lParam);
}

struct Options
{
    int frames = 60;
    std::string format = "32";
    std::string shot;
    std::string golden;
    int tolerance = 8;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i + 1 < argc; i += 2)
    {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--frames")
            options.frames = std::max(1, std::atoi(value.c_str()));
        else if (name == "--format")
            options.format = value;
        else if (name == "--shot")
            options.shot = value;
        else if (name == "--golden")
            options.golden = value;
        else if (name == "--tolerance")
            options.tolerance = std::atoi(value.c_str());
        else
            return false;
    }
    return argc % 2 == 1 && (options.shot.empty() || !options.golden.empty());
}

SurfaceFormat FormatNamed(const std::string& name)
{
    if (name == "565")
        return SurfaceFormat::R5G6B5();
    if (name == "555")
        return SurfaceFormat::X1R5G5B5();
    return SurfaceFormat::X8R8G8B8();
}

// 1. The window's area of the screenshot against the golden image.
bool CompareShot(const Options& options, const ScreenPoint& origin)
{
    const std::string command = "xwd -root -silent -out '" + options.shot + "'";
    if (std::system(command.c_str()) != 0)
    {
        std::fprintf(stderr, "display_demo: '%s' failed\n", command.c_str());
        return false;
    }
    XwdPicture screen;
    std::string error;
    if (!ReadXwd(options.shot, screen, error))
    {
        std::fprintf(stderr, "display_demo: %s: %s\n", options.shot.c_str(), error.c_str());
        return false;
    }
    const auto golden = ImageLib::ReadImageFile(options.golden);
    if (!golden || golden->GetWidth() != kWidth || golden->GetHeight() != kHeight)
    {
        std::fprintf(stderr, "display_demo: cannot use the golden image %s\n", options.golden.c_str());
        return false;
    }
    if (origin.x < 0 || origin.y < 0 || origin.x + kWidth > screen.width || origin.y + kHeight > screen.height)
    {
        std::fprintf(stderr, "display_demo: the window at (%d, %d) is not wholly on the screen\n", origin.x, origin.y);
        return false;
    }
    ImageLib::Image area(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            area.GetBits()[y * kWidth + x] =
                screen.pixels[static_cast<size_t>(origin.y + y) * static_cast<size_t>(screen.width) +
                              static_cast<size_t>(origin.x + x)];
    ImageLib::WritePng(options.shot + ".png", area);
    int largest = 0, first = -1;
    for (int i = 0; i < kWidth * kHeight; ++i)
        for (int shift = 0; shift < 24; shift += 8)
        {
            const int want = static_cast<int>((golden->GetBits()[i] >> shift) & 0xFF);
            const int got = static_cast<int>((area.GetBits()[i] >> shift) & 0xFF);
            largest = std::max(largest, std::abs(want - got));
            if (std::abs(want - got) > options.tolerance && first < 0)
                first = i;
        }
    std::printf("display_demo: largest difference from the golden image: %d per channel\n", largest);
    if (first >= 0)
    {
        std::fprintf(stderr, "display_demo: first differing pixel (%d, %d): expected %08x, got %08x (%s.png)\n",
                     first % kWidth, first / kWidth, golden->GetBits()[first], area.GetBits()[first],
                     options.shot.c_str());
        return false;
    }
    return true;
}

// 2. A message pass, then the frame presented again.
void RunFrames(WindowSystem& system, DDInterface& display, int frames)
{
    for (int frame = 0; frame < frames; ++frame)
    {
        Message message;
        while (system.PeekMessage(message))
        {
            system.TranslateMessage(message);
            system.DispatchMessage(message);
        }
        display.Redraw(nullptr);
        SleepMilliseconds(16);
    }
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
    {
        std::fprintf(stderr, "usage: %s [--frames N] [--format 32|565|555] [--shot FILE.xwd --golden FILE.png "
                             "[--tolerance T]]\n", argv[0]);
        return 2;
    }
    std::unique_ptr<WindowSystem> system = WindowSystem::Create();
    if (!system)
        return 1;
    gSystem = system.get();
    system->RegisterClass({"DisplayDemo", 0, DemoProc});
    WindowCreateInfo info;
    info.className = "DisplayDemo";
    info.title = L"Display demo";
    info.style = WS_VISIBLE | WS_CAPTION;
    info.x = 64;
    info.y = 64;
    info.width = kWidth;
    info.height = kHeight;
    const WindowId window = system->CreateWindowEx(info);

    // The card takes the window system's desktop when the display starts.
    SoftCardSettings settings;
    settings.desktopFormat = FormatNamed(options.format);
    if (settings.desktopFormat.bitCount == 16)
        settings.format16 = settings.desktopFormat;
    SoftVideoCard card(settings);
    DisplayHost host;
    host.mOptions.width = kWidth;
    host.mOptions.height = kHeight;
    host.mOptions.colorDepth = settings.desktopFormat.bitCount;
    host.mWindows = system.get();

    bool ok = false;
    {
        DDInterface display(&host, &card);
        const int result = static_cast<int>(display.Init(window, true));
        if (result != DDInterface::RESULT_OK)
        {
            std::fprintf(stderr, "display_demo: the display did not start: %s (%s)\n",
                         DDInterface::ResultToString(result), display.GetErrorText().c_str());
            return 1;
        }
        InitTriangleSpanTable();
        MemoryImage canvas;
        Testing::MakeCanvas(canvas, kWidth, kHeight);
        DDImage& screenImage = *display.GetDDScreenImage();
        screenImage.Blt(&canvas, 0, 0, Rect(0, 0, kWidth, kHeight), Color::White, DrawMode::Normal);
        Testing::DrawSoftwareScene(screenImage);
        RunFrames(*system, display, options.frames);
        ScreenPoint origin;
        system->ClientToScreen(window, origin);
        ok = card.FramesShown() >= static_cast<uint64_t>(options.frames) &&
             (options.shot.empty() || CompareShot(options, origin));
        std::printf("display_demo: %s back end, %llu frames of %dx%d in format %s shown%s\n", system->BackendName(),
                    static_cast<unsigned long long>(card.FramesShown()), kWidth, kHeight, options.format.c_str(),
                    options.shot.empty() ? "" : (ok ? ", screenshot matches" : ", screenshot DIFFERS"));
    }
    system->DestroyWindow(window);
    return ok ? 0 : 1;
}
