#pragma once
// AchieveIcon: the picture of one achievement (1..40), in the popup that announces a newly earned
// one and in the achievements viewer's grid. It dims itself to a silhouette while not earned,
// spins a glow behind it while new, shows the achievement's name as a hint while the pointer is
// over it, can glide into place after a delay, and in the viewer grows a little while hovered.
#include "framework/display/Color.h"
#include "game/scene/HilightSprite.h"
#include "game/scene/HintArea.h"
#include "game/scene/SpriteNode.h"

#include <functional>
#include <memory>

class UiServices;

class AchieveIcon : public SpriteNode
{
public:
    // The achievement's picture is the image of resource id number + this.
    static constexpr int kImageBase = 46;
    static constexpr float kPopupScale = 0.6f;
    static constexpr float kViewerScale = 0.8f;
    // The viewer form grows by this much while hovered, over 0.1 s.
    static constexpr float kGrowScale = 0.2f;
    static constexpr float kGrowRate = 10.0f;
    static constexpr float kGlowScale = 3.0f;
    inline static const Quoll::Color kNotAchievedHint{0x3F4B6D, 255};

    // Where the pointer is on the screen; an empty source never hovers.
    using PointerSource = std::function<FloatPoint()>;

    AchieveIcon(UiServices& services, int number, PointerSource pointer);
    ~AchieveIcon() override;

    // The form (popup, viewer or neither) sets the picture, its scale and the hint's place.
    void SetState(bool popupForm, bool viewerForm);
    // A straight glide of duration seconds after delay seconds: from (x, y) back to the current
    // position, or from the current position to (x, y). A duration of 0 or less places the icon
    // at the glide's end at once.
    void SetTarget(bool fromPoint, float x, float y, float duration, float delay);

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;

    [[nodiscard]] int GetNumber() const { return mNumber; }
    [[nodiscard]] const HintArea& GetHint() const { return mHint; }
    [[nodiscard]] bool IsHovered() const { return mHovered; }
    [[nodiscard]] float GetGrow() const { return mGrow; }
    [[nodiscard]] const HilightSprite* GetHighlight() const { return mHighlight.get(); }

    // Drawn as a dim silhouette while false.
    bool mAchieved = true;
    // A glow turns behind the icon while set.
    bool mNew = false;

private:
    void BuildHint();
    void UpdateGlide(float dt);
    void UpdateGrowth(float dt);
    void UpdateHighlight(float dt);

    UiServices& mServices;
    PointerSource mPointer;
    int mNumber;
    bool mPopupForm = false;
    bool mViewerForm = false;
    HintArea mHint;
    bool mHovered = false;
    FloatPoint mStart;
    FloatPoint mTarget;
    float mRemaining = 0;
    float mDuration = 0;
    float mDelay = 0;
    float mGrow = 0;
    std::unique_ptr<HilightSprite> mHighlight;
};
