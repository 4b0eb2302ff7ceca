#pragma once
// The drawing context of widgets, fonts and game code: translates and clips every call and turns
// it into the destination image's drawing operations; draws text through the current font with
// ^RRGGBB^ colour escapes and word wrapping. States can be pushed and popped.
#include "framework/display/GraphicsState.h"
#include "framework/display/Transform.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
class Graphics : public GraphicsState
{
public:
    // A null image draws into the dummy image (nothing is drawn).
    explicit Graphics(Image* destImage = nullptr);
    // Copies the current state only, not the pushed ones.
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics&) = delete;
    virtual ~Graphics() = default;

    // A new copy on the heap, as the copy constructor makes it; null when memory runs out.
    [[nodiscard]] std::unique_ptr<Graphics> Create() const;

    void PushState();
    void PopState();

    [[nodiscard]] Font* GetFont() const { return mFont; }
    void SetFont(Font* font) { mFont = font; }
    [[nodiscard]] const Color& GetColor() const { return mColor; }
    void SetColor(const Color& color) { mColor = color; }
    [[nodiscard]] DrawMode GetDrawMode() const { return mDrawMode; }
    void SetDrawMode(DrawMode mode) { mDrawMode = mode; }
    [[nodiscard]] bool GetImageTint() const { return mImageTint; }
    void SetImageTint(bool tint) { mImageTint = tint; }
    void SetFastStretch(bool fast) { mFastStretch = fast; }
    void SetTriangleFiltering(bool filtering) { mTriangleFiltering = filtering; }
    void SetColorEscapes(bool escapes) { mColorEscapes = escapes; }

    void Translate(int dx, int dy);
    void ClearClipRect();
    void ClipRect(int x, int y, int width, int height);

    // --- Shapes and text ----------------------------------------------------------------------
    void FillRect(int x, int y, int width, int height);
    void FillRect(const Rect& rect) { FillRect(rect.x, rect.y, rect.width, rect.height); }
    // The outline covers width + 1 by height + 1 pixels.
    void DrawRect(int x, int y, int width, int height);
    void DrawRect(const Rect& rect) { DrawRect(rect.x, rect.y, rect.width, rect.height); }
    void DrawLine(int x0, int y0, int x1, int y1);
    // Cuts the line to the clip rectangle in place; false when nothing is left.
    [[nodiscard]] bool ClipLine(double& x0, double& y0, double& x1, double& y1) const;
    void DrawString(const std::wstring& text, int x, int y);
    // Writes text with colour escapes; returns its width. justification 0 centres in width,
    // 1 right-aligns. oldColor -1 means the current colour (the value of ^oldclr^).
    int WriteString(const std::wstring& text, int x, int y, int width = -1, int justification = -1,
                    bool draw = true, int offset = 0, int length = -1, int oldColor = -1);
    // WriteString of a part of the text; -1 when nothing of it is left.
    int WriteStringPart(const std::wstring& text, int offset, int length, int x, int y, int width,
                        int justification, int oldColor);
    // Word-wraps text into rect's width; returns the height used.
    int DrawWordWrapped(const Rect& rect, const std::wstring& text, int lineSpacing = -1, int justification = -1);
    void DrawStringWordWrapped(const std::wstring& text, int x, int y, int wrapWidth, int justification = -1);
    int MeasureWordWrappedHeight(int width, const std::wstring& text, int lineSpacing = -1);

    // --- Images ----------------------------------------------------------------------------------
    void DrawImage(Image* image, int x, int y);
    void DrawImage(Image* image, int x, int y, const Rect& srcRect);
    void DrawImage(Image* image, int x, int y, int width, int height);
    void DrawImage(Image* image, const Rect& destRect, const Rect& srcRect);
    void DrawImageMirror(Image* image, int x, int y);
    void DrawImageMirror(Image* image, int x, int y, const Rect& srcRect);
    void DrawImageMirror(Image* image, const Rect& destRect, const Rect& srcRect, bool mirror);
    void DrawImageF(Image* image, float x, float y);
    void DrawImageF(Image* image, float x, float y, const Rect& srcRect);
    void DrawImageRotated(Image* image, int x, int y, double angle);
    void DrawImageRotated(Image* image, int x, int y, double angle, int centerX, int centerY, const Rect* srcRect);
    void DrawImageRotatedF(Image* image, float x, float y, double angle);
    void DrawImageRotatedF(Image* image, float x, float y, double angle, float centerX, float centerY,
                           const Rect* srcRect);
    void DrawImageMatrix(Image* image, const Matrix3& matrix, float x, float y);
    void DrawImageMatrix(Image* image, const Matrix3& matrix, const Rect& srcRect, float x, float y);
    void DrawImageTransform(Image* image, const Transform& transform, float x, float y);
    void DrawImageTransformF(Image* image, const Transform& transform, float x, float y);
    void DrawImageTransformF(Image* image, const Transform& transform, const Rect& srcRect, float x, float y);
    void DrawImageTransform(Image* image, const Transform& transform, const Rect& srcRect, float x, float y,
                            bool subPixel);
    void DrawTrianglesTex(Image* texture, const TriangleVertices* triangles, int count);
    // Nine-part box: corners as they are, edges and centre tiled.
    void DrawImageBox(const Rect& destRect, Image* image);
    void DrawImageBox(const Rect& destRect, const Rect& srcRect, Image* image);
    void DrawImageCel(Image* image, int x, int y, int cel);
    void DrawImageCel(Image* image, int x, int y, int column, int row);

private:
    [[nodiscard]] int TX(int x) const { return ToPixel(static_cast<float>(x) + mTransX); }
    [[nodiscard]] int TY(int y) const { return ToPixel(static_cast<float>(y) + mTransY); }
    // Truncated toward zero; a position beyond the int range stays at its end (not a number: 0).
    static int ToPixel(float position)
    {
        if (!(position == position))
            return 0;
        if (position >= 2147483648.0f)
            return INT32_MAX;
        if (position <= -2147483648.0f)
            return INT32_MIN;
        return static_cast<int>(position);
    }
    [[nodiscard]] const Color& Tint() const { return mImageTint ? mColor : Color::White; }
    static bool LiesWithin(const Image& image, const Rect& src);
    static Rect WholeImage(const Image& image) { return Rect(0, 0, image.mWidth, image.mHeight); }

    std::vector<GraphicsState> mStateStack;
};
} // namespace Quoll
