#include "framework/widgets/TrueTypeFace.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace Quoll
{
namespace
{
constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr const char* kFallbackFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The file fontconfig picks for the family, when the pick is that family (fontconfig always
// answers with its closest face, which for an unknown name is any face at all).
std::string MatchFamily(const std::string& family)
{
    static std::mutex lock; // fontconfig's configuration is built once, on first use
    std::lock_guard guard(lock);
    // The configuration is freed at exit, so that it is not taken for a leak.
    static const bool finishAtExit = std::atexit([] { FcFini(); }) == 0;
    (void)finishAtExit;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr)
        return {};
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return {};
    std::string file;
    FcChar8* matchedFamily = nullptr;
    FcChar8* matchedFile = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &matchedFile) == FcResultMatch &&
        Lower(reinterpret_cast<const char*>(matchedFamily)) == Lower(family))
        file = reinterpret_cast<const char*>(matchedFile);
    FcPatternDestroy(match);
    return file;
}

int CeilPixels(FT_Pos value)
{
    return static_cast<int>((value + 63) >> 6);
}
} // namespace

struct TrueTypeFace::Handles
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Handles()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

std::string TrueTypeFace::FindSystemFontFile(const std::string& faceName)
{
    if (!faceName.empty())
    {
        std::string file = MatchFamily(faceName);
        if (!file.empty())
            return file;
    }
    std::string file = MatchFamily(kFallbackFamily);
    if (file.empty())
    {
        if (FILE* probe = std::fopen(kFallbackFile, "rb"))
        {
            std::fclose(probe);
            file = kFallbackFile;
        }
    }
    return file;
}

TrueTypeFace::TrueTypeFace() : mHandles(std::make_unique<Handles>()) {}

TrueTypeFace::~TrueTypeFace() = default;

std::unique_ptr<TrueTypeFace> TrueTypeFace::Open(const std::string& file, int pixelSize, std::string& error)
{
    std::unique_ptr<TrueTypeFace> face(new TrueTypeFace());
    Handles& h = *face->mHandles;
    if (pixelSize < 1 || pixelSize > 1024)
    {
        error = "Font size out of range: " + std::to_string(pixelSize);
        return nullptr;
    }
    if (FT_Init_FreeType(&h.library) != 0)
    {
        error = "Cannot start FreeType";
        return nullptr;
    }
    if (FT_New_Face(h.library, file.c_str(), 0, &h.face) != 0)
    {
        error = "Cannot read font file: " + file;
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(h.face, 0, static_cast<FT_UInt>(pixelSize)) != 0)
    {
        error = "Cannot size font file: " + file;
        return nullptr;
    }
    face->mPixelSize = pixelSize;
    face->mAscent = CeilPixels(h.face->size->metrics.ascender);
    face->mDescent = CeilPixels(-h.face->size->metrics.descender);
    face->mFamily = h.face->family_name != nullptr ? h.face->family_name : "";
    return face;
}

bool TrueTypeFace::HasChar(char32_t c) const
{
    return FT_Get_Char_Index(mHandles->face, c) != 0;
}

bool TrueTypeFace::Render(char32_t c, GlyphBitmap& out)
{
    out = GlyphBitmap();
    FT_Face face = mHandles->face;
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    out.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = static_cast<int>(bitmap.width);
    out.height = static_cast<int>(bitmap.rows);
    out.coverage.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.height), 0);
    for (int y = 0; y < out.height; ++y)
    {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        uint8_t* dest = out.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(out.width);
        for (int x = 0; x < out.width; ++x)
        {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                dest[x] = static_cast<uint8_t>(row[x] * 255 / std::max(1, bitmap.num_grays - 1));
            else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                dest[x] = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
        }
    }
    return index != 0;
}

int TrueTypeFace::Kerning(char32_t previous, char32_t c) const
{
    FT_Face face = mHandles->face;
    if (previous == 0 || !FT_HAS_KERNING(face))
        return 0;
    FT_Vector delta{};
    if (FT_Get_Kerning(face, FT_Get_Char_Index(face, previous), FT_Get_Char_Index(face, c), FT_KERNING_DEFAULT,
                       &delta) != 0)
        return 0;
    return static_cast<int>(delta.x >> 6);
}
} // namespace Quoll
