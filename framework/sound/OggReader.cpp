// Ogg Vorbis decoded whole to 16-bit samples.
#include "framework/sound/OggVorbisFile.h"
#include "framework/sound/SoundReaders.h"

#include <algorithm>

namespace Quoll
{
bool ReadOggSound(SoundFile& file, SampleSink& sink)
{
    OggVorbisFile vorbis;
    if (!vorbis.Open(file))
        return false;
    const int64_t bytes = vorbis.GetFrames() * vorbis.GetFormat().BlockAlign();
    if (bytes > 0x7FFFFFFF)
        return false;
    std::span<uint8_t> samples = sink.Allocate(vorbis.GetFormat(), uint32_t(bytes));
    if (samples.empty())
        return false;
    size_t filled = 0;
    while (filled < samples.size())
    {
        const int want = int(std::min<size_t>(samples.size() - filled, 1 << 16));
        const long got = vorbis.Read(samples.data() + filled, want);
        if (got <= 0)
            break;
        filled += size_t(got);
    }
    return filled == samples.size();
}
} // namespace Quoll
