#include "game/scene/Mover_NodeAffector.h"

#include "game/scene/Truncate.h"
#include "game/scene/VisualNode.h"
#include "game/shell/SceneServices.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

Mover_NodeAffector::Mover_NodeAffector(SceneServices& services) : mServices(services)
{
    // The order of the draws is part of the behaviour: the phase first, then the heading.
    mPhase = services.RandFloat(kTwoPi);
    mDirection = services.RandFloat(kTwoPi);
    SetArea(services.GetScreenRect());
}

void Mover_NodeAffector::SetArea(const Quoll::Rect& area)
{
    // Random points are drawn modulo the size: an empty area would divide by zero.
    mArea = Quoll::Rect(area.x, area.y, std::max(area.width, 1), std::max(area.height, 1));
}

// The area's edges are summed in 64 bits: a description may place an area of any width at
// any position, and its far edge may lie beyond the int range.
FloatPoint Mover_NodeAffector::RandomPointInArea()
{
    const int64_t x = int64_t{mServices.RandInt(mArea.width)} + mArea.x;
    const int64_t y = int64_t{mServices.RandInt(mArea.height)} + mArea.y;
    return {static_cast<float>(x), static_cast<float>(y)};
}

bool Mover_NodeAffector::IsOutsideArea() const
{
    const int64_t px = TruncToInt(mPosition.x), py = TruncToInt(mPosition.y);
    return px < mArea.x || px >= int64_t{mArea.x} + mArea.width || py < mArea.y ||
           py >= int64_t{mArea.y} + mArea.height;
}

void Mover_NodeAffector::Start(VisualNode* node)
{
    mPosition = RandomPointInArea();
    node->SetPosition(mPosition);
}

void Mover_NodeAffector::Apply(float dt, VisualNode* node)
{
    // 1. The wobble turns only when it is on.
    if (mWobbleAmplitude > 0)
    {
        mPhase += mWobbleSpeed * dt;
        if (mPhase > kTwoPi)
            mPhase -= kTwoPi;
    }
    // 2. Outside the area: head for a fresh point inside.
    if (IsOutsideArea())
    {
        const FloatPoint target = RandomPointInArea();
        mDirection = static_cast<float>(std::atan2(target.y - mPosition.y, target.x - mPosition.x));
    }
    // 3. Straight on.
    const auto cosine = static_cast<float>(std::cos(mDirection));
    const auto sine = static_cast<float>(std::sin(mDirection));
    mPosition.x += cosine * mSpeed * dt;
    mPosition.y += sine * mSpeed * dt;
    // 4. The node sits on the travelling point, or circles around it.
    if (mWobbleAmplitude == 0)
    {
        node->SetPosition(mPosition);
        return;
    }
    node->SetPosition({mPosition.x + static_cast<float>(std::cos(mPhase)) * mWobbleAmplitude,
                       mPosition.y + static_cast<float>(std::sin(mPhase)) * mWobbleAmplitude});
}
