#include "framework/display/DDImage.h"

#include "framework/display/DDInterface.h"
#include "framework/display/Renderer3D.h"

#include <algorithm>
#include <vector>

namespace Quoll
{
namespace
{
// One ARGB pixel in the surface's format, with the display's bit counts and shifts.
uint32_t ToSurfacePixel(uint32_t p, const NativeDisplay& d, const Platform::SurfaceFormat& f)
{
    return (((p >> (8 - d.mBlueBits)) << d.mBlueShift) & f.blueMask) |
           (((p >> (16 - d.mGreenBits)) << d.mGreenShift) & f.greenMask) |
           (((p >> (24 - d.mRedBits)) << d.mRedShift) & f.redMask);
}

// The first value absent from the used-value bitmap, skipping wholly used words; false when
// every value is used.
bool FirstFreeValue(const std::vector<uint32_t>& used, uint32_t& value)
{
    for (size_t word = 0; word < used.size(); ++word)
    {
        if (used[word] == 0xFFFFFFFF)
            continue;
        for (uint32_t bit = 0; bit < 32; ++bit)
            if ((used[word] & (1u << bit)) == 0)
            {
                value = static_cast<uint32_t>(word * 32 + bit);
                return true;
            }
    }
    return false;
}

// The colour key: the candidate when no visible pixel converts to it, else the first value
// that none does. False when every value is taken by a visible pixel.
template <typename Convert>
bool ChooseKey(const uint32_t* bits, size_t count, uint32_t candidate, size_t valueCount, Convert convert,
               uint32_t& key)
{
    bool clash = false;
    for (size_t i = 0; i < count && !clash; ++i)
        clash = (bits[i] >> 24) == 255 && convert(bits[i]) == candidate;
    key = candidate;
    if (!clash)
        return true;
    std::vector<uint32_t> used(valueCount / 32);
    for (size_t i = 0; i < count; ++i)
        if ((bits[i] >> 24) != 0)
        {
            const uint32_t v = convert(bits[i]);
            used[v / 32] |= 1u << (v % 32);
        }
    return FirstFreeValue(used, key);
}
} // namespace

DDImage::DDImage(DDInterface* display) : MemoryImage(display->mHost->GetDisplayImageRegistry()), mDDInterface(display)
{
    mDDInterface->AddDDImage(this);
}

DDImage::~DDImage()
{
    // The renderer forgets the image's textures before the image goes.
    mDDInterface->Remove3DData(this);
    mSurface.reset();
    mDDInterface->RemoveDDImage(this);
}

bool DDImage::Check3D() const
{
    return mDDInterface->mIs3D && mSurface != nullptr && mSurface == mDDInterface->mDrawSurface;
}

bool IsImage3D(Image* image)
{
    auto* surfaceImage = dynamic_cast<DDImage*>(image);
    return surfaceImage != nullptr && surfaceImage->Check3D();
}

bool DDImage::CanDrawOnSurface() const
{
    return !mNoSurfaceDrawing && !mHasAlpha && (!mHasTrans || mFirstPixelTrans) && !mDDInterface->mIs3D;
}

bool DDImage::IsCursorArea() const
{
    return this == mDDInterface->mOldCursorAreaImage.get() || this == mDDInterface->mNewCursorAreaImage.get();
}

// --- Surface life cycle -----------------------------------------------------------------

bool DDImage::EnsureSurface()
{
    if (mSurface)
        return true;
    // 1. Only images without partial alpha get a surface.
    CommitBits();
    if (mHasAlpha || mWidth <= 0 || mHeight <= 0)
        return false;
    mWantSurface = true;
    if (mPalette)
        GetBits();

    Platform::SurfaceDesc desc;
    desc.flags = Platform::kDescCaps | Platform::kDescWidth | Platform::kDescHeight;
    desc.width = mWidth;
    desc.height = mHeight;
    desc.caps = Platform::kCapsOffscreenPlain | (mVideoMemory ? Platform::kCapsVideoMemory : Platform::kCapsSystemMemory);
    AutoCrit lock(mDDInterface->mCritSect);
    SurfacePtr surface;
    if (Platform::Failed(mDDInterface->CreateSurface(desc, surface)) || !surface)
        return false;
    mSurface = surface;
    if (!FillSurface(*surface))
    {
        mSurface.reset();
        return false;
    }
    return true;
}

// Steps 5 to 9 of the surface creation: the pixels converted, transparent ones keyed.
bool DDImage::FillSurface(Platform::SoftSurface& surface)
{
    if (!LockSurface())
        return false;
    const Platform::SurfaceDesc& desc = mLockedSurfaceDesc;
    const NativeDisplay& display = *mDDInterface;
    const uint32_t* bits = mBits.get();
    const size_t count = PixelCount();
    auto convert = [&](uint32_t p) { return ToSurfacePixel(p, display, desc.format); };
    uint32_t key = 0;
    bool keyed = mHasTrans && bits != nullptr;
    bool ok = desc.format.bitCount == 16 || desc.format.bitCount == 32;
    if (ok && keyed)
    {
        // The first transparent pixel's value, unless a visible pixel has it too.
        uint32_t candidate = 0;
        for (size_t i = 0; i < count; ++i)
            if ((bits[i] >> 24) < 255)
            {
                candidate = desc.format.bitCount == 16 ? convert(bits[i]) : (bits[i] & 0xFFFFFF);
                break;
            }
        ok = desc.format.bitCount == 16
                 ? ChooseKey(bits, count, candidate, size_t{1} << 16, convert, key)
                 : ChooseKey(bits, count, candidate, size_t{1} << 24, [](uint32_t p) { return p & 0xFFFFFF; }, key);
    }
    if (ok && bits != nullptr && desc.pixels != nullptr)
    {
        for (int y = 0; y < mHeight; ++y)
        {
            const uint32_t* in = bits + static_cast<size_t>(y) * static_cast<size_t>(mWidth);
            uint8_t* row = desc.pixels + static_cast<ptrdiff_t>(y) * desc.pitch;
            for (int x = 0; x < mWidth; ++x)
            {
                const uint32_t value = keyed && (in[x] >> 24) != 255 ? key : convert(in[x]);
                if (desc.format.bitCount == 16)
                    reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(value);
                else
                    reinterpret_cast<uint32_t*>(row)[x] = value;
            }
        }
    }
    if (ok && mHasTrans)
    {
        const Platform::ColorKey colorKey{key, key};
        surface.SetColorKey(Platform::kColorKeySrcBlt, &colorKey);
    }
    UnlockSurface();
    return ok;
}

SurfacePtr DDImage::GetSurface()
{
    if (!mSurface)
        EnsureSurface();
    return mSurface;
}

void DDImage::DeleteDDSurface()
{
    if (!mSurface)
        return;
    if (!mBits && !mPalette && mTextureData == nullptr)
        GetBits();
    mSurface.reset();
    mLockCount = 0;
}

void DDImage::DeleteAllNonSurfaceData()
{
    mBits.reset();
    mPalette.reset();
    mPaletteIndices.reset();
    mNativeAlphaData.reset();
    mRLAlphaData.reset();
    mRLAdditiveData.reset();
}

bool DDImage::LockSurface()
{
    if (Check3D())
        return false;
    if (mLockCount == 0)
    {
        mLockedSurfaceDesc = Platform::SurfaceDesc();
        SurfacePtr surface = GetSurface();
        if (!surface || Platform::Failed(surface->Lock(nullptr, &mLockedSurfaceDesc, Platform::kLockWait)))
            return false;
    }
    ++mLockCount;
    return true;
}

bool DDImage::UnlockSurface()
{
    if (Check3D() || mLockCount <= 0)
        return false;
    if (--mLockCount == 0 && mSurface)
        mSurface->Unlock(nullptr);
    return true;
}

void DDImage::SetSurface(SurfacePtr surface)
{
    mSurfaceSet = true;
    mSurface = std::move(surface);
    mLockCount = 0;
    if (mSurface)
    {
        mWidth = mSurface->Width();
        mHeight = mSurface->Height();
    }
    mVideoMemoryScreen = false;
}

void DDImage::SetVideoMemory(bool videoMemory)
{
    if (videoMemory == mVideoMemory)
        return;
    mVideoMemory = videoMemory;
    GetBits();
    DeleteDDSurface();
}

bool DDImage::SetColorKeyFromFirstPixel()
{
    const bool created = EnsureSurface();
    if (!created || mVideoMemoryScreen || !mHasTrans || !mFirstPixelTrans)
        return created;
    if (LockSurface())
    {
        const Platform::SurfaceDesc& desc = mLockedSurfaceDesc;
        const uint32_t first = desc.format.bitCount == 16 ? *reinterpret_cast<const uint16_t*>(desc.pixels)
                                                          : *reinterpret_cast<const uint32_t*>(desc.pixels);
        const Platform::ColorKey key{first, first};
        mSurface->SetColorKey(Platform::kColorKeySrcBlt, &key);
        UnlockSurface();
    }
    return created;
}

// --- Memory-image slots ---------------------------------------------------------------------

void DDImage::CommitBits()
{
    if (!mSurface)
        MemoryImage::CommitBits();
}

void DDImage::BitsChanged()
{
    MemoryImage::BitsChanged();
    if (!mSurfaceSet)
    {
        mSurface.reset();
        mLockCount = 0;
    }
}

void DDImage::Create(int width, int height)
{
    mBits.reset();
    mWidth = std::max(width, 0);
    mHeight = std::max(height, 0);
    BitsChanged();
}

uint32_t* DDImage::GetBits()
{
    if (mBits)
        return mBits.get();
    if (!mSurface)
        return MemoryImage::GetBits();
    if (mVideoMemoryScreen || !LockSurface())
        return nullptr;
    // The surface's pixels widened to ARGB, opaque.
    const NativeDisplay& d = *mDDInterface;
    const Platform::SurfaceDesc& desc = mLockedSurfaceDesc;
    auto bits = AllocateBits();
    auto channel = [](uint32_t p, uint32_t shift, uint32_t count) { return ((p >> shift) << (8 - count)) & 0xFF; };
    for (int y = 0; y < mHeight && (desc.format.bitCount == 16 || desc.format.bitCount == 32); ++y)
    {
        const uint8_t* row = desc.pixels + static_cast<ptrdiff_t>(y) * desc.pitch;
        uint32_t* out = bits.get() + static_cast<size_t>(y) * static_cast<size_t>(mWidth);
        for (int x = 0; x < mWidth; ++x)
        {
            const uint32_t p = desc.format.bitCount == 16 ? reinterpret_cast<const uint16_t*>(row)[x]
                                                         : reinterpret_cast<const uint32_t*>(row)[x];
            out[x] = 0xFF000000 | channel(p, d.mRedShift, d.mRedBits) << 16 |
                     channel(p, d.mGreenShift, d.mGreenBits) << 8 | channel(p, d.mBlueShift, d.mBlueBits);
        }
    }
    UnlockSurface();
    mBits = std::move(bits);
    return mBits.get();
}

void DDImage::PurgeBits()
{
    if (mSurfaceSet)
        return;
    mPurgeRequested = true;
    CommitBits();
    if (mApp->Is3DAccelerated())
    {
        if (mSurface)
        {
            GetBits();
            DeleteDDSurface();
        }
        MemoryImage::PurgeBits();
        return;
    }
    if (mWantSurface && EnsureSurface())
    {
        mBits.reset();
        mPalette.reset();
        mPaletteIndices.reset();
        return;
    }
    MemoryImage::PurgeBits();
}

void DDImage::ReInit()
{
    MemoryImage::ReInit();
    if (mWantSurface)
        EnsureSurface();
}

void DDImage::DeleteExtraBuffers()
{
    if (mSurfaceSet)
        return;
    MemoryImage::DeleteExtraBuffers();
    DeleteDDSurface();
}

void DDImage::DeleteNativeData()
{
    if (mSurfaceSet)
        return;
    MemoryImage::DeleteNativeData();
    DeleteDDSurface();
}

bool DDImage::Palletize()
{
    if (!MemoryImage::Palletize())
        return false;
    DeleteDDSurface();
    return true;
}
} // namespace Quoll
