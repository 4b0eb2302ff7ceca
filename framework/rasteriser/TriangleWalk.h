#pragma once
// The one triangle walk shared by every drawing variant, in 16.16 fixed point. The vertices are
// ordered by y, the edges stepped with slopes from 64-bit reciprocals, the triangle cut at the
// middle vertex, and each scan line filled between two edges: a pixel at column c of scan line y
// is drawn when top <= y < bottom and left <= c < right (sample points at whole coordinates).
// Attributes are carried along the long edge and across the span by gradients computed once per
// triangle; each span's start values are recomputed from the long edge.
//
// A Kernel supplies: Pixel (the destination word), kAttributes, Load(vertex, attrs) giving a
// vertex's attributes, kColorAttributes (the leading attributes that are colours, clamped to
// 0..255.99 before use) and Draw<kInRange>(pixel, attrs) for one covered pixel, where kInRange
// says that the colours need no clamping.
#include "framework/rasteriser/FixedPoint.h"
#include "framework/rasteriser/TriangleRecords.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace Quoll
{
template <class Kernel> class TriangleWalk
{
public:
    static constexpr int N = Kernel::kAttributes;
    using Pixel = typename Kernel::Pixel;

    TriangleWalk(const Kernel& kernel, uint8_t* dstPixels, int32_t pitch)
        : mKernel(kernel), mDst(dstPixels),
          // Rows are addressed with the pitch rounded down to a whole number of pixels.
          mRowStep(static_cast<int32_t>(static_cast<uint32_t>(pitch) &
                                        ~static_cast<uint32_t>(sizeof(Pixel) - 1)))
    {
    }

    [[gnu::always_inline]] void Draw(const FixedVertex* vertices)
    {
        // Order pointers to the records by y; equal ys keep the given order.
        const FixedVertex* t = &vertices[0];
        const FixedVertex* m = &vertices[1];
        const FixedVertex* b = &vertices[2];
        if (t->y > m->y)
            std::swap(t, m);
        if (m->y > b->y)
            std::swap(m, b);
        if (t->y > m->y)
            std::swap(t, m);

        // Scan lines yT..yM-1 form the upper half, yM..yB-1 the lower.
        const int32_t yT = FixedCeil(t->y);
        const int32_t yM = FixedCeil(m->y);
        const int32_t yB = FixedCeil(b->y);
        if (yT == yB)
            return;
        int32_t at[N], am[N], ab[N];
        mKernel.Load(*t, at);
        mKernel.Load(*m, am);
        mKernel.Load(*b, ab);

        // The long edge, top to bottom.
        const int64_t rl = FixedReciprocal(int64_t{b->y} - t->y);
        mSlopeL = FixedMulShift(int64_t{b->x} - t->x, rl, 32);
        for (int i = 0; i < N; ++i)
            mGradL[i] = FixedMulShift(int64_t{ab[i]} - at[i], rl, 32);

        // Where the long edge passes the middle vertex; on it, the triangle is a line.
        const int64_t dyM = int64_t{m->y} - t->y;
        const int32_t xLM = FixedAdd(t->x, FixedMulShift(mSlopeL, dyM, 16));
        if (m->x == xLM)
            return;
        // The long edge is the right edge of every span when it passes right of the middle.
        mLongRight = xLM > m->x;

        // Step the long edge and its attributes to the first scan line.
        const int64_t prestep = int64_t{yT} * kFixedOne - t->y;
        mXL = FixedAdd(t->x, FixedMulShift(mSlopeL, prestep, 16));
        for (int i = 0; i < N; ++i)
            mKL[i] = FixedAdd(at[i], FixedMulShift(mGradL[i], prestep, 16));

        // Horizontal gradients, measured across the triangle at the middle vertex.
        const int64_t rw = FixedReciprocal(int64_t{m->x} - xLM);
        for (int i = 0; i < N; ++i)
        {
            const int64_t across = int64_t{am[i]} - FixedMulShift(mGradL[i], dyM, 16) - at[i];
            mGradH[i] = FixedMulShift(across, rw, 32);
        }

        // Spans never leave the triangle's x extent, however steep a rounded slope may be.
        mMinX = FixedCeil(std::min({t->x, m->x, b->x}));
        mMaxX = FixedCeil(std::max({t->x, m->x, b->x}));

        // Upper half, against the short edge from the top to the middle vertex.
        int32_t y = yT;
        if (yM != yT)
        {
            const int32_t slopeU = FixedMulShift(int64_t{m->x} - t->x, FixedReciprocal(dyM), 32);
            const int32_t xS = FixedAdd(t->x, FixedMulShift(slopeU, prestep, 16));
            y = Half(y, yM, xS, slopeU);
        }
        // Lower half; the long edge carries on from where the upper half left it.
        if (yB != yM)
        {
            const int64_t rb = FixedReciprocal(int64_t{b->y} - m->y);
            const int32_t slopeB = FixedMulShift(int64_t{b->x} - m->x, rb, 32);
            const int32_t xS =
                FixedAdd(m->x, FixedMulShift(int64_t{yM} * kFixedOne - m->y, slopeB, 16));
            Half(y, yB, xS, slopeB);
        }
    }

private:
    // The walk's state a half steps, held in locals: pixel stores could alias the members, which
    // would otherwise be reloaded for every scan line.
    struct Edges
    {
        int32_t xL;
        int32_t kL[N];
    };

    [[gnu::always_inline]] int32_t Half(int32_t y, int32_t yEnd, int32_t xS, int32_t slopeS)
    {
        Edges edges;
        edges.xL = mXL;
        int32_t gradL[N], gradH[N];
        for (int i = 0; i < N; ++i)
        {
            edges.kL[i] = mKL[i];
            gradL[i] = mGradL[i];
            gradH[i] = mGradH[i];
        }
        const int32_t slopeL = mSlopeL, minX = mMinX, maxX = mMaxX, rowStep = mRowStep;
        const bool longRight = mLongRight;
        uint8_t* const dst = mDst;
        const Kernel kernel = mKernel;
        for (; y < yEnd; ++y)
        {
            Span(kernel, dst + static_cast<ptrdiff_t>(y) * rowStep, xS, edges, gradH, longRight, minX, maxX);
            edges.xL = FixedAdd(edges.xL, slopeL);
            xS = FixedAdd(xS, slopeS);
            for (int i = 0; i < N; ++i)
                edges.kL[i] = FixedAdd(edges.kL[i], gradL[i]);
        }
        mXL = edges.xL;
        for (int i = 0; i < N; ++i)
            mKL[i] = edges.kL[i];
        return y;
    }

    // One scan line: pixels ceil(left) to ceil(right) - 1, attributes extrapolated from the
    // long edge's exact position.
    [[gnu::always_inline]] static void Span(const Kernel& kernel, uint8_t* row, int32_t xS, const Edges& edges,
                                            const int32_t* gradH, bool longRight, int32_t minX, int32_t maxX)
    {
        const int32_t left = longRight ? xS : edges.xL;
        const int32_t right = longRight ? edges.xL : xS;
        const int32_t first = std::max(FixedCeil(left), minX);
        const int32_t end = std::min(FixedCeil(right), maxX);
        if (end <= first)
            return;
        int32_t k[N];
        int32_t grad[N];
        const int64_t dx = int64_t{first} * kFixedOne - edges.xL;
        for (int i = 0; i < N; ++i)
        {
            grad[i] = gradH[i];
            k[i] = FixedAdd(edges.kL[i], FixedMulShift(grad[i], dx, 16));
        }
        Pixel* pixel = reinterpret_cast<Pixel*>(row) + first;
        // Colours that stay within 0..255.99 over the whole span need no clamping per pixel.
        const int32_t count = end - first;
        if (ColorsInRange(k, grad, count))
            Fill<true>(kernel, pixel, count, k, grad);
        else
            Fill<false>(kernel, pixel, count, k, grad);
    }

    static bool ColorsInRange(const int32_t* k, const int32_t* grad, int32_t count)
    {
        bool inRange = true;
        for (int i = 0; i < Kernel::kColorAttributes; ++i)
        {
            const int64_t last = k[i] + int64_t{grad[i]} * (count - 1);
            inRange &= k[i] >= 0 && k[i] <= kMaxColor && last >= 0 && last <= kMaxColor;
        }
        return inRange;
    }

    template <bool kInRange>
    static void Fill(const Kernel& kernel, Pixel* pixel, int32_t count, int32_t* k, const int32_t* grad)
    {
        for (; count > 0; --count, ++pixel)
        {
            kernel.template Draw<kInRange>(pixel, k);
            for (int i = 0; i < N; ++i)
                k[i] = FixedAdd(k[i], grad[i]);
        }
    }

    static constexpr int64_t kMaxColor = 0x00FFFFFF;

    const Kernel& mKernel;
    uint8_t* mDst;
    int32_t mRowStep;
    bool mLongRight = false;
    int32_t mSlopeL = 0;
    int32_t mXL = 0;
    int32_t mMinX = 0;
    int32_t mMaxX = 0;
    int32_t mGradL[N] = {};
    int32_t mGradH[N] = {};
    int32_t mKL[N] = {};
};

// The TriangleSpanFunc of one kernel type.
template <class Kernel>
void DrawTriangle(const FixedVertex* vertices, uint8_t* dstPixels, int32_t pitch,
                  const TriangleTexture* texture, const TriangleColor* color)
{
    const Kernel kernel(texture, *color);
    TriangleWalk<Kernel>(kernel, dstPixels, pitch).Draw(vertices);
}
} // namespace Quoll
