#include "framework/display/Image.h"

#include "framework/display/Graphics.h"

namespace Quoll
{
Image::Image(const Image& other)
    : mWidth(other.mWidth), mHeight(other.mHeight), mNumRows(other.mNumRows), mNumCols(other.mNumCols),
      mAnimInfo(other.mAnimInfo ? std::make_unique<AnimInfo>(*other.mAnimInfo) : nullptr)
{
}

Image::~Image() = default;

bool Image::FillPolygon3D(const FPoint*, int, const Rect&, const Color&, DrawMode, int, int, bool)
{
    return false;
}

void Image::FillRect(const Rect&, const Color&, DrawMode) {}

void Image::DrawRect(const Rect& rect, const Color& color, DrawMode mode)
{
    FillRect(Rect(rect.x, rect.y, rect.width + 1, 1), color, mode);
    FillRect(Rect(rect.x, rect.y + rect.height, rect.width + 1, 1), color, mode);
    FillRect(Rect(rect.x, rect.y + 1, 1, rect.height - 1), color, mode);
    FillRect(Rect(rect.x + rect.width, rect.y + 1, 1, rect.height - 1), color, mode);
}

void Image::ClearRect(const Rect&) {}
void Image::DrawLine(double, double, double, double, const Color&, DrawMode) {}
void Image::DrawLineAA(double, double, double, double, const Color&, DrawMode) {}

void Image::FillScanLines(const ScanSpan* spans, int count, const Color& color, DrawMode mode)
{
    for (int i = 0; i < count; ++i)
        FillRect(Rect(spans[i].x, spans[i].y, spans[i].width, 1), color, mode);
}

void Image::FillScanLinesWithAlpha(const ScanSpan*, int, const Color&, DrawMode, const uint8_t*, int, int, int,
                                   int)
{
}

void Image::Blt(Image*, int, int, const Rect&, const Color&, DrawMode) {}
void Image::BltAtFloat(Image*, float, float, const Rect&, const Rect&, const Color&, DrawMode) {}
void Image::BltRotated(Image*, float, float, const Rect&, const Rect&, const Color&, DrawMode, double, float,
                       float)
{
}
void Image::StretchBlt(Image*, const Rect&, const Rect&, const Rect&, const Color&, DrawMode, bool) {}
void Image::BltMatrix(Image*, float, float, const Matrix3&, const Rect&, const Color&, DrawMode, const Rect&,
                      bool)
{
}
void Image::BltTrianglesTex(Image*, const TriangleVertices*, int, const Rect&, const Color&, DrawMode, float,
                            float, bool)
{
}
void Image::BltMirror(Image*, int, int, const Rect&, const Color&, DrawMode) {}
void Image::StretchBltMirror(Image*, const Rect&, const Rect&, const Rect&, const Color&, DrawMode) {}

void Image::CopyAttributes(const Image& source, Image& target)
{
    target.mNumRows = source.mNumRows;
    target.mNumCols = source.mNumCols;
    target.mAnimInfo = source.mAnimInfo ? std::make_unique<AnimInfo>(*source.mAnimInfo) : nullptr;
}

std::unique_ptr<Graphics> Image::CreateGraphics()
{
    return std::make_unique<Graphics>(this);
}

Image& GetDummyImage()
{
    static Image dummy;
    return dummy;
}
} // namespace Quoll
