#include "TestScene.h"

#include <vector>

namespace Quoll::Testing
{
void BlockFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect&)
{
    g->PushState();
    g->SetColor(color);
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != L' ')
            g->FillRect(x + 6 * static_cast<int>(i), y - 7, 5, 7 - static_cast<int>(text[i] % 3));
    g->PopState();
}

void MakeSprite(MemoryImage& sprite)
{
    std::vector<uint32_t> pixels(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const int d2 = (x - 8) * (x - 8) + (y - 8) * (y - 8);
            const uint32_t alpha = d2 > 64 ? 0 : d2 > 36 ? 128 : 255;
            pixels[static_cast<size_t>(y * 16 + x)] =
                alpha << 24 | static_cast<uint32_t>(x * 16) << 16 | static_cast<uint32_t>(y * 16) << 8 | 0x60;
        }
    sprite.SetBits(pixels.data(), 16, 16);
    sprite.mNumRows = sprite.mNumCols = 2;
}

void MakeChecker(MemoryImage& checker)
{
    std::vector<uint32_t> pixels(64);
    for (int i = 0; i < 64; ++i)
        pixels[static_cast<size_t>(i)] = ((i / 8 + i % 8) % 2 != 0) ? 0xFFE0E020 : 0x802040C0;
    checker.SetBits(pixels.data(), 8, 8);
    checker.Palletize();
}

void MakeCanvas(MemoryImage& canvas, int width, int height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
    for (int i = 0; i < width * height; ++i)
        pixels[static_cast<size_t>(i)] = 0xFF101828 + static_cast<uint32_t>((i / width) % 16);
    canvas.SetBits(pixels.data(), width, height);
}

void DrawSoftwareScene(Image& canvas)
{
    MemoryImage sprite, checker;
    MakeSprite(sprite);
    MakeChecker(checker);
    BlockFont font;
    Graphics g(&canvas);
    g.SetFont(&font);

    // Shapes.
    g.SetColor(Color(200, 60, 60));
    g.FillRect(4, 4, 30, 12);
    g.SetColor(Color(60, 200, 60, 128));
    g.FillRect(20, 8, 30, 12);
    g.SetColor(Color::White);
    g.DrawRect(2, 2, 50, 20);
    g.DrawLine(56, 4, 90, 20);
    g.SetDrawMode(DrawMode::Additive);
    g.SetColor(Color(40, 40, 200));
    g.DrawLine(56, 20, 90, 6);
    g.SetDrawMode(DrawMode::Normal);
    canvas.DrawLineAA(94, 4, 130, 22, Color(255, 255, 0), DrawMode::Normal);
    canvas.ClearRect(Rect(134, 4, 6, 6));
    const ScanSpan spans[3] = {{8, 144, 10}, {9, 143, 12}, {10, 144, 10}};
    canvas.FillScanLines(spans, 3, Color(255, 128, 0, 200), DrawMode::Normal);
    std::vector<uint8_t> coverage(16 * 4);
    for (size_t i = 0; i < coverage.size(); ++i)
        coverage[i] = static_cast<uint8_t>(i * 16);
    const ScanSpan covered[4] = {{14, 160, 16}, {15, 160, 16}, {16, 160, 16}, {17, 160, 16}};
    canvas.FillScanLinesWithAlpha(covered, 4, Color(0, 255, 255), DrawMode::Normal, coverage.data(), 160, 14, 16, 4);

    // Images.
    g.DrawImage(&sprite, 4, 28);
    g.SetImageTint(true);
    g.SetColor(Color(255, 128, 128, 200));
    g.DrawImage(&sprite, 24, 28);
    g.SetImageTint(false);
    g.SetDrawMode(DrawMode::Additive);
    g.DrawImage(&sprite, 44, 28);
    g.SetDrawMode(DrawMode::Normal);
    g.DrawImage(&checker, 64, 32);
    g.DrawImageMirror(&sprite, 76, 28);
    g.DrawImageCel(&sprite, 96, 28, 3);
    g.DrawImageF(&sprite, 108.4f, 28.7f);
    g.DrawImageRotated(&sprite, 128, 28, 0.6);
    g.DrawImageRotatedF(&sprite, 150.5f, 28.25f, -1.2);
    g.SetFastStretch(true);
    g.DrawImage(&sprite, 4, 50, 32, 24);
    g.SetFastStretch(false);
    g.DrawImage(&sprite, Rect(40, 50, 32, 24), Rect(0, 0, 16, 16));
    g.DrawImage(&checker, Rect(76, 50, 5, 20), Rect(0, 0, 8, 8));
    g.DrawImageMirror(&sprite, Rect(86, 50, 24, 24), Rect(0, 0, 16, 16), true);
    g.PushState();
    g.mScaleX = 1.5f;
    g.mScaleY = 1.5f;
    g.mScaleOrigX = 116;
    g.mScaleOrigY = 50;
    g.DrawImage(&sprite, 116, 50);
    g.PopState();
    g.DrawImageBox(Rect(4, 80, 60, 28), &sprite);
    Transform mirror;
    mirror.Scale(-1, 1);
    g.DrawImageTransform(&sprite, mirror, 80, 90);
    Transform turned;
    turned.Rotate(0.3f);
    g.DrawImageTransformF(&sprite, turned, 100, 90);
    Transform stretched;
    stretched.Scale(2, 1);
    g.DrawImageTransform(&sprite, stretched, 130, 90);

    // Text.
    g.SetColor(Color(220, 220, 220));
    g.WriteString(L"AB^FF4040^CD^oldclr^E", 4, 122);
    g.DrawWordWrapped(Rect(70, 112, 60, 0), L"wrap this text please", -1, 1);
    g.Translate(130, 0);
    g.ClipRect(0, 110, 40, 20);
    g.DrawString(L"clipped text", 0, 124);
}
} // namespace Quoll::Testing
