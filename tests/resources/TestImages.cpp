// Test-picture writers; see TestImages.h.
#include "TestImages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gif_lib.h>
#include <openjpeg.h>
#include <png.h>

namespace QuollTest
{
ImageLib::Image RandomImage(int width, int height, unsigned seed)
{
    ImageLib::Image image(width, height);
    std::mt19937 rng(seed);
    for (int i = 0; i < width * height; ++i)
    {
        uint32_t pixel = rng();
        switch (rng() % 4)
        {
        case 0: pixel &= 0x00FFFFFF; break;
        case 1: pixel |= 0xFF000000; break;
        default: break;
        }
        image.GetBits()[i] = pixel;
    }
    return image;
}

ImageLib::Image GradientImage(int width, int height)
{
    ImageLib::Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.GetBits()[y * width + x] = 0xFF000000u | (uint32_t(x * 255 / width) << 16) |
                                             (uint32_t(y * 255 / height) << 8) | uint32_t((x + y) * 127 / (width + height));
    return image;
}

namespace
{
bool WritePngRows(const std::string& path, int width, int height, int colourType, const std::vector<png_color>& palette,
                  const std::vector<png_byte>& trans, const std::vector<uint8_t>& rowsData, int bytesPerPixel)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0)
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!trans.empty())
        png_set_tRNS(png, info, trans.data(), static_cast<int>(trans.size()), nullptr);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rowsData.data() + size_t(y) * width * bytesPerPixel);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}
} // namespace

bool WritePalettePng(const std::string& path, int width, int height, const std::vector<uint32_t>& palette,
                     const std::vector<uint8_t>& indexes)
{
    std::vector<png_color> colours;
    std::vector<png_byte> trans;
    for (uint32_t c : palette)
    {
        colours.push_back({png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
        trans.push_back(png_byte(c >> 24));
    }
    return WritePngRows(path, width, height, PNG_COLOR_TYPE_PALETTE, colours, trans, indexes, 1);
}

bool WriteGreyPng(const std::string& path, int width, int height, const std::vector<uint8_t>& grey,
                  const std::vector<uint8_t>& alpha)
{
    if (alpha.empty())
        return WritePngRows(path, width, height, PNG_COLOR_TYPE_GRAY, {}, {}, grey, 1);
    std::vector<uint8_t> interleaved;
    for (size_t i = 0; i < grey.size(); ++i)
    {
        interleaved.push_back(grey[i]);
        interleaved.push_back(alpha[i]);
    }
    return WritePngRows(path, width, height, PNG_COLOR_TYPE_GRAY_ALPHA, {}, {}, interleaved, 2);
}

bool WriteGif(const std::string& path, int screenWidth, int screenHeight, const std::vector<uint32_t>& colours,
              const std::vector<GifFrame>& frames)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr)
        return false;
    std::vector<GifColorType> entries;
    for (uint32_t c : colours)
        entries.push_back({GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)});
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(entries.size()), entries.data()); // power of 2 only
    bool ok = map != nullptr && EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, map) == GIF_OK;
    for (const GifFrame& f : frames)
    {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = f.transparentIndex;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK;
        ok = ok && EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, nullptr) == GIF_OK;
        // Interlaced rows are stored in four passes: every 8th from 0, every 8th from 4,
        // every 4th from 2, every 2nd from 1.
        std::vector<int> order;
        if (f.interlaced)
        {
            for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
                for (int y = start; y < f.height; y += step)
                    order.push_back(y);
        }
        else
            for (int y = 0; y < f.height; ++y)
                order.push_back(y);
        for (int y : order)
            ok = ok && EGifPutLine(gif, const_cast<GifPixelType*>(f.indexes.data()) + size_t(y) * f.width, f.width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok;
}

bool WriteJ2k(const std::string& path, const ImageLib::Image& image, bool withAlpha, bool jp2)
{
    const int count = withAlpha ? 4 : 3;
    opj_image_cmptparm_t params[4] = {};
    for (int i = 0; i < count; ++i)
    {
        params[i].dx = params[i].dy = 1;
        params[i].w = static_cast<OPJ_UINT32>(image.GetWidth());
        params[i].h = static_cast<OPJ_UINT32>(image.GetHeight());
        params[i].prec = 8;
        params[i].sgnd = 0;
    }
    opj_image_t* j2k = opj_image_create(static_cast<OPJ_UINT32>(count), params, OPJ_CLRSPC_SRGB);
    j2k->x1 = static_cast<OPJ_UINT32>(image.GetWidth());
    j2k->y1 = static_cast<OPJ_UINT32>(image.GetHeight());
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i)
    {
        const uint32_t p = image.GetBits()[i];
        j2k->comps[0].data[i] = (p >> 16) & 0xFF;
        j2k->comps[1].data[i] = (p >> 8) & 0xFF;
        j2k->comps[2].data[i] = p & 0xFF;
        if (withAlpha)
        {
            j2k->comps[3].data[i] = p >> 24;
            j2k->comps[3].alpha = 1;
        }
    }
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0; // lossless
    parameters.cp_disto_alloc = 1;
    parameters.numresolution = 2;
    opj_codec_t* codec = opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    opj_stream_t* stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE);
    const bool ok = codec != nullptr && stream != nullptr && opj_setup_encoder(codec, &parameters, j2k) &&
                    opj_start_compress(codec, j2k, stream) && opj_encode(codec, stream) &&
                    opj_end_compress(codec, stream);
    if (stream != nullptr)
        opj_stream_destroy(stream);
    if (codec != nullptr)
        opj_destroy_codec(codec);
    opj_image_destroy(j2k);
    return ok;
}
} // namespace QuollTest
