#pragma once
// Rotate_NodeAffector: spins a rotatable node at a steady speed, its angle kept in 0 .. 2 pi.
#include "game/scene/NodeAffector.h"

class SceneServices;

class Rotate_NodeAffector : public NodeAffector
{
public:
    explicit Rotate_NodeAffector(SceneServices& services) : mServices(services) {}

    // A random start angle, and a speed of base plus a random part of the spread; a negative base
    // gives a random turning sense.
    void Init(float base, float spread);
    void Start(VisualNode* node) override;
    // Advances the angle (wrapping once in either direction) and turns the node.
    void Apply(float dt, VisualNode* node) override;

    // Radians per second.
    float mSpeed = 0.0f;
    // Radians.
    float mAngle = 0.0f;

private:
    SceneServices& mServices;
};
