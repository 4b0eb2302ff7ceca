// Fuzz target: the AU reader (mu-law and linear data), fed from memory. Any input must be refused or decoded without
// reading or writing out of bounds, and without asking for more than the sink allows.
#include "framework/sound/SoundReaders.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quoll::SoundFile file;
    if (!file.OpenMemory({data, size}))
        return 0;
    Quoll::VectorSampleSink sink(16u << 20);
    Quoll::ReadAuSound(file, sink);
    return 0;
}
