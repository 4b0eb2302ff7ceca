#pragma once
// The HUD's synthetic art for the play suite's frames: busts are shaded ovals, tubes are
// outlined glasses with a liquid strip per kind, eyes and mouths are plain shapes, the no-moves
// mark is a cross, and numbers (FONT_NUM, FONT_FNT1) are drawn by a seven-segment font.
#include "FakePlayServices.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace HudTestArt
{
// Digits as seven segments in a 12 x 20 box, 15 px apart.
class SegmentFont : public Quoll::Font
{
public:
    [[nodiscard]] int GetHeight() const override { return 20; }
    [[nodiscard]] int GetAscent() const override { return 20; }
    [[nodiscard]] int GetAscentPadding() const override { return 0; }
    [[nodiscard]] int GetLineSpacing() const override { return 22; }
    [[nodiscard]] int StringWidth(const std::wstring& text) override { return 15 * static_cast<int>(text.size()); }
    [[nodiscard]] int CharWidthKern(wchar_t, wchar_t) override { return 15; }
    void DrawString(Quoll::Graphics* g, int x, int y, const std::wstring& text, const Quoll::Color& color,
                    const Quoll::Rect& /*clip*/) override
    {
        // Segments a..g: top, top right, bottom right, bottom, bottom left, top left, middle.
        static constexpr std::array<int, 10> kMasks{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
        static constexpr std::array<std::array<int, 4>, 7> kBars{
            {{1, 0, 10, 2}, {10, 1, 2, 9}, {10, 10, 2, 9}, {1, 18, 10, 2}, {0, 10, 2, 9}, {0, 1, 2, 9}, {1, 9, 10, 2}}};
        const Quoll::Color saved = g->GetColor();
        g->SetColor(color);
        const int top = y - 20;
        for (wchar_t c : text)
        {
            if (c >= L'0' && c <= L'9')
                for (size_t s = 0; s < kBars.size(); ++s)
                    if ((kMasks[static_cast<size_t>(c - L'0')] >> s) & 1)
                        g->FillRect(x + kBars[s][0], top + kBars[s][1], kBars[s][2], kBars[s][3]);
            x += 15;
        }
        g->SetColor(saved);
    }
    [[nodiscard]] std::unique_ptr<Quoll::Font> Duplicate() const override
    {
        return std::make_unique<SegmentFont>(*this);
    }
};

inline uint32_t Argb(int a, int r, int g, int b)
{
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}

inline const int kKindColours[8][3] = {{90, 220, 90},  {220, 80, 80},  {80, 140, 240}, {230, 200, 60},
                                {200, 90, 220}, {80, 220, 220}, {240, 140, 60}, {160, 160, 160}};

// The HUD's synthetic art, kept alive with the frame.
class HudArt
{
public:
    explicit HudArt(FakePlayServices& services) : mServices(services)
    {
        for (int kind = 1; kind <= 3; ++kind)
            Bust(kind);
        Fill("IMAGE_EYE1_NORMAL", 60, 20, [](int x, int y) {
            const bool eye = std::hypot(x % 30 - 15, y - 10) < 9;
            return eye ? Argb(255, 250, 250, 250) : 0u;
        });
        Fill("IMAGE_MOUTH1_NORMAL", 50, 16, [](int x, int y) {
            return std::abs(y - 8 - std::abs(x - 25) / 5) < 3 ? Argb(255, 60, 20, 20) : 0u;
        });
        Fill("IMAGE_PROBIRKA", 50, 150, [](int x, int y) {
            const bool wall = (x < 3 || x >= 47 || y >= 147) && y >= 8;
            const bool rim = y < 8 && (x < 8 || x >= 42 || y < 3);
            return wall || rim ? Argb(255, 200, 220, 235) : 0u;
        });
        Strip("IMAGE_PROBIRKA_FILL", 38, 130, 0.75);
        Strip("IMAGE_PROBIRKA_OST", 38, 8, 0.5);
        Strip("IMAGE_PROBIRKA_TOP", 38, 4, 1.0);
        Fill("IMAGE_NOMOVES", 56, 56, [](int x, int y) {
            return std::abs(x - y) < 4 || std::abs(x + y - 55) < 4 ? Argb(255, 255, 255, 255) : 0u;
        });
        services.fonts["FONT_NUM"] = &mFont;
        services.fonts["FONT_FNT1"] = &mFont;
    }

private:
    template <typename Pixel>
    Quoll::MemoryImage* Fill(const std::string& name, int w, int h, Pixel pixel, int columns = 1)
    {
        auto image = std::make_unique<Quoll::MemoryImage>();
        image->Create(w, h);
        image->mFilePath = name;
        image->mNumCols = columns;
        uint32_t* bits = image->GetBits();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bits[static_cast<size_t>(y * w + x)] = pixel(x, y);
        image->BitsChanged();
        mServices.Register(3000 + static_cast<int>(mImages.size()), name, image.get());
        mImages.push_back(std::move(image));
        return mImages.back().get();
    }
    void Bust(int kind)
    {
        const int* c = kKindColours[kind - 1];
        Fill("IMAGE_BODY" + std::to_string(kind), 160, 150, [c](int x, int y) {
            const double dx = (x - 80) / 75.0;
            const double dy = (y - 80) / 68.0;
            const double r = dx * dx + dy * dy;
            if (r > 1.0)
                return 0u;
            const double shade = 1.15 - 0.5 * r - 0.25 * dy;
            return Argb(255, std::min(255, static_cast<int>(c[0] * shade)), std::min(255, static_cast<int>(c[1] * shade)),
                        std::min(255, static_cast<int>(c[2] * shade)));
        });
    }
    // A cel per bacteria kind in the kind's colour.
    void Strip(const std::string& name, int w, int h, double shade)
    {
        Fill(
            name, w * 8, h,
            [w, shade](int x, int /*y*/) {
                const int* c = kKindColours[x / w];
                return Argb(220, static_cast<int>(c[0] * shade), static_cast<int>(c[1] * shade),
                            static_cast<int>(c[2] * shade));
            },
            8);
    }

    FakePlayServices& mServices;
    SegmentFont mFont;
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mImages;
};

} // namespace HudTestArt
