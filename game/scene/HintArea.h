#pragma once
// HintArea: a rectangle of the screen with a tooltip. While the mouse is inside, the text shows
// at a fixed place, word-wrapped, over a shadow of itself drawn 2 pixels right and down in
// translucent black. A plain value held by its owner, which feeds it the mouse and draws it last.
#include "framework/display/Color.h"
#include "framework/display/Rect.h"

#include <string>

namespace Quoll
{
class Font;
class Graphics;
}

class HintArea
{
public:
    // Inside the rectangle and with a text: shows it at the offset (from the rectangle's corner,
    // or on the screen when absolute) and returns true; otherwise hides it.
    bool HitTest(int x, int y);
    void Hide() { mShownX = mShownY = 0; }
    // Nothing while hidden, without text, or when a coordinate of the shown place is 0. Leaves
    // the context's font and colour as the hint set them.
    void Draw(Quoll::Graphics* g) const;

    [[nodiscard]] int GetShownX() const { return mShownX; }
    [[nodiscard]] int GetShownY() const { return mShownY; }

    Quoll::Rect mRect;
    std::wstring mText;
    Quoll::Color mTextColor = Quoll::Color::White;
    int mOffsetX = 0;
    int mOffsetY = 0;
    int mWrapWidth = 300;
    int mJustification = 0;
    // Not owned.
    Quoll::Font* mFont = nullptr;
    bool mAbsolute = false;

private:
    // Where the text is drawn now; a zero coordinate means hidden.
    int mShownX = 0;
    int mShownY = 0;
};
