#include "FontBaker.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace Quoll
{
namespace
{
struct Placed
{
    char32_t c;
    GlyphBitmap glyph;
    int x = 0, y = 0;
};

std::string CodeOf(char32_t c)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

bool ParseCode(const std::string& text, char32_t& out)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    out = static_cast<char32_t>(std::stoul(text, nullptr, 16));
    return out <= 0x10FFFF;
}

// Rows of glyphs from the left, a new row when one is full; returns the atlas height.
int Pack(std::vector<Placed>& glyphs)
{
    int x = 0, y = 0, rowHeight = 0;
    for (Placed& p : glyphs)
    {
        const int w = p.glyph.width + FontBaker::kGap, h = p.glyph.height + FontBaker::kGap;
        if (p.glyph.width == 0 || p.glyph.height == 0)
            continue;
        if (x + w > FontBaker::kAtlasWidth)
        {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        p.x = x;
        p.y = y;
        x += w;
        rowHeight = std::max(rowHeight, h);
    }
    return y + rowHeight;
}
} // namespace

bool FontBaker::ParseCharacters(const std::string& text, std::vector<char32_t>& out)
{
    std::stringstream list(text);
    std::string item;
    while (std::getline(list, item, ','))
    {
        const size_t dash = item.find('-');
        char32_t first = 0, last = 0;
        if (!ParseCode(item.substr(0, dash), first))
            return false;
        last = first;
        if (dash != std::string::npos && !ParseCode(item.substr(dash + 1), last))
            return false;
        if (last < first)
            return false;
        for (char32_t c = first; c <= last; ++c)
            if (std::find(out.begin(), out.end(), c) == out.end())
                out.push_back(c);
    }
    return !out.empty();
}

bool FontBaker::Bake(const std::vector<char32_t>& characters, const std::string& atlasName, BakedFont& out,
                     std::string& error)
{
    std::vector<Placed> glyphs;
    for (char32_t c : characters)
    {
        Placed p{c, {}, 0, 0};
        if (mFace.HasChar(c) && mFace.Render(c, p.glyph))
            glyphs.push_back(std::move(p));
    }
    for (const Placed& p : glyphs)
        if (p.glyph.width + kGap > kAtlasWidth)
        {
            error = "A glyph is wider than the atlas: " + CodeOf(p.c);
            return false;
        }
    const int height = std::max(Pack(glyphs), 1);
    out.atlas = ImageLib::Image(kAtlasWidth, height);
    if (out.atlas.GetBits() == nullptr)
    {
        error = "The glyphs need an atlas of " + std::to_string(height) + " rows, too many";
        return false;
    }
    uint32_t* bits = out.atlas.GetBits();
    std::ostringstream text;
    text << "# " << mFace.GetFamilyName() << ", " << mFace.GetPixelSize() << " pixels\n";
    text << "atlas " << atlasName << "\n";
    text << "height " << mFace.GetAscent() + mFace.GetDescent() << "\n";
    text << "ascent " << mFace.GetAscent() << "\n";
    text << "ascent-padding 0\nline-spacing-offset 0\n";
    for (const Placed& p : glyphs)
    {
        const GlyphBitmap& g = p.glyph;
        for (int row = 0; row < g.height; ++row)
            for (int column = 0; column < g.width; ++column)
            {
                const uint32_t alpha = g.coverage[static_cast<size_t>(row * g.width + column)];
                bits[static_cast<size_t>((p.y + row) * kAtlasWidth + p.x + column)] = alpha << 24 | 0xFFFFFF;
            }
        text << "glyph " << CodeOf(p.c) << " " << p.x << " " << p.y << " " << g.width << " " << g.height << " "
             << g.left << " " << -g.top << " " << g.advance << "\n";
    }
    out.kerningPairs = 0;
    for (const Placed& first : glyphs)
        for (const Placed& second : glyphs)
            if (const int amount = mFace.Kerning(first.c, second.c); amount != 0)
            {
                text << "kern " << CodeOf(first.c) << " " << CodeOf(second.c) << " " << amount << "\n";
                ++out.kerningPairs;
            }
    out.descriptor = text.str();
    out.glyphCount = static_cast<int>(glyphs.size());
    return true;
}
} // namespace Quoll
