// Fuzz target of one image decoder, chosen at build time by QUOLL_FUZZ_DECODER (see
// resources_images.cmake): the input is the whole file, served through a memory handle of
// the pack layer. A decoder must return an image or null, never crash or over-allocate.
#include "framework/files/ImageCodecs.h"
#include "framework/files/PakInterface.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quoll::PakFileHandle* file = Quoll::PakFOpenMemory(data, size);
    const std::unique_ptr<ImageLib::Image> image = ImageLib::QUOLL_FUZZ_DECODER(file);
    Quoll::PakFClose(file);
    if (image != nullptr)
    {
        // Touch every pixel so that a short buffer shows up under the sanitizers.
        volatile uint32_t sum = 0;
        for (int i = 0; i < image->GetWidth() * image->GetHeight(); ++i)
            sum = sum + image->GetBits()[i];
    }
    return 0;
}
