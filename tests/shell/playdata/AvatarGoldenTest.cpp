// The eight avatars of the generated data drawn on the 2D path against a golden image, each bust
// with its face in three looks: at rest, blinking and in rage (the hero's second expression, the
// beaten mouth, beside its rage). The golden pins the art; the check that the face sits on the
// bust is that the blink's lids cover the painted eyes: a blinking face differs from the resting
// one only inside the eye overlay's box.
// Rerun: test_playdata --gtest_filter='PlayData.Avatar*'; QUOLL_UPDATE_GOLDEN=1 rewrites it.
#include "tests/GoldenImage.h"
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "game/play/Avatar.h"

#include <cstdlib>
#include <vector>

namespace
{
using PlayDataTest::PlayData;

constexpr int kCellWidth = 220;
constexpr int kCellHeight = 190;
constexpr int kColumns = 8;
constexpr int kRows = 3;
constexpr int kWidth = kCellWidth * kColumns;
constexpr int kHeight = kCellHeight * kRows;

// The looks drawn in the rows.
const EmotionEntry kLooks[kRows] = {
    {0, EmotionEntry::Hold, 0},
    {0, EmotionEntry::Gesture, 0},
    {2, EmotionEntry::Hold, 0},
};

std::vector<uint32_t> Pixels(Quoll::MemoryImage& screen)
{
    const uint32_t* bits = screen.GetBits();
    std::vector<uint32_t> pixels(bits, bits + static_cast<size_t>(screen.GetWidth() * screen.GetHeight()));
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

// One avatar of the kind in the look, drawn at (x, y) of the screen.
void DrawAvatar(GamePlayServices& services, Quoll::Graphics& g, int kind, const EmotionEntry& look, float x, float y)
{
    Avatar avatar(services);
    avatar.Load(kind);
    avatar.SetPosition({x, y});
    avatar.ShowEmotion(look);
    g.SetColor(Quoll::Color::White);
    avatar.Draw(&g);
}

TEST_F(PlayData, AvatarsMatchTheirGolden)
{
    LoadPlayGroups();
    Quoll::MemoryImage screen;
    std::vector<uint32_t> ground(static_cast<size_t>(kWidth * kHeight), 0xFF141A2Cu);
    screen.SetBits(ground.data(), kWidth, kHeight);
    {
        Quoll::Graphics g(&screen);
        for (int row = 0; row < kRows; ++row)
            for (int kind = 1; kind <= kColumns; ++kind)
            {
                EmotionEntry look = kLooks[row];
                // The hero's second expression: no eyes and the beaten mouth.
                if (kind == 1 && row == 1)
                    look = {1, EmotionEntry::Hold, 0};
                DrawAvatar(Services(), g, kind, look, static_cast<float>((kind - 1) * kCellWidth + 10),
                           static_cast<float>(row * kCellHeight + 5));
            }
    }
    const std::vector<uint32_t> pixels = Pixels(screen);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("shell", "avatars", pixels.data(), kWidth, kHeight, 2));
}

// The painted eyes of kinds 2..8 are where their blink overlay goes: the resting bust shows the
// whites of its eyes, and the blink's closed lids leave none of them visible.
TEST_F(PlayData, AvatarBlinksCoverThePaintedEyes)
{
    LoadPlayGroups();
    // The white of a painted eye, (247, 255, 250), within a few steps.
    const auto isEyeWhite = [](uint32_t p) {
        const int r = static_cast<int>(p >> 16 & 0xFF), g = static_cast<int>(p >> 8 & 0xFF), b = static_cast<int>(p & 0xFF);
        return std::abs(r - 247) <= 6 && g >= 249 && std::abs(b - 250) <= 6;
    };
    for (int kind = 2; kind <= 8; ++kind)
    {
        int whites[2] = {0, 0};
        for (int blink = 0; blink < 2; ++blink)
        {
            Quoll::MemoryImage screen;
            std::vector<uint32_t> ground(200 * 180, 0xFF000000u);
            screen.SetBits(ground.data(), 200, 180);
            Avatar avatar(Services());
            avatar.Load(kind);
            avatar.ShowEmotion({0, blink == 1 ? EmotionEntry::Gesture : EmotionEntry::Hold, 0});
            {
                Quoll::Graphics g(&screen);
                g.SetColor(Quoll::Color::White);
                avatar.Draw(&g);
            }
            for (uint32_t p : Pixels(screen))
                whites[blink] += isEyeWhite(p) ? 1 : 0;
        }
        EXPECT_GT(whites[0], 100) << "the resting eyes of kind " << kind;
        EXPECT_EQ(whites[1], 0) << "the blink of kind " << kind << " misses its eyes";
    }
}
} // namespace
