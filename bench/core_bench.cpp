// Core utilities: Buffer bit and byte writes and reads, and random words.
// Run: build/bench/bench/core_bench --benchmark_format=json
#include "framework/core/Buffer.h"
#include "framework/core/MersenneTwister.h"

#include <benchmark/benchmark.h>

namespace
{
void BufferWriteBits(benchmark::State& state)
{
    for (auto _ : state)
    {
        Quoll::Buffer buffer;
        for (uint32_t i = 0; i < 4096; ++i)
            buffer.WriteBits(i, 5);
        benchmark::DoNotOptimize(buffer.GetDataPtr());
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BufferWriteBits);

void BufferReadBits(benchmark::State& state)
{
    Quoll::Buffer buffer;
    for (uint32_t i = 0; i < 4096; ++i)
        buffer.WriteBits(i, 5);
    for (auto _ : state)
    {
        buffer.SeekReadStart();
        int32_t sum = 0;
        for (int i = 0; i < 4096; ++i)
            sum += buffer.ReadBits(5, false);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BufferReadBits);

void BufferInt32RoundTrip(benchmark::State& state)
{
    for (auto _ : state)
    {
        Quoll::Buffer buffer;
        buffer.WriteBits(1, 3); // unaligned, the slow path
        for (int i = 0; i < 1024; ++i)
            buffer.WriteInt32(i);
        buffer.ReadBits(3, false);
        int32_t sum = 0;
        for (int i = 0; i < 1024; ++i)
            sum += buffer.ReadInt32();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BufferInt32RoundTrip);

void RandomWords(benchmark::State& state)
{
    Quoll::MersenneTwister mt;
    for (auto _ : state)
        benchmark::DoNotOptimize(mt.NextWord());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RandomWords);
} // namespace

BENCHMARK_MAIN();
