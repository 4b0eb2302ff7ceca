#include "tests/GoldenImage.h"

#include "framework/files/ImageLib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace Quoll::Testing
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

int ChannelDifference(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8)
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}
} // namespace

FrameAgreement CompareFrames(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width, int height,
                             const std::vector<Rect>& excluded)
{
    FrameAgreement result;
    size_t within = 0, counted = 0;
    double sums[3] = {};
    for (int y = 0; y + 1 < height; ++y)
        for (int x = 0; x + 1 < width; ++x)
        {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
            ++counted;
            int diff = 0;
            for (int c = 0; c < 3; ++c)
            {
                const int ca = static_cast<int>((a[i] >> (8 * c)) & 0xFF), cb = static_cast<int>((b[i] >> (8 * c)) & 0xFF);
                diff = std::max(diff, std::abs(ca - cb));
                sums[c] += ca - cb;
            }
            result.most = std::max(result.most, diff);
            within += diff <= 3 ? 1 : 0;
            const bool inside = std::any_of(excluded.begin(), excluded.end(), [x, y](const Rect& r) {
                return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
            });
            if (!inside)
                result.mostOutsideExcluded = std::max(result.mostOutsideExcluded, diff);
        }
    if (counted == 0)
        return result;
    result.shareWithin3 = static_cast<double>(within) / static_cast<double>(counted);
    for (double sum : sums)
        result.meanDifference = std::max(result.meanDifference, std::abs(sum) / static_cast<double>(counted));
    return result;
}

::testing::AssertionResult MatchesAreaGolden(const std::string& area, const std::string& name, const uint32_t* pixels,
                                             int width, int height, int tolerance)
{
    const std::string golden = std::string(QUOLL_SOURCE_DIR) + "/tests/golden/" + area + "/" + name + ".png";
    const std::string actual = std::string(QUOLL_BINARY_DIR) + "/tests/" + area + "/" + name + ".actual.png";
    const char* update = std::getenv("QUOLL_UPDATE_GOLDEN");
    if (update != nullptr && std::strcmp(update, "1") == 0)
    {
        if (!WritePicture(golden, pixels, width, height))
            return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess();
    }
    const auto expected = ImageLib::ReadImageFile(golden);
    if (!expected)
    {
        WritePicture(actual, pixels, width, height);
        return ::testing::AssertionFailure() << "no golden image " << golden << " (actual written to " << actual
                                             << "; QUOLL_UPDATE_GOLDEN=1 writes it)";
    }
    if (expected->GetWidth() != width || expected->GetHeight() != height)
    {
        WritePicture(actual, pixels, width, height);
        return ::testing::AssertionFailure() << "golden " << golden << " is " << expected->GetWidth() << " x "
                                             << expected->GetHeight() << ", actual " << width << " x " << height;
    }
    const uint32_t* want = expected->GetBits();
    for (int i = 0; i < width * height; ++i)
        if (ChannelDifference(want[i], pixels[i]) > tolerance)
        {
            WritePicture(actual, pixels, width, height);
            std::ostringstream message;
            message << "first differing pixel (" << i % width << ", " << i / width << "): expected " << std::hex
                    << want[i] << ", got " << pixels[i] << "; actual image written to " << actual;
            return ::testing::AssertionFailure() << message.str();
        }
    return ::testing::AssertionSuccess();
}
} // namespace Quoll::Testing
