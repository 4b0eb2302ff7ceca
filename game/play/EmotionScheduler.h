#pragma once
// EmotionScheduler: the queue of timed expression steps of one face. A change of expression
// plays the old one's leave transition and the new one's enter transition before holding the new
// one; idle time is filled with gestures (blinks) at random pauses. The owner gives orders only
// through Say and calls Update once per logic step; nothing runs while there is no target.
#include "game/play/EmotionEntry.h"

#include <deque>

class EmotionTarget;
class SceneServices;

class EmotionScheduler
{
public:
    // The idle cycle: a pause of base + up to `random` seconds, then a gesture of `playTime`;
    // up to `repeats` gestures per pause, each after a pause of `repeatGap` (none when 0).
    struct IdleParams
    {
        float base = 3.0f;
        float random = 3.0f;
        float playTime = 0.0f;
        float repeatGap = 0.0f;
        int repeats = 2;
    };

    explicit EmotionScheduler(SceneServices& services) : mServices(services) {}

    // Not owned; null stops the scheduler.
    void SetTarget(EmotionTarget* target) { mTarget = target; }
    void SetIdle(const IdleParams& params) { mIdle = params; }

    // Urgent orders drop the queued steps and end the current one at the next update; then the
    // expression is requested for the time.
    void Say(int value, float time, bool urgent);
    // Appends the steps that lead to holding the expression for the time (see the source).
    void Request(int value, float time);
    // Counts the current step down and moves on when it has ended.
    void Update(float dt);
    // The next step becomes current and is shown; an empty queue is refilled first (an ended
    // hold plans an idle cycle, other steps lead back to a hold of their expression).
    void Next();
    // Appends a pause and one or more gestures of the expression.
    void PlanIdle(int value);

    [[nodiscard]] const EmotionEntry& GetCurrent() const { return mCurrent; }
    [[nodiscard]] const std::deque<EmotionEntry>& GetQueue() const { return mQueue; }
    [[nodiscard]] const IdleParams& GetIdle() const { return mIdle; }
    // The expression of the last step asked for (the back of the queue, else the current step).
    [[nodiscard]] int GetRequestedValue() const { return mQueue.empty() ? mCurrent.value : mQueue.back().value; }

private:
    SceneServices& mServices;
    EmotionTarget* mTarget = nullptr;
    IdleParams mIdle;
    EmotionEntry mCurrent;
    std::deque<EmotionEntry> mQueue;
};
