#pragma once
// MapPoint: the level map's node of one level group: a picture of the group's place whose cel
// counts the levels done, replaced by the group's medal once the group is complete. A node glows
// while the mouse is on it, fades in and out on request, and lights up in turn when the map
// reveals its nodes (driven by RevealGroup). MapPointRoot keeps the nodes by value.
#include "framework/display/Color.h"
#include "game/scene/FloatPoint.h"
#include "game/screens/Bulbulator.h"

namespace Quoll
{
class Graphics;
class Image;
} // namespace Quoll
class LevelMapServices;
struct TextRecord;

// The group whose node is revealed next; -1 stops the reveal. Set by the map and its intro,
// advanced by the nodes.
extern int RevealGroup;
// Set while the map is painted into an off-screen picture: the map then draws no decorations.
extern bool MapSnapshotMode;

struct MapPoint final : public MapNodeView
{
    enum State : int
    {
        kDone = 0,
        kFadingIn = 1,
        kShown = 2,
        kFadingOut = 3
    };
    static constexpr int kGoldBurstSystem = 94;
    static constexpr float kRevealTime = 0.4f;
    static constexpr float kRevealStagger = 0.1f;
    static constexpr float kGlowSpeed = 3.0f;
    static constexpr float kMedalScale = 0.7f;
    static constexpr float kMedalLift = 20.0f;

    // Builds the node of group g (from 1) from its line of the coordinates file.
    void Init(int g, const TextRecord& record, LevelMapServices& services);
    // The medal of the group from the progress, with its image and place.
    void UpdateMedal();
    void Update(float dt);
    void Draw(Quoll::Graphics* g) const;
    // Hover highlight; losing it restores full alpha on a shown node.
    void SetHighlight(bool on);

    [[nodiscard]] FloatPoint GetPosition() const;
    // The position, moved up the screen when the node has a medal image.
    [[nodiscard]] FloatPoint GetMedalAnchor() const override;
    [[nodiscard]] float GetSparkleRadius() const override;
    [[nodiscard]] int GetGroup() const override { return group; }
    [[nodiscard]] Quoll::Rect GetRect() const override { return {x, y, w, h}; }
    [[nodiscard]] bool IsFullyShown() const override { return state == kShown && colour.a == fullAlpha; }
    [[nodiscard]] float GetGlow() const override { return glow; }

    bool complete = false;
    int group = -1;
    int state = kShown;
    bool highlighted = false;
    float glow = 0.0f;
    float phase = 0.0f;
    float fadeDuration = 0.0f;
    float fadeTime = 0.0f;
    int x = 0, y = 0, w = 30, h = 30;
    Quoll::Color colour = Quoll::Color::White;
    int fullAlpha = 255;
    float scale = 1.0f;
    Quoll::Image* image = nullptr;
    int cel = 0;
    Quoll::Image* medalImage = nullptr;
    int medalX = 0, medalY = 0;
    int medal = -1;
    float revealTimer = -1.0f;
    float offsetX = 0.0f, offsetY = 0.0f;

private:
    void UpdateDone(float dt);
    void UpdateFade(float dt);
    void UpdateShown(float dt);
    void DrawMedal(Quoll::Graphics* g) const;
    [[nodiscard]] int CelToDraw() const;

    LevelMapServices* mServices = nullptr;
};
