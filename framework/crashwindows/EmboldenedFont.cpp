#include "framework/crashwindows/EmboldenedFont.h"

namespace Quoll
{
int EmboldenedFont::StringWidth(const std::wstring& text)
{
    return mRegular->StringWidth(text) + static_cast<int>(text.size());
}

int EmboldenedFont::CharWidthKern(wchar_t c, wchar_t previous) { return mRegular->CharWidthKern(c, previous) + 1; }

void EmboldenedFont::DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                                const Rect& clip)
{
    // The kerning of a pair moves the character; its own advance and the extra pixel follow it.
    wchar_t previous = 0;
    for (wchar_t c : text)
    {
        const int advance = mRegular->CharWidth(c);
        x += mRegular->CharWidthKern(c, previous) - advance;
        const std::wstring one(1, c);
        mRegular->DrawString(g, x, y, one, color, clip);
        mRegular->DrawString(g, x + 1, y, one, color, clip);
        x += advance + 1;
        previous = c;
    }
}

std::unique_ptr<Font> EmboldenedFont::Duplicate() const { return std::make_unique<EmboldenedFont>(*this); }
} // namespace Quoll
