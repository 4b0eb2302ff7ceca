#pragma once
// The 3D renderer: draws the screen image through the 3D device while the display runs in 3D
// mode. Images become managed textures, split into pieces when they exceed the device's size
// limits; quads (plain, stretched, rotated, matrix-transformed), textured triangle lists, lines,
// filled rectangles and filled polygons are drawn as pre-transformed vertices in screen
// coordinates, blended normally or additively. Every device failure is written to the registry
// value "Test3D\\RuntimeError" and to the last-error text, which makes the display leave 3D
// mode at its next Redraw.
#include "framework/display/D3DTesterHost.h"
#include "framework/display/PolygonClipper.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/video/SoftDirect3D.h"

#include <list>
#include <memory>
#include <set>
#include <vector>

namespace Quoll
{
class DDInterface;
class MemoryImage;

// Texture format codes (bit values, so that a set of them is a mask).
enum : int
{
    kTexFormatA8R8G8B8 = 1,
    kTexFormatA4R4G4B4 = 2,
    kTexFormatR5G6B5 = 4,
    kTexFormatPalette8 = 8,
};

// Image texture flags (MemoryImage::mTextureFlags).
enum : int
{
    kTexFlagPow2 = 1,         // piece sizes are powers of two rounded up
    kTexFlagSmallPieces = 2,  // always 64 x 64 pieces
    kTexFlagPrefer4444 = 4,   // prefer A4R4G4B4
    kTexFlagNo565 = 8,        // never R5G6B5
};

Platform::TextureFormat MakePixelFormat(int code);
// The code of a format that matches exactly, else 0.
int GetPixelFormatCode(const Platform::TextureFormat& format);

// The device's texture limits, as the renderer uses them.
struct TextureLimits
{
    int minWidth = 64, minHeight = 64;
    int maxWidth = 64, maxHeight = 64;
    int maxAspectRatio = 1;
    int supportedFormats = 0; // mask of format codes

    // From device capabilities: a maximum width of 0 means 64 x 64 and aspect 1; maxima above
    // 1024 become 1024, minima below 1 become 1, an aspect of 0 means 65536.
    static TextureLimits FromCaps(const Platform::D3DDeviceCaps& caps);
};

// The texture size of a piece for an image dimension pair.
void GetBestTextureDimensions(const TextureLimits& limits, int& width, int& height, bool remainder, int flags);
int RoundUpPow2(int n);

// The textures of one image.
struct TextureData
{
    struct Piece
    {
        std::shared_ptr<Platform::SoftTexture> texture;
        int texWidth = 0, texHeight = 0;
    };
    std::vector<Piece> pieces;
    std::shared_ptr<Platform::SoftPalette> palette;
    int width = 0, height = 0;
    int columns = 0, rows = 0;
    int pieceWidth = 64, pieceHeight = 64;
    int version = -1;
    size_t memoryBytes = 0;
    float maxU = 0, maxV = 0;
    int formatCode = 0;
    int imageFlags = 0;

    void CreateTextureDimensions(const TextureLimits& limits, int flags);
    // The piece holding image pixel (x, y) and the texture coordinates of the part of it
    // (width x height from there) that lies in the piece; width and height are clipped.
    Piece& GetTexture(int x, int y, int& width, int& height, float& u0, float& v0, float& u1, float& v1);
};

class D3DInterface : public Renderer3D
{
public:
    D3DInterface();
    ~D3DInterface() override;
    D3DInterface(const D3DInterface&) = delete;
    D3DInterface& operator=(const D3DInterface&) = delete;

    // --- Renderer3D ---------------------------------------------------------------------------
    bool Init(DDInterface* display) override;
    void Cleanup() override;
    void EndScene() override;
    void Remove3DData(MemoryImage* image) override;
    [[nodiscard]] bool ForbidsDirectCopies() const override { return !mTransformStack.empty(); }
    void FillRect(const Rect& rect, const Color& color, DrawMode mode) override;
    void DrawLine(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode) override;
    bool FillPolygon(const FPoint* points, int count, const Rect& clip, const Color& color, DrawMode mode,
                     int offsetX, int offsetY) override;
    void Blt(Image* source, float x, float y, const Rect& srcRect, const Color& color, DrawMode mode) override;
    void BltClipF(Image* source, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                  DrawMode mode) override;
    void BltMirror(Image* source, float x, float y, const Rect& srcRect, const Color& color, DrawMode mode) override;
    void BltRotated(Image* source, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                    DrawMode mode, double angle, float centerX, float centerY) override;
    void StretchBlt(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip, const Color& color,
                    DrawMode mode, bool fastStretch, bool mirror) override;
    void BltTransformed(Image* source, const Rect& clip, const Color& color, DrawMode mode, const Rect& srcRect,
                        const Matrix3& matrix, bool filtering, float x, float y, bool center) override;
    void DrawTrianglesTex(Image* texture, const TriangleVertices* triangles, int count, const Rect& clip,
                          const Color& color, DrawMode mode, float tx, float ty, bool filtering) override;

    // --- Textures --------------------------------------------------------------------------------
    // Makes (or refreshes) the image's textures; true when it has a usable format.
    bool CreateImageTexture(MemoryImage* image);
    // Copies the textures back into bits (width x height words); false when there is nothing
    // of the image's current version or a lock fails.
    bool RecoverBits(MemoryImage* image, uint32_t* bits) override;
    [[nodiscard]] TextureUse DescribeTexture(const MemoryImage& image) const override;
    [[nodiscard]] const Platform::SoftDirect3DSettings& DeviceSettings() const override { return mDeviceSettings; }

    // Records a failure (registry and last-error text); true when result is a failure.
    bool CheckDXError(Platform::HResult result, const char* context);

    void Set3DHost(D3DTesterHost* host) override { mHost = host; }
    [[nodiscard]] const TextureLimits& GetTextureLimits() const { return mLimits; }
    [[nodiscard]] Platform::SoftDirect3DDevice* GetDevice() const { return mDevice.get(); }
    [[nodiscard]] bool RenderTargetFailed() const override { return mRenderTargetFailed; }
    void ClearRenderTargetFailed() override { mRenderTargetFailed = false; }
    [[nodiscard]] size_t TextureSetSize() const { return mTextureSet.size(); }

    // The device the renderer makes: tests imitate other cards by changing it before Init.
    Platform::SoftDirect3DSettings mDeviceSettings;
    // Drawn after every other transform when not empty (pushed and popped by callers).
    std::list<Matrix3> mTransformStack;

private:
    bool InitD3D();
    bool PreDraw();
    void SetDrawMode(DrawMode mode);
    void SetLinearFilter(bool linear);
    void UpdateViewport();
    bool CheckCreateTextures(MemoryImage* image, TextureData& data);
    void CreateTextures(MemoryImage* image, TextureData& data);
    std::shared_ptr<Platform::SoftTexture> CreateTextureSurface(int width, int height, int code);
    bool CopyImageToTexture(Platform::SoftTexture& texture, MemoryImage* image, int x, int y, int pieceWidth,
                            int pieceHeight, int code);
    void DrawQuad(const Platform::D3DVertex* strip, const char* context);
    void DrawPolyClipped(VertexList& list, const Rect& clip);
    void BltPieces(TextureData& data, const Rect& srcRect, float x, float y, uint32_t color);
    void BltPiecesTransformed(TextureData& data, const Matrix3& matrix, const Rect& srcRect, const Rect* clip,
                              uint32_t color);
    void BltTriangles(TextureData& data, const TriangleVertices* triangles, int count, uint32_t color, float tx,
                      float ty, const Rect& clip);
    void BltTransformedImpl(Image* source, const Matrix3& matrix, float x, float y, const Rect& srcRect,
                            const Rect* clip, const Color& color, DrawMode mode, bool linear, bool center);
    [[nodiscard]] FPoint ApplyTransformStack(float x, float y) const;

    DDInterface* mDisplay = nullptr;
    D3DTesterHost* mHost = nullptr;
    D3DTesterHost mOwnHost;
    int mWidth = 640, mHeight = 480;
    std::shared_ptr<Platform::SoftSurface> mRenderTarget;
    std::shared_ptr<Platform::SoftDirect3D> mD3D;
    std::shared_ptr<Platform::SoftDirect3DDevice> mDevice;
    Platform::D3DViewport mViewport;
    bool mSceneOpen = false;
    bool mWindowed = true;
    std::set<MemoryImage*> mTextureSet;
    TextureLimits mLimits;
    bool mLinearFilter = false;
    bool mRenderTargetFailed = false;
};
} // namespace Quoll
