#include "framework/widgets/SysFont.h"

#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/display/Graphics.h"
#include "framework/display/Renderer3D.h"
#include "framework/widgets/GlyphCache.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace Quoll
{
namespace
{
struct PlacedGlyph
{
    const GlyphBitmap* glyph;
    int x; // of the bitmap's left column
    int y; // of its top row
};

// A 3D scene still open on the screen ends before text is drawn into it.
void EndOpenScene(Image* dest)
{
    if (!IsImage3D(dest))
        return;
    auto* surfaceImage = static_cast<DDImage*>(dest);
    if (Renderer3D* renderer = surfaceImage->mDDInterface->GetRenderer())
        renderer->EndScene();
}
} // namespace

std::unique_ptr<SysFont> SysFont::Create(QuollAppBase* app, const std::string& faceName, int pointSize, int script,
                                         std::string& error)
{
    const std::string file = TrueTypeFace::FindSystemFontFile(faceName);
    if (file.empty())
    {
        error = "No font file for " + faceName + " nor its fallback";
        return nullptr;
    }
    const int pixelSize = TrueTypeFace::PixelSizeOfPoints(std::max(pointSize, 1));
    auto face = TrueTypeFace::Open(file, pixelSize, error);
    if (!face)
        return nullptr;
    return std::unique_ptr<SysFont>(
        new SysFont(app, std::make_shared<GlyphCache>(std::move(face)), pointSize, pixelSize, script));
}

std::unique_ptr<Font> SysFont::MakeForApplication(QuollAppBase* app, const std::string& faceName, int pointSize)
{
    std::string ignored;
    return Create(app, faceName, pointSize, 0, ignored);
}

SysFont::SysFont(QuollAppBase* app, std::shared_ptr<GlyphCache> glyphs, int pointSize, int pixelSize, int script)
    : mApp(app), mGlyphs(std::move(glyphs)), mPointSize(pointSize), mPixelSize(pixelSize), mScript(script)
{
}

SysFont::~SysFont() = default;

int SysFont::GetHeight() const
{
    return mGlyphs->GetAscent() + mGlyphs->GetDescent();
}

int SysFont::GetAscent() const
{
    return mGlyphs->GetAscent();
}

const std::string& SysFont::GetFamilyName() const
{
    return mGlyphs->GetFamilyName();
}

int SysFont::StringWidth(const std::wstring& text)
{
    return mGlyphs->StringWidth(text);
}

int SysFont::CharWidthKern(wchar_t c, wchar_t previous)
{
    return mGlyphs->Advance(c, previous);
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip)
{
    if (g == nullptr || text.empty() || color.a <= 0)
        return;
    Image* dest = g->mDestImage;
    const Rect area = clip.Intersection(Rect(0, 0, dest->mWidth, dest->mHeight));
    if (area.width <= 0 || area.height <= 0)
        return;
    // The glyphs in destination pixels, and the box they cover.
    const int penX = static_cast<int>(static_cast<float>(x) + g->mTransX);
    const int baseline = static_cast<int>(static_cast<float>(y) + g->mTransY);
    std::vector<PlacedGlyph> placed;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    mGlyphs->Walk(text, [&](const GlyphBitmap& glyph, int pen) {
        if (glyph.width <= 0 || glyph.height <= 0)
            return;
        const PlacedGlyph p{&glyph, penX + pen + glyph.left, baseline - glyph.top};
        placed.push_back(p);
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x + glyph.width);
        bottom = std::max(bottom, p.y + glyph.height);
    });
    if (placed.empty())
        return;
    const Rect box = Rect(left, top, right - left, bottom - top).Intersection(area);
    if (box.width <= 0 || box.height <= 0)
        return;
    // One coverage mask for the whole string (overlapping glyphs keep the larger coverage),
    // filled in one call so that the 3D screen draws the string as one picture.
    std::vector<uint8_t> coverage(static_cast<size_t>(box.width) * static_cast<size_t>(box.height), 0);
    for (const PlacedGlyph& p : placed)
    {
        const Rect part = Rect(p.x, p.y, p.glyph->width, p.glyph->height).Intersection(box);
        for (int row = part.y; row < part.y + part.height; ++row)
        {
            const uint8_t* from = p.glyph->coverage.data() + static_cast<size_t>(row - p.y) * p.glyph->width +
                                  static_cast<size_t>(part.x - p.x);
            uint8_t* to = coverage.data() + static_cast<size_t>(row - box.y) * box.width +
                          static_cast<size_t>(part.x - box.x);
            for (int i = 0; i < part.width; ++i)
                to[i] = std::max(to[i], from[i]);
        }
    }
    std::vector<ScanSpan> spans(static_cast<size_t>(box.height));
    for (int row = 0; row < box.height; ++row)
        spans[static_cast<size_t>(row)] = ScanSpan{box.y + row, box.x, box.width};
    EndOpenScene(dest);
    dest->FillScanLinesWithAlpha(spans.data(), box.height, color, g->GetDrawMode(), coverage.data(), box.x, box.y,
                                 box.width, box.height);
}

std::unique_ptr<Font> SysFont::Duplicate() const
{
    return std::unique_ptr<Font>(new SysFont(*this));
}
} // namespace Quoll
