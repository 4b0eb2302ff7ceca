#include "game/screens/MapPoint.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/level/LevelList.h"
#include "game/scene/Sprite.h"
#include "game/scene/TextRecord.h"
#include "game/scene/Truncate.h"
#include "game/screens/LevelMapServices.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

int RevealGroup = -1;
bool MapSnapshotMode = false;

namespace
{
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// Where the centre of each group's picture lies inside its rectangle, by group from 1.
constexpr std::array<std::array<float, 2>, 24> kGroupOffsets = {{
    {25, 27}, {57, 31}, {39, 47}, {16, 19}, {49, 35}, {40, 23}, {23, 16}, {77, 66},
    {17, 46}, {22, 77}, {28, 31}, {29, 34}, {45, 51}, {16, 31}, {29, 60}, {79, 21},
    {68, 11}, {15, 28}, {28, 27}, {32, 28}, {36, 70}, {41, 38}, {24, 45}, {68, 21},
}};

// The pulse of a glowing node: from 100 up to 255 and back.
int PulseAlpha(float phase)
{
    return 100 - TruncToInt((std::cos(phase) + 1.0f) * -155.0f * 0.5f);
}
} // namespace

void MapPoint::Init(int g, const TextRecord& record, LevelMapServices& services)
{
    mServices = &services;
    const LevelList& list = services.GetLevelList();
    x = record.value1;
    y = record.value2;
    w = record.value3;
    h = record.value4;
    group = g;
    complete = list.IsGroupComplete(g);
    if (g >= 1 && g <= static_cast<int>(kGroupOffsets.size()))
    {
        offsetX = kGroupOffsets[static_cast<size_t>(g - 1)][0];
        offsetY = kGroupOffsets[static_cast<size_t>(g - 1)][1];
    }
    fullAlpha = 255;
    if (complete)
        cel = g >= 24 ? 0 : 2;
    else
        cel = list.CountCompletedInGroup(g);
    image = Ui().GetImageNamed("IMAGE_LEV_" + std::to_string(g));
    if (image != nullptr)
    {
        w = image->GetCelWidth();
        h = image->GetCelHeight();
    }
    UpdateMedal();
}

void MapPoint::UpdateMedal()
{
    medal = mServices != nullptr ? mServices->GetLevelList().GetGroupMedal(group) : -1;
    medalImage = medal != -1 ? Ui().GetImageNamed("IMAGE_MEDAL" + std::to_string(std::clamp(medal, 0, 2) + 1)) : nullptr;
    if (medalImage == nullptr)
        return;
    const FloatPoint anchor = GetMedalAnchor();
    const float half = static_cast<float>(medalImage->mWidth / 2) * kMedalScale;
    medalX = TruncToInt(anchor.x - half);
    medalY = TruncToInt(anchor.y - half);
}

FloatPoint MapPoint::GetPosition() const
{
    return {static_cast<float>(x) + offsetX, static_cast<float>(y) + offsetY};
}

FloatPoint MapPoint::GetMedalAnchor() const
{
    FloatPoint anchor = GetPosition();
    if (medalImage != nullptr)
        anchor.y -= kMedalLift;
    return anchor;
}

float MapPoint::GetSparkleRadius() const
{
    return medalImage != nullptr ? static_cast<float>(medalImage->mWidth) * 0.5f * kMedalScale : 1.0f;
}

void MapPoint::SetHighlight(bool on)
{
    highlighted = on;
    if (!on && state == kShown)
        colour.a = fullAlpha;
}

void MapPoint::Update(float dt)
{
    glow = std::clamp(glow + (highlighted ? kGlowSpeed : -kGlowSpeed) * dt, 0.0f, 1.0f);
    switch (state)
    {
    case kDone: UpdateDone(dt); break;
    case kFadingIn:
    case kFadingOut: UpdateFade(dt); break;
    case kShown: UpdateShown(dt); break;
    default: break;
    }
}

void MapPoint::UpdateDone(float dt)
{
    if (RevealGroup != group)
        return;
    if (revealTimer == -1.0f)
    {
        revealTimer = 0.0f;
        if (medal == 2 && mServices != nullptr)
        {
            const FloatPoint anchor = GetMedalAnchor();
            mServices->SpawnParticleSystem(kGoldBurstSystem, anchor.x, anchor.y);
        }
    }
    revealTimer += dt;
    // Gold nodes hold the reveal while they burst; other done nodes pass it on at once.
    if (revealTimer > kRevealTime || medal != 2)
        ++RevealGroup;
}

void MapPoint::UpdateFade(float dt)
{
    fadeTime += dt;
    float f = fadeDuration > 0.0f ? fadeTime / fadeDuration : 1.0f;
    if (f > 1.0f || fadeDuration == 0.0f)
    {
        f = 1.0f;
        state = state == kFadingIn ? kShown : kDone;
    }
    if (state == kFadingOut || state == kDone)
        f = 1.0f - f;
    colour.a = TruncToInt(static_cast<float>(fullAlpha) * f);
}

void MapPoint::UpdateShown(float dt)
{
    if (highlighted)
    {
        phase += kTwoPi * 3.0f * dt;
        if (phase > kTwoPi)
            phase -= kTwoPi;
        colour.a = PulseAlpha(phase);
    }
    if (RevealGroup == group && revealTimer == -1.0f)
        revealTimer = 0.0f;
    if (revealTimer < 0.0f || revealTimer >= kRevealTime)
        return;
    revealTimer += dt;
    if (revealTimer > kRevealStagger && RevealGroup == group)
        RevealGroup = group + 1;
    if (revealTimer < kRevealTime)
    {
        highlighted = true;
        colour.a = TruncToInt(revealTimer / kRevealTime * static_cast<float>(fullAlpha));
        return;
    }
    colour.a = fullAlpha;
    highlighted = false;
    revealTimer = -1.0f;
}

int MapPoint::CelToDraw() const
{
    if (image == nullptr)
        return 0;
    const int cels = image->mNumCols * image->mNumRows;
    if (image->mNumCols <= 1 || cels <= 0)
        return 0;
    int wanted = cel;
    if (mServices != nullptr && mServices->IsKeyDown('1'))
        wanted = 1;
    if (mServices != nullptr && mServices->IsKeyDown('2'))
        wanted = 2;
    if (highlighted && complete)
        wanted = 0;
    // A strip with fewer cels than the count shows its last one rather than a cut outside it.
    return std::clamp(wanted, 0, cels - 1);
}

void MapPoint::Draw(Quoll::Graphics* g) const
{
    if (state != kDone || highlighted)
    {
        const int sw = TruncToInt(static_cast<float>(w) * scale);
        const int sh = TruncToInt(static_cast<float>(h) * scale);
        const int sx = x - (sw - w) / 2;
        const int sy = y - (sh - h) / 2;
        if (image != nullptr)
        {
            const Quoll::Rect source = GetCelRect(image, CelToDraw());
            if (highlighted)
            {
                g->SetDrawMode(Quoll::DrawMode::Additive);
                g->SetColor(Quoll::Color::White);
                if (revealTimer == -1.0f)
                {
                    g->DrawImage(image, Quoll::Rect(sx - 1, sy, sw, sh), source);
                    g->DrawImage(image, Quoll::Rect(sx + 1, sy, sw, sh), source);
                    g->DrawImage(image, Quoll::Rect(sx, sy - 1, sw, sh), source);
                    g->DrawImage(image, Quoll::Rect(sx, sy + 1, sw, sh), source);
                }
                else
                    g->DrawImage(image, Quoll::Rect(sx, sy, sw, sh), source);
                g->SetDrawMode(Quoll::DrawMode::Normal);
            }
            g->SetColor(MapSnapshotMode ? Quoll::Color::White : colour);
            g->DrawImage(image, Quoll::Rect(sx, sy, sw, sh), source);
        }
    }
    DrawMedal(g);
}

void MapPoint::DrawMedal(Quoll::Graphics* g) const
{
    if (medalImage == nullptr || state != kDone || MapSnapshotMode)
        return;
    const int mw = TruncToInt(static_cast<float>(medalImage->mWidth) * kMedalScale);
    const int mh = TruncToInt(static_cast<float>(medalImage->mHeight) * kMedalScale);
    const Quoll::Rect whole(0, 0, medalImage->mWidth, medalImage->mHeight);
    g->SetColor(Quoll::Color(0, 0, 0, 125 - TruncToInt(glow * 125.0f)));
    g->DrawImage(medalImage, Quoll::Rect(medalX + 2, medalY + 3, mw, mh), whole);
    g->SetColor(Quoll::Color(255, 255, 255, 255 - TruncToInt(glow * 255.0f)));
    g->DrawImage(medalImage, Quoll::Rect(medalX, medalY, mw, mh), whole);
}
