#include "game/screens/LevelSelectorRoot.h"

#include "game/level/LevelList.h"
#include "game/screens/LevelMapServices.h"
#include "game/screens/LevelSelector.h"
#include "game/screens/MapPoint.h"

#include <algorithm>

void LevelSelectorRoot::Build(const std::vector<MapPoint>& points)
{
    const LevelList& list = mServices.GetLevelList();
    for (const MapPoint& point : points)
    {
        auto* selector = new LevelSelector(mServices);
        AddChild(selector);
        selector->Build(Quoll::Rect(point.x, point.y, point.w, point.h), point.GetPosition(), point.group,
                        list.GetLockedMask(point.group));
    }
    mOpenGroupLimit = list.GetFirstOpenGroup();
}

LevelSelector* LevelSelectorRoot::GetSelector(int index) const
{
    if (index < 0 || index >= static_cast<int>(GetChildren().size()))
        return nullptr;
    return static_cast<LevelSelector*>(GetChildren()[static_cast<size_t>(index)]);
}

void LevelSelectorRoot::MouseMove(int x, int y)
{
    if (mActive != nullptr)
    {
        mActive->MouseMove(x, y);
        if (mActive->IsHovered())
            return;
    }
    LevelSelector* candidate = nullptr;
    const int tried = std::min(mOpenGroupLimit, mServices.GetLevelList().GetGroupCount());
    for (int i = 0; i < tried; ++i)
    {
        LevelSelector* selector = GetSelector(i);
        if (selector == nullptr)
            break;
        if (selector == mActive)
            continue;
        selector->MouseMove(x, y);
        if (candidate == nullptr && selector->IsHovered())
            candidate = selector;
    }
    // The old fan closes itself in its next update.
    mActive = candidate;
    if (candidate != nullptr)
        candidate->Open();
}

int LevelSelectorRoot::GetHoveredGroup() const
{
    return mActive != nullptr ? mActive->GetGroup() : -1;
}

int LevelSelectorRoot::HitLevel() const
{
    return mActive != nullptr ? mActive->HitLevel() : -1;
}
