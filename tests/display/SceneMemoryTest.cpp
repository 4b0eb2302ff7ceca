// The 3D device's scene memory: a screen redrawn frame after frame, as the game's idle screens
// are, drawn by two devices in bands, one that puts repeated scenes (or their repeated leading
// commands) back from memory and one that draws every command; after every frame both targets
// hold the same pixels, whatever changed between frames (nothing, a sprite drawn over the
// background, a vertex of the background by a fraction, a texel, a render state, a target
// pixel, a texture swapped for an equal one) and the remembering device recalled many frames.
// Rerun: test_display --gtest_filter='SceneMemoryTest.*'; a failure prints the seed and frame.
#include "framework/platform/video/SoftDirect3D.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using namespace Quoll::Platform;

namespace
{
constexpr int kWidth = 64, kHeight = 48;

std::shared_ptr<SoftTexture> MakeTexture(SoftDirect3D& d3d, const std::vector<uint32_t>& argb)
{
    std::shared_ptr<SoftTexture> texture;
    EXPECT_EQ(d3d.CreateTexture(16, 16, TextureFormat::A8R8G8B8(), texture), DD_OK);
    uint8_t* pixels = nullptr;
    int pitch = 0;
    EXPECT_EQ(texture->Lock(&pixels, &pitch), DD_OK);
    for (int y = 0; y < 16; ++y)
        std::memcpy(pixels + y * pitch, argb.data() + y * 16, 16 * 4);
    EXPECT_EQ(texture->Unlock(), DD_OK);
    return texture;
}

// One target with its device and textures.
struct Screen
{
    explicit Screen(bool memory, const std::vector<uint32_t>& texels)
    {
        EXPECT_EQ(card.DirectDrawCreate(dd), DD_OK);
        SurfaceDesc desc;
        desc.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
        desc.width = kWidth;
        desc.height = kHeight;
        desc.format = SurfaceFormat::X8R8G8B8();
        desc.caps = kCapsOffscreenPlain | kCaps3DDevice;
        EXPECT_EQ(dd->CreateSurface(desc, target), DD_OK);
        SoftDirect3DSettings settings;
        settings.drawThreads = 3;
        EXPECT_EQ(QueryDirect3D(settings, d3d), DD_OK);
        EXPECT_EQ(d3d->CreateDevice(target, device), DD_OK);
        device->SetSceneMemory(memory);
        texture = MakeTexture(*d3d, texels);
    }
    std::vector<uint32_t> Pixels() const
    {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels.push_back(target->ArgbAt(x, y));
        return pixels;
    }

    SoftVideoCard card;
    std::shared_ptr<SoftDirectDraw> dd;
    std::shared_ptr<SoftSurface> target;
    std::shared_ptr<SoftDirect3D> d3d;
    std::shared_ptr<SoftDirect3DDevice> device;
    std::shared_ptr<SoftTexture> texture;
};

// What a frame draws: a clear of the target, or of its upper half (so that the pixels under
// the scene matter, and change from frame to frame under the blended mesh), a translucent
// textured mesh over all of it and a small sprite over that.
struct Frame
{
    uint32_t clearColour = 0xFF203040;
    bool clearAll = true;
    float spriteX = 10.5f;
    std::vector<D3DVertex> mesh;
    uint32_t destBlend = kBlendInvSrcAlpha;

    void Draw(Screen& screen) const
    {
        SoftDirect3DDevice& device = *screen.device;
        EXPECT_EQ(device.BeginScene(), DD_OK);
        device.SetViewport({0, 0, kWidth, clearAll ? kHeight : kHeight / 2, 0.0f, 1.0f});
        device.Clear(kClearTarget, clearColour, 1, 0);
        device.SetViewport({0, 0, kWidth, kHeight, 0.0f, 1.0f});
        device.SetRenderState(RenderState::AlphaBlendEnable, 1);
        device.SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
        device.SetRenderState(RenderState::DestBlend, destBlend);
        device.SetTextureStageState(0, TextureStageState::MagFilter, kFilterLinear);
        device.SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
        device.SetTexture(0, screen.texture);
        EXPECT_EQ(device.DrawPrimitive(PrimitiveType::TriangleList, kFvfTLVertex, mesh.data(),
                                       static_cast<int>(mesh.size()), 0),
                  DD_OK);
        D3DVertex sprite[4];
        for (int corner = 0; corner < 4; ++corner)
        {
            sprite[corner].x = spriteX + (corner & 1 ? 6.0f : 0.0f);
            sprite[corner].y = 20.5f + (corner & 2 ? 6.0f : 0.0f);
            sprite[corner].u = corner & 1 ? 1.0f : 0.0f;
            sprite[corner].v = corner & 2 ? 1.0f : 0.0f;
        }
        EXPECT_EQ(device.DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, sprite, 4, 0), DD_OK);
        EXPECT_EQ(device.EndScene(), DD_OK);
    }
};

Frame RandomFrame(std::mt19937& random)
{
    auto real = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    Frame frame;
    // Triangles covering the target in two rows of cells, with jittered corners.
    for (int row = 0; row < 2; ++row)
        for (int cell = 0; cell < 4; ++cell)
        {
            const float x0 = static_cast<float>(cell * kWidth / 4) - 0.5f, x1 = x0 + kWidth / 4.0f;
            const float y0 = static_cast<float>(row * kHeight / 2) - 0.5f, y1 = y0 + kHeight / 2.0f;
            const float corners[6][2] = {{x0, y0}, {x1, y0}, {x0, y1}, {x1, y0}, {x1, y1}, {x0, y1}};
            for (const auto& corner : corners)
            {
                D3DVertex v;
                v.x = corner[0] + real(-1, 1);
                v.y = corner[1] + real(-1, 1);
                v.u = real(0, 1);
                v.v = real(0, 1);
                v.diffuse = 0x80FFFFFF | (static_cast<uint32_t>(random()) & 0x7F000000);
                frame.mesh.push_back(v);
            }
        }
    return frame;
}

void ChangeTexel(SoftTexture& texture, uint32_t value)
{
    uint8_t* pixels = nullptr;
    int pitch = 0;
    ASSERT_EQ(texture.Lock(&pixels, &pitch), DD_OK);
    std::memcpy(pixels + 5 * pitch + 7 * 4, &value, 4);
    ASSERT_EQ(texture.Unlock(), DD_OK);
}
} // namespace

TEST(SceneMemoryTest, RepeatedScenesGiveThePixelsOfScenesDrawnAgain)
{
    uint64_t recalled = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed)
    {
        std::mt19937 random(seed);
        std::vector<uint32_t> texels(16 * 16);
        for (uint32_t& texel : texels)
            texel = static_cast<uint32_t>(random());
        Screen remembering(true, texels), drawing(false, texels);
        Frame frame = RandomFrame(random);
        for (int f = 0; f < 30; ++f)
        {
            // Most frames repeat the last one; the others change one thing.
            switch (random() % 12)
            {
            case 6:
            case 7: frame.spriteX = static_cast<float>(random() % 50) + 0.25f; break;
            case 0: frame.mesh[random() % frame.mesh.size()].x += 1.0f / 512; break;
            case 1:
            {
                const auto texel = static_cast<uint32_t>(random());
                for (Screen* screen : {&remembering, &drawing})
                    ChangeTexel(*screen->texture, texel);
                break;
            }
            case 2: frame.destBlend = frame.destBlend == kBlendOne ? kBlendInvSrcAlpha : kBlendOne; break;
            case 3:
                for (Screen* screen : {&remembering, &drawing})
                    screen->target->SetPixelAt(3, kHeight - 2, 0x00FF00FF ^ static_cast<uint32_t>(f));
                break;
            case 4:
                // An equal texture in a new object.
                for (Screen* screen : {&remembering, &drawing})
                    screen->texture = MakeTexture(*screen->d3d, texels);
                break;
            case 5: frame.clearAll = !frame.clearAll; break;
            default: break;
            }
            frame.Draw(remembering);
            frame.Draw(drawing);
            const std::vector<uint32_t> expected = drawing.Pixels(), got = remembering.Pixels();
            for (size_t i = 0; i < expected.size(); ++i)
                ASSERT_EQ(got[i], expected[i]) << "seed " << seed << ", frame " << f << ", pixel " << i % kWidth << ","
                                               << i / kWidth;
        }
        EXPECT_EQ(drawing.device->RecalledScenes(), 0u);
        recalled += remembering.device->RecalledScenes();
    }
    // A third of the frames repeat the one before and a sixth move only the sprite; many of
    // those are recalled whole or in part.
    EXPECT_GT(recalled, 40u * 30u / 20u);
}

TEST(SceneMemoryTest, AStillBackgroundUnderAMovingSpriteIsPutBack)
{
    std::vector<uint32_t> texels(16 * 16);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = 0x80000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    Screen remembering(true, texels), drawing(false, texels);
    std::mt19937 random(3);
    Frame frame = RandomFrame(random);
    for (int f = 0; f < 6; ++f)
    {
        frame.spriteX = 4.5f + static_cast<float>(f * 7);
        frame.Draw(remembering);
        frame.Draw(drawing);
        ASSERT_EQ(remembering.Pixels(), drawing.Pixels()) << "frame " << f;
    }
    // The first frame's clear has the device's first states, the second's those the first left;
    // the third keeps the background's pixels (which cover the target: the sprite under them
    // does not matter), the others draw only the sprite over them.
    EXPECT_EQ(remembering.device->RecalledScenes(), 3u);
}
