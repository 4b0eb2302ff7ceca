// The board's art of the generated data as the play screen draws it: a cell of every kind shows a
// hexagon inside its cel and each display state's overlay changes it; a bacterium's face, in each
// expression, draws only where its body is. Pixel probes against what the body and cel boxes
// allow, not golden images.
// Rerun: test_playdata --gtest_filter='PlayData.BoardArt*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "game/play/BacFace.h"
#include "game/play/VCell.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using PlayDataTest::PlayData;

constexpr uint32_t kGround = 0xFF101820u;
constexpr int kBox = 100;
constexpr int kCelWidth = 69;
constexpr int kCelHeight = 66;

// A screen of one box filled with the ground colour, drawn on by the function.
template <typename Draw> std::vector<uint32_t> DrawBox(Draw draw)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kBox * kBox), kGround);
    Quoll::MemoryImage screen;
    screen.SetBits(pixels.data(), kBox, kBox);
    {
        Quoll::Graphics g(&screen);
        g.SetColor(Quoll::Color::White);
        draw(g);
    }
    const uint32_t* bits = screen.GetBits();
    return {bits, bits + pixels.size()};
}

uint32_t At(const std::vector<uint32_t>& pixels, int x, int y)
{
    return pixels[static_cast<size_t>(y * kBox + x)];
}

int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i] ? 1 : 0;
    return count;
}

// A cell view of the kind at the box's corner, in the display state.
std::vector<uint32_t> DrawCell(GamePlayServices& services, int kind, int state)
{
    VCell cell(services);
    cell.Attach(kind, -1);
    cell.SetPosition({0, 0});
    cell.SetState(state, true);
    cell.Update(0);
    return DrawBox([&](Quoll::Graphics& g) { cell.Draw(&g); });
}

TEST_F(PlayData, BoardArtCellsOfEveryKindShowAHexagonAndItsOverlays)
{
    LoadPlayGroups();
    std::vector<std::vector<uint32_t>> looks;
    for (int kind = 1; kind <= 3; ++kind)
    {
        SCOPED_TRACE("kind " + std::to_string(kind));
        const std::vector<uint32_t> plain = DrawCell(Services(), kind, VCell::Normal);
        EXPECT_NE(At(plain, kCelWidth / 2, kCelHeight / 2), kGround) << "the hexagon's middle";
        EXPECT_EQ(At(plain, 2, 2), kGround) << "outside the hexagon's corner";
        EXPECT_EQ(At(plain, kCelWidth + 2, kCelHeight / 2), kGround) << "right of the cel";
        for (const std::vector<uint32_t>& other : looks)
            EXPECT_GT(Differing(plain, other), 0) << "each kind has a look of its own";
        looks.push_back(plain);
        // Every state with an overlay lights the cell up beyond its plain look.
        for (int state : {VCell::Highlighted, VCell::CloneTarget, VCell::JumpTarget, VCell::Hovered,
                          VCell::BombArea, VCell::HoveredBombArea})
            EXPECT_GT(Differing(DrawCell(Services(), kind, state), plain), 0) << "state " << state;
    }
}

// The mean difference per colour channel of two drawings over the cel.
double MeanChannelDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    double sum = 0;
    for (int y = 0; y < kCelHeight; ++y)
        for (int x = 0; x < kCelWidth; ++x)
            for (int shift : {0, 8, 16})
                sum += std::abs(static_cast<int>(At(a, x, y) >> shift & 0xFF) - static_cast<int>(At(b, x, y) >> shift & 0xFF));
    return sum / (kCelWidth * kCelHeight * 3);
}

// Clone targets and jump targets are told apart at a glance, on every kind of cell.
TEST_F(PlayData, BoardArtCloneAndJumpTargetsLookDifferent)
{
    LoadPlayGroups();
    for (int kind = 1; kind <= 3; ++kind)
    {
        const std::vector<uint32_t> clone = DrawCell(Services(), kind, VCell::CloneTarget);
        const std::vector<uint32_t> jump = DrawCell(Services(), kind, VCell::JumpTarget);
        EXPECT_GT(MeanChannelDifference(clone, jump), 12.0) << "kind " << kind;
    }
}

// The face of every kind, at rest and in rage, changes no pixel outside its body's opaque part
// (eyes, lids and mouth sit on the body; nothing trails beside it).
TEST_F(PlayData, BoardArtFacesDrawOnlyOnTheirBodies)
{
    LoadPlayGroups();
    constexpr int x = 5, y = 5;
    for (int kind = 1; kind <= 8; ++kind)
    {
        SCOPED_TRACE("kind " + std::to_string(kind));
        Quoll::Image* body = Services().GetImageById(Services().GetResourceIdByName("IMAGE_BODY_" + std::to_string(kind)));
        ASSERT_NE(body, nullptr);
        const std::vector<uint32_t> bare = DrawBox([&](Quoll::Graphics& g) { g.DrawImageCel(body, x, y, 0); });
        // The body's own pixels: at least half opaque in its first cel.
        auto* bodyPixels = dynamic_cast<Quoll::MemoryImage*>(body);
        ASSERT_TRUE(bodyPixels != nullptr && bodyPixels->GetBits() != nullptr);
        const auto onBody = [&](int px, int py) {
            const int cx = px - x, cy = py - y;
            return cx >= 0 && cy >= 0 && cx < kCelWidth && cy < kCelHeight &&
                   (bodyPixels->GetBits()[cy * body->mWidth + cx] >> 24) >= 128;
        };
        BacFace face(Services());
        face.SetKind(kind);
        face.Update(0);
        for (int look = 0; look < 2; ++look)
        {
            SCOPED_TRACE(look == 0 ? "at rest" : "in rage");
            if (look == 1)
            {
                face.Say(2, 10.0f, true);
                for (int step = 0; step < 40; ++step)
                    face.Update(0.05f);
            }
            const std::vector<uint32_t> faced = DrawBox([&](Quoll::Graphics& g) {
                g.DrawImageCel(body, x, y, 0);
                face.Draw(&g, Quoll::Color::White, x, y, x + 200.0f, y);
            });
            EXPECT_GT(Differing(faced, bare), 0) << "the face shows";
            int outside = 0;
            for (int py = 0; py < kBox; ++py)
                for (int px = 0; px < kBox; ++px)
                    if (At(faced, px, py) != At(bare, px, py) && !onBody(px, py))
                        ++outside;
            EXPECT_EQ(outside, 0) << "pixels of the face off the body";
        }
    }
}
} // namespace
