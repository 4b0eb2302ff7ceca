#pragma once
// Bulbulator: the level map's bubble flashes. Each line of the bulbs file names a rectangle of
// the map; a bulb belongs to the first node whose rectangle overlaps it and flashes at a random
// spot inside that rectangle every few seconds (more often over the hovered group), with a quiet
// pop whose loudness and pan follow the distance to the mouse. Only nodes of groups not yet
// complete get bulbs, and a bulb flashes only while its node is fully shown and not hovered.
#include "framework/display/Rect.h"
#include "game/scene/AnimSprite.h"
#include "game/scene/FloatPoint.h"

#include <string>
#include <vector>

namespace Quoll
{
class Graphics;
}
class LevelList;
class PlayServices;

// What the bulbs, the sparkles and the intro read of one level-map node; the map's nodes
// implement it.
class MapNodeView
{
public:
    virtual ~MapNodeView() = default;
    // The level group the node stands for (1..group count).
    [[nodiscard]] virtual int GetGroup() const = 0;
    // The node's rectangle in screen pixels.
    [[nodiscard]] virtual Quoll::Rect GetRect() const = 0;
    // Shown and settled: neither hidden, done nor fading, its colour fully opaque.
    [[nodiscard]] virtual bool IsFullyShown() const = 0;
    // The hover glow, above 0 while the mouse is on the node.
    [[nodiscard]] virtual float GetGlow() const = 0;
    // Where the medal of a complete group sits, and how far around it stars may twinkle.
    [[nodiscard]] virtual FloatPoint GetMedalAnchor() const = 0;
    [[nodiscard]] virtual float GetSparkleRadius() const = 0;
};

class Bulbulator
{
public:
    static constexpr const char* kBulbsFile = "data/art/textures/map/bulbs.txt";
    // Pops this far from the mouse or farther are silent.
    static constexpr float kSilentDistance = 700.0f;

    struct Bulb
    {
        const MapNodeView* node = nullptr;
        Quoll::Rect area;
        // Seconds to the next flash.
        float timer = -1.0f;
        AnimSprite sprite;
        // Top-left of the current flash.
        float drawX = 0;
        float drawY = 0;
    };

    Bulbulator(PlayServices& services, const LevelList& levels);
    virtual ~Bulbulator();
    Bulbulator(const Bulbulator&) = delete;
    Bulbulator& operator=(const Bulbulator&) = delete;

    // Reads the bulbs file, adding a bulb per line that lies over a node of a group not yet
    // complete. false when the file cannot be opened (the reader logs it); no bulbs then.
    bool Load(const std::vector<const MapNodeView*>& nodes, const std::string& path = kBulbsFile);
    void Update(float dt);
    void Draw(Quoll::Graphics* g);
    // No new flash starts; flashes under way finish.
    void Stop() { mActive = false; }

    // The image name of a bulb of an episode (1..6, 6 = the last group) and kind; null where
    // that episode has no such bulb.
    [[nodiscard]] static const char* GetBulbImage(int episode, bool vertical, bool big);

    [[nodiscard]] const std::vector<Bulb>& GetBulbs() const { return mBulbs; }
    [[nodiscard]] bool IsActive() const { return mActive; }

    // The group whose level selector is open; -1 for none. The map writes it on every mouse move.
    int mHoveredGroup = -1;

private:
    void AddBulb(const MapNodeView* node, const Quoll::Rect& area, bool vertical, bool big);
    void Fire(Bulb& bulb);
    [[nodiscard]] bool IsHovered(const Bulb& bulb) const { return bulb.node->GetGroup() == mHoveredGroup; }
    // A bulb without an image or without frames never shows, so it never flashes either.
    [[nodiscard]] static bool CanShow(const Bulb& bulb);

    PlayServices& mServices;
    const LevelList& mLevels;
    bool mActive = true;
    std::vector<Bulb> mBulbs;
};
