// The 3D device's row kernels on rows of 1,024 pixels, one row per kernel and per set the
// machine runs (scalar, sse2 with 4 pixels a step, avx2 with 8): bilinear and point shading of a
// magnified 256 x 256 texture with a flat tint, Gouraud colours alone, the normal and the
// additive blend, and texel-times-colour. Counter: Mpix/s.
// Run: span_bench --benchmark_filter='/avx2' --benchmark_format=json
#include "framework/platform/video/SpanKernels.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace Quoll::Platform;

namespace
{
constexpr int kRow = 1024;

const std::vector<uint32_t>& Texels()
{
    static const std::vector<uint32_t> texels = [] {
        std::vector<uint32_t> out(256 * 256);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<uint32_t>(i * 2654435761u);
        return out;
    }();
    return texels;
}

SpanShade Shade(bool linear, bool textured)
{
    SpanShade s;
    if (textured)
    {
        s.texels = Texels().data();
        s.width = s.height = 256;
    }
    s.linear = linear;
    s.modulateAlpha = true;
    s.gouraud = !textured;
    s.diffuse = 0xC0FFE0A0;
    s.u = 3 << 16;
    s.du = 1 << 14; // a texel every four pixels, as a mesh over the screen has
    s.v = 40 << 16;
    s.dv = 1 << 12;
    for (int i = 0; i < 4; ++i)
    {
        s.c[i] = (20 + 50 * i) << 16;
        s.dc[i] = 9000 * (i + 1);
    }
    return s;
}

void Rate(benchmark::State& state)
{
    state.counters["Mpix/s"] = benchmark::Counter(kRow * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void RunShade(benchmark::State& state, const SpanKernels* kernels, SpanShade shade)
{
    std::vector<uint32_t> out(kRow);
    for (auto _ : state)
    {
        kernels->shade(shade, 0, kRow, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    Rate(state);
}

void RunBlend(benchmark::State& state, BlendSpanFn blend)
{
    std::vector<uint32_t> src(kRow), dest(kRow, 0x203040);
    for (int i = 0; i < kRow; ++i)
        src[static_cast<size_t>(i)] = Texels()[static_cast<size_t>(i)];
    for (auto _ : state)
    {
        blend(dest.data(), src.data(), kRow);
        benchmark::DoNotOptimize(dest.data());
    }
    Rate(state);
}

void RunModulate(benchmark::State& state, const SpanKernels* kernels)
{
    std::vector<uint32_t> out(kRow);
    for (auto _ : state)
    {
        kernels->modulate(Texels().data(), 0xC0FFE0A0, true, kRow, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    Rate(state);
}
} // namespace

int main(int argc, char** argv)
{
    for (const char* name : {"scalar", "sse2", "avx2"})
    {
        const SpanKernels* k = SpanKernelsNamed(name);
        if (k == nullptr)
            continue;
        const std::string suffix = std::string("/") + name;
        benchmark::RegisterBenchmark(("BM_ShadeBilinear" + suffix).c_str(),
                                     [k](benchmark::State& s) { RunShade(s, k, Shade(true, true)); });
        benchmark::RegisterBenchmark(("BM_ShadePoint" + suffix).c_str(),
                                     [k](benchmark::State& s) { RunShade(s, k, Shade(false, true)); });
        benchmark::RegisterBenchmark(("BM_ShadeGouraud" + suffix).c_str(),
                                     [k](benchmark::State& s) { RunShade(s, k, Shade(false, false)); });
        benchmark::RegisterBenchmark(("BM_BlendNormal" + suffix).c_str(),
                                     [k](benchmark::State& s) { RunBlend(s, k->normal); });
        benchmark::RegisterBenchmark(("BM_BlendAdditive" + suffix).c_str(),
                                     [k](benchmark::State& s) { RunBlend(s, k->additive); });
        benchmark::RegisterBenchmark(("BM_Modulate" + suffix).c_str(), [k](benchmark::State& s) { RunModulate(s, k); });
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
