#pragma once
// Integer and double rectangles; the right and bottom edges (x + width, y + height) are exclusive.
#include <algorithm>

namespace Quoll
{
template <typename T> struct BasicRect
{
    T x = 0;
    T y = 0;
    T width = 0;
    T height = 0;

    BasicRect() = default;
    BasicRect(T left, T top, T w, T h) : x(left), y(top), width(w), height(h) {}

    // The common part; a zero width or height is kept with its position, a negative one
    // gives the empty rectangle at the origin.
    [[nodiscard]] BasicRect Intersection(const BasicRect& other) const
    {
        T left = std::max(x, other.x);
        T top = std::max(y, other.y);
        T w = std::min(x + width, other.x + other.width) - left;
        T h = std::min(y + height, other.y + other.height) - top;
        if (w < 0 || h < 0)
            return BasicRect();
        return BasicRect(left, top, w, h);
    }

    bool operator==(const BasicRect& other) const = default;
};

using Rect = BasicRect<int>;
using FRect = BasicRect<double>;
} // namespace Quoll
