#pragma once
// The software image: 32-bit 0xAARRGGBB pixels in memory, an optional 256-colour palette form,
// and derived tables that display code uses to draw it fast (pixels premultiplied in the
// display's format, alpha runs, black/non-black runs). At any time the pixels live in mBits, in
// the palette form, or (after a purge) only in the display form or a texture; GetBits makes
// mBits again on demand. Every memory image registers with the application's image registry.
// Drawing (fills, lines, blits) is done in software on GetBits of the destination.
#include "framework/display/Image.h"
#include "framework/display/PixelFormat.h"

#include <cstdint>
#include <memory>

namespace Quoll
{
class ImageRegistry;

class MemoryImage : public Image
{
public:
    // Written after the last pixel of every pixel buffer.
    static constexpr uint32_t kGuardWord = 0x4BEEFADE;

    MemoryImage();
    explicit MemoryImage(ImageRegistry* registry);
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage&) = delete;
    ~MemoryImage() override;

    // --- Derived tables and pixel forms -------------------------------------------------
    virtual uint32_t* GetNativeAlphaData(const PixelFormat& format);
    virtual uint8_t* GetRLAlphaData();
    virtual uint8_t* GetRLAdditiveData(const PixelFormat& format);
    // Drops the ARGB pixels when another form holds them.
    virtual void PurgeBits();
    virtual void DeleteSoftwareBuffers();
    virtual void Remove3DData();
    virtual void DeleteExtraBuffers();
    // Repeats Palletize and PurgeBits where they were asked for (after a display change).
    virtual void ReInit();
    // Marks the pixels changed: counts, and drops the derived tables.
    virtual void BitsChanged();
    // Recomputes mHasTrans and mHasAlpha after a change, unless the mode was forced.
    virtual void CommitBits();
    virtual void DeleteNativeData();
    virtual void Clear();
    // Replaces the pixels by a copy of width * height words.
    virtual void SetBits(const uint32_t* bits, int width, int height, bool commit = true);
    // New size, no pixels yet.
    virtual void Create(int width, int height);
    // The ARGB pixels, made from the other forms when needed (null for an empty image).
    virtual uint32_t* GetBits();
    virtual void SetImageMode(bool hasTrans, bool hasAlpha);
    virtual void SetVolatile(bool isVolatile);
    // Turns the pixels into 256-colour palette form; false (image unchanged) past 256 colours.
    virtual bool Palletize();

    // --- Drawing --------------------------------------------------------------------------
    void FillRect(const Rect& rect, const Color& color, DrawMode mode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode) override;
    void DrawLineAA(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode) override;
    void FillScanLinesWithAlpha(const ScanSpan* spans, int count, const Color& color, DrawMode mode,
                                const uint8_t* coverage, int coverX, int coverY, int coverWidth,
                                int coverHeight) override;
    void Blt(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode) override;
    void BltAtFloat(Image* source, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                    DrawMode mode) override;
    void BltRotated(Image* source, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                    DrawMode mode, double angle, float centerX, float centerY) override;
    void StretchBlt(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                    const Color& color, DrawMode mode, bool fastStretch) override;
    void BltMatrix(Image* source, float x, float y, const Matrix3& matrix, const Rect& clip, const Color& color,
                   DrawMode mode, const Rect& srcRect, bool filtering) override;
    void BltTrianglesTex(Image* texture, const TriangleVertices* triangles, int count, const Rect& clip,
                         const Color& color, DrawMode mode, float tx, float ty, bool filtering) override;
    void BltMirror(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode) override;
    void StretchBltMirror(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                          const Color& color, DrawMode mode) override;

    // --- Clipping helpers, shared with the surface-backed image ---------------------------
    // Bounding box of the source rect rotated by angle about (cx, cy) and placed at (x, y),
    // intersected with the clip; false when nothing is left.
    static bool GetRotatedBounds(const Rect& srcRect, const Rect& clip, FRect& out, float x, float y, float cx,
                                 float cy, double angle);
    static bool ClipStretchRects(const Rect& destRect, const Rect& clip, const Rect& srcRect, Rect& clippedDest,
                                 FRect& clippedSrc);
    static bool ClipStretchRectsMirror(const Rect& destRect, const Rect& clip, const Rect& srcRect,
                                       Rect& clippedDest, FRect& clippedSrc);

    // --- Fields ----------------------------------------------------------------------------
    std::unique_ptr<uint32_t[]> mBits;
    int mBitsChangedCount = 0;
    void* mTextureData = nullptr; // owned by the 3D renderer
    int mTextureFlags = 0;
    std::unique_ptr<uint32_t[]> mPalette;        // 256 ARGB words
    std::unique_ptr<uint8_t[]> mPaletteIndices; // one palette index per pixel
    bool mForcedMode = false;
    bool mHasTrans = false;
    bool mHasAlpha = false;
    bool mIsVolatile = false;
    bool mPurgeRequested = false;
    bool mPalletized = false;
    std::unique_ptr<uint32_t[]> mNativeAlphaData; // 256 words with a palette, else one per pixel
    std::unique_ptr<uint8_t[]> mRLAlphaData;
    std::unique_ptr<uint8_t[]> mRLAdditiveData;
    bool mBitsDirty = false;
    ImageRegistry* mApp = nullptr;

protected:
    [[nodiscard]] size_t PixelCount() const;
    // width * height words plus the guard word; null for an empty image.
    std::unique_ptr<uint32_t[]> AllocateBits() const;

private:
    void Register();
    void NormalBlt(MemoryImage& source, int x, int y, const Rect& srcRect, const Color& color, bool mirror);
    void AdditiveBlt(MemoryImage& source, int x, int y, const Rect& srcRect, const Color& color, bool mirror);
    void NearestStretch(MemoryImage& source, const Rect& clipped, const FRect& src, double sx, double sy,
                        const Color& color, bool mirror);
    void FilteredStretch(MemoryImage& source, const Rect& clipped, const FRect& src, const Color& color);
    void NormalDrawLine(double x0, double y0, double x1, double y1, const Color& color);
    void AdditiveDrawLine(double x0, double y0, double x1, double y1, const Color& color);
    void NormalDrawLineAA(double x0, double y0, double x1, double y1, const Color& color);
    [[nodiscard]] int32_t TriangleFormat() const;
};
} // namespace Quoll
