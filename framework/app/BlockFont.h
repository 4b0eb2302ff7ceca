#pragma once
// A stand-in font for the application's diagnostic overlays until real fonts are loaded: every
// character is a cell of fixed width, and every visible character a solid block in it.
#include "framework/display/Font.h"

namespace Quoll
{
class BlockFont final : public Font
{
public:
    static constexpr int kCellWidth = 6;
    static constexpr int kHeight = 13;
    static constexpr int kAscent = 10;

    [[nodiscard]] int GetHeight() const override { return kHeight; }
    [[nodiscard]] int GetAscent() const override { return kAscent; }
    [[nodiscard]] int GetAscentPadding() const override { return 0; }
    [[nodiscard]] int GetLineSpacing() const override { return kHeight; }
    [[nodiscard]] int StringWidth(const std::wstring& text) override { return int(text.size()) * kCellWidth; }
    [[nodiscard]] int CharWidthKern(wchar_t, wchar_t) override { return kCellWidth; }
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect& clip) override;
    [[nodiscard]] std::unique_ptr<Font> Duplicate() const override { return std::make_unique<BlockFont>(*this); }
};
} // namespace Quoll
