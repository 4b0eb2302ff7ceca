#pragma once
// Test doubles of the scene suite: FakeSceneServices (a seeded generator, recorded log lines,
// images and ids registered by the test, files looked up on disk, a real animation cache),
// RecordingImage (a destination that logs every drawing call it receives as one line of text)
// and FakeFont (fixed metrics, logs the strings drawn through it).
#include "framework/core/MersenneTwister.h"
#include "framework/display/Font.h"
#include "framework/display/Image.h"
#include "game/scene/FrameAnimationCache.h"
#include "game/shell/SceneServices.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The folder of the suite's fixture files, with a trailing '/'.
std::string SceneDataPath(const std::string& name);

// A source image of the given size and cel grid that draws nothing; the name is its file path.
std::unique_ptr<Quoll::Image> MakeSourceImage(const std::string& name, int width, int height, int columns = 1, int rows = 1);

class FakeSceneServices : public SceneServices
{
public:
    explicit FakeSceneServices(uint32_t seed = 1) { random.Seed(seed); }

    uint32_t RandomWord() override
    {
        ++draws;
        return random.NextWord();
    }
    void LogError(const std::string& line) override { log.push_back("ERROR: " + line); }
    void LogWarning(const std::string& line) override { log.push_back("WARNING: " + line); }
    Quoll::Image* GetImageById(int id) override;
    int GetResourceIdByName(const std::string& name) override;
    int GetImageResourceId(const Quoll::Image* image) override;
    bool FileExists(const std::string& path) override;
    FrameAnimation* GetFrameAnimation(const Quoll::Image* image) override { return animations.GetFrameAnimation(image); }
    // An image of the size given in imageFiles for that path (counted in imagesLoaded); else null.
    std::unique_ptr<Quoll::Image> LoadImageFile(const std::string& path) override;
    // The file from the disk.
    bool ReadFileToBuffer(const std::string& path, Quoll::Buffer& buffer) override;
    [[nodiscard]] int GetAppWidth() const override { return appWidth; }
    [[nodiscard]] int GetAppHeight() const override { return appHeight; }
    [[nodiscard]] Quoll::Rect GetScreenRect() const override { return screenRect; }
    [[nodiscard]] bool IsDisplay3D() const override { return is3D; }
    void PlaySound(int soundId, float volume, float pan) override
    {
        sounds.push_back(std::to_string(soundId) + " " + std::to_string(volume) + " " + std::to_string(pan));
    }
    [[nodiscard]] float GetFrameTime() const override { return 0.01f; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override { return 0; }

    // Binds an image to an id and a name.
    void Register(int id, const std::string& name, Quoll::Image* image);

    Quoll::MersenneTwister random;
    int draws = 0;
    std::vector<std::string> log;
    int appWidth = 1024;
    int appHeight = 768;
    Quoll::Rect screenRect{0, 0, 1024, 768};
    bool is3D = false;
    std::vector<std::string> sounds;
    // Image files LoadImageFile can load: path -> (width, height); or, when set, a loader.
    std::map<std::string, std::pair<int, int>> imageFiles;
    std::unique_ptr<Quoll::Image> (*imageLoader)(const std::string& path) = nullptr;
    int imagesLoaded = 0;
    FrameAnimationCache animations{*this};

private:
    std::map<int, Quoll::Image*> mImages;
    std::map<std::string, int> mIds;
};

class RecordingImage : public Quoll::Image
{
public:
    RecordingImage(int width = 1024, int height = 768)
    {
        mWidth = width;
        mHeight = height;
    }

    void FillRect(const Quoll::Rect& rect, const Quoll::Color& color, Quoll::DrawMode mode) override;
    void Blt(Quoll::Image* source, int x, int y, const Quoll::Rect& srcRect, const Quoll::Color& color,
             Quoll::DrawMode mode) override;
    void BltAtFloat(Quoll::Image* source, float x, float y, const Quoll::Rect& srcRect, const Quoll::Rect& clip,
                    const Quoll::Color& color, Quoll::DrawMode mode) override;
    void BltRotated(Quoll::Image* source, float x, float y, const Quoll::Rect& srcRect, const Quoll::Rect& clip,
                    const Quoll::Color& color, Quoll::DrawMode mode, double angle, float centerX,
                    float centerY) override;
    void StretchBlt(Quoll::Image* source, const Quoll::Rect& destRect, const Quoll::Rect& srcRect,
                    const Quoll::Rect& clip, const Quoll::Color& color, Quoll::DrawMode mode, bool fastStretch) override;
    void BltMatrix(Quoll::Image* source, float x, float y, const Quoll::Matrix3& matrix, const Quoll::Rect& clip,
                   const Quoll::Color& color, Quoll::DrawMode mode, const Quoll::Rect& srcRect, bool filtering) override;
    void BltMirror(Quoll::Image* source, int x, int y, const Quoll::Rect& srcRect, const Quoll::Color& color,
                   Quoll::DrawMode mode) override;
    // Logs the count, colour and mode; keeps the triangles of the last call.
    void BltTrianglesTex(Quoll::Image* texture, const Quoll::TriangleVertices* triangles, int count,
                         const Quoll::Rect& clip, const Quoll::Color& color, Quoll::DrawMode mode, float tx, float ty,
                         bool filtering) override;
    void StretchBltMirror(Quoll::Image* source, const Quoll::Rect& destRect, const Quoll::Rect& srcRect,
                          const Quoll::Rect& clip, const Quoll::Color& color, Quoll::DrawMode mode) override;

    std::vector<std::string> calls;
    std::vector<Quoll::TriVertex> lastTriangles;
};

class FakeFont : public Quoll::Font
{
public:
    [[nodiscard]] int GetHeight() const override { return height; }
    [[nodiscard]] int GetAscent() const override { return ascent; }
    [[nodiscard]] int GetAscentPadding() const override { return 0; }
    [[nodiscard]] int GetLineSpacing() const override { return height; }
    // charWidth per character, or `fixedWidth` for any text when it is set.
    [[nodiscard]] int StringWidth(const std::wstring& text) override
    {
        return fixedWidth >= 0 ? fixedWidth : charWidth * static_cast<int>(text.size());
    }
    [[nodiscard]] int CharWidthKern(wchar_t, wchar_t) override { return charWidth; }
    void DrawString(Quoll::Graphics* g, int x, int y, const std::wstring& text, const Quoll::Color& color,
                    const Quoll::Rect& clip) override;
    [[nodiscard]] std::unique_ptr<Quoll::Font> Duplicate() const override { return std::make_unique<FakeFont>(*this); }

    int height = 15;
    int ascent = 12;
    int charWidth = 10;
    int fixedWidth = -1;
    std::vector<std::string> calls;
};
