// The play screen after 3 s of a fixed-seed level, and the same screen paused, on the 2D path
// (memory images) against golden images, and the same frames on the 3D path compared with them.
// The level is tests/play/data/levels/three-players.txt; the human clones from 50 to 51 at
// 1.0 s, taking the enemy on 52 and the mine on 51, so the frame shows the background, the
// board, the three avatars with their tubes, the mine in the inventory and the rising points.
// The art is the suite's synthetic art; texts use the system's DejaVu Sans.
// Rerun: test_play --gtest_filter='GameSceneGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the goldens.
#include "../display/Display3DFixture.h"
#include "tests/GoldenImage.h"
#include "HudArt.h"
#include "PlayTestFixture.h"
#include "SceneTestFixture.h"
#include "game/play/GameProgress.h"
#include "game/play/HUD.h"
#include "game/play/HudAvatar.h"

#include "framework/core/MersenneTwister.h"
#include "framework/display/MemoryImage.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "framework/widgets/SysFont.h"

#include <cstdio>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct PlayScreenFrame
{
    PlayScreenFrame()
    {
        Quoll::SeedRandom(31);
        std::string error;
        font = Quoll::SysFont::Create(nullptr, "DejaVu Sans", 18, 0, error);
        EXPECT_NE(font, nullptr) << error;
        h.services.fonts["FONT_FNT1"] = font.get();
        h.services.texts["UI_PAUSE"] = L"Pause";
        h.Show();
        EXPECT_TRUE(h.StartLevel("three-players"));
        h.Step(100);
        h.Press(h.CellPoint(50));
        h.Step(10);
        h.Press(h.CellPoint(51));
        h.Step(190);
    }

    void Draw(Quoll::Graphics& g, bool paused)
    {
        h.services.focus = !paused;
        h.scene->Draw(&g);
        h.services.focus = true;
    }

    // Boxes drawn by different calls on the two paths: the bacteria (at sub-pixel positions),
    // the busts' triangles, the scaled inventory bonuses and the rising numbers.
    [[nodiscard]] std::vector<Quoll::Rect> LooseBoxes() const
    {
        std::vector<Quoll::Rect> boxes;
        const auto around = [&boxes](const Bacteria* b) {
            const FloatPoint p = b->GetWorldPosition();
            boxes.emplace_back(static_cast<int>(p.x) - 12, static_cast<int>(p.y) - 12, 69 + 24, 66 + 24);
        };
        for (const VCell* cell : h.scene->GetBoardView()->GetCellViews())
            if (cell->GetBacteria() != nullptr)
                around(cell->GetBacteria());
        const HUD* hud = h.scene->GetHud();
        for (int i = 0; i < 3; ++i)
            around(hud->GetProgress()->GetBacterium(i));
        for (int i = 0; i < 3; ++i)
        {
            const Quoll::Rect r = hud->GetAvatar(i)->GetScreenRect();
            boxes.emplace_back(r.x - 40, r.y - 40, r.width * 3 / 2 + 80, r.height * 3 / 2 + 80);
        }
        boxes.emplace_back(272 - 20, 690 - 70, 200, 120);
        for (const FloatingText& text : hud->GetFloatingTexts())
            boxes.emplace_back(static_cast<int>(text.startX) - 60, static_cast<int>(text.startY) - 60, 120, 100);
        return boxes;
    }

    std::unique_ptr<Quoll::SysFont> font;
    SceneHarness h{20261208};
    HudTestArt::HudArt art{h.services};
};

struct Frames
{
    std::vector<uint32_t> playing;
    std::vector<uint32_t> paused;
};

std::vector<uint32_t> Opaque(const uint32_t* bits)
{
    std::vector<uint32_t> pixels(bits, bits + kWidth * kHeight);
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

Frames Draw2D()
{
    Quoll::InitTriangleSpanTable();
    PlayScreenFrame frame;
    Frames frames;
    for (bool paused : {false, true})
    {
        Quoll::MemoryImage screen;
        std::vector<uint32_t> black(kWidth * kHeight, 0xFF000000u);
        screen.SetBits(black.data(), kWidth, kHeight);
        {
            Quoll::Graphics g(&screen);
            frame.Draw(g, paused);
        }
        (paused ? frames.paused : frames.playing) = Opaque(screen.GetBits());
    }
    return frames;
}

Frames Draw3D()
{
    using namespace Quoll::Testing;
    Quoll::InitTriangleSpanTable();
    Registry3D registry;
    TestDisplay t(Quoll::Platform::SurfaceFormat::X8R8G8B8(), kWidth, kHeight);
    registry.mDisplay = t.display.get();
    t.display->Set3D(true);
    EXPECT_EQ(t.Init(), 0);
    Frames frames;
    {
        PlayScreenFrame frame;
        for (bool paused : {false, true})
        {
            {
                Quoll::Graphics g(&t.Screen());
                frame.Draw(g, paused);
            }
            EXPECT_TRUE(t.display->Redraw(nullptr));
            std::vector<uint32_t>& pixels = paused ? frames.paused : frames.playing;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    pixels.push_back(t.display->mDrawSurface->ArgbAt(x, y) | 0xFF000000u);
        }
    }
    t.display.reset();
    return frames;
}
} // namespace

TEST(GameSceneGolden, TwoDimensionalFramesMatchTheirGoldens)
{
    const Frames frames = Draw2D();
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("play", "play_screen", frames.playing.data(), kWidth, kHeight));
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("play", "play_paused", frames.paused.data(), kWidth, kHeight));
}

// Outside the bacteria, busts, scaled bonuses and rising numbers every pixel agrees within 3 on
// both paths (background, cells, tubes, the pause shade and caption).
TEST(GameSceneGolden, ThreeDimensionalFramesAgreeWithTheTwoDimensionalOnes)
{
    const Frames a = Draw2D();
    const Frames b = Draw3D();
    PlayScreenFrame layout;
    const auto boxes = layout.LooseBoxes();
    for (bool paused : {false, true})
    {
        const Quoll::Testing::FrameAgreement agreement = Quoll::Testing::CompareFrames(
            paused ? a.paused : a.playing, paused ? b.paused : b.playing, kWidth, kHeight, boxes);
        std::printf("%s: largest difference %d, outside the loose boxes %d, %.4f of the pixels within 3\n",
                    paused ? "paused" : "playing", agreement.most, agreement.mostOutsideExcluded,
                    agreement.shareWithin3);
        EXPECT_LE(agreement.mostOutsideExcluded, 3);
        EXPECT_GE(agreement.shareWithin3, 0.98);
    }
}
