// JPEG 2000 through OpenJPEG, reading the file over the pack-file layer: JP2 files and raw
// codestreams, one to four components (grey, grey + alpha, RGB, RGBA) of any precision,
// subsampled components sampled at their own resolution.
#include "framework/files/ImageCodecs.h"
#include "framework/files/PakInterface.h"

#include <algorithm>
#include <cstring>
#include <openjpeg.h>

namespace ImageLib
{
namespace
{
OPJ_SIZE_T StreamRead(void* buffer, OPJ_SIZE_T size, void* user)
{
    const size_t read = Quoll::PakFRead(buffer, 1, size, static_cast<Quoll::PakFileHandle*>(user));
    return read == 0 ? static_cast<OPJ_SIZE_T>(-1) : read;
}

OPJ_OFF_T StreamSkip(OPJ_OFF_T count, void* user)
{
    auto* file = static_cast<Quoll::PakFileHandle*>(user);
    return Quoll::PakFSeek(file, static_cast<long>(count), SEEK_CUR) == 0 ? count : -1;
}

OPJ_BOOL StreamSeek(OPJ_OFF_T position, void* user)
{
    return Quoll::PakFSeek(static_cast<Quoll::PakFileHandle*>(user), static_cast<long>(position), SEEK_SET) == 0;
}

void Quiet(const char*, void*) {}

// The codec by the file's first bytes: a JP2 signature box or a codestream's SOC and SIZ.
bool DetectFormat(Quoll::PakFileHandle* file, OPJ_CODEC_FORMAT& format)
{
    static const uint8_t kJp2[] = {0x00, 0x00, 0x00, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    static const uint8_t kJ2k[] = {0xFF, 0x4F, 0xFF, 0x51};
    uint8_t start[12] = {};
    const size_t read = Quoll::PakFRead(start, 1, sizeof start, file);
    if (Quoll::PakFSeek(file, 0, SEEK_SET) != 0)
        return false;
    if (read == sizeof kJp2 && std::memcmp(start, kJp2, sizeof kJp2) == 0)
        format = OPJ_CODEC_JP2;
    else if (read >= sizeof kJ2k && std::memcmp(start, kJ2k, sizeof kJ2k) == 0)
        format = OPJ_CODEC_J2K;
    else
        return false;
    return true;
}

// A component's sample at image pixel (x, y), scaled to 0..255.
uint32_t Sample(const opj_image_comp_t& comp, uint32_t x, uint32_t y)
{
    const uint32_t cx = std::min(x / comp.dx, comp.w - 1);
    const uint32_t cy = std::min(y / comp.dy, comp.h - 1);
    int64_t value = comp.data[size_t{cy} * comp.w + cx];
    if (comp.sgnd)
        value += int64_t{1} << (comp.prec - 1);
    const int64_t maximum = (int64_t{1} << comp.prec) - 1;
    value = std::clamp<int64_t>(value, 0, maximum);
    return static_cast<uint32_t>(comp.prec >= 8 ? value >> (comp.prec - 8) : value * 255 / maximum);
}

bool ComponentsUsable(const opj_image_t& image)
{
    if (image.numcomps < 1 || image.numcomps > 4 || image.comps == nullptr)
        return false;
    for (uint32_t i = 0; i < image.numcomps; ++i)
    {
        const opj_image_comp_t& comp = image.comps[i];
        if (comp.data == nullptr || comp.w == 0 || comp.h == 0 || comp.dx == 0 || comp.dy == 0 || comp.prec < 1 ||
            comp.prec > 31)
            return false;
    }
    return true;
}

std::unique_ptr<Image> ToImage(const opj_image_t& decoded, uint32_t width, uint32_t height)
{
    auto image = std::make_unique<Image>(static_cast<int>(width), static_cast<int>(height));
    const opj_image_comp_t* c = decoded.comps;
    const uint32_t count = decoded.numcomps;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t first = Sample(c[0], x, y);
            const bool colour = count >= 3;
            const uint32_t r = first;
            const uint32_t g = colour ? Sample(c[1], x, y) : first;
            const uint32_t b = colour ? Sample(c[2], x, y) : first;
            const uint32_t a = count == 2 ? Sample(c[1], x, y) : count == 4 ? Sample(c[3], x, y) : 0xFF;
            image->GetBits()[size_t{y} * width + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    return image;
}

// 1. Codec by signature, 2. header and size check, 3. decode, 4. convert.
std::unique_ptr<Image> Decode(Quoll::PakFileHandle* file, opj_stream_t* stream, opj_codec_t*& codec, opj_image_t*& decoded)
{
    OPJ_CODEC_FORMAT format = OPJ_CODEC_UNKNOWN;
    if (!DetectFormat(file, format))
        return nullptr;
    codec = opj_create_decompress(format);
    if (codec == nullptr)
        return nullptr;
    opj_set_error_handler(codec, Quiet, nullptr);
    opj_set_warning_handler(codec, Quiet, nullptr);
    opj_set_info_handler(codec, Quiet, nullptr);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(codec, &parameters) || !opj_read_header(stream, codec, &decoded) || decoded == nullptr)
        return nullptr;
    if (decoded->x1 <= decoded->x0 || decoded->y1 <= decoded->y0)
        return nullptr;
    const uint32_t width = decoded->x1 - decoded->x0;
    const uint32_t height = decoded->y1 - decoded->y0;
    if (!Image::SizeAllowed(width, height))
        return nullptr;
    if (!opj_decode(codec, stream, decoded) || !opj_end_decompress(codec, stream) || !ComponentsUsable(*decoded))
        return nullptr;
    return ToImage(*decoded, width, height);
}
} // namespace

std::unique_ptr<Image> ReadJ2kImage(Quoll::PakFileHandle* file)
{
    const long start = Quoll::PakFTell(file);
    if (start != 0 || Quoll::PakFSeek(file, 0, SEEK_END) != 0)
        return nullptr;
    const long size = Quoll::PakFTell(file);
    if (Quoll::PakFSeek(file, 0, SEEK_SET) != 0)
        return nullptr;
    opj_stream_t* stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE);
    if (stream == nullptr)
        return nullptr;
    opj_stream_set_user_data(stream, file, nullptr);
    opj_stream_set_user_data_length(stream, static_cast<OPJ_UINT64>(size));
    opj_stream_set_read_function(stream, StreamRead);
    opj_stream_set_skip_function(stream, StreamSkip);
    opj_stream_set_seek_function(stream, StreamSeek);
    opj_codec_t* codec = nullptr;
    opj_image_t* decoded = nullptr;
    std::unique_ptr<Image> image = Decode(file, stream, codec, decoded);
    opj_image_destroy(decoded);
    if (codec != nullptr)
        opj_destroy_codec(codec);
    opj_stream_destroy(stream);
    return image;
}
} // namespace ImageLib
