#pragma once
// The autoplay's clicks as lines of a headless input script, so that a whole-game script plays a
// level as the autoplay did. A click made after the play state's update k stands at "at"
// start + (k + 1) * 10 ms (the game's fixed step; start: the script time of the play state's
// start, plus any wait the script puts before the level's first click). The game's own random
// draws (capture texts, explosions) make its turns last a little longer or shorter than the
// autoplay's; a player's pause before each turn (Options::thinkUpdates) absorbs that.
#include <string>

namespace Autoplay
{
class ClickScript
{
public:
    static constexpr int kStepMs = 10;

    explicit ClickScript(int startMs) : mStartMs(startMs) {}

    // A left click at the screen point, made after `update` updates of the play state.
    void Add(int update, int x, int y);
    [[nodiscard]] const std::string& Text() const { return mText; }
    [[nodiscard]] int GetClickCount() const { return mClicks; }

private:
    int mStartMs;
    int mLastUpdate = -1;
    int mClicks = 0;
    std::string mText;
};
} // namespace Autoplay
