// Fuzz target for the triangle strip front end: arbitrary float vertices (including huge,
// non-finite and degenerate ones), clip rectangles, formats, flags and textures. Every pixel
// outside the clip rectangle and a canary margin around the destination must stay untouched.
#include "framework/display/Color.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Rect.h"
#include "framework/display/RasterView.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
// Reads values from the input; past its end every read gives zeros.
class InputReader
{
public:
    InputReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    void Read(void* out, size_t count)
    {
        std::memset(out, 0, count);
        const size_t n = mPos < mSize ? std::min(count, mSize - mPos) : 0;
        if (n)
            std::memcpy(out, mData + mPos, n);
        mPos += count;
    }
    template <class T> T Get()
    {
        T value;
        Read(&value, sizeof value);
        return value;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

class FuzzTexture : public Quoll::MemoryImage
{
public:
    FuzzTexture(int width, int height, InputReader& in) : mPixels(static_cast<size_t>(width * height))
    {
        mWidth = width;
        mHeight = height;
        for (auto& p : mPixels)
            p = in.Get<uint32_t>();
        mHasAlpha = (in.Get<uint8_t>() & 1) != 0;
    }
    void CommitBits() override {}
    uint32_t* GetBits() override { return mPixels.data(); }

private:
    std::vector<uint32_t> mPixels;
};

constexpr int32_t kFormats[4] = {0x8888, 0x888, 0x565, 0x555};
constexpr int kMargin = 4;
constexpr uint8_t kFill = 0xA5;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quoll::InitTriangleSpanTable();
    InputReader in(data, size);
    const uint8_t mode = in.Get<uint8_t>();
    const int32_t format = kFormats[mode & 3];
    const int bpp = (mode & 2) ? 2 : 4;
    const int width = 1 + in.Get<uint8_t>() % 48, height = 1 + in.Get<uint8_t>() % 48;
    const int cx = in.Get<uint8_t>() % width, cy = in.Get<uint8_t>() % height;
    const Quoll::Rect clip(cx, cy, in.Get<uint8_t>() % (width - cx + 1), in.Get<uint8_t>() % (height - cy + 1));
    const Quoll::Color color(in.Get<uint8_t>(), in.Get<uint8_t>(), in.Get<uint8_t>(), in.Get<uint8_t>());
    const int count = in.Get<uint8_t>() % 10;
    std::vector<Quoll::TriVertex> vertices(static_cast<size_t>(count));
    for (auto& v : vertices)
        v = Quoll::TriVertex{in.Get<float>(), in.Get<float>(), in.Get<float>(), in.Get<float>(), in.Get<uint32_t>()};
    std::unique_ptr<FuzzTexture> texture;
    if (mode & 16)
        texture = std::make_unique<FuzzTexture>(1 + in.Get<uint8_t>() % 6, 1 + in.Get<uint8_t>() % 6, in);

    const int pitch = (width + 2 * kMargin) * bpp;
    std::vector<uint8_t> bytes(static_cast<size_t>(pitch * (height + 2 * kMargin)), kFill);
    const std::vector<uint8_t> before = bytes;
    uint8_t* origin = bytes.data() + kMargin * pitch + kMargin * bpp;
    Quoll::RasterizeTriangleStrip(clip, color, vertices.data(), count, texture.get(), origin, pitch, format,
                                  (mode & 4) != 0, (mode & 8) != 0);

    // Only bytes of pixels inside the clip rectangle may change.
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        const int row = static_cast<int>(i / static_cast<size_t>(pitch)) - kMargin;
        const int col = (static_cast<int>(i % static_cast<size_t>(pitch)) - kMargin * bpp) / bpp;
        const int colBytes = static_cast<int>(i % static_cast<size_t>(pitch)) - kMargin * bpp;
        const bool inClip = colBytes >= 0 && row >= clip.y && row < clip.y + clip.height && col >= clip.x &&
                            col < clip.x + clip.width;
        if (!inClip && bytes[i] != before[i])
            std::abort();
    }
    return 0;
}
