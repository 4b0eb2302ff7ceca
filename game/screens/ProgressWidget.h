#pragma once
// ProgressWidget: the loading states' full-screen bar near the bottom of the screen, filling
// from left to right with the fraction loaded, over a black screen or a picture on request, or over
// whatever lies below. It sends no commands and takes no input.
#include "game/ui/QuollWidget.h"

namespace Quoll
{
class Image;

class ProgressWidget final : public QuollWidget
{
public:
    // The bar's top edge lies this far above the bottom of the widget.
    static constexpr int kBarOffsetFromBottom = 100;
    // Where the filling starts, right of and below the frame's corner.
    static constexpr int kFillLeft = 2;
    static constexpr int kFillTop = 5;

    // Fill the whole screen with opaque black before the bar (set by the loading state right
    // after construction).
    bool blackBackground = false;
    // A picture of the whole screen drawn under the bar (after the black), not owned; none when
    // null.
    Quoll::Image* background = nullptr;

    void Attach(WidgetLink* link) override;
    // Stores the fraction (0..1) and has the whole screen redrawn.
    void SetProgress(float fraction);
    [[nodiscard]] float GetProgress() const { return mProgress; }

    void Draw(Quoll::Graphics* g) override;

private:
    float mProgress = 0.0f;
};
} // namespace Quoll
