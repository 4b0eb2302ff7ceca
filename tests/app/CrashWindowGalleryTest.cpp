// The crash windows under a real X server (xvfb-run): each is shown by crash_window_shot on the
// SDL back end, as the reporter shows it, and shot with xwd; the window's area of the screen is
// the gallery's golden image (tests/golden/crash), within the X server's rounding. The headless
// tests (CrashWindowsTest) hold their frames to the same images. Skipped, with the reason, where
// xvfb-run or xwd is not installed. QUOLL_UPDATE_GOLDEN=1 rewrites the gallery.
// Rerun: test_app --gtest_filter='CrashWindowGallery.*'
#include "tests/GoldenImage.h"
#include "tests/XwdScreenShot.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using TestXwd::ReadXwd;
using TestXwd::ScreenShot;

struct Area
{
    int x, y, width, height;
};

std::vector<uint32_t> Crop(const ScreenShot& shot, const Area& area)
{
    std::vector<uint32_t> pixels;
    for (int y = area.y; y < area.y + area.height; ++y)
        for (int x = area.x; x < area.x + area.width; ++x)
            pixels.push_back(shot.pixels[static_cast<size_t>(y * shot.width + x)]);
    return pixels;
}

bool Installed(const char* program)
{
    return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Shows the window, waits until it is drawn, shoots the screen and closes the window.
constexpr const char* kShootTheWindow = R"(#!/bin/sh
# usage: shoot.sh <program> <window> <folder>
cd "$3" || exit 1
"$1" "$2" ready.txt > output.txt 2>&1 &
shown=$!
tries=0
until [ -e ready.txt ]; do
  tries=$((tries + 1))
  [ $tries -gt 600 ] && break
  sleep 0.1
done
sleep 0.5
xwd -root -silent -out shot.xwd
kill $shown
wait $shown
exit 0
)";

// The screen under the window that the shot program showed.
std::optional<ScreenShot> ShootUnderXvfb(const std::string& window, const fs::path& folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "shoot.sh") << kShootTheWindow;
    // The X client libraries keep a few allocations until exit: no leak check for the program. A
    // hang fails the test after two minutes instead of holding the suite.
    const std::string command = "env QUOLL_PLATFORM=sdl SDL_VIDEODRIVER=x11 ASAN_OPTIONS=detect_leaks=0 "
                                "timeout -k 5 120 xvfb-run -a -s '-screen 0 640x480x24' sh '" +
                                (folder / "shoot.sh").string() + "' '" + QUOLL_CRASH_WINDOW_SHOT + "' " + window +
                                " '" + folder.string() + "' > '" + (folder / "xvfb.txt").string() + "' 2>&1";
    if (std::system(command.c_str()) != 0)
        return std::nullopt;
    return ReadXwd(ReadAll(folder / "shot.xwd"));
}

void ExpectWindowMatchesGallery(const std::string& window, const Area& area, const std::string& golden)
{
    if (!Installed("xvfb-run") || !Installed("xwd"))
        GTEST_SKIP() << "xvfb-run or xwd is not installed (scripts/deps.sh test installs xvfb and x11-apps)";
    const fs::path folder = fs::temp_directory_path() / ("crashgallery_" + std::to_string(::getpid()) + "_" + window);
    const std::optional<ScreenShot> shot = ShootUnderXvfb(window, folder);
    ASSERT_TRUE(shot) << ReadAll(folder / "xvfb.txt") << ReadAll(folder / "output.txt");
    ASSERT_GE(shot->width, area.x + area.width);
    ASSERT_GE(shot->height, area.y + area.height);
    const std::string output = ReadAll(folder / "output.txt");
    EXPECT_EQ(output.find("ERROR: AddressSanitizer"), std::string::npos) << output;
    const std::vector<uint32_t> pixels = Crop(*shot, area);
    // The X server keeps 8 bits a channel: a little room for its rounding.
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("crash", golden, pixels.data(), area.width, area.height, 2));
    fs::remove_all(folder);
}
} // namespace

TEST(CrashWindowGallery, CrashWindowUnderX) { ExpectWindowMatchesGallery("crash", {64, 64, 400, 300}, "crash_window"); }

TEST(CrashWindowGallery, DetailsWindowUnderX)
{
    ExpectWindowMatchesGallery("details", {80, 80, 400, 300}, "details_window");
}

TEST(CrashWindowGallery, ProgressWindowUnderX)
{
    ExpectWindowMatchesGallery("progress", {64, 64, 240, 64}, "progress_window");
}
