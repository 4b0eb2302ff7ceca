#include "SceneTestDoubles.h"

#include "framework/display/Graphics.h"

#include <filesystem>
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

// --- FakeFont ------------------------------------------------------------------------------------

void FakeFont::DrawString(Quoll::Graphics* /*g*/, int x, int y, const std::wstring& text, const Quoll::Color& color,
                          const Quoll::Rect& /*clip*/)
{
    std::ostringstream out;
    out << "DrawString '" << std::string(text.begin(), text.end()) << "' at " << x << ',' << y << ' '
        << Describe(color);
    calls.push_back(out.str());
}
