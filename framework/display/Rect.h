#pragma once
// Integer and double rectangles; the right and bottom edges (x + width, y + height) are exclusive.
#include <algorithm>

namespace Quoll
{
namespace RectDetail
{
// The common part; a zero width or height is kept with its position, a negative one gives the
// empty rectangle at the origin.
template <typename R> R Intersect(const R& a, const R& b)
{
    auto left = std::max(a.x, b.x);
    auto top = std::max(a.y, b.y);
    auto w = std::min(a.x + a.width, b.x + b.width) - left;
    auto h = std::min(a.y + a.height, b.y + b.height) - top;
    if (w < 0 || h < 0)
        return R();
    return R(left, top, w, h);
}
} // namespace RectDetail

struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    Rect() = default;
    Rect(int left, int top, int w, int h) : x(left), y(top), width(w), height(h) {}

    [[nodiscard]] Rect Intersection(const Rect& other) const { return RectDetail::Intersect(*this, other); }
    bool operator==(const Rect& other) const = default;
};

struct FRect
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    FRect() = default;
    FRect(double left, double top, double w, double h) : x(left), y(top), width(w), height(h) {}

    [[nodiscard]] FRect Intersection(const FRect& other) const { return RectDetail::Intersect(*this, other); }
    bool operator==(const FRect& other) const = default;
};
} // namespace Quoll
