#include "game/scene/HintArea.h"

#include "framework/display/Graphics.h"

bool HintArea::HitTest(int x, int y)
{
    const bool inside = x >= mRect.x && x < mRect.x + mRect.width && y >= mRect.y && y < mRect.y + mRect.height;
    if (mText.empty() || !inside)
    {
        Hide();
        return false;
    }
    mShownX = mOffsetX + (mAbsolute ? 0 : mRect.x);
    mShownY = mOffsetY + (mAbsolute ? 0 : mRect.y);
    return true;
}

void HintArea::Draw(Quoll::Graphics* g) const
{
    if (mText.empty() || mShownX == 0 || mShownY == 0)
        return;
    g->SetFont(mFont);
    g->SetColor(Quoll::Color(0, 0, 0, 200));
    g->DrawStringWordWrapped(mText, mShownX + 2, mShownY + 2, mWrapWidth, mJustification);
    g->SetColor(mTextColor);
    g->DrawStringWordWrapped(mText, mShownX, mShownY, mWrapWidth, mJustification);
}
