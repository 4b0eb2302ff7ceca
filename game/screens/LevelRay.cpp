#include "game/screens/LevelRay.h"

#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/level/AssetCfg.h"
#include "game/level/LevelList.h"
#include "game/scene/Sprite.h"
#include "game/scene/Truncate.h"
#include "game/screens/LevelMapServices.h"
#include "game/ui/UiServices.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace
{
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr std::array<int, LevelRay::kEpisodeCount> kEpisodeColours = {0xF0CB48, 0x4D9FC9, 0xD482FE, 0x1BA771,
                                                                      0x8B7FD1};

Quoll::Image* CellsImage()
{
    return Ui().GetImageNamed("IMAGE_MINI_CELLS");
}
} // namespace

Quoll::Color LevelRay::GetEpisodeColour(int index)
{
    return Quoll::Color(kEpisodeColours[static_cast<size_t>(std::clamp(index, 0, kEpisodeCount - 1))], 255);
}

void LevelRay::Init(int levelIn, float angleIn)
{
    mLevel = levelIn;
    mAngle = angleIn;
    const AssetCfg& assets = mServices.GetAssets();
    // An episode outside the table's five is shown as the nearest one.
    mEpisodeIndex = std::clamp(assets.GetEpisode(levelIn) - 1, 0, kEpisodeCount - 1);
    mDirectionX = std::cos(angleIn);
    mDirectionY = -std::sin(angleIn);
    if (mServices.GetLevelList().IsLevelCompleted(levelIn))
        mMedal = mServices.GetLevelMedal(levelIn);
    else
    {
        mEnemyKind = assets.GetEnemyBacteria(levelIn) - 1;
        mEnemyDrift.Start(kDriftRadius, kDriftSpeed, Ui());
        if (mServices.GetLevelList().GetLevelValue(levelIn) > 1)
        {
            mThirdKind = assets.GetThirdBacteria(levelIn) - 1;
            mThirdDrift.Start(kDriftRadius, kDriftSpeed, Ui());
        }
    }
    mExtension = 0.0f;
    Layout();
}

void LevelRay::Open(bool lockedIn)
{
    mLocked = lockedIn;
    mState = kOpening;
}

void LevelRay::Close()
{
    mState = kClosing;
}

void LevelRay::Layout()
{
    const float s = mLocked ? kLockedLength : 1.0f;
    const float e = mExtension;
    Quoll::Image* cells = CellsImage();
    const int celW = cells != nullptr ? cells->GetCelWidth() : 0;
    const int celH = cells != nullptr ? cells->GetCelHeight() : 0;
    mCellOffset.x = mDirectionX * kCellDistance * e * s - static_cast<float>(celW / 2);
    mCellOffset.y = mDirectionY * kCellDistance * e * s - static_cast<float>(celH / 2);
    Quoll::Image* line = Ui().GetImageNamed("IMAGE_MINI_LINE");
    const float lineW = line != nullptr ? static_cast<float>(line->mWidth) : 0.0f;
    const int lineH = line != nullptr ? line->mHeight : 0;
    // Both offsets use the line's length: the line's centre lies half a length out.
    mLineOffset.x = mDirectionX * lineW * 0.5f * e * s - static_cast<float>(TruncToInt(lineW) / 2);
    mLineOffset.y = mDirectionY * lineW * 0.5f * e * s - static_cast<float>(lineH / 2);
    const FloatPoint world = GetWorldPosition();
    mCellRect = Quoll::Rect(TruncToInt(mCellOffset.x + world.x), TruncToInt(mCellOffset.y + world.y), celW, celH);
}

Quoll::Rect LevelRay::GetFullRect()
{
    const float saved = mExtension;
    mExtension = 1.0f;
    Layout();
    const Quoll::Rect full = mCellRect;
    mExtension = saved;
    Layout();
    return full;
}

void LevelRay::SetHover(int x, int y)
{
    const Quoll::Rect& r = mCellRect;
    mHovered = !mLocked && mState == kOpen && x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

void LevelRay::Update(float dt)
{
    switch (mState)
    {
    case kOpening:
        mExtension += kOpenSpeed * dt;
        if (mExtension > 1.0f)
        {
            mExtension = 1.0f;
            mState = kOpen;
            Layout();
            const PointerPosition mouse = mServices.GetMousePos();
            SetHover(TruncToInt(mouse.x), TruncToInt(mouse.y));
        }
        Layout();
        break;
    case kClosing:
        mExtension -= kOpenSpeed * dt;
        if (mExtension < 0.0f)
        {
            mExtension = 0.0f;
            mState = kClosed;
            mHovered = false;
        }
        Layout();
        break;
    case kOpen:
    {
        if (mHovered)
        {
            mSpin += kTwoPi * 3.0f * dt;
            if (mSpin > kTwoPi)
                mSpin -= kTwoPi;
        }
        float driftTime = mLocked ? dt * 0.1f : dt;
        if (mHovered)
            driftTime *= 0.4f;
        if (mEnemyKind >= 0)
            mEnemyDrift.Step(driftTime, Ui());
        if (mThirdKind >= 0)
            mThirdDrift.Step(driftTime, Ui());
        break;
    }
    default: break;
    }
    VisualNode::Update(dt);
}

void LevelRay::Draw(Quoll::Graphics* g)
{
    if (mState == kClosed)
        return;
    const int a = TruncToInt(mExtension * 255.0f);
    g->SetImageTint(true);
    const FloatPoint world = GetWorldPosition();
    const float cx = world.x + mCellOffset.x;
    const float cy = world.y + mCellOffset.y;
    Quoll::Color lineColour = GetEpisodeColour(mEpisodeIndex);
    lineColour.a = mState == kOpen ? a : a / 2;
    g->SetColor(lineColour);
    g->DrawImageRotatedF(Ui().GetImageNamed("IMAGE_MINI_LINE"), world.x + mLineOffset.x, world.y + mLineOffset.y,
                         mAngle);
    DrawCell(g, cx, cy, a);
    VisualNode::Draw(g);
}

void LevelRay::DrawCell(Quoll::Graphics* g, float cx, float cy, int alpha)
{
    const Quoll::Color k(mLocked ? kLockedColour : 0xFFFFFF, alpha);
    const int ix = TruncToInt(cx);
    const int iy = TruncToInt(cy);
    Quoll::Image* cells = CellsImage();
    if (cells != nullptr)
    {
        const Quoll::Rect cel = GetCelRect(cells, std::min(mEpisodeIndex, cells->mNumCols * cells->mNumRows - 1));
        if (!mLocked)
        {
            g->SetColor(Quoll::Color(0, 0, 0, alpha / 2));
            g->DrawImage(cells, ix + 2, iy + 3, cel);
        }
        if (mHovered)
        {
            g->SetDrawMode(Quoll::DrawMode::Additive);
            Quoll::Color glow = GetEpisodeColour(mEpisodeIndex);
            glow.a = 100 - TruncToInt((std::cos(mSpin) + 1.0f) * -155.0f * 0.5f);
            g->SetColor(glow);
            g->DrawImage(Ui().GetImageNamed("IMAGE_MINI_GLOW"), ix - 13, iy - 13);
            g->SetDrawMode(Quoll::DrawMode::Normal);
        }
        g->SetColor(k);
        g->DrawImage(cells, ix, iy, cel);
    }
    g->SetColor(k);
    if (mMedal >= 0)
    {
        Quoll::Image* medals = Ui().GetImageNamed("IMAGE_MINI_MEDALS");
        if (medals != nullptr)
            g->DrawImage(medals, ix + 6, iy - 18, GetCelRect(medals, std::min(mMedal, medals->mNumCols - 1)));
        return;
    }
    Quoll::Image* bacs = Ui().GetImageNamed("IMAGE_MINI_BACS");
    if (bacs == nullptr)
        return;
    const auto drawKind = [&](int kind, const RayWobble& drift) {
        if (kind < 0 || kind >= bacs->mNumCols)
            return;
        g->DrawImageF(bacs, cx + drift.offsetX, cy + drift.offsetY,
                      Quoll::Rect(kind * bacs->GetCelWidth(), 0, bacs->GetCelWidth(), bacs->GetCelHeight()));
    };
    drawKind(mThirdKind, mThirdDrift);
    drawKind(mEnemyKind, mEnemyDrift);
}
