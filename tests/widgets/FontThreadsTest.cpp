// Fonts used from two threads at once, as the loading thread builds and measures fonts while the
// main thread draws: bitmap fonts loaded from one descriptor share their data, and a system font
// and its duplicate fill one glyph cache. Run under ThreadSanitizer to check the locks:
//   test_widgets --gtest_filter='FontThreads.*'
#include "FontTestSupport.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/widgets/SysFont.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Quoll;
using namespace QuollTest;

namespace
{
// Draws the text into a scratch image of its own; returns how many pixels it touched.
int DrawCount(Font& font, const std::wstring& text)
{
    MemoryImage image;
    const std::vector<uint32_t> black(200 * 30, 0xFF000000);
    image.SetBits(black.data(), 200, 30);
    Graphics g(&image);
    g.SetFont(&font);
    g.SetColor(Color(255, 255, 255));
    g.DrawString(text, 2, 20);
    const auto pixels = PixelsOf(image);
    return static_cast<int>(pixels.size() - static_cast<size_t>(std::count(pixels.begin(), pixels.end(), 0xFF000000)));
}
} // namespace

TEST(FontThreads, ABitmapFontLoadsOnOneThreadWhileAnotherDraws)
{
    SyntheticFontFiles files;
    auto font = files.Load();
    ASSERT_NE(font, nullptr);
    const int expected = DrawCount(*font, L"AV b?");
    int widths = 0;
    std::thread loader([&] {
        for (int i = 0; i < 40; ++i)
        {
            std::string error;
            auto loaded = ImageFont::Load(files.Descriptor(), error);
            widths += loaded ? loaded->StringWidth(L"AV b?") : -1000;
        }
    });
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(DrawCount(*font, L"AV b?"), expected);
    loader.join();
    EXPECT_EQ(widths, 40 * font->StringWidth(L"AV b?"));
}

TEST(FontThreads, ASystemFontMeasuresOnOneThreadWhileItsDuplicateDraws)
{
    std::string error;
    auto font = SysFont::Create(nullptr, "DejaVu Sans", 10, 0, error);
    ASSERT_NE(font, nullptr) << error;
    const std::unique_ptr<Font> copy = font->Duplicate();
    const std::wstring text = L"The quick brown fox 0123456789";
    int total = 0;
    std::thread measurer([&] {
        for (int i = 0; i < 20; ++i)
            total += font->StringWidth(text.substr(static_cast<size_t>(i)));
    });
    int first = -1;
    for (int i = 0; i < 20; ++i)
    {
        const int drawn = DrawCount(*copy, text);
        if (first < 0)
            first = drawn;
        EXPECT_EQ(drawn, first);
    }
    measurer.join();
    int expected = 0;
    for (int i = 0; i < 20; ++i)
        expected += copy->StringWidth(text.substr(static_cast<size_t>(i)));
    EXPECT_EQ(total, expected);
}
