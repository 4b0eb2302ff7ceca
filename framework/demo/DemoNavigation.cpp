#include "framework/demo/DemoNavigation.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace Quoll
{
namespace
{
constexpr long long kMaxSeconds = INT32_MAX; // far beyond any demo; keeps the sums exact

// The leading integer of a piece, as atoi reads it, saturated.
long long PieceValue(std::string_view piece)
{
    size_t i = 0;
    while (i < piece.size() && (piece[i] == ' ' || piece[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '-' || piece[i] == '+'))
        negative = piece[i++] == '-';
    long long value = 0;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i)
        value = std::min(kMaxSeconds, value * 10 + (piece[i] - '0'));
    return negative ? -value : value;
}
} // namespace

long long ParseJumpTime(std::string_view text)
{
    long long total = 0;
    size_t start = 0;
    while (true)
    {
        const size_t colon = text.find(':', start);
        const std::string_view piece = text.substr(start, colon == std::string_view::npos ? colon : colon - start);
        total = std::clamp(total * 60 + PieceValue(piece), -kMaxSeconds, kMaxSeconds);
        if (colon == std::string_view::npos)
            return total;
        start = colon + 1;
    }
}

int JumpToTimeTarget(std::string_view text, int demoLength, int frameTimeMs)
{
    const long long frameTime = std::max(frameTimeMs, 1);
    const long long before = (ParseJumpTime(text) + 1) * 1000 / frameTime;
    return int(std::clamp<long long>(demoLength - before, INT32_MIN, INT32_MAX));
}

std::vector<DemoMarkerLine> FutureMarkerLines(const std::list<std::pair<std::string, int>>& markers,
                                              int updateCount, int demoLength, int frameTimeMs)
{
    std::vector<DemoMarkerLine> lines;
    for (const auto& [name, update] : markers)
    {
        if (update <= updateCount)
            continue;
        const long long left = std::max(0LL, (static_cast<long long>(demoLength) - update) * frameTimeMs / 1000);
        char time[48];
        std::snprintf(time, sizeof(time), " (%02lld:%02lld:%02lld)", left / 3600, left / 60 % 60, left % 60);
        lines.push_back({name + time, update});
    }
    return lines;
}
} // namespace Quoll
