#pragma once
// The surface-backed image: a memory image that can also hold its pixels in a surface of the
// display. An image without partial alpha gets a surface on demand; drawing into it then goes
// straight into the locked surface in the surface's format (16 or 32 bits per pixel), and the
// memory copies are dropped. The screen image in 3D mode sends its drawing to the 3D renderer.
// Everything else falls back to the memory image's software drawing.
#include "framework/display/MemoryImage.h"
#include "framework/platform/video/SoftDirectDraw.h"

#include <memory>

namespace Quoll
{
class DDInterface;
using SurfacePtr = std::shared_ptr<Platform::SoftSurface>;

class DDImage : public MemoryImage
{
public:
    explicit DDImage(DDInterface* display);
    DDImage(const DDImage&) = delete;
    DDImage& operator=(const DDImage&) = delete;
    ~DDImage() override;

    // --- Drawing slots ----------------------------------------------------------------------
    bool FillPolygon3D(const FPoint* points, int count, const Rect& clip, const Color& color, DrawMode mode,
                       int offsetX, int offsetY, bool convex) override;
    void FillRect(const Rect& rect, const Color& color, DrawMode mode) override;
    // On the surface path the rectangle becomes black (a surface has no alpha to clear).
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

    // --- Memory-image slots -----------------------------------------------------------------
    void PurgeBits() override;
    void DeleteExtraBuffers() override;
    void ReInit() override;
    void BitsChanged() override;
    void CommitBits() override;
    void DeleteNativeData() override;
    void Create(int width, int height) override;
    uint32_t* GetBits() override;
    bool Palletize() override;

    // --- Surface ------------------------------------------------------------------------------
    virtual void SetVideoMemory(bool videoMemory);
    virtual bool SetColorKeyFromFirstPixel();
    // Counted: only the first lock locks the surface, only the last unlock unlocks it.
    virtual bool LockSurface();
    virtual bool UnlockSurface();
    // Takes a surface owned elsewhere (the display's draw surface); it is never dropped.
    virtual void SetSurface(SurfacePtr surface);
    // Makes sure the pixels are in a surface; false leaves the image on the memory path.
    bool EnsureSurface();
    SurfacePtr GetSurface();
    // Releases the surface, keeping the pixels in memory when nothing else holds them.
    void DeleteDDSurface();
    // Frees every memory form of the pixels; the surface holds them alone.
    void DeleteAllNonSurfaceData();
    // The screen drawn through the 3D renderer.
    [[nodiscard]] bool Check3D() const;
    [[nodiscard]] bool HasSurface() const { return mSurface != nullptr; }
    // Software drawing may go into the surface.
    [[nodiscard]] bool CanDrawOnSurface() const;

    DDInterface* mDDInterface;
    SurfacePtr mSurface;
    bool mSurfaceSet = false;
    bool mVideoMemoryScreen = false;
    bool mVideoMemory = false;
    bool mFirstPixelTrans = false;
    bool mWantSurface = false;
    bool mNoSurfaceDrawing = false;
    int mLockCount = 0;
    Platform::SurfaceDesc mLockedSurfaceDesc;

private:
    bool FillSurface(Platform::SoftSurface& surface);
    bool IsCursorArea() const;
    void NormalFillRect(const Rect& rect, const Color& color);
    void AdditiveFillRect(const Rect& rect, const Color& color);
    void NormalDrawLine(double x0, double y0, double x1, double y1, const Color& color);
    void AdditiveDrawLine(double x0, double y0, double x1, double y1, const Color& color);
    void NormalDrawLineAA(double x0, double y0, double x1, double y1, const Color& color);
    void DirectDrawCopy(MemoryImage& source, const Rect& dest, const Rect& src);
    void SurfaceBlt(MemoryImage& source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode,
                    bool mirror);
    void NearestStretchOnSurface(MemoryImage& source, const Rect& clipped, const FRect& src, const Color& color,
                                 DrawMode mode, bool mirror);
    void TrianglesOnSurface(MemoryImage& texture, const TriVertex* vertices, int vertexCount, const Rect& clip,
                            const Color& color, bool filtering, bool vertexColor, DrawMode mode);
};

// Whether the image is drawn by the 3D renderer (a surface-backed image that is the 3D screen).
bool IsImage3D(Image* image);
} // namespace Quoll
