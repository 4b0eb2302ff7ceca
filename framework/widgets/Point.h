#pragma once
// An integer point, as widgets report their absolute positions.
namespace Quoll
{
struct Point
{
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};
} // namespace Quoll
