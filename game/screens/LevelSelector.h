#pragma once
// LevelSelector: the fan of one level group on the level map. Closed, it watches the group's
// node; opened, its rays (one per level of the group) slide out, and it stays open while the
// mouse is inside the fan's bounds. The rays fan out at 45-degree steps from a start direction
// that depends on the group, so that no fan leaves the screen.
#include "framework/display/Rect.h"
#include "game/scene/VisualNode.h"

#include <vector>

class LevelMapServices;
class LevelRay;

class LevelSelector final : public VisualNode
{
public:
    static constexpr float kHoverVolume = 0.3f;
    static constexpr int kBoundsMargin = 5;

    explicit LevelSelector(LevelMapServices& services) : mServices(services) {}

    // The first ray's direction in 45-degree steps; a negative one turns clockwise.
    [[nodiscard]] static int GetStartDirection(int group);
    // The rays' directions in degrees (0 right, 90 up) for a group of count levels; a pair
    // leaves the middle direction out.
    [[nodiscard]] static std::vector<int> GetRayAngles(int group, int count);

    void Build(const Quoll::Rect& groupRect, const FloatPoint& position, int groupIn, int lockedMask);
    // Opens a closed selector: every ray slides out, locked by its bit of the mask.
    void Open();
    void MouseMove(int x, int y);
    // The level of the first hovered ray while hovered; -1 otherwise.
    [[nodiscard]] int HitLevel() const;

    void Update(float dt) override;

    [[nodiscard]] int GetGroup() const { return mGroup; }
    [[nodiscard]] bool IsOpen() const { return mState == kOpen; }
    [[nodiscard]] bool IsHovered() const { return mHovered; }
    [[nodiscard]] const Quoll::Rect& GetBounds() const { return mBounds; }
    [[nodiscard]] int GetRayCount() const { return static_cast<int>(GetChildren().size()); }
    [[nodiscard]] LevelRay* GetRay(int index) const;

private:
    enum State : int
    {
        kClosed = 0,
        kOpen = 1
    };

    LevelMapServices& mServices;
    int mGroup = 0;
    int mState = kClosed;
    Quoll::Rect mGroupRect;
    Quoll::Rect mBounds;
    bool mHovered = false;
    int mLockedMask = 0;
};

// The smallest rectangle holding both.
[[nodiscard]] Quoll::Rect MergeRects(const Quoll::Rect& a, const Quoll::Rect& b);
