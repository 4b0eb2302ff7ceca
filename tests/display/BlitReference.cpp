#include "BlitReference.h"

#include <algorithm>
#include <cmath>

namespace Quoll::Testing
{
namespace
{
uint32_t Ch(uint32_t p, int shift)
{
    return (p >> shift) & 0xFF;
}

uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}

uint32_t Clamp(int v)
{
    return static_cast<uint32_t>(std::clamp(v, 0, 255));
}

const int kShifts[3] = {16, 8, 0};

// The fill blend of colour c with effective alpha ea.
uint32_t FillBlend(uint32_t d, uint32_t c, uint32_t ea)
{
    if (ea == 0)
        return d;
    if (ea >= 255)
        return (c & 0xFFFFFF) | 0xFF000000;
    const uint32_t da = d >> 24;
    const uint32_t newA = (255 - da) * ea / 255 + da;
    const uint32_t w = ea * 255 / newA;
    uint32_t out[3];
    for (int k = 0; k < 3; ++k)
        out[k] = (Ch(d, kShifts[k]) * (256 - w) + Ch(c, kShifts[k]) * w) >> 8;
    return Pack(newA, out[0], out[1], out[2]);
}

// The tinted blit blend.
uint32_t TintBlend(uint32_t d, uint32_t s, const Color& color)
{
    const uint32_t t[3] = {Clamp(color.r), Clamp(color.g), Clamp(color.b)};
    const uint32_t ta = Clamp(color.a);
    const uint32_t ea = (s >> 24) * ta / 255;
    if (ea == 0)
        return d;
    const uint32_t da = d >> 24;
    const uint32_t newA = (255 - da) * ea / 255 + da;
    const uint32_t w = ea * 255 / newA;
    const bool gray = t[0] == t[1] && t[1] == t[2];
    uint32_t out[3];
    for (int k = 0; k < 3; ++k)
    {
        const uint32_t sc = Ch(s, kShifts[k]);
        const uint32_t term = gray ? ((sc * t[0] >> 8) * w >> 8) : (sc * w * t[k] >> 16);
        out[k] = (Ch(d, kShifts[k]) * (256 - w) >> 8) + term;
    }
    return Pack(newA, out[0], out[1], out[2]);
}

uint32_t PlainBlend(uint32_t d, uint32_t s)
{
    const uint32_t ea = s >> 24;
    const uint32_t da = d >> 24;
    const uint32_t newA = (255 - da) * ea / 255 + da;
    const uint32_t w = ea * 255 / newA;
    uint32_t out[3];
    for (int k = 0; k < 3; ++k)
        out[k] = (Ch(d, kShifts[k]) * (256 - w) >> 8) + (Ch(s, kShifts[k]) * w >> 8);
    return Pack(newA, out[0], out[1], out[2]);
}

void ScanFlags(const Canvas& c, bool& hasTrans, bool& hasAlpha)
{
    hasTrans = hasAlpha = false;
    for (uint32_t p : c.pixels)
    {
        hasTrans = hasTrans || (p >> 24) == 0;
        hasAlpha = hasAlpha || ((p >> 24) != 0 && (p >> 24) != 255);
    }
}
} // namespace

uint32_t RandomPixel(MersenneTwister& rng, bool opaque)
{
    auto biased = [&] {
        const uint32_t pick = rng.Next(4);
        return pick == 0 ? 0u : pick == 1 ? 255u : rng.Next(256);
    };
    const uint32_t a = opaque ? 255 : biased();
    return Pack(a, biased(), biased(), biased());
}

std::vector<uint32_t> RandomPixels(MersenneTwister& rng, int count, int colours, bool opaque)
{
    std::vector<uint32_t> palette;
    for (int i = 0; i < colours; ++i)
        palette.push_back(RandomPixel(rng, opaque));
    std::vector<uint32_t> pixels(static_cast<size_t>(count));
    for (uint32_t& p : pixels)
        p = colours > 0 ? palette[rng.Next(static_cast<uint32_t>(colours))] : RandomPixel(rng, opaque);
    // Runs of equal alpha, as sprites have.
    for (size_t i = 1; i < pixels.size(); ++i)
        if (rng.Next(3) == 0)
            pixels[i] = pixels[i - 1];
    return pixels;
}

Color RandomTint(MersenneTwister& rng)
{
    switch (rng.Next(4))
    {
    case 0:
        return Color::White;
    case 1: {
        const int v = static_cast<int>(rng.Next(256));
        return Color(v, v, v, static_cast<int>(rng.Next(256)));
    }
    default:
        return Color(static_cast<int>(rng.Next(256)), static_cast<int>(rng.Next(256)), static_cast<int>(rng.Next(256)),
                     static_cast<int>(rng.Next(256)));
    }
}

Rect RandomRect(MersenneTwister& rng, int width, int height, int margin)
{
    const int x = static_cast<int>(rng.Next(static_cast<uint32_t>(width + 2 * margin))) - margin;
    const int y = static_cast<int>(rng.Next(static_cast<uint32_t>(height + 2 * margin))) - margin;
    return Rect(x, y, static_cast<int>(rng.Next(static_cast<uint32_t>(width + margin))) + 1,
                static_cast<int>(rng.Next(static_cast<uint32_t>(height + margin))) + 1);
}

Canvas Canvas::Of(MemoryImage& image)
{
    Canvas c;
    c.width = image.mWidth;
    c.height = image.mHeight;
    image.CommitBits();
    c.hasTrans = image.mHasTrans;
    c.hasAlpha = image.mHasAlpha;
    // Read through a copy so palettized sources stay as they are.
    MemoryImage copy(image);
    const uint32_t* bits = copy.GetBits();
    c.pixels.assign(bits, bits + static_cast<size_t>(c.width * c.height));
    return c;
}

void ReferenceBlt(Canvas& dst, const Canvas& src, int x, int y, const Rect& srcRect, const Color& color,
                  DrawMode mode, bool mirror)
{
    const bool white = color == Color::White;
    bool srcTrans = false, srcAlpha = false;
    ScanFlags(src, srcTrans, srcAlpha);
    const uint32_t ta = Clamp(color.a);
    const uint32_t t[3] = {Clamp(color.r) * ta / 255, Clamp(color.g) * ta / 255, Clamp(color.b) * ta / 255};
    for (int sy = srcRect.y; sy < srcRect.y + srcRect.height; ++sy)
        for (int sx = srcRect.x; sx < srcRect.x + srcRect.width; ++sx)
        {
            const int dx = mirror ? x + (srcRect.x + srcRect.width - 1 - sx) : x + (sx - srcRect.x);
            const int dy = y + (sy - srcRect.y);
            if (!src.Inside(sx, sy) || !dst.Inside(dx, dy))
                continue;
            uint32_t& d = dst.pixels[static_cast<size_t>(dy * dst.width + dx)];
            const uint32_t s = src.At(sx, sy);
            const uint32_t sa = s >> 24;
            if (mode == DrawMode::Additive)
            {
                if (srcTrans && sa == 0)
                    continue;
                uint32_t out[3];
                for (int k = 0; k < 3; ++k)
                {
                    uint32_t add = white ? Ch(s, kShifts[k]) : Ch(s, kShifts[k]) * t[k] >> 8;
                    if (srcAlpha)
                        add = add * sa >> 8;
                    out[k] = std::min<uint32_t>(Ch(d, kShifts[k]) + add, 255);
                }
                d = Pack(d >> 24, out[0], out[1], out[2]);
            }
            else if (!white)
            {
                d = TintBlend(d, s, color);
            }
            else if (!dst.hasAlpha && !dst.hasTrans)
            {
                if (sa == 255)
                    d = s;
                else if (sa != 0)
                {
                    uint32_t out[3];
                    for (int k = 0; k < 3; ++k)
                        out[k] = (Ch(d, kShifts[k]) * (256 - sa) >> 8) + (Ch(s, kShifts[k]) * sa >> 8);
                    d = Pack(255, out[0], out[1], out[2]);
                }
            }
            else if (sa != 0)
            {
                d = PlainBlend(d, s);
            }
        }
}

void ReferenceRotated(Canvas& dst, const Canvas& src, float x, float y, const Rect& srcRect, const Rect& clip,
                      const Color& color, DrawMode mode, double angle, float cx, float cy)
{
    // The source rect cut to the source, keeping the placement.
    const Rect sr = srcRect.Intersection(Rect(0, 0, src.width, src.height));
    x += static_cast<float>(sr.x - srcRect.x);
    y += static_cast<float>(sr.y - srcRect.y);
    cx -= static_cast<float>(sr.x - srcRect.x);
    cy -= static_cast<float>(sr.y - srcRect.y);
    FRect bounds;
    if (sr.width < 2 || sr.height < 2 ||
        !MemoryImage::GetRotatedBounds(sr, clip.Intersection(Rect(0, 0, dst.width, dst.height)), bounds, x, y, cx,
                                       cy, angle))
        return;
    const double c = std::cos(angle), s = std::sin(angle);
    const auto du = static_cast<int64_t>(c * 65536), dv = static_cast<int64_t>(s * 65536);
    const int top = static_cast<int>(bounds.y), left = static_cast<int>(bounds.x);
    const int rows = static_cast<int>(bounds.height - 1) + 1, columns = static_cast<int>(bounds.width - 1) + 1;
    const bool white = color == Color::White;
    const uint32_t tint[3] = {Clamp(color.r), Clamp(color.g), Clamp(color.b)};
    const uint32_t ta = Clamp(color.a);
    const int64_t W = static_cast<int64_t>(sr.width) << 16, H = static_cast<int64_t>(sr.height) << 16;
    for (int j = 0; j < rows; ++j)
    {
        const int py = top + j;
        const double ddx = left - x - cx, ddy = py - y - cy;
        const auto u0 = static_cast<int64_t>((ddx * c - ddy * s + cx) * 65536);
        const auto v0 = static_cast<int64_t>((ddx * s + ddy * c + cy) * 65536);
        // The row's solved range.
        int64_t first = 0, last = columns - 1;
        bool skip = false;
        if (du > 0)
        {
            skip |= (u0 >> 16) >= sr.width - 1;
            if (!skip)
                first = std::max(first, (0x10000 - u0) / du), last = std::min(last, (W - u0 - 0x17fff) / du);
        }
        else if (du < 0)
        {
            skip |= (u0 >> 16) < 0;
            if (!skip)
                first = std::max(first, (W - u0 - 0x27fff) / du), last = std::min(last, (32767 - u0) / du);
        }
        else
            skip |= !(u0 >= 0 && u0 < W - 0x10000);
        if (dv > 0)
        {
            skip |= (v0 >> 16) >= sr.height - 1;
            if (!skip)
                first = std::max(first, (0x10000 - v0) / dv), last = std::min(last, (H - v0 - 0x17fff) / dv);
        }
        else if (dv < 0)
        {
            skip |= (v0 >> 16) < 0;
            if (!skip)
                first = std::max(first, (H - v0 - 0x27fff) / dv), last = std::min(last, -(v0 / dv));
        }
        else
            skip |= !(v0 >= 0 && v0 < H - 0x10000);
        if (skip)
            continue;
        for (int64_t i = first; i <= last; ++i)
        {
            const int64_t u = u0 + i * du, v = v0 + i * dv;
            const int px = left + static_cast<int>(i);
            if (u < 0 || v < 0 || (u >> 16) > sr.width - 2 || (v >> 16) > sr.height - 2 || !dst.Inside(px, py))
                continue;
            const int sx = sr.x + static_cast<int>(u >> 16), sy = sr.y + static_cast<int>(v >> 16);
            const uint32_t fu = static_cast<uint32_t>(u & 0xFFFE) + 1, fv = static_cast<uint32_t>(v & 0xFFFE) + 1;
            const uint32_t p[4] = {src.At(sx, sy), src.At(sx + 1, sy), src.At(sx, sy + 1), src.At(sx + 1, sy + 1)};
            const uint32_t area[4] = {((0x10000 - fu) * (0x10000 - fv)) >> 16, (fu * (0x10000 - fv)) >> 16,
                                      ((0x10000 - fu) * fv) >> 16, (fu * fv) >> 16};
            const bool scaleWeights = mode == DrawMode::Normal && !white;
            uint32_t weight = 0, sum[3] = {0, 0, 0};
            for (int k = 0; k < 4; ++k)
            {
                uint32_t w = area[k] * (p[k] >> 24) >> 16;
                if (scaleWeights)
                    w = w * ta >> 8;
                weight += w;
                for (int ch = 0; ch < 3; ++ch)
                    sum[ch] += Ch(p[k], kShifts[ch]) * w;
            }
            if (weight == 0)
                continue;
            uint32_t& d = dst.pixels[static_cast<size_t>(py * dst.width + px)];
            uint32_t out[3];
            if (mode != DrawMode::Normal)
            {
                for (int ch = 0; ch < 3; ++ch)
                {
                    uint32_t add = sum[ch] >> 8;
                    if (!white)
                        add = add * (tint[ch] * ta / 255) >> 8;
                    out[ch] = std::min<uint32_t>(Ch(d, kShifts[ch]) + std::min(add, 255u), 255);
                }
                d = Pack(d >> 24, out[0], out[1], out[2]);
                continue;
            }
            if (scaleWeights)
                for (int ch = 0; ch < 3; ++ch)
                    sum[ch] = sum[ch] * tint[ch] >> 8;
            if (weight >= 251)
            {
                for (int ch = 0; ch < 3; ++ch)
                    out[ch] = std::min<uint32_t>(sum[ch] >> 8, 255);
                d = Pack(255, out[0], out[1], out[2]);
                continue;
            }
            const uint32_t da = d >> 24, k = 256 - weight;
            const uint32_t A = 256 - ((256 - da) * k >> 8);
            for (int ch = 0; ch < 3; ++ch)
                out[ch] = std::min<uint32_t>(((Ch(d, kShifts[ch]) * da >> 8) * k + sum[ch]) / A, 255);
            d = Pack(A - 1, out[0], out[1], out[2]);
        }
    }
}

void ReferenceNearestStretch(Canvas& dst, const Canvas& src, const Rect& destRect, const Rect& srcRect,
                             const Rect& clip, const Color& color, bool mirror)
{
    if (destRect.width <= 0 || destRect.height <= 0 || srcRect.width <= 0 || srcRect.height <= 0)
        return;
    const Rect clipped = destRect.Intersection(clip.Intersection(Rect(0, 0, dst.width, dst.height)));
    if (clipped.width <= 0 || clipped.height <= 0)
        return;
    const double sx = static_cast<double>(srcRect.width) / destRect.width;
    const double sy = static_cast<double>(srcRect.height) / destRect.height;
    const double x0 = mirror ? (destRect.x + destRect.width - clipped.x - clipped.width) * sx + srcRect.x
                             : (clipped.x - destRect.x) * sx + srcRect.x;
    const double y0 = (clipped.y - destRect.y) * sy + srcRect.y;
    for (int j = 0; j < clipped.height; ++j)
        for (int k = 0; k < clipped.width; ++k)
        {
            const int px = std::clamp(static_cast<int>(x0 + k * sx), 0, src.width - 1);
            const int py = std::clamp(static_cast<int>(y0 + j * sy), 0, src.height - 1);
            const int dx = mirror ? clipped.x + clipped.width - 1 - k : clipped.x + k;
            uint32_t& d = dst.pixels[static_cast<size_t>((clipped.y + j) * dst.width + dx)];
            const uint32_t s = src.At(px, py);
            d = color == Color::White ? FillBlend(d, s, s >> 24) : TintBlend(d, s, color);
        }
}

namespace
{
// Weight (out of 257) of source index c in destination index j along one axis.
uint32_t AxisWeight(int c, int j, double pos, double len, int dstLen, int lo, int hi)
{
    if (len >= dstLen)
    {
        const double k = dstLen / len;
        const double start = (c - pos) * k, end = start + k;
        const int column = static_cast<int>(std::floor(start));
        if (end <= column + 1)
            return j == column ? static_cast<uint32_t>(k * 257) : 0;
        if (j == column)
            return static_cast<uint32_t>((column + 1 - start) * 257);
        return j == column + 1 ? static_cast<uint32_t>((end - column - 1) * 257) : 0;
    }
    const double step = dstLen > 1 ? std::max(0.0, (len - 1) / (dstLen - 1)) : 0.0;
    const double p = dstLen > 1 ? pos + j * step : pos + len / 2 - 0.5;
    const int i0 = static_cast<int>(std::floor(p));
    const auto w = static_cast<uint32_t>((1 - (p - std::floor(p))) * 257);
    uint32_t total = 0;
    if (c == std::clamp(i0, lo, hi - 1))
        total += w;
    if (c == std::clamp(i0 + 1, lo, hi - 1))
        total += 257 - w;
    return total;
}
} // namespace

void ReferenceFilteredStretch(Canvas& dst, const Canvas& src, const Rect& destRect, const Rect& srcRect,
                              const Rect& clip, const Color& color)
{
    // The tint scales each filtered channel, alpha too, out of 255; white leaves them.
    const uint32_t tint[4] = {Clamp(color.b), Clamp(color.g), Clamp(color.r), Clamp(color.a)};
    if (destRect.width <= 0 || destRect.height <= 0)
        return;
    const Rect clipped = destRect.Intersection(clip.Intersection(Rect(0, 0, dst.width, dst.height)));
    const double sx = static_cast<double>(srcRect.width) / destRect.width;
    const double sy = static_cast<double>(srcRect.height) / destRect.height;
    const double posX = (clipped.x - destRect.x) * sx + srcRect.x, posY = (clipped.y - destRect.y) * sy + srcRect.y;
    const double lenX = srcRect.width + (clipped.width - destRect.width) * sx;
    const double lenY = srcRect.height + (clipped.height - destRect.height) * sy;
    if (clipped.width <= 0 || clipped.height <= 0 || lenX <= 0 || lenY <= 0)
        return;
    const int x0 = std::max(0, static_cast<int>(std::floor(posX)));
    const int x1 = std::min(src.width, static_cast<int>(std::ceil(posX + lenX)));
    const int y0 = std::max(0, static_cast<int>(std::floor(posY)));
    const int y1 = std::min(src.height, static_cast<int>(std::ceil(posY + lenY)));
    for (int i = 0; i < clipped.height; ++i)
        for (int j = 0; j < clipped.width; ++j)
        {
            uint64_t sum[4] = {0, 0, 0, 0}; // b, g, r, a
            for (int r = y0; r < y1; ++r)
            {
                const uint32_t wy = AxisWeight(r, i, posY, lenY, clipped.height, y0, y1);
                if (wy == 0)
                    continue;
                for (int c = x0; c < x1; ++c)
                {
                    const uint64_t w = static_cast<uint64_t>(wy) * AxisWeight(c, j, posX, lenX, clipped.width, x0, x1);
                    const uint32_t p = src.At(c, r);
                    for (int k = 0; k < 4; ++k)
                        sum[k] += ((p >> (8 * k)) & 0xFF) * w;
                }
            }
            const auto a = static_cast<uint32_t>(std::min<uint64_t>(sum[3] >> 16, 255)) * tint[3] / 255;
            if (a == 0)
                continue;
            uint32_t& d = dst.pixels[static_cast<size_t>((clipped.y + i) * dst.width + clipped.x + j)];
            uint32_t out[3];
            for (int k = 0; k < 3; ++k)
            {
                const auto value = static_cast<uint32_t>(std::min<uint64_t>(sum[k] >> 16, 255)) * tint[k] / 255;
                out[k] = (value * a >> 8) + (((d >> (8 * k)) & 0xFF) * (256 - a) >> 8);
            }
            const uint32_t da = d >> 24;
            d = Pack((255 - da) * a / 255 + da, out[2], out[1], out[0]);
        }
}

void ReferenceCoverageFill(Canvas& dst, const ScanSpan* spans, int count, const Color& color,
                           const uint8_t* coverage, const Rect& cover)
{
    const uint32_t c = Pack(Clamp(color.a), Clamp(color.r), Clamp(color.g), Clamp(color.b));
    for (int s = 0; s < count; ++s)
        for (int i = 0; i < spans[s].width; ++i)
        {
            const int x = spans[s].x + i, y = spans[s].y;
            if (!dst.Inside(x, y) || x < cover.x || y < cover.y || x >= cover.x + cover.width ||
                y >= cover.y + cover.height)
                continue;
            const uint32_t byte = coverage[(y - cover.y) * cover.width + (x - cover.x)];
            uint32_t& d = dst.pixels[static_cast<size_t>(y * dst.width + x)];
            d = FillBlend(d, c, (c >> 24) * (byte + 1) >> 8);
        }
}

int FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return static_cast<int>(i);
    return a.size() == b.size() ? -1 : static_cast<int>(std::min(a.size(), b.size()));
}
} // namespace Quoll::Testing
