#pragma once
// Image files: decoders for PNG, JPEG, GIF, TGA and JPEG 2000 into a plain 32-bit picture,
// and the PNG and JPEG writers used for screenshots and the image dump.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ImageLib
{
// A picture of 32-bit 0xAARRGGBB pixels, rows top to bottom, width words per row.
class Image
{
public:
    // The largest picture a decoder accepts: larger sizes in a file are taken as corrupt.
    static constexpr int kMaxDimension = 16384;
    static constexpr uint64_t kMaxPixels = uint64_t{1} << 24;
    static bool SizeAllowed(uint64_t width, uint64_t height);

    Image() = default;
    // Pixels zeroed. An empty image when the size is not allowed.
    Image(int width, int height);

    [[nodiscard]] int GetWidth() const { return mWidth; }
    [[nodiscard]] int GetHeight() const { return mHeight; }
    uint32_t* GetBits() { return mBits.empty() ? nullptr : mBits.data(); }
    [[nodiscard]] const uint32_t* GetBits() const { return mBits.empty() ? nullptr : mBits.data(); }

private:
    int mWidth = 0;
    int mHeight = 0;
    std::vector<uint32_t> mBits;
};

// Reads a file through the pack-file layer with the decoder of its extension (".png",
// ".jpg"/".jpeg", ".gif", ".tga", ".j2k"/".jp2"/".j2c"/".jpc"); null when the file is
// missing, the extension unknown or the data corrupt.
std::unique_ptr<Image> ReadImageFile(const std::string& fileName);

// Write to the disk ('\' accepted, letter case resolved) through a temporary file renamed
// over the target, so a failed write leaves any older file as it was. WritePng keeps the
// alpha channel; WriteJpeg writes three RGB components at quality 80.
bool WritePng(const std::string& fileName, const Image& image);
bool WriteJpeg(const std::string& fileName, const Image& image);

// The JPEG 2000 decoder is available between these calls (".j2k" and ".jp2" files fail to
// load while it is not). LoadJ2kCodec returns whether it is available.
bool LoadJ2kCodec();
void FreeJ2kCodec();
} // namespace ImageLib
