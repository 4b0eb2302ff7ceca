#pragma once
// Sound files made by the tests: RIFF WAVE and AU images built chunk by chunk, a scratch
// folder per test case, and the Ogg Vorbis files kept under tests/sound/data: tone1000.ogg
// (1000 frames of 44.1 kHz stereo tones, encoded once with oggenc) and sweep30000.ogg (30000
// frames of 44.1 kHz stereo, a beating tone left and a rising sweep right, encoded once at
// quality 0 with a page flushed every 4096 frames, so that it has pages to seek among).
#include "framework/sound/SoundReaders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace SoundTest
{
using Bytes = std::vector<uint8_t>;

inline void PutU16(Bytes& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void PutU32(Bytes& out, uint32_t v)
{
    PutU16(out, uint16_t(v));
    PutU16(out, uint16_t(v >> 16));
}
inline void PutU32BigEndian(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}
inline void PutText(Bytes& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

inline Bytes Chunk(std::string_view tag, const Bytes& body)
{
    Bytes out;
    PutText(out, tag);
    PutU32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Bytes FormatChunk(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1)
{
    Bytes body;
    PutU16(body, tag);
    PutU16(body, channels);
    PutU32(body, rate);
    PutU32(body, rate * channels * bits / 8);
    PutU16(body, uint16_t(channels * bits / 8));
    PutU16(body, bits);
    return Chunk("fmt ", body);
}

inline Bytes Wav(const std::vector<Bytes>& chunks)
{
    Bytes body;
    PutText(body, "WAVE");
    for (const auto& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    return Chunk("RIFF", body);
}

inline Bytes Samples16(std::initializer_list<int16_t> values)
{
    Bytes out;
    for (int16_t v : values)
        PutU16(out, uint16_t(v));
    return out;
}

// A 16-bit mono WAV of `frames` frames of a ramp.
inline Bytes RampWav(uint32_t frames, uint32_t rate = 22050, uint16_t channels = 1)
{
    Bytes data;
    for (uint32_t i = 0; i < frames * channels; ++i)
        PutU16(data, uint16_t(int16_t(i * 37)));
    return Wav({FormatChunk(channels, rate, 16), Chunk("data", data)});
}

inline Bytes Au(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data,
                uint32_t claimedSize = 0)
{
    Bytes out;
    PutText(out, ".snd");
    PutU32BigEndian(out, 28);
    PutU32BigEndian(out, claimedSize ? claimedSize : uint32_t(data.size()));
    PutU32BigEndian(out, encoding);
    PutU32BigEndian(out, rate);
    PutU32BigEndian(out, channels);
    PutU32(out, 0); // annotation
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline std::filesystem::path OggTone()
{
    return std::filesystem::path(QUOLL_SOURCE_DIR) / "tests/sound/data/tone1000.ogg";
}

// An empty folder for the running test case.
inline std::filesystem::path ScratchFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto folder = std::filesystem::path(QUOLL_BINARY_DIR) / "sound_scratch" /
                  (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

using VectorSink = Quoll::VectorSampleSink;

// Runs a reader over bytes in memory.
inline bool ReadWith(bool (*reader)(Quoll::SoundFile&, Quoll::SampleSink&), const Bytes& bytes,
                     VectorSink& sink)
{
    Quoll::SoundFile file;
    return file.OpenMemory(bytes) && reader(file, sink);
}
} // namespace SoundTest
