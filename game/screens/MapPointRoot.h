#pragma once
// MapPointRoot: the level map's group nodes, read from the map's coordinates file (line k is
// group k; lines past the last group are ignored, fewer lines leave the later groups without a
// node). It hands out nodes by index (group - 1), shows, hides and fades them, and tells them
// which group the mouse is on.
#include "game/screens/MapPoint.h"

#include <vector>

class MapPointRoot
{
public:
    static constexpr const char* kCoordsFile = "data/art/textures/map/mapcoords.txt";
    static constexpr float kHoverVolume = 0.35f;

    explicit MapPointRoot(LevelMapServices& services) : mServices(services) {}
    virtual ~MapPointRoot() = default;
    MapPointRoot(const MapPointRoot&) = delete;
    MapPointRoot& operator=(const MapPointRoot&) = delete;

    // Reads the file and builds the nodes; false, with nothing built, when it cannot be read.
    bool Load();
    virtual void Update(float dt);
    virtual void Draw(Quoll::Graphics* g);

    [[nodiscard]] int GetCount() const { return static_cast<int>(mPoints.size()); }
    // The node at index 0 .. count - 1; null otherwise.
    [[nodiscard]] MapPoint* GetPoint(int index);
    [[nodiscard]] const std::vector<MapPoint>& GetPoints() const { return mPoints; }
    [[nodiscard]] MapPoint* GetHovered() const { return mHovered; }

    void HideAll();
    // Groups before the first open one done, all others shown.
    void ShowOpened();
    // The index is clamped to the nodes; nothing without nodes.
    void Fade(int index, float duration, bool fadeIn);
    [[nodiscard]] bool AnyFading() const;
    // The group under the mouse; -1 for none.
    void SetHover(int group);

private:
    void PlayHoverSound(const MapPoint& point);

    LevelMapServices& mServices;
    MapPoint* mHovered = nullptr;
    std::vector<MapPoint> mPoints;
};
