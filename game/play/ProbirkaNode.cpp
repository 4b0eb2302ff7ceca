#include "game/play/ProbirkaNode.h"

#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/scene/Easing.h"
#include "game/scene/Sprite.h"
#include "game/shell/PlayServices.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace
{
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
// Radians per second of the celebration's colour cycle.
constexpr float kCelebrationSpeed = 10.0f;
} // namespace

void ProbirkaNode::Init(int maximum, int bacteriaKind)
{
    mMaximum = maximum;
    mKind = bacteriaKind;
}

void ProbirkaNode::SetLevel(int level)
{
    if (level == mLevel)
        return;
    mStartFill = GetFill();
    mLevel = level;
    if (level <= 1)
        mTargetFill = mMaximum <= 1 && level >= 1 ? 1.0f : 0.0f;
    else if (mMaximum <= 1)
        mTargetFill = 1.0f;
    else
        mTargetFill = static_cast<float>(std::min(level, mMaximum) - 1) / static_cast<float>(mMaximum - 1);
    mTweenTime = 0;
    mTweenDuration = kTweenTime;
}

float ProbirkaNode::GetFill() const
{
    if (mTweenTime < mTweenDuration)
        return tween::linear.EaseIn(mTweenTime, mStartFill, mTargetFill - mStartFill, mTweenDuration);
    return mTargetFill;
}

void ProbirkaNode::Update(float dt)
{
    if (mTweenTime < mTweenDuration)
        mTweenTime += dt;
    if (mCelebrating)
    {
        mPhase += kCelebrationSpeed * dt;
        if (mPhase > kTwoPi)
            mPhase -= kTwoPi;
        mJitterX = static_cast<int>(std::cos(mPhase));
        mJitterY = static_cast<int>(3.0f * std::sin(mPhase));
        mNumberColour.g = static_cast<int>((std::cos(mPhase) + 1.0f) * 0.5f * 255.0f);
        mNumberColour.b = static_cast<int>(0.5f * (1.0f + std::sin(mPhase)) * 255.0f);
    }
    else
    {
        mJitterX = 0;
        mJitterY = 0;
    }
    VisualNode::Update(dt);
}

void ProbirkaNode::Draw(Quoll::Graphics* g)
{
    const FloatPoint at = GetWorldPosition();
    const int x = static_cast<int>(at.x);
    const int y = static_cast<int>(at.y);
    const float fill = GetFill();
    const int cel = mKind - 1;
    g->SetImageTint(true);
    g->SetColor(Quoll::Color::White);
    const auto image = [this](const char* name) { return mServices.GetImageById(mServices.GetResourceIdByName(name)); };
    const bool filled = mLevel > 0 || fill > 0;
    const int column = static_cast<int>(fill * static_cast<float>(kColumnHeight));
    if (cel >= 0)
    {
        Quoll::Image* rest = image("IMAGE_PROBIRKA_OST");
        if (filled && rest != nullptr)
            g->DrawImageCel(rest, x + 6, y + 138, cel);
        Quoll::Image* liquid = image("IMAGE_PROBIRKA_FILL");
        if (fill > 0 && liquid != nullptr && column > 0)
        {
            const Quoll::Rect source = GetCelRect(liquid, cel);
            g->DrawImage(liquid, Quoll::Rect(x + 6, y + 138 - column, source.width, column), source);
        }
        Quoll::Image* surface = image("IMAGE_PROBIRKA_TOP");
        if (filled && surface != nullptr)
            g->DrawImageCel(surface, x + 6, y + 136 - column, cel);
    }
    Quoll::Image* glass = image("IMAGE_PROBIRKA");
    if (glass != nullptr)
        g->DrawImage(glass, x, y);
    Quoll::Font* font = mServices.GetFont("FONT_NUM");
    if (mShowNumber && font != nullptr)
    {
        const std::wstring text = std::to_wstring(mLevel);
        const int glassWidth = glass != nullptr ? glass->GetWidth() : 0;
        g->SetFont(font);
        g->SetColor(mNumberColour);
        g->DrawString(text, x + (glassWidth - font->StringWidth(text)) / 2 + mJitterX, y - 10 + mJitterY);
    }
    VisualNode::Draw(g);
}
