// Pictures drawn free-standing over the screen fade out before their own edges: a glow or a wing
// that reached an edge would be cut there and show as a straight side (the title's logo over the
// title picture, the flying helper over the map).
// Rerun: test_playdata --gtest_filter='PlayData.PictureEdge*'.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/display/MemoryImage.h"

#include <string>

namespace
{
using PlayDataTest::PlayData;

// The pixels of the picture's outermost ring that are more than faintly opaque.
int OpaqueEdgePixels(Quoll::MemoryImage& image)
{
    const uint32_t* bits = image.GetBits();
    const int w = image.mWidth, h = image.mHeight;
    int opaque = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && (bits[y * w + x] >> 24) > 8)
                ++opaque;
    return opaque;
}

TEST_F(PlayData, PictureEdgesOfTheLogosAndTheHelperAreClear)
{
    ASSERT_TRUE(Services().LoadResourceGroup("TitleScreen"));
    LoadPlayGroups();
    for (const char* name : {"IMAGE_LOGO_EN", "IMAGE_LOGO_ALT", "IMAGE_GLORIA"})
    {
        auto* image = dynamic_cast<Quoll::MemoryImage*>(Services().GetImageById(Services().GetResourceIdByName(name)));
        ASSERT_TRUE(image != nullptr && image->GetBits() != nullptr) << name;
        EXPECT_EQ(OpaqueEdgePixels(*image), 0) << name;
    }
}
} // namespace
