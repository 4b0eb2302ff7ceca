#include "framework/display/Graphics.h"

#include "framework/display/DDImage.h"
#include "framework/display/Font.h"

#include <cmath>
#include <new>
#include <utility>

namespace Quoll
{
namespace
{
int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return 0;
}

// The value of the six characters after a '^': "oldclr" is the old colour, another word
// starting with 'o' is 0, else six hexadecimal digits RRGGBB.
int EscapeValue(const std::wstring& text, size_t at, int oldColor)
{
    if (text[at] == L'o')
        return text.compare(at, 6, L"oldclr") == 0 ? oldColor : 0;
    int value = 0;
    for (size_t i = 0; i < 6; ++i)
        value = value * 16 + HexDigit(text[at + i]);
    return value;
}
} // namespace

Graphics::Graphics(Image* destImage)
{
    mDestImage = destImage != nullptr ? destImage : &GetDummyImage();
    mClipRect = WholeImage(*mDestImage);
    mColor = Color(0, 0, 0, 255);
    mIs3D = IsImage3D(mDestImage);
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other) {}

std::unique_ptr<Graphics> Graphics::Create() const
{
    return std::unique_ptr<Graphics>(new (std::nothrow) Graphics(*this));
}

void Graphics::PushState()
{
    mStateStack.push_back(static_cast<const GraphicsState&>(*this));
}

void Graphics::PopState()
{
    if (mStateStack.empty())
        return;
    CopyFrom(mStateStack.back());
    mStateStack.pop_back();
}

void Graphics::Translate(int dx, int dy)
{
    mTransX += static_cast<float>(dx);
    mTransY += static_cast<float>(dy);
}

void Graphics::ClearClipRect()
{
    mClipRect = WholeImage(*mDestImage);
}

void Graphics::ClipRect(int x, int y, int width, int height)
{
    mClipRect = mClipRect.Intersection(Rect(TX(x), TY(y), width, height));
}

// --- Shapes ----------------------------------------------------------------------------------

void Graphics::FillRect(int x, int y, int width, int height)
{
    if (mColor.a == 0)
        return;
    const Rect area = Rect(TX(x), TY(y), width, height).Intersection(mClipRect);
    if (area.width > 0 && area.height > 0)
        mDestImage->FillRect(area, mColor, mDrawMode);
}

void Graphics::DrawRect(int x, int y, int width, int height)
{
    if (mColor.a == 0)
        return;
    const Rect outline(TX(x), TY(y), width + 1, height + 1);
    if (outline.Intersection(mClipRect) == outline)
    {
        mDestImage->DrawRect(Rect(outline.x, outline.y, width, height), mColor, mDrawMode);
        return;
    }
    FillRect(x, y, width + 1, 1);
    FillRect(x, y + height, width + 1, 1);
    FillRect(x, y + 1, 1, height - 1);
    FillRect(x + width, y + 1, 1, height - 1);
}

bool Graphics::ClipLine(double& x0, double& y0, double& x1, double& y1) const
{
    const double left = mClipRect.x, right = mClipRect.x + mClipRect.width;
    const double top = mClipRect.y, bottom = mClipRect.y + mClipRect.height;
    // Horizontal cuts, endpoints ordered by x.
    if (x0 > x1)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (x1 < left || x0 >= right)
        return false;
    if (x0 < left)
    {
        y0 += (left - x0) * (y1 - y0) / (x1 - x0);
        x0 = left;
    }
    if (x1 >= right)
    {
        y1 = y0 + (right - 1 - x0) * (y1 - y0) / (x1 - x0);
        x1 = right - 1;
    }
    // Vertical cuts, endpoints ordered by y.
    if (y0 > y1)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (y1 < top || std::ceil(y0) >= bottom)
        return false;
    if (y0 < top)
    {
        x0 += (top - y0) * (x1 - x0) / (y1 - y0);
        y0 = top;
    }
    if (y1 >= bottom)
    {
        x1 = x0 + (bottom - 1 - y0) * (x1 - x0) / (y1 - y0);
        y1 = bottom - 1;
    }
    return true;
}

void Graphics::DrawLine(int x0, int y0, int x1, int y1)
{
    double fx0 = x0 + static_cast<double>(mTransX), fy0 = y0 + static_cast<double>(mTransY);
    double fx1 = x1 + static_cast<double>(mTransX), fy1 = y1 + static_cast<double>(mTransY);
    if (ClipLine(fx0, fy0, fx1, fy1))
        mDestImage->DrawLine(fx0, fy0, fx1, fy1, mColor, mDrawMode);
}

// --- Text --------------------------------------------------------------------------------------

void Graphics::DrawString(const std::wstring& text, int x, int y)
{
    if (mFont != nullptr)
        mFont->DrawString(this, x, y, text, mColor, mClipRect);
}

int Graphics::WriteString(const std::wstring& text, int x, int y, int width, int justification, bool draw,
                          int offset, int length, int oldColor)
{
    if (mFont == nullptr)
        return 0;
    // 1. The colour that ^oldclr^ restores.
    if (oldColor == -1)
        oldColor = static_cast<int>(mColor.ToInt());
    // 2. Justification by a measuring pass, which must not leave its escapes' colour behind.
    if (draw && (justification == 0 || justification == 1))
    {
        const Color saved = mColor;
        const int w = WriteString(text, x, y, width, -1, false, offset, length, oldColor);
        mColor = saved;
        x += justification == 0 ? (width - w) / 2 : width - w;
    }
    // 3. The part to write.
    const int size = static_cast<int>(text.size());
    const int end = length >= 0 ? std::min(offset + length, size) : size;
    // 4. Pending pieces are drawn in the colour before each escape.
    std::wstring piece;
    int advance = 0;
    auto flush = [&] {
        if (draw)
            DrawString(piece, x + advance, y);
        advance += mFont->StringWidth(piece);
        piece.clear();
    };
    for (int i = std::max(offset, 0); i < end; ++i)
    {
        const wchar_t c = text[static_cast<size_t>(i)];
        if (!mColorEscapes || c != L'^')
        {
            piece += c;
            continue;
        }
        if (i + 1 < end && text[static_cast<size_t>(i) + 1] == L'^')
        {
            piece += L'^';
            ++i;
            continue;
        }
        if (i > end - 8)
            break;
        const int value = EscapeValue(text, static_cast<size_t>(i) + 1, oldColor);
        flush();
        mColor = Color((value >> 16) & 255, (value >> 8) & 255, value & 255, mColor.a);
        i += 7;
    }
    // 5. The rest.
    flush();
    return advance;
}

int Graphics::WriteStringPart(const std::wstring& text, int offset, int length, int x, int y, int width,
                              int justification, int oldColor)
{
    const int left = static_cast<int>(text.size()) - offset;
    if (offset < 0 || left <= 0)
        return -1;
    return WriteString(text, x, y, width, justification, true, offset, std::min(length, left), oldColor);
}

int Graphics::DrawWordWrapped(const Rect& rect, const std::wstring& text, int lineSpacing, int justification)
{
    if (mFont == nullptr)
        return 0;
    // 1. The colour is restored at the end; escapes of the lines restore ^oldclr^ to it.
    const Color saved = mColor;
    uint32_t packed = mColor.ToInt();
    if ((packed >> 24) == 255)
        packed &= 0xFFFFFF;
    const auto oldColor = static_cast<int>(packed);
    // 2. First baseline and spacing.
    int yOffset = mFont->GetAscent() - mFont->GetAscentPadding();
    if (lineSpacing == -1)
        lineSpacing = mFont->GetLineSpacing();

    const int size = static_cast<int>(text.size());
    int lineStart = 0, lastBreak = -1, width = 0;
    bool breakIsNewline = false;
    wchar_t previous = 0;
    auto visible = [&] {
        const int lineY = static_cast<int>(mTransY + static_cast<float>(rect.y + yOffset));
        return lineY >= mClipRect.y && lineY < mClipRect.y + mClipRect.height + lineSpacing;
    };
    for (int i = 0; i < size;)
    {
        // 3. Measure the next character.
        const int current = i;
        const wchar_t c = text[static_cast<size_t>(i)];
        if (mColorEscapes && c == L'^' && !(i + 1 < size && text[static_cast<size_t>(i) + 1] == L'^'))
        {
            i += 8;
            continue;
        }
        if (mColorEscapes && c == L'^')
        {
            width += mFont->CharWidthKern(L'^', previous);
            previous = L'^';
            i += 2;
        }
        else if (c == L'\n')
        {
            lastBreak = i;
            breakIsNewline = true;
            width = rect.width + 1;
            ++i;
        }
        else
        {
            if (c == L' ')
            {
                lastBreak = i;
                breakIsNewline = false;
            }
            width += mFont->CharWidthKern(c, previous);
            previous = c;
            ++i;
        }
        if (width <= rect.width)
            continue;
        // 4. Break the line at the last space or newline, else before this character.
        if (lastBreak >= 0)
        {
            if (visible())
                WriteStringPart(text, lineStart, lastBreak - lineStart, rect.x, rect.y + yOffset, rect.width,
                                justification, oldColor);
            lineStart = lastBreak + 1;
            if (!breakIsNewline)
                while (lineStart < size && text[static_cast<size_t>(lineStart)] == L' ')
                    ++lineStart;
        }
        else
        {
            const int lineEnd = std::max(current, lineStart + 1);
            if (WriteStringPart(text, lineStart, lineEnd - lineStart, rect.x, rect.y + yOffset, rect.width,
                                justification, oldColor) < 0)
                break;
            lineStart = lineEnd;
        }
        i = lineStart;
        yOffset += lineSpacing;
        lastBreak = -1;
        width = 0;
        previous = 0;
    }
    // 5. The last line.
    if (lineStart < size)
    {
        if (WriteStringPart(text, lineStart, size - lineStart, rect.x, rect.y + yOffset, rect.width, justification,
                            oldColor) >= 0)
            yOffset += lineSpacing;
    }
    else if (size > 0 && text.back() == L'\n')
    {
        yOffset += lineSpacing;
    }
    mColor = saved;
    // 6. Height used.
    return mFont->GetDescent() + yOffset - lineSpacing;
}

void Graphics::DrawStringWordWrapped(const std::wstring& text, int x, int y, int wrapWidth, int justification)
{
    if (mFont == nullptr)
        return;
    DrawWordWrapped(Rect(x, y - mFont->GetAscent() + mFont->GetAscentPadding(), wrapWidth, 0), text,
                    mFont->GetLineSpacing(), justification);
}

int Graphics::MeasureWordWrappedHeight(int width, const std::wstring& text, int lineSpacing)
{
    Graphics scratch(nullptr);
    scratch.SetFont(mFont);
    return scratch.DrawWordWrapped(Rect(0, 0, width, 0), text, lineSpacing);
}

// --- Images ------------------------------------------------------------------------------------

bool Graphics::LiesWithin(const Image& image, const Rect& src)
{
    return src.x >= 0 && src.y >= 0 && src.width >= 0 && src.height >= 0 && src.x + src.width <= image.mWidth &&
           src.y + src.height <= image.mHeight;
}

void Graphics::DrawImage(Image* image, int x, int y)
{
    if (image == nullptr)
        return;
    DrawImage(image, x, y, WholeImage(*image));
}

void Graphics::DrawImage(Image* image, int x, int y, const Rect& srcRect)
{
    if (image == nullptr || !LiesWithin(*image, srcRect))
        return;
    const int tx = TX(x), ty = TY(y);
    if (mScaleX == 1 && mScaleY == 1)
    {
        const Rect clipped = Rect(tx, ty, srcRect.width, srcRect.height).Intersection(mClipRect);
        if (clipped.width > 0 && clipped.height > 0)
            mDestImage->Blt(image, clipped.x, clipped.y,
                            Rect(srcRect.x + clipped.x - tx, srcRect.y + clipped.y - ty, clipped.width, clipped.height),
                            Tint(), mDrawMode);
        return;
    }
    const Rect dest(static_cast<int>(std::floor((static_cast<float>(tx) - mScaleOrigX) * mScaleX) + mScaleOrigX),
                    static_cast<int>(std::floor((static_cast<float>(ty) - mScaleOrigY) * mScaleY) + mScaleOrigY),
                    static_cast<int>(std::ceil(static_cast<float>(srcRect.width) * mScaleX)),
                    static_cast<int>(std::ceil(static_cast<float>(srcRect.height) * mScaleY)));
    mDestImage->StretchBlt(image, dest, srcRect, mClipRect, Tint(), mDrawMode, mFastStretch);
}

void Graphics::DrawImage(Image* image, int x, int y, int width, int height)
{
    if (image == nullptr)
        return;
    DrawImage(image, Rect(x, y, width, height), WholeImage(*image));
}

void Graphics::DrawImage(Image* image, const Rect& destRect, const Rect& srcRect)
{
    if (image == nullptr)
        return;
    mDestImage->StretchBlt(image, Rect(TX(destRect.x), TY(destRect.y), destRect.width, destRect.height), srcRect,
                           mClipRect, Tint(), mDrawMode, mFastStretch);
}

void Graphics::DrawImageMirror(Image* image, int x, int y)
{
    if (image == nullptr)
        return;
    DrawImageMirror(image, x, y, WholeImage(*image));
}

void Graphics::DrawImageMirror(Image* image, int x, int y, const Rect& srcRect)
{
    if (image == nullptr || !LiesWithin(*image, srcRect))
        return;
    const int tx = TX(x), ty = TY(y);
    const Rect clipped = Rect(tx, ty, srcRect.width, srcRect.height).Intersection(mClipRect);
    if (clipped.width <= 0 || clipped.height <= 0)
        return;
    // What the clip cuts off the left of the destination comes off the right of the source.
    const Rect src(srcRect.x + srcRect.width - (clipped.x - tx) - clipped.width, srcRect.y + (clipped.y - ty),
                   clipped.width, clipped.height);
    mDestImage->BltMirror(image, clipped.x, clipped.y, src, Tint(), mDrawMode);
}

void Graphics::DrawImageMirror(Image* image, const Rect& destRect, const Rect& srcRect, bool mirror)
{
    if (image == nullptr)
        return;
    if (!mirror)
    {
        DrawImage(image, destRect, srcRect);
        return;
    }
    mDestImage->StretchBltMirror(image, Rect(TX(destRect.x), TY(destRect.y), destRect.width, destRect.height),
                                 srcRect, mClipRect, Tint(), mDrawMode);
}

void Graphics::DrawImageF(Image* image, float x, float y)
{
    if (image == nullptr)
        return;
    DrawImageF(image, x, y, WholeImage(*image));
}

void Graphics::DrawImageF(Image* image, float x, float y, const Rect& srcRect)
{
    if (image == nullptr)
        return;
    mDestImage->BltAtFloat(image, x + mTransX, y + mTransY, srcRect, mClipRect, Tint(), mDrawMode);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle)
{
    if (image == nullptr)
        return;
    DrawImageRotated(image, x, y, angle, image->mWidth / 2, image->mHeight / 2, nullptr);
}

void Graphics::DrawImageRotated(Image* image, int x, int y, double angle, int centerX, int centerY,
                                const Rect* srcRect)
{
    DrawImageRotatedF(image, static_cast<float>(x), static_cast<float>(y), angle, static_cast<float>(centerX),
                      static_cast<float>(centerY), srcRect);
}

void Graphics::DrawImageRotatedF(Image* image, float x, float y, double angle)
{
    if (image == nullptr)
        return;
    DrawImageRotatedF(image, x, y, angle, static_cast<float>(image->mWidth) * 0.5f,
                      static_cast<float>(image->mHeight) * 0.5f, nullptr);
}

void Graphics::DrawImageRotatedF(Image* image, float x, float y, double angle, float centerX, float centerY,
                                 const Rect* srcRect)
{
    if (image == nullptr)
        return;
    mDestImage->BltRotated(image, x + mTransX, y + mTransY, srcRect != nullptr ? *srcRect : WholeImage(*image),
                           mClipRect, Tint(), mDrawMode, angle, centerX, centerY);
}

void Graphics::DrawImageMatrix(Image* image, const Matrix3& matrix, float x, float y)
{
    if (image == nullptr)
        return;
    DrawImageMatrix(image, matrix, WholeImage(*image), x, y);
}

void Graphics::DrawImageMatrix(Image* image, const Matrix3& matrix, const Rect& srcRect, float x, float y)
{
    if (image == nullptr)
        return;
    mDestImage->BltMatrix(image, x + mTransX, y + mTransY, matrix, mClipRect, Tint(), mDrawMode, srcRect,
                          mTriangleFiltering);
}

void Graphics::DrawImageTransform(Image* image, const Transform& transform, float x, float y)
{
    if (image == nullptr)
        return;
    DrawImageTransform(image, transform, WholeImage(*image), x, y, false);
}

void Graphics::DrawImageTransformF(Image* image, const Transform& transform, float x, float y)
{
    if (image == nullptr)
        return;
    DrawImageTransform(image, transform, WholeImage(*image), x, y, true);
}

void Graphics::DrawImageTransformF(Image* image, const Transform& transform, const Rect& srcRect, float x, float y)
{
    DrawImageTransform(image, transform, srcRect, x, y, true);
}

void Graphics::DrawImageTransform(Image* image, const Transform& transform, const Rect& srcRect, float x, float y,
                                  bool subPixel)
{
    if (image == nullptr)
        return;
    const Transform& t = transform;
    const float halfW = static_cast<float>(srcRect.width) * 0.5f, halfH = static_cast<float>(srcRect.height) * 0.5f;
    // 1. Matrix draw.
    if (t.mComplex || (mIs3D && subPixel))
    {
        Transform copy = transform;
        DrawImageMatrix(image, copy.GetMatrix(), srcRect, x, y);
        return;
    }
    // 2. Rotation about the first translation.
    if (t.mHasRotation)
    {
        const float hw = halfW - t.mTransX1, hh = halfH - t.mTransY1;
        const float px = t.mTransX2 + x - hw + 0.5f, py = t.mTransY2 + y - hh + 0.5f;
        if (subPixel)
            DrawImageRotatedF(image, px, py, t.mRotation, hw, hh, &srcRect);
        else
            DrawImageRotated(image, static_cast<int>(px), static_cast<int>(py), t.mRotation, static_cast<int>(hw),
                             static_cast<int>(hh), &srcRect);
        return;
    }
    const float px = x + t.mTransX1 + t.mTransX2 - halfW + 0.5f, py = y + t.mTransY1 + t.mTransY2 - halfH + 0.5f;
    // 3. Translation only.
    if (!t.mHasScale)
    {
        if (subPixel)
            DrawImageF(image, px, py, srcRect);
        else
            DrawImage(image, static_cast<int>(px), static_cast<int>(py), srcRect);
        return;
    }
    // 4. A plain horizontal mirror.
    if (t.mScaleX == -1 && t.mScaleY == 1)
    {
        DrawImageMirror(image, static_cast<int>(px), static_cast<int>(py), srcRect);
        return;
    }
    // 5. Stretched about the second translation; any negative x scale mirrors.
    const float scaledHalfW = halfW * std::fabs(t.mScaleX), scaledHalfH = halfH * t.mScaleY;
    const float cx = x + t.mTransX2, cy = y + t.mTransY2;
    const Rect dest(static_cast<int>(cx - scaledHalfW), static_cast<int>(cy - scaledHalfH),
                    static_cast<int>(scaledHalfW * 2), static_cast<int>(scaledHalfH * 2));
    DrawImageMirror(image, dest, srcRect, t.mScaleX < 0);
}

void Graphics::DrawTrianglesTex(Image* texture, const TriangleVertices* triangles, int count)
{
    if (texture == nullptr)
        return;
    mDestImage->BltTrianglesTex(texture, triangles, count, mClipRect, Tint(), mDrawMode, mTransX, mTransY,
                                mTriangleFiltering);
}

void Graphics::DrawImageBox(const Rect& destRect, Image* image)
{
    if (image == nullptr)
        return;
    DrawImageBox(destRect, WholeImage(*image), image);
}

void Graphics::DrawImageBox(const Rect& destRect, const Rect& srcRect, Image* image)
{
    if (image == nullptr || srcRect.width < 1 || srcRect.height < 1)
        return;
    const Rect& d = destRect;
    const Rect& s = srcRect;
    const int cw = s.width / 3, ch = s.height / 3;
    const int midW = s.width - 2 * cw, midH = s.height - 2 * ch;
    const int right = d.x + d.width - cw, bottom = d.y + d.height - ch;
    const int across = (d.width - 2 * cw + midW - 1) / midW, down = (d.height - 2 * ch + midH - 1) / midH;
    // 1. Corners.
    DrawImage(image, d.x, d.y, Rect(s.x, s.y, cw, ch));
    DrawImage(image, right, d.y, Rect(s.x + s.width - cw, s.y, cw, ch));
    DrawImage(image, d.x, bottom, Rect(s.x, s.y + s.height - ch, cw, ch));
    DrawImage(image, right, bottom, Rect(s.x + s.width - cw, s.y + s.height - ch, cw, ch));
    // 2. Top and bottom edges, tiled across; the clip cuts the last tile.
    Graphics edges(*this);
    edges.ClipRect(d.x + cw, d.y, d.width - 2 * cw, d.height);
    for (int i = 0; i < across; ++i)
    {
        edges.DrawImage(image, d.x + cw + i * midW, d.y, Rect(s.x + cw, s.y, midW, ch));
        edges.DrawImage(image, d.x + cw + i * midW, bottom, Rect(s.x + cw, s.y + s.height - ch, midW, ch));
    }
    // 3. Left and right edges, tiled down.
    Graphics sides(*this);
    sides.ClipRect(d.x, d.y + ch, d.width, d.height - 2 * ch);
    for (int i = 0; i < down; ++i)
    {
        sides.DrawImage(image, d.x, d.y + ch + i * midH, Rect(s.x, s.y + ch, cw, midH));
        sides.DrawImage(image, right, d.y + ch + i * midH, Rect(s.x + s.width - cw, s.y + ch, cw, midH));
    }
    // 4. Centre, tiled both ways.
    Graphics centre(*this);
    centre.ClipRect(d.x + cw, d.y + ch, d.width - 2 * cw, d.height - 2 * ch);
    for (int row = 0; row < down; ++row)
        for (int column = 0; column < across; ++column)
            centre.DrawImage(image, d.x + cw + column * midW, d.y + ch + row * midH,
                             Rect(s.x + cw, s.y + ch, midW, midH));
}

void Graphics::DrawImageCel(Image* image, int x, int y, int cel)
{
    if (image == nullptr || image->mNumCols <= 0 || cel < 0)
        return;
    DrawImageCel(image, x, y, cel % image->mNumCols, cel / image->mNumCols);
}

void Graphics::DrawImageCel(Image* image, int x, int y, int column, int row)
{
    if (image == nullptr || row < 0 || row >= image->mNumRows || column < 0 || column >= image->mNumCols)
        return;
    const int cw = image->GetCelWidth(), ch = image->GetCelHeight();
    DrawImage(image, x, y, Rect(column * cw, row * ch, cw, ch));
}
} // namespace Quoll
