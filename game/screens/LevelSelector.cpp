#include "game/screens/LevelSelector.h"

#include "game/level/LevelList.h"
#include "game/scene/Truncate.h"
#include "game/screens/LevelMapServices.h"
#include "game/screens/LevelRay.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <cstdlib>

namespace
{
constexpr float kDegrees = 0.017453292f;

bool Inside(const Quoll::Rect& r, int x, int y)
{
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}
} // namespace

Quoll::Rect MergeRects(const Quoll::Rect& a, const Quoll::Rect& b)
{
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    const int right = std::max(a.x + a.width, b.x + b.width);
    const int bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

int LevelSelector::GetStartDirection(int group)
{
    switch (group)
    {
    case 3:
    case 6:
    case 7: return 7;
    case 20: return 3;
    case 24: return 2;
    default: return -3;
    }
}

std::vector<int> LevelSelector::GetRayAngles(int group, int count)
{
    const int start = GetStartDirection(group);
    const int step = start >= 0 ? 1 : -1;
    int k = std::abs(start);
    std::vector<int> angles;
    for (int i = 0; i < count; ++i)
    {
        angles.push_back(k * 45);
        k += count == 2 ? 2 * step : step;
    }
    return angles;
}

void LevelSelector::Build(const Quoll::Rect& groupRect, const FloatPoint& position, int groupIn, int lockedMask)
{
    SetPosition(position);
    mGroup = groupIn;
    mLockedMask = lockedMask;
    mGroupRect = groupRect;
    mBounds = Quoll::Rect(TruncToInt(position.x), TruncToInt(position.y), 0, 0);
    const std::vector<int> angles = GetRayAngles(groupIn, mServices.GetLevelList().GetGroupSize(groupIn));
    for (size_t i = 0; i < angles.size(); ++i)
    {
        auto* ray = new LevelRay(mServices);
        AddChild(ray);
        ray->Init(LevelList::GetGroupFirstLevel(groupIn) + static_cast<int>(i),
                  static_cast<float>(angles[i]) * kDegrees);
        const Quoll::Rect full = ray->GetFullRect();
        mBounds = MergeRects(mBounds, Quoll::Rect(full.x - kBoundsMargin, full.y - kBoundsMargin,
                                                  full.width + 2 * kBoundsMargin, full.height + 2 * kBoundsMargin));
    }
    mBounds = MergeRects(mBounds, mGroupRect);
}

LevelRay* LevelSelector::GetRay(int index) const
{
    if (index < 0 || index >= GetRayCount())
        return nullptr;
    return static_cast<LevelRay*>(GetChildren()[static_cast<size_t>(index)]);
}

void LevelSelector::Open()
{
    if (mState != kClosed)
        return;
    mState = kOpen;
    mHovered = true;
    for (int i = 0; i < GetRayCount(); ++i)
        GetRay(i)->Open(((mLockedMask >> i) & 1) != 0);
}

void LevelSelector::Update(float dt)
{
    VisualNode::Update(dt);
    if (mState == kOpen && !mHovered)
    {
        mState = kClosed;
        for (int i = 0; i < GetRayCount(); ++i)
            GetRay(i)->Close();
    }
}

void LevelSelector::MouseMove(int x, int y)
{
    if (mState != kOpen)
    {
        mHovered = Inside(mGroupRect, x, y);
        return;
    }
    mHovered = Inside(mBounds, x, y);
    if (!mHovered)
        return;
    for (int i = 0; i < GetRayCount(); ++i)
    {
        LevelRay* ray = GetRay(i);
        const bool was = ray->IsHovered();
        ray->SetHover(x, y);
        if (ray->IsHovered() && !was)
        {
            const char* sound = ray->GetMedal() >= 0 ? "SOUND_OVER_MEDAL" : "SOUND_OVER_LEVEL";
            Ui().PlaySound(Ui().GetResourceIdByName(sound), kHoverVolume, 0.0f);
        }
    }
}

int LevelSelector::HitLevel() const
{
    if (!mHovered)
        return -1;
    for (int i = 0; i < GetRayCount(); ++i)
        if (GetRay(i)->IsHovered())
            return GetRay(i)->GetLevel();
    return -1;
}
