#pragma once
// A screenshot: the screen's pixels written as "image<N>.png" in the "_screenshots" folder
// of the data folder, N one more than the highest number already there (1 in an empty one).
#include <cstdint>
#include <string>

namespace Quoll
{
class MemoryImage;

// The folder's screenshot name to write next: "image" + (highest N of "image<N>.png") + 1.
std::string NextScreenshotPath(const std::string& folder);

// Writes width * height ARGB pixels as the next screenshot below the data folder (created
// when missing). The path written, or empty when there were no pixels or the write failed.
std::string WriteScreenshot(const std::string& dataFolder, const uint32_t* pixels, int width, int height);

// The screen image's pixels as the next screenshot.
std::string TakeScreenshot(MemoryImage& screen, const std::string& dataFolder);
} // namespace Quoll
