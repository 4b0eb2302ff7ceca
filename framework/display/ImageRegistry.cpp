#include "framework/display/ImageRegistry.h"

#include <atomic>

namespace Quoll
{
namespace
{
ImageRegistry gNullRegistry;
std::atomic<ImageRegistry*> gRegistry{nullptr};
} // namespace

void ImageRegistry::AddMemoryImage(MemoryImage*) {}
void ImageRegistry::RemoveMemoryImage(MemoryImage*) {}
void ImageRegistry::Remove3DData(MemoryImage*) {}
bool ImageRegistry::Is3DAccelerated() const { return false; }

const PixelFormat& ImageRegistry::GetDisplayFormat() const
{
    static const PixelFormat kArgb = PixelFormat::Argb8888();
    return kArgb;
}

bool ImageRegistry::ReadTextureBits(MemoryImage*, uint32_t*) { return false; }
void ImageRegistry::SharedImagesChanged() {}

ImageRegistry* GetImageRegistry()
{
    ImageRegistry* registry = gRegistry.load(std::memory_order_acquire);
    return registry != nullptr ? registry : &gNullRegistry;
}

void SetImageRegistry(ImageRegistry* registry)
{
    gRegistry.store(registry, std::memory_order_release);
}
} // namespace Quoll
