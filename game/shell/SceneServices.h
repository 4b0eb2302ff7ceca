#pragma once
// SceneServices: what the scene graph asks of the game around it: the program-wide random
// numbers, the "ERROR" and "WARNING" logs, images and resource ids by name, image and data files,
// file existence, the application's size and display mode, the time step and update clock, sound
// effects, and the frame animations of images. The
// game application implements it by forwarding; the play screen's services extend it; tests use
// a fake with a seeded generator.
//
// Scene code never reads the wall clock or a generator of its own: every draw goes through
// RandomWord, in the order each scene object fixes, so a replayed game draws the same numbers.
#include "framework/core/Buffer.h"
#include "framework/display/ImageRegistry.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Rect.h"
#include "framework/files/ImageLib.h"
#include "framework/files/PakInterface.h"

#include <cstdint>
#include <memory>
#include <string>

// A scene type; the services hand out records that the scene's animation cache owns.
class FrameAnimation;

class SceneServices
{
public:
    // The resource id answered for an image that no id is bound to.
    static constexpr int kNoImageId = -1;

    virtual ~SceneServices() = default;

    // --- Random numbers (the program-wide generator) ---------------------------------------------
    // The next 31-bit value.
    virtual uint32_t RandomWord() = 0;
    // RandomWord modulo bound (an unsigned division); bound must be at least 1.
    int RandInt(int bound) { return static_cast<int>(RandomWord() % static_cast<uint32_t>(bound)); }
    // RandomWord / 2147483647 * bound: from 0 to bound, both ends included.
    float RandFloat(float bound)
    {
        return static_cast<float>(static_cast<double>(RandomWord()) / 2147483647.0 * static_cast<double>(bound));
    }

    // --- Logs --------------------------------------------------------------------------------------
    // One line to the "ERROR" log.
    virtual void LogError(const std::string& line) = 0;
    // One line to the "WARNING" log.
    virtual void LogWarning(const std::string& line) = 0;

    // --- Images, ids and files ---------------------------------------------------------------------
    // The image bound to a resource id; null for other ids and unloaded images.
    [[nodiscard]] virtual Quoll::Image* GetImageById(int id) = 0;
    // The resource id of a name such as "IMAGE_BONUSH"; the id count when there is none.
    [[nodiscard]] virtual int GetResourceIdByName(const std::string& name) = 0;
    // The resource id an image is bound to; kNoImageId when none.
    [[nodiscard]] virtual int GetImageResourceId(const Quoll::Image* image) = 0;
    // Whether a file can be opened (through the pack files, then the disk).
    [[nodiscard]] virtual bool FileExists(const std::string& path) = 0;
    // The frame animation of an image (cached by its resource id, loaded from the image's path
    // with ".anim" appended on first use, empty when there is no such file); null for a null image
    // and for an image without a resource id. Never freed by its users.
    [[nodiscard]] virtual FrameAnimation* GetFrameAnimation(const Quoll::Image* image) = 0;
    // Loads an image file by its path into a new image that the caller owns; null when it cannot.
    // The default decodes it into a memory image.
    [[nodiscard]] virtual std::unique_ptr<Quoll::Image> LoadImageFile(const std::string& path)
    {
        const auto picture = ImageLib::ReadImageFile(path);
        if (!picture)
            return nullptr;
        auto image = std::make_unique<Quoll::MemoryImage>();
        image->mFilePath = path;
        image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight());
        return image;
    }
    // Reads a whole file into the buffer, replacing its contents, read position at its start;
    // false when it cannot be read. The default reads through the pack files, then the disk.
    virtual bool ReadFileToBuffer(const std::string& path, Quoll::Buffer& buffer)
    {
        std::string bytes;
        if (!Quoll::PakReadFile(path, bytes))
            return false;
        buffer.Clear();
        buffer.WriteBytes(bytes.data(), bytes.size());
        buffer.SeekReadStart();
        return true;
    }

    // --- The application -------------------------------------------------------------------------
    // The application's size in pixels (1024 x 768 for the game).
    [[nodiscard]] virtual int GetAppWidth() const = 0;
    [[nodiscard]] virtual int GetAppHeight() const = 0;
    // The part of the application the display shows (the default area of wandering nodes).
    [[nodiscard]] virtual Quoll::Rect GetScreenRect() const = 0;
    // Whether the display draws through its 3D path (some effects pick their draw call by it).
    // The default asks the display's image registry, which the application installs.
    [[nodiscard]] virtual bool IsDisplay3D() const { return Quoll::GetImageRegistry()->Is3DAccelerated(); }

    // --- Sound -----------------------------------------------------------------------------------
    // Plays the sound of a resource id once, when sounds are enabled; volume 0..1, pan -1..1.
    virtual void PlaySound(int soundId, float volume, float pan) = 0;

    // --- Time ------------------------------------------------------------------------------------
    // Seconds of one logic step (the fixed step, 0.01).
    [[nodiscard]] virtual float GetFrameTime() const = 0;
    // Milliseconds of the update clock, which advances with logic updates only.
    [[nodiscard]] virtual uint32_t GetUpdateClockMs() const = 0;
};
