#pragma once
// What images need of the application and its display: registration of every memory image (so
// display changes can rebuild or drop derived data), the display's pixel format, whether a 3D
// renderer holds textures, and the shared-image clean-up flag. The application object
// implements it and installs itself with SetImageRegistry; until then a null registry answers
// (nothing registered, 32-bit ARGB display, no 3D).
#include "framework/display/PixelFormat.h"

#include <cstdint>

namespace Quoll
{
class MemoryImage;

class ImageRegistry
{
public:
    virtual ~ImageRegistry() = default;

    // Called under the display's lock by the implementer.
    virtual void AddMemoryImage(MemoryImage* image);
    virtual void RemoveMemoryImage(MemoryImage* image);
    // Drops the image's texture in the 3D renderer.
    virtual void Remove3DData(MemoryImage* image);
    [[nodiscard]] virtual bool Is3DAccelerated() const;
    [[nodiscard]] virtual const PixelFormat& GetDisplayFormat() const;
    // Reads the image's texture back into bits (width * height words); false when it cannot.
    virtual bool ReadTextureBits(MemoryImage* image, uint32_t* bits);
    // A shared image lost its last user; the next clean-up deletes unused shared images.
    virtual void SharedImagesChanged();
};

// The registry of the running application, or the null registry; never null.
ImageRegistry* GetImageRegistry();
// Installs the application's registry (null restores the null registry).
void SetImageRegistry(ImageRegistry* registry);
} // namespace Quoll
