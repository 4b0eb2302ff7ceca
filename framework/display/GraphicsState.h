#pragma once
// The drawing state of a Graphics context: destination, translation, image scale about an origin,
// clip rectangle (in destination pixels, translation applied), colour, font, draw mode and the
// switches of image drawing and text.
#include "framework/display/Color.h"
#include "framework/display/Image.h"
#include "framework/display/Rect.h"

namespace Quoll
{
class Font;

class GraphicsState
{
public:
    void CopyFrom(const GraphicsState& other) { *this = other; }

    Image* mDestImage = nullptr;
    float mTransX = 0;
    float mTransY = 0;
    float mScaleX = 1;
    float mScaleY = 1;
    float mScaleOrigX = 0;
    float mScaleOrigY = 0;
    Rect mClipRect;
    Color mColor;
    Font* mFont = nullptr;
    DrawMode mDrawMode = DrawMode::Normal;
    bool mImageTint = false;       // image draws pass mColor, else Color::White
    bool mFastStretch = false;     // stretched draws take the nearest-pixel path
    bool mColorEscapes = true;     // text interprets ^RRGGBB^ colour escapes
    bool mTriangleFiltering = false;
    bool mIs3D = false;            // the destination is drawn by the 3D renderer
};
} // namespace Quoll
