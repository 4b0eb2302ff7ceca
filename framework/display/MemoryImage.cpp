#include "framework/display/MemoryImage.h"

#include "framework/display/ImageRegistry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace Quoll
{
namespace
{
// Run-length table: for a run of L pixels of one class, bytes L, L-1, ..., 1, capped at 255.
// Runs never cross a row end.
template <typename ClassOf> void BuildRunLengths(uint8_t* out, int width, int height, ClassOf classOf)
{
    for (int y = 0; y < height; ++y)
    {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(width);
        int runEnd = width; // one past the end of the current run
        for (int x = width - 1; x >= 0; --x)
        {
            if (x < width - 1 && classOf(row + static_cast<size_t>(x)) != classOf(row + static_cast<size_t>(x) + 1))
                runEnd = x + 1;
            out[row + static_cast<size_t>(x)] = static_cast<uint8_t>(std::min(runEnd - x, 255));
        }
    }
}

int AlphaClass(uint32_t pixel)
{
    const uint32_t alpha = pixel >> 24;
    return alpha == 0 ? 0 : (alpha == 255 ? 1 : 2);
}

uint32_t PremultiplyToFormat(uint32_t p, const PixelFormat& f)
{
    const uint32_t m = (p >> 24) + 1;
    const uint32_t red = ((((p & 0xFF0000) * m) >> 8) >> (24 - f.redBits) << f.redShift) & f.redMask;
    const uint32_t green = ((((p & 0xFF00) * m) >> 8) >> (16 - f.greenBits) << f.greenShift) & f.greenMask;
    const uint32_t blue = ((((p & 0xFF) * m) >> 8) >> (8 - f.blueBits) << f.blueShift) & f.blueMask;
    return red | green | blue | (p & 0xFF000000);
}

uint32_t UnpremultiplyFromFormat(uint32_t word, const PixelFormat& f)
{
    const uint32_t a = word >> 24;
    auto channel = [&](uint32_t mask, int shift, int bits) -> uint32_t {
        return ((((word & mask) << 8) / (a + 1)) & mask) << 8 >> (shift + bits);
    };
    return a << 24 | channel(f.redMask, f.redShift, f.redBits) << 16 |
           channel(f.greenMask, f.greenShift, f.greenBits) << 8 | channel(f.blueMask, f.blueShift, f.blueBits);
}

// Colours found so far, sorted by value, each with its palette entry.
struct PaletteEntry
{
    uint32_t color;
    uint8_t index;
};

bool BuildPalette(int width, const uint32_t* pixels, int height, uint8_t* indices, uint32_t* palette)
{
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (count == 0)
        return true;
    std::vector<PaletteEntry> known;
    known.reserve(256);
    known.push_back({pixels[0], 0});
    palette[0] = pixels[0];
    indices[0] = 0;
    for (size_t i = 1; i < count; ++i)
    {
        const uint32_t color = pixels[i];
        auto at = std::lower_bound(known.begin(), known.end(), color,
                                   [](const PaletteEntry& e, uint32_t c) { return e.color < c; });
        if (at != known.end() && at->color == color)
        {
            indices[i] = at->index;
            continue;
        }
        if (known.size() == 256)
            return false;
        const auto index = static_cast<uint8_t>(known.size());
        known.insert(at, {color, index});
        palette[index] = color;
        indices[i] = index;
    }
    return true;
}
} // namespace

MemoryImage::MemoryImage() : MemoryImage(GetImageRegistry()) {}

MemoryImage::MemoryImage(ImageRegistry* registry) : mApp(registry != nullptr ? registry : GetImageRegistry())
{
    Register();
}

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other), mBitsChangedCount(other.mBitsChangedCount), mTextureFlags(other.mTextureFlags),
      mHasTrans(other.mHasTrans), mHasAlpha(other.mHasAlpha), mIsVolatile(other.mIsVolatile),
      mPurgeRequested(other.mPurgeRequested), mPalletized(other.mPalletized), mBitsDirty(other.mBitsDirty),
      mApp(other.mApp)
{
    auto& source = const_cast<MemoryImage&>(other);
    // A source held only in another form is read back for the copy and left as it was.
    const bool madeBits = !source.mBits && !source.mPalette;
    if (madeBits)
        source.GetBits();

    const size_t count = PixelCount();
    auto copyOf = [](const auto& from, size_t n) {
        using T = std::remove_reference_t<decltype(from[0])>;
        std::unique_ptr<std::remove_const_t<T>[]> to;
        if (from)
        {
            to = std::make_unique<std::remove_const_t<T>[]>(n);
            std::copy(from.get(), from.get() + n, to.get());
        }
        return to;
    };
    mBits = copyOf(source.mBits, count + 1);
    mPalette = copyOf(source.mPalette, 256);
    mPaletteIndices = copyOf(source.mPaletteIndices, count);
    mNativeAlphaData = copyOf(source.mNativeAlphaData, source.mPalette ? 256 : count);
    mRLAlphaData = copyOf(source.mRLAlphaData, count);
    mRLAdditiveData = copyOf(source.mRLAdditiveData, count);

    if (madeBits)
        source.mBits.reset();
    Register();
}

MemoryImage::~MemoryImage()
{
    mApp->RemoveMemoryImage(this);
}

void MemoryImage::Register()
{
    mApp->AddMemoryImage(this);
}

size_t MemoryImage::PixelCount() const
{
    if (mWidth <= 0 || mHeight <= 0)
        return 0;
    return static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight);
}

std::unique_ptr<uint32_t[]> MemoryImage::AllocateBits() const
{
    const size_t count = PixelCount();
    auto bits = std::make_unique<uint32_t[]>(count + 1);
    bits[count] = kGuardWord;
    return bits;
}

void MemoryImage::BitsChanged()
{
    ++mBitsChangedCount;
    mBitsDirty = true;
    mNativeAlphaData.reset();
    mRLAlphaData.reset();
    mRLAdditiveData.reset();
}

void MemoryImage::CommitBits()
{
    if (!mBitsDirty || mForcedMode)
        return;
    mHasAlpha = false;
    auto scan = [this](const uint32_t* words, size_t count) {
        for (size_t i = 0; i < count; ++i)
        {
            const uint32_t alpha = words[i] >> 24;
            if (alpha == 0)
                mHasTrans = true;
            else if (alpha != 255)
                mHasAlpha = true;
        }
    };
    if (mBits)
    {
        mHasTrans = false;
        scan(mBits.get(), PixelCount());
    }
    else if (mPalette)
    {
        mHasTrans = false;
        scan(mPalette.get(), 256);
    }
    else
    {
        mHasTrans = true;
    }
    mBitsDirty = false;
}

void MemoryImage::SetImageMode(bool hasTrans, bool hasAlpha)
{
    mForcedMode = true;
    mHasTrans = hasTrans;
    mHasAlpha = hasAlpha;
}

void MemoryImage::SetVolatile(bool isVolatile)
{
    mIsVolatile = isVolatile;
}

void MemoryImage::Create(int width, int height)
{
    mBits.reset();
    mHasTrans = mHasAlpha = true;
    mWidth = std::max(width, 0);
    mHeight = std::max(height, 0);
    BitsChanged();
}

void MemoryImage::SetBits(const uint32_t* bits, int width, int height, bool commit)
{
    if (bits != nullptr && bits == mBits.get())
        return;
    mPaletteIndices.reset();
    mPalette.reset();
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width != mWidth || height != mHeight || !mBits)
    {
        mWidth = width;
        mHeight = height;
        mBits = AllocateBits();
    }
    const size_t count = PixelCount();
    if (bits != nullptr)
        std::copy(bits, bits + count, mBits.get());
    else
        std::fill(mBits.get(), mBits.get() + count, 0u);
    mBits[count] = kGuardWord;
    BitsChanged();
    if (commit)
        CommitBits();
}

uint32_t* MemoryImage::GetBits()
{
    if (mBits)
        return mBits.get();
    const size_t count = PixelCount();
    auto bits = AllocateBits();
    if (mPalette && mPaletteIndices)
    {
        // 1. From the palette form, which is then dropped.
        for (size_t i = 0; i < count; ++i)
            bits[i] = mPalette[mPaletteIndices[i]];
        mPaletteIndices.reset();
        mPalette.reset();
        mNativeAlphaData.reset();
    }
    else if (mNativeAlphaData)
    {
        // 2. Undo the premultiplication in the display's format.
        const PixelFormat& format = mApp->GetDisplayFormat();
        for (size_t i = 0; i < count; ++i)
            bits[i] = UnpremultiplyFromFormat(mNativeAlphaData[i], format);
    }
    else if (mTextureData != nullptr)
    {
        // 3. Read back from the 3D renderer (all 0 when it cannot).
        mApp->ReadTextureBits(this, bits.get());
    }
    mBits = std::move(bits);
    return mBits.get();
}

uint32_t* MemoryImage::GetNativeAlphaData(const PixelFormat& format)
{
    if (mNativeAlphaData)
        return mNativeAlphaData.get();
    CommitBits();
    const uint32_t* source = mPalette ? mPalette.get() : GetBits();
    const size_t count = mPalette ? 256 : PixelCount();
    auto table = std::make_unique<uint32_t[]>(std::max<size_t>(count, 1));
    for (size_t i = 0; i < count; ++i)
        table[i] = PremultiplyToFormat(source[i], format);
    mNativeAlphaData = std::move(table);
    return mNativeAlphaData.get();
}

uint8_t* MemoryImage::GetRLAlphaData()
{
    if (mRLAlphaData)
        return mRLAlphaData.get();
    CommitBits();
    auto table = std::make_unique<uint8_t[]>(std::max<size_t>(PixelCount(), 1));
    if (mPalette && mPaletteIndices)
    {
        const uint32_t* palette = mPalette.get();
        const uint8_t* indices = mPaletteIndices.get();
        BuildRunLengths(table.get(), mWidth, mHeight, [&](size_t i) { return AlphaClass(palette[indices[i]]); });
    }
    else
    {
        // The display form keeps the alpha in its top byte unchanged.
        const uint32_t* words = mNativeAlphaData ? mNativeAlphaData.get() : GetBits();
        BuildRunLengths(table.get(), mWidth, mHeight, [&](size_t i) { return AlphaClass(words[i]); });
    }
    mRLAlphaData = std::move(table);
    return mRLAlphaData.get();
}

uint8_t* MemoryImage::GetRLAdditiveData(const PixelFormat& format)
{
    if (mRLAdditiveData)
        return mRLAdditiveData.get();
    const uint32_t* native = GetNativeAlphaData(format);
    auto table = std::make_unique<uint8_t[]>(std::max<size_t>(PixelCount(), 1));
    if (mPalette && mPaletteIndices)
    {
        const uint8_t* indices = mPaletteIndices.get();
        BuildRunLengths(table.get(), mWidth, mHeight,
                        [&](size_t i) { return (native[indices[i]] & 0xFFFFFF) == 0; });
    }
    else
    {
        BuildRunLengths(table.get(), mWidth, mHeight, [&](size_t i) { return (native[i] & 0xFFFFFF) == 0; });
    }
    mRLAdditiveData = std::move(table);
    return mRLAdditiveData.get();
}

void MemoryImage::PurgeBits()
{
    mPurgeRequested = true;
    if (!mApp->Is3DAccelerated())
    {
        if (!mBits && !mPaletteIndices)
            return;
        GetNativeAlphaData(mApp->GetDisplayFormat());
        mBits.reset();
        return;
    }
    if (mTextureData == nullptr)
        return;
    // The 256-entry display form only means something beside the palette it was made from.
    if (mPalette)
        mNativeAlphaData.reset();
    mBits.reset();
    mPaletteIndices.reset();
    mPalette.reset();
}

void MemoryImage::DeleteSoftwareBuffers()
{
    if (!mBits && !mPaletteIndices)
        GetBits();
    mNativeAlphaData.reset();
    mRLAdditiveData.reset();
    mRLAlphaData.reset();
}

void MemoryImage::DeleteNativeData()
{
    if (!mBits && !mPaletteIndices)
        GetBits();
    mNativeAlphaData.reset();
    mRLAdditiveData.reset();
}

void MemoryImage::Remove3DData()
{
    mApp->Remove3DData(this);
}

void MemoryImage::DeleteExtraBuffers()
{
    DeleteSoftwareBuffers();
    Remove3DData();
}

void MemoryImage::ReInit()
{
    if (mPalletized)
        Palletize();
    if (mPurgeRequested)
        PurgeBits();
}

void MemoryImage::Clear()
{
    uint32_t* bits = GetBits();
    if (bits == nullptr || PixelCount() == 0)
        return;
    std::fill(bits, bits + PixelCount(), 0u);
    BitsChanged();
}

bool MemoryImage::Palletize()
{
    CommitBits();
    if (mPalette)
        return true;
    const uint32_t* bits = GetBits();
    if (bits == nullptr)
        return false;
    const size_t count = PixelCount();
    auto indices = std::make_unique<uint8_t[]>(std::max<size_t>(count, 1));
    auto palette = std::make_unique<uint32_t[]>(256);
    if (!BuildPalette(mWidth, bits, mHeight, indices.get(), palette.get()))
    {
        mPalletized = false;
        return false;
    }
    mPaletteIndices = std::move(indices);
    mPalette = std::move(palette);
    mBits.reset();
    mNativeAlphaData.reset();
    mPalletized = true;
    return true;
}
} // namespace Quoll
