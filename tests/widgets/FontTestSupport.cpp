#include "FontTestSupport.h"

#include "framework/files/ImageLib.h"

#include <unistd.h>

#include <fstream>

namespace QuollTest
{
const char* const kSyntheticDescriptor = R"(# synthetic test font
atlas atlas.png
height 10
ascent 8
ascent-padding 1
line-spacing-offset 2
glyph A 0 0 5 8 0 -8 6
glyph V 8 0 5 8 0 -8 6
glyph ? 16 0 4 8 1 -8 6
glyph U+0062 24 0 5 10 0 -8 6
glyph " " 0 0 0 0 0 0 3
kern A V -2
)";

namespace
{
struct Placement
{
    wchar_t c;
    int atlasX, width, height, offsetX;
};

constexpr Placement kGlyphs[] = {
    {L'A', 0, 5, 8, 0},
    {L'V', 8, 5, 8, 0},
    {L'?', 16, 4, 8, 1},
    {L'b', 24, 5, 10, 0},
};

const Placement* Find(wchar_t c)
{
    for (const Placement& p : kGlyphs)
        if (p.c == c)
            return &p;
    return nullptr;
}
} // namespace

bool GlyphPixel(wchar_t c, int column, int row)
{
    switch (c)
    {
    case L'A': return true;
    case L'V': return (column + row) % 2 == 0;
    case L'?': return column == 0 || column == 3 || row == 0 || row == 7;
    case L'b': return column < 2;
    default: return false;
    }
}

SyntheticFontFiles::SyntheticFontFiles()
    : mFolder(std::filesystem::path(QUOLL_TEST_HOME) /
              ("font_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name()))
{
    std::filesystem::remove_all(mFolder);
    std::filesystem::create_directories(mFolder);
    ImageLib::Image atlas(64, 16);
    for (const Placement& p : kGlyphs)
        for (int row = 0; row < p.height; ++row)
            for (int column = 0; column < p.width; ++column)
                if (GlyphPixel(p.c, column, row))
                    atlas.GetBits()[row * 64 + p.atlasX + column] = 0xFFFFFFFF;
    EXPECT_TRUE(ImageLib::WritePng((mFolder / "atlas.png").string(), atlas));
    WriteDescriptor("font.txt", kSyntheticDescriptor);
}

SyntheticFontFiles::~SyntheticFontFiles()
{
    std::filesystem::remove_all(mFolder);
}

std::string SyntheticFontFiles::WriteDescriptor(const std::string& name, const std::string& text) const
{
    const std::filesystem::path path = mFolder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

std::unique_ptr<Quoll::ImageFont> SyntheticFontFiles::Load() const
{
    std::string error;
    auto font = Quoll::ImageFont::Load(Descriptor(), error);
    EXPECT_NE(font, nullptr) << error;
    return font;
}

void DrawReference(std::vector<uint32_t>& pixels, int width, int height, int x, int baseline,
                   const std::wstring& text, uint32_t colour, const Quoll::Rect& clip)
{
    int pen = x;
    wchar_t previous = 0;
    for (wchar_t c : text)
    {
        if (previous == L'A' && c == L'V')
            pen -= 2;
        previous = c;
        if (c == L' ')
        {
            pen += 3;
            continue;
        }
        const Placement* p = Find(c);
        if (p == nullptr)
            p = Find(L'?');
        const wchar_t shown = p->c;
        for (int row = 0; row < p->height; ++row)
            for (int column = 0; column < p->width; ++column)
            {
                const int px = pen + p->offsetX + column, py = baseline - 8 + row;
                const bool inside = px >= clip.x && px < clip.x + clip.width && py >= clip.y &&
                                    py < clip.y + clip.height && px >= 0 && px < width && py >= 0 && py < height;
                if (inside && GlyphPixel(shown, column, row))
                    pixels[static_cast<size_t>(py * width + px)] = colour;
            }
        pen += 6;
    }
}

::testing::AssertionResult SamePixels(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                                      int width)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " pixels, expected " << expected.size();
    for (size_t i = 0; i < actual.size(); ++i)
        if (actual[i] != expected[i])
            return ::testing::AssertionFailure() << "pixel (" << i % static_cast<size_t>(width) << ", "
                                                 << i / static_cast<size_t>(width) << ") is " << std::hex << actual[i]
                                                 << ", expected " << expected[i];
    return ::testing::AssertionSuccess();
}

uint32_t TintedWhite(const Quoll::Color& colour)
{
    Quoll::MemoryImage white, target;
    const uint32_t whitePixel = 0xFFFFFFFF, blackPixel = 0xFF000000;
    white.SetBits(&whitePixel, 1, 1);
    target.SetBits(&blackPixel, 1, 1);
    target.Blt(&white, 0, 0, Quoll::Rect(0, 0, 1, 1), colour, Quoll::DrawMode::Normal);
    return target.GetBits()[0];
}

std::vector<uint32_t> PixelsOf(Quoll::MemoryImage& image)
{
    const uint32_t* bits = image.GetBits();
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(image.mWidth) * static_cast<size_t>(image.mHeight));
}
} // namespace QuollTest
