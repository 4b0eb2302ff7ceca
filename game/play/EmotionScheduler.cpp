#include "game/play/EmotionScheduler.h"

#include "game/play/EmotionTarget.h"
#include "game/shell/SceneServices.h"

void EmotionScheduler::Say(int value, float time, bool urgent)
{
    if (urgent)
    {
        mQueue.clear();
        mCurrent.time = 0;
    }
    Request(value, time);
}

void EmotionScheduler::Request(int value, float time)
{
    EmotionEntry& last = mQueue.empty() ? mCurrent : mQueue.back();
    // Steps of an unknown type never come from here; nothing is appended after one.
    if (last.type < EmotionEntry::Enter || last.type > EmotionEntry::Gesture)
        return;
    if (last.value == value)
    {
        switch (last.type)
        {
        case EmotionEntry::Hold:
            // The hold is extended or shortened in place, the current step's too.
            last.time = time;
            return;
        case EmotionEntry::Leave:
            mQueue.push_back({value, EmotionEntry::Enter, 0});
            break;
        default:
            break;
        }
        mQueue.push_back({value, EmotionEntry::Hold, time});
        return;
    }
    const int previous = last.value;
    if (last.type != EmotionEntry::Leave)
        mQueue.push_back({previous, EmotionEntry::Leave, 0});
    mQueue.push_back({value, EmotionEntry::Enter, 0});
    mQueue.push_back({value, EmotionEntry::Hold, time});
}

void EmotionScheduler::Update(float dt)
{
    if (mTarget == nullptr)
        return;
    if (mCurrent.time > 0)
        mCurrent.time -= dt;
    if (mCurrent.time < 0)
        Next();
    else if (mCurrent.time == 0 && mTarget->IsReady())
        Next();
}

void EmotionScheduler::Next()
{
    if (mQueue.empty())
    {
        if (mCurrent.type == EmotionEntry::Hold)
            PlanIdle(mCurrent.value);
        else
            Request(mCurrent.value, 0);
    }
    // Only a step of an unknown type leaves the queue empty: it stays current.
    if (mQueue.empty())
        return;
    mCurrent = mQueue.front();
    mQueue.pop_front();
    if (mTarget != nullptr)
        mTarget->ShowEmotion(mCurrent);
}

void EmotionScheduler::PlanIdle(int value)
{
    mQueue.push_back({value, EmotionEntry::Hold, mIdle.base + mServices.RandFloat(mIdle.random)});
    mQueue.push_back({value, EmotionEntry::Gesture, mIdle.playTime});
    if (mIdle.repeats <= 1)
        return;
    // One draw decides how many gestures follow: the chance of each further one falls by 15 %.
    const int draw = mServices.RandInt(100);
    int threshold = 50;
    for (int k = 1; k < mIdle.repeats; ++k)
    {
        if (draw < threshold)
        {
            if (mIdle.repeatGap > 0)
                mQueue.push_back({value, EmotionEntry::Hold, mIdle.repeatGap});
            mQueue.push_back({value, EmotionEntry::Gesture, mIdle.playTime});
        }
        threshold -= 15;
    }
}
