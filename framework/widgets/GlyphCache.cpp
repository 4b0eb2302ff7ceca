#include "framework/widgets/GlyphCache.h"

namespace Quoll
{
GlyphCache::GlyphCache(std::unique_ptr<TrueTypeFace> face) : mFace(std::move(face)) {}

const GlyphBitmap& GlyphCache::GlyphLocked(wchar_t c)
{
    const auto key = static_cast<char32_t>(c);
    auto found = mGlyphs.find(key);
    if (found != mGlyphs.end())
        return found->second;
    GlyphBitmap glyph;
    // A character the face lacks keeps the face's own missing-character glyph.
    mFace->Render(key, glyph);
    return mGlyphs.emplace(key, std::move(glyph)).first->second;
}

int GlyphCache::Advance(wchar_t c, wchar_t previous)
{
    std::lock_guard guard(mLock);
    return GlyphLocked(c).advance + mFace->Kerning(static_cast<char32_t>(previous), static_cast<char32_t>(c));
}

int GlyphCache::StringWidth(std::wstring_view text)
{
    int width = 0;
    Walk(text, [&width](const GlyphBitmap& glyph, int pen) { width = pen + glyph.advance; });
    return width;
}

void GlyphCache::Walk(std::wstring_view text, const std::function<void(const GlyphBitmap&, int pen)>& visit)
{
    std::lock_guard guard(mLock);
    int pen = 0;
    wchar_t previous = 0;
    for (wchar_t c : text)
    {
        pen += mFace->Kerning(static_cast<char32_t>(previous), static_cast<char32_t>(c));
        const GlyphBitmap& glyph = GlyphLocked(c);
        visit(glyph, pen);
        pen += glyph.advance;
        previous = c;
    }
}
} // namespace Quoll
