#pragma once
// BacteriaEmoTarget: shows expression steps on a bacterium's face strip: each (kind, expression,
// step) names either a still cel of the strip or one of the emotion animations, played once.
#include "game/play/EmotionTarget.h"

class AnimSprite;
class PlayServices;

class BacteriaEmoTarget : public EmotionTarget
{
public:
    // Frame codes above this name emotion animations; the others are still cels.
    static constexpr int kLastStillCel = 456;

    explicit BacteriaEmoTarget(PlayServices& services) : mServices(services) {}

    // The frame code of a step for a kind (1..8); 0 for anything outside the table.
    [[nodiscard]] static int FrameCode(int kind, const EmotionEntry& entry);

    // The face sprite exists and is not playing a transition.
    [[nodiscard]] bool IsReady() override;
    // Nothing without a face sprite.
    void ShowEmotion(const EmotionEntry& entry) override;

    void SetKind(int kind) { mKind = kind; }
    // Not owned: the sprite of the owning face.
    void SetSprite(AnimSprite* sprite) { mSprite = sprite; }

private:
    PlayServices& mServices;
    int mKind = 0;
    AnimSprite* mSprite = nullptr;
};
