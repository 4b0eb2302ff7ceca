#pragma once
// DirMover_NodeAffector: the node crosses the screen from one edge to another in a straight line,
// its speed following the arch of a sine, and starts again from a random edge once it is outside.
// Rotatable nodes are turned to point along their flight.
#include "game/scene/FloatPoint.h"
#include "game/scene/NodeAffector.h"

class SceneServices;

class DirMover_NodeAffector : public NodeAffector
{
public:
    // The margins say how far left of and above the screen a point still counts as inside
    // (the node's size).
    DirMover_NodeAffector(SceneServices& services, int marginX, int marginY);

    // Restarts from an edge.
    void Start(VisualNode* node) override;
    void Apply(float dt, VisualNode* node) override;

    // The side a point has left (0 left, 1 top, 2 right, 3 bottom, tested in that order); -1 inside.
    [[nodiscard]] int OutsideSide(const FloatPoint& point) const;
    [[nodiscard]] const FloatPoint& GetTravellingPoint() const { return mPosition; }
    [[nodiscard]] float GetDirection() const { return mDirection; }
    [[nodiscard]] float GetPhase() const { return mPhase; }

    // Peak speed in pixels per second.
    float mSpeed = 1.0f;
    // Radians per second of the pulse phase (pi: one arch a second).
    float mPulseSpeed = 0.0f;

private:
    // A random point on an edge other than `excluded` (its opposite instead when drawn).
    [[nodiscard]] FloatPoint EdgePoint(int excluded);
    void Restart(VisualNode* node);
    [[nodiscard]] int AppWidth() const;
    [[nodiscard]] int AppHeight() const;

    SceneServices& mServices;
    // Kept in 0 .. pi.
    float mPhase = 0.0f;
    float mDirection = 0.0f;
    FloatPoint mPosition;
    int mMarginX;
    int mMarginY;
};
