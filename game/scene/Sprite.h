#pragma once
// Sprite: draws one image, or one cel of an image strip, at a point with a colour, a scale and a
// rotation. A plain drawable, not a node: nodes own sprites and pass their world position in.
// Untransformed sprites draw with their top-left corner on the point; scaled or rotated ones
// centre the cel on it (or keep the scaled cel's top-left there when not centred).
#include "framework/display/Color.h"
#include "framework/display/Rect.h"
#include "framework/display/Transform.h"

namespace Quoll
{
class Graphics;
class Image;
} // namespace Quoll

// The rectangle of cel n of an image's grid (column n mod columns, row n / columns).
[[nodiscard]] Quoll::Rect GetCelRect(const Quoll::Image* image, int cel);

class Sprite
{
public:
    Sprite() = default;
    Sprite(const Sprite&) = default;
    Sprite& operator=(const Sprite&) = default;
    virtual ~Sprite() = default;

    // Both scale factors := scale; the transform is marked scaled (so drawn centred from now on).
    virtual void SetScale(float scale);
    virtual void Update(float dt);
    // Switches the context's image tint on (and leaves it on), then draws in the colour.
    virtual void Draw(Quoll::Graphics* g, float x, float y, const Quoll::Color& color);

    // The cel size (image size / grid); 0 without an image.
    [[nodiscard]] int GetWidth() const;
    [[nodiscard]] int GetHeight() const;
    // Where a draw at (x, y) lands, from the cel size and scale; all zero without an image.
    [[nodiscard]] Quoll::Rect GetRectAt(float x, float y) const;

    // -1 draws the whole image.
    int mCel = -1;
    // A transformed draw centres the cel on the point; otherwise the point is the top-left.
    bool mCentred = true;
    // An untransformed draw places the image at float coordinates.
    bool mSubPixel = false;
    Quoll::Transform mTransform;
    // Not owned.
    Quoll::Image* mImage = nullptr;

protected:
    // Draws a part of the image at the point as the transform and flags say.
    void DrawSourceRect(Quoll::Graphics* g, const Quoll::Rect& source, float x, float y);
};
