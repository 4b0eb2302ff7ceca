#include "game/play/FloatingText.h"

#include "game/scene/Easing.h"
#include "game/scene/StringNode.h"

#include <algorithm>
#include <array>
#include <numbers>

namespace
{
constexpr std::array<int, 6> kRedFactors{0, 20, 50, 100, 150, 200};
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kColourSpeed = 20.0f;
} // namespace

int FloatingText::RedFactor(int level)
{
    return kRedFactors[static_cast<size_t>(std::clamp(level, 0, 5))];
}

bool FloatingText::Update(float dt)
{
    const float previous = time;
    time += dt;
    if (time < 0)
        return false;
    if (node == nullptr)
        return true;
    if (previous <= 0)
        node->mVisible = true;
    if (time > duration)
    {
        if (node->GetParent() != nullptr)
            node->GetParent()->RemoveChild(node);
        delete node;
        node = nullptr;
        return true;
    }
    node->SetPosition({tween::sine.EaseOut(time, startX, changeX, duration),
                       tween::sine.EaseOut(time, startY, changeY, duration)});
    const float k = time < fadeStart ? 1.0f : 1.0f - (time - fadeStart) / (duration - fadeStart);
    node->mColor.a = static_cast<int>(255.0f * k);
    node->mShadowColor.a = static_cast<int>(200.0f * k);
    phase += kColourSpeed * dt;
    if (phase > kTwoPi)
        phase -= kTwoPi;
    // Red stays within a byte: a larger value would spill into the packed alpha.
    node->mColor.r = std::clamp(static_cast<int>(static_cast<float>(redFactor) * phase), 0, 255);
    node->mColor.g = 255;
    node->mColor.b = 30;
    return false;
}
