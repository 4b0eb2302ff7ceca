#pragma once
// The 3D renderer as the display, the surface-backed images and the application call it:
// drawing calls for the screen image while the display runs in 3D mode, the scene's end before
// presenting, the texture set and its read-back, the device the display test must test, the host
// of the test's stored results and the failure of the render target. The 3D renderer implements
// it; without one the display never enters 3D mode.
#include "framework/display/Color.h"
#include "framework/display/Image.h"
#include "framework/display/Matrix3.h"
#include "framework/display/Rect.h"
#include "framework/platform/video/SoftDirect3D.h"

#include <string>

namespace Quoll
{
class D3DTesterHost;
class DDInterface;
class MemoryImage;

// What the renderer holds of one image, as the image dump reports it.
struct TextureUse
{
    bool present = false;
    int formatCode = 0; // 1 A8R8G8B8, 2 A4R4G4B4, 4 R5G6B5, 8 Palette8
    int bytes = 0;
};

class Renderer3D
{
public:
    virtual ~Renderer3D() = default;

    virtual bool Init(DDInterface* display) = 0;
    virtual void Cleanup() = 0;
    virtual void EndScene() = 0;
    virtual void Remove3DData(MemoryImage* image) = 0;
    // A transform is in effect, so image draws may not become plain surface copies.
    [[nodiscard]] virtual bool ForbidsDirectCopies() const = 0;

    virtual void FillRect(const Rect& rect, const Color& color, DrawMode mode) = 0;
    virtual void DrawLine(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode) = 0;
    virtual bool FillPolygon(const FPoint* points, int count, const Rect& clip, const Color& color, DrawMode mode,
                             int offsetX, int offsetY) = 0;
    virtual void Blt(Image* source, float x, float y, const Rect& srcRect, const Color& color, DrawMode mode) = 0;
    virtual void BltClipF(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                          const Color& color, DrawMode mode) = 0;
    virtual void BltMirror(Image* source, float x, float y, const Rect& srcRect, const Color& color,
                           DrawMode mode) = 0;
    virtual void BltRotated(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                            const Color& color, DrawMode mode, double angle, float centerX, float centerY) = 0;
    virtual void StretchBlt(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                            const Color& color, DrawMode mode, bool fastStretch, bool mirror) = 0;
    virtual void BltTransformed(Image* source, const Rect& clip, const Color& color, DrawMode mode,
                                const Rect& srcRect, const Matrix3& matrix, bool filtering, float x, float y,
                                bool center) = 0;
    virtual void DrawTrianglesTex(Image* texture, const TriangleVertices* triangles, int count, const Rect& clip,
                                  const Color& color, DrawMode mode, float tx, float ty, bool filtering) = 0;

    // Copies the image's textures back into bits (width x height words); false when there is
    // nothing of the image's current version.
    virtual bool RecoverBits(MemoryImage* image, uint32_t* bits) = 0;
    [[nodiscard]] virtual TextureUse DescribeTexture(const MemoryImage& image) const = 0;
    // The device the renderer makes, which the display test tests.
    [[nodiscard]] virtual const Platform::SoftDirect3DSettings& DeviceSettings() const = 0;
    // Where the renderer records its failures (the display's own host when none is set).
    virtual void Set3DHost(D3DTesterHost* host) = 0;
    // The render target was lost during the session; the application asks the player about it.
    [[nodiscard]] virtual bool RenderTargetFailed() const = 0;
    virtual void ClearRenderTargetFailed() = 0;
};

// The renderer's last failure text; the renderer writes and empties it, Redraw reads it.
std::string& LastRenderer3DError();
} // namespace Quoll
