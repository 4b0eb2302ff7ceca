#pragma once
// The system font: an installed face found by name through fontconfig (DejaVu Sans when no
// installed family has the name), sized from points at 96 dots per inch, rendered by FreeType
// into a glyph cache and drawn as anti-aliased coverage in the text colour. Measuring needs no
// display, so fonts are made and measured before one exists (the loading thread builds them).
// Drawing into the screen while the 3D renderer holds a scene open ends the scene first, so
// that the text lands on the finished picture. Duplicates share the face and its glyph cache.
#include "framework/display/Font.h"

#include <memory>
#include <string>

namespace Quoll
{
class GlyphCache;
class QuollAppBase;

class SysFont final : public Font
{
public:
    // The face of the name at the point size; script (the character set the original system
    // picks faces by) is kept but changes nothing: faces map all of Unicode. Null with the
    // reason in error when no font file at all can be read.
    static std::unique_ptr<SysFont> Create(QuollAppBase* app, const std::string& faceName, int pointSize,
                                           int script, std::string& error);
    // The application's hook for its overlay font: Create, or null.
    static std::unique_ptr<Font> MakeForApplication(QuollAppBase* app, const std::string& faceName, int pointSize);

    SysFont(const SysFont&) = default;
    ~SysFont() override;

    [[nodiscard]] int GetHeight() const override;
    [[nodiscard]] int GetAscent() const override;
    [[nodiscard]] int GetAscentPadding() const override { return 0; }
    [[nodiscard]] int GetLineSpacing() const override { return GetHeight(); }
    [[nodiscard]] int StringWidth(const std::wstring& text) override;
    [[nodiscard]] int CharWidthKern(wchar_t c, wchar_t previous) override;
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                    const Rect& clip) override;
    [[nodiscard]] std::unique_ptr<Font> Duplicate() const override;

    // The family actually drawn (after the fallback) and the size in pixels.
    [[nodiscard]] const std::string& GetFamilyName() const;
    [[nodiscard]] int GetPixelSize() const { return mPixelSize; }
    [[nodiscard]] int GetPointSize() const { return mPointSize; }
    [[nodiscard]] int GetScript() const { return mScript; }

private:
    SysFont(QuollAppBase* app, std::shared_ptr<GlyphCache> glyphs, int pointSize, int pixelSize, int script);

    QuollAppBase* mApp; // may be null
    std::shared_ptr<GlyphCache> mGlyphs;
    int mPointSize;
    int mPixelSize;
    int mScript;
};
} // namespace Quoll
