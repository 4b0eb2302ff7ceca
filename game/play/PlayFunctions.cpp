#include "game/play/PlayFunctions.h"

#include "game/shell/LerpInt.h"
#include "game/ui/GameColors.h"

#include <cmath>

void AppendStringList(const char* const* strings, std::vector<std::string>& out)
{
    if (strings == nullptr)
        return;
    for (; *strings != nullptr; ++strings)
        out.emplace_back(*strings);
}

float EaseOutSine(float t)
{
    constexpr float kHalfPi = 1.5707964f;
    return std::sin(t * kHalfPi);
}

Quoll::Color BlendLabelColour(float t)
{
    const Quoll::Color& from = ColorLabel;
    const Quoll::Color& to = ColorLabelOver;
    return {LerpInt(from.r, to.r, t), LerpInt(from.g, to.g, t), LerpInt(from.b, to.b, t), LerpInt(from.a, to.a, t)};
}
