#include "tools/contactsheet/ContactSheet.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace Quoll;

double ContactSheet::TileScale(int celWidth, int celHeight)
{
    if (celWidth <= 0 || celHeight <= 0)
        return 1.0;
    return std::min({1.0, static_cast<double>(kMaxTileWidth) / celWidth, static_cast<double>(kMaxTileHeight) / celHeight});
}

std::vector<ContactSheet::Placement> ContactSheet::Layout(const std::vector<Entry>& images, int labelHeight,
                                                          int& pageCount)
{
    std::vector<Placement> placements;
    int page = 0, x = kGap, y = kGap, rowHeight = 0;
    for (size_t i = 0; i < images.size(); ++i)
    {
        const Image* image = images[i].image;
        const int cels = image->mNumCols * image->mNumRows;
        const double scale = TileScale(image->GetCelWidth(), image->GetCelHeight());
        const int tileW = std::max(1, static_cast<int>(image->GetCelWidth() * scale));
        const int tileH = std::max(1, static_cast<int>(image->GetCelHeight() * scale));
        const int perRow = std::max(1, std::min(cels, (kPageWidth - 2 * kGap + 2) / (tileW + 2)));
        const int rows = (cels + perRow - 1) / perRow;
        const int blockW = std::max(perRow * (tileW + 2) - 2, images[i].labelWidth);
        const int blockH = rows * (tileH + 2) + labelHeight;
        if (x + blockW > kPageWidth - kGap)
        {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        if (y + blockH > kPageHeight - kGap)
        {
            ++page;
            x = kGap;
            y = kGap;
            rowHeight = 0;
        }
        for (int cel = 0; cel < cels; ++cel)
            placements.push_back({page, Rect(x + (cel % perRow) * (tileW + 2), y + (cel / perRow) * (tileH + 2), tileW, tileH),
                                  cel, i});
        x += blockW + kGap;
        rowHeight = std::max(rowHeight, blockH);
    }
    pageCount = images.empty() ? 0 : page + 1;
    return placements;
}

void ContactSheet::SortForPacking(std::vector<Entry>& images)
{
    auto tileHeight = [](const Entry& entry) {
        const Image* image = entry.image;
        return static_cast<int>(image->GetCelHeight() * TileScale(image->GetCelWidth(), image->GetCelHeight()));
    };
    std::stable_sort(images.begin(), images.end(),
                     [&](const Entry& a, const Entry& b) { return tileHeight(a) > tileHeight(b); });
}

namespace
{
// A dark checkerboard: transparent parts of the art show as such, glows stay visible.
void PaintBackground(Graphics& g)
{
    for (int y = 0; y < ContactSheet::kPageHeight; y += 16)
        for (int x = 0; x < ContactSheet::kPageWidth; x += 16)
        {
            const int shade = ((x / 16 + y / 16) % 2) ? 26 : 34;
            g.SetColor(Color(shade, shade, shade + 4));
            g.FillRect(x, y, 16, 16);
        }
}

bool WritePage(MemoryImage& page, const std::string& path)
{
    ImageLib::Image picture(page.GetWidth(), page.GetHeight());
    if (picture.GetBits() == nullptr)
        return false;
    std::memcpy(picture.GetBits(), page.GetBits(), sizeof(uint32_t) * size_t(page.GetWidth()) * size_t(page.GetHeight()));
    return ImageLib::WritePng(path, picture);
}
} // namespace

bool ContactSheet::Render(const std::vector<Entry>& givenImages, Font* labelFont, const std::string& folder,
                          int& pageCount)
{
    std::vector<Entry> images = givenImages;
    for (Entry& entry : images)
        if (labelFont)
            entry.labelWidth = labelFont->StringWidth(std::wstring(entry.name.begin(), entry.name.end()));
    const int labelHeight = labelFont ? labelFont->GetHeight() + 2 : 0;
    const std::vector<Placement> placements = Layout(images, labelHeight, pageCount);
    size_t next = 0;
    for (int pageIndex = 0; pageIndex < pageCount; ++pageIndex)
    {
        MemoryImage page;
        page.Create(kPageWidth, kPageHeight);
        Graphics g(&page);
        PaintBackground(g);
        for (; next < placements.size() && placements[next].page == pageIndex; ++next)
        {
            const Placement& p = placements[next];
            Image* image = images[p.image].image;
            const int cw = image->GetCelWidth(), ch = image->GetCelHeight();
            const Rect source((p.cel % image->mNumCols) * cw, (p.cel / image->mNumCols) * ch, cw, ch);
            g.SetColor(Color(255, 255, 255));
            g.DrawImage(image, p.tile, source);
            // The id under the block's last row, once per image.
            const bool lastCel = next + 1 == placements.size() || placements[next + 1].image != p.image;
            if (labelFont && lastCel)
            {
                g.SetFont(labelFont);
                g.SetColor(Color(170, 200, 210));
                const int blockLeft = placements[next - static_cast<size_t>(p.cel)].tile.x;
                g.DrawString(std::wstring(images[p.image].name.begin(), images[p.image].name.end()), blockLeft,
                             p.tile.y + p.tile.height + 1 + labelFont->GetAscent());
            }
        }
        char name[32];
        std::snprintf(name, sizeof(name), "/contact_%02d.png", pageIndex + 1);
        if (!WritePage(page, folder + name))
            return false;
    }
    return true;
}
