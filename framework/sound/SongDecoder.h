#pragma once
// Block decoders of songs for streaming: a song file opened once and decoded a block at a time
// from any frame, so a playing song holds a block's worth of samples instead of all of them.
// WAV, AU and Ogg Vorbis, detected from the first bytes as the whole-file readers do, with the
// same checks at opening. Data that ends early or is damaged is reported once in the log (with
// the frame it happened at) and the rest of the song decodes short, to be played as silence.
#include "framework/platform/audio/StreamSource.h"
#include "framework/sound/SoundFile.h"

#include <memory>
#include <string>

namespace Quoll
{
class SongDecoder : public Platform::StreamSource
{
public:
    const Platform::AudioFormat& GetFormat() const final { return mFormat; }
    uint32_t GetFrames() const final { return mFrames; }
    uint32_t Read(uint8_t* out, uint32_t frames) final;
    bool Seek(uint32_t frame) final;
    const std::string& GetName() const { return mName; }

protected:
    SongDecoder(std::string name, SoundFile file) : mFile(std::move(file)), mName(std::move(name)) {}
    // Set once by the opening of each format, before any read.
    void SetLayout(const Platform::AudioFormat& format, uint32_t frames);
    // Decodes frames from the current position; fewer than asked only at a failure.
    virtual uint32_t DecodeBlock(uint8_t* out, uint32_t frames) = 0;
    virtual bool SeekTo(uint32_t frame) = 0;

    SoundFile mFile;

private:
    std::string mName;
    Platform::AudioFormat mFormat;
    uint32_t mFrames = 0;
    uint32_t mPosition = 0;
    bool mFailureLogged = false;
};

// The decoder of a song file (through the pack-file calls); null when it cannot be opened, is
// in no known format or is refused by its checks.
std::unique_ptr<SongDecoder> OpenSongDecoder(const std::string& fileName);

// The decoders of each format, on an open file positioned at its start.
std::unique_ptr<SongDecoder> OpenWavSongDecoder(const std::string& name, SoundFile file);
std::unique_ptr<SongDecoder> OpenAuSongDecoder(const std::string& name, SoundFile file);
std::unique_ptr<SongDecoder> OpenOggSongDecoder(const std::string& name, SoundFile file);
} // namespace Quoll
