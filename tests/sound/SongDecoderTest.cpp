// Song decoders against the whole-file readers: the same samples, bit for bit, read in odd
// blocks and after moves, for WAV (plain and cached), AU (mu-law and linear) and Ogg Vorbis;
// damaged and truncated data is logged once and decodes short.
// Rerun one case: test_sound --gtest_filter='SongDecoder.*'
#include "SoundTestFiles.h"

#include "framework/platform/system/PlatformLog.h"
#include "framework/sound/SongDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

using namespace SoundTest;
using Quoll::OpenSongDecoder;

namespace
{
using Reader = bool (*)(Quoll::SoundFile&, Quoll::SampleSink&);

struct Case
{
    std::string name;
    Reader reader;
    Bytes file; // empty: the Ogg file kept with the tests
};

// Deterministic noise, so that any misplaced byte shows.
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

std::vector<Case> Cases()
{
    Bytes cached = Wav({FormatChunk(1, 11025, 8), Chunk("xor ", {0x5A}), Chunk("data", Noise(5001, 3))});
    return {
        {"wav16stereo", &Quoll::ReadWavSound,
         Wav({FormatChunk(2, 22050, 16), Chunk("data", Noise(4 * 9000, 1))})},
        {"wav8cached", &Quoll::ReadWavSound, cached},
        {"aumulaw", &Quoll::ReadAuSound, Au(1, 8000, 1, Noise(7777, 4))},
        {"aulinear", &Quoll::ReadAuSound, Au(2, 8000, 2, Noise(6000, 5))},
        {"ogg", &Quoll::ReadOggSound, {}},
    };
}

std::string PathOf(const Case& c, const std::filesystem::path& folder)
{
    if (c.file.empty())
        return (std::filesystem::path(QUOLL_SOURCE_DIR) / "tests/sound/data/sweep30000.ogg").string();
    const auto path = folder / (c.name + ".snd");
    WriteFile(path, c.file);
    return path.string();
}

VectorSink Whole(const Case& c, const std::string& path)
{
    VectorSink sink(1u << 30);
    Quoll::SoundFile file;
    EXPECT_TRUE(file.Open(path) && c.reader(file, sink)) << c.name;
    return sink;
}

// Every frame from `from` on, read in blocks of `block` frames.
Bytes ReadAll(Quoll::SongDecoder& decoder, uint32_t block, uint32_t from = 0)
{
    const size_t align = decoder.GetFormat().BlockAlign();
    Bytes out(size_t(decoder.GetFrames() - from) * align);
    size_t at = 0;
    while (at < out.size())
    {
        const uint32_t want = std::min<uint32_t>(block, uint32_t((out.size() - at) / align));
        const uint32_t got = decoder.Read(out.data() + at, want);
        if (got == 0)
            break;
        at += got * align;
    }
    out.resize(at);
    return out;
}

std::mutex gLogLock;
std::vector<std::string> gLog;
void KeepLine(std::string_view subsystem, std::string_view text)
{
    std::lock_guard lock(gLogLock);
    gLog.push_back(std::string(subsystem) + ": " + std::string(text));
}
} // namespace

TEST(SongDecoder, BlocksAndMovesGiveTheWholeReadersSamples)
{
    const auto folder = ScratchFolder();
    for (const Case& c : Cases())
    {
        const std::string path = PathOf(c, folder);
        const VectorSink whole = Whole(c, path);
        auto decoder = OpenSongDecoder(path);
        ASSERT_NE(decoder, nullptr) << c.name;
        EXPECT_EQ(decoder->GetFormat(), whole.format) << c.name;
        const size_t align = whole.format.BlockAlign();
        EXPECT_EQ(decoder->GetFrames(), whole.samples.size() / align) << c.name;
        EXPECT_EQ(ReadAll(*decoder, 777), whole.samples) << c.name;
        EXPECT_EQ(decoder->Read(nullptr, 10), 0u) << c.name; // at the end
        for (uint32_t frame : {0u, 1u, decoder->GetFrames() / 3, decoder->GetFrames() - 1})
        {
            ASSERT_TRUE(decoder->Seek(frame)) << c.name << " " << frame;
            const Bytes rest(whole.samples.begin() + ptrdiff_t(frame * align), whole.samples.end());
            EXPECT_EQ(ReadAll(*decoder, 4096, frame), rest) << c.name << " from " << frame;
        }
        EXPECT_FALSE(decoder->Seek(decoder->GetFrames()));
    }
}

TEST(SongDecoder, RefusesWhatTheWholeReadersRefuse)
{
    const auto folder = ScratchFolder();
    Bytes longData = Wav({FormatChunk(1, 22050, 16), Chunk("data", Bytes(10))});
    longData.resize(longData.size() - 4); // the data chunk claims more than is left
    const std::pair<std::string, Bytes> bad[] = {
        {"empty", {}},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"longdata", longData},
        {"adpcm", Wav({FormatChunk(1, 22050, 16, 2), Chunk("data", Bytes(10))})},
        {"threechannels", Wav({FormatChunk(3, 22050, 16), Chunk("data", Bytes(12))})},
        {"aucodec", Au(3, 8000, 1, Bytes(10))},
    };
    for (const auto& [name, bytes] : bad)
    {
        WriteFile(folder / name, bytes);
        EXPECT_EQ(OpenSongDecoder((folder / name).string()), nullptr) << name;
    }
    EXPECT_EQ(OpenSongDecoder((folder / "missing.wav").string()), nullptr);
}

// A file cut short after it was opened, and an Ogg file with a damaged page: what is left
// decodes, the rest comes back short, and one line says where.
TEST(SongDecoder, DataThatEndsEarlyIsLoggedOnceAndDecodesShort)
{
    const auto folder = ScratchFolder();
    gLog.clear();
    const auto previous = Quoll::Platform::SetLogSink(&KeepLine);

    const Bytes wav = Wav({FormatChunk(1, 22050, 16), Chunk("data", Noise(2 * 20000, 9))});
    WriteFile(folder / "cut.wav", wav);
    auto decoder = OpenSongDecoder((folder / "cut.wav").string());
    ASSERT_NE(decoder, nullptr);
    std::filesystem::resize_file(folder / "cut.wav", wav.size() - 2 * 12000);
    EXPECT_EQ(ReadAll(*decoder, 512).size(), 2u * 8000);
    ASSERT_TRUE(decoder->Seek(0));
    EXPECT_EQ(ReadAll(*decoder, 512).size(), 2u * 8000);

    Bytes ogg = ReadFile(std::filesystem::path(QUOLL_SOURCE_DIR) / "tests/sound/data/sweep30000.ogg");
    // Into the body of the last page but one: the headers and the last page stay sound.
    std::vector<size_t> pages;
    for (size_t i = 0; i + 4 <= ogg.size(); ++i)
        if (std::equal(ogg.begin() + ptrdiff_t(i), ogg.begin() + ptrdiff_t(i) + 4, "OggS"))
            pages.push_back(i);
    ASSERT_GE(pages.size(), 4u);
    for (size_t i = pages[pages.size() - 2] + 64; i < pages.back(); ++i)
        ogg[i] ^= 0xA5;
    WriteFile(folder / "damaged.ogg", ogg);
    auto vorbis = OpenSongDecoder((folder / "damaged.ogg").string());
    ASSERT_NE(vorbis, nullptr);
    EXPECT_LT(ReadAll(*vorbis, 4096).size(), size_t(vorbis->GetFrames()) * 4);

    Quoll::Platform::SetLogSink(previous);
    ASSERT_EQ(gLog.size(), 2u); // once per song, not once per read
    EXPECT_NE(gLog[0].find("cut.wav: the song's data ends early or is damaged at frame 8000 of 20000"),
              std::string::npos)
        << gLog[0];
    EXPECT_NE(gLog[1].find("damaged.ogg"), std::string::npos) << gLog[1];
}
