#pragma once
// The animation record of an image: cel count, delays per frame and an optional frame-to-cel map.
#include <vector>

namespace Quoll
{
enum class AnimType : int
{
    None = 0,
    Once = 1,
    PingPong = 2,
    Loop = 3,
};

class AnimInfo
{
public:
    // Grows the per-frame delays with zeros up to the index, then stores the delay there.
    void SetPerFrameDelay(int index, int delay);
    // Settles cel count, frame map (ping-pong), per-frame delays and total time.
    void Compute(int numCels, int beginDelay, int endDelay);

    AnimType mAnimType = AnimType::None;
    int mFrameDelay = 1;
    int mNumCels = 1;
    std::vector<int> mPerFrameDelay;
    std::vector<int> mFrameMap;
    int mTotalTime = 0;
};
} // namespace Quoll
