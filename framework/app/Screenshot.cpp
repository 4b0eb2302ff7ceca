#include "framework/app/Screenshot.h"

#include "framework/core/Common.h"
#include "framework/display/MemoryImage.h"
#include "framework/platform/system/Path.h"
#include "framework/files/ImageLib.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Quoll
{
namespace
{
constexpr const char* kScreenshotFolder = "_screenshots";
} // namespace

std::string NextScreenshotPath(const std::string& folder)
{
    const std::string directory = AddTrailingSlash(folder);
    int highest = 0;
    for (const Platform::FoundFile& file : Platform::FindFiles(directory + "image*.png"))
    {
        int number = 0;
        if (!file.isDirectory && std::sscanf(file.name.c_str(), "image%d.png", &number) == 1)
            highest = std::max(highest, number);
    }
    return directory + FormatString("image%d.png", highest + 1);
}

std::string WriteScreenshot(const std::string& dataFolder, const uint32_t* pixels, int width, int height)
{
    if (pixels == nullptr || width <= 0 || height <= 0)
        return {};
    const std::string folder = dataFolder + kScreenshotFolder;
    MakeDirectories(folder);
    ImageLib::Image picture(width, height);
    if (picture.GetBits() == nullptr)
        return {};
    std::memcpy(picture.GetBits(), pixels, size_t(width) * size_t(height) * sizeof(uint32_t));
    const std::string path = NextScreenshotPath(folder);
    return ImageLib::WritePng(path, picture) ? path : std::string();
}

std::string TakeScreenshot(MemoryImage& screen, const std::string& dataFolder)
{
    return WriteScreenshot(dataFolder, screen.GetBits(), screen.GetWidth(), screen.GetHeight());
}
} // namespace Quoll
