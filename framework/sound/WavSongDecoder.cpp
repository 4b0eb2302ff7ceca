// WAV songs read a block at a time straight from the data chunk.
#include "framework/sound/SongDecoder.h"
#include "framework/sound/SoundReaders.h"

namespace Quoll
{
namespace
{
class WavSongDecoder final : public SongDecoder
{
public:
    WavSongDecoder(const std::string& name, SoundFile file) : SongDecoder(name, std::move(file)) {}

    bool Open()
    {
        WavDataInfo info;
        if (!FindWavData(mFile, info) || !info.format.IsValid() ||
            info.bytes < info.format.BlockAlign())
            return false;
        SetLayout(info.format, info.bytes / info.format.BlockAlign());
        mKey = info.key;
        mDataStart = mFile.Tell();
        return true;
    }

private:
    uint32_t DecodeBlock(uint8_t* out, uint32_t frames) override
    {
        const uint16_t align = GetFormat().BlockAlign();
        const uint32_t got = uint32_t(mFile.Read(out, align, frames));
        UnscrambleWavSamples({out, size_t(got) * align}, mKey);
        return got;
    }

    bool SeekTo(uint32_t frame) override
    {
        return mFile.Seek(mDataStart + int64_t(frame) * GetFormat().BlockAlign(), SEEK_SET);
    }

    uint8_t mKey = 0;
    int64_t mDataStart = 0;
};
} // namespace

std::unique_ptr<SongDecoder> OpenWavSongDecoder(const std::string& name, SoundFile file)
{
    auto decoder = std::make_unique<WavSongDecoder>(name, std::move(file));
    return decoder->Open() ? std::move(decoder) : nullptr;
}
} // namespace Quoll
