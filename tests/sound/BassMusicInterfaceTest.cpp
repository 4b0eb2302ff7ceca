// The BASS player against a table of stand-in entry points: both library generations, the
// calls behind loading, playing, fading and volumes, and the fallback without the library.
// Rerun one case: test_sound --gtest_filter='BassMusicInterface.VolumeByGeneration'
#include "SoundTestFiles.h"

#include "framework/sound/AudiereMusicInterface.h"
#include "framework/sound/BassLibrary.h"
#include "framework/sound/BassMusicInterface.h"
#include "framework/sound/CreateMusicInterface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace SoundTest;
using Quoll::BassMusicInterface;

namespace
{
std::vector<std::string> gCalls;
uint32_t gNextHandle = 100;
uint32_t gActive = 0;

template <typename... Args>
void Log(const char* name, Args... args)
{
    std::string line = name;
    ((line += " " + std::to_string(args)), ...);
    gCalls.push_back(line);
}

int Init1(int d, uint32_t f, uint32_t fl, void*) { Log("Init", d, f, fl); return 1; }
int Init2(int d, uint32_t f, uint32_t fl, void*, void*) { Log("Init2", d, f, fl); return 1; }
int Free() { Log("Free"); return 1; }
int Stop() { Log("Stop"); return 1; }
int Start() { Log("Start"); return 1; }
uint32_t SetConfig(uint32_t o, uint32_t v) { Log("SetConfig", o, v); return 1; }
int SetGlobalVolumes(int a, int b, int c) { Log("SetGlobalVolumes", a, b, c); return 1; }
int ChannelStop(uint32_t c) { Log("ChannelStop", c); return 1; }
int ChannelPlay(uint32_t c, int r) { Log("ChannelPlay", c, r); return 1; }
int ChannelPause(uint32_t c) { Log("ChannelPause", c); return 1; }
int SetAttributes(uint32_t c, int f, int v, int p) { Log("SetAttributes", c, f, v, p); return 1; }
int SetPosition(uint32_t c, uint64_t p) { Log("SetPosition", c, p); return 1; }
uint32_t IsActive(uint32_t) { return gActive; }
int SetFlags(uint32_t c, uint32_t f) { Log("SetFlags", c, f); return 1; }
uint32_t MusicLoad1(int, const void*, uint32_t, uint32_t n, uint32_t f) { Log("MusicLoad", n, f); return ++gNextHandle; }
uint32_t MusicLoad2(int, const void*, uint64_t, uint32_t n, uint32_t f, uint32_t) { Log("MusicLoad2", n, f); return ++gNextHandle; }
int MusicFree(uint32_t h) { Log("MusicFree", h); return 1; }
int MusicSetAttribute(uint32_t h, uint32_t a, uint32_t v) { Log("MusicSetAttribute", h, a, v); return 1; }
uint32_t StreamCreateFile(int, const void*, uint64_t, uint64_t n, uint32_t) { Log("StreamCreateFile", n); return ++gNextHandle; }
int StreamFree(uint32_t h) { Log("StreamFree", h); return 1; }
void Unused() {}

std::map<std::string, void*> Table(bool version2)
{
    std::map<std::string, void*> table = {
        {"BASS_Free", (void*)&Free}, {"BASS_Stop", (void*)&Stop}, {"BASS_Start", (void*)&Start},
        {"BASS_SetGlobalVolumes", (void*)&SetGlobalVolumes},
        {"BASS_ChannelStop", (void*)&ChannelStop}, {"BASS_ChannelPlay", (void*)&ChannelPlay},
        {"BASS_ChannelPause", (void*)&ChannelPause},
        {"BASS_ChannelSetAttributes", (void*)&SetAttributes},
        {"BASS_ChannelSetPosition", (void*)&SetPosition},
        {"BASS_ChannelIsActive", (void*)&IsActive}, {"BASS_ChannelSetFlags", (void*)&SetFlags},
        {"BASS_MusicFree", (void*)&MusicFree},
        {"BASS_MusicSetAttribute", (void*)&MusicSetAttribute},
        {"BASS_StreamCreateFile", (void*)&StreamCreateFile},
        {"BASS_StreamFree", (void*)&StreamFree}};
    for (const char* name :
         {"BASS_GetVolume", "BASS_GetInfo", "BASS_GetVersion", "BASS_ChannelGetAttributes",
          "BASS_ChannelGetPosition", "BASS_ChannelSlideAttributes", "BASS_ChannelIsSliding",
          "BASS_ChannelGetLevel", "BASS_ChannelSetSync", "BASS_ChannelRemoveSync",
          "BASS_ChannelGetData", "BASS_FXSetParameters", "BASS_FXGetParameters",
          "BASS_ChannelSetFX", "BASS_ChannelRemoveFX", "BASS_MusicGetAttribute",
          "BASS_StreamCreate", "BASS_MusicGetOrders", "BASS_MusicGetOrderPosition",
          "BASS_SampleLoad", "BASS_SampleFree", "BASS_SampleSetInfo", "BASS_SampleGetInfo",
          "BASS_SampleGetChannel", "BASS_SampleStop", "BASS_ErrorGetCode"})
        table[name] = (void*)&Unused;
    if (version2)
    {
        table["BASS_SetConfig"] = (void*)&SetConfig;
        table["BASS_Init"] = (void*)&Init2;
        table["BASS_MusicLoad"] = (void*)&MusicLoad2;
    }
    else
    {
        table["BASS_Init"] = (void*)&Init1;
        table["BASS_MusicLoad"] = (void*)&MusicLoad1;
    }
    return table;
}

void UseTable(std::map<std::string, void*> table)
{
    Quoll::SetBassResolverForTesting([table](const char* name) -> void* {
        auto it = table.find(name);
        return it == table.end() ? nullptr : it->second;
    });
    gCalls.clear();
}

bool Called(const std::string& line)
{
    return std::find(gCalls.begin(), gCalls.end(), line) != gCalls.end();
}

class BassMusicInterfaceTest : public ::testing::Test
{
protected:
    void SetUp() override { folder = ScratchFolder(); }
    void TearDown() override { Quoll::SetBassResolverForTesting(nullptr); }
    std::string File(const std::string& name)
    {
        WriteFile(folder / name, Bytes(10, 1));
        return (folder / name).string();
    }
    std::filesystem::path folder;
};
} // namespace

TEST_F(BassMusicInterfaceTest, VolumeByGeneration)
{
    UseTable(Table(false));
    {
        BassMusicInterface music(nullptr);
        ASSERT_TRUE(music.IsAvailable());
        EXPECT_EQ(gCalls.front(), "Init -1 44100 0");
        music.SetVolume(0.5);
        EXPECT_TRUE(Called("SetGlobalVolumes 20 20 20"));
    }
    EXPECT_EQ(gCalls.back(), "Free");
    UseTable(Table(true));
    BassMusicInterface music(nullptr);
    EXPECT_TRUE(Called("Init2 1 44100 0"));
    EXPECT_TRUE(Called("SetConfig 0 2000"));
    music.SetVolume(0.5);
    EXPECT_TRUE(Called("SetConfig 6 50"));
    EXPECT_TRUE(Called("SetConfig 5 50"));
}

TEST_F(BassMusicInterfaceTest, ExtensionChoosesStreamOrModule)
{
    UseTable(Table(true));
    BassMusicInterface music(nullptr);
    ASSERT_TRUE(music.LoadMusic(1, File("Song.OGG")));
    EXPECT_NE(music.FindSong(1)->stream, 0u);
    ASSERT_TRUE(music.LoadMusic(2, File("song.it")));
    EXPECT_NE(music.FindSong(2)->module, 0u);
    EXPECT_TRUE(Called("MusicLoad2 10 516")); // 4 | 0x200
    ASSERT_TRUE(music.LoadMusic(3, File("noextension")));
    EXPECT_NE(music.FindSong(3)->module, 0u);
    EXPECT_FALSE(music.LoadMusic(4, (folder / "missing.ogg").string()));
}

TEST_F(BassMusicInterfaceTest, PlayFadeAndUnload)
{
    UseTable(Table(false));
    BassMusicInterface music(nullptr);
    ASSERT_TRUE(music.LoadMusic(1, File("a.it")));
    const uint32_t module = music.FindSong(1)->module;
    gCalls.clear();
    music.PlayMusic(1, 5, false);
    const std::string m = std::to_string(module);
    EXPECT_EQ(gCalls, (std::vector<std::string>{
                          "SetAttributes " + m + " -1 100 -101", "ChannelStop " + m,
                          "ChannelStop " + m,
                          "SetPosition " + m + " " + std::to_string(0xFFFFFFFF80000005ull),
                          "SetFlags " + m + " 4", "ChannelPlay " + m + " 0"}));

    music.StopMusic(1); // volume 0
    gCalls.clear();
    music.FadeOut(1, true, 0.5);
    EXPECT_EQ(music.FindSong(1)->volumeAdd, 0.0); // only the stop flag changes at volume 0
    EXPECT_TRUE(music.FindSong(1)->stopOnFade);
    EXPECT_TRUE(gCalls.empty());

    music.SetSongVolume(1, 0.6);
    music.FadeOut(1, true, 0.5);
    music.Update();
    music.Update();
    EXPECT_TRUE(Called("ChannelStop " + m));
    EXPECT_EQ(music.FindSong(1)->volume, 0.0);

    ASSERT_TRUE(music.LoadMusic(2, File("b.wav")));
    const uint32_t stream = music.FindSong(2)->stream;
    EXPECT_FALSE(music.FindSong(2)->memory.empty());
    music.UnloadMusic(2);
    EXPECT_TRUE(Called("StreamFree " + std::to_string(stream)));
    EXPECT_EQ(music.FindSong(2), nullptr);
}

TEST_F(BassMusicInterfaceTest, PauseAllAndResumeAllFollowTheChannelState)
{
    UseTable(Table(false));
    BassMusicInterface music(nullptr);
    ASSERT_TRUE(music.LoadMusic(1, File("a.ogg")));
    const std::string c = std::to_string(music.FindSong(1)->stream);
    gActive = 1;
    music.PauseAllMusic();
    EXPECT_TRUE(Called("ChannelPause " + c));
    gCalls.clear();
    music.ResumeAllMusic(); // still reported playing: nothing to resume
    EXPECT_TRUE(gCalls.empty());
    gActive = 3;
    music.ResumeAllMusic();
    EXPECT_TRUE(Called("ChannelPlay " + c + " 0"));
    gActive = 0;
}

TEST_F(BassMusicInterfaceTest, MissingLibraryOrEntryPointFallsBack)
{
    setenv("QUOLL_AUDIO", "headless", 1);
    auto table = Table(false);
    table.erase("BASS_ChannelGetData");
    UseTable(table);
    EXPECT_FALSE(BassMusicInterface(nullptr).IsAvailable());
    Quoll::SetBassResolverForTesting(nullptr); // the real library is not installed here
    auto music = Quoll::CreateMusicInterface(Quoll::MusicPlayerKind::Bass, nullptr);
    ASSERT_NE(music, nullptr);
    EXPECT_NE(dynamic_cast<Quoll::AudiereMusicInterface*>(music.get()), nullptr);
    music = Quoll::CreateMusicInterface(Quoll::MusicPlayerKind::FMod, nullptr);
    EXPECT_NE(dynamic_cast<Quoll::AudiereMusicInterface*>(music.get()), nullptr);
    music = Quoll::CreateMusicInterface(Quoll::DefaultMusicPlayer(true, true), nullptr);
    EXPECT_EQ(typeid(*music), typeid(Quoll::MusicInterface));
}
