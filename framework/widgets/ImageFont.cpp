#include "framework/widgets/ImageFont.h"

#include "framework/core/Common.h"
#include "framework/core/CriticalSection.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "framework/files/PakInterface.h"
#include "framework/widgets/DescParser.h"

#include <map>
#include <mutex>
#include <unordered_map>

namespace Quoll
{
struct ImageFont::Data
{
    std::unique_ptr<MemoryImage> atlas;
    int height = 0;
    int ascent = 0;
    int ascentPadding = 0;
    int lineSpacingOffset = 0;
    std::unordered_map<char32_t, Glyph> glyphs;
    std::unordered_map<uint64_t, int> kerning; // previous << 32 | character
    // Drawing builds the atlas's derived tables on first use; fonts sharing it draw one at a time.
    CriticalSection lock;
};

namespace
{
constexpr int kMaxMetric = 4096;

uint64_t PairKey(char32_t previous, char32_t c)
{
    return uint64_t{previous} << 32 | c;
}

// Reads a descriptor into the font's data; the atlas is read when its line is met.
class ImageFontDescParser final : public DescParser
{
public:
    ImageFontDescParser(ImageFont::Data& data, std::string folder) : mData(data), mFolder(std::move(folder)) {}

private:
    bool HandleCommand(const Command& command) override
    {
        const std::string& k = command.keyword;
        if (k == "atlas")
            return Atlas(command);
        if (k == "height")
            return Metric(command, 1, kMaxMetric, mData.height, mHasHeight);
        if (k == "ascent")
        {
            mAscentLine = command.line;
            return Metric(command, 0, kMaxMetric, mData.ascent, mHasAscent);
        }
        if (k == "ascent-padding")
            return Metric(command, -kMaxMetric, kMaxMetric, mData.ascentPadding, mHasPadding);
        if (k == "line-spacing-offset")
            return Metric(command, -kMaxMetric, kMaxMetric, mData.lineSpacingOffset, mHasSpacing);
        if (k == "glyph")
            return GlyphLine(command);
        if (k == "kern")
            return KernLine(command);
        return Fail("Unknown command '" + k + "'");
    }

    bool Finish() override
    {
        if (!mData.atlas)
            return Fail("No 'atlas' line");
        if (!mHasHeight)
            return Fail("No 'height' line");
        if (!mHasAscent)
            return Fail("No 'ascent' line");
        if (mData.ascent > mData.height)
            return Fail("The ascent " + std::to_string(mData.ascent) + " exceeds the height " +
                            std::to_string(mData.height),
                        mAscentLine);
        const Rect whole(0, 0, mData.atlas->mWidth, mData.atlas->mHeight);
        for (const auto& [c, line] : mGlyphLines)
        {
            const Rect& source = mData.glyphs[c].source;
            if (source.Intersection(whole) != source)
                return Fail("The glyph's rectangle leaves the " + std::to_string(whole.width) + " x " +
                                std::to_string(whole.height) + " atlas",
                            line);
        }
        return true;
    }

    bool Atlas(const Command& command)
    {
        if (!ExpectArgs(command, 1))
            return false;
        if (mData.atlas)
            return Fail("A second 'atlas' line");
        const std::string path = mFolder.empty() ? command.args[0] : mFolder + "/" + command.args[0];
        const auto picture = ImageLib::ReadImageFile(path);
        if (!picture || picture->GetBits() == nullptr)
            return Fail("Cannot read the atlas image " + path);
        mData.atlas = std::make_unique<MemoryImage>();
        mData.atlas->mFilePath = path;
        mData.atlas->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight());
        return true;
    }

    bool Metric(const Command& command, int min, int max, int& value, bool& seen)
    {
        if (seen)
            return Fail("A second '" + command.keyword + "' line");
        if (!ExpectArgs(command, 1) || !ReadInt(command, 0, min, max, value))
            return false;
        seen = true;
        return true;
    }

    bool GlyphLine(const Command& command)
    {
        char32_t c = 0;
        ImageFont::Glyph glyph;
        if (!ExpectArgs(command, 8) || !ReadChar(command, 0, c) || !ReadInt(command, 1, 0, 1 << 16, glyph.source.x) ||
            !ReadInt(command, 2, 0, 1 << 16, glyph.source.y) || !ReadInt(command, 3, 0, kMaxMetric, glyph.source.width) ||
            !ReadInt(command, 4, 0, kMaxMetric, glyph.source.height) ||
            !ReadInt(command, 5, -kMaxMetric, kMaxMetric, glyph.offsetX) ||
            !ReadInt(command, 6, -kMaxMetric, kMaxMetric, glyph.offsetY) ||
            !ReadInt(command, 7, -kMaxMetric, kMaxMetric, glyph.advance))
            return false;
        if (!mData.glyphs.emplace(c, glyph).second)
            return Fail("A second glyph of " + command.args[0]);
        mGlyphLines.emplace_back(c, command.line);
        return true;
    }

    bool KernLine(const Command& command)
    {
        char32_t first = 0, second = 0;
        int amount = 0;
        if (!ExpectArgs(command, 3) || !ReadChar(command, 0, first) || !ReadChar(command, 1, second) ||
            !ReadInt(command, 2, -kMaxMetric, kMaxMetric, amount))
            return false;
        if (!mData.kerning.emplace(PairKey(first, second), amount).second)
            return Fail("A second kerning of " + command.args[0] + " " + command.args[1]);
        return true;
    }

    ImageFont::Data& mData;
    std::string mFolder;
    bool mHasHeight = false, mHasAscent = false, mHasPadding = false, mHasSpacing = false;
    int mAscentLine = 0;
    std::vector<std::pair<char32_t, int>> mGlyphLines;
};

// Fonts loaded from one descriptor share their data while any of them lives.
struct LoadedFonts
{
    std::mutex lock;
    std::map<std::string, std::weak_ptr<ImageFont::Data>> byPath;
};

LoadedFonts& Loaded()
{
    static LoadedFonts loaded;
    return loaded;
}

std::shared_ptr<ImageFont::Data> ParseFont(const std::string& text, const std::string& folder, std::string& error)
{
    auto data = std::make_shared<ImageFont::Data>();
    ImageFontDescParser parser(*data, folder);
    if (!parser.ParseText(text))
    {
        error = parser.GetError();
        return nullptr;
    }
    return data;
}
} // namespace

ImageFont::ImageFont(std::shared_ptr<Data> data) : mData(std::move(data)) {}

ImageFont::~ImageFont() = default;

std::unique_ptr<ImageFont> ImageFont::Load(const std::string& path, std::string& error)
{
    LoadedFonts& loaded = Loaded();
    std::lock_guard guard(loaded.lock);
    const std::string key = PakKeyOfPath(path).empty() ? path : PakKeyOfPath(path);
    if (auto shared = loaded.byPath[key].lock())
        return std::unique_ptr<ImageFont>(new ImageFont(std::move(shared)));
    std::string text;
    if (!PakReadFile(path, text))
    {
        error = "Cannot open file: " + path;
        return nullptr;
    }
    auto data = ParseFont(text, GetDirectoryPart(path), error);
    if (!data)
    {
        error = path + ": " + error;
        return nullptr;
    }
    // Forget descriptors whose fonts are all gone.
    std::erase_if(loaded.byPath, [](const auto& entry) { return entry.second.expired(); });
    loaded.byPath[key] = data;
    return std::unique_ptr<ImageFont>(new ImageFont(std::move(data)));
}

std::unique_ptr<ImageFont> ImageFont::FromText(const std::string& text, const std::string& folder, std::string& error)
{
    auto data = ParseFont(text, folder, error);
    if (!data)
        return nullptr;
    return std::unique_ptr<ImageFont>(new ImageFont(std::move(data)));
}

int ImageFont::GetHeight() const
{
    return mData->height;
}

int ImageFont::GetAscent() const
{
    return mData->ascent;
}

int ImageFont::GetAscentPadding() const
{
    return mData->ascentPadding;
}

int ImageFont::GetLineSpacing() const
{
    return mData->height + mData->lineSpacingOffset;
}

const ImageFont::Glyph* ImageFont::FindGlyph(wchar_t c) const
{
    auto found = mData->glyphs.find(static_cast<char32_t>(c));
    if (found == mData->glyphs.end())
        found = mData->glyphs.find(U'?');
    return found == mData->glyphs.end() ? nullptr : &found->second;
}

int ImageFont::Kerning(wchar_t previous, wchar_t c) const
{
    if (previous == 0 || mData->kerning.empty())
        return 0;
    const auto found = mData->kerning.find(PairKey(static_cast<char32_t>(previous), static_cast<char32_t>(c)));
    return found == mData->kerning.end() ? 0 : found->second;
}

int ImageFont::CharWidthKern(wchar_t c, wchar_t previous)
{
    const Glyph* glyph = FindGlyph(c);
    return (glyph != nullptr ? glyph->advance : 0) + Kerning(previous, c);
}

int ImageFont::StringWidth(const std::wstring& text)
{
    int width = 0;
    wchar_t previous = 0;
    for (wchar_t c : text)
    {
        width += CharWidthKern(c, previous);
        previous = c;
    }
    return width;
}

void ImageFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip)
{
    if (g == nullptr || text.empty())
        return;
    // A copy of the context: the text's colour as the atlas's tint, the given clip.
    Graphics local(*g);
    local.SetColor(color);
    local.SetImageTint(true);
    local.mClipRect = clip.Intersection(Rect(0, 0, g->mDestImage->mWidth, g->mDestImage->mHeight));
    std::lock_guard guard(mData->lock);
    int pen = x;
    wchar_t previous = 0;
    for (wchar_t c : text)
    {
        pen += Kerning(previous, c);
        previous = c;
        const Glyph* glyph = FindGlyph(c);
        if (glyph == nullptr)
            continue;
        if (glyph->source.width > 0 && glyph->source.height > 0)
            local.DrawImage(mData->atlas.get(), pen + glyph->offsetX, y + glyph->offsetY, glyph->source);
        pen += glyph->advance;
    }
}

std::unique_ptr<Font> ImageFont::Duplicate() const
{
    return std::unique_ptr<Font>(new ImageFont(*this));
}
} // namespace Quoll
