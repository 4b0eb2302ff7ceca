// Sound file readers: WAV chunks in file order, the cache layout and its staleness, AU mu-law and
// linear data, Ogg Vorbis sizes, and headers that claim more bytes than the file holds.
// Rerun one case: test_sound --gtest_filter='SoundReaders.MuLawDecodesBySegment'
#include "SoundTestFiles.h"

#include "framework/sound/SoundReaders.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

using namespace SoundTest;
using Quoll::ReadAuSound;
using Quoll::ReadOggSound;
using Quoll::ReadWavSound;
using Quoll::Platform::AudioFormat;

TEST(SoundReaders, WavFormatsAcceptedAndRefused)
{
    VectorSink sink(64u << 20);
    const Bytes floatWav = Wav({FormatChunk(1, 44100, 32, 3), Chunk("data", Bytes(8, 0))});
    EXPECT_FALSE(ReadWith(ReadWavSound, floatWav, sink));

    const Bytes stereo8 = Wav({FormatChunk(2, 11025, 8), Chunk("data", Bytes{1, 2, 3, 4})});
    ASSERT_TRUE(ReadWith(ReadWavSound, stereo8, sink));
    EXPECT_EQ(sink.format, (AudioFormat{2, 11025, 8}));
    EXPECT_EQ(sink.samples, (Bytes{1, 2, 3, 4}));

    const Bytes noFormat = Wav({Chunk("data", Samples16({5, -5}))});
    ASSERT_TRUE(ReadWith(ReadWavSound, noFormat, sink));
    EXPECT_EQ(sink.format, (AudioFormat{1, 22050, 16}));

    const Bytes dataFirst = Wav({Chunk("data", Samples16({7})), FormatChunk(2, 8000, 8)});
    ASSERT_TRUE(ReadWith(ReadWavSound, dataFirst, sink));
    EXPECT_EQ(sink.format, (AudioFormat{1, 22050, 16}));

    EXPECT_FALSE(ReadWith(ReadWavSound, Wav({FormatChunk(1, 8000, 16)}), sink)); // no data
}

TEST(SoundReaders, WavChunksAreNotPaddedAndKeyUnscrambles)
{
    VectorSink sink(64u << 20);
    Bytes key{0x0F};
    const Bytes wav = Wav({Chunk("odd ", Bytes{9, 9, 9}), Chunk("xor ", key),
                           FormatChunk(1, 8000, 8), Chunk("data", Bytes{0x0F, 0xF0})});
    ASSERT_TRUE(ReadWith(ReadWavSound, wav, sink));
    EXPECT_EQ(sink.samples, (Bytes{0x00, 0xFF}));
}

TEST(SoundReaders, WavSizesBeyondTheFileAreRefused)
{
    VectorSink sink(64u << 20);
    Bytes wav = Wav({FormatChunk(1, 8000, 16), Chunk("data", Samples16({1, 2, 3}))});
    const size_t dataSizeAt = wav.size() - 6 - 4;
    wav[dataSizeAt + 3] = 0x7F; // claims almost 2 GiB
    EXPECT_FALSE(ReadWith(ReadWavSound, wav, sink));
    EXPECT_TRUE(sink.samples.empty());
    Bytes truncated = RampWav(10);
    truncated.resize(truncated.size() - 1);
    EXPECT_FALSE(ReadWith(ReadWavSound, truncated, sink));
}

TEST(SoundReaders, CachedLayoutRoundTripsAndGoesStaleWithItsSource)
{
    const auto folder = ScratchFolder();
    const auto source = folder / "src.ogg";
    WriteFile(source, Bytes{1});
    const auto cache = folder / "cached.wav";
    const Bytes samples{1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(Quoll::WriteCachedWav(cache.string(), {2, 8000, 8}, samples, source.string()));

    const Bytes file = ReadFile(cache);
    const size_t n = source.string().size();
    ASSERT_EQ(file.size(), 71 + n + samples.size());
    EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
    EXPECT_EQ(file[4], samples.size() + 36);
    EXPECT_EQ(std::memcmp(file.data() + 36, "dep ", 4), 0);
    EXPECT_EQ(file[40], n + 10);
    EXPECT_EQ(file[44] | file[45] << 8, int(n));
    uint64_t stored = 0;
    std::memcpy(&stored, file.data() + 46 + n, 8);
    EXPECT_EQ(stored, Quoll::GetLastWriteTime(source.string()));
    EXPECT_NE(stored, 0u);
    EXPECT_EQ(std::memcmp(file.data() + 54 + n, "xor ", 4), 0);
    EXPECT_EQ(file[62 + n], Quoll::kCachedSoundKey);
    EXPECT_EQ(std::memcmp(file.data() + 63 + n, "data", 4), 0);
    EXPECT_EQ(file[71 + n], 1 ^ Quoll::kCachedSoundKey);

    VectorSink sink(64u << 20);
    Quoll::SoundFile reader;
    ASSERT_TRUE(reader.Open(cache.string()));
    ASSERT_TRUE(ReadWavSound(reader, sink));
    EXPECT_EQ(sink.samples, samples);
    EXPECT_EQ(sink.format, (AudioFormat{2, 8000, 8}));

    std::filesystem::last_write_time(source, std::filesystem::last_write_time(source) +
                                                 std::chrono::seconds(5));
    ASSERT_TRUE(reader.Open(cache.string()));
    EXPECT_FALSE(ReadWavSound(reader, sink));
}

// A source known only to the pack file has time 0 and stays valid; the name is read whole even
// past 255 bytes, so the time after it is the stored one.
TEST(SoundReaders, DependencyNameIsReadWhole)
{
    VectorSink sink(64u << 20);
    for (size_t length : {size_t(10), size_t(300)})
    {
        Bytes dep;
        PutU16(dep, uint16_t(length));
        PutText(dep, std::string(length, 'q'));
        PutU32(dep, 0);
        PutU32(dep, 0);
        const Bytes wav = Wav({FormatChunk(1, 8000, 8), Chunk("dep ", dep), Chunk("data", {7})});
        EXPECT_TRUE(ReadWith(ReadWavSound, wav, sink)) << length;
    }
}

TEST(SoundReaders, MuLawDecodesBySegment)
{
    EXPECT_EQ(Quoll::DecodeMuLaw(0xFF), 0);
    EXPECT_EQ(Quoll::DecodeMuLaw(0xF0), 120);
    EXPECT_EQ(Quoll::DecodeMuLaw(0x81), 30592);
    EXPECT_EQ(Quoll::DecodeMuLaw(0x80), 31616); // the top of its segment, past 0x81
    EXPECT_EQ(Quoll::DecodeMuLaw(0x00), -31616);
    EXPECT_EQ(Quoll::DecodeMuLaw(0x7F), 0);
    for (int c = 0x81; c <= 0xFF; ++c) // magnitudes fall as codes rise
        EXPECT_LT(Quoll::DecodeMuLaw(uint8_t(c)), Quoll::DecodeMuLaw(uint8_t(c - 1))) << c;
}

TEST(SoundReaders, AuEncodings)
{
    VectorSink sink(64u << 20);
    ASSERT_TRUE(ReadWith(ReadAuSound, Au(1, 8000, 1, Bytes{0xFF, 0x81}), sink));
    EXPECT_EQ(sink.format, (AudioFormat{1, 8000, 16}));
    EXPECT_EQ(sink.samples, Samples16({0, 30592}));

    ASSERT_TRUE(ReadWith(ReadAuSound, Au(2, 11025, 2, Bytes{0x00, 0x7F, 0x80, 0xFF}), sink));
    EXPECT_EQ(sink.format, (AudioFormat{2, 11025, 8}));
    EXPECT_EQ(sink.samples, (Bytes{0x80, 0xFF, 0x00, 0x7F})); // signed made unsigned

    EXPECT_FALSE(ReadWith(ReadAuSound, Au(3, 8000, 1, Bytes{0, 0}), sink));
    EXPECT_FALSE(ReadWith(ReadAuSound, Au(2, 8000, 1, Bytes{1, 2}, 0x40000000), sink));
    EXPECT_FALSE(ReadWith(ReadAuSound, Au(2, 8000, 7, Bytes{1, 2}), sink));
    ASSERT_TRUE(ReadWith(ReadAuSound, Au(2, 8000, 1, Bytes{1, 2}, 0xFFFFFFFF), sink));
    EXPECT_EQ(sink.samples, (Bytes{0x81, 0x82})); // unknown size: the rest of the file
}

TEST(SoundReaders, OggSizeIsFramesTimesBlockAlign)
{
    VectorSink sink(64u << 20);
    Quoll::SoundFile file;
    ASSERT_TRUE(file.Open(OggTone().string()));
    ASSERT_TRUE(ReadOggSound(file, sink));
    EXPECT_EQ(sink.format, (AudioFormat{2, 44100, 16}));
    EXPECT_EQ(sink.samples.size(), 4000u);
    int peak = 0;
    for (size_t i = 0; i + 1 < sink.samples.size(); i += 2)
        peak = std::max(peak, std::abs(int(int16_t(sink.samples[i] | sink.samples[i + 1] << 8))));
    EXPECT_GT(peak, 5000);

    Bytes damaged = ReadFile(OggTone());
    damaged.resize(damaged.size() / 2);
    EXPECT_FALSE(ReadWith(ReadOggSound, damaged, sink));
    EXPECT_FALSE(ReadWith(ReadOggSound, RampWav(10), sink));
}
