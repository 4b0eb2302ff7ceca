// Song decoder position keeping, failure reports and format detection.
#include "framework/sound/SongDecoder.h"

#include "framework/platform/system/PlatformLog.h"

#include <cstdio>
#include <cstring>

namespace Quoll
{
void SongDecoder::SetLayout(const Platform::AudioFormat& format, uint32_t frames)
{
    mFormat = format;
    mFrames = frames;
}

uint32_t SongDecoder::Read(uint8_t* out, uint32_t frames)
{
    frames = std::min(frames, mFrames - std::min(mPosition, mFrames));
    const uint32_t got = frames == 0 ? 0 : DecodeBlock(out, frames);
    if (got < frames && !mFailureLogged)
    {
        mFailureLogged = true;
        Platform::LogLine("Music", mName + ": the song's data ends early or is damaged at frame " +
                                       std::to_string(mPosition + got) + " of " +
                                       std::to_string(mFrames) + "; silence plays from there");
    }
    mPosition += got;
    return got;
}

bool SongDecoder::Seek(uint32_t frame)
{
    if (frame < mFrames && SeekTo(frame))
    {
        mPosition = frame;
        return true;
    }
    if (!mFailureLogged)
    {
        mFailureLogged = true;
        Platform::LogLine("Music", mName + ": cannot move to frame " + std::to_string(frame) +
                                       " of " + std::to_string(mFrames) + "; silence plays instead");
    }
    return false;
}

std::unique_ptr<SongDecoder> OpenSongDecoder(const std::string& fileName)
{
    SoundFile file;
    char magic[4] = {};
    if (!file.Open(fileName) || !file.ReadTag(magic) || !file.Seek(0, SEEK_SET))
        return nullptr;
    if (std::memcmp(magic, "RIFF", 4) == 0)
        return OpenWavSongDecoder(fileName, std::move(file));
    if (std::memcmp(magic, "OggS", 4) == 0)
        return OpenOggSongDecoder(fileName, std::move(file));
    if (std::memcmp(magic, ".snd", 4) == 0)
        return OpenAuSongDecoder(fileName, std::move(file));
    return nullptr;
}
} // namespace Quoll
