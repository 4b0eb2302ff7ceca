// PNG through libpng: reading over the pack-file layer into 0xAARRGGBB pixels (palette and
// grey expanded, 16-bit channels reduced, a filler alpha of 0xff when the file has none),
// and writing 32-bit pictures with their alpha.
#include "framework/files/ImageCodecs.h"
#include "framework/platform/system/AtomicFile.h"
#include "framework/files/PakInterface.h"

#include <csetjmp>
#include <png.h>

namespace ImageLib
{
namespace
{
void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void QuietWarning(png_structp, png_const_charp) {}

void ReadFromPak(png_structp png, png_bytep data, size_t length)
{
    auto* file = static_cast<Quoll::PakFileHandle*>(png_get_io_ptr(png));
    if (Quoll::PakFRead(data, 1, length, file) != length)
        png_error(png, "truncated");
}

// State that must survive a long jump out of libpng lives on the heap, reached through
// pointers that do not change after setjmp.
struct PngRead
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<Image> image;
    std::vector<png_bytep> rows;
};

// 1. Header and size check, 2. transformations to BGRA bytes, 3. the rows.
bool DecodePng(PngRead& state)
{
    png_structp png = state.png;
    png_infop info = state.info;
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!Image::SizeAllowed(width, height))
        return false;

    const int colorType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4)
        return false;

    state.image = std::make_unique<Image>(static_cast<int>(width), static_cast<int>(height));
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        state.rows[y] = reinterpret_cast<png_bytep>(state.image->GetBits() + size_t{y} * width);
    png_read_image(png, state.rows.data());
    png_read_end(png, nullptr);
    return true;
}
} // namespace

std::unique_ptr<Image> ReadPngImage(Quoll::PakFileHandle* file)
{
    auto state = std::make_unique<PngRead>();
    state->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
    if (state->png == nullptr)
        return nullptr;
    state->info = png_create_info_struct(state->png);
    volatile bool ok = false; // set after setjmp: volatile keeps it through a longjmp
    if (state->info != nullptr)
    {
        if (setjmp(png_jmpbuf(state->png)) == 0)
        {
            png_set_user_limits(state->png, Image::kMaxDimension, Image::kMaxDimension);
            png_set_read_fn(state->png, file, ReadFromPak);
            ok = DecodePng(*state);
        }
    }
    png_destroy_read_struct(&state->png, &state->info, nullptr);
    return ok ? std::move(state->image) : nullptr;
}

namespace
{
struct PngWrite
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
    std::vector<uint8_t> bytes;
};

void WriteToMemory(png_structp png, png_bytep data, size_t length)
{
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void Flush(png_structp) {}

void EncodePng(PngWrite& state, const Image& image)
{
    png_set_write_fn(state.png, &state.bytes, WriteToMemory, Flush);
    png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(image.GetWidth()),
                 static_cast<png_uint_32>(image.GetHeight()), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(state.png, state.info);
    png_set_bgr(state.png);
    state.rows.resize(static_cast<size_t>(image.GetHeight()));
    for (size_t y = 0; y < state.rows.size(); ++y)
        state.rows[y] = const_cast<png_bytep>(
            reinterpret_cast<const png_byte*>(image.GetBits() + y * static_cast<size_t>(image.GetWidth())));
    png_write_image(state.png, state.rows.data());
    png_write_end(state.png, nullptr);
}
} // namespace

bool WritePng(const std::string& fileName, const Image& image)
{
    if (image.GetBits() == nullptr)
        return false;
    auto state = std::make_unique<PngWrite>();
    state->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
    if (state->png == nullptr)
        return false;
    state->info = png_create_info_struct(state->png);
    volatile bool ok = false; // set after setjmp: volatile keeps it through a longjmp
    if (state->info != nullptr)
    {
        if (setjmp(png_jmpbuf(state->png)) == 0)
        {
            EncodePng(*state, image);
            ok = true;
        }
    }
    png_destroy_write_struct(&state->png, &state->info);
    return ok && Quoll::Platform::WriteFileAtomically(fileName, state->bytes);
}
} // namespace ImageLib
