// Screenshots and the image dump: numbering after the highest screenshot, the report page of
// three images, the thumbnail's sampling, largest image first, a second dump replacing the
// first, and thumbnails written as JPEG at quality 80.
// Rerun one case: test_app --gtest_filter='Screenshot.*:ImageDump.*'
#include "TestApp.h"

#include "framework/app/ImageDump.h"
#include "framework/app/Screenshot.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Quoll;
using QuollTest::ReadFileText;
using QuollTest::ScratchFolder;

namespace
{
std::string DataFolder(const ScratchFolder& folder)
{
    return folder.Path().string() + "/";
}

std::vector<uint32_t> Gradient(int width, int height)
{
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | uint32_t(i * 2654435761u & 0xFFFFFF);
    return pixels;
}

// The first quantisation values of the first table, in the order stored.
std::vector<int> FirstQuantisationValues(const std::string& jpeg, size_t count)
{
    const size_t marker = jpeg.find("\xFF\xDB");
    if (marker == std::string::npos || marker + 5 + count > jpeg.size())
        return {};
    std::vector<int> values;
    for (size_t i = 0; i < count; ++i)
        values.push_back(uint8_t(jpeg[marker + 5 + i]));
    return values;
}
} // namespace

TEST(Screenshot, NumberingContinuesAfterTheHighestFile)
{
    ScratchFolder folder("shots");
    const std::string data = DataFolder(folder);
    const std::vector<uint32_t> pixels = Gradient(16, 8);

    EXPECT_EQ(WriteScreenshot(data, pixels.data(), 16, 8), data + "_screenshots/image1.png");
    for (const char* name : {"image7.png", "imagex.png"})
        std::ofstream(folder / "_screenshots" / name) << "x";
    const std::string written = WriteScreenshot(data, pixels.data(), 16, 8);
    EXPECT_EQ(written, data + "_screenshots/image8.png");

    std::unique_ptr<ImageLib::Image> back = ImageLib::ReadImageFile(written);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetWidth(), 16);
    ASSERT_EQ(back->GetHeight(), 8);
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), back->GetBits()));

    EXPECT_EQ(WriteScreenshot(data, nullptr, 16, 8), "");
}

TEST(ImageDump, PageOfThreeImagesListsTheLargestFirst)
{
    ImageDumpEntry small;
    small.width = small.height = 10;
    small.memoryBits = true;
    small.hasAlpha = true;
    small.filePath = "images/a.png";
    ImageDumpEntry large;
    large.width = 100;
    large.height = 50;
    large.palettized = large.nativeAlpha = large.isVolatile = large.forcedMode = true;
    ImageDumpEntry surface;
    surface.width = surface.height = 20;
    surface.surface = surface.texture = surface.rlAlpha = surface.rlAdditive = surface.hasTrans = true;
    surface.textureFormat = 4;
    surface.textureBytes = 800;

    const std::string empty = "<TD>&nbsp;</TD>";
    const std::string expected =
        "<HTML><BODY BGCOLOR=EEEEFF><CENTER><FONT SIZE=+2><B>Sun Dec  6 18:03:31 2026\n</B></FONT><BR>\n"
        "Total Image Allocation: 10,648 bytes<BR>\n"
        "<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=4>\n"
        "<TR><TD><A HREF=img0000.png><IMG SRC=thumb0000.jpg WIDTH=64 HEIGHT=64></A></TD>"
        "<TD ALIGN=RIGHT>100 x 50<BR>7,048 bytes</TD>" +
        empty + "<TD>Palletized<BR>6,024</TD>" + empty + empty + "<TD>Volatile</TD><TD>Forced</TD>" + empty +
        empty + "<TD>NativeAlpha<BR>1,024</TD>" + empty + empty + empty +
        "</TR>\n"
        "<TR><TD><A HREF=img0001.png><IMG SRC=thumb0001.jpg WIDTH=64 HEIGHT=64></A></TD>"
        "<TD ALIGN=RIGHT>20 x 20<BR>3,200 bytes</TD>" +
        empty + empty + "<TD>DDSurface<BR>1,600</TD><TD>Texture<BR>R5G6B5<BR>800</TD>" + empty + empty + empty +
        "<TD>HasTrans</TD>" + empty + "<TD>RLAlpha<BR>400</TD><TD>RLAdditive<BR>400</TD>" + empty +
        "</TR>\n"
        "<TR><TD><A HREF=img0002.png><IMG SRC=thumb0002.jpg WIDTH=64 HEIGHT=64></A></TD>"
        "<TD ALIGN=RIGHT>10 x 10<BR>400 bytes</TD><TD>mBits<BR>400</TD>" +
        empty + empty + empty + empty + empty + "<TD>HasAlpha</TD>" + empty + empty + empty + empty +
        "<TD>images/a.png</TD></TR>\n"
        "<TR><TD>Totals</TD><TD>10,648</TD><TD>400</TD><TD>6,024</TD><TD>1,600</TD><TD>800</TD>" +
        empty + empty + empty + empty + "<TD>1,024</TD><TD>400</TD><TD>400</TD>" + empty +
        "</TR>\n"
        "</TABLE></CENTER></BODY></HTML>\n";
    EXPECT_EQ(ImageDumpPage({small, large, surface}, "Sun Dec  6 18:03:31 2026\n"), expected);
}

TEST(ImageDump, ThumbnailSamplesPixelCentres)
{
    int x = 0, y = 0;
    ThumbnailSource(0, 0, 640, 480, x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 3);
    ThumbnailSource(63, 63, 640, 480, x, y);
    EXPECT_EQ(x, 635);
    EXPECT_EQ(y, 476);
    ThumbnailSource(63, 63, 1, 1, x, y); // a one-pixel image fills the whole thumbnail
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(ImageDump, WritesEveryImageAndASecondDumpReplacesTheFirst)
{
    ScratchFolder folder("dump");
    const std::string data = DataFolder(folder);
    MemoryImage large, small;
    const std::vector<uint32_t> largePixels = Gradient(640, 480);
    const std::vector<uint32_t> smallPixels = Gradient(8, 8);
    small.SetBits(smallPixels.data(), 8, 8);
    large.SetBits(largePixels.data(), 640, 480);

    ASSERT_TRUE(DumpImages({DescribeImage(small), DescribeImage(large)}, data, DumpTimeText()));
    const std::filesystem::path dump = folder / "_dump";
    EXPECT_NE(ReadFileText(dump / "imagelist.html").find("640 x 480<BR>1,228,800 bytes"), std::string::npos);
    std::unique_ptr<ImageLib::Image> first = ImageLib::ReadImageFile((dump / "img0000.png").string());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetWidth(), 640);
    EXPECT_TRUE(std::equal(largePixels.begin(), largePixels.end(), first->GetBits()));
    std::unique_ptr<ImageLib::Image> thumbnail = ImageLib::ReadImageFile((dump / "thumb0001.jpg").string());
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_EQ(thumbnail->GetWidth(), 64);
    EXPECT_EQ(thumbnail->GetHeight(), 64);
    // Quality 80 scales the standard luminance table 16, 11, 12, 14 to 6, 4, 5, 6.
    EXPECT_EQ(FirstQuantisationValues(ReadFileText(dump / "thumb0001.jpg"), 4), (std::vector<int>{6, 4, 5, 6}));

    std::ofstream(dump / "stale.txt") << "from before";
    ASSERT_TRUE(DumpImages({DescribeImage(small)}, data, DumpTimeText()));
    EXPECT_TRUE(std::filesystem::exists(dump / "img0000.png"));
    EXPECT_FALSE(std::filesystem::exists(dump / "img0001.png"));
    EXPECT_FALSE(std::filesystem::exists(dump / "thumb0001.jpg"));
    EXPECT_FALSE(std::filesystem::exists(dump / "stale.txt"));
}
