#pragma once
// FrameAnimation: which cel of an image strip shows at which time. A pass is a sequence of steps,
// each showing one cel (its own number unless a step list maps it) for a number of milliseconds
// (a per-step delay list, or one default delay); optionally forth and back ("ping-pong").
// An animation without steps is empty: its duration is 0 and it always shows cel 0.
#include <cstdint>
#include <vector>

class FrameAnimation
{
public:
    // The most steps a pass may have; longer descriptions are refused by the reader.
    static constexpr uint32_t kMaxFrames = 4096;

    // Count steps of the default delay each; ping-pong plays them forth and back (count 4:
    // 0 1 2 3 2 1). Lists set before are kept (ping-pong rewrites the step list).
    void Init(uint32_t defaultDelay, uint32_t count, bool pingPong);
    // Step `step` (below kMaxFrames) shows `cel`; the step list grows with zeros as needed.
    void SetFrameIndex(uint32_t step, uint32_t cel);
    // Step `step` (below kMaxFrames) lasts `ms`; the delay list grows with the default delay as
    // needed.
    void SetDelay(uint32_t step, uint32_t ms);

    // Milliseconds of one pass (the delay list's sum, else steps x default delay), saturated.
    [[nodiscard]] uint32_t GetDuration() const;
    // The cel shown `elapsed` ms into playback; times past the end wrap, the very end of a pass
    // shows its last step. 0 for an empty animation.
    [[nodiscard]] uint32_t GetFrameAt(uint32_t elapsed) const;

    [[nodiscard]] uint32_t GetFrameCount() const { return mFrameCount; }
    [[nodiscard]] uint32_t GetDefaultDelay() const { return mDefaultDelay; }
    [[nodiscard]] const std::vector<uint32_t>& GetSteps() const { return mSteps; }
    [[nodiscard]] const std::vector<uint32_t>& GetDelays() const { return mDelays; }

private:
    [[nodiscard]] uint32_t ComputeDuration() const;
    [[nodiscard]] uint32_t MapStep(uint32_t step) const;

    std::vector<uint32_t> mDelays;
    std::vector<uint32_t> mSteps;
    // 0: not computed yet.
    mutable uint32_t mDuration = 0;
    uint32_t mDefaultDelay = 1;
    uint32_t mFrameCount = 0;
};
