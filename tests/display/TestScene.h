#pragma once
// The golden test scene: images and a drawing sequence that make every drawing call of the
// context and the images at least once. Drawn into a memory image (scene.png) and into the
// screen image of the display in each surface format.
#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"

namespace Quoll::Testing
{
// Block letters: every character a 5 x 7 box, 6 pixels apart.
class BlockFont : public Font
{
public:
    int GetHeight() const override { return 9; }
    int GetAscent() const override { return 7; }
    int GetAscentPadding() const override { return 0; }
    int GetLineSpacing() const override { return 10; }
    int StringWidth(const std::wstring& text) override { return 6 * static_cast<int>(text.size()); }
    int CharWidthKern(wchar_t, wchar_t) override { return 6; }
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect&) override;
    std::unique_ptr<Font> Duplicate() const override { return std::make_unique<BlockFont>(*this); }
};

// A 16 x 16 sprite: colour gradient, transparent corners, a half-transparent ring.
void MakeSprite(MemoryImage& sprite);
// An 8 x 8 palette checker of an opaque and a half-transparent colour.
void MakeChecker(MemoryImage& checker);
// An opaque background with a faint vertical gradient.
void MakeCanvas(MemoryImage& canvas, int width, int height);
// The scene of 192 x 144 pixels drawn over whatever the canvas holds.
void DrawSoftwareScene(Image& canvas);
} // namespace Quoll::Testing
