#include "game/scene/StringNode.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/scene/Truncate.h"

void StringNode::Draw(Quoll::Graphics* g)
{
    if (!mVisible || mText.empty() || mFont == nullptr)
        return;
    g->SetFont(mFont);
    const bool savedTint = g->GetImageTint();
    g->SetImageTint(true);

    // The baseline's start from the alignment; halves are integer divisions of the font's sizes.
    FloatPoint p = GetWorldPosition();
    if (mAlignment == TextAlignment::TopLeft)
    {
        p.y += static_cast<float>(mFont->GetHeight());
    }
    else if (mAlignment == TextAlignment::Centred)
    {
        p.x -= static_cast<float>(mFont->StringWidth(mText) / 2);
        p.y += static_cast<float>(mFont->GetHeight() / 2);
    }
    const int x = TruncToInt(p.x), y = TruncToInt(p.y);

    if (mShadowOffsetX != 0 || mShadowOffsetY != 0)
    {
        g->SetColor(mShadowColor);
        g->WriteString(mText, x + mShadowOffsetX, y + mShadowOffsetY);
    }
    g->SetColor(mColor);
    g->WriteString(mText, x, y);
    g->SetImageTint(savedTint);
}
