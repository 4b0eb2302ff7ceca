// The 3D renderer's textures: format choice, piece sizes, copying an image into its pieces and
// back.
#include "framework/display/D3DInterface.h"
#include "framework/display/DDInterface.h"
#include "framework/display/MemoryImage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace Quoll
{
using namespace Platform;

Platform::TextureFormat MakePixelFormat(int code)
{
    switch (code)
    {
    case kTexFormatA8R8G8B8:
        return TextureFormat::A8R8G8B8();
    case kTexFormatA4R4G4B4:
        return TextureFormat::A4R4G4B4();
    case kTexFormatR5G6B5:
        return TextureFormat::R5G6B5();
    case kTexFormatPalette8:
        return TextureFormat::Palette8();
    default:
        return {};
    }
}

int GetPixelFormatCode(const Platform::TextureFormat& format)
{
    for (int code : {kTexFormatA8R8G8B8, kTexFormatA4R4G4B4, kTexFormatR5G6B5, kTexFormatPalette8})
        if (MakePixelFormat(code) == format)
            return code;
    return 0;
}

TextureLimits TextureLimits::FromCaps(const Platform::D3DDeviceCaps& caps)
{
    TextureLimits limits;
    if (caps.maxTextureWidth == 0)
        return limits; // 64 x 64, aspect 1
    limits.minWidth = std::max(caps.minTextureWidth, 1);
    limits.minHeight = std::max(caps.minTextureHeight, 1);
    limits.maxWidth = std::min(caps.maxTextureWidth, 1024);
    limits.maxHeight = std::min(caps.maxTextureHeight, 1024);
    limits.maxAspectRatio = caps.maxTextureAspectRatio == 0 ? 65536 : caps.maxTextureAspectRatio;
    return limits;
}

int RoundUpPow2(int n)
{
    return n < 2 ? 1 : static_cast<int>(std::bit_ceil(static_cast<unsigned>(n)));
}

namespace
{
// Piece size for each dimension below 1024: the next power of two, or a smaller power of two
// that divides the dimension with a remainder below 64 (or a power-of-two remainder), so that
// a piece wastes at most 64 texels wherever that is possible.
const std::array<int, 1024>& PieceSizeTable()
{
    static const std::array<int, 1024> table = [] {
        std::array<int, 1024> t{};
        for (int n = 0; n < 1024; ++n)
        {
            const int p = RoundUpPow2(n);
            int s = p;
            if (p - n > 64)
                while (s > 1 && !(n % s < 64 || std::has_single_bit(static_cast<unsigned>(n % s))))
                    s /= 2;
            t[static_cast<size_t>(n)] = s;
        }
        return t;
    }();
    return table;
}
} // namespace

void GetBestTextureDimensions(const TextureLimits& limits, int& width, int& height, bool remainder, int flags)
{
    // Small pieces on request.
    if ((flags & kTexFlagSmallPieces) != 0)
    {
        width = height = 64;
        return;
    }
    // The table for whole pieces, powers of two for remainders.
    const auto& table = PieceSizeTable();
    const bool useTable = !remainder && (flags & kTexFlagPow2) == 0;
    auto pick = [&](int n, int maximum) {
        if (n >= maximum)
            return maximum;
        return useTable ? table[static_cast<size_t>(std::clamp(n, 0, 1023))] : RoundUpPow2(n);
    };
    width = pick(width, limits.maxWidth);
    height = pick(height, limits.maxHeight);
    // Minimum sizes and the aspect limit.
    width = std::max(width, limits.minWidth);
    height = std::max(height, limits.minHeight);
    const int64_t aspect = limits.maxAspectRatio;
    while (std::min(width, height) * aspect < std::max(width, height))
    {
        if (width < height)
            width *= 2;
        else
            height *= 2;
    }
}

void TextureData::CreateTextureDimensions(const TextureLimits& limits, int flags)
{
    int pw = width, ph = height;
    GetBestTextureDimensions(limits, pw, ph, false, flags);
    pieceWidth = pw;
    pieceHeight = ph;
    const int remW = width % pw, remH = height % ph;
    int colW = remW, colH = ph, rowW = pw, rowH = remH, cornerW = remW > 0 ? remW : pw, cornerH = remH > 0 ? remH : ph;
    if (remW > 0)
        GetBestTextureDimensions(limits, colW, colH, true, flags);
    if (remH > 0)
        GetBestTextureDimensions(limits, rowW, rowH, true, flags);
    if (remW > 0 || remH > 0)
        GetBestTextureDimensions(limits, cornerW, cornerH, true, flags);
    columns = (width + pw - 1) / pw;
    rows = (height + ph - 1) / ph;
    pieces.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), Piece{});
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
        {
            Piece& piece = pieces[static_cast<size_t>(r * columns + c)];
            const bool lastCol = c == columns - 1 && remW > 0, lastRow = r == rows - 1 && remH > 0;
            piece.texWidth = lastCol && lastRow ? cornerW : lastCol ? colW : lastRow ? rowW : pw;
            piece.texHeight = lastCol && lastRow ? cornerH : lastCol ? colH : lastRow ? rowH : ph;
        }
    maxU = static_cast<float>(width) / static_cast<float>(pw);
    maxV = static_cast<float>(height) / static_cast<float>(ph);
}

TextureData::Piece& TextureData::GetTexture(int x, int y, int& w, int& h, float& u0, float& v0, float& u1, float& v1)
{
    const int col = std::clamp(x / pieceWidth, 0, columns - 1), row = std::clamp(y / pieceHeight, 0, rows - 1);
    Piece& piece = pieces[static_cast<size_t>(row * columns + col)];
    const int lx = x - col * pieceWidth, ly = y - row * pieceHeight;
    w = std::min(w, piece.texWidth - lx);
    h = std::min(h, piece.texHeight - ly);
    const auto tw = static_cast<float>(piece.texWidth), th = static_cast<float>(piece.texHeight);
    u0 = static_cast<float>(lx) / tw;
    v0 = static_cast<float>(ly) / th;
    u1 = static_cast<float>(lx + w) / tw;
    v1 = static_cast<float>(ly + h) / th;
    return piece;
}

// --- Conversions -------------------------------------------------------------------------------

namespace
{
uint32_t ToTexel(uint32_t c, int code)
{
    switch (code)
    {
    case kTexFormatA4R4G4B4:
        return ((c >> 16) & 0xF000) | ((c >> 12) & 0xF00) | ((c >> 8) & 0xF0) | ((c >> 4) & 0xF);
    case kTexFormatR5G6B5:
        return ((c >> 8) & 0xF800) | ((c >> 5) & 0x7E0) | ((c >> 3) & 0x1F);
    default:
        return c;
    }
}

// The alpha of an A4R4G4B4 texel is kept (its nibble times 17); colour nibbles become the upper
// half of their byte.
uint32_t FromTexel(uint32_t t, int code, const uint32_t* palette)
{
    switch (code)
    {
    case kTexFormatA4R4G4B4:
        return (((t >> 12) & 0xF) * 17) << 24 | ((t & 0xF00) << 12) | ((t & 0xF0) << 8) | ((t & 0xF) << 4);
    case kTexFormatR5G6B5:
        return 0xFF000000 | ((t & 0xF800) << 8) | ((t & 0x7E0) << 5) | ((t & 0x1F) << 3);
    case kTexFormatPalette8:
        return palette != nullptr ? palette[t & 0xFF] : 0;
    default:
        return t;
    }
}

int BytesPerTexel(int code)
{
    return code == kTexFormatPalette8 ? 1 : code == kTexFormatA8R8G8B8 ? 4 : 2;
}

void StoreTexel(uint8_t* row, int x, int bytes, uint32_t texel)
{
    std::memcpy(row + static_cast<ptrdiff_t>(x) * bytes, &texel, static_cast<size_t>(bytes));
}

uint32_t LoadTexel(const uint8_t* row, int x, int bytes)
{
    uint32_t texel = 0;
    std::memcpy(&texel, row + static_cast<ptrdiff_t>(x) * bytes, static_cast<size_t>(bytes));
    return texel;
}

// Pixel i of the image in the texture's terms: an index for the palette format, else ARGB.
uint32_t SourcePixel(const MemoryImage& image, size_t i, int code)
{
    if (code == kTexFormatPalette8)
        return image.mPaletteIndices[i];
    if (image.mBits)
        return image.mBits[i];
    return image.mPalette[image.mPaletteIndices[i]];
}
} // namespace

bool D3DInterface::CopyImageToTexture(SoftTexture& texture, MemoryImage* image, int x, int y, int pieceWidth,
                                      int pieceHeight, int code)
{
    uint8_t* pixels = nullptr;
    int pitch = 0;
    if (CheckDXError(texture.Lock(&pixels, &pitch), "Lock Texture"))
        return false;
    const int copyW = std::min(pieceWidth, image->GetWidth() - x);
    const int copyH = std::min(pieceHeight, image->GetHeight() - y);
    const int bytes = BytesPerTexel(code);
    for (int row = 0; row < copyH; ++row)
    {
        uint8_t* out = pixels + static_cast<ptrdiff_t>(row) * pitch;
        const size_t base = static_cast<size_t>(y + row) * static_cast<size_t>(image->GetWidth()) + static_cast<size_t>(x);
        for (int col = 0; col < copyW; ++col)
            StoreTexel(out, col, bytes, ToTexel(SourcePixel(*image, base + static_cast<size_t>(col), code), code));
        // The edge texel once more, so that filtering at the image's edge does not fade out.
        if (copyW > 0 && copyW < pieceWidth)
            StoreTexel(out, copyW, bytes, LoadTexel(out, copyW - 1, bytes));
    }
    if (copyH > 0 && copyH < pieceHeight)
        std::memcpy(pixels + static_cast<ptrdiff_t>(copyH) * pitch, pixels + static_cast<ptrdiff_t>(copyH - 1) * pitch,
                    static_cast<size_t>(std::min(pieceWidth, copyW + 1)) * static_cast<size_t>(bytes));
    CheckDXError(texture.Unlock(), "Texture Unlock");
    return true;
}

std::shared_ptr<SoftTexture> D3DInterface::CreateTextureSurface(int width, int height, int code)
{
    CheckDXError(mDevice->SetTexture(0, nullptr), "SetTexture NULL");
    std::shared_ptr<SoftTexture> texture;
    if (Failed(mD3D->CreateTexture(width, height, MakePixelFormat(code), texture)))
        return nullptr;
    return texture;
}

bool D3DInterface::CheckCreateTextures(MemoryImage* image, TextureData& data)
{
    if (data.formatCode == 0 || data.width != image->GetWidth() || data.height != image->GetHeight() ||
        data.version != image->mBitsChangedCount || data.imageFlags != image->mTextureFlags)
        CreateTextures(image, data);
    return data.formatCode != 0;
}

void D3DInterface::CreateTextures(MemoryImage* image, TextureData& data)
{
    if (!mDevice || image->GetWidth() <= 0 || image->GetHeight() <= 0)
        return;
    image->DeleteSoftwareBuffers();
    image->CommitBits();
    if (!image->mBits && !(image->mPalette && image->mPaletteIndices))
    {
        data.formatCode = 0; // no pixels to make textures of
        return;
    }
    // 1. The format.
    const int flags = image->mTextureFlags;
    int code = kTexFormatA8R8G8B8;
    if (!image->mHasAlpha && !image->mHasTrans && (mLimits.supportedFormats & kTexFormatR5G6B5) != 0 &&
        (flags & kTexFlagNo565) == 0)
        code = kTexFormatR5G6B5;
    std::shared_ptr<SoftPalette> palette;
    if (image->mPalette && image->mPaletteIndices && (mLimits.supportedFormats & kTexFormatPalette8) != 0 &&
        mDisplay != nullptr && mDisplay->mDD)
    {
        if (Failed(mDisplay->mDD->CreatePalette({image->mPalette.get(), 256}, palette)))
            mLimits.supportedFormats &= ~kTexFormatPalette8;
        else
            code = kTexFormatPalette8;
    }
    if (code == kTexFormatA8R8G8B8 &&
        (((flags & kTexFlagPrefer4444) != 0 && (mLimits.supportedFormats & kTexFormatA4R4G4B4) != 0) ||
         (mLimits.supportedFormats & kTexFormatA8R8G8B8) == 0))
        code = kTexFormatA4R4G4B4;
    // 2. New piece layout when size, format or flags changed.
    const bool recreate = image->GetWidth() != data.width || image->GetHeight() != data.height ||
                          code != data.formatCode || flags != data.imageFlags;
    if (recreate)
    {
        data.pieces.clear();
        data.width = image->GetWidth();
        data.height = image->GetHeight();
        data.formatCode = code;
        data.imageFlags = flags;
        data.memoryBytes = palette ? 1024 : 0;
        data.CreateTextureDimensions(mLimits, flags);
    }
    data.palette = palette;
    // 3. The pieces, row by row.
    for (int r = 0; r < data.rows; ++r)
        for (int c = 0; c < data.columns; ++c)
        {
            TextureData::Piece& piece = data.pieces[static_cast<size_t>(r * data.columns + c)];
            if (recreate)
            {
                piece.texture = CreateTextureSurface(piece.texWidth, piece.texHeight, code);
                if (!piece.texture)
                {
                    data.formatCode = 0;
                    return;
                }
                data.memoryBytes += static_cast<size_t>(piece.texWidth) * static_cast<size_t>(piece.texHeight) *
                                    static_cast<size_t>(BytesPerTexel(code));
            }
            if (palette)
                piece.texture->SetPalette(palette);
            if (!CopyImageToTexture(*piece.texture, image, c * data.pieceWidth, r * data.pieceHeight,
                                    piece.texWidth, piece.texHeight, code))
            {
                data.formatCode = 0;
                return;
            }
        }
    data.version = image->mBitsChangedCount;
}

bool D3DInterface::CreateImageTexture(MemoryImage* image)
{
    auto* data = static_cast<TextureData*>(image->mTextureData);
    const bool created = data == nullptr;
    if (created)
    {
        data = new TextureData;
        image->mTextureData = data;
        if (mDisplay != nullptr)
        {
            AutoCrit lock(mDisplay->mCritSect);
            mTextureSet.insert(image);
        }
        else
        {
            mTextureSet.insert(image);
        }
    }
    CheckCreateTextures(image, *data);
    if (created && image->mPurgeRequested)
        image->PurgeBits();
    return data->formatCode != 0;
}

TextureUse D3DInterface::DescribeTexture(const MemoryImage& image) const
{
    const auto* data = static_cast<const TextureData*>(image.mTextureData);
    if (data == nullptr)
        return {};
    return {true, data->formatCode, static_cast<int>(data->memoryBytes)};
}

bool D3DInterface::RecoverBits(MemoryImage* image, uint32_t* bits)
{
    const auto* data = static_cast<const TextureData*>(image->mTextureData);
    if (data == nullptr || bits == nullptr || data->formatCode == 0 || data->version != image->mBitsChangedCount ||
        data->width != image->GetWidth() || data->height != image->GetHeight())
        return false;
    const int bytes = BytesPerTexel(data->formatCode);
    const uint32_t* palette = data->palette ? data->palette->Entries() : nullptr;
    for (int r = 0; r < data->rows; ++r)
        for (int c = 0; c < data->columns; ++c)
        {
            const TextureData::Piece& piece = data->pieces[static_cast<size_t>(r * data->columns + c)];
            uint8_t* pixels = nullptr;
            int pitch = 0;
            if (CheckDXError(piece.texture->Lock(&pixels, &pitch), "Lock Texture"))
                return false;
            const int x0 = c * data->pieceWidth, y0 = r * data->pieceHeight;
            const int copyW = std::min(piece.texWidth, data->width - x0);
            const int copyH = std::min(piece.texHeight, data->height - y0);
            for (int y = 0; y < copyH; ++y)
            {
                const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
                uint32_t* out = bits + static_cast<size_t>(y0 + y) * static_cast<size_t>(data->width) + x0;
                for (int x = 0; x < copyW; ++x)
                    out[x] = FromTexel(LoadTexel(row, x, bytes), data->formatCode, palette);
            }
            CheckDXError(piece.texture->Unlock(), "Texture Unlock");
        }
    return true;
}
} // namespace Quoll
