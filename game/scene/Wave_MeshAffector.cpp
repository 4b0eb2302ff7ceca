#include "game/scene/Wave_MeshAffector.h"

#include "game/scene/MeshGrid.h"
#include "game/shell/SceneServices.h"

#include <cmath>

Wave_MeshAffector::Wave_MeshAffector(SceneServices& services) : mPhase(services.RandFloat(6.2831855f)) {}

void Wave_MeshAffector::Update(float dt)
{
    mPhase += mSpeed * dt;
    if (mPhase > mPeriod)
        mPhase -= mPeriod;
}

void Wave_MeshAffector::Apply(MeshGrid* grid)
{
    ResolveRange(*grid);
    if (mMode < kBoth || mMode > kBothXReversed)
        return;
    // Every product and cosine argument is rounded to float, as the wave is defined in floats.
    auto wave = [this](float argument) { return mAmplitude * std::cos(argument); };
    for (int r = mFirstRow; r <= mLastRow; ++r)
    {
        const float rowStep = static_cast<float>(r) * mFrequency;
        for (int c = mFirstColumn; c <= mLastColumn; ++c)
        {
            const float columnStep = static_cast<float>(c) * mFrequency;
            float dx = 0.0f;
            float dy = 0.0f;
            switch (mMode)
            {
            case kBoth:
                dx = wave(columnStep + mPhase);
                dy = wave(rowStep + mPhase);
                break;
            case kHorizontal:
                dx = wave(columnStep + mPhase);
                break;
            case kVertical:
                dy = wave(rowStep + mPhase);
                break;
            case kBothYReversed:
                dx = wave(columnStep + mPhase);
                dy = wave(mPhase - rowStep);
                break;
            default: // kBothXReversed
                dx = wave(mPhase - columnStep);
                dy = wave(rowStep + mPhase);
                break;
            }
            grid->SetVertexOffset(c, r, dx, dy);
        }
    }
}
