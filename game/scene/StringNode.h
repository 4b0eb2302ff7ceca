#pragma once
// StringNode: one line of wide text in a font, in the node's colour, with an optional shadow copy
// drawn first. Colour escapes in the text recolour both copies. Its children are updated but
// never drawn.
#include "framework/display/Color.h"
#include "game/scene/VisualNode.h"

#include <string>

namespace Quoll
{
class Font;
}

// Where the world position lies relative to the text.
enum class TextAlignment : int
{
    Baseline = 0, // the start of the baseline
    TopLeft = 1,  // the top-left corner: the baseline is one font height lower
    Centred = 2,  // the middle of the text
};

class StringNode : public VisualNode
{
public:
    // The text only (not the children); nothing when hidden, empty or without a font.
    void Draw(Quoll::Graphics* g) override;

    // Offset of the shadow copy; (0, 0) draws no shadow.
    int mShadowOffsetX = 0;
    int mShadowOffsetY = 0;
    Quoll::Color mShadowColor = Quoll::Color::Black;
    bool mVisible = true;
    // Not owned.
    Quoll::Font* mFont = nullptr;
    std::wstring mText;
    TextAlignment mAlignment = TextAlignment::TopLeft;
};
