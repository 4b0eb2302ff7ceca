#pragma once
// The decoders behind ReadImageFile, each reading an open file from its current position,
// and the helpers the writers share. Null or false on any failure; nothing is printed.
#include "framework/resources/ImageLib.h"

#include <cstdio>

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

// An output file written under a temporary name and renamed over the target by Commit.
class OutputFile
{
public:
    explicit OutputFile(const std::string& fileName);
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    [[nodiscard]] std::FILE* Get() const { return mFile; }
    // Flushes, closes and renames; false (and nothing renamed) on any error.
    bool Commit();

private:
    std::string mTarget;
    std::string mTemporary;
    std::FILE* mFile = nullptr;
};
} // namespace ImageLib
