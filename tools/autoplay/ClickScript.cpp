#include "tools/autoplay/ClickScript.h"

namespace Autoplay
{
void ClickScript::Add(int update, int x, int y)
{
    if (update != mLastUpdate || mClicks == 0)
        mText += "at " + std::to_string(mStartMs + (update + 1) * kStepMs) + '\n';
    mLastUpdate = update;
    const std::string point = std::to_string(x) + ' ' + std::to_string(y);
    mText += "mouse move " + point + "\nmouse down left " + point + "\nmouse up left " + point + '\n';
    ++mClicks;
}
} // namespace Autoplay
