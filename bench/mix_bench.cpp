// Time to mix one second of 32 stereo 16-bit voices into 44.1 kHz output, on the fast kernels
// and on the reference ones. The "realtime_fraction" counter is the share of one core that
// mixing takes while playing (target: below 0.01).
#include "framework/platform/audio/Mixer.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
using Quoll::Platform::Mixer;
using Quoll::Platform::MixerBuffer;

constexpr uint32_t kOutputRate = 44100;
constexpr size_t kVoices = 32;
constexpr size_t kDeviceBlock = 1024; // frames per device callback

struct Scene
{
    std::shared_ptr<Mixer> mixer = Mixer::Create(kOutputRate);
    std::vector<std::unique_ptr<MixerBuffer>> voices;

    Scene()
    {
        std::mt19937 random(7);
        const uint32_t rates[] = {22050, 44100, 48000, 11025};
        for (size_t v = 0; v < kVoices; ++v)
        {
            auto buffer = mixer->CreateBuffer({2, rates[v % 4], 16}, 4 * 44100);
            for (auto& b : buffer->Lock())
                b = uint8_t(random());
            buffer->SetVolume(-int32_t(v * 50));
            buffer->SetPan(int32_t(v * 600) - 9000);
            buffer->Play(true);
            voices.push_back(std::move(buffer));
        }
    }
};

template <bool Reference>
void MixOneSecond(benchmark::State& state)
{
    Scene scene;
    std::vector<int16_t> out(2 * kDeviceBlock);
    for (auto _ : state)
    {
        for (size_t done = 0; done < kOutputRate; done += kDeviceBlock)
        {
            const size_t frames = std::min(kDeviceBlock, kOutputRate - done);
            if constexpr (Reference)
                scene.mixer->RenderReference(out.data(), frames);
            else
                scene.mixer->Render(out.data(), frames);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime_fraction"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate |
                                                           benchmark::Counter::kInvert);
    state.counters["voice_frames_per_s"] = benchmark::Counter(
        double(state.iterations()) * kVoices * kOutputRate, benchmark::Counter::kIsRate);
}
} // namespace

BENCHMARK(MixOneSecond<false>)->Name("Mix32StereoVoicesOneSecond/fast")->Unit(benchmark::kMillisecond);
BENCHMARK(MixOneSecond<true>)->Name("Mix32StereoVoicesOneSecond/reference")->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
