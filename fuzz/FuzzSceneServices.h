#pragma once
// Scene services for the fuzz targets: a fixed generator, two images by name, no files, logs
// dropped.
#include "framework/core/Buffer.h"
#include "framework/display/Image.h"
#include "game/shell/SceneServices.h"

#include <memory>
#include <string>

class FuzzSceneServices : public SceneServices
{
public:
    FuzzSceneServices()
    {
        mSky.mWidth = 256;
        mSky.mHeight = 192;
        mSpark.mWidth = 16;
        mSpark.mHeight = 16;
    }
    uint32_t RandomWord() override
    {
        mSeed = mSeed * 1103515245u + 12345u;
        return mSeed >> 1;
    }
    void LogError(const std::string&) override {}
    void LogWarning(const std::string&) override {}
    Quoll::Image* GetImageById(int id) override { return id == 1 ? &mSky : id == 2 ? &mSpark : nullptr; }
    int GetResourceIdByName(const std::string& name) override
    {
        return name == "IMAGE_SKY" ? 1 : name == "IMAGE_SPARK" ? 2 : 456;
    }
    int GetImageResourceId(const Quoll::Image*) override { return kNoImageId; }
    bool FileExists(const std::string&) override { return false; }
    FrameAnimation* GetFrameAnimation(const Quoll::Image*) override { return nullptr; }
    std::unique_ptr<Quoll::Image> LoadImageFile(const std::string&) override { return nullptr; }
    bool ReadFileToBuffer(const std::string&, Quoll::Buffer&) override { return false; }
    [[nodiscard]] int GetAppWidth() const override { return 1024; }
    [[nodiscard]] int GetAppHeight() const override { return 768; }
    [[nodiscard]] Quoll::Rect GetScreenRect() const override { return {0, 0, 1024, 768}; }
    [[nodiscard]] bool IsDisplay3D() const override { return false; }
    void PlaySound(int, float, float) override {}
    [[nodiscard]] float GetFrameTime() const override { return 0.01f; }
    [[nodiscard]] uint32_t GetUpdateClockMs() const override { return 0; }

private:
    uint32_t mSeed = 1;
    Quoll::Image mSky;
    Quoll::Image mSpark;
};
