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

bool ContactSheet::RenderPreview(ImageFinder find, void* context, Font* labelFont, Font* titleFont,
                                 const std::string& folder)
{
    MemoryImage page;
    page.Create(kPageWidth, kPageHeight);
    Graphics g(&page);
    g.SetColor(Color(255, 255, 255));
    auto draw = [&](const char* id, int x, int y, int cel = 0) {
        if (Image* image = find(id, context))
            g.DrawImageCel(image, x, y, cel);
    };
    draw("IMAGE_FONE1", 0, 0);
    // The board: nine columns of flat-topped cells, 5 to 9 high, interleaved by half a cell.
    const int cellW = 69, cellH = 66, step = 52;
    int index = 0;
    for (int column = -4; column <= 4; ++column)
    {
        const int count = 9 - (column < 0 ? -column : column);
        for (int row = 0; row < count; ++row, ++index)
        {
            const int x = kPageWidth / 2 - cellW / 2 + column * step;
            const int y = kPageHeight / 2 - cellH / 2 + (2 * row - (count - 1)) * cellH / 2;
            draw("IMAGE_CELL1", x, y);
            // A few colonies of the player and of two rivals, with their faces.
            const int kind = index % 7 == 0 ? 1 : index % 11 == 0 ? 2 : index % 13 == 0 ? 3 : 0;
            if (kind == 0)
                continue;
            const std::string body = "IMAGE_BODY_" + std::to_string(kind);
            draw(body.c_str(), x, y, index % 8);
            const std::string eyes = "IMAGE_EYE" + std::to_string(kind) + (kind == 1 ? "_NORMAL" : "_YAROST");
            const std::string mouth = "IMAGE_MOUTH" + std::to_string(kind) + (kind == 1 ? "_NORMAL" : "_YAROST");
            draw(eyes.c_str(), x + (cellW - 48) / 2, y + 12, 0);
            draw(mouth.c_str(), x + (cellW - 48) / 2, y + 34, 0);
        }
    }
    draw("IMAGE_BONUS1", kPageWidth / 2 - 28 + 2 * step, kPageHeight / 2 - 28 - cellH);
    draw("IMAGE_BIGBODY_1", 16, 16);
    draw("IMAGE_BIGBODY_2E", kPageWidth - 176, 16);
    draw("IMAGE_PROBIRKA_FILL", 60, 300);
    draw("IMAGE_PROBIRKA", 60, 300);
    draw("IMAGE_BTN2", 16, kPageHeight - 64);
    draw("IMAGE_BTN1_OVER", kPageWidth - 176, kPageHeight - 64);
    draw("IMAGE_BACKSTEP_FONE", kPageWidth - 100, 300);
    if (labelFont)
    {
        g.SetFont(labelFont);
        g.SetColor(Color(220, 255, 240));
        g.DrawString(L"Menu", 16 + 80 - labelFont->StringWidth(L"Menu") / 2, kPageHeight - 40 + labelFont->GetAscent() / 2);
        g.DrawString(L"Restart", kPageWidth - 96 - labelFont->StringWidth(L"Restart") / 2,
                     kPageHeight - 40 + labelFont->GetAscent() / 2);
    }
    if (titleFont)
    {
        g.SetFont(titleFont);
        g.SetColor(Color(255, 240, 200));
        g.DrawString(L"Round 3", kPageWidth / 2 - titleFont->StringWidth(L"Round 3") / 2, 40);
    }
    return WritePage(page, folder + "/preview.png");
}
