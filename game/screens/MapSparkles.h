#pragma once
// MapSparkles: stars twinkling around the medals of the completed groups on the level map. One
// star per complete group waits parked; every interval one is launched at a random spot around
// its medal, turned at random, and parked again once its animation ends. At most three fly at
// a time, and a star whose node the mouse is on goes back at once.
#include "game/scene/AnimSprite.h"

#include <memory>
#include <vector>

namespace Quoll
{
class Graphics;
}
class MapNodeView;
class PlayServices;

class MapSparkles
{
public:
    // Stars flying at once after Start.
    static constexpr int kFlyingLimit = 3;

    struct SparkleEntry
    {
        const MapNodeView* node = nullptr;
        float radius = 0;
        AnimSprite sprite;
        float x = 0;
        float y = 0;
    };

    explicit MapSparkles(PlayServices& services);
    ~MapSparkles();
    MapSparkles(const MapSparkles&) = delete;
    MapSparkles& operator=(const MapSparkles&) = delete;

    // A parked star for the node (one per complete group, in group order).
    void AddParked(const MapNodeView* node);
    // Starts launching: one star every 3 / parked + a .. 3 / parked + b seconds.
    void Start(float a, float b);
    void Update(float dt);
    void Draw(Quoll::Graphics* g);

    [[nodiscard]] size_t CountParked() const { return mParked.size(); }
    [[nodiscard]] const std::vector<std::unique_ptr<SparkleEntry>>& GetFlying() const { return mFlying; }
    [[nodiscard]] float GetMinInterval() const { return mMinInterval; }
    [[nodiscard]] float GetMaxInterval() const { return mMaxInterval; }

private:
    void AdvanceFlying(float dt);
    void TryLaunch();

    PlayServices& mServices;
    float mMinInterval = 0;
    float mMaxInterval = 0;
    int mFlyingLimit = 0;
    float mCountdown = 0;
    std::vector<std::unique_ptr<SparkleEntry>> mParked;
    std::vector<std::unique_ptr<SparkleEntry>> mFlying;
};
