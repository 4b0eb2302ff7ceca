// The software 3D device: scene-state errors, states and blend pairs, the fill rule, goldens of
// quads, rotated quads, vertex-coloured triangles and lines on 32-bit and 5-6-5 targets, and the
// fast quad path against the general path on seeded random quads.
// Rerun one case: test_display --gtest_filter='SoftDirect3DTest.<name>'; a failing random case
// prints its seed.
#include "tests/GoldenImage.h"

#include "framework/platform/video/SoftDirect3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

using namespace Quoll::Platform;
using Quoll::Testing::MatchesGolden;

namespace
{
struct Rig
{
    explicit Rig(const SurfaceFormat& format = SurfaceFormat::X8R8G8B8(), int width = 64, int height = 64)
    {
        EXPECT_EQ(card.DirectDrawCreate(dd), DD_OK);
        SurfaceDesc desc;
        desc.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
        desc.width = width;
        desc.height = height;
        desc.format = format;
        desc.caps = kCapsOffscreenPlain | kCaps3DDevice;
        EXPECT_EQ(dd->CreateSurface(desc, target), DD_OK);
        EXPECT_EQ(QueryDirect3D(SoftDirect3DSettings(), d3d), DD_OK);
        EXPECT_EQ(d3d->CreateDevice(target, device), DD_OK);
    }

    std::shared_ptr<SoftTexture> Texture(int width, int height, const std::vector<uint32_t>& argb)
    {
        std::shared_ptr<SoftTexture> texture;
        EXPECT_EQ(d3d->CreateTexture(width, height, TextureFormat::A8R8G8B8(), texture), DD_OK);
        uint8_t* pixels = nullptr;
        int pitch = 0;
        EXPECT_EQ(texture->Lock(&pixels, &pitch), DD_OK);
        for (int y = 0; y < height; ++y)
            std::memcpy(pixels + y * pitch, argb.data() + static_cast<size_t>(y) * width, static_cast<size_t>(width) * 4);
        EXPECT_EQ(texture->Unlock(), DD_OK);
        return texture;
    }

    void Blend(uint32_t src, uint32_t dest)
    {
        device->SetRenderState(RenderState::AlphaBlendEnable, 1);
        device->SetRenderState(RenderState::SrcBlend, src);
        device->SetRenderState(RenderState::DestBlend, dest);
    }

    std::vector<uint32_t> Pixels() const
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < target->Height(); ++y)
            for (int x = 0; x < target->Width(); ++x)
                out.push_back(target->ArgbAt(x, y));
        return out;
    }

    SoftVideoCard card;
    std::shared_ptr<SoftDirectDraw> dd;
    std::shared_ptr<SoftSurface> target;
    std::shared_ptr<SoftDirect3D> d3d;
    std::shared_ptr<SoftDirect3DDevice> device;
};

D3DVertex V(float x, float y, uint32_t color = 0xFFFFFFFF, float u = 0, float v = 0)
{
    D3DVertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.diffuse = color;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

// A quad as a strip: top-left, top-right, bottom-left, bottom-right.
std::array<D3DVertex, 4> Quad(float x, float y, float w, float h, uint32_t color, float u0 = 0, float v0 = 0,
                              float u1 = 1, float v1 = 1)
{
    return {V(x, y, color, u0, v0), V(x + w, y, color, u1, v0), V(x, y + h, color, u0, v1),
            V(x + w, y + h, color, u1, v1)};
}

std::vector<uint32_t> Gradient(int width, int height)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.push_back(((x + y) % 5 == 0 ? 0x80000000u : 0xFF000000u) | (static_cast<uint32_t>(x * 255 / width) << 16) |
                          (static_cast<uint32_t>(y * 255 / height) << 8) | 0x40);
    return out;
}
} // namespace

TEST(SoftDirect3DTest, SceneStatesAndInvalidCallsAreRefused)
{
    Rig rig;
    const auto quad = Quad(0, 0, 4, 4, 0xFFFFFFFF);
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0), D3DERR_NOTINBEGIN);
    EXPECT_EQ(rig.device->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(rig.device->BeginScene(), DD_OK);
    EXPECT_EQ(rig.device->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, 0x104, quad.data(), 4, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(rig.device->DrawPrimitive(static_cast<PrimitiveType>(9), kFvfTLVertex, quad.data(), 4, 0),
              D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(rig.device->SetRenderState(RenderState::SrcBlend, 99), D3DERR_UNSUPPORTEDFACTORVALUE);
    EXPECT_EQ(rig.device->EndScene(), DD_OK);
    // A surface made without the 3D capability cannot be a render target; nor a locked one drawn to.
    std::shared_ptr<SoftSurface> plain;
    SurfaceDesc desc;
    desc.flags = kDescCaps | kDescWidth | kDescHeight;
    desc.width = desc.height = 8;
    desc.caps = kCapsOffscreenPlain;
    ASSERT_EQ(rig.dd->CreateSurface(desc, plain), DD_OK);
    EXPECT_EQ(rig.device->SetRenderTarget(plain), DDERR_INVALIDCAPS);
    SurfaceDesc locked;
    ASSERT_EQ(rig.target->Lock(nullptr, &locked, kLockWait), DD_OK);
    rig.device->BeginScene();
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0), DDERR_SURFACEBUSY);
    rig.target->Unlock(nullptr);
    // Textures: an unknown format, too large a size and a second lock.
    std::shared_ptr<SoftTexture> texture;
    EXPECT_EQ(rig.d3d->CreateTexture(8, 8, TextureFormat{kPfRgb, 16, 0, 0x7C00, 0x3E0, 0x1F}, texture),
              DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(rig.d3d->CreateTexture(4096, 8, TextureFormat::A8R8G8B8(), texture), DDERR_INVALIDPARAMS);
    ASSERT_EQ(rig.d3d->CreateTexture(8, 8, TextureFormat::A4R4G4B4(), texture), DD_OK);
    uint8_t* pixels = nullptr;
    int pitch = 0;
    EXPECT_EQ(texture->Lock(&pixels, &pitch), DD_OK);
    EXPECT_EQ(texture->Lock(&pixels, &pitch), D3DERR_TEXTURE_LOCKED);
    EXPECT_EQ(texture->Unlock(), DD_OK);
    EXPECT_EQ(texture->Unlock(), D3DERR_TEXTURE_NOT_LOCKED);
}

TEST(SoftDirect3DTest, VerticesFarOutOrNotNumbersDrawNothing)
{
    Rig rig;
    rig.device->BeginScene();
    rig.device->Clear(kClearTarget, 0xFF000000, 1, 0);
    const float nan = std::nanf("");
    const D3DVertex far[] = {V(-1e30f, 0), V(1e30f, 5), V(3, 1e30f), V(nan, 2), V(4, 4), V(8, nan)};
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleList, kFvfTLVertex, far, 6, 0), DD_OK);
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::LineStrip, kFvfTLVertex, far, 6, 0), DD_OK);
    auto quad = Quad(-1e30f, -1e30f, 2e30f, 2e30f, 0xFFFFFFFF);
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0), DD_OK);
    // A texture coordinate that is not a number samples some texel and nothing worse.
    rig.device->SetTexture(0, rig.Texture(2, 2, std::vector<uint32_t>(4, 0xFF00FF00)));
    const D3DVertex odd[] = {V(0, 0, 0xFFFFFFFF, nan, 0), V(9, 0, 0xFFFFFFFF, 1e30f, 0), V(0, 9, 0xFFFFFFFF, 0, nan)};
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleList, kFvfTLVertex, odd, 3, 0), DD_OK);
    for (uint32_t pixel : rig.Pixels())
        ASSERT_TRUE(pixel == 0xFF000000 || pixel == 0xFF00FF00) << std::hex << pixel;
    // A long line from far away costs only its pixels on the target.
    const D3DVertex line[] = {V(-900000, 10, 0xFFFFFFFF), V(900000, 10, 0xFFFFFFFF)};
    rig.device->SetTexture(0, nullptr);
    EXPECT_EQ(rig.device->DrawPrimitive(PrimitiveType::LineStrip, kFvfTLVertex, line, 2, 0), DD_OK);
    EXPECT_EQ(rig.target->ArgbAt(0, 10), 0xFFFFFFFFu);
    EXPECT_EQ(rig.target->ArgbAt(63, 10), 0xFFFFFFFFu);
}

TEST(SoftDirect3DTest, BlendPairsSaturateAndModulateByDiffuse)
{
    struct Case
    {
        uint32_t src, dest, under, over, diffuse, expected;
    };
    const Case cases[] = {
        {kBlendSrcAlpha, kBlendInvSrcAlpha, 0xFF0000FF, 0x80FF0000, 0xFFFFFFFF, 0xFF80007F},
        {kBlendOne, kBlendOne, 0xFF404040, 0xFFF0F0F0, 0xFFFFFFFF, 0xFFFFFFFF},
        {kBlendSrcAlpha, kBlendOne, 0xFF404040, 0x80808080, 0xFFFFFFFF, 0xFF808080},
        {kBlendSrcAlpha, kBlendInvSrcAlpha, 0xFF000000, 0xFFFF8040, 0xFF808080, 0xFF804020},
    };
    for (const Case& c : cases)
    {
        Rig rig;
        rig.device->BeginScene();
        rig.device->SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
        rig.device->Clear(kClearTarget, c.under, 1, 0);
        rig.Blend(c.src, c.dest);
        rig.device->SetTexture(0, rig.Texture(4, 4, std::vector<uint32_t>(16, c.over)));
        const auto quad = Quad(-0.5f, -0.5f, 4, 4, c.diffuse);
        ASSERT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0), DD_OK);
        EXPECT_EQ(rig.target->ArgbAt(1, 1), c.expected) << std::hex << c.over;
        EXPECT_EQ(rig.target->ArgbAt(4, 4), c.under | 0xFF000000) << "the quad ends before pixel 4";
    }
}

TEST(SoftDirect3DTest, TrianglesSharingAnEdgeDrawEveryPixelOnce)
{
    // Additive halves: a pixel drawn twice would come out brighter.
    Rig rig;
    rig.device->BeginScene();
    rig.device->Clear(kClearTarget, 0xFF000000, 1, 0);
    rig.Blend(kBlendOne, kBlendOne);
    const D3DVertex fan[] = {V(3.3f, 2.1f, 0xFF202020), V(40.7f, 5.2f, 0xFF202020), V(37.9f, 50.6f, 0xFF202020),
                             V(6.1f, 44.4f, 0xFF202020), V(1.0f, 20.0f, 0xFF202020)};
    ASSERT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleFan, kFvfTLVertex, fan, 5, 0), DD_OK);
    int drawn = 0;
    for (uint32_t pixel : rig.Pixels())
    {
        EXPECT_TRUE(pixel == 0xFF000000 || pixel == 0xFF202020) << std::hex << pixel;
        drawn += pixel == 0xFF202020;
    }
    EXPECT_GT(drawn, 1000);
}

namespace
{
std::vector<uint32_t> DrawGoldenScene(const SurfaceFormat& format)
{
    Rig rig(format, 96, 64);
    rig.device->BeginScene();
    rig.device->Clear(kClearTarget, 0xFF203040, 1, 0);
    rig.Blend(kBlendSrcAlpha, kBlendInvSrcAlpha);
    rig.device->SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
    auto texture = rig.Texture(16, 16, Gradient(16, 16));
    rig.device->SetTexture(0, texture);
    // Plain, tinted and stretched quads, point then linear.
    auto quad = Quad(1.5f, 1.5f, 16, 16, 0xFFFFFFFF);
    rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0);
    quad = Quad(19.5f, 1.5f, 16, 16, 0xC0FF8080);
    rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0);
    rig.device->SetTextureStageState(0, TextureStageState::MagFilter, kFilterLinear);
    quad = Quad(37.5f, 1.5f, 24, 20, 0xFFFFFFFF);
    rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0);
    // A quad rotated by 30 degrees about its centre.
    const float c = std::cos(0.5235988f), s = std::sin(0.5235988f);
    std::array<D3DVertex, 4> rotated = Quad(-8, -8, 16, 16, 0xFFFFFFFF);
    for (D3DVertex& v : rotated)
    {
        const float x = v.x, y = v.y;
        v.x = 78 + c * x - s * y;
        v.y = 14 + s * x + c * y;
    }
    rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, rotated.data(), 4, 0);
    // Vertex-coloured triangles, untextured, and additive ones.
    rig.device->SetTexture(0, nullptr);
    const D3DVertex tri[] = {V(2, 62, 0xFFFF0000), V(30, 26, 0xFF00FF00), V(46, 62, 0x8000FFFF)};
    rig.device->DrawPrimitive(PrimitiveType::TriangleList, kFvfTLVertex, tri, 3, 0);
    rig.Blend(kBlendSrcAlpha, kBlendOne);
    const D3DVertex add[] = {V(40, 30, 0xFF402000), V(70, 28, 0xFF004020), V(56, 60, 0xFF200040)};
    rig.device->DrawPrimitive(PrimitiveType::TriangleList, kFvfTLVertex, add, 3, 0);
    // Lines: a steep, a shallow and a closing strip.
    rig.Blend(kBlendSrcAlpha, kBlendInvSrcAlpha);
    const D3DVertex lines[] = {V(60, 34, 0xFFFFFF00), V(94, 40, 0xFFFFFF00), V(88, 62, 0xFF00FFFF),
                               V(88.5f, 62.5f, 0xFF00FFFF)};
    rig.device->DrawPrimitive(PrimitiveType::LineStrip, kFvfTLVertex, lines, 4, 0);
    rig.device->EndScene();
    return rig.Pixels();
}
} // namespace

TEST(SoftDirect3DTest, GoldenSceneOn32BitTarget)
{
    const auto pixels = DrawGoldenScene(SurfaceFormat::X8R8G8B8());
    EXPECT_TRUE(MatchesGolden("device3d_32", pixels.data(), 96, 64));
    // The other channel order draws the same picture.
    const auto swapped = DrawGoldenScene(SurfaceFormat::X8B8G8R8());
    EXPECT_TRUE(MatchesGolden("device3d_32", swapped.data(), 96, 64));
}

TEST(SoftDirect3DTest, GoldenSceneOn565And555Targets)
{
    const auto pixels = DrawGoldenScene(SurfaceFormat::R5G6B5());
    EXPECT_TRUE(MatchesGolden("device3d_565", pixels.data(), 96, 64));
    const auto pixels555 = DrawGoldenScene(SurfaceFormat::X1R5G5B5());
    EXPECT_TRUE(MatchesGolden("device3d_555", pixels555.data(), 96, 64));
}

TEST(SoftDirect3DTest, FastQuadBlendsEqualTheGeneralPathForEveryAlpha)
{
    // One pixel per alpha value over rows of different destinations, in both blend pairs.
    const uint32_t pairs[][2] = {{kBlendSrcAlpha, kBlendInvSrcAlpha}, {kBlendSrcAlpha, kBlendOne}};
    for (const auto& pair : pairs)
    {
        std::vector<uint32_t> results[2];
        for (int fast = 0; fast < 2; ++fast)
        {
            Rig rig(SurfaceFormat::X8R8G8B8(), 256, 4);
            rig.device->SetFastQuads(fast == 1);
            rig.device->BeginScene();
            const uint32_t grounds[4] = {0xFF000000, 0xFFFFFFFF, 0xFF7F0180, 0xFF13F0C5};
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 256; ++x)
                    rig.target->SetPixelAt(x, y, grounds[y] & 0xFFFFFF);
            rig.Blend(pair[0], pair[1]);
            std::vector<uint32_t> texels(256 * 4);
            for (int y = 0; y < 4; ++y)
                for (uint32_t a = 0; a < 256; ++a)
                    texels[y * 256 + a] = a << 24 | (0x9A * (y + 1) & 0xFF) << 16 | (a * 7 & 0xFF) << 8 | (255 - a);
            rig.device->SetTexture(0, rig.Texture(256, 4, texels));
            const auto quad = Quad(-0.5f, -0.5f, 256, 4, 0xFFFFFFFF);
            ASSERT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0), DD_OK);
            EXPECT_EQ(rig.device->FastQuadCount(), fast == 1 ? 1u : 0u);
            results[fast] = rig.Pixels();
        }
        ASSERT_EQ(results[0], results[1]) << "blend pair " << pair[0] << "/" << pair[1];
    }
}

TEST(SoftDirect3DTest, FastQuadPathEqualsGeneralPathOnRandomQuads)
{
    const SurfaceFormat formats[] = {SurfaceFormat::X8R8G8B8(), SurfaceFormat::R5G6B5(), SurfaceFormat::X1R5G5B5()};
    uint64_t fastQuads = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed)
    {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
        const SurfaceFormat& format = formats[pick(3)];
        const int texW = 1 + pick(40), texH = 1 + pick(40);
        std::vector<uint32_t> texels(static_cast<size_t>(texW * texH));
        for (uint32_t& t : texels)
        {
            const int bias = pick(4);
            t = bias == 0 ? 0 : bias == 1 ? 0xFFFFFFFF : static_cast<uint32_t>(random());
        }
        // Texel-aligned mostly; sometimes off by a fraction, mirrored or stretched.
        const int x = pick(60) - 10, y = pick(60) - 10, w = 1 + pick(texW), h = 1 + pick(texH);
        const int tx = pick(texW - w + 1), ty = pick(texH - h + 1);
        float dx = -0.5f, dy = -0.5f, sw = static_cast<float>(w), sh = static_cast<float>(h);
        const int variant = pick(8);
        if (variant == 0)
            dx += 0.25f;
        if (variant == 1)
            sw *= 1.5f;
        const uint32_t diffuse = pick(2) == 0 ? 0xFFFFFFFF : static_cast<uint32_t>(random());
        const bool linear = pick(2) == 0, modulate = pick(2) == 0;
        const uint32_t blends[][2] = {{kBlendSrcAlpha, kBlendInvSrcAlpha}, {kBlendSrcAlpha, kBlendOne}, {kBlendOne, kBlendOne}};
        const auto* blend = blends[pick(3)];
        auto quad = Quad(static_cast<float>(x) + dx, static_cast<float>(y) + dy, sw, sh, diffuse,
                         static_cast<float>(tx) / texW, static_cast<float>(ty) / texH, static_cast<float>(tx + w) / texW,
                         static_cast<float>(ty + h) / texH);
        if (variant == 2)
            std::swap(quad[0].x, quad[1].x), std::swap(quad[2].x, quad[3].x);
        const bool textured = variant != 3;
        std::vector<uint32_t> results[2];
        for (int fast = 0; fast < 2; ++fast)
        {
            Rig rig(format, 48, 40);
            rig.device->SetFastQuads(fast == 1);
            rig.device->BeginScene();
            rig.device->Clear(kClearTarget, 0xFF336699, 1, 0);
            rig.Blend(blend[0], blend[1]);
            rig.device->SetTextureStageState(0, TextureStageState::MagFilter, linear ? kFilterLinear : kFilterPoint);
            rig.device->SetTextureStageState(0, TextureStageState::AlphaOp, modulate ? kTopModulate : kTopSelectArg1);
            if (textured)
                rig.device->SetTexture(0, rig.Texture(texW, texH, texels));
            ASSERT_EQ(rig.device->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, quad.data(), 4, 0), DD_OK);
            results[fast] = rig.Pixels();
            fastQuads += rig.device->FastQuadCount();
        }
        ASSERT_EQ(results[0], results[1]) << "seed " << seed;
    }
    EXPECT_GT(fastQuads, 150u) << "the fast path must actually run";
}

TEST(SoftDirect3DTest, FastSpansEqualThePlainWalkOnRandomTriangles)
{
    // Lists, strips and fans over and past the target, under every sampler, blend pair and
    // colouring, against the walk that tests, shades and plots each pixel of the box alone.
    const SurfaceFormat formats[] = {SurfaceFormat::X8R8G8B8(), SurfaceFormat::R5G6B5(), SurfaceFormat::R8G8B8()};
    const uint32_t blends[] = {kBlendZero, kBlendOne, kBlendSrcAlpha, kBlendInvSrcAlpha};
    const PrimitiveType types[] = {PrimitiveType::TriangleList, PrimitiveType::TriangleStrip, PrimitiveType::TriangleFan};
    for (uint32_t seed = 1; seed <= 300; ++seed)
    {
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
        auto real = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
        const SurfaceFormat& format = formats[seed % 4 == 0 ? pick(3) : 0];
        const int texW = 1 + pick(40), texH = 1 + pick(40);
        std::vector<uint32_t> texels(static_cast<size_t>(texW * texH));
        for (uint32_t& t : texels)
            t = static_cast<uint32_t>(random());
        const bool textured = pick(6) != 0, linear = pick(2) == 0, modulate = pick(2) == 0;
        const bool blend = pick(4) != 0, common = pick(2) == 0;
        const uint32_t src = common ? kBlendSrcAlpha : blends[pick(4)];
        const uint32_t dest = common ? (pick(2) == 0 ? kBlendOne : kBlendInvSrcAlpha) : blends[pick(4)];
        const bool flat = pick(2) == 0;
        const uint32_t colour = pick(2) == 0 ? 0xFFFFFFFF : static_cast<uint32_t>(random());
        std::vector<D3DVertex> vertices(static_cast<size_t>(3 + pick(6)));
        for (D3DVertex& v : vertices)
        {
            v = V(real(-20, 70), real(-20, 60), flat ? colour : static_cast<uint32_t>(random()), real(-0.5f, 1.5f),
                  real(-0.5f, 1.5f));
            if (pick(3) == 0) // on pixel centres and edges, texel corners
            {
                v.x = static_cast<float>(pick(60)) - 0.5f * static_cast<float>(pick(2));
                v.y = static_cast<float>(pick(50)) - 0.5f * static_cast<float>(pick(2));
                v.u = static_cast<float>(pick(texW + 1)) / static_cast<float>(texW);
            }
        }
        const PrimitiveType type = types[pick(3)];
        std::vector<uint32_t> results[2];
        for (int fast = 0; fast < 2; ++fast)
        {
            Rig rig(format, 64, 48);
            rig.device->SetFastSpans(fast == 1);
            rig.device->SetFastQuads(false);
            rig.device->BeginScene();
            rig.device->Clear(kClearTarget, 0xFF8040C0, 1, 0);
            rig.device->SetRenderState(RenderState::AlphaBlendEnable, blend ? 1 : 0);
            rig.device->SetRenderState(RenderState::SrcBlend, src);
            rig.device->SetRenderState(RenderState::DestBlend, dest);
            rig.device->SetTextureStageState(0, TextureStageState::MagFilter, linear ? kFilterLinear : kFilterPoint);
            rig.device->SetTextureStageState(0, TextureStageState::AlphaOp, modulate ? kTopModulate : kTopSelectArg1);
            if (textured)
                rig.device->SetTexture(0, rig.Texture(texW, texH, texels));
            ASSERT_EQ(rig.device->DrawPrimitive(type, kFvfTLVertex, vertices.data(), static_cast<int>(vertices.size()), 0),
                      DD_OK);
            results[fast] = rig.Pixels();
        }
        ASSERT_EQ(results[0], results[1]) << "seed " << seed;
    }
}
