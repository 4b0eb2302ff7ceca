#pragma once
// The decoders behind ReadImageFile, each reading an open file from its current position.
// Null on any failure; nothing is printed.
#include "framework/files/ImageLib.h"

namespace Quoll
{
struct PakFileHandle;
}

namespace ImageLib
{
std::unique_ptr<Image> ReadPngImage(Quoll::PakFileHandle* file);
std::unique_ptr<Image> ReadJpegImage(Quoll::PakFileHandle* file);
std::unique_ptr<Image> ReadGifImage(Quoll::PakFileHandle* file);
std::unique_ptr<Image> ReadTgaImage(Quoll::PakFileHandle* file);
std::unique_ptr<Image> ReadJ2kImage(Quoll::PakFileHandle* file);

} // namespace ImageLib
