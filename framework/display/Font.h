#pragma once
// The font interface the drawing context draws and measures text through. Bitmap and system
// fonts implement it.
#include "framework/display/Color.h"
#include "framework/display/Rect.h"

#include <string>

namespace Quoll
{
class Graphics;

class Font
{
public:
    virtual ~Font() = default;

    [[nodiscard]] virtual int GetHeight() const = 0;
    // Pixels above the baseline.
    [[nodiscard]] virtual int GetAscent() const = 0;
    // Subtracted from the ascent for the first line of wrapped text.
    [[nodiscard]] virtual int GetAscentPadding() const = 0;
    [[nodiscard]] virtual int GetDescent() const { return GetHeight() - GetAscent(); }
    // Height plus the line-spacing offset.
    [[nodiscard]] virtual int GetLineSpacing() const = 0;
    [[nodiscard]] virtual int StringWidth(const std::wstring& text) = 0;
    // Advance of a character after the previous one (0 at a line start).
    [[nodiscard]] virtual int CharWidthKern(wchar_t c, wchar_t previous) = 0;
    // Draws with the baseline at y into the context's destination image.
    virtual void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                            const Rect& clip) = 0;
};
} // namespace Quoll
