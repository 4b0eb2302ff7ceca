// Fuzz target: the AU reader (mu-law and linear data), fed from memory. Any input must be refused or decoded without
// reading or writing out of bounds, and without asking for more than the sink allows.
#include "framework/sound/SoundReaders.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{
class BoundedSink : public Quoll::SampleSink
{
public:
    std::span<uint8_t> Allocate(const Quoll::Platform::AudioFormat& format, uint32_t bytes) override
    {
        if (!format.IsValid() || bytes > (16u << 20))
            return {};
        samples.assign(bytes - bytes % format.BlockAlign(), 0);
        return samples;
    }
    std::vector<uint8_t> samples;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quoll::SoundFile file;
    if (!file.OpenMemory({data, size}))
        return 0;
    BoundedSink sink;
    Quoll::ReadAuSound(file, sink);
    return 0;
}
