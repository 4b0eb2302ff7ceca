#include "game/shell/PlayerFileFormat.h"

namespace PlayerFileFormat
{
void WriteHeader(Quoll::Buffer& buffer, std::string_view magic)
{
    buffer.WriteString(std::string(magic));
    buffer.WriteInt32(kVersion);
}

void WriteTrailer(Quoll::Buffer& buffer, std::string_view magic) { buffer.WriteString(std::string(magic)); }
} // namespace PlayerFileFormat

bool RecordReader::ReadHeader(std::string_view magic)
{
    int32_t version = 0;
    return mReader.SkipMagic(magic) && ReadInt(version, 1, PlayerFileFormat::kVersion);
}

bool RecordReader::ReadTrailer(std::string_view magic) { return mReader.SkipMagic(magic) && mReader.BytesLeft() == 0; }

bool RecordReader::ReadInt(int32_t& value, int32_t low, int32_t high)
{
    int32_t read = 0;
    if (!mReader.ReadInt32(read) || read < low || read > high)
        return false;
    value = read;
    return true;
}

bool RecordReader::ReadFlag(bool& value)
{
    uint8_t byte = 0;
    if (!mReader.ReadBytes(&byte, 1) || byte > 1)
        return false;
    value = byte == 1;
    return true;
}
