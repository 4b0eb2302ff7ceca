// Mixer: gain in hundredths of a decibel, pan law, resampling, looping, a sound ending,
// clamping, 32 voices, the voice limit, the fast kernels against the reference on seeded random voices, and the
// offline device.
// Rerun one case: test_sound --gtest_filter='Mixer.PanLaw'
#include "framework/platform/audio/AudioDevice.h"
#include "framework/platform/audio/Mixer.h"
#include "framework/platform/system/PlatformLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

using Quoll::Platform::AudioFormat;
using Quoll::Platform::Mixer;
using Quoll::Platform::MixerBuffer;

static_assert(!std::is_copy_constructible_v<MixerBuffer> && !std::is_copy_constructible_v<Mixer>);

namespace
{
// A 16-bit buffer whose every sample is `value`.
std::unique_ptr<MixerBuffer> Constant(Mixer& mixer, int16_t value, uint32_t frames,
                                      uint16_t channels = 1, uint32_t rate = 44100)
{
    auto buffer = mixer.CreateBuffer({channels, rate, 16}, frames * channels * 2);
    auto bytes = buffer->Lock();
    for (size_t i = 0; i < bytes.size(); i += 2)
    {
        bytes[i] = uint8_t(value);
        bytes[i + 1] = uint8_t(uint16_t(value) >> 8);
    }
    buffer->Unlock();
    return buffer;
}

std::vector<int16_t> Render(Mixer& mixer, size_t frames)
{
    std::vector<int16_t> out(2 * frames);
    mixer.Render(out.data(), frames);
    return out;
}
} // namespace

TEST(Mixer, GainFollowsHundredthsOfDecibel)
{
    auto mixer = Mixer::Create();
    auto buffer = Constant(*mixer, 10000, 64);
    buffer->Play(true);
    EXPECT_EQ(Render(*mixer, 4)[0], 10000);
    buffer->SetVolume(-600); // -6 dB: about half the amplitude
    EXPECT_NEAR(Render(*mixer, 4)[0], 10000 * std::pow(10.0, -0.3), 1.0);
    buffer->SetVolume(-10000);
    EXPECT_EQ(Render(*mixer, 4)[0], 0);
}

TEST(Mixer, PanLaw)
{
    auto mixer = Mixer::Create();
    auto buffer = Constant(*mixer, 10000, 64);
    buffer->Play(true);
    buffer->SetPan(10000); // right only
    auto out = Render(*mixer, 2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 10000);
    buffer->SetPan(-300); // the right side loses 3 dB, the left keeps its level
    out = Render(*mixer, 2);
    EXPECT_EQ(out[0], 10000);
    EXPECT_NEAR(out[1], 10000 * std::pow(10.0, -0.15), 1.0);
}

TEST(Mixer, ResamplesAtAnotherFrequencyWithLinearInterpolation)
{
    auto mixer = Mixer::Create(44100);
    auto buffer = mixer->CreateBuffer({1, 22050, 16}, 2 * 4);
    const int16_t ramp[4] = {0, 1000, 2000, 3000};
    std::memcpy(buffer->Lock().data(), ramp, sizeof(ramp));
    buffer->Play(false);
    auto out = Render(*mixer, 10);
    const int16_t expected[10] = {0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(out[2 * i], expected[i]) << "frame " << i;
    EXPECT_FALSE(buffer->IsPlaying()); // four frames at half speed end after eight

    buffer->SetFrequency(88200); // twice the output rate: every other frame
    buffer->Play(false);
    out = Render(*mixer, 3);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 2000);
    EXPECT_EQ(out[4], 0);
}

TEST(Mixer, LoopingWrapsAndOneShotEndsSilent)
{
    auto mixer = Mixer::Create();
    auto looped = mixer->CreateBuffer({1, 44100, 16}, 2 * 3);
    const int16_t pattern[3] = {100, 200, 300};
    std::memcpy(looped->Lock().data(), pattern, sizeof(pattern));
    looped->Play(true);
    auto out = Render(*mixer, 1000);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(out[2 * i], pattern[i % 3]) << "frame " << i;
    EXPECT_TRUE(looped->IsPlaying());

    looped->Stop();
    auto once = Constant(*mixer, 500, 10);
    once->Play(false);
    out = Render(*mixer, 20);
    EXPECT_EQ(out[2 * 9], 500);
    EXPECT_EQ(out[2 * 10], 0);
    EXPECT_FALSE(once->IsPlaying());
    EXPECT_EQ(once->GetCurrentPosition(), 0u);
}

TEST(Mixer, SettingsAreClamped)
{
    auto mixer = Mixer::Create();
    auto buffer = Constant(*mixer, 1, 8);
    buffer->SetVolume(500);
    EXPECT_EQ(buffer->GetVolume(), 0);
    buffer->SetVolume(-20000);
    EXPECT_EQ(buffer->GetVolume(), -10000);
    buffer->SetPan(20000);
    EXPECT_EQ(buffer->GetPan(), 10000);
    buffer->SetPan(-20000);
    EXPECT_EQ(buffer->GetPan(), -10000);
    buffer->SetFrequency(50);
    EXPECT_EQ(buffer->GetFrequency(), 100u);
    buffer->SetFrequency(200000);
    EXPECT_EQ(buffer->GetFrequency(), 100000u);
    buffer->SetCurrentPosition(1000); // past the end: the last frame
    EXPECT_EQ(buffer->GetCurrentPosition(), 14u);
    EXPECT_EQ(mixer->CreateBuffer({3, 44100, 16}, 64), nullptr);
    EXPECT_EQ(mixer->CreateBuffer({1, 44100, 24}, 64), nullptr);
    EXPECT_EQ(mixer->CreateBuffer({1, 44100, 16}, 1), nullptr);
}

TEST(Mixer, ThirtyTwoVoicesSumAndSaturate)
{
    auto mixer = Mixer::Create();
    std::vector<std::unique_ptr<MixerBuffer>> voices;
    for (int i = 0; i < 32; ++i)
    {
        voices.push_back(Constant(*mixer, 1000, 16, 2));
        voices.back()->Play(true);
    }
    EXPECT_EQ(mixer->GetPlayingVoiceCount(), 32u);
    auto out = Render(*mixer, 4);
    EXPECT_EQ(out[0], 32000);
    EXPECT_EQ(out[1], 32000);
    voices.push_back(Constant(*mixer, 1000, 16, 2));
    voices.back()->Play(true);
    EXPECT_EQ(Render(*mixer, 1)[0], 32767);
    mixer->SetMasterVolume(32768); // half
    EXPECT_EQ(Render(*mixer, 1)[0], 16500);
}

TEST(Mixer, EightBitSamplesAreUnsigned)
{
    auto mixer = Mixer::Create();
    auto buffer = mixer->CreateBuffer({2, 44100, 8}, 4);
    const uint8_t frames[4] = {0x80, 0xFF, 0x00, 0x81};
    std::memcpy(buffer->Lock().data(), frames, 4);
    buffer->Play(false);
    auto out = Render(*mixer, 2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 127 * 256);
    EXPECT_EQ(out[2], -128 * 256);
    EXPECT_EQ(out[3], 256);
}

TEST(Mixer, DuplicatesShareData)
{
    auto mixer = Mixer::Create(44100, 3);
    auto original = Constant(*mixer, 700, 8);
    auto copy = original->Duplicate();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Data().data(), original->Data().data());
    copy->Play(false);
    EXPECT_EQ(Render(*mixer, 1)[0], 700);
    original.reset(); // the data lives on in the copy
    EXPECT_EQ(copy->Data()[0], uint8_t(700 & 0xFF));
}

// Loaded sounds are data: however many there are, the limit counts only those playing. A
// start past it is refused, and logged once.
TEST(Mixer, TheVoiceLimitCountsPlayingBuffersOnly)
{
    static std::vector<std::string> logged;
    logged.clear();
    const auto previous =
        Quoll::Platform::SetLogSink([](std::string_view, std::string_view text) { logged.emplace_back(text); });
    auto mixer = Mixer::Create(44100, 3);
    std::vector<std::unique_ptr<MixerBuffer>> loaded;
    for (int i = 0; i < 10; ++i)
        loaded.push_back(Constant(*mixer, 100, 8));
    std::vector<std::unique_ptr<MixerBuffer>> copies;
    for (int i = 0; i < 5; ++i)
    {
        copies.push_back(loaded[0]->Duplicate());
        ASSERT_NE(copies.back(), nullptr);
    }
    EXPECT_EQ(mixer->GetBufferCount(), 15u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(copies[i]->Play(true));
    EXPECT_TRUE(copies[0]->Play(false)); // one already playing is no new voice
    EXPECT_FALSE(copies[3]->Play(true));
    EXPECT_FALSE(loaded[5]->Play(true));
    EXPECT_FALSE(copies[3]->IsPlaying());
    EXPECT_EQ(mixer->GetPlayingVoiceCount(), 3u);
    EXPECT_EQ(Render(*mixer, 1)[0], 300);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("3 voices"), std::string::npos) << logged[0];
    copies[1]->Stop();
    EXPECT_TRUE(copies[3]->Play(true));
    // A sound that ends frees its voice.
    copies[0]->Stop();
    copies[0]->Play(false);
    Render(*mixer, 16);
    EXPECT_TRUE(copies[4]->Play(true));
    Quoll::Platform::SetLogSink(previous);
}

// Random layouts, rates, gains, loop flags and lengths; the fast path must match the reference
// sample for sample, and both must leave the voices in the same state.
TEST(Mixer, FastKernelsMatchReferenceOnSeededRandomVoices)
{
    for (uint32_t seed = 1; seed <= 200; ++seed)
    {
        std::mt19937 random(seed);
        auto fast = Mixer::Create();
        auto reference = Mixer::Create();
        std::vector<std::unique_ptr<MixerBuffer>> keep;
        const int voices = 1 + int(random() % 8);
        for (int v = 0; v < voices; ++v)
        {
            const AudioFormat format{uint16_t(1 + random() % 2), uint32_t(100 + random() % 99901),
                                     uint16_t(random() % 2 ? 16 : 8)};
            const uint32_t frames = 1 + random() % 300;
            std::vector<uint8_t> bytes(frames * format.BlockAlign());
            for (auto& b : bytes)
                b = random() % 4 == 0 ? (random() % 2 ? 0xFF : 0x00) : uint8_t(random());
            const int32_t volume = -int32_t(random() % 10001);
            const int32_t pan = int32_t(random() % 20001) - 10000;
            const bool loop = random() % 2;
            for (auto* mixer : {fast.get(), reference.get()})
            {
                auto buffer = mixer->CreateBuffer(format, uint32_t(bytes.size()));
                std::copy(bytes.begin(), bytes.end(), buffer->Lock().begin());
                buffer->SetVolume(volume);
                buffer->SetPan(pan);
                buffer->Play(loop);
                keep.push_back(std::move(buffer));
            }
        }
        const size_t frames = 1 + random() % 2000;
        std::vector<int16_t> a(2 * frames), b(2 * frames);
        fast->Render(a.data(), frames);
        reference->RenderReference(b.data(), frames);
        ASSERT_EQ(a, b) << "seed " << seed;
        for (size_t i = 0; i < keep.size(); i += 2)
            ASSERT_EQ(keep[i]->GetCurrentPosition(), keep[i + 1]->GetCurrentPosition())
                << "seed " << seed;
    }
}

TEST(Mixer, OfflineDeviceRendersOnRequestAndDumpsTheMix)
{
    const auto dump = std::filesystem::path(QUOLL_BINARY_DIR) / "offline_dump_test.wav";
    std::filesystem::remove(dump);
    setenv("QUOLL_AUDIO_DUMP", dump.string().c_str(), 1);
    {
        auto mixer = Mixer::Create();
        auto device = Quoll::Platform::CreateOfflineAudioDevice();
        ASSERT_TRUE(device->Open(mixer));
        EXPECT_FALSE(device->IsRealTime());
        auto buffer = Constant(*mixer, 1234, 100);
        buffer->Play(false);
        std::vector<int16_t> out(2 * 150);
        EXPECT_EQ(device->RenderOffline(out.data(), 150), 150u);
        EXPECT_EQ(out[2 * 99], 1234);
        EXPECT_EQ(out[2 * 100], 0);
    }
    unsetenv("QUOLL_AUDIO_DUMP");
    EXPECT_EQ(std::filesystem::file_size(dump), 44u + 150u * 4u);
}
