// GIF through giflib: the first frame only, placed on the logical screen; the transparent
// index of its graphic control block and the screen outside the frame get alpha 0.
#include "framework/files/ImageCodecs.h"
#include "framework/files/PakInterface.h"

#include <gif_lib.h>

namespace ImageLib
{
namespace
{
int ReadFromPak(GifFileType* gif, GifByteType* buffer, int length)
{
    if (length <= 0)
        return 0;
    return static_cast<int>(Quoll::PakFRead(buffer, 1, static_cast<size_t>(length), static_cast<Quoll::PakFileHandle*>(gif->UserData)));
}

// Reads the frame's rows, in the four-pass order when it is interlaced.
bool ReadFrameIndexes(GifFileType* gif, int width, int height, std::vector<GifPixelType>& indexes)
{
    indexes.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    auto readRow = [&](int y) { return DGifGetLine(gif, indexes.data() + static_cast<size_t>(y) * width, width) == GIF_OK; };
    if (!gif->Image.Interlace)
    {
        for (int y = 0; y < height; ++y)
            if (!readRow(y))
                return false;
        return true;
    }
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            if (!readRow(y))
                return false;
    return true;
}

// 1. Skip to the first image, keeping the last graphic control block before it.
// 2. Check the screen and the frame, 3. read the indexes, 4. paint the frame on the screen.
std::unique_ptr<Image> DecodeFirstFrame(GifFileType* gif)
{
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    while (true)
    {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK || type == TERMINATE_RECORD_TYPE)
            return nullptr;
        if (type == IMAGE_DESC_RECORD_TYPE)
            break;
        if (type != EXTENSION_RECORD_TYPE)
            continue;
        int code = 0;
        GifByteType* extension = nullptr;
        if (DGifGetExtension(gif, &code, &extension) != GIF_OK)
            return nullptr;
        if (code == GRAPHICS_EXT_FUNC_CODE && extension != nullptr)
            DGifExtensionToGCB(extension[0], extension + 1, &control);
        while (extension != nullptr)
            if (DGifGetExtensionNext(gif, &extension) != GIF_OK)
                return nullptr;
    }
    if (DGifGetImageDesc(gif) != GIF_OK)
        return nullptr;

    const GifImageDesc& frame = gif->Image;
    if (!Image::SizeAllowed(static_cast<uint64_t>(gif->SWidth), static_cast<uint64_t>(gif->SHeight)) ||
        !Image::SizeAllowed(static_cast<uint64_t>(frame.Width), static_cast<uint64_t>(frame.Height)))
        return nullptr;
    const ColorMapObject* colors = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colors == nullptr || colors->Colors == nullptr)
        return nullptr;

    std::vector<GifPixelType> indexes;
    if (!ReadFrameIndexes(gif, frame.Width, frame.Height, indexes))
        return nullptr;

    auto image = std::make_unique<Image>(gif->SWidth, gif->SHeight);
    for (int y = 0; y < frame.Height; ++y)
        for (int x = 0; x < frame.Width; ++x)
        {
            const int sx = frame.Left + x;
            const int sy = frame.Top + y;
            const int index = indexes[static_cast<size_t>(y) * frame.Width + x];
            if (sx < 0 || sy < 0 || sx >= gif->SWidth || sy >= gif->SHeight || index == control.TransparentColor ||
                index >= colors->ColorCount)
                continue;
            const GifColorType& c = colors->Colors[index];
            image->GetBits()[static_cast<size_t>(sy) * gif->SWidth + sx] =
                0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
        }
    return image;
}
} // namespace

std::unique_ptr<Image> ReadGifImage(Quoll::PakFileHandle* file)
{
    int error = 0;
    GifFileType* gif = DGifOpen(file, ReadFromPak, &error);
    if (gif == nullptr)
        return nullptr;
    std::unique_ptr<Image> image = DecodeFirstFrame(gif);
    DGifCloseFile(gif, &error);
    return image;
}
} // namespace ImageLib
