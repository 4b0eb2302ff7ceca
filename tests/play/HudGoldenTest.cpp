// The HUD over a board on the 2D path (memory images) against a golden image, and the same frame
// on the 3D path compared with it: three avatars (the second to move), the progress tubes with
// their bacteria, two inventory bonuses, a no-moves mark and rising numbers, after 3 s of
// updates from a fixed seed. The art is synthetic: busts are shaded ovals, tubes are outlined
// glasses with a liquid strip per kind, and numbers are drawn by a seven-segment font.
// Rerun: test_play --gtest_filter='HudGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the golden.
#include "FrameOnBothPaths.h"
#include "tests/GoldenImage.h"
#include "HudArt.h"
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
using HudTestArt::HudArt;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

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
    return PlayTesting::DrawOnMemoryImage<HudFrame>(kWidth, kHeight);
}

std::vector<uint32_t> Draw3D()
{
    return PlayTesting::DrawOnDisplay<HudFrame>(kWidth, kHeight, true);
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
