#include "game/scene/DirMover_NodeAffector.h"

#include "game/scene/RotatableNode.h"
#include "game/scene/VisualNode.h"
#include "game/shell/SceneServices.h"

#include <algorithm>
#include <cmath>

DirMover_NodeAffector::DirMover_NodeAffector(SceneServices& services, int marginX, int marginY)
    : mServices(services), mMarginX(marginX), mMarginY(marginY)
{
}

// Random coordinates are drawn modulo the size: never by 0.
int DirMover_NodeAffector::AppWidth() const
{
    return std::max(mServices.GetAppWidth(), 1);
}

int DirMover_NodeAffector::AppHeight() const
{
    return std::max(mServices.GetAppHeight(), 1);
}

FloatPoint DirMover_NodeAffector::EdgePoint(int excluded)
{
    auto side = static_cast<int>(mServices.RandomWord() & 3u);
    if (side == excluded)
        side = (excluded + 2) & 3;
    const auto f = [](int v) { return static_cast<float>(v); };
    switch (side)
    {
    case 0:
        return {f(-mMarginX), f(mServices.RandInt(AppHeight()))};
    case 1:
        return {f(mServices.RandInt(AppWidth())), f(-mMarginY)};
    case 2:
        return {f(mServices.GetAppWidth()), f(mServices.RandInt(AppHeight()))};
    default:
        return {f(mServices.RandInt(AppWidth())), f(mServices.GetAppHeight())};
    }
}

int DirMover_NodeAffector::OutsideSide(const FloatPoint& point) const
{
    if (point.x <= static_cast<float>(-mMarginX))
        return 0;
    if (point.y <= static_cast<float>(-mMarginY))
        return 1;
    if (point.x >= static_cast<float>(mServices.GetAppWidth()))
        return 2;
    if (point.y >= static_cast<float>(mServices.GetAppHeight()))
        return 3;
    return -1;
}

void DirMover_NodeAffector::Restart(VisualNode* node)
{
    // A start on one edge, a target on another (or the opposite one), and the heading between.
    const auto drawn = static_cast<int>(mServices.RandomWord() & 3u);
    mPosition = EdgePoint(drawn);
    const FloatPoint target = EdgePoint(OutsideSide(mPosition));
    mDirection = static_cast<float>(std::atan2(target.y - mPosition.y, target.x - mPosition.x));
    node->SetPosition(mPosition);
    SetNodeRotation(node, -mDirection);
}

void DirMover_NodeAffector::Start(VisualNode* node)
{
    Restart(node);
}

void DirMover_NodeAffector::Apply(float dt, VisualNode* node)
{
    mPhase += mPulseSpeed * dt;
    if (mPhase > kPi)
        mPhase -= kPi;
    if (OutsideSide(mPosition) != -1)
        Restart(node);
    const auto v = static_cast<float>(std::sin(mPhase)) * mSpeed;
    mPosition.x += static_cast<float>(std::cos(mDirection)) * v * dt;
    mPosition.y += static_cast<float>(std::sin(mDirection)) * v * dt;
    node->SetPosition(mPosition);
}
