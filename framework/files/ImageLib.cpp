#include "framework/files/ImageLib.h"

#include "framework/files/ImageCodecs.h"
#include "framework/files/PakInterface.h"

#include <atomic>

namespace ImageLib
{
namespace
{
std::atomic<bool> gJ2kCodecLoaded{false};

std::string LowerExtension(const std::string& fileName)
{
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = fileName.substr(dot + 1);
    for (char& c : extension)
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return extension;
}

using Decoder = std::unique_ptr<Image> (*)(Quoll::PakFileHandle*);

Decoder DecoderFor(const std::string& extension)
{
    if (extension == "png")
        return ReadPngImage;
    if (extension == "jpg" || extension == "jpeg")
        return ReadJpegImage;
    if (extension == "gif")
        return ReadGifImage;
    if (extension == "tga")
        return ReadTgaImage;
    const bool j2k = extension == "j2k" || extension == "jp2" || extension == "j2c" || extension == "jpc";
    if (j2k && gJ2kCodecLoaded)
        return ReadJ2kImage;
    return nullptr;
}
} // namespace

bool Image::SizeAllowed(uint64_t width, uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension &&
           width * height <= kMaxPixels;
}

Image::Image(int width, int height)
{
    if (width < 0 || height < 0 || !SizeAllowed(static_cast<uint64_t>(width), static_cast<uint64_t>(height)))
        return;
    mWidth = width;
    mHeight = height;
    mBits.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

std::unique_ptr<Image> ReadImageFile(const std::string& fileName)
{
    const Decoder decoder = DecoderFor(LowerExtension(fileName));
    if (decoder == nullptr)
        return nullptr;
    Quoll::PakFileHandle* file = Quoll::PakFOpen(fileName, "rb");
    if (file == nullptr)
        return nullptr;
    std::unique_ptr<Image> image = decoder(file);
    Quoll::PakFClose(file);
    return image;
}

bool LoadJ2kCodec()
{
    gJ2kCodecLoaded = true;
    return true;
}

void FreeJ2kCodec() { gJ2kCodecLoaded = false; }

} // namespace ImageLib
