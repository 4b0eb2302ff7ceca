#pragma once
// The rendered glyphs of one system-font face, made on first use and kept. The loading thread
// measures with fonts while the main thread draws, and duplicates of a font share one cache, so
// every use goes through the cache's lock.
#include "framework/widgets/TrueTypeFace.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace Quoll
{
class GlyphCache
{
public:
    explicit GlyphCache(std::unique_ptr<TrueTypeFace> face);
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    [[nodiscard]] int GetAscent() const { return mFace->GetAscent(); }
    [[nodiscard]] int GetDescent() const { return mFace->GetDescent(); }
    [[nodiscard]] const std::string& GetFamilyName() const { return mFace->GetFamilyName(); }
    // Advance of c after previous (0 at a line start), kerning included.
    int Advance(wchar_t c, wchar_t previous);
    int StringWidth(std::wstring_view text);
    // Calls visit with each character's glyph and its pen position from 0, under the lock.
    void Walk(std::wstring_view text, const std::function<void(const GlyphBitmap&, int pen)>& visit);

private:
    const GlyphBitmap& GlyphLocked(wchar_t c);

    std::mutex mLock;
    std::unique_ptr<TrueTypeFace> mFace;
    std::unordered_map<char32_t, GlyphBitmap> mGlyphs;
};
} // namespace Quoll
