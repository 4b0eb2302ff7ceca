// Pictures of the level map's parts on the 2D path (memory images) against golden images: the
// intro at three fixed updates (the zoom out of black, the infection rays, Gloria's attack) and
// the random-level panel with the first episode passed and its tube hovered. The art is
// synthetic: a striped map, plain figures, a spotlight mask with a clear middle, a glass tube
// on a stand with green liquid, and the block font for the caption.
// Rerun: test_screens --gtest_filter='MapPartsGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the goldens.
#include "MapPartsDoubles.h"
#include "tests/GoldenImage.h"

#include "framework/display/Graphics.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "game/screens/RandomStatsPanel.h"
#include "game/shell/Profile.h"

#include "../ui/UiTestDoubles.h"

#include <cmath>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

uint32_t MapPixel(int x, int y, int /*w*/, int /*h*/)
{
    const bool stripe = ((x / 64) + (y / 64)) % 2 == 0;
    return stripe ? 0xFF2A5A7Au : 0xFF234A66u;
}

uint32_t Disc(int x, int y, int w, int h, uint32_t colour)
{
    const double dx = (x + 0.5) / w - 0.5, dy = (y + 0.5) / h - 0.5;
    return dx * dx + dy * dy < 0.2 ? colour : 0u;
}

uint32_t BossPixel(int x, int y, int w, int h) { return Disc(x, y, w, h, 0xFF8A2BA0u); }
uint32_t SopliPixel(int x, int y, int w, int h) { return Disc(x, y, w, h, 0xFF60B040u); }
uint32_t GloriaPixel(int x, int y, int w, int h) { return Disc(x, y, w, h, 0xFFF0D040u); }
uint32_t FacePixel(int x, int y, int w, int h) { return Disc(x, y, w, h, 0xFFFFFFFFu); }

uint32_t SpotPixel(int x, int y, int w, int h)
{
    const double r = std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0) / (w / 2.0);
    const double dark = std::clamp((r - 0.7) / 0.3, 0.0, 1.0);
    return static_cast<uint32_t>(dark * 255.0) << 24;
}

std::vector<uint32_t> Frame(const std::function<void(Quoll::Graphics&)>& draw)
{
    Quoll::InitTriangleSpanTable();
    Quoll::MemoryImage screen;
    std::vector<uint32_t> ground(kWidth * kHeight, 0xFF102030u);
    screen.SetBits(ground.data(), kWidth, kHeight);
    {
        Quoll::Graphics g(&screen);
        draw(g);
    }
    std::vector<uint32_t> pixels(screen.GetBits(), screen.GetBits() + kWidth * kHeight);
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

struct IntroPictures
{
    IntroPictures()
    {
        services.AddPainted("IMAGE_MAP", 256, 192, MapPixel);
        services.AddPainted("IMAGE_BOSS_SOPLY", 90, 90, SopliPixel);
        services.AddPainted("IMAGE_BOSS", 207, 198, BossPixel);
        services.AddPainted("IMAGE_BOSS_SMILE", 60, 24, FacePixel);
        services.AddPainted("IMAGE_BOSS_EYES", 80, 30, FacePixel);
        services.AddPainted("IMAGE_BOSS_FEAR", 160, 60, FacePixel);
        services.AddPainted("IMAGE_GLORIA", 96, 96, GloriaPixel);
        services.AddImage("IMAGE_STAKAN", 96, 128, 0x6080C0E0u);
        services.AddPainted("IMAGE_SPOT", 256, 256, SpotPixel);
        for (int id : {38, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78})
            services.RegisterRay(id, 30);
        for (int id = 42; id <= 65; ++id)
            services.RegisterRay(id, 30);
        intro = std::make_unique<IntroScene>(services, map, campaign.levels);
    }
    void Run(int updates)
    {
        for (int i = 0; i < updates; ++i)
        {
            intro->Update(0.01f);
            services.UpdateParticles(0.01f);
            map.Update(0.01f);
        }
    }
    std::vector<uint32_t> Picture()
    {
        return Frame([&](Quoll::Graphics& g) {
            map.Draw(&g);
            intro->DrawBack(&g);
            intro->DrawFront(&g);
        });
    }

    MapParts::FakeServices services;
    MapParts::Campaign campaign;
    MapParts::FakeIntroMap map{services, campaign.levels};
    std::unique_ptr<IntroScene> intro;
};

TEST(MapPartsGolden, IntroZoomRaysAndGloria)
{
    IntroPictures pictures;
    pictures.Run(60); // 0.6 s into the zoom: the map enlarged, still darkened
    ASSERT_EQ(pictures.intro->GetState(), IntroScene::kMapZoom);
    auto pixels = pictures.Picture();
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "intro_zoom", pixels.data(), kWidth, kHeight));

    pictures.Run(660); // the rays: the boss smiling, half the nodes infected
    ASSERT_EQ(pictures.intro->GetState(), IntroScene::kInfectionRays);
    pixels = pictures.Picture();
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "intro_rays", pixels.data(), kWidth, kHeight));

    while (pictures.intro->GetState() != IntroScene::kBossHit)
        pictures.Run(1);
    pictures.Run(50); // Gloria has struck: the boss afraid
    pixels = pictures.Picture();
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "intro_gloria", pixels.data(), kWidth, kHeight));
}

TEST(MapPartsGolden, PanelWithTheFirstEpisodePassedAndItsTubeHovered)
{
    MapParts::FakeServices services;
    MapParts::Campaign campaign;
    UiTest::BlockFont font;
    services.font = &font;
    services.texts["UI_RANDOMSTATS"] = L"Won %d of %d (%d%%)";
    services.AddPainted("IMAGE_RND_PROBIRKA", 32, 64, [](int x, int y, int w, int) -> uint32_t {
        if (y >= 30)
            return 0xFF384C66u;
        const bool wall = x <= 4 || x >= w - 5 || y <= 1;
        return wall ? 0xE0A0D0F0u : 0x30A0D0F0u;
    });
    for (int i = 1; i <= 5; ++i)
        services.AddImage("IMAGE_RND_PROBIRKA_FILL" + std::to_string(i), 24, 32, 0xF040C060u);
    Profile profile("ann");
    for (bool won : {true, true, true, false})
        profile.AddRandomResult(1, won);
    campaign.progress.CompleteLevels(15);
    RandomStatsPanel panel(services, campaign.levels, &profile);
    panel.Setup(nullptr, -1);
    for (int i = 0; i < 100; ++i)
        panel.Update(0.01f);
    panel.MouseMove(320, 670);
    for (int i = 0; i < 50; ++i)
        panel.Update(0.01f);
    ASSERT_EQ(panel.GetHoveredTube(), 0);
    const auto pixels = Frame([&](Quoll::Graphics& g) {
        g.SetColor(Quoll::Color(40, 60, 80));
        g.FillRect(0, 700, kWidth, 68);
        panel.Draw(&g);
    });
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "random_stats_panel", pixels.data(), kWidth, kHeight));
}
} // namespace
