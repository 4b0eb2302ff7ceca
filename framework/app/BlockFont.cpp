#include "framework/app/BlockFont.h"

#include "framework/display/Graphics.h"

namespace Quoll
{
void BlockFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color, const Rect&)
{
    if (g == nullptr)
        return;
    const Color previous = g->GetColor();
    g->SetColor(color);
    for (wchar_t c : text)
    {
        if (c > L' ')
            g->FillRect(x + 1, y - kAscent + 2, kCellWidth - 2, kAscent - 2);
        x += kCellWidth;
    }
    g->SetColor(previous);
}
} // namespace Quoll
