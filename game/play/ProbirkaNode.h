#pragma once
// ProbirkaNode: the test-tube gauge of the HUD: a glass whose liquid column, in the colour of a
// bacteria kind, glides in 0.8 s to the share of a level in its maximum, with the level as a
// number above it. The winner's tube celebrates: its number jitters and cycles its colour.
#include "framework/display/Color.h"
#include "game/scene/VisualNode.h"

class PlayServices;

class ProbirkaNode : public VisualNode
{
public:
    // Seconds the fill takes to reach a new level.
    static constexpr float kTweenTime = 0.8f;
    // Pixels of the liquid column at full fill.
    static constexpr int kColumnHeight = 130;

    explicit ProbirkaNode(PlayServices& services) : mServices(services) {}

    // The level that fills the tube and the bacteria kind (1..8) whose cels colour it.
    void Init(int maximum, int bacteriaKind);
    // Starts the glide to the level's fill; nothing when the level is unchanged. A tube with a
    // maximum of 1 or less is full at level 1 or more and empty otherwise.
    void SetLevel(int level);
    // The fill fraction shown now, 0..1.
    [[nodiscard]] float GetFill() const;
    void SetCelebrating(bool on) { mCelebrating = on; }

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;

    [[nodiscard]] int GetLevel() const { return mLevel; }
    [[nodiscard]] int GetMaximum() const { return mMaximum; }
    [[nodiscard]] int GetKind() const { return mKind; }
    [[nodiscard]] float GetTargetFill() const { return mTargetFill; }
    [[nodiscard]] float GetTweenTime() const { return mTweenTime; }
    [[nodiscard]] bool IsCelebrating() const { return mCelebrating; }
    [[nodiscard]] const Quoll::Color& GetNumberColour() const { return mNumberColour; }

    // Draw the level as a number above the tube.
    bool mShowNumber = true;

private:
    PlayServices& mServices;
    int mMaximum = 100;
    int mLevel = 0;
    float mTargetFill = 0;
    float mStartFill = 0;
    float mTweenTime = 0;
    float mTweenDuration = 0;
    bool mCelebrating = false;
    float mPhase = 0;
    int mJitterX = 0;
    int mJitterY = 0;
    Quoll::Color mNumberColour = Quoll::Color::White;
    int mKind = 0;
};
