#pragma once
// The common frame of the player's binary files: a magic string (with its 16-bit length, so it
// is compared by its exact length), a 32-bit format version, the record, and the magic again at
// the end, so that a file cut anywhere is refused. RecordReader is a CheckedReader with the
// few typed reads the records need; every read fails instead of yielding zeros at the end.
#include "framework/core/Buffer.h"
#include "game/board/CheckedReader.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace PlayerFileFormat
{
// Profiles, saved games and the profile list.
inline constexpr std::string_view kProfileMagic = "tymlo1";
// The score table.
inline constexpr std::string_view kScoresMagic = "tymlo1scb";
inline constexpr int32_t kVersion = 1;

void WriteHeader(Quoll::Buffer& buffer, std::string_view magic);
void WriteTrailer(Quoll::Buffer& buffer, std::string_view magic);
} // namespace PlayerFileFormat

class RecordReader
{
public:
    explicit RecordReader(Quoll::Buffer& buffer) : mReader(buffer) {}

    // The magic and a version this program reads.
    [[nodiscard]] bool ReadHeader(std::string_view magic);
    // The closing magic, and nothing after it.
    [[nodiscard]] bool ReadTrailer(std::string_view magic);

    [[nodiscard]] bool ReadInt(int32_t& value) { return mReader.ReadInt32(value); }
    // An int within [low, high].
    [[nodiscard]] bool ReadInt(int32_t& value, int32_t low, int32_t high);
    [[nodiscard]] bool ReadFlag(bool& value);
    [[nodiscard]] bool ReadString(std::string& text) { return mReader.ReadString(text); }
    [[nodiscard]] bool ReadBytes(void* data, size_t count) { return mReader.ReadBytes(data, count); }
    [[nodiscard]] size_t BytesLeft() const { return mReader.BytesLeft(); }

private:
    CheckedReader mReader;
};
