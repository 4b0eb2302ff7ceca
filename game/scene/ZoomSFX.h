#pragma once
// ZoomSFX: the full-screen transition over the play screen when a level is entered or left: the
// pictures of a zoom configuration swell from the middle of the screen and fade in and out as the
// progress runs from 0 to 1 (zooming in) or from 1 to 0 (zooming out).
#include "game/scene/ZoomConfig.h"

#include <vector>

class SceneServices;

namespace Quoll
{
class Graphics;

class ZoomSFX
{
public:
    // The configurations are loaded on the first start.
    ZoomSFX(SceneServices& services, ZoomConfigs& configs) : mServices(services), mConfigs(configs) {}
    virtual ~ZoomSFX() = default;
    ZoomSFX(const ZoomSFX&) = delete;
    ZoomSFX& operator=(const ZoomSFX&) = delete;

    // Plays the zoom sound and restarts from time 0 with the configuration of that key; without
    // one there is nothing to draw and the duration stays as it was.
    void Start(bool zoomIn, int key);
    // Advances by dt, at most 0.1 s a step, within 0 .. duration.
    void Update(float dt);
    // The time has reached the duration; a duration of 0 or less is finished at once.
    [[nodiscard]] bool IsFinished() const;
    // Every piece at the current progress, in list order.
    void Draw(Graphics* g);

    // The run's progress: time / duration zooming in, 1 minus that zooming out.
    [[nodiscard]] float GetProgress() const;
    // The alpha (0..1) and scale of a piece at progress p; false when it is not drawn there.
    [[nodiscard]] static bool PieceAt(const ZoomPiece& piece, float p, float& alpha, float& scale);

    [[nodiscard]] float GetTime() const { return mTime; }
    [[nodiscard]] float GetDuration() const { return mDuration; }
    [[nodiscard]] const std::vector<ZoomPiece>& GetPieces() const { return mPieces; }

    // Kept for the owner; the drawing does not depend on it.
    float mCentreX = 0.0f;
    float mCentreY = 0.0f;

private:
    void DrawPiece(Graphics* g, const ZoomPiece& piece, float p);

    SceneServices& mServices;
    ZoomConfigs& mConfigs;
    float mTime = 0.0f;
    float mDuration = 0.0f;
    bool mZoomIn = true;
    std::vector<ZoomPiece> mPieces;
};
} // namespace Quoll
