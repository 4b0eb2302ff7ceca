#pragma once
// LevelSelectorRoot: the level map's fans, one per group node in group order. It passes the
// mouse to them, keeps the one open fan (only groups up to the first open one can open), and
// answers which group is open and which level a click hits.
#include "game/scene/VisualNode.h"

#include <vector>

class LevelMapServices;
class LevelSelector;
struct MapPoint;

class LevelSelectorRoot final : public VisualNode
{
public:
    explicit LevelSelectorRoot(LevelMapServices& services) : mServices(services) {}

    void Build(const std::vector<MapPoint>& points);
    void MouseMove(int x, int y);
    // The open fan's group; -1 without one.
    [[nodiscard]] int GetHoveredGroup() const;
    [[nodiscard]] int HitLevel() const;

    [[nodiscard]] LevelSelector* GetSelector(int index) const;
    [[nodiscard]] int GetOpenGroupLimit() const { return mOpenGroupLimit; }

private:
    LevelMapServices& mServices;
    LevelSelector* mActive = nullptr;
    int mOpenGroupLimit = 0;
};
