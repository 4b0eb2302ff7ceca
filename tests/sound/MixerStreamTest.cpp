// Streamed voices against whole buffers of the same samples: the mixed output, the position
// and the playing state match frame for frame (one-shot and looping, resampled, with small
// rings that wrap often, fed by the feeder thread or on render), after moves and after the end;
// a feeder that falls behind leaves the voice silent without holding up the render; streams
// stopped, moved and closed while the feeder and a render thread run; the memory a stream holds.
// Rerun one case: test_sound --gtest_filter='MixerStream.*'
#include "SoundTestFiles.h"

#include "framework/platform/audio/Mixer.h"
#include "framework/sound/AudiereMusicInterface.h"
#include "framework/sound/SongDecoder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

using namespace SoundTest;
using Quoll::Platform::AudioFormat;
using Quoll::Platform::Mixer;
using Quoll::Platform::MixerBuffer;
using Quoll::Platform::MixerStream;

namespace
{
constexpr size_t kSlice = 512;

Bytes Noise(size_t bytes, uint32_t seed)
{
    Bytes out(bytes);
    for (auto& b : out)
    {
        seed = seed * 1664525u + 1013904223u;
        b = uint8_t(seed >> 24);
    }
    return out;
}

// Samples in memory; Read can be held up by a gate until it is opened.
class MemorySource : public Quoll::Platform::StreamSource
{
public:
    MemorySource(AudioFormat format, Bytes samples) : mFormat(format), mSamples(std::move(samples)) {}
    const AudioFormat& GetFormat() const override { return mFormat; }
    uint32_t GetFrames() const override { return uint32_t(mSamples.size() / mFormat.BlockAlign()); }
    uint32_t Read(uint8_t* out, uint32_t frames) override
    {
        {
            std::unique_lock lock(mGateLock);
            mInRead = true;
            mGateChanged.notify_all();
            mGateChanged.wait(lock, [&] { return mGateOpen; });
            mInRead = false;
        }
        frames = std::min(frames, GetFrames() - mAt);
        std::copy_n(mSamples.begin() + ptrdiff_t(mAt * mFormat.BlockAlign()),
                    frames * mFormat.BlockAlign(), out);
        mAt += frames;
        return frames;
    }
    bool Seek(uint32_t frame) override
    {
        mAt = frame;
        return true;
    }
    void SetGate(bool open)
    {
        std::lock_guard lock(mGateLock);
        mGateOpen = open;
        mGateChanged.notify_all();
    }
    void WaitUntilInRead()
    {
        std::unique_lock lock(mGateLock);
        mGateChanged.wait(lock, [&] { return mInRead; });
    }

private:
    AudioFormat mFormat;
    Bytes mSamples;
    uint32_t mAt = 0;
    std::mutex mGateLock;
    std::condition_variable mGateChanged;
    bool mGateOpen = true;
    bool mInRead = false;
};

// The same sound as a whole buffer on one mixer and as a stream on another.
struct Twins
{
    std::shared_ptr<Mixer> wholeMixer = Mixer::Create();
    std::shared_ptr<Mixer> streamMixer = Mixer::Create();
    std::unique_ptr<MixerBuffer> buffer;
    std::unique_ptr<MixerStream> stream;
    uint16_t align = 0;
    bool threaded;

    Twins(std::unique_ptr<Quoll::Platform::StreamSource> source, const VectorSink& whole,
          uint32_t ringFrames, bool threaded)
        : threaded(threaded)
    {
        if (!threaded)
            streamMixer->FillStreamsOnRender();
        align = whole.format.BlockAlign();
        buffer = wholeMixer->CreateBuffer(whole.format, uint32_t(whole.samples.size()));
        std::copy(whole.samples.begin(), whole.samples.end(), buffer->Lock().begin());
        stream = streamMixer->CreateStream(std::move(source), ringFrames);
    }

    void Play(bool looping)
    {
        buffer->Play(looping);
        stream->Play(looping);
    }
    void Move(uint32_t frame)
    {
        buffer->SetCurrentPosition(frame * align);
        stream->SetCurrentFrame(frame);
    }
    void SetVolume(int32_t volume)
    {
        buffer->SetVolume(volume);
        stream->SetVolume(volume);
    }
    // Renders both in slices, waiting for the feeder where it is behind; false at the first
    // difference in output, position or playing state.
    ::testing::AssertionResult RenderAlike(size_t frames)
    {
        std::vector<int16_t> a(2 * kSlice), b(2 * kSlice);
        for (size_t done = 0; done < frames; done += kSlice)
        {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            const uint32_t wanted = std::min<uint32_t>(stream->GetRingFrames(), 2 * kSlice + 4);
            while (threaded && stream->IsPlaying() && stream->GetBufferedFrames() < wanted &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            wholeMixer->Render(a.data(), kSlice);
            streamMixer->Render(b.data(), kSlice);
            if (a != b)
                return ::testing::AssertionFailure() << "output differs in frames " << done << "+";
            const uint32_t position = buffer->GetCurrentPosition() / align;
            if (position != stream->GetCurrentFrame() || buffer->IsPlaying() != stream->IsPlaying())
                return ::testing::AssertionFailure()
                       << "after " << done + kSlice << " frames: whole at " << position
                       << (buffer->IsPlaying() ? " playing" : " stopped") << ", stream at "
                       << stream->GetCurrentFrame() << (stream->IsPlaying() ? " playing" : " stopped");
        }
        return ::testing::AssertionSuccess();
    }
};

struct SongFile
{
    std::string name;
    Bytes bytes; // empty: the Ogg file kept with the tests
    bool (*reader)(Quoll::SoundFile&, Quoll::SampleSink&);
};

std::vector<SongFile> Songs()
{
    return {
        {"wav22k", Wav({FormatChunk(2, 22050, 16), Chunk("data", Noise(4 * 6001, 1))}), &Quoll::ReadWavSound},
        {"wav48k", Wav({FormatChunk(1, 48000, 8), Chunk("data", Noise(9000, 2))}), &Quoll::ReadWavSound},
        {"au8k", Au(1, 8000, 1, Noise(2500, 3)), &Quoll::ReadAuSound},
        {"ogg", {}, &Quoll::ReadOggSound},
    };
}

std::string PathOf(const SongFile& song, const std::filesystem::path& folder)
{
    if (song.bytes.empty())
        return (std::filesystem::path(QUOLL_SOURCE_DIR) / "tests/sound/data/sweep30000.ogg").string();
    WriteFile(folder / song.name, song.bytes);
    return (folder / song.name).string();
}

VectorSink Whole(const SongFile& song, const std::string& path)
{
    VectorSink sink(1u << 30);
    Quoll::SoundFile file;
    EXPECT_TRUE(file.Open(path) && song.reader(file, sink));
    return sink;
}

// Output frames a song lasts at the mixer's rate.
size_t OutputFrames(const VectorSink& whole)
{
    return whole.samples.size() / whole.format.BlockAlign() * Mixer::kDefaultRate /
           whole.format.samplesPerSecond;
}
} // namespace

TEST(MixerStream, PlaysLikeTheWholeBufferThroughLoopsEndsAndReplays)
{
    const auto folder = ScratchFolder();
    for (const SongFile& song : Songs())
        for (bool threaded : {true, false})
            for (bool looping : {false, true})
            {
                SCOPED_TRACE(song.name + (threaded ? " threaded" : " on render") +
                             (looping ? " looping" : " one-shot"));
                const std::string path = PathOf(song, folder);
                const VectorSink whole = Whole(song, path);
                Twins twins(Quoll::OpenSongDecoder(path), whole, threaded ? 4096 : 300, threaded);
                ASSERT_NE(twins.stream, nullptr);
                twins.SetVolume(-450);
                twins.Play(looping);
                const size_t length = OutputFrames(whole);
                EXPECT_TRUE(twins.RenderAlike(length * 5 / 2));
                EXPECT_EQ(twins.stream->IsPlaying(), looping);
                twins.Play(looping); // again, from where it is (the start, when it ended)
                EXPECT_TRUE(twins.RenderAlike(length / 2));
                EXPECT_EQ(twins.stream->GetUnderrunCount(), 0u);
            }
}

TEST(MixerStream, MovesLikeTheWholeBuffer)
{
    const auto folder = ScratchFolder();
    for (const SongFile& song : Songs())
        for (bool threaded : {true, false})
        {
            SCOPED_TRACE(song.name + (threaded ? " threaded" : " on render"));
            const std::string path = PathOf(song, folder);
            const VectorSink whole = Whole(song, path);
            Twins twins(Quoll::OpenSongDecoder(path), whole, 2048, threaded);
            const uint32_t frames = uint32_t(whole.samples.size() / twins.align);
            twins.Move(frames / 2); // while stopped
            twins.Play(true);
            EXPECT_TRUE(twins.RenderAlike(3000));
            twins.Move(twins.stream->GetCurrentFrame()); // where it is: only the fraction goes
            EXPECT_TRUE(twins.RenderAlike(1000));
            twins.Move(17); // while playing, backwards
            EXPECT_TRUE(twins.RenderAlike(2000));
            twins.Move(frames + 100); // past the end: the last frame
            EXPECT_EQ(twins.stream->GetCurrentFrame(), frames - 1);
            EXPECT_TRUE(twins.RenderAlike(4000));
        }
}

// The render goes on while the feeder is stuck in a read: the voice plays what the ring holds,
// exactly as the whole buffer does, then is silent and stands still until frames arrive.
TEST(MixerStream, AFeederBehindLeavesTheVoiceSilentWithoutHoldingUpTheRender)
{
    const AudioFormat format{1, 30000, 16};
    Bytes ramp;
    for (int i = 0; i < 20000; ++i)
        PutU16(ramp, uint16_t(i * 3));
    VectorSink whole(1u << 20);
    std::copy(ramp.begin(), ramp.end(), whole.Allocate(format, uint32_t(ramp.size())).begin());
    auto owned = std::make_unique<MemorySource>(format, ramp);
    MemorySource* source = owned.get();
    Twins twins(std::move(owned), whole, 1024, true);
    source->SetGate(false);
    twins.Play(false);
    std::vector<int16_t> heard(2 * 4096), expected(2 * 4096);
    twins.streamMixer->Render(heard.data(), 4096); // more than the ring holds
    twins.wholeMixer->Render(expected.data(), 4096);
    source->WaitUntilInRead(); // the feeder refills and is held inside the source
    twins.streamMixer->Render(heard.data() + 4096, 2048);
    EXPECT_GT(twins.stream->GetUnderrunCount(), 0u);
    EXPECT_TRUE(twins.stream->IsPlaying());
    const uint32_t reached = twins.stream->GetCurrentFrame();
    EXPECT_GE(reached, 1020u);
    EXPECT_LT(reached, 1024u);
    const size_t played = size_t(std::find(heard.begin() + 2, heard.end(), 0) - heard.begin());
    EXPECT_GT(played, 2u * 1400);
    EXPECT_TRUE(std::equal(heard.begin(), heard.begin() + ptrdiff_t(played), expected.begin()));
    EXPECT_TRUE(std::all_of(heard.begin() + ptrdiff_t(played), heard.end(), [](int16_t s) { return s == 0; }));
    source->SetGate(true);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (twins.stream->GetBufferedFrames() < 512 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    twins.streamMixer->Render(heard.data(), 256);
    EXPECT_GE(heard[0], int16_t(reached * 3)); // goes on from where it stood
    EXPECT_LE(heard[0], int16_t(reached * 3 + 3));
}

TEST(MixerStream, StreamsStopMoveAndCloseWhileTheFeederAndARenderThreadRun)
{
    const auto folder = ScratchFolder();
    auto mixer = Mixer::Create();
    std::atomic<bool> rendering{true};
    std::thread audio([&] {
        std::vector<int16_t> out(2 * 256);
        while (rendering)
            mixer->Render(out.data(), 256);
    });
    const auto songs = Songs();
    std::vector<std::string> paths;
    for (const SongFile& song : songs)
        paths.push_back(PathOf(song, folder));
    std::vector<std::unique_ptr<MixerStream>> streams(6);
    for (uint32_t round = 0; round < 60; ++round)
    {
        auto& stream = streams[round % streams.size()];
        if (round % 4 == 3)
        {
            stream.reset(); // closed while it may be playing and being fed
            continue;
        }
        if (!stream)
            stream = mixer->CreateStream(Quoll::OpenSongDecoder(paths[round % paths.size()]), 512);
        ASSERT_NE(stream, nullptr);
        stream->Play(round % 2 == 0);
        stream->SetCurrentFrame(round * 97 % stream->GetFrames());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (round % 3 == 0)
            stream->Stop();
    }
    streams.clear();
    rendering = false;
    audio.join();
    EXPECT_EQ(mixer->GetPlayingVoiceCount(), 0u);
}

TEST(MixerStream, HoldsItsRingNotTheSongAndCountsAsAVoice)
{
    const auto folder = ScratchFolder();
    const Bytes long16 = Wav({FormatChunk(2, 44100, 16), Chunk("data", Bytes(4 * 200000))});
    WriteFile(folder / "long.wav", long16);
    auto mixer = Mixer::Create(Mixer::kDefaultRate, 1);
    auto stream = mixer->CreateStream(Quoll::OpenSongDecoder((folder / "long.wav").string()));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->GetRingFrames(), MixerStream::kDefaultRingFrames);
    EXPECT_EQ(stream->GetHeldBytes(), (MixerStream::kDefaultRingFrames + 1280u) * 4);

    auto buffer = mixer->CreateBuffer({1, 44100, 16}, 64);
    ASSERT_TRUE(buffer->Play(true));
    EXPECT_FALSE(stream->Play(false)); // the one voice is taken
    buffer->Stop();
    EXPECT_TRUE(stream->Play(false));
    EXPECT_FALSE(buffer->Play(true));
    EXPECT_EQ(mixer->CreateStream(nullptr), nullptr);
}

// The game's player streams its songs; a fade reaches the streamed voice, and a song stopped by
// its fade-out starts again from its first frame.
TEST(MixerStream, TheMusicPlayerStreamsAndFadesItsSongs)
{
    setenv("QUOLL_AUDIO", "headless", 1);
    const auto folder = ScratchFolder();
    const SongFile song = Songs()[0];
    const std::string path = PathOf(song, folder);
    const VectorSink whole = Whole(song, path);
    Quoll::AudiereMusicInterface music;
    ASSERT_TRUE(music.LoadMusic(1, path));
    const Quoll::AdrOutputStream& stream = *music.FindSong(1)->stream;
    ASSERT_NE(stream.GetStream(), nullptr);

    auto reference = Mixer::Create();
    auto buffer = reference->CreateBuffer(whole.format, uint32_t(whole.samples.size()));
    std::copy(whole.samples.begin(), whole.samples.end(), buffer->Lock().begin());
    auto output = Quoll::Platform::MixerOutput::Acquire();
    reference->SetMasterVolume(output->GetMixer().GetMasterVolume());
    std::vector<int16_t> heard(2 * 1000), expected(2 * 1000);
    const auto step = [&](int32_t attenuation) {
        output->RenderOffline(heard.data(), 1000);
        buffer->SetVolume(attenuation);
        reference->Render(expected.data(), 1000);
        EXPECT_EQ(heard, expected) << "at attenuation " << attenuation;
    };
    music.PlayMusic(1, 0, true);
    buffer->Play(false);
    step(0);
    music.FadeOut(1, true, 0.05);
    music.Update(); // 0.5
    step(-602);
    music.Update(); // 0.0, still playing
    step(-10000);
    music.Update(); // below 0: stopped and rewound
    EXPECT_FALSE(music.IsPlaying(1));
    EXPECT_EQ(stream.getPosition(), 0);
    music.PlayMusic(1, 0, true);
    buffer->SetCurrentPosition(0);
    step(0);
}
