#include "WidgetGolden.h"

#include "framework/files/ImageLib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace QuollTest
{
namespace
{
bool WritePicture(const std::string& path, const uint32_t* pixels, int width, int height)
{
    ImageLib::Image picture(width, height);
    if (picture.GetBits() == nullptr)
        return false;
    std::copy(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height), picture.GetBits());
    return ImageLib::WritePng(path, picture);
}
} // namespace

::testing::AssertionResult MatchesWidgetGolden(const std::string& name, const uint32_t* pixels, int width, int height)
{
    const std::string golden = std::string(QUOLL_SOURCE_DIR) + "/tests/golden/widgets/" + name + ".png";
    const std::string actual = std::string(QUOLL_BINARY_DIR) + "/tests/widgets/" + name + ".actual.png";
    const char* update = std::getenv("QUOLL_UPDATE_GOLDEN");
    if (update != nullptr && std::strcmp(update, "1") == 0)
    {
        if (!WritePicture(golden, pixels, width, height))
            return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess();
    }
    const auto expected = ImageLib::ReadImageFile(golden);
    if (!expected || expected->GetWidth() != width || expected->GetHeight() != height)
    {
        WritePicture(actual, pixels, width, height);
        return ::testing::AssertionFailure() << "no golden image " << golden << " of " << width << " x " << height
                                             << " (actual written to " << actual << ")";
    }
    const uint32_t* want = expected->GetBits();
    for (int i = 0; i < width * height; ++i)
        if (want[i] != pixels[i])
        {
            WritePicture(actual, pixels, width, height);
            std::ostringstream message;
            message << "first differing pixel (" << i % width << ", " << i / width << "): expected " << std::hex
                    << want[i] << ", got " << pixels[i] << "; actual image written to " << actual;
            return ::testing::AssertionFailure() << message.str();
        }
    return ::testing::AssertionSuccess();
}
} // namespace QuollTest
