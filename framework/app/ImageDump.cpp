#include "framework/app/ImageDump.h"

#include "framework/core/Common.h"
#include "framework/display/DDImage.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/Path.h"
#include "framework/files/ImageLib.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <numeric>

namespace Quoll
{
namespace
{
constexpr int kThumbnailSize = 64;
constexpr int kFolderAttempts = 50; // 100 ms apart: about five seconds
constexpr const char* kEmptyCell = "<TD>&nbsp;</TD>";

std::string Commas(int value)
{
    return WStringToString(FormatWithCommas(value));
}

std::string ByteCell(bool present, const char* label, int bytes)
{
    return present ? FormatString("<TD>%s<BR>%s</TD>", label, Commas(bytes).c_str()) : kEmptyCell;
}

std::string FlagCell(bool present, const char* label)
{
    return present ? FormatString("<TD>%s</TD>", label) : kEmptyCell;
}

const char* TextureFormatName(int format)
{
    switch (format)
    {
    case 1: return "A8R8G8B8";
    case 2: return "A4R4G4B4";
    case 4: return "R5G6B5";
    case 8: return "Palette8";
    default: return "";
    }
}

std::string ImageName(const char* pattern, size_t index)
{
    return FormatString(pattern, int(index));
}

// Indexes of the entries, largest total first; equal totals keep their order.
std::vector<size_t> DumpOrder(const std::vector<ImageDumpEntry>& entries)
{
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return CountImageBytes(entries[a]).Total() > CountImageBytes(entries[b]).Total();
    });
    return order;
}

std::string Row(const ImageDumpEntry& entry, const ImageDumpBytes& bytes, size_t index)
{
    std::string row = "<TR>";
    row += FormatString("<TD><A HREF=%s><IMG SRC=%s WIDTH=%d HEIGHT=%d></A></TD>",
                        ImageName("img%04d.png", index).c_str(), ImageName("thumb%04d.jpg", index).c_str(),
                        kThumbnailSize, kThumbnailSize);
    row += FormatString("<TD ALIGN=RIGHT>%d x %d<BR>%s bytes</TD>", entry.width, entry.height,
                        Commas(bytes.Total()).c_str());
    row += ByteCell(entry.memoryBits, "mBits", bytes.memoryBits);
    row += ByteCell(entry.palettized, "Palletized", bytes.palettized);
    row += ByteCell(entry.surface, "DDSurface", bytes.surface);
    row += entry.texture ? FormatString("<TD>Texture<BR>%s<BR>%s</TD>", TextureFormatName(entry.textureFormat),
                                        Commas(bytes.texture).c_str())
                         : kEmptyCell;
    row += FlagCell(entry.isVolatile, "Volatile");
    row += FlagCell(entry.forcedMode, "Forced");
    row += FlagCell(entry.hasAlpha, "HasAlpha");
    row += FlagCell(entry.hasTrans, "HasTrans");
    row += ByteCell(entry.nativeAlpha, "NativeAlpha", bytes.nativeAlpha);
    row += ByteCell(entry.rlAlpha, "RLAlpha", bytes.rlAlpha);
    row += ByteCell(entry.rlAdditive, "RLAdditive", bytes.rlAdditive);
    row += entry.filePath.empty() ? kEmptyCell : "<TD>" + entry.filePath + "</TD>";
    return row + "</TR>\n";
}

std::string TotalsRow(const ImageDumpBytes& totals)
{
    std::string row = "<TR><TD>Totals</TD>";
    for (int value : {totals.Total(), totals.memoryBits, totals.palettized, totals.surface, totals.texture})
        row += "<TD>" + Commas(value) + "</TD>";
    for (int i = 0; i < 4; ++i)
        row += kEmptyCell;
    for (int value : {totals.nativeAlpha, totals.rlAlpha, totals.rlAdditive})
        row += "<TD>" + Commas(value) + "</TD>";
    return row + kEmptyCell + "</TR>\n";
}

void AddBytes(ImageDumpBytes& sum, const ImageDumpBytes& bytes)
{
    sum.memoryBits += bytes.memoryBits;
    sum.palettized += bytes.palettized;
    sum.surface += bytes.surface;
    sum.texture += bytes.texture;
    sum.nativeAlpha += bytes.nativeAlpha;
    sum.rlAlpha += bytes.rlAlpha;
    sum.rlAdditive += bytes.rlAdditive;
}

bool RemakeFolder(const std::string& folder)
{
    DeleteTree(folder);
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt)
    {
        if (Platform::MakeDirectories(folder))
            return true;
        Platform::SleepMilliseconds(100);
    }
    return false;
}

void WriteImageFiles(const ImageDumpEntry& entry, const std::string& folder, size_t index)
{
    const uint32_t* pixels = entry.image != nullptr ? entry.image->GetBits() : nullptr;
    if (pixels == nullptr || entry.width <= 0 || entry.height <= 0)
        return;
    ImageLib::Image thumbnail(kThumbnailSize, kThumbnailSize);
    for (int row = 0; row < kThumbnailSize; ++row)
        for (int column = 0; column < kThumbnailSize; ++column)
        {
            int x = 0, y = 0;
            ThumbnailSource(column, row, entry.width, entry.height, x, y);
            thumbnail.GetBits()[row * kThumbnailSize + column] = pixels[size_t(y) * size_t(entry.width) + size_t(x)];
        }
    ImageLib::WriteJpeg(folder + ImageName("thumb%04d.jpg", index), thumbnail);

    ImageLib::Image full(entry.width, entry.height);
    if (full.GetBits() == nullptr)
        return;
    std::memcpy(full.GetBits(), pixels, size_t(entry.width) * size_t(entry.height) * sizeof(uint32_t));
    ImageLib::WritePng(folder + ImageName("img%04d.png", index), full);
}
} // namespace

ImageDumpEntry DescribeImage(MemoryImage& image, const Renderer3D* renderer)
{
    ImageDumpEntry entry;
    entry.image = &image;
    entry.width = image.GetWidth();
    entry.height = image.GetHeight();
    entry.memoryBits = image.mBits != nullptr;
    entry.palettized = image.mPaletteIndices != nullptr;
    const auto* surfaceImage = dynamic_cast<const DDImage*>(&image);
    entry.surface = surfaceImage != nullptr && surfaceImage->HasSurface();
    entry.isVolatile = image.mIsVolatile;
    entry.forcedMode = image.mForcedMode;
    entry.hasAlpha = image.mHasAlpha;
    entry.hasTrans = image.mHasTrans;
    entry.nativeAlpha = image.mNativeAlphaData != nullptr;
    entry.rlAlpha = image.mRLAlphaData != nullptr;
    entry.rlAdditive = image.mRLAdditiveData != nullptr;
    entry.filePath = image.mFilePath;
    if (renderer != nullptr)
    {
        const TextureUse texture = renderer->DescribeTexture(image);
        entry.texture = texture.present;
        entry.textureFormat = texture.formatCode;
        entry.textureBytes = texture.bytes;
    }
    return entry;
}

int ImageDumpBytes::Total() const
{
    return memoryBits + palettized + surface + texture + nativeAlpha + rlAlpha + rlAdditive;
}

ImageDumpBytes CountImageBytes(const ImageDumpEntry& entry)
{
    const int pixels = entry.width * entry.height;
    ImageDumpBytes bytes;
    bytes.memoryBits = entry.memoryBits ? 4 * pixels : 0;
    bytes.palettized = entry.palettized ? pixels + 1024 : 0;
    bytes.surface = entry.surface ? 4 * pixels : 0;
    bytes.texture = entry.texture ? entry.textureBytes : 0;
    bytes.nativeAlpha = entry.nativeAlpha ? (entry.palettized ? 1024 : 4 * pixels) : 0;
    bytes.rlAlpha = entry.rlAlpha ? pixels : 0;
    bytes.rlAdditive = entry.rlAdditive ? pixels : 0;
    return bytes;
}

void ThumbnailSource(int column, int row, int width, int height, int& x, int& y)
{
    x = int((column + 0.5) * width) / kThumbnailSize;
    y = int((row + 0.5) * height) / kThumbnailSize;
}

std::string ImageDumpPage(const std::vector<ImageDumpEntry>& entries, const std::string& timeText)
{
    const std::vector<size_t> order = DumpOrder(entries);
    int sum = 0;
    for (const ImageDumpEntry& entry : entries)
        sum += CountImageBytes(entry).Total();

    std::string page = "<HTML><BODY BGCOLOR=EEEEFF><CENTER><FONT SIZE=+2><B>" + timeText + "</B></FONT><BR>\n";
    page += "Total Image Allocation: " + Commas(sum) + " bytes<BR>\n";
    page += "<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=4>\n";
    ImageDumpBytes totals;
    for (size_t k = 0; k < order.size(); ++k)
    {
        const ImageDumpBytes bytes = CountImageBytes(entries[order[k]]);
        page += Row(entries[order[k]], bytes, k);
        AddBytes(totals, bytes);
    }
    page += TotalsRow(totals);
    return page + "</TABLE></CENTER></BODY></HTML>\n";
}

bool DumpImages(const std::vector<ImageDumpEntry>& entries, const std::string& dataFolder,
                const std::string& timeText)
{
    const std::string folder = dataFolder + "_dump";
    if (!RemakeFolder(folder))
        return false;
    const std::string prefix = AddTrailingSlash(folder);
    std::ofstream page(Platform::ResolvePathCase(prefix + "imagelist.html"), std::ios::binary);
    page << ImageDumpPage(entries, timeText);
    page.close();

    const std::vector<size_t> order = DumpOrder(entries);
    for (size_t k = 0; k < order.size(); ++k)
        WriteImageFiles(entries[order[k]], prefix, k);
    return !page.fail();
}

std::string DumpTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64] = {};
    asctime_r(&local, text);
    return text;
}
} // namespace Quoll
