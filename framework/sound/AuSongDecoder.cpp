// AU songs: encoded bytes read a block at a time and expanded into the mixer's samples.
#include "framework/sound/SongDecoder.h"
#include "framework/sound/SoundReaders.h"

#include <algorithm>
#include <vector>

namespace Quoll
{
namespace
{
constexpr uint32_t kRawBlockBytes = 4096;

class AuSongDecoder final : public SongDecoder
{
public:
    AuSongDecoder(const std::string& name, SoundFile file) : SongDecoder(name, std::move(file)) {}

    bool Open()
    {
        if (!ReadAuHeader(mFile, mHeader) || !mHeader.Format().IsValid() ||
            mHeader.bytes < mHeader.channels)
            return false;
        SetLayout(mHeader.Format(), mHeader.bytes / mHeader.channels);
        mDataStart = mFile.Tell();
        mRaw.resize(kRawBlockBytes);
        return true;
    }

private:
    uint32_t DecodeBlock(uint8_t* out, uint32_t frames) override
    {
        const uint32_t rawPerFrame = mHeader.channels;
        const uint32_t bytesPerRaw = GetFormat().bitsPerSample / 8;
        uint32_t done = 0;
        while (done < frames)
        {
            const uint32_t want = std::min(frames - done, kRawBlockBytes / rawPerFrame);
            const uint32_t got = uint32_t(mFile.Read(mRaw.data(), rawPerFrame, want));
            DecodeAuSamples(mHeader, {mRaw.data(), size_t(got) * rawPerFrame},
                            out + size_t(done) * rawPerFrame * bytesPerRaw);
            done += got;
            if (got < want)
                break;
        }
        return done;
    }

    bool SeekTo(uint32_t frame) override
    {
        return mFile.Seek(mDataStart + int64_t(frame) * mHeader.channels, SEEK_SET);
    }

    AuHeader mHeader;
    int64_t mDataStart = 0;
    std::vector<uint8_t> mRaw;
};
} // namespace

std::unique_ptr<SongDecoder> OpenAuSongDecoder(const std::string& name, SoundFile file)
{
    auto decoder = std::make_unique<AuSongDecoder>(name, std::move(file));
    return decoder->Open() ? std::move(decoder) : nullptr;
}
} // namespace Quoll
