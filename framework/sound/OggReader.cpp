// Ogg Vorbis decoding through the integer decoder, reading through SoundFile.
#include "framework/sound/SoundReaders.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>

namespace Quoll
{
namespace
{
// Decoded bytes allowed per compressed byte: far above what an encoder produces even for
// silence, low enough that a forged length cannot ask for gigabytes from a tiny file.
constexpr int64_t kMaxExpansion = 4096;
constexpr int64_t kMinAllowance = 1 << 20;

size_t ReadCallback(void* destination, size_t size, size_t count, void* source)
{
    return static_cast<SoundFile*>(source)->Read(destination, size, count);
}

int SeekCallback(void* source, ogg_int64_t offset, int origin)
{
    auto* file = static_cast<SoundFile*>(source);
    if (!file || !file->IsOpen())
        return -1;
    return file->Seek(offset, origin) ? 0 : -1;
}

int CloseCallback(void*)
{
    return 0; // the SoundFile closes itself
}

long TellCallback(void* source)
{
    return long(static_cast<SoundFile*>(source)->Tell());
}

class VorbisFile
{
public:
    ~VorbisFile()
    {
        if (mOpen)
            ov_clear(&mFile);
    }
    bool Open(SoundFile& file)
    {
        const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
        mOpen = ov_open_callbacks(&file, &mFile, nullptr, 0, callbacks) == 0;
        return mOpen;
    }
    OggVorbis_File* Get() { return &mFile; }

private:
    OggVorbis_File mFile{};
    bool mOpen = false;
};
} // namespace

bool ReadOggSound(SoundFile& file, SampleSink& sink)
{
    VorbisFile vorbis;
    if (!vorbis.Open(file))
        return false;
    const vorbis_info* info = ov_info(vorbis.Get(), -1);
    const ogg_int64_t frames = ov_pcm_total(vorbis.Get(), -1);
    if (!info || info->channels < 1 || info->channels > 2 || frames <= 0)
        return false;
    const int64_t bytes = int64_t(frames) * info->channels * 2;
    if (bytes > std::max(kMinAllowance, file.Size() * kMaxExpansion) || bytes > 0x7FFFFFFF)
        return false;

    const Platform::AudioFormat format{uint16_t(info->channels), uint32_t(info->rate), 16};
    std::span<uint8_t> samples = sink.Allocate(format, uint32_t(bytes));
    if (samples.empty())
        return false;
    size_t filled = 0;
    while (filled < samples.size())
    {
        int section = 0;
        const int want = int(std::min<size_t>(samples.size() - filled, 1 << 16));
        const long got = ov_read(vorbis.Get(), reinterpret_cast<char*>(samples.data() + filled),
                                 want, &section);
        if (got <= 0)
            break;
        filled += size_t(got);
    }
    return filled == samples.size();
}
} // namespace Quoll
