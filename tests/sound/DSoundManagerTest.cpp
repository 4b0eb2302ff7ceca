// Sound manager: id choice, bounds, the volume curve, pitch, channels and their sweep, silent
// instances, the order of loaders and the cache of decoded sounds, all on the offline mixer.
// Rerun one case: test_sound --gtest_filter='DSoundManager.CacheIsWrittenOnceAndRewrittenWhenStale'
#include "SoundTestFiles.h"

#include "framework/core/Common.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/SoundManagerLoader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <type_traits>

using namespace SoundTest;
using Quoll::DSoundInstance;
using Quoll::DSoundManager;

static_assert(!std::is_copy_constructible_v<DSoundManager>);

namespace
{
int gWindow;
uint32_t gTicks = 0;
uint32_t FakeTicks() { return gTicks; }

class DSoundManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("QUOLL_AUDIO", "headless", 1);
        folder = ScratchFolder();
        Quoll::SetAppDataFolder((folder / "appdata").string());
        manager = std::make_unique<DSoundManager>(&gWindow, false);
        manager->SetTickSource(&FakeTicks);
        ASSERT_TRUE(manager->Initialized());
    }
    std::string Sound(const std::string& name, const Bytes& bytes, const char* extension = ".wav")
    {
        WriteFile(folder / (name + extension), bytes);
        return (folder / name).string();
    }
    void RenderFrames(size_t frames)
    {
        std::vector<int16_t> out(2 * frames);
        manager->GetOutput()->RenderOffline(out.data(), frames);
    }
    std::filesystem::path folder;
    std::unique_ptr<DSoundManager> manager;
};
} // namespace

TEST_F(DSoundManagerTest, LoadSoundFileKeepsIdsByName)
{
    const std::string a = Sound("a", RampWav(100));
    EXPECT_EQ(manager->LoadSoundFile(a), 255);
    EXPECT_EQ(manager->LoadSoundFile(a), 255);
    EXPECT_EQ(manager->LoadSoundFile(Sound("b", RampWav(10))), 254);
    const std::string missing = (folder / "missing").string();
    EXPECT_EQ(manager->LoadSoundFile(missing), -1);
    EXPECT_EQ(manager->LoadSoundFile(missing), 253); // recorded though it failed
    manager->ReleaseSounds();
    EXPECT_EQ(manager->LoadSoundFile(a), 255); // names outlive the buffers
    EXPECT_EQ(manager->GetNumSounds(), 0);
    manager->ReleaseSound(255);
    EXPECT_EQ(manager->LoadSoundFile(a), 255); // loaded afresh into the highest free id
    EXPECT_EQ(manager->GetNumSounds(), 1);
    EXPECT_EQ(manager->GetFreeSoundId(), 0);
    ASSERT_TRUE(manager->LoadSound(0, a));
    EXPECT_EQ(manager->GetFreeSoundId(), 1);
}

TEST_F(DSoundManagerTest, IdsOutOfRange)
{
    EXPECT_FALSE(manager->SetBaseVolume(256, 0.5));
    EXPECT_FALSE(manager->SetBasePan(256, 0));
    EXPECT_FALSE(manager->LoadSound(256, Sound("a", RampWav(4))));
    EXPECT_EQ(manager->GetSoundInstance(256), nullptr);
    EXPECT_EQ(manager->GetSoundInstance(3), nullptr); // nothing loaded there
}

TEST(DSoundInstanceCurve, VolumeToAttenuation)
{
    EXPECT_EQ(DSoundInstance::VolumeToAttenuation(1.0), 0);
    EXPECT_EQ(DSoundInstance::VolumeToAttenuation(0.5), -605);
    EXPECT_EQ(DSoundInstance::VolumeToAttenuation(0.25), -1138);
    EXPECT_EQ(DSoundInstance::VolumeToAttenuation(0.04), -10000);
    EXPECT_EQ(DSoundInstance::VolumeToAttenuation(0.0), -10000);
    EXPECT_EQ(DSoundInstance::VolumeToAttenuation(-1.0), -10000);
    EXPECT_EQ(DSoundInstance::VolumeToAttenuation(3.0), 0);
}

TEST_F(DSoundManagerTest, VolumesMultiplyIntoTheBuffer)
{
    const int id = manager->LoadSoundFile(Sound("a", RampWav(100)));
    manager->SetBaseVolume(unsigned(id), 0.5);
    auto* instance = static_cast<DSoundInstance*>(manager->GetSoundInstance(unsigned(id)));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->GetBuffer()->GetVolume(), -605);
    instance->SetVolume(0.5);
    manager->SetVolume(2.0); // 0.5 x 0.5 x 2: clamped products stay in range
    EXPECT_EQ(instance->GetBuffer()->GetVolume(), -605);
    manager->SetVolume(0.0);
    EXPECT_EQ(instance->GetBuffer()->GetVolume(), -10000);
    EXPECT_DOUBLE_EQ(instance->GetVolume(), 0.5);
    manager->SetBasePan(unsigned(id), 9000);
    auto* panned = static_cast<DSoundInstance*>(manager->GetSoundInstance(unsigned(id)));
    panned->SetPan(5000);
    EXPECT_EQ(panned->GetBuffer()->GetPan(), 10000);
}

TEST_F(DSoundManagerTest, PitchStartsFromTheSoundsOwnRate)
{
    const int id = manager->LoadSoundFile(Sound("a", RampWav(100, 22050)));
    auto* instance = static_cast<DSoundInstance*>(manager->GetSoundInstance(unsigned(id)));
    instance->AdjustPitch(12);
    EXPECT_EQ(instance->GetBuffer()->GetFrequency(), 44100u);
    instance->AdjustPitch(-60);
    EXPECT_EQ(instance->GetBuffer()->GetFrequency(), 689u);
    instance->AdjustPitch(-96);
    EXPECT_EQ(instance->GetBuffer()->GetFrequency(), 100u);
}

TEST_F(DSoundManagerTest, ChannelsRunOutAndSweepReleasesFinishedInstances)
{
    const unsigned id = unsigned(manager->LoadSoundFile(Sound("a", RampWav(50, 44100))));
    std::vector<Quoll::SoundInstance*> held;
    for (unsigned i = 0; i < DSoundManager::kMaxChannels; ++i)
        held.push_back(manager->GetSoundInstance(id));
    EXPECT_EQ(manager->GetSoundInstance(id), nullptr); // never played: never released

    for (int i = 0; i < 32; ++i)
        held[i]->Release();
    auto* once = manager->GetSoundInstance(id);       // takes slot 0
    auto* looping = manager->GetSoundInstance(id);    // slot 1
    auto* kept = manager->GetSoundInstance(id);       // slot 2
    once->Play(false, true);
    looping->Play(true, true);
    kept->Play(false, false);
    RenderFrames(5000);
    EXPECT_FALSE(looping->IsReleased());
    EXPECT_TRUE(looping->IsPlaying());

    manager->StopAllSounds();
    gTicks += 5000;
    manager->GetSoundInstance(id); // sweeps: the two auto-release ones and the 29 released go
    EXPECT_EQ(manager->CountChannels(), 2);
    EXPECT_FALSE(kept->IsReleased());
}

// Every voice playing: a further start is refused and its instance goes silently.
TEST_F(DSoundManagerTest, RefusedStartLeavesASilentInstance)
{
    const unsigned id = unsigned(manager->LoadSoundFile(Sound("a", RampWav(50))));
    std::vector<std::unique_ptr<Quoll::Platform::MixerBuffer>> hog;
    auto& mixer = manager->GetOutput()->GetMixer();
    for (size_t i = 0; i < Quoll::Platform::Mixer::kDefaultVoiceLimit; ++i)
    {
        hog.push_back(mixer.CreateBuffer({1, 8000, 8}, 4));
        ASSERT_TRUE(hog.back()->Play(true));
    }
    auto* instance = manager->GetSoundInstance(id);
    ASSERT_NE(instance, nullptr);
    EXPECT_FALSE(instance->Play(false, true));
    EXPECT_FALSE(instance->IsPlaying());
    EXPECT_TRUE(instance->IsReleased());
}

TEST(DSoundManagerSilent, AcceptsEverythingAndPlaysNothing)
{
    DSoundManager manager(nullptr, false);
    EXPECT_FALSE(manager.Initialized());
    EXPECT_EQ(manager.LoadSoundFile("anything"), 255);
    EXPECT_EQ(manager.LoadSoundFile("other"), 255);
    auto* instance = manager.GetSoundInstance(12);
    ASSERT_NE(instance, nullptr);
    EXPECT_FALSE(instance->Play(false, false));
    instance->AdjustPitch(3);
    instance->SetPan(100);
    EXPECT_FALSE(instance->IsPlaying());
    manager.SetMasterVolume(0.25);
    EXPECT_NEAR(manager.GetMasterVolume(), 0.25, 1e-4);
}

TEST_F(DSoundManagerTest, CacheNamesOnlyForRelativeNames)
{
    const std::string base = Quoll::GetAppDataFolder();
    EXPECT_EQ(DSoundManager::CacheNameOf("sounds\\click"), base + "cached/sounds/click.wav");
    EXPECT_EQ(DSoundManager::CacheNameOf("c:\\click"), "");
    EXPECT_EQ(DSoundManager::CacheNameOf("\\sounds\\click"), "");
    EXPECT_EQ(DSoundManager::CacheNameOf("/sounds/click"), "");
    EXPECT_EQ(DSoundManager::CacheNameOf("ab"), "");
}

TEST_F(DSoundManagerTest, CacheIsWrittenOnceAndRewrittenWhenStale)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::filesystem::create_directories(folder / "sounds");
    std::filesystem::copy_file(OggTone(), folder / "sounds" / "click.ogg");
    ASSERT_TRUE(manager->LoadSound(7, "sounds\\click"));
    EXPECT_EQ(manager->GetSampleSize(7), 4000u);
    const auto cache = folder / "appdata" / "cached" / "sounds" / "click.wav";
    ASSERT_TRUE(std::filesystem::exists(cache));

    // The cached copy serves while the source keeps its time, whatever its bytes.
    const auto time = std::filesystem::last_write_time(folder / "sounds" / "click.ogg");
    WriteFile(folder / "sounds" / "click.ogg", Bytes{1, 2, 3});
    std::filesystem::last_write_time(folder / "sounds" / "click.ogg", time);
    ASSERT_TRUE(manager->LoadSound(7, "sounds\\click"));
    EXPECT_EQ(manager->GetSampleSize(7), 4000u);

    // A newer source makes the copy stale: decoded again, and the cache rewritten.
    std::filesystem::copy_file(OggTone(), folder / "sounds" / "click.ogg",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::last_write_time(folder / "sounds" / "click.ogg",
                                     time + std::chrono::seconds(10));
    const Bytes before = ReadFile(cache);
    ASSERT_TRUE(manager->LoadSound(7, "sounds\\click"));
    EXPECT_NE(ReadFile(cache), before);
    std::filesystem::current_path(previous);
}

TEST_F(DSoundManagerTest, LoadersRunInOrderAndAbsoluteNamesAreNotCached)
{
    const std::string au = Sound("beep", Au(1, 8000, 1, Bytes(64, 0x90)), ".au");
    ASSERT_TRUE(manager->LoadSound(1, au)); // absolute: never looked up in, or written to, the cache
    EXPECT_FALSE(std::filesystem::exists(folder / "appdata" / "cached"));
    EXPECT_EQ(manager->GetSoundBuffer(1)->GetFormat().bitsPerSample, 16);

    Sound("beep", RampWav(3, 11025)); // a WAV of the same name wins over the AU
    ASSERT_TRUE(manager->LoadSound(1, au));
    EXPECT_EQ(manager->GetSoundBuffer(1)->GetFormat().samplesPerSecond, 11025u);

    const size_t voices = manager->GetOutput()->GetMixer().GetBufferCount();
    WriteFile(folder / "broken.ogg", Bytes(100, 0x4F));
    EXPECT_FALSE(manager->LoadSound(2, (folder / "broken").string()));
    EXPECT_EQ(manager->GetSoundBuffer(2), nullptr);
    EXPECT_EQ(manager->GetOutput()->GetMixer().GetBufferCount(), voices);
}

TEST_F(DSoundManagerTest, PlayedSoundReachesTheMix)
{
    const unsigned id = unsigned(manager->LoadSoundFile(Sound("a", RampWav(400, 44100))));
    auto* instance = manager->GetSoundInstance(id);
    instance->SetPan(-10000);
    ASSERT_TRUE(instance->Play(false, true));
    std::vector<int16_t> out(2 * 300);
    manager->GetOutput()->RenderOffline(out.data(), 300);
    EXPECT_EQ(out[2 * 100], 3700);
    EXPECT_EQ(out[2 * 100 + 1], 0);
    manager->SetMasterVolume(0.5);
    EXPECT_NEAR(manager->GetMasterVolume(), 0.5, 1e-4);
}

// Loaded sounds are data, not voices: with as many loaded as there are voices, all still play.
TEST_F(DSoundManagerTest, LoadedSoundsDoNotTakeVoices)
{
    const std::string name = Sound("a", RampWav(400, 44100));
    for (unsigned id = 0; id < Quoll::Platform::Mixer::kDefaultVoiceLimit && id < 255; ++id)
        ASSERT_TRUE(manager->LoadSound(id, name));
    for (unsigned i = 0; i < 32; ++i)
    {
        auto* instance = manager->GetSoundInstance(i);
        ASSERT_NE(instance, nullptr);
        EXPECT_TRUE(instance->Play(true, false)) << i;
    }
    EXPECT_EQ(manager->GetOutput()->GetMixer().GetPlayingVoiceCount(), 32u);
}

TEST_F(DSoundManagerTest, ResourceLoaderForwardsToTheManager)
{
    Quoll::SoundManagerLoader loader(*manager);
    const int id = loader.GetFreeSoundId();
    EXPECT_EQ(id, 0);
    ASSERT_TRUE(loader.LoadSound(unsigned(id), Sound("a", RampWav(10))));
    EXPECT_TRUE(loader.SetBaseVolume(unsigned(id), 0.5));
    EXPECT_EQ(loader.GetFreeSoundId(), 1);
    loader.ReleaseSound(unsigned(id));
    EXPECT_EQ(loader.GetFreeSoundId(), 0);
}

// The loading thread replaces sounds while the main thread plays them and the device mixes;
// the sanitizer builds judge it (run it under -fsanitize=thread too).
TEST_F(DSoundManagerTest, LoadingWhilePlayingAndMixing)
{
    std::vector<std::string> names;
    for (int i = 0; i < 8; ++i)
        names.push_back(Sound("s" + std::to_string(i), RampWav(200 + 50 * i, 44100)));
    for (unsigned i = 0; i < names.size(); ++i)
        ASSERT_TRUE(manager->LoadSound(i, names[i]));
    ASSERT_TRUE(manager->GetSoundInstance(0)->Play(false, true));
    std::atomic<bool> done = false;
    std::thread loader([&] {
        for (int round = 0; round < 20; ++round)
            for (unsigned i = 0; i < names.size(); ++i)
                manager->LoadSound(i, names[i]);
    });
    std::thread device([&] {
        while (!done)
            RenderFrames(256);
    });
    for (int i = 0; i < 2000; ++i)
    {
        gTicks += 7;
        if (auto* instance = manager->GetSoundInstance(unsigned(i % 8)))
            instance->Play(false, true);
    }
    loader.join();
    done = true;
    device.join();
    EXPECT_EQ(manager->GetNumSounds(), 8);
}
