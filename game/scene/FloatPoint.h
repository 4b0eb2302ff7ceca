#pragma once
// A point of two floats: node positions, world positions and interpolation.

struct FloatPoint
{
    float x = 0;
    float y = 0;

    bool operator==(const FloatPoint& other) const = default;
};
