#include "game/screens/MapPointRoot.h"

#include "game/level/LevelList.h"
#include "game/scene/TextRecord.h"
#include "game/screens/LevelMapServices.h"
#include "game/ui/UiServices.h"

#include <algorithm>

bool MapPointRoot::Load()
{
    std::vector<TextRecord> records;
    if (!LoadTextRecords(records, kCoordsFile, Ui()))
        return false;
    const int groups = std::min(static_cast<int>(records.size()), mServices.GetLevelList().GetGroupCount());
    mHovered = nullptr;
    mPoints.assign(static_cast<size_t>(std::max(groups, 0)), MapPoint{});
    for (int i = 0; i < groups; ++i)
        mPoints[static_cast<size_t>(i)].Init(i + 1, records[static_cast<size_t>(i)], mServices);
    return true;
}

void MapPointRoot::Update(float dt)
{
    for (MapPoint& point : mPoints)
        point.Update(dt);
}

void MapPointRoot::Draw(Quoll::Graphics* g)
{
    for (const MapPoint& point : mPoints)
        point.Draw(g);
}

MapPoint* MapPointRoot::GetPoint(int index)
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return &mPoints[static_cast<size_t>(index)];
}

void MapPointRoot::HideAll()
{
    for (MapPoint& point : mPoints)
        point.state = MapPoint::kDone;
}

void MapPointRoot::ShowOpened()
{
    const int firstOpen = mServices.GetLevelList().GetFirstOpenGroup();
    for (MapPoint& point : mPoints)
        point.state = point.group < firstOpen ? MapPoint::kDone : MapPoint::kShown;
}

void MapPointRoot::Fade(int index, float duration, bool fadeIn)
{
    if (mPoints.empty())
        return;
    MapPoint& point = mPoints[static_cast<size_t>(std::clamp(index, 0, GetCount() - 1))];
    point.fadeDuration = duration;
    point.fadeTime = 0.0f;
    point.state = fadeIn ? MapPoint::kFadingIn : MapPoint::kFadingOut;
    point.colour.a = fadeIn ? 0 : point.fullAlpha;
}

bool MapPointRoot::AnyFading() const
{
    return std::any_of(mPoints.begin(), mPoints.end(), [](const MapPoint& point) {
        return point.state == MapPoint::kFadingIn || point.state == MapPoint::kFadingOut;
    });
}

void MapPointRoot::SetHover(int group)
{
    MapPoint* hovered = group == -1 ? nullptr : GetPoint(group - 1);
    if (hovered == mHovered)
        return;
    if (mHovered != nullptr)
        mHovered->SetHighlight(false);
    mHovered = hovered;
    if (hovered == nullptr || hovered->group > mServices.GetLevelList().GetFirstOpenGroup())
        return;
    hovered->SetHighlight(true);
    PlayHoverSound(*hovered);
}

void MapPointRoot::PlayHoverSound(const MapPoint& point)
{
    const LevelList& list = mServices.GetLevelList();
    const int firstOpen = list.GetFirstOpenGroup();
    const char* sound = nullptr;
    if (point.group == firstOpen)
        sound = firstOpen == list.GetGroupCount() ? "SOUND_OVER_SOPLYABOSS" : "SOUND_OVER_SOPLYA";
    else if (point.complete)
        sound = "SOUND_OVER_METAMEDAL";
    if (sound != nullptr)
        Ui().PlaySound(Ui().GetResourceIdByName(sound), kHoverVolume, 0.0f);
}
