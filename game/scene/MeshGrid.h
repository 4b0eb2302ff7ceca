#pragma once
// MeshGrid: an image stretched over a grid of vertices that affectors bend. The grid draws the
// image as textured triangles twice, first normally and then added on top with the image tint on,
// so that a vertex colour of grey 128 is the image's own brightness, grey 255 about twice that,
// and the vertex alpha fades the picture.
#include "framework/display/Color.h"
#include "framework/display/Image.h"

#include <cstdint>
#include <vector>

namespace Quoll
{
class Graphics;
}

class MeshGrid
{
public:
    // Largest vertex count a side may have (bounds what description files can ask for).
    static constexpr int kMaxSide = 64;
    // The colour every vertex starts with and the neutral brightness of the double draw.
    static constexpr uint32_t kNeutralGrey = 0xFF808080;

    // At least 2 rows and 2 columns, at most kMaxSide each (asserted).
    MeshGrid(int rows, int columns);
    MeshGrid(const MeshGrid&) = delete;
    MeshGrid& operator=(const MeshGrid&) = delete;

    // Nothing for a null image; else takes it (not owned) and sizes the grid to it.
    void SetImage(Quoll::Image* image);
    // Stores the extent and puts every vertex at its rest place, the texture spanning 0..1. A
    // zero width (height) takes u (v) from the column (row) alone.
    void SetSize(int width, int height);
    // Every vertex back to its rest place with the colour; u and v unchanged.
    void ResetVertices(const Quoll::Color& color);
    // Every vertex's colour.
    void SetColour(const Quoll::Color& color);
    // Puts vertex (column, row) at its rest place plus (dx, dy); nothing outside the grid.
    void SetVertexOffset(int column, int row, float dx, float dy);
    // Draws the image over the grid with the top-left of its rest rectangle at (x, y), turned
    // about the rectangle's centre by the rotation, then scaled about (x, y).
    void Draw(Quoll::Graphics* g, float x, float y);

    [[nodiscard]] const Quoll::TriVertex& Vertex(int row, int column) const
    {
        return mVertices[static_cast<size_t>(row * mColumns + column)];
    }
    [[nodiscard]] Quoll::Image* GetImage() const { return mImage; }
    [[nodiscard]] int GetRows() const { return mRows; }
    [[nodiscard]] int GetColumns() const { return mColumns; }
    [[nodiscard]] int GetWidth() const { return mWidth; }
    [[nodiscard]] int GetHeight() const { return mHeight; }
    [[nodiscard]] float GetStepX() const { return mStepX; }
    [[nodiscard]] float GetStepY() const { return mStepY; }
    // The triangles of the last draw: 2 * (rows - 1) * (columns - 1) of them.
    [[nodiscard]] int GetTriangleCount() const { return 2 * (mRows - 1) * (mColumns - 1); }
    [[nodiscard]] const Quoll::TriangleVertices* GetTriangles() const { return mTriangles.data(); }

    // Radians, about the centre of the rest rectangle; copied from the owning node every update.
    float mRotation = 0.0f;
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;

private:
    [[nodiscard]] Quoll::TriVertex& At(int row, int column)
    {
        return mVertices[static_cast<size_t>(row * mColumns + column)];
    }
    [[nodiscard]] float RestX(int column) const { return static_cast<float>(column) * mStepX; }
    [[nodiscard]] float RestY(int row) const { return static_cast<float>(row) * mStepY; }
    void BuildTriangles(float x, float y);

    std::vector<Quoll::TriangleVertices> mTriangles;
    std::vector<Quoll::TriVertex> mVertices;
    Quoll::Image* mImage = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    int mRows;
    int mColumns;
    float mStepX = 0.0f;
    float mStepY = 0.0f;
};
