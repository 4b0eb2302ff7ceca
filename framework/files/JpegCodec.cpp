// JPEG through libjpeg: reading over the pack-file layer with a source manager of our own and
// a long-jump error handler, into 0xAARRGGBB pixels (alpha 0xff); writing three RGB
// components at quality 80.
#include "framework/files/ImageCodecs.h"
#include "framework/platform/system/AtomicFile.h"
#include "framework/files/PakInterface.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace ImageLib
{
namespace
{
struct JpegError
{
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
};

void LongJumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void Silent(j_common_ptr) {}
void SilentMessage(j_common_ptr, int) {}

void InstallQuietErrors(JpegError& error)
{
    jpeg_std_error(&error.manager);
    error.manager.error_exit = LongJumpOnError;
    error.manager.output_message = Silent;
    error.manager.emit_message = SilentMessage;
}

// The source manager: refills its block from the open pack file.
struct PakSource
{
    jpeg_source_mgr manager{};
    Quoll::PakFileHandle* file = nullptr;
    bool atEnd = false;
    JOCTET block[4096]{};
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<PakSource*>(info->src);
    size_t read = Quoll::PakFRead(source->block, 1, sizeof source->block, source->file);
    if (read == 0)
    {
        // A truncated file ends in an inserted end-of-image marker, as libjpeg recommends.
        source->block[0] = 0xFF;
        source->block[1] = JPEG_EOI;
        read = 2;
        source->atEnd = true;
    }
    source->manager.next_input_byte = source->block;
    source->manager.bytes_in_buffer = read;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    auto* source = reinterpret_cast<PakSource*>(info->src);
    while (count > 0)
    {
        if (source->manager.bytes_in_buffer == 0)
        {
            // Past the end nothing is skipped: the decoder must meet the inserted marker.
            if (source->atEnd)
                return;
            FillInputBuffer(info);
            if (source->atEnd)
                return;
        }
        const size_t step = std::min(static_cast<size_t>(count), source->manager.bytes_in_buffer);
        source->manager.next_input_byte += step;
        source->manager.bytes_in_buffer -= step;
        count -= static_cast<long>(step);
    }
}

struct JpegRead
{
    jpeg_decompress_struct info{};
    JpegError error;
    PakSource source;
    std::unique_ptr<Image> image;
};

bool DecodeJpeg(JpegRead& state)
{
    jpeg_decompress_struct& info = state.info;
    jpeg_read_header(&info, TRUE);
    if (!Image::SizeAllowed(info.image_width, info.image_height))
        return false;
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    if (info.output_components != 4)
        return false;
    state.image = std::make_unique<Image>(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(state.image->GetBits() + size_t{info.output_scanline} * info.output_width);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}
} // namespace

std::unique_ptr<Image> ReadJpegImage(Quoll::PakFileHandle* file)
{
    auto state = std::make_unique<JpegRead>();
    InstallQuietErrors(state->error);
    state->info.err = &state->error.manager;
    volatile bool ok = false; // set after setjmp: volatile keeps it through a longjmp
    if (setjmp(state->error.jump) == 0)
    {
        jpeg_create_decompress(&state->info);
        state->source.file = file;
        state->source.manager.init_source = InitSource;
        state->source.manager.fill_input_buffer = FillInputBuffer;
        state->source.manager.skip_input_data = SkipInputData;
        state->source.manager.resync_to_restart = jpeg_resync_to_restart;
        state->source.manager.term_source = TermSource;
        state->info.src = &state->source.manager;
        ok = DecodeJpeg(*state);
    }
    jpeg_destroy_decompress(&state->info);
    return ok ? std::move(state->image) : nullptr;
}

namespace
{
struct JpegWrite
{
    jpeg_compress_struct info{};
    JpegError error;
    std::vector<JSAMPLE> row;
    unsigned char* bytes = nullptr; // owned by libjpeg's memory destination, freed with free()
    unsigned long size = 0;
};

void EncodeJpeg(JpegWrite& state, const Image& image)
{
    jpeg_compress_struct& info = state.info;
    jpeg_mem_dest(&info, &state.bytes, &state.size);
    info.image_width = static_cast<JDIMENSION>(image.GetWidth());
    info.image_height = static_cast<JDIMENSION>(image.GetHeight());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 80, TRUE);
    jpeg_start_compress(&info, TRUE);
    state.row.resize(static_cast<size_t>(image.GetWidth()) * 3);
    while (info.next_scanline < info.image_height)
    {
        const uint32_t* pixels = image.GetBits() + size_t{info.next_scanline} * info.image_width;
        for (size_t x = 0; x < info.image_width; ++x)
        {
            state.row[x * 3 + 0] = static_cast<JSAMPLE>(pixels[x] >> 16);
            state.row[x * 3 + 1] = static_cast<JSAMPLE>(pixels[x] >> 8);
            state.row[x * 3 + 2] = static_cast<JSAMPLE>(pixels[x]);
        }
        JSAMPROW row = state.row.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
}
} // namespace

bool WriteJpeg(const std::string& fileName, const Image& image)
{
    if (image.GetBits() == nullptr)
        return false;
    auto state = std::make_unique<JpegWrite>();
    InstallQuietErrors(state->error);
    state->info.err = &state->error.manager;
    volatile bool ok = false; // set after setjmp: volatile keeps it through a longjmp
    if (setjmp(state->error.jump) == 0)
    {
        jpeg_create_compress(&state->info);
        EncodeJpeg(*state, image);
        ok = true;
    }
    jpeg_destroy_compress(&state->info);
    ok = ok && Quoll::Platform::WriteFileAtomically(fileName, {state->bytes, state->size});
    std::free(state->bytes);
    return ok;
}
} // namespace ImageLib
