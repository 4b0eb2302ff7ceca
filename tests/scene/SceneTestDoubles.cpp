#include "SceneTestDoubles.h"

#include "framework/core/Buffer.h"
#include "framework/display/Graphics.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace
{
std::string Describe(const Quoll::Rect& r)
{
    std::ostringstream out;
    out << '(' << r.x << ',' << r.y << ',' << r.width << ',' << r.height << ')';
    return out.str();
}

std::string Describe(const Quoll::Color& c)
{
    std::ostringstream out;
    out << "rgba(" << c.r << ',' << c.g << ',' << c.b << ',' << c.a << ')';
    return out.str();
}

std::string Describe(Quoll::DrawMode mode)
{
    return mode == Quoll::DrawMode::Additive ? "additive" : "normal";
}

std::string Name(const Quoll::Image* image)
{
    return image != nullptr ? image->mFilePath : "null";
}
} // namespace

std::string SceneDataPath(const std::string& name)
{
    return std::string(QUOLL_SOURCE_DIR) + "/tests/scene/data/" + name;
}

std::unique_ptr<Quoll::Image> MakeSourceImage(const std::string& name, int width, int height, int columns,
                                              int rows)
{
    auto image = std::make_unique<Quoll::Image>();
    image->mFilePath = name;
    image->mWidth = width;
    image->mHeight = height;
    image->mNumCols = columns;
    image->mNumRows = rows;
    return image;
}

// --- FakeSceneServices ---------------------------------------------------------------------------

void FakeSceneServices::Register(int id, const std::string& name, Quoll::Image* image)
{
    mImages[id] = image;
    mIds[name] = id;
}

Quoll::Image* FakeSceneServices::GetImageById(int id)
{
    const auto found = mImages.find(id);
    return found != mImages.end() ? found->second : nullptr;
}

int FakeSceneServices::GetResourceIdByName(const std::string& name)
{
    const auto found = mIds.find(name);
    return found != mIds.end() ? found->second : 456;
}

int FakeSceneServices::GetImageResourceId(const Quoll::Image* image)
{
    for (const auto& [id, bound] : mImages)
        if (bound == image)
            return id;
    return kNoImageId;
}

bool FakeSceneServices::FileExists(const std::string& path)
{
    return std::filesystem::is_regular_file(path);
}

std::unique_ptr<Quoll::Image> FakeSceneServices::LoadImageFile(const std::string& path)
{
    std::unique_ptr<Quoll::Image> image;
    if (imageLoader != nullptr)
        image = imageLoader(path);
    else if (const auto found = imageFiles.find(path); found != imageFiles.end())
        image = MakeSourceImage(path, found->second.first, found->second.second);
    if (image)
        ++imagesLoaded;
    return image;
}

bool FakeSceneServices::ReadFileToBuffer(const std::string& path, Quoll::Buffer& buffer)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    buffer.Clear();
    buffer.WriteBytes(bytes.data(), bytes.size());
    buffer.SeekReadStart();
    return true;
}

// --- RecordingImage ------------------------------------------------------------------------------

void RecordingImage::FillRect(const Quoll::Rect& rect, const Quoll::Color& color, Quoll::DrawMode mode)
{
    calls.push_back("FillRect " + Describe(rect) + " " + Describe(color) + " " + Describe(mode));
}

void RecordingImage::Blt(Quoll::Image* source, int x, int y, const Quoll::Rect& srcRect, const Quoll::Color& color,
                         Quoll::DrawMode mode)
{
    std::ostringstream out;
    out << "Blt " << Name(source) << " at " << x << ',' << y << " src " << Describe(srcRect) << ' '
        << Describe(color) << ' ' << Describe(mode);
    calls.push_back(out.str());
}

void RecordingImage::BltAtFloat(Quoll::Image* source, float x, float y, const Quoll::Rect& srcRect,
                                const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode)
{
    std::ostringstream out;
    out << "BltAtFloat " << Name(source) << " at " << x << ',' << y << " src " << Describe(srcRect) << ' '
        << Describe(color) << ' ' << Describe(mode);
    calls.push_back(out.str());
}

void RecordingImage::BltRotated(Quoll::Image* source, float x, float y, const Quoll::Rect& srcRect,
                                const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode,
                                double angle, float centerX, float centerY)
{
    std::ostringstream out;
    out << "BltRotated " << Name(source) << " at " << x << ',' << y << " src " << Describe(srcRect) << " angle "
        << angle << " centre " << centerX << ',' << centerY << ' ' << Describe(color) << ' ' << Describe(mode);
    calls.push_back(out.str());
}

void RecordingImage::StretchBlt(Quoll::Image* source, const Quoll::Rect& destRect, const Quoll::Rect& srcRect,
                                const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode,
                                bool /*fastStretch*/)
{
    calls.push_back("StretchBlt " + Name(source) + " to " + Describe(destRect) + " src " + Describe(srcRect) + " " +
                    Describe(color) + " " + Describe(mode));
}

void RecordingImage::BltMatrix(Quoll::Image* source, float x, float y, const Quoll::Matrix3& matrix,
                               const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode,
                               const Quoll::Rect& srcRect, bool /*filtering*/)
{
    std::ostringstream out;
    out << "BltMatrix " << Name(source) << " at " << x << ',' << y << " src " << Describe(srcRect) << " m";
    for (float v : matrix.m)
        out << ' ' << v;
    out << ' ' << Describe(color) << ' ' << Describe(mode);
    calls.push_back(out.str());
}

void RecordingImage::BltMirror(Quoll::Image* source, int x, int y, const Quoll::Rect& srcRect,
                               const Quoll::Color& color, Quoll::DrawMode mode)
{
    std::ostringstream out;
    out << "BltMirror " << Name(source) << " at " << x << ',' << y << " src " << Describe(srcRect) << ' '
        << Describe(color) << ' ' << Describe(mode);
    calls.push_back(out.str());
}

void RecordingImage::StretchBltMirror(Quoll::Image* source, const Quoll::Rect& destRect, const Quoll::Rect& srcRect,
                                      const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode)
{
    calls.push_back("StretchBltMirror " + Name(source) + " to " + Describe(destRect) + " src " + Describe(srcRect) +
                    " " + Describe(color) + " " + Describe(mode));
}

void RecordingImage::BltTrianglesTex(Quoll::Image* texture, const Quoll::TriangleVertices* triangles, int count,
                                     const Quoll::Rect& /*clip*/, const Quoll::Color& color, Quoll::DrawMode mode,
                                     float /*tx*/, float /*ty*/, bool /*filtering*/)
{
    calls.push_back("Triangles " + Name(texture) + " x" + std::to_string(count) + " " + Describe(color) + " " +
                    Describe(mode));
    lastTriangles.clear();
    for (int t = 0; t < count; ++t)
        for (int k = 0; k < 3; ++k)
            lastTriangles.push_back(triangles[t][k]);
}

// --- FakeFont ------------------------------------------------------------------------------------

void FakeFont::DrawString(Quoll::Graphics* /*g*/, int x, int y, const std::wstring& text, const Quoll::Color& color,
                          const Quoll::Rect& /*clip*/)
{
    std::ostringstream out;
    out << "DrawString '" << std::string(text.begin(), text.end()) << "' at " << x << ',' << y << ' '
        << Describe(color);
    calls.push_back(out.str());
}
