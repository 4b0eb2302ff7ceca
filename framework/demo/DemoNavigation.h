#pragma once
// What the demo navigation dialogs compute: the fast-forward target of a time typed into the
// jump-to-time dialog, and the lines of the marker list.
#include <list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Quoll
{
// Seconds in a time typed as numbers separated by ':' ("1:30" is 90, "1:00:00" is 3600). Each
// piece is read as a leading integer (anything else reads as 0); the total saturates instead of
// overflowing.
long long ParseJumpTime(std::string_view text);

// The update that playback runs fast to for a typed time: the time plus one second before the
// end of the demo (an empty text jumps to one second before the end).
int JumpToTimeTarget(std::string_view text, int demoLength, int frameTimeMs);

struct DemoMarkerLine
{
    std::string text; // "name (hh:mm:ss)": the playing time left after the marker
    int update = 0;   // the marker's update number
};

// One line per marker that lies ahead of the current update, in the markers' order.
std::vector<DemoMarkerLine> FutureMarkerLines(const std::list<std::pair<std::string, int>>& markers,
                                              int updateCount, int demoLength, int frameTimeMs);
} // namespace Quoll
