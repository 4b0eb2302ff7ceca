#pragma once
// EmotionTarget: a face that shows the steps of an emotion scheduler.
#include "game/play/EmotionEntry.h"

class EmotionTarget
{
public:
    virtual ~EmotionTarget() = default;
    // Whether the next step may start (the current transition has finished).
    [[nodiscard]] virtual bool IsReady() = 0;
    virtual void ShowEmotion(const EmotionEntry& entry) = 0;
};
