// The board drawn on the 2D path (memory images) against golden images, and the same frames on
// the 3D path compared with the 2D ones: a board with every display state, bacteria of three
// players, every kind of bonus and a flash; and a frame in the middle of the show transition.
// The art is the fake services' synthetic pictures (the game's own art is not used here), and
// every random draw comes from the seeded generator, so the frames are the same on every run.
// Rerun: test_play --gtest_filter='PlayGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the goldens.
#include "../display/Display3DFixture.h"
#include "tests/GoldenImage.h"
#include "PlayTestFixture.h"

#include "framework/display/MemoryImage.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <algorithm>
#include <cstdio>

namespace
{
constexpr int kWidth = 641;
constexpr int kHeight = 640;

// The board, its units and the services of one frame.
struct Frame
{
    Frame()
    {
        ResetPlayGlobalsForTests();
        services.appWidth = kWidth;
        services.appHeight = kHeight;
        services.RegisterArt();
        view = std::make_unique<BoardView>(services);
        view->InitLayers();
        Board board;
        board.Clear();
        for (int id = 0; id < BoardView::kCellCount; ++id)
            board.SetCellValue(id, 1 + id % 3);
        board.SetCellValue(26, 0);
        board.SetCellValue(34, 0);
        for (int id : {9, 30, 31, 45})
            board.SetOwner(id, 1);
        for (int id : {2, 3, 14, 50})
            board.SetOwner(id, 2);
        for (int id : {21, 57, 58})
            board.SetOwner(id, 3);
        board.SetBonus(12, BONUS_MINE);
        board.SetBonus(40, BONUS_TELEPORT);
        board.SetBonus(52, BONUS_BOMB);
        board.SetBonus(58, BONUS_LAID_MINE);
        services.kinds = {1, 2, 5};
        view->BuildCellViews(board);
        view->SpawnUnits(board);
    }
    ~Frame()
    {
        view.reset();
        ResetPlayGlobalsForTests();
    }

    // Every display state on its own cells, the middle cell selected, and a flash.
    void SetUpStates()
    {
        view->SetCellsState(CellSet(0x1F << 5), VCell::CloneTarget);
        view->SetCellsState(CellSet(uint64_t{0x3F} << 43), VCell::JumpTarget);
        view->SetCellsState(CellSet(uint64_t{0x7} << 35), VCell::HoveredTarget);
        view->SetCellsState(CellSet(uint64_t{0x7} << 38), VCell::Hovered);
        view->SetCellsState(CellSet(uint64_t{0x3F} << 18), VCell::BombArea);
        view->SetCellsState(CellSet(uint64_t{0x3} << 55), VCell::HoveredBombArea);
        view->HighlightCell(30);
        view->AddCellSetEffect(CellSet(uint64_t{0x3} << 0), 0.6f, 0.05f, 10.0f, 0);
        for (int i = 0; i < 100; ++i)
            view->Update(0.01f);
    }

    void SetUpTransition()
    {
        view->StartTransition(true);
        for (int i = 0; i < 175; ++i)
            view->Update(0.01f);
    }

    void Draw(Quoll::Graphics& g)
    {
        g.SetColor(Quoll::Color(18, 22, 38));
        g.FillRect(0, 0, kWidth, kHeight);
        g.SetColor(Quoll::Color::White);
        view->Draw(&g);
    }

    FakePlayServices services{20261206};
    std::unique_ptr<BoardView> view;
};

using SetUp = void (Frame::*)();

std::vector<uint32_t> Draw2D(SetUp setUp)
{
    Quoll::InitTriangleSpanTable();
    Frame frame;
    (frame.*setUp)();
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

std::vector<uint32_t> Draw3D(SetUp setUp)
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
        Frame frame;
        (frame.*setUp)();
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

// The cell boxes of the bonus units, whose sprites are drawn scaled.
std::vector<Quoll::Rect> ScaledBoxes(SetUp setUp)
{
    Frame frame;
    (frame.*setUp)();
    std::vector<Quoll::Rect> boxes;
    for (const VCell* cell : frame.view->GetCellViews())
        if (const Bonus* bonus = cell->GetBonus())
        {
            const FloatPoint p = bonus->GetWorldPosition();
            boxes.emplace_back(static_cast<int>(p.x) - 2, static_cast<int>(p.y) - 2, 69 + 4, 66 + 4);
        }
    return boxes;
}

struct Case
{
    const char* name;
    SetUp setUp;
};

const Case kCases[] = {{"board_states", &Frame::SetUpStates}, {"board_transition", &Frame::SetUpTransition}};
} // namespace

class PlayGoldenTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(PlayGoldenTest, TwoDimensionalFrameMatchesItsGolden)
{
    const auto pixels = Draw2D(GetParam().setUp);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("play", GetParam().name, pixels.data(), kWidth, kHeight));
}

// Cells and bacteria are drawn unscaled at whole pixels and agree within 3 on both paths. The
// bonus units' scaled sprites are drawn by different calls on the two paths (an integer-sized
// stretch in software, a sub-pixel transform on the device), so their edges differ by more; they
// are a small share of the frame.
TEST_P(PlayGoldenTest, ThreeDimensionalFrameAgreesWithTheTwoDimensionalOne)
{
    const auto pixels2D = Draw2D(GetParam().setUp);
    const auto pixels3D = Draw3D(GetParam().setUp);
    const Quoll::Testing::FrameAgreement agreement =
        Quoll::Testing::CompareFrames(pixels2D, pixels3D, kWidth, kHeight, ScaledBoxes(GetParam().setUp));
    std::printf("%s: largest difference %d (%d outside scaled sprites), %.4f of the pixels within 3\n",
                GetParam().name, agreement.most, agreement.mostOutsideExcluded, agreement.shareWithin3);
    EXPECT_LE(agreement.mostOutsideExcluded, 3);
    EXPECT_GE(agreement.shareWithin3, 0.985);
}

INSTANTIATE_TEST_SUITE_P(Frames, PlayGoldenTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
