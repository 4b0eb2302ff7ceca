#pragma once
// Wave_MeshAffector: ripples a mesh with cosine waves along its rows and columns. Each vertex of
// the range is put at its rest place plus an offset of amplitude * cos(index * frequency + phase);
// the mode picks which axes move and in which sense the wave runs.
#include "game/scene/MeshAffector.h"

class SceneServices;

class Wave_MeshAffector : public MeshAffector
{
public:
    // The shapes of the wave: both axes, x only, y only, and both with the y (x) wave running the
    // other way. Other values leave the grid alone.
    enum Mode : int
    {
        kBoth = 0,
        kHorizontal = 1,
        kVertical = 2,
        kBothYReversed = 3,
        kBothXReversed = 4,
    };

    // Draws the start phase (0 .. 2 pi).
    explicit Wave_MeshAffector(SceneServices& services);

    // Advances the phase by speed * dt, wrapping once at the period.
    void Update(float dt) override;
    void Apply(MeshGrid* grid) override;

    float mPhase;
    float mPeriod = 6.2831855f;
    int mMode = kBoth;
    // Radians per second.
    float mSpeed = 1.0f;
    // Pixels.
    float mAmplitude = 1.0f;
    // Phase step per row or column.
    float mFrequency = 0.5f;
};
