// The 3D renderer: device set-up, scenes and states, and the drawing calls.
#include "framework/display/D3DInterface.h"

#include "framework/display/BlitGeometry.h"
#include "framework/display/DDInterface.h"
#include "framework/display/DXErrorName.h"
#include "framework/display/MemoryImage.h"

#include <algorithm>
#include <cmath>

namespace Quoll
{
using namespace Platform;

namespace
{
D3DVertex MakeVertex(float x, float y, uint32_t color, float u = 0, float v = 0)
{
    D3DVertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.z = 0;
    vertex.rhw = 1.0f;
    vertex.diffuse = color;
    vertex.specular = 0;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

uint32_t PackColor(const Color& color)
{
    return static_cast<uint32_t>(color.ToInt());
}

MemoryImage* AsMemoryImage(Image* image)
{
    return dynamic_cast<MemoryImage*>(image);
}
} // namespace

D3DInterface::D3DInterface() : mDeviceSettings(DefaultDirect3DSettings()), mHost(&mOwnHost) {}

D3DInterface::~D3DInterface()
{
    Cleanup();
}

bool D3DInterface::CheckDXError(HResult result, const char* context)
{
    if (!Failed(result))
        return false;
    LastRenderer3DError() = std::string(context) + ": " + DXErrorName(result);
    const std::string& text = LastRenderer3DError();
    mHost->WriteRegValue("Test3D\\RuntimeError", kRegSz, reinterpret_cast<const uint8_t*>(text.c_str()),
                         static_cast<uint32_t>(text.size() + 1));
    return true;
}

// --- Set-up ------------------------------------------------------------------------------------

bool D3DInterface::Init(DDInterface* display)
{
    // 1. The display's objects and size.
    LastRenderer3DError().clear();
    mDisplay = display;
    mWidth = display->mWidth;
    mHeight = display->mHeight;
    // 2. The draw surface is the render target.
    if (!display->mDrawSurface)
    {
        CheckDXError(DDERR_INVALIDOBJECT, "Query DrawSurface");
        return false;
    }
    mRenderTarget = display->mDrawSurface;
    // The device follows the display's window mode.
    mWindowed = display->mIsWindowed;
    return InitD3D();
}

bool D3DInterface::InitD3D()
{
    // 1. The 3D object and the device on the render target.
    if (CheckDXError(QueryDirect3D(mDeviceSettings, mD3D), "QueryInterface IID_IDirect3D7") ||
        CheckDXError(mD3D->CreateDevice(mRenderTarget, mDevice), "CreateDevice IID_IDirect3DHALDevice"))
        return false;
    D3DDeviceCaps caps;
    if (CheckDXError(mDevice->GetCaps(&caps), ""))
        return false;
    // 2. Texture limits.
    mLimits = TextureLimits::FromCaps(caps);
    mLinearFilter = false;
    // 3. Texture formats; the palette format needs alpha palettes.
    for (const TextureFormat& format : mD3D->EnumTextureFormats())
        mLimits.supportedFormats |= GetPixelFormatCode(format);
    if (!caps.alphaPalette)
        mLimits.supportedFormats &= ~kTexFormatPalette8;
    // 4. Viewport.
    UpdateViewport();
    // 5. No depth buffer is used; the enumeration only tells whether one could be.
    (void)mD3D->EnumZBufferFormats();
    // A first clear shows whether the device works.
    CheckDXError(mDevice->Clear(kClearTarget, 0xFF000000, 1.0f, 0), "Clear");
    return true;
}

void D3DInterface::UpdateViewport()
{
    mViewport = {0, 0, mWidth, mHeight, 0.0f, 1.0f};
    CheckDXError(mDevice->SetViewport(mViewport), "SetViewport");
}

void D3DInterface::Cleanup()
{
    EndScene();
    for (MemoryImage* image : mTextureSet)
    {
        delete static_cast<TextureData*>(image->mTextureData);
        image->mTextureData = nullptr;
    }
    mTextureSet.clear();
    mDevice.reset();
    mD3D.reset();
    mRenderTarget.reset();
    mDisplay = nullptr;
}

void D3DInterface::Remove3DData(MemoryImage* image)
{
    if (image == nullptr || image->mTextureData == nullptr)
        return;
    delete static_cast<TextureData*>(image->mTextureData);
    image->mTextureData = nullptr;
    if (mDisplay != nullptr)
    {
        AutoCrit lock(mDisplay->mCritSect);
        mTextureSet.erase(image);
    }
    else
    {
        mTextureSet.erase(image);
    }
}

// --- Scenes and states ---------------------------------------------------------------------------

bool D3DInterface::PreDraw()
{
    if (mHost->Is3DSuspended())
        return false;
    if (mSceneOpen)
        return true;
    if (!mDevice || !mRenderTarget || Failed(mDevice->SetRenderTarget(mRenderTarget)))
    {
        mRenderTargetFailed = true;
        return false;
    }
    mRenderTargetFailed = false;
    CheckDXError(mDevice->BeginScene(), "BeginScene");
    CheckDXError(mDevice->SetRenderState(RenderState::AlphaBlendEnable, 1), "SetRenderState ALPHABLENDENABLE");
    CheckDXError(mDevice->SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha), "SetRenderState SRCBLEND");
    CheckDXError(mDevice->SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha), "SetRenderState DESTBLEND");
    CheckDXError(mDevice->SetRenderState(RenderState::Lighting, 0), "SetRenderState LIGHTING");
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::MinFilter, kFilterPoint), "MINFILTER");
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::MagFilter, kFilterPoint), "MAGFILTER");
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::MipFilter, kMipNone), "MIPFILTER");
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate), "ALPHAOP");
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::AddressU, kAddressClamp), "ADDRESSU");
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::AddressV, kAddressClamp), "ADDRESSV");
    CheckDXError(mDevice->SetRenderState(RenderState::DitherEnable, 0), "SetRenderState DITHERENABLE");
    CheckDXError(mDevice->SetRenderState(RenderState::SpecularEnable, 0), "SetRenderState SPECULARENABLE");
    CheckDXError(mDevice->SetRenderState(RenderState::ZWriteEnable, 0), "SetRenderState ZWRITEENABLE");
    CheckDXError(mDevice->SetRenderState(RenderState::ZEnable, 0), "SetRenderState ZENABLE");
    CheckDXError(mDevice->SetRenderState(RenderState::CullMode, kCullNone), "SetRenderState CULLMODE");
    mSceneOpen = true;
    mLinearFilter = false;
    return true;
}

void D3DInterface::EndScene()
{
    if (!mSceneOpen)
        return;
    if (mDevice)
        mDevice->EndScene();
    mSceneOpen = false;
    LastRenderer3DError().clear();
}

void D3DInterface::SetDrawMode(DrawMode mode)
{
    CheckDXError(mDevice->SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha), "SetRenderState SRCBLEND");
    CheckDXError(mDevice->SetRenderState(RenderState::DestBlend,
                                         mode == DrawMode::Normal ? kBlendInvSrcAlpha : kBlendOne),
                 "SetRenderState DESTBLEND");
}

void D3DInterface::SetLinearFilter(bool linear)
{
    if (linear == mLinearFilter)
        return;
    const uint32_t value = linear ? kFilterLinear : kFilterPoint;
    const char* context = linear ? "SetTextureStageState LINEAR" : "SetTextureStageState Point";
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::MinFilter, value), context);
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::MagFilter, value), context);
    CheckDXError(mDevice->SetTextureStageState(0, TextureStageState::MipFilter, value), context);
    mLinearFilter = linear;
}

FPoint D3DInterface::ApplyTransformStack(float x, float y) const
{
    if (mTransformStack.empty())
        return {x, y};
    return mTransformStack.back().TransformPoint(x, y);
}

// --- Primitives ----------------------------------------------------------------------------------

void D3DInterface::DrawQuad(const D3DVertex* strip, const char* context)
{
    CheckDXError(mDevice->DrawPrimitive(PrimitiveType::TriangleStrip, kFvfTLVertex, strip, 4, 0), context);
}

void D3DInterface::DrawPolyClipped(VertexList& list, const Rect& clip)
{
    VertexList scratch;
    ClipPolygonToRect(list, scratch, static_cast<float>(clip.x), static_cast<float>(clip.y),
                      static_cast<float>(clip.x + clip.width), static_cast<float>(clip.y + clip.height));
    if (list.Count() > 2)
        CheckDXError(mDevice->DrawPrimitive(PrimitiveType::TriangleFan, kFvfTLVertex, list.Data(), list.Count(), 0),
                     "DrawPrimitive (Tri) 2");
}

void D3DInterface::FillRect(const Rect& rect, const Color& color, DrawMode mode)
{
    if (!PreDraw())
        return;
    SetDrawMode(mode);
    const uint32_t c = PackColor(color);
    const float x0 = static_cast<float>(rect.x) - 0.5f, y0 = static_cast<float>(rect.y) - 0.5f;
    const float x1 = x0 + static_cast<float>(rect.width), y1 = y0 + static_cast<float>(rect.height);
    const FPoint corners[4] = {ApplyTransformStack(x0, y0), ApplyTransformStack(x1, y0), ApplyTransformStack(x0, y1),
                               ApplyTransformStack(x1, y1)};
    D3DVertex strip[4];
    for (int i = 0; i < 4; ++i)
        strip[i] = MakeVertex(corners[i].x, corners[i].y, c);
    CheckDXError(mDevice->SetTexture(0, nullptr), "SetTexture NULL");
    DrawQuad(strip, "DrawPrimitive (Rect)");
}

void D3DInterface::DrawLine(double x0, double y0, double x1, double y1, const Color& color, DrawMode mode)
{
    if (!PreDraw())
        return;
    SetDrawMode(mode);
    const FPoint a = ApplyTransformStack(static_cast<float>(x0), static_cast<float>(y0));
    const FPoint b = ApplyTransformStack(static_cast<float>(x1), static_cast<float>(y1));
    const uint32_t c = PackColor(color);
    const D3DVertex strip[3] = {MakeVertex(a.x, a.y, c), MakeVertex(b.x, b.y, c), MakeVertex(b.x + 0.5f, b.y + 0.5f, c)};
    CheckDXError(mDevice->SetTexture(0, nullptr), "SetTexture NULL");
    CheckDXError(mDevice->DrawPrimitive(PrimitiveType::LineStrip, kFvfTLVertex, strip, 3, 0), "DrawPrimitive (Line)");
}

bool D3DInterface::FillPolygon(const FPoint* points, int count, const Rect& clip, const Color& color, DrawMode mode,
                               int offsetX, int offsetY)
{
    if (count <= 2 || points == nullptr)
        return true;
    if (!PreDraw())
        return true;
    SetDrawMode(mode);
    CheckDXError(mDevice->SetTexture(0, nullptr), "SetTexture NULL");
    const uint32_t c = PackColor(color);
    VertexList list;
    for (int i = 0; i < count; ++i)
    {
        const FPoint p = ApplyTransformStack(points[i].x + static_cast<float>(offsetX),
                                             points[i].y + static_cast<float>(offsetY));
        list.Append(MakeVertex(p.x, p.y, c));
    }
    if (clip.width > 0 || clip.height > 0)
        DrawPolyClipped(list, clip);
    else
        CheckDXError(mDevice->DrawPrimitive(PrimitiveType::TriangleFan, kFvfTLVertex, list.Data(), list.Count(), 0),
                     "DrawPrimitive (FillPoly)");
    return true;
}

// --- Images --------------------------------------------------------------------------------------

namespace
{
// One texture piece's part of a source rectangle: its place in the rectangle, size and texture
// coordinates.
struct PieceArea
{
    TextureData::Piece& piece;
    float left, top, width, height;
    float u0, v0, u1, v1;
};

// Calls draw for each piece the source rectangle overlaps, row by row, left to right.
template <typename Draw> void ForEachPiece(TextureData& data, const Rect& srcRect, Draw&& draw)
{
    for (int py = srcRect.y; py < srcRect.y + srcRect.height;)
    {
        const int rowEnd = std::min(srcRect.y + srcRect.height, (py / data.pieceHeight + 1) * data.pieceHeight);
        for (int px = srcRect.x; px < srcRect.x + srcRect.width;)
        {
            const int colEnd = std::min(srcRect.x + srcRect.width, (px / data.pieceWidth + 1) * data.pieceWidth);
            int w = colEnd - px, h = rowEnd - py;
            float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
            TextureData::Piece& piece = data.GetTexture(px, py, w, h, u0, v0, u1, v1);
            draw(PieceArea{piece, static_cast<float>(px - srcRect.x), static_cast<float>(py - srcRect.y),
                           static_cast<float>(w), static_cast<float>(h), u0, v0, u1, v1});
            px = colEnd;
        }
        py = rowEnd;
    }
}
} // namespace

void D3DInterface::BltPieces(TextureData& data, const Rect& srcRect, float x, float y, uint32_t color)
{
    ForEachPiece(data, srcRect, [&](const PieceArea& a) {
        const float sx = x + a.left - 0.5f, sy = y + a.top - 0.5f;
        const D3DVertex strip[4] = {
            MakeVertex(sx, sy, color, a.u0, a.v0), MakeVertex(sx + a.width, sy, color, a.u1, a.v0),
            MakeVertex(sx, sy + a.height, color, a.u0, a.v1),
            MakeVertex(sx + a.width, sy + a.height, color, a.u1, a.v1)};
        CheckDXError(mDevice->SetTexture(0, a.piece.texture), "SetTexture gTexture");
        DrawQuad(strip, "DrawPrimitive (Tri) 1");
    });
}

void D3DInterface::BltPiecesTransformed(TextureData& data, const Matrix3& matrix, const Rect& srcRect,
                                        const Rect* clip, uint32_t color)
{
    ForEachPiece(data, srcRect, [&](const PieceArea& a) {
        const FPoint tl = matrix.TransformPoint(a.left, a.top);
        const FPoint tr = matrix.TransformPoint(a.left + a.width, a.top);
        const FPoint bl = matrix.TransformPoint(a.left, a.top + a.height);
        const FPoint br = matrix.TransformPoint(a.left + a.width, a.top + a.height);
        CheckDXError(mDevice->SetTexture(0, a.piece.texture), "SetTexture gTexture");
        const D3DVertex vtl = MakeVertex(tl.x - 0.5f, tl.y - 0.5f, color, a.u0, a.v0);
        const D3DVertex vtr = MakeVertex(tr.x - 0.5f, tr.y - 0.5f, color, a.u1, a.v0);
        const D3DVertex vbl = MakeVertex(bl.x - 0.5f, bl.y - 0.5f, color, a.u0, a.v1);
        const D3DVertex vbr = MakeVertex(br.x - 0.5f, br.y - 0.5f, color, a.u1, a.v1);
        if (clip == nullptr)
        {
            const D3DVertex strip[4] = {vtl, vtr, vbl, vbr};
            DrawQuad(strip, "DrawPrimitive (Tri) 3");
            return;
        }
        VertexList list;
        list.Append(vtl);
        list.Append(vtr);
        list.Append(vbr);
        list.Append(vbl);
        DrawPolyClipped(list, *clip);
    });
}

void D3DInterface::Blt(Image* source, float x, float y, const Rect& srcRect, const Color& color, DrawMode mode)
{
    if (!mTransformStack.empty())
    {
        Matrix3 identity;
        BltTransformedImpl(source, identity, x, y, srcRect, nullptr, color, mode, mLinearFilter, false);
        return;
    }
    MemoryImage* image = AsMemoryImage(source);
    if (image == nullptr || !PreDraw() || !CreateImageTexture(image))
        return;
    SetDrawMode(mode);
    SetLinearFilter(false);
    BltPieces(*static_cast<TextureData*>(image->mTextureData), srcRect, x, y, PackColor(color));
}

void D3DInterface::BltClipF(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                            const Color& color, DrawMode mode)
{
    Matrix3 identity;
    BltTransformedImpl(source, identity, x, y, srcRect, &clip, color, mode, true, false);
}

void D3DInterface::BltMirror(Image* source, float x, float y, const Rect& srcRect, const Color& color, DrawMode mode)
{
    Matrix3 matrix;
    matrix.Translate(-static_cast<float>(srcRect.width), 0);
    matrix.Scale(-1, 1);
    BltTransformedImpl(source, matrix, x, y, srcRect, nullptr, color, mode, false, false);
}

void D3DInterface::StretchBlt(Image* source, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                              const Color& color, DrawMode mode, bool fastStretch, bool mirror)
{
    if (srcRect.width <= 0 || srcRect.height <= 0)
        return;
    const float sx = static_cast<float>(destRect.width) / static_cast<float>(srcRect.width);
    const float sy = static_cast<float>(destRect.height) / static_cast<float>(srcRect.height);
    Matrix3 matrix;
    matrix.Scale(mirror ? -sx : sx, sy);
    if (mirror)
        matrix.Translate(static_cast<float>(destRect.width), 0);
    BltTransformedImpl(source, matrix, static_cast<float>(destRect.x), static_cast<float>(destRect.y), srcRect, &clip,
                       color, mode, !fastStretch, false);
}

void D3DInterface::BltRotated(Image* source, float x, float y, const Rect& srcRect, const Rect& clip,
                              const Color& color, DrawMode mode, double angle, float centerX, float centerY)
{
    Matrix3 matrix;
    matrix.Translate(-centerX, -centerY);
    matrix.Rotate(static_cast<float>(angle));
    BltTransformedImpl(source, matrix, x + centerX, y + centerY, srcRect, &clip, color, mode, true, false);
}

void D3DInterface::BltTransformed(Image* source, const Rect& clip, const Color& color, DrawMode mode,
                                  const Rect& srcRect, const Matrix3& matrix, bool filtering, float x, float y,
                                  bool center)
{
    BltTransformedImpl(source, matrix, x, y, srcRect, &clip, color, mode, filtering, center);
}

void D3DInterface::BltTransformedImpl(Image* source, const Matrix3& matrix, float x, float y, const Rect& srcRect,
                                      const Rect* clip, const Color& color, DrawMode mode, bool linear, bool center)
{
    MemoryImage* image = AsMemoryImage(source);
    if (image == nullptr || !PreDraw() || !CreateImageTexture(image))
        return;
    SetDrawMode(mode);
    SetLinearFilter(linear);
    // Centre first, then the caller's matrix, then the position, then the pushed transform.
    Matrix3 final;
    if (center)
        final.Translate(-static_cast<float>(srcRect.width) / 2, -static_cast<float>(srcRect.height) / 2);
    Matrix3::Multiply(final, matrix, final);
    final.Translate(x, y);
    if (!mTransformStack.empty())
        Matrix3::Multiply(final, mTransformStack.back(), final);
    BltPiecesTransformed(*static_cast<TextureData*>(image->mTextureData), final, srcRect, clip, PackColor(color));
}

void D3DInterface::DrawTrianglesTex(Image* texture, const TriangleVertices* triangles, int count, const Rect& clip,
                                    const Color& color, DrawMode mode, float tx, float ty, bool filtering)
{
    MemoryImage* image = AsMemoryImage(texture);
    if (image == nullptr || triangles == nullptr || count <= 0 || !PreDraw() || !CreateImageTexture(image))
        return;
    SetDrawMode(mode);
    SetLinearFilter(filtering);
    BltTriangles(*static_cast<TextureData*>(image->mTextureData), triangles, count, PackColor(color), tx, ty, clip);
}

void D3DInterface::BltTriangles(TextureData& data, const TriangleVertices* triangles, int count, uint32_t color,
                                float tx, float ty, const Rect& clip)
{
    auto vertexOf = [&](const TriVertex& t, float u, float v) {
        const FPoint p = ApplyTransformStack(t.x + tx, t.y + ty);
        // The vertex colour (0 for white) times the call's colour, as the software paths draw it.
        return MakeVertex(p.x, p.y, ModulateVertexColor(t.color, color), u, v);
    };
    // One piece: all triangles in one list, unless the clip rectangle cuts one.
    bool inside = true;
    for (int i = 0; i < count && inside; ++i)
        for (const TriVertex& t : triangles[i])
        {
            const FPoint p = ApplyTransformStack(t.x + tx, t.y + ty);
            inside = inside && p.x >= static_cast<float>(clip.x) && p.y >= static_cast<float>(clip.y) &&
                     p.x <= static_cast<float>(clip.x + clip.width) && p.y <= static_cast<float>(clip.y + clip.height);
        }
    if (data.maxU <= 1.0f && data.maxV <= 1.0f && inside)
    {
        std::vector<D3DVertex> list;
        list.reserve(static_cast<size_t>(count) * 3);
        for (int i = 0; i < count; ++i)
            for (const TriVertex& t : triangles[i])
                list.push_back(vertexOf(t, t.u * data.maxU, t.v * data.maxV));
        CheckDXError(mDevice->SetTexture(0, data.pieces[0].texture), "SetTexture gTexture");
        CheckDXError(mDevice->DrawPrimitive(PrimitiveType::TriangleList, kFvfTLVertex, list.data(),
                                            static_cast<int>(list.size()), 0),
                     "DrawPrimitive (TriList)");
        return;
    }
    // Several pieces: each triangle is cut to the square of every piece it touches (in piece
    // units), then scaled to that piece's texture.
    VertexList list, scratch;
    for (int i = 0; i < count; ++i)
    {
        float minU = 1e9f, maxU = -1e9f, minV = 1e9f, maxV = -1e9f;
        for (const TriVertex& t : triangles[i])
        {
            minU = std::min(minU, t.u * data.maxU);
            maxU = std::max(maxU, t.u * data.maxU);
            minV = std::min(minV, t.v * data.maxV);
            maxV = std::max(maxV, t.v * data.maxV);
        }
        const int c0 = std::max(0, static_cast<int>(std::floor(minU)));
        const int c1 = std::min(data.columns, static_cast<int>(std::ceil(maxU)));
        const int r0 = std::max(0, static_cast<int>(std::floor(minV)));
        const int r1 = std::min(data.rows, static_cast<int>(std::ceil(maxV)));
        for (int r = r0; r < r1; ++r)
            for (int c = c0; c < c1; ++c)
            {
                list.Clear();
                for (const TriVertex& t : triangles[i])
                    list.Append(vertexOf(t, t.u * data.maxU - static_cast<float>(c), t.v * data.maxV - static_cast<float>(r)));
                ClipToUnitSquare(list, scratch);
                if (list.Count() < 3)
                    continue;
                TextureData::Piece& piece = data.pieces[static_cast<size_t>(r * data.columns + c)];
                const float su = static_cast<float>(data.pieceWidth) / static_cast<float>(piece.texWidth);
                const float sv = static_cast<float>(data.pieceHeight) / static_cast<float>(piece.texHeight);
                for (int k = 0; k < list.Count(); ++k)
                {
                    list[k].u *= su;
                    list[k].v *= sv;
                }
                CheckDXError(mDevice->SetTexture(0, piece.texture), "SetTexture gTexture");
                if (inside)
                    CheckDXError(mDevice->DrawPrimitive(PrimitiveType::TriangleFan, kFvfTLVertex, list.Data(),
                                                        list.Count(), 0),
                                 "DrawPrimitive (Tri) 4");
                else
                    DrawPolyClipped(list, clip);
            }
    }
}
} // namespace Quoll
