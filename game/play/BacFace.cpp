#include "game/play/BacFace.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/shell/PlayServices.h"

#include <array>
#include <cmath>

namespace
{
// Where a kind's eyes sit on its face and how far its pupils roam.
struct FaceRow
{
    FloatPoint face;      // face strip offset from the body's drawing position
    FloatPoint eyes;      // eye background offset from the face
    FloatPoint pupil;     // pupil offset from the eye background's centre-left
    FloatPoint radius;    // pupil travel
    float second;         // from the first pupil to the second
    const char* back;     // eye background image (null: no eyes)
    const char* pupilImage;
};

constexpr std::array<FaceRow, 8> kFaceRows{{
    {{16, 19}, {1, 6}, {0, 1}, {5, 2.5f}, 11, "IMAGE_EYES_BACK1", "IMAGE_PUPIL1"},
    {{18, 11}, {1, 5}, {0, 1.5f}, {6, 3}, 11, "IMAGE_EYES_BACK2", "IMAGE_PUPIL2"},
    {{17, 17}, {1, 5}, {0, 2}, {6, 2.5f}, 11, "IMAGE_EYES_BACK2", "IMAGE_PUPIL2"},
    {{17, 20}, {1, 5}, {0, 2}, {6, 2.5f}, 11, "IMAGE_EYES_BACK2", "IMAGE_PUPIL2"},
    {{13, 20}, {1, 5}, {0, 2}, {6, 2.5f}, 11, "IMAGE_EYES_BACK2", "IMAGE_PUPIL2"},
    {{16, 11}, {1, 5}, {0, 2}, {6, 2.5f}, 11, "IMAGE_EYES_BACK2", "IMAGE_PUPIL2"},
    {{10, 19}, {1, 5}, {0, 2}, {6, 2.5f}, 11, "IMAGE_EYES_BACK2", "IMAGE_PUPIL2"},
    {{5, 23}, {1, 5}, {0, 2}, {4.5f, 2}, 11, nullptr, nullptr},
}};

// Pupils follow the pointer within this distance, at full travel from 50 to 250 px.
constexpr float kLookRange = 300.0f;
constexpr float kEase = 50.0f;
} // namespace

BacFace::BacFace(PlayServices& services) : mServices(services), mTarget(services), mScheduler(services)
{
    mSprite.mSubPixel = true;
    mScheduler.SetIdle({3.0f, 3.0f, 0.0f, 0.0f, 2});
}

void BacFace::SetKind(int kind)
{
    mKind = kind;
    mTarget.SetKind(kind);
    mTarget.SetSprite(&mSprite);
    mScheduler.SetTarget(&mTarget);
    mScheduler.Say(0, 0, false);
}

void BacFace::Update(float dt)
{
    mSprite.Update(dt);
    mScheduler.Update(dt);
}

FloatPoint BacFace::PupilOffset(float radiusX, float radiusY, float vx, float vy)
{
    const float d = std::sqrt(vx * vx + vy * vy);
    if (!(d > 0 && d < kLookRange))
        return {};
    FloatPoint o{vx / d * radiusX, vy / d * radiusY};
    float factor = 1.0f;
    if (d > kLookRange - kEase)
        factor = (kLookRange - d) / kEase;
    else if (d < kEase)
        factor = d / kEase;
    return {o.x * factor, o.y * factor};
}

void BacFace::Draw(Quoll::Graphics* g, const Quoll::Color& colour, float x, float y, float lookX, float lookY)
{
    g->SetImageTint(true);
    g->SetColor(colour);
    if (mKind < 1 || mKind > 8)
        return;
    const FaceRow& row = kFaceRows[static_cast<size_t>(mKind - 1)];
    x += row.face.x;
    y += row.face.y;
    Quoll::Image* back =
        row.back == nullptr ? nullptr : mServices.GetImageById(mServices.GetResourceIdByName(row.back));
    Quoll::Image* pupil =
        row.pupilImage == nullptr ? nullptr : mServices.GetImageById(mServices.GetResourceIdByName(row.pupilImage));
    if (back != nullptr && pupil != nullptr)
    {
        const FloatPoint e{x + row.eyes.x, y + row.eyes.y};
        g->DrawImageF(back, e.x, e.y);
        const FloatPoint c{e.x + static_cast<float>(back->GetWidth() / 2), e.y + static_cast<float>(back->GetHeight() / 2)};
        const FloatPoint r{row.radius.x / 2, row.radius.y / 2};
        const FloatPoint o = PupilOffset(r.x, r.y, lookX - c.x, lookY - c.y);
        const FloatPoint p{e.x + r.x + row.pupil.x + o.x, e.y + r.y + row.pupil.y + o.y};
        g->DrawImageF(pupil, p.x, p.y);
        g->DrawImageF(pupil, p.x + row.second, p.y);
    }
    if (mSprite.mImage != nullptr)
        mSprite.Draw(g, x, y, colour);
}
