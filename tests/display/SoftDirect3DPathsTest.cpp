// The 3D device's drawing paths against each other: seeded random scenes (clears, lists, strips,
// fans, aligned quads, lines, every sampler, blend pair and colouring, textures changed and the
// target read in the middle of a scene) drawn through the plain per-pixel walk, the plain, SSE2
// and AVX2 row kernels, and in 1, 2, 3 and 8 bands, must give identical pixels; the row kernels
// against their plain reference on every alpha and channel value.
// Rerun one case: test_display --gtest_filter='SoftDirect3DPathsTest.<name>'; a failing scene
// prints its seed and the first pixel that differs.
#include "framework/platform/video/SoftDirect3D.h"
#include "framework/platform/video/SpanKernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>

using namespace Quoll::Platform;

namespace
{
struct Path
{
    std::string name;
    const SpanKernels* kernels; // null: the plain per-pixel walk
    int threads;
};

std::vector<Path> Paths()
{
    std::vector<Path> paths = {{"plain walk", nullptr, 1}};
    for (const char* name : {"scalar", "sse2", "avx2"})
        if (const SpanKernels* kernels = SpanKernelsNamed(name))
            paths.push_back({name, kernels, 1});
    const SpanKernels* best = &DefaultSpanKernels();
    for (int threads : {2, 3, 8})
        paths.push_back({std::string(best->name) + " in " + std::to_string(threads) + " bands", best, threads});
    paths.push_back({"plain walk in 3 bands", nullptr, 3});
    return paths;
}

std::shared_ptr<SoftTexture> MakeTexture(SoftDirect3D& d3d, int width, int height, const std::vector<uint32_t>& argb)
{
    std::shared_ptr<SoftTexture> texture;
    EXPECT_EQ(d3d.CreateTexture(width, height, TextureFormat::A8R8G8B8(), texture), DD_OK);
    uint8_t* pixels = nullptr;
    int pitch = 0;
    EXPECT_EQ(texture->Lock(&pixels, &pitch), DD_OK);
    for (int y = 0; y < height; ++y)
        std::memcpy(pixels + y * pitch, argb.data() + static_cast<size_t>(y) * width, static_cast<size_t>(width) * 4);
    EXPECT_EQ(texture->Unlock(), DD_OK);
    return texture;
}

// One random scene drawn through a path; the pixels read back as 0xAARRGGBB.
std::vector<uint32_t> DrawScene(uint32_t seed, const Path& path)
{
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    auto real = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    const SurfaceFormat formats[] = {SurfaceFormat::X8R8G8B8(), SurfaceFormat::R5G6B5(), SurfaceFormat::R8G8B8()};
    const SurfaceFormat& format = formats[seed % 5 == 0 ? pick(3) : 0];
    const int width = 40 + pick(60), height = 20 + pick(50);

    SoftVideoCard card;
    std::shared_ptr<SoftDirectDraw> dd;
    EXPECT_EQ(card.DirectDrawCreate(dd), DD_OK);
    SurfaceDesc desc;
    desc.flags = kDescCaps | kDescWidth | kDescHeight | kDescPixelFormat;
    desc.width = width;
    desc.height = height;
    desc.format = format;
    desc.caps = kCapsOffscreenPlain | kCaps3DDevice;
    std::shared_ptr<SoftSurface> target;
    EXPECT_EQ(dd->CreateSurface(desc, target), DD_OK);
    SoftDirect3DSettings settings;
    settings.drawThreads = path.threads;
    std::shared_ptr<SoftDirect3D> d3d;
    std::shared_ptr<SoftDirect3DDevice> device;
    EXPECT_EQ(QueryDirect3D(settings, d3d), DD_OK);
    EXPECT_EQ(d3d->CreateDevice(target, device), DD_OK);
    EXPECT_EQ(device->DrawThreads(), path.threads);
    device->SetFastSpans(path.kernels != nullptr);
    if (path.kernels != nullptr)
        device->SetSpanKernels(*path.kernels);

    std::vector<std::shared_ptr<SoftTexture>> textures;
    for (int i = 0; i < 2; ++i)
    {
        const int texW = 1 + pick(40), texH = 1 + pick(40);
        std::vector<uint32_t> texels(static_cast<size_t>(texW * texH));
        for (uint32_t& t : texels)
        {
            const int kind = pick(4); // clear and opaque texels as sprites have, and any
            t = kind == 0 ? 0 : kind == 1 ? (static_cast<uint32_t>(random()) | 0xFF000000) : static_cast<uint32_t>(random());
        }
        textures.push_back(MakeTexture(*d3d, texW, texH, texels));
    }
    const uint32_t blends[] = {kBlendZero, kBlendOne, kBlendSrcAlpha, kBlendInvSrcAlpha};
    EXPECT_EQ(device->BeginScene(), DD_OK);
    device->Clear(kClearTarget, static_cast<uint32_t>(random()), 1, 0);
    const int primitives = 1 + pick(12);
    for (int p = 0; p < primitives; ++p)
    {
        const int texture = pick(3);
        device->SetTexture(0, texture < 2 ? textures[static_cast<size_t>(texture)] : nullptr);
        const bool common = pick(4) != 0;
        device->SetRenderState(RenderState::AlphaBlendEnable, pick(5) != 0 ? 1 : 0);
        device->SetRenderState(RenderState::SrcBlend, common ? kBlendSrcAlpha : blends[pick(4)]);
        device->SetRenderState(RenderState::DestBlend, common ? (pick(2) == 0 ? kBlendOne : kBlendInvSrcAlpha)
                                                              : blends[pick(4)]);
        device->SetTextureStageState(0, TextureStageState::MagFilter, pick(2) == 0 ? kFilterLinear : kFilterPoint);
        device->SetTextureStageState(0, TextureStageState::AlphaOp, pick(2) == 0 ? kTopModulate : kTopSelectArg1);
        if (pick(8) == 0)
            device->SetViewport({pick(10), pick(10), 10 + pick(width), 10 + pick(height), 0.0f, 1.0f});
        const bool flat = pick(2) == 0;
        const uint32_t colour = pick(2) == 0 ? 0xFFFFFFFF : static_cast<uint32_t>(random());
        const int kind = pick(6);
        std::vector<D3DVertex> vertices;
        PrimitiveType type = PrimitiveType::TriangleList;
        if (kind == 0) // an aligned quad, as sprites are drawn
        {
            const float x = static_cast<float>(pick(width + 10) - 10) - 0.5f, y = static_cast<float>(pick(height + 10) - 10) - 0.5f;
            const float w = static_cast<float>(1 + pick(40)), h = static_cast<float>(1 + pick(40));
            const float u1 = pick(3) == 0 ? 1.5f : 1.0f;
            for (int corner = 0; corner < 4; ++corner)
            {
                D3DVertex v;
                v.x = x + (corner & 1 ? w : 0);
                v.y = y + (corner & 2 ? h : 0);
                v.u = corner & 1 ? u1 : 0.0f;
                v.v = corner & 2 ? 1.0f : 0.0f;
                v.diffuse = colour;
                vertices.push_back(v);
            }
            type = PrimitiveType::TriangleStrip;
        }
        else
        {
            vertices.resize(static_cast<size_t>(kind == 1 ? 2 + pick(4) : 3 + pick(6)));
            for (D3DVertex& v : vertices)
            {
                v.x = real(-20, static_cast<float>(width + 20));
                v.y = real(-20, static_cast<float>(height + 20));
                v.u = real(-0.5f, 1.5f);
                v.v = real(-0.5f, 1.5f);
                v.diffuse = flat ? colour : static_cast<uint32_t>(random());
                if (pick(3) == 0) // on pixel centres and edges
                {
                    v.x = static_cast<float>(pick(width)) - 0.5f * static_cast<float>(pick(2));
                    v.y = static_cast<float>(pick(height)) - 0.5f * static_cast<float>(pick(2));
                }
            }
            const PrimitiveType types[] = {PrimitiveType::LineStrip, PrimitiveType::TriangleList,
                                           PrimitiveType::TriangleStrip, PrimitiveType::TriangleFan};
            type = kind == 1 ? PrimitiveType::LineStrip : types[1 + pick(3)];
        }
        EXPECT_EQ(device->DrawPrimitive(type, kFvfTLVertex, vertices.data(), static_cast<int>(vertices.size()), 0),
                  DD_OK);
        if (pick(10) == 0) // a texture changed in the middle of the scene
        {
            const auto& changed = textures[static_cast<size_t>(pick(2))];
            uint8_t* pixels = nullptr;
            int pitch = 0;
            EXPECT_EQ(changed->Lock(&pixels, &pitch), DD_OK);
            pixels[0] ^= 0xFF;
            pixels[3] = static_cast<uint8_t>(random());
            EXPECT_EQ(changed->Unlock(), DD_OK);
        }
        if (pick(10) == 0) // the target read and written in the middle of the scene
            target->SetPixelAt(pick(width), pick(height), target->PixelAt(pick(width), pick(height)) ^ 0x5A5A5A);
    }
    EXPECT_EQ(device->EndScene(), DD_OK);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(target->ArgbAt(x, y));
    pixels.push_back(static_cast<uint32_t>(width));
    return pixels;
}
} // namespace

TEST(SoftDirect3DPathsTest, EveryPathAndBandCountDrawsTheSamePixels)
{
    const std::vector<Path> paths = Paths();
    ASSERT_GE(paths.size(), 6u);
    for (uint32_t seed = 1; seed <= 300; ++seed)
    {
        const std::vector<uint32_t> reference = DrawScene(seed, paths[0]);
        const auto width = static_cast<size_t>(reference.back());
        for (size_t p = 1; p < paths.size(); ++p)
        {
            const std::vector<uint32_t> pixels = DrawScene(seed, paths[p]);
            ASSERT_EQ(pixels.size(), reference.size());
            for (size_t i = 0; i + 1 < pixels.size(); ++i)
                ASSERT_EQ(pixels[i], reference[i]) << "seed " << seed << ", " << paths[p].name << ", pixel "
                                                   << i % width << "," << i / width;
        }
    }
}

TEST(SoftDirect3DPathsTest, RowKernelsMatchThePlainReferenceOnEveryValue)
{
    // Every source alpha against rows of channel values, blended, modulated and shaded.
    std::vector<uint32_t> sources, dests, diffuse;
    std::mt19937 random(7);
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c : {0u, 1u, 127u, 128u, 254u, 255u, static_cast<uint32_t>(random() & 0xFF)})
        {
            sources.push_back(a << 24 | c << 16 | (255 - c) << 8 | (c * 37 & 0xFF));
            dests.push_back(static_cast<uint32_t>(random()) & 0xFFFFFF);
            diffuse.push_back(static_cast<uint32_t>(random()));
        }
    const auto count = static_cast<int>(sources.size());
    const SpanKernels& plain = PlainSpanKernels();
    for (const char* name : {"sse2", "avx2"})
    {
        const SpanKernels* kernels = SpanKernelsNamed(name);
        if (kernels == nullptr)
            continue;
        for (BlendSpanFn SpanKernels::*blend : {&SpanKernels::replace, &SpanKernels::normal, &SpanKernels::additive})
        {
            std::vector<uint32_t> expected = dests, actual = dests;
            (plain.*blend)(expected.data(), sources.data(), count);
            (kernels->*blend)(actual.data(), sources.data(), count);
            EXPECT_EQ(actual, expected) << name;
        }
        for (const bool modulateAlpha : {false, true})
            for (const uint32_t colour : {0xFFFFFFFFu, 0x80FF4000u, diffuse[5]})
            {
                std::vector<uint32_t> expected(sources.size()), actual(sources.size());
                plain.modulate(sources.data(), colour, modulateAlpha, count, expected.data());
                kernels->modulate(sources.data(), colour, modulateAlpha, count, actual.data());
                EXPECT_EQ(actual, expected) << name << " modulating by " << std::hex << colour;
            }
        // Runs over a texture, sampled both ways, with Gouraud channels that overshoot (clamped),
        // steps that leave the texture, and positions too far out for 32-bit lanes.
        for (int run = 0; run < 200; ++run)
        {
            SpanShade shade;
            shade.texels = run % 7 == 0 ? nullptr : sources.data();
            shade.width = 1 + static_cast<int>(random() % 60);
            shade.height = std::min(count / shade.width, 1 + static_cast<int>(random() % 30));
            shade.linear = run % 2 == 0;
            shade.modulateAlpha = run % 3 == 0;
            shade.gouraud = run % 4 != 0;
            shade.diffuse = diffuse[static_cast<size_t>(run)];
            const int64_t far = run % 10 == 0 ? int64_t{1} << 34 : 0;
            shade.u = static_cast<int64_t>(random() % (70 << 16)) - (5 << 16) + far;
            shade.v = static_cast<int64_t>(random() % (40 << 16)) - (5 << 16);
            shade.du = static_cast<int64_t>(random() % (3 << 16)) - (3 << 15);
            shade.dv = static_cast<int64_t>(random() % (1 << 16)) - (1 << 15);
            for (int i = 0; i < 4; ++i)
            {
                shade.c[i] = static_cast<int64_t>(random() % (300 << 16)) - (20 << 16);
                shade.dc[i] = static_cast<int64_t>(random() % (8 << 16)) - (4 << 16);
            }
            const int64_t first = random() % 5;
            const int n = 1 + static_cast<int>(random() % 100);
            std::vector<uint32_t> expected(static_cast<size_t>(n)), actual(static_cast<size_t>(n));
            plain.shade(shade, first, n, expected.data());
            kernels->shade(shade, first, n, actual.data());
            ASSERT_EQ(actual, expected) << name << " run " << run;
            EXPECT_EQ(expected[0], ShadeSpanPixel(shade, first));
            // Shaded and blended in one pass: the plain shading blended by the plain row, and
            // nothing written past the run.
            const std::pair<SpanBlend, BlendSpanFn> blends[] = {
                {SpanBlend::Replace, plain.replace}, {SpanBlend::Normal, plain.normal}, {SpanBlend::Additive, plain.additive}};
            for (const auto& [blend, plainBlend] : blends)
            {
                std::vector<uint32_t> want(dests.begin() + run, dests.begin() + run + n + 9), got = want;
                plainBlend(want.data(), expected.data(), n);
                kernels->shadeBlend(shade, first, n, got.data(), blend);
                ASSERT_EQ(got, want) << name << " run " << run << " blend " << static_cast<int>(blend);
            }
        }
    }
}
