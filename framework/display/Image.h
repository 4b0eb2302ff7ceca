#pragma once
// The drawing interface of every image: a size, a grid of animation cels, an optional animation
// record, and the virtual drawing operations that concrete images override. The base draws
// nothing (rectangles outlines and scan lines fall back to FillRect). The drawing context
// (Graphics) calls only these operations, with coordinates already translated and clipped.
#include "framework/display/AnimInfo.h"
#include "framework/display/Color.h"
#include "framework/display/Matrix3.h"
#include "framework/display/Rect.h"
#include "framework/rasteriser/TriangleRasterizer.h"

#include <memory>
#include <string>

namespace Quoll
{
class Graphics;

enum class DrawMode : int
{
    Normal = 0,   // alpha blending
    Additive = 1, // per-channel saturating add
};

// One horizontal run of pixels of a filled shape.
struct ScanSpan
{
    int y;
    int x;
    int width;
};

using TriangleVertices = TriVertex[3];

class Image
{
public:
    Image() = default;
    // Copies size, cel grid and a deep copy of the animation record; not the drawn flag or path.
    Image(const Image& other);
    Image& operator=(const Image&) = delete;
    virtual ~Image();

    // false: not drawn here, the caller fills by scan lines.
    virtual bool FillPolygon3D(const FPoint* points, int count, const Rect& clip, const Color& color,
                               DrawMode mode, int offsetX, int offsetY, bool convex);
    virtual void FillRect(const Rect& rect, const Color& color, DrawMode mode);
    // The outline covers width + 1 by height + 1 pixels.
    virtual void DrawRect(const Rect& rect, const Color& color, DrawMode mode);
    virtual void ClearRect(const Rect& rect);
    virtual void DrawLine(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode);
    virtual void DrawLineAA(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode);
    virtual void FillScanLines(const ScanSpan* spans, int count, const Color& color, DrawMode mode);
    virtual void FillScanLinesWithAlpha(const ScanSpan* spans, int count, const Color& color, DrawMode mode,
                                        const uint8_t* coverage, int coverX, int coverY, int coverWidth,
                                        int coverHeight);
    virtual void Blt(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode);
    virtual void BltAtFloat(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                            const Color& color, DrawMode mode);
    virtual void BltRotated(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                            const Color& color, DrawMode mode, double angle, float centerX, float centerY);
    virtual void StretchBlt(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                            const Color& color, DrawMode mode, bool fastStretch);
    virtual void BltMatrix(Image* source, float x, float y, const Matrix3& matrix, const Rect& clip,
                           const Color& color, DrawMode mode, const Rect& srcRect, bool filtering);
    virtual void BltTrianglesTex(Image* texture, const TriangleVertices* triangles, int count,
                                 const Rect& clip, const Color& color, DrawMode mode, float tx, float ty,
                                 bool filtering);
    virtual void BltMirror(Image* source, int x, int y, const Rect& srcRect, const Color& color, DrawMode mode);
    virtual void StretchBltMirror(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                  const Color& color, DrawMode mode);

    [[nodiscard]] int GetWidth() const { return mWidth; }
    [[nodiscard]] int GetHeight() const { return mHeight; }
    [[nodiscard]] int GetCelWidth() const { return mNumCols > 0 ? mWidth / mNumCols : 0; }
    [[nodiscard]] int GetCelHeight() const { return mNumRows > 0 ? mHeight / mNumRows : 0; }

    // Target takes the source's cel grid and a copy of its animation record (or none).
    static void CopyAttributes(const Image& source, Image& target);
    // A drawing context on this image.
    std::unique_ptr<Graphics> CreateGraphics();

    bool mDrawn = false;
    std::string mFilePath;
    int mWidth = 0;
    int mHeight = 0;
    int mNumRows = 1;
    int mNumCols = 1;
    std::unique_ptr<AnimInfo> mAnimInfo;
};

// The image of drawing contexts made without one, and of text measuring: size 0, draws nothing.
Image& GetDummyImage();
} // namespace Quoll
