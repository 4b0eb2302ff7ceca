// The game's music player on the offline mixer: loading and duplicate ids, MIDI names, fades
// step by step, the volume product, pause and resume, and the silent base player.
// Rerun one case: test_sound --gtest_filter='AudiereMusicInterface.FadeOutStopsBelowZero'
#include "SoundTestFiles.h"

#include "framework/sound/AudiereMusicInterface.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace SoundTest;
using Quoll::AudiereMusicInterface;

namespace
{
class AudiereMusicInterfaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("QUOLL_AUDIO", "headless", 1);
        folder = ScratchFolder();
        music = std::make_unique<AudiereMusicInterface>();
        ASSERT_TRUE(music->HasAudioDevice());
        song = (folder / "song.wav").string();
        WriteFile(song, RampWav(44100, 44100, 2));
        ASSERT_TRUE(music->LoadMusic(1, song));
    }
    void Render(size_t frames)
    {
        std::vector<int16_t> out(2 * frames);
        Quoll::Platform::MixerOutput::Acquire()->RenderOffline(out.data(), frames);
    }
    float Volume(int id) { return music->FindSong(id)->volume; }
    float StreamVolume(int id) { return music->FindSong(id)->stream->getVolume(); }

    std::filesystem::path folder;
    std::string song;
    std::unique_ptr<AudiereMusicInterface> music;
};
} // namespace

TEST_F(AudiereMusicInterfaceTest, LoadingKeepsTheFirstSongOfAnId)
{
    const auto* first = music->FindSong(1)->stream.get();
    WriteFile(folder / "other.wav", RampWav(10));
    EXPECT_TRUE(music->LoadMusic(1, (folder / "other.wav").string()));
    EXPECT_EQ(music->FindSong(1)->stream.get(), first);
    EXPECT_FALSE(music->LoadMusic(2, (folder / "missing.ogg").string()));
    EXPECT_TRUE(music->LoadMusic(3, OggTone().string()));
    std::filesystem::copy_file(OggTone(), folder / "theme.mid.ogg");
    EXPECT_FALSE(music->LoadMusic(4, (folder / "theme.mid.ogg").string())); // MIDI, no device
    EXPECT_EQ(music->FindSong(4), nullptr);
}

TEST_F(AudiereMusicInterfaceTest, FadeInStepsUpToTheCap)
{
    music->FadeIn(1, 0, 0.05, false);
    EXPECT_TRUE(music->IsPlaying(1));
    music->Update();
    EXPECT_FLOAT_EQ(Volume(1), 0.5f);
    music->Update();
    EXPECT_FLOAT_EQ(Volume(1), 1.0f);
    EXPECT_NE(music->FindSong(1)->volumeAdd, 0.0f); // exactly at the cap: one more step
    music->Update();
    EXPECT_FLOAT_EQ(Volume(1), 1.0f);
    EXPECT_EQ(music->FindSong(1)->volumeAdd, 0.0f);
    EXPECT_FLOAT_EQ(StreamVolume(1), 1.0f);
}

TEST_F(AudiereMusicInterfaceTest, FadeOutStopsBelowZero)
{
    music->PlayMusic(1, 0, false);
    Render(1000);
    music->FadeOut(1, true, 0.05);
    music->Update();
    EXPECT_FLOAT_EQ(Volume(1), 0.5f);
    music->Update();
    EXPECT_FLOAT_EQ(Volume(1), 0.0f);
    EXPECT_TRUE(music->IsPlaying(1));
    music->Update();
    EXPECT_FALSE(music->IsPlaying(1));
    EXPECT_EQ(music->FindSong(1)->stream->getPosition(), 0); // rewound
}

TEST_F(AudiereMusicInterfaceTest, MusicVolumeMultipliesSongVolume)
{
    music->PlayMusic(1);
    music->SetSongVolume(1, 0.8);
    music->SetVolume(0.5);
    EXPECT_FLOAT_EQ(StreamVolume(1), 0.4f);
    music->StopAllMusic();
    EXPECT_FLOAT_EQ(Volume(1), 0.0f); // a later fade-in starts from silence
}

TEST_F(AudiereMusicInterfaceTest, PauseResumesWhereItStoppedAndStopRewinds)
{
    music->PlayMusic(1);
    Render(5000);
    music->PauseMusic(1);
    EXPECT_FALSE(music->IsPlaying(1));
    const int paused = music->FindSong(1)->stream->getPosition();
    EXPECT_EQ(paused, 5000);
    music->ResumeMusic(1);
    Render(100);
    EXPECT_EQ(music->FindSong(1)->stream->getPosition(), 5100);
    music->FadeIn(1); // no offset: goes on from where it is
    EXPECT_EQ(music->FindSong(1)->stream->getPosition(), 5100);
    music->StopMusic(1);
    music->PlayMusic(1);
    EXPECT_EQ(music->FindSong(1)->stream->getPosition(), 0);
}

TEST_F(AudiereMusicInterfaceTest, ResumeAllResumesOnlyWhatPauseAllPaused)
{
    WriteFile(folder / "b.wav", RampWav(1000));
    ASSERT_TRUE(music->LoadMusic(2, (folder / "b.wav").string()));
    music->PlayMusic(1);
    music->PauseAllMusic();
    EXPECT_FALSE(music->IsPlaying(1));
    music->ResumeAllMusic();
    EXPECT_TRUE(music->IsPlaying(1));
    EXPECT_FALSE(music->IsPlaying(2));
    music->ResumeAllMusic(); // nothing left marked
    EXPECT_FALSE(music->IsPlaying(2));
}

TEST_F(AudiereMusicInterfaceTest, UnloadStopsAndForgets)
{
    music->PlayMusic(1);
    music->UnloadMusic(1);
    EXPECT_EQ(music->FindSong(1), nullptr);
    EXPECT_FALSE(music->IsPlaying(1));
    music->PlayMusic(1); // unknown ids do nothing
    music->FadeOut(9);
}

TEST(SilentMusic, EveryOperationDoesNothing)
{
    Quoll::MusicInterface silent;
    EXPECT_FALSE(silent.LoadMusic(1, "anything.ogg"));
    silent.PlayMusic(1);
    silent.FadeIn(1, 0, 0.1, false);
    silent.Update();
    EXPECT_FALSE(silent.IsPlaying(1));
}
