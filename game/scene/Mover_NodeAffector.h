#pragma once
// Mover_NodeAffector: the node wanders inside a rectangle along straight lines. While the
// travelling point lies inside, its heading stays; as soon as it leaves, it turns at once towards
// a fresh random point of the area. An optional circular wobble is added to the drawn position.
#include "framework/display/Rect.h"
#include "game/scene/FloatPoint.h"
#include "game/scene/NodeAffector.h"

class SceneServices;

class Mover_NodeAffector : public NodeAffector
{
public:
    // Draws the wobble phase, then the heading; the area is the application's screen.
    explicit Mover_NodeAffector(SceneServices& services);

    // Places the node on a random point of the area (x drawn first).
    void Start(VisualNode* node) override;
    void Apply(float dt, VisualNode* node) override;

    // Where the node roams; a width or height below 1 is taken as 1.
    void SetArea(const Quoll::Rect& area);
    [[nodiscard]] const Quoll::Rect& GetArea() const { return mArea; }
    [[nodiscard]] const FloatPoint& GetTravellingPoint() const { return mPosition; }
    [[nodiscard]] float GetDirection() const { return mDirection; }
    [[nodiscard]] float GetPhase() const { return mPhase; }

    // Pixels per second along the heading.
    float mSpeed = 1.0f;
    // Radius of the wobble in pixels; 0: none.
    float mWobbleAmplitude = 0.0f;
    // Radians per second of the wobble phase.
    float mWobbleSpeed = 1.0f;

private:
    [[nodiscard]] FloatPoint RandomPointInArea();
    [[nodiscard]] bool IsOutsideArea() const;

    SceneServices& mServices;
    float mPhase = 0.0f;
    float mDirection = 0.0f;
    FloatPoint mPosition;
    Quoll::Rect mArea;
};
