// The FMOD player and the sound manager's FMOD decoding against stand-in entry points that
// serve fake samples: the cache of decoded songs, channels by song id, intro and loop joining,
// volumes, and ".mp3" effects.
// Rerun one case: test_sound --gtest_filter='FModMusicInterface.SampleSongIsCachedOnce'
#include "SoundTestFiles.h"

#include "framework/core/Common.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/FModLibrary.h"
#include "framework/sound/FModMusicInterface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace SoundTest;
using Quoll::FModMusicInterface;
using Quoll::FModSample;

namespace
{
struct FakeSample
{
    unsigned mode = 0;
    int frequency = 44100;
    Bytes data;
    unsigned loopStart = 0, loopLength = 0;
};
std::vector<std::string> gCalls;
std::vector<std::unique_ptr<FakeSample>> gSamples;
std::map<std::string, int> gRatesByName; // files the fake can "decode", by rate
bool gPlaying = false;

template <typename... Args>
void Log(const char* name, Args... args)
{
    std::string line = name;
    ((line += " " + std::to_string(args)), ...);
    gCalls.push_back(line);
}
FakeSample* Fake(FModSample* s) { return reinterpret_cast<FakeSample*>(s); }

FModSample* NewSample(unsigned mode, int frequency, Bytes data)
{
    gSamples.push_back(std::make_unique<FakeSample>(FakeSample{mode, frequency, std::move(data)}));
    return reinterpret_cast<FModSample*>(gSamples.back().get());
}

// A cached ".wav" loads when it exists on disk; other names when the test registered them.
FModSample* SampleLoad(int, const char* name, unsigned, int)
{
    const std::string file = name;
    gCalls.push_back("Sample_Load " + file);
    if (file.ends_with(".wav"))
    {
        if (!std::filesystem::exists(file))
            return nullptr;
        const Bytes wav = ReadFile(file); // a plain 44-byte header, then the samples
        const int rate = wav[24] | wav[25] << 8 | wav[26] << 16;
        return NewSample(0, rate, Bytes(wav.begin() + 44, wav.end()));
    }
    auto it = gRatesByName.find(file);
    if (it == gRatesByName.end())
        return nullptr;
    return NewSample(0, it->second, Samples16({1, 2, 3, 4, 5, 6, 7, 8}));
}
FModSample* SampleAlloc(int, int length, unsigned mode, int frequency, int, int, int)
{
    Log("Sample_Alloc", length, mode, frequency);
    return NewSample(mode, frequency, Bytes(size_t(length) * 4, 0));
}
void SampleFree(FModSample*) { gCalls.push_back("Sample_Free"); }
int SampleLock(FModSample* s, int, int, void** a, void** b, unsigned* la, unsigned* lb)
{
    *a = Fake(s)->data.data();
    *b = nullptr;
    *la = unsigned(Fake(s)->data.size());
    *lb = 0;
    return 1;
}
int SampleUnlock(FModSample*, void*, void*, unsigned, unsigned) { return 1; }
int SetLoopPoints(FModSample* s, int a, int b)
{
    Fake(s)->loopStart = unsigned(a);
    Fake(s)->loopLength = unsigned(b);
    return 1;
}
unsigned GetLength(FModSample* s) { return unsigned(Fake(s)->data.size() / 4); }
int GetDefaults(FModSample* s, int* f, int*, int*, int*) { *f = Fake(s)->frequency; return 1; }
unsigned GetMode(FModSample* s) { return Fake(s)->mode; }
int PlaySound(int c, FModSample*) { Log("PlaySound", c); return c; }
int StopSound(int c) { Log("StopSound", c); return 1; }
int SetVolume(int c, int v) { Log("SetVolume", c, v); return 1; }
int SetPaused(int c, int p) { Log("SetPaused", c, p); return 1; }
int SetLoopMode(int c, unsigned m) { Log("SetLoopMode", c, m); return 1; }
int IsPlaying(int c) { Log("IsPlaying", c); return gPlaying; }
int Init(int r, int c, unsigned f) { Log("Init", r, c, f); return 1; }
int Quiet1(int) { return 1; }
int QuietPtr(void*) { return 1; }
void Close() { gCalls.push_back("Close"); }
int ModuleIsPlaying(Quoll::FModModule*) { gCalls.push_back("FMUSIC_IsPlaying"); return 0; }
int ModuleSetVolume(Quoll::FModModule*, int v) { Log("FMUSIC_SetMasterVolume", v); return 1; }
void* Unused() { return nullptr; }

void UseFakes(bool complete = true)
{
    std::map<std::string, void*> table = {
        {"FSOUND_SetBufferSize", (void*)&Quiet1}, {"FSOUND_SetHWND", (void*)&QuietPtr},
        {"FSOUND_Init", (void*)&Init}, {"FSOUND_Close", (void*)&Close},
        {"FSOUND_Sample_Load", (void*)&SampleLoad}, {"FSOUND_Sample_Alloc", (void*)&SampleAlloc},
        {"FSOUND_Sample_Free", (void*)&SampleFree}, {"FSOUND_Sample_Lock", (void*)&SampleLock},
        {"FSOUND_Sample_Unlock", (void*)&SampleUnlock},
        {"FSOUND_Sample_SetLoopPoints", (void*)&SetLoopPoints},
        {"FSOUND_Sample_GetLength", (void*)&GetLength},
        {"FSOUND_Sample_GetDefaults", (void*)&GetDefaults},
        {"FSOUND_Sample_GetMode", (void*)&GetMode}, {"FSOUND_PlaySound", (void*)&PlaySound},
        {"FSOUND_StopSound", (void*)&StopSound}, {"FSOUND_SetVolume", (void*)&SetVolume},
        {"FSOUND_SetPaused", (void*)&SetPaused}, {"FSOUND_SetLoopMode", (void*)&SetLoopMode},
        {"FSOUND_IsPlaying", (void*)&IsPlaying}, {"FSOUND_Stream_OpenFile", (void*)&Unused},
        {"FSOUND_Stream_Close", (void*)&Unused}, {"FSOUND_Stream_Play", (void*)&Unused},
        {"FMUSIC_LoadSong", (void*)&Unused}, {"FMUSIC_PlaySong", (void*)&Unused},
        {"FMUSIC_StopSong", (void*)&Unused}, {"FMUSIC_SetLooping", (void*)&Unused},
        {"FMUSIC_SetOrder", (void*)&Unused}, {"FMUSIC_SetPaused", (void*)&Unused},
        {"FMUSIC_SetMasterVolume", (void*)&ModuleSetVolume},
        {"FMUSIC_IsPlaying", (void*)&ModuleIsPlaying}};
    if (!complete)
        table.erase("FMUSIC_SetOrder");
    Quoll::SetFModResolverForTesting([table](const char* name) -> void* {
        auto it = table.find(name);
        return it == table.end() ? nullptr : it->second;
    });
    gCalls.clear();
    gRatesByName.clear();
}

bool Called(const std::string& line)
{
    return std::find(gCalls.begin(), gCalls.end(), line) != gCalls.end();
}

class FModMusicInterfaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = ScratchFolder();
        Quoll::SetAppDataFolder((folder / "appdata").string());
        UseFakes();
    }
    void TearDown() override { Quoll::SetFModResolverForTesting(nullptr); }
    std::filesystem::path folder;
};
} // namespace

TEST_F(FModMusicInterfaceTest, SampleSongIsCachedOnceAndPlaysOnItsChannel)
{
    FModMusicInterface music;
    ASSERT_TRUE(music.IsAvailable());
    gRatesByName["music/theme.ogg"] = 44100;
    ASSERT_TRUE(music.LoadSampleMusic(3, "music/theme", true));
    const auto cache = folder / "appdata" / "cached" / "theme.wav";
    ASSERT_TRUE(std::filesystem::exists(cache));
    const Bytes written = ReadFile(cache);
    EXPECT_EQ(written.size(), 44u + 16u);
    EXPECT_EQ(written[40], 16); // data size: the first locked region

    music.PlayMusic(3);
    EXPECT_TRUE(Called("PlaySound 3"));
    EXPECT_TRUE(Called("SetLoopMode 3 2"));
    EXPECT_TRUE(Called("SetVolume 3 100"));
    music.SetVolume(0.5);
    EXPECT_TRUE(Called("SetVolume 3 50"));

    gCalls.clear();
    gRatesByName.clear(); // the source changed or went: the cache still serves
    FModMusicInterface again;
    ASSERT_TRUE(again.LoadSampleMusic(4, "music/theme", false));
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Sample_Load " + cache.string()}));
}

TEST_F(FModMusicInterfaceTest, IsPlayingOfASampleAsksItsChannel)
{
    FModMusicInterface music;
    gRatesByName["a.ogg"] = 44100;
    ASSERT_TRUE(music.LoadSampleMusic(7, "a", false));
    gPlaying = true;
    EXPECT_TRUE(music.IsPlaying(7));
    EXPECT_TRUE(Called("IsPlaying 7"));
    gPlaying = false;
    EXPECT_FALSE(music.IsPlaying(7));
}

TEST_F(FModMusicInterfaceTest, IntroAndLoopMustAgreeAndJoin)
{
    FModMusicInterface music;
    gRatesByName["intro.ogg"] = 22050;
    gRatesByName["loop.ogg"] = 44100;
    EXPECT_FALSE(music.LoadIntroLoopSample(1, "intro", "loop", true));
    gRatesByName["loop2.ogg"] = 22050;
    ASSERT_TRUE(music.LoadIntroLoopSample(2, "intro", "loop2", true));
    const FakeSample* joined = Fake(music.FindSong(2)->sample);
    EXPECT_EQ(joined->loopStart, 4u);
    EXPECT_EQ(joined->loopLength, 4u);
    EXPECT_EQ(joined->data, [] {
        Bytes b = Samples16({1, 2, 3, 4, 5, 6, 7, 8});
        Bytes twice = b;
        twice.insert(twice.end(), b.begin(), b.end());
        return twice;
    }());
}

TEST_F(FModMusicInterfaceTest, FadeOutStopsTheChannel)
{
    FModMusicInterface music;
    gRatesByName["a.ogg"] = 44100;
    ASSERT_TRUE(music.LoadSampleMusic(5, "a", true));
    music.PlayMusic(5);
    music.FadeOut(5, true, 0.6);
    music.Update();
    music.Update();
    EXPECT_TRUE(Called("StopSound 5"));
    EXPECT_EQ(music.FindSong(5)->volume, 0.0);
}

TEST_F(FModMusicInterfaceTest, SoundManagerDecodesMp3ThroughFMod)
{
    setenv("QUOLL_AUDIO", "headless", 1);
    int window = 0;
    Quoll::DSoundManager manager(&window, true);
    ASSERT_TRUE(manager.UsesFMod());
    EXPECT_TRUE(Called("Init 44100 64 2"));
    gRatesByName["sfx/boom.mp3"] = 32000;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    ASSERT_TRUE(manager.LoadSound(9, "sfx/boom"));
    EXPECT_EQ(manager.GetSoundBuffer(9)->GetFormat().samplesPerSecond, 32000u);
    EXPECT_EQ(manager.GetSampleSize(9), 16u);
    EXPECT_TRUE(std::filesystem::exists(folder / "appdata" / "cached" / "sfx" / "boom.wav"));
    std::filesystem::current_path(previous);
}

TEST_F(FModMusicInterfaceTest, MissingEntryPointLeavesSoundWithoutFMod)
{
    setenv("QUOLL_AUDIO", "headless", 1);
    UseFakes(false);
    EXPECT_FALSE(FModMusicInterface().IsAvailable());
    int window = 0;
    Quoll::DSoundManager manager(&window, true);
    EXPECT_TRUE(manager.Initialized());
    EXPECT_FALSE(manager.UsesFMod());
}
