// The SDL2 output: with the dummy driver the device pulls the mix on its own thread; with the
// disk driver a playing song reaches the written output and StopAllMusic silences it.
// Rerun one case: test_sound --gtest_filter='SdlAudioDevice.DiskOutputCarriesMusicUntilStopped'
#include "SoundTestFiles.h"

#include "framework/platform/audio/AudioDevice.h"
#include "framework/platform/audio/Mixer.h"
#include "framework/sound/AudiereMusicInterface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

using namespace SoundTest;

namespace
{
// Waits for a condition that the audio thread brings about; false after `seconds`.
template <typename Condition>
bool WaitFor(Condition condition, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

int PeakOf(const Bytes& bytes, size_t from)
{
    int peak = 0;
    for (size_t i = from & ~size_t(1); i + 1 < bytes.size(); i += 2)
        peak = std::max(peak, std::abs(int(int16_t(bytes[i] | bytes[i + 1] << 8))));
    return peak;
}

Bytes SineWav(uint32_t frames)
{
    Bytes data;
    for (uint32_t i = 0; i < frames; ++i)
    {
        const auto s = int16_t(12000 * std::sin(2 * 3.14159265 * 440 * i / 44100.0));
        PutU16(data, uint16_t(s));
        PutU16(data, uint16_t(s));
    }
    return Wav({FormatChunk(2, 44100, 16), Chunk("data", data)});
}
} // namespace

TEST(SdlAudioDevice, DummyDriverPullsTheMix)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto mixer = Quoll::Platform::Mixer::Create();
    auto device = Quoll::Platform::CreateSdlAudioDevice();
    ASSERT_TRUE(device->Open(mixer));
    EXPECT_TRUE(device->IsRealTime());
    auto buffer = mixer->CreateBuffer({1, 22050, 16}, 2000);
    buffer->Play(false);
    EXPECT_TRUE(WaitFor([&] { return !buffer->IsPlaying(); }, 10.0));
}

TEST(SdlAudioDevice, DiskOutputCarriesMusicUntilStopped)
{
    const auto folder = ScratchFolder();
    const auto output = folder / "mix.raw";
    setenv("QUOLL_AUDIO", "sdl", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.string().c_str(), 1);
    Quoll::AudiereMusicInterface music;
    auto shared = Quoll::Platform::MixerOutput::Acquire();
    if (!shared || std::string(shared->GetBackendName()) != "sdl")
        GTEST_SKIP() << "the process already opened its audio output on another back end";
    WriteFile(folder / "song.wav", SineWav(44100));
    ASSERT_TRUE(music.LoadMusic(1, (folder / "song.wav").string()));
    music.PlayMusic(1);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(output) &&
                                      PeakOf(ReadFile(output), 0) > 8000; },
                        10.0));

    music.StopAllMusic();
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // let queued buffers drain
    const size_t stoppedAt = std::filesystem::file_size(output);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::file_size(output) > stoppedAt + 4096; },
                        10.0));
    EXPECT_EQ(PeakOf(ReadFile(output), stoppedAt), 0);
}
