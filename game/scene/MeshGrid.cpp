#include "game/scene/MeshGrid.h"

#include "framework/display/Graphics.h"
#include "framework/display/Matrix3.h"

#include <cassert>

MeshGrid::MeshGrid(int rows, int columns)
    : mTriangles(static_cast<size_t>(2 * rows * columns)), mVertices(static_cast<size_t>(rows * columns)),
      mRows(rows), mColumns(columns)
{
    assert(rows >= 2 && columns >= 2 && rows <= kMaxSide && columns <= kMaxSide &&
           "MeshGrid: 2 to kMaxSide rows and columns");
    for (Quoll::TriVertex& vertex : mVertices)
        vertex = {0.0f, 0.0f, 0.0f, 0.0f, kNeutralGrey};
}

void MeshGrid::SetImage(Quoll::Image* image)
{
    if (image == nullptr)
        return;
    mImage = image;
    SetSize(image->GetWidth(), image->GetHeight());
}

void MeshGrid::SetSize(int width, int height)
{
    mWidth = width;
    mHeight = height;
    mStepX = static_cast<float>(width) / static_cast<float>(mColumns - 1);
    mStepY = static_cast<float>(height) / static_cast<float>(mRows - 1);
    for (int r = 0; r < mRows; ++r)
        for (int c = 0; c < mColumns; ++c)
        {
            Quoll::TriVertex& vertex = At(r, c);
            vertex.x = RestX(c);
            vertex.y = RestY(r);
            // The texture spans the grid from 0 to 1; an empty extent has no length to divide by,
            // so the grid position alone gives the texture position.
            vertex.u = width != 0 ? vertex.x / static_cast<float>(width)
                                  : static_cast<float>(c) / static_cast<float>(mColumns - 1);
            vertex.v = height != 0 ? vertex.y / static_cast<float>(height)
                                   : static_cast<float>(r) / static_cast<float>(mRows - 1);
        }
}

void MeshGrid::ResetVertices(const Quoll::Color& color)
{
    const uint32_t packed = color.ToInt();
    for (int r = 0; r < mRows; ++r)
        for (int c = 0; c < mColumns; ++c)
        {
            Quoll::TriVertex& vertex = At(r, c);
            vertex.x = RestX(c);
            vertex.y = RestY(r);
            vertex.color = packed;
        }
}

void MeshGrid::SetColour(const Quoll::Color& color)
{
    const uint32_t packed = color.ToInt();
    for (Quoll::TriVertex& vertex : mVertices)
        vertex.color = packed;
}

void MeshGrid::SetVertexOffset(int column, int row, float dx, float dy)
{
    if (row >= mRows || column >= mColumns)
        return;
    assert(row >= 0 && column >= 0 && "MeshGrid: negative vertex index");
    Quoll::TriVertex& vertex = At(row, column);
    vertex.x = RestX(column) + dx;
    vertex.y = RestY(row) + dy;
}

void MeshGrid::BuildTriangles(float x, float y)
{
    // The rotation turns the grid about the centre of its rest rectangle; the scale then works
    // about the top-left point. Without either, positions are only offset.
    Quoll::Matrix3 m;
    bool transformed = false;
    if (mRotation != 0.0f)
    {
        const float cx = x + static_cast<float>(mWidth / 2);
        const float cy = y + static_cast<float>(mHeight / 2);
        m.Translate(-cx, -cy);
        m.Rotate(mRotation);
        m.Translate(cx, cy);
        transformed = true;
    }
    if (mScaleX != 1.0f || mScaleY != 1.0f)
    {
        m.Translate(-x, -y);
        m.Scale(mScaleX, mScaleY);
        m.Translate(x, y);
        transformed = true;
    }
    auto place = [&](const Quoll::TriVertex& vertex) {
        Quoll::TriVertex placed = vertex;
        placed.x = vertex.x + x;
        placed.y = vertex.y + y;
        if (transformed)
        {
            const Quoll::FPoint p = m.TransformPoint(placed.x, placed.y);
            placed.x = p.x;
            placed.y = p.y;
        }
        return placed;
    };
    size_t n = 0;
    for (int r = 0; r + 1 < mRows; ++r)
        for (int c = 0; c + 1 < mColumns; ++c)
        {
            const Quoll::TriVertex a = place(At(r, c)), b = place(At(r, c + 1));
            const Quoll::TriVertex cc = place(At(r + 1, c)), d = place(At(r + 1, c + 1));
            Quoll::TriangleVertices& first = mTriangles[n++];
            first[0] = a, first[1] = b, first[2] = cc;
            Quoll::TriangleVertices& second = mTriangles[n++];
            second[0] = cc, second[1] = b, second[2] = d;
        }
}

void MeshGrid::Draw(Quoll::Graphics* g, float x, float y)
{
    if (mImage == nullptr)
        return;
    BuildTriangles(x, y);
    const int count = GetTriangleCount();
    // Normal pass at the vertices' brightness, then the additive pass adds the rest.
    g->DrawTrianglesTex(mImage, mTriangles.data(), count);
    g->SetImageTint(true);
    g->SetDrawMode(Quoll::DrawMode::Additive);
    g->DrawTrianglesTex(mImage, mTriangles.data(), count);
    g->SetDrawMode(Quoll::DrawMode::Normal);
    g->SetImageTint(false);
}
