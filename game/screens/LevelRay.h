#pragma once
// LevelRay: one level of a group's fan on the level map: a coloured line from the group's node
// ending in a small cell that shows the level's episode colour and either the medal won on it
// or the bacteria to be met there. It slides out and back in over a third of a second; a locked
// level stays shorter, grey, drifts slowly and cannot be hovered.
#include "framework/display/Color.h"
#include "framework/display/Rect.h"
#include "game/scene/VisualNode.h"
#include "game/screens/RayWobble.h"

class LevelMapServices;

class LevelRay final : public VisualNode
{
public:
    enum State : int
    {
        kClosed = 0,
        kOpening = 1,
        kOpen = 2,
        kClosing = 3
    };
    static constexpr float kOpenSpeed = 3.0f;
    static constexpr float kCellDistance = 73.0f;
    static constexpr float kLockedLength = 0.7f;
    static constexpr int kLockedColour = 0xAAAAAA;
    static constexpr float kDriftRadius = 12.0f;
    static constexpr float kDriftSpeed = 10.0f;
    static constexpr int kEpisodeCount = 5;

    explicit LevelRay(LevelMapServices& services) : mServices(services) {}

    // The episode's colour (index 0..4; others are clamped).
    [[nodiscard]] static Quoll::Color GetEpisodeColour(int index);

    void Init(int levelIn, float angleIn);
    void Open(bool lockedIn);
    void Close();
    // Hovered: unlocked, fully open and (x, y) on the cell.
    void SetHover(int x, int y);
    // The cell's rectangle at full extension.
    [[nodiscard]] Quoll::Rect GetFullRect();

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;

    [[nodiscard]] int GetState() const { return mState; }
    [[nodiscard]] int GetLevel() const { return mLevel; }
    [[nodiscard]] bool IsHovered() const { return mHovered; }
    [[nodiscard]] bool IsLocked() const { return mLocked; }
    [[nodiscard]] float GetAngle() const { return mAngle; }
    [[nodiscard]] float GetExtension() const { return mExtension; }
    [[nodiscard]] int GetMedal() const { return mMedal; }
    [[nodiscard]] int GetEpisodeIndex() const { return mEpisodeIndex; }
    [[nodiscard]] const Quoll::Rect& GetCellRect() const { return mCellRect; }
    [[nodiscard]] const RayWobble& GetEnemyDrift() const { return mEnemyDrift; }

private:
    void Layout();
    void DrawCell(Quoll::Graphics* g, float cx, float cy, int alpha);

    LevelMapServices& mServices;
    int mState = kClosed;
    int mLevel = 0;
    bool mHovered = false;
    bool mLocked = false;
    FloatPoint mCellOffset;
    FloatPoint mLineOffset;
    Quoll::Rect mCellRect;
    int mEpisodeIndex = 0;
    int mEnemyKind = -1;
    int mThirdKind = -1;
    int mMedal = -1;
    float mAngle = -1.0f;
    float mDirectionX = 0.0f, mDirectionY = 0.0f;
    float mExtension = 0.0f;
    float mSpin = 0.0f;
    RayWobble mEnemyDrift;
    RayWobble mThirdDrift;
};
