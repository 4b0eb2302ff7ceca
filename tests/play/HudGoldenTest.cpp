// The HUD over a board on the 2D path (memory images) against a golden image, and the same frame
// on the 3D path compared with it: three avatars (the second to move), the progress tubes with
// their bacteria, two inventory bonuses, a no-moves mark and rising numbers, after 3 s of
// updates from a fixed seed. The art is synthetic: busts are shaded ovals, tubes are outlined
// glasses with a liquid strip per kind, and numbers are drawn by a seven-segment font.
// Rerun: test_play --gtest_filter='HudGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the golden.
#include "../display/Display3DFixture.h"
#include "tests/GoldenImage.h"
#include "PlayTestFixture.h"
#include "game/play/GameProgress.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"

#include "framework/display/Font.h"
#include "framework/display/MemoryImage.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

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

uint32_t Argb(int a, int r, int g, int b)
{
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}

const int kKindColours[8][3] = {{90, 220, 90},  {220, 80, 80},  {80, 140, 240}, {230, 200, 60},
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

struct HudFrame
{
    HudFrame()
    {
        ResetPlayGlobalsForTests();
        services.RegisterArt();
        view = std::make_unique<BoardView>(services);
        view->InitLayers();
        Board board = FullBoard(1);
        for (int id : {9, 30, 31, 45})
            board.SetOwner(id, 1);
        for (int id : {2, 3, 14, 50})
            board.SetOwner(id, 2);
        for (int id : {21, 57, 58})
            board.SetOwner(id, 3);
        view->BuildCellViews(board);
        view->SpawnUnits(board);
        view->CentreOnScreen();
        LevelParams p;
        p.Init(61, 3);
        p.playerCells[0] = 4;
        p.playerCells[1] = 31;
        p.playerCells[2] = 61;
        p.inventory[0] = 4;
        p.inventory[2] = 12;
        hud = std::make_unique<HUD>(services);
        hud->Build(p);
        hud->SetActivePlayer(1);
        hud->SetPlayerCanMove(1, false);
        for (int step = 0; step < 300; ++step)
        {
            if (step == 240)
            {
                hud->ShowFloatingText(15, 0, 0.0f, 430, 330);
                hud->ShowFloatingText(40, 5, 0.1f, 560, 420);
            }
            view->Update(0.01f);
            hud->Update(0.01f);
        }
    }
    ~HudFrame()
    {
        hud.reset();
        view.reset();
        ResetPlayGlobalsForTests();
    }

    void Draw(Quoll::Graphics& g)
    {
        g.SetColor(Quoll::Color(18, 22, 38));
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Quoll::Color::White);
        view->Draw(&g);
        hud->Draw(&g);
    }

    // Boxes drawn by different calls on the two paths: the busts' triangles, the scaled bonus
    // sprites of the inventory, and the bacteria, whose bodies are drawn at sub-pixel positions
    // (the board is centred on a fractional point, the tubes' bacteria stand at half pixels).
    [[nodiscard]] std::vector<Quoll::Rect> LooseBoxes() const
    {
        std::vector<Quoll::Rect> boxes;
        const auto around = [&boxes](const Bacteria* b) {
            const FloatPoint p = b->GetWorldPosition();
            boxes.emplace_back(static_cast<int>(p.x) - 4, static_cast<int>(p.y) - 4, 69 + 8, 66 + 8);
        };
        for (const VCell* cell : view->GetCellViews())
            if (cell->GetBacteria() != nullptr)
                around(cell->GetBacteria());
        for (int i = 0; i < 3; ++i)
            around(hud->GetProgress()->GetBacterium(i));
        for (int i = 0; i < 3; ++i)
        {
            const Quoll::Rect r = hud->GetAvatar(i)->GetScreenRect();
            boxes.emplace_back(r.x - 40, r.y - 40, r.width * 3 / 2 + 80, r.height * 3 / 2 + 80);
        }
        boxes.emplace_back(272 - 20, 690 - 70, 200, 120);
        return boxes;
    }

    FakePlayServices services{20261206};
    HudArt art{services};
    std::unique_ptr<BoardView> view;
    std::unique_ptr<HUD> hud;
};

std::vector<uint32_t> Draw2D()
{
    Quoll::InitTriangleSpanTable();
    HudFrame frame;
    Quoll::MemoryImage screen;
    std::vector<uint32_t> black(kWidth * kHeight, 0xFF000000u);
    screen.SetBits(black.data(), kWidth, kHeight);
    {
        Quoll::Graphics g(&screen);
        frame.Draw(g);
    }
    const uint32_t* bits = screen.GetBits();
    std::vector<uint32_t> pixels(bits, bits + kWidth * kHeight);
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

std::vector<uint32_t> Draw3D()
{
    using namespace Quoll::Testing;
    Quoll::InitTriangleSpanTable();
    Registry3D registry;
    TestDisplay t(Quoll::Platform::SurfaceFormat::X8R8G8B8(), kWidth, kHeight);
    registry.mDisplay = t.display.get();
    t.display->Set3D(true);
    EXPECT_EQ(t.Init(), 0);
    std::vector<uint32_t> pixels;
    {
        HudFrame frame;
        Quoll::Graphics g(&t.Screen());
        frame.Draw(g);
        EXPECT_TRUE(t.display->Redraw(nullptr));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels.push_back(t.display->mDrawSurface->ArgbAt(x, y) | 0xFF000000u);
    }
    t.display.reset();
    return pixels;
}
} // namespace

TEST(HudGolden, TwoDimensionalFrameMatchesItsGolden)
{
    const auto pixels = Draw2D();
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("play", "hud", pixels.data(), kWidth, kHeight));
}

// Outside the busts, the scaled bonuses and the sub-pixel bacteria every pixel agrees within 3 on
// both paths (background, cells, tubes, numbers, the no-moves mark); inside them the two paths
// sample differently, so only the share of close pixels is held.
TEST(HudGolden, ThreeDimensionalFrameAgreesWithTheTwoDimensionalOne)
{
    const auto a = Draw2D();
    const auto b = Draw3D();
    HudFrame layout;
    const auto boxes = layout.LooseBoxes();
    const Quoll::Testing::FrameAgreement agreement = Quoll::Testing::CompareFrames(a, b, kWidth, kHeight, boxes);
    const int mostOutside = agreement.mostOutsideExcluded;
    const double share = agreement.shareWithin3;
    std::printf("hud: largest difference outside busts, bonuses and bacteria %d, %.4f of the pixels within 3\n", mostOutside,
                share);
    EXPECT_LE(mostOutside, 3);
    EXPECT_GE(share, 0.98);
}
