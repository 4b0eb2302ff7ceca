#pragma once
// The font interface the drawing context draws and measures text through. The bitmap font
// (ImageFont) and the system font (SysFont) of the widget toolkit implement it; the application
// reaches its overlay font through a hook, since it sits below the toolkit.
#include "framework/display/Color.h"
#include "framework/display/Rect.h"

#include <memory>
#include <string>

namespace Quoll
{
class Graphics;

class Font
{
public:
    Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = delete;
    virtual ~Font() = default;

    [[nodiscard]] virtual int GetHeight() const = 0;
    // Pixels above the baseline.
    [[nodiscard]] virtual int GetAscent() const = 0;
    // Subtracted from the ascent for the first line of wrapped text.
    [[nodiscard]] virtual int GetAscentPadding() const = 0;
    [[nodiscard]] virtual int GetDescent() const { return GetHeight() - GetAscent(); }
    // Height plus the line-spacing offset.
    [[nodiscard]] virtual int GetLineSpacing() const = 0;
    // The sum of the kerned advances of the characters, the first one at a line start.
    [[nodiscard]] virtual int StringWidth(const std::wstring& text) = 0;
    // Advance of a character at a line start.
    [[nodiscard]] virtual int CharWidth(wchar_t c) { return CharWidthKern(c, 0); }
    // Advance of a character after the previous one (0 at a line start).
    [[nodiscard]] virtual int CharWidthKern(wchar_t c, wchar_t previous) = 0;
    // Draws with the baseline at y (context coordinates) into the context's destination image,
    // nothing outside clip (destination pixels, as the context's clip rectangle).
    virtual void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                            const Rect& clip) = 0;
    // An independent copy of the same face and size, owned by the caller (buttons and dialogs
    // keep their own copies).
    [[nodiscard]] virtual std::unique_ptr<Font> Duplicate() const = 0;
};
} // namespace Quoll
