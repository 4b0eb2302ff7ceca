#pragma once
// A scoped lock of a surface-backed image's surface for software drawing: it makes sure of the
// surface, locks it, gives its layout, and unlocks when it goes out of scope. Drawable only for
// 16- and 32-bit surfaces.
#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/display/SurfaceBlend.h"

namespace Quoll
{
class SurfaceLock
{
public:
    explicit SurfaceLock(DDImage& image) : mImage(image)
    {
        mLocked = image.GetSurface() != nullptr && image.LockSurface();
        if (!mLocked)
            return;
        const DDInterface& d = *image.mDDInterface;
        layout = SurfaceBlend::MakeLayout(image.mLockedSurfaceDesc, d.mRedAddTable.data(), d.mGreenAddTable.data(),
                                          d.mBlueAddTable.data());
    }
    ~SurfaceLock()
    {
        if (mLocked)
            mImage.UnlockSurface();
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

    [[nodiscard]] bool Locked() const { return mLocked; }
    [[nodiscard]] bool Drawable() const
    {
        return mLocked && mImage.mLockedSurfaceDesc.pixels != nullptr && (layout.bits == 16 || layout.bits == 32);
    }
    [[nodiscard]] const Platform::SurfaceDesc& Desc() const { return mImage.mLockedSurfaceDesc; }

    // Calls fn(pixel&) for pixel (x, y) with the surface's pixel type.
    template <typename Fn> void At(int x, int y, Fn fn) const
    {
        if (layout.bits == 16)
        {
            uint16_t& p = SurfaceBlend::RowOf<uint16_t>(Desc(), y)[x];
            uint32_t v = p;
            fn(v);
            p = static_cast<uint16_t>(v);
        }
        else
        {
            fn(SurfaceBlend::RowOf<uint32_t>(Desc(), y)[x]);
        }
    }

    // Calls fn(pixel&, i) for the count pixels from (x, y) rightwards (leftwards when step < 0).
    template <typename Fn> void Span(int x, int y, int count, int step, Fn fn) const
    {
        if (layout.bits == 16)
        {
            uint16_t* p = SurfaceBlend::RowOf<uint16_t>(Desc(), y) + x;
            for (int i = 0; i < count; ++i, p += step)
            {
                uint32_t v = *p;
                fn(v, i);
                *p = static_cast<uint16_t>(v);
            }
            return;
        }
        uint32_t* p = SurfaceBlend::RowOf<uint32_t>(Desc(), y) + x;
        for (int i = 0; i < count; ++i, p += step)
            fn(*p, i);
    }

    SurfaceBlend::Layout layout;

private:
    DDImage& mImage;
    bool mLocked = false;
};
} // namespace Quoll
