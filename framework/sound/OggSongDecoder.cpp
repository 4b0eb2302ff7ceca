// Ogg Vorbis songs decoded a block at a time.
#include "framework/sound/OggVorbisFile.h"
#include "framework/sound/SongDecoder.h"

#include <algorithm>
#include <limits>

namespace Quoll
{
namespace
{
class OggSongDecoder final : public SongDecoder
{
public:
    OggSongDecoder(const std::string& name, SoundFile file) : SongDecoder(name, std::move(file)) {}

    // The Vorbis reader keeps the address of the file it reads: it is opened on the decoder's.
    bool Open()
    {
        if (!mVorbis.Open(mFile) || mVorbis.GetFrames() > std::numeric_limits<uint32_t>::max())
            return false;
        SetLayout(mVorbis.GetFormat(), uint32_t(mVorbis.GetFrames()));
        return true;
    }

private:
    uint32_t DecodeBlock(uint8_t* out, uint32_t frames) override
    {
        const uint16_t align = GetFormat().BlockAlign();
        const size_t bytes = size_t(frames) * align;
        size_t filled = 0;
        while (filled < bytes)
        {
            const int want = int(std::min<size_t>(bytes - filled, 1 << 16));
            const long got = mVorbis.Read(out + filled, want);
            if (got <= 0)
                break;
            filled += size_t(got);
        }
        return uint32_t(filled / align);
    }

    bool SeekTo(uint32_t frame) override { return mVorbis.Seek(frame); }

    OggVorbisFile mVorbis;
};
} // namespace

std::unique_ptr<SongDecoder> OpenOggSongDecoder(const std::string& name, SoundFile file)
{
    auto decoder = std::make_unique<OggSongDecoder>(name, std::move(file));
    return decoder->Open() ? std::move(decoder) : nullptr;
}
} // namespace Quoll
