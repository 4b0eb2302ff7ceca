#include "game/scene/ZoomSFX.h"

#include "framework/display/Graphics.h"
#include "framework/display/Transform.h"
#include "game/scene/Lerp.h"
#include "game/scene/Truncate.h"
#include "game/shell/SceneServices.h"

#include <algorithm>

namespace Quoll
{
namespace
{
// The fraction of a segment from `from` to `to` reached at p; a segment of no length counts as
// passed.
float SegmentFraction(float p, float from, float to)
{
    return to != from ? (p - from) / (to - from) : 1.0f;
}
} // namespace

void ZoomSFX::Start(bool zoomIn, int key)
{
    mServices.PlaySound(mServices.GetResourceIdByName(zoomIn ? "SOUND_ZOOM_IN" : "SOUND_ZOOM_OUT"), 1.0f, 0.0f);
    mTime = 0.0f;
    mPieces.clear();
    mZoomIn = zoomIn;
    mConfigs.Load(mServices);
    const ZoomConfig* config = mConfigs.Find(key);
    if (config == nullptr)
        return;
    mDuration = config->duration;
    mPieces = config->pieces;
    for (ZoomPiece& piece : mPieces)
        piece.image = piece.label ? nullptr : mServices.GetImageById(piece.imageId);
}

void ZoomSFX::Update(float dt)
{
    mTime += std::min(dt, 0.1f);
    mTime = std::clamp(mTime, 0.0f, std::max(mDuration, 0.0f));
}

bool ZoomSFX::IsFinished() const
{
    return mDuration <= 0.0f || mTime >= mDuration;
}

float ZoomSFX::GetProgress() const
{
    const float p = mDuration > 0.0f ? mTime / mDuration : 1.0f;
    return mZoomIn ? p : 1.0f - p;
}

bool ZoomSFX::PieceAt(const ZoomPiece& piece, float p, float& alpha, float& scale)
{
    if (p < piece.start || p > piece.end)
        return false;
    const float u = SegmentFraction(p, piece.start, piece.end);
    const float uu = u * u;
    scale = piece.scaleStart + uu * (piece.scaleEnd - piece.scaleStart);
    alpha = p < piece.middle ? LerpScalar(piece.alphaStart, piece.alphaMiddle, SegmentFraction(p, piece.start, piece.middle))
                             : LerpScalar(piece.alphaMiddle, piece.alphaEnd, SegmentFraction(p, piece.middle, piece.end));
    return true;
}

void ZoomSFX::Draw(Graphics* g)
{
    const float p = GetProgress();
    for (const ZoomPiece& piece : mPieces)
        DrawPiece(g, piece, p);
}

void ZoomSFX::DrawPiece(Graphics* g, const ZoomPiece& piece, float p)
{
    float alpha = 0.0f, scale = 0.0f;
    Image* image = piece.image;
    if (image == nullptr || image->GetWidth() <= 0 || image->GetHeight() <= 0 || !PieceAt(piece, p, alpha, scale))
        return;
    // At scale 1 the picture covers the application's screen.
    const auto appWidth = static_cast<float>(mServices.GetAppWidth());
    const auto appHeight = static_cast<float>(mServices.GetAppHeight());
    Transform transform;
    transform.Scale(appWidth / static_cast<float>(image->GetWidth()) * scale,
                    appHeight / static_cast<float>(image->GetHeight()) * scale);
    g->SetImageTint(true);
    g->SetColor(Color(255, 255, 255, std::clamp(TruncToInt(static_cast<double>(alpha) * 255.0), 0, 255)));
    g->DrawImageTransformF(image, transform, appWidth * 0.5f, appHeight * 0.5f);
    g->SetImageTint(false);
}
} // namespace Quoll
