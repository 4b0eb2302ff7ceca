#pragma once
// ResourceBindings: what each generated resource id stands for right now. Loading a resource
// group binds the ids of that group to the resource manager's images, sound ids and fonts;
// freeing it unbinds them. Game code then asks by id: GetImageById and its siblings answer
// null (or -1 for sounds) for id 0, for ids outside the table, for an id of another kind and
// for an id whose group is not loaded. The loading thread binds while the main thread reads:
// every operation takes the bindings' lock.
//
// One instance serves the program (the application owns it); it registers itself on
// construction, and the free functions below ask the registered one.
#include "game/shell/ResourceIds.h"

#include <array>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Quoll
{
class Font;
class Image;
class ResourceManager;
}

class ResourceBindings
{
public:
    ResourceBindings();
    ~ResourceBindings();
    ResourceBindings(const ResourceBindings&) = delete;
    ResourceBindings& operator=(const ResourceBindings&) = delete;

    // The registered instance, or null.
    [[nodiscard]] static ResourceBindings* Get();

    // Binds every id of the group to what the manager has loaded under its name; returns the
    // number of the group's ids the manager did not have (0 when the group is whole).
    int Bind(const std::string& group, const Quoll::ResourceManager& manager);
    void Unbind(const std::string& group);

    [[nodiscard]] Quoll::Image* GetImage(int id) const;
    [[nodiscard]] int GetSound(int id) const;
    [[nodiscard]] Quoll::Font* GetFont(int id) const;
    // The id of the image pointer; RESOURCE_NONE when no id is bound to it.
    [[nodiscard]] int FindImageId(const Quoll::Image* image) const;

    // The id of a name such as "IMAGE_BONUSH"; kResourceIdCount when there is none.
    [[nodiscard]] static int GetIdByName(const std::string& name);
    [[nodiscard]] static bool IsValidId(int id) { return id > RESOURCE_NONE && id < kResourceIdCount; }

private:
    struct Slot
    {
        Quoll::Image* image = nullptr;
        int sound = -1;
        Quoll::Font* font = nullptr;
    };

    mutable std::mutex mMutex;
    std::array<Slot, kResourceIdCount> mSlots{};
};

// The registered bindings' answers (null, -1 or the id count when none is registered).
[[nodiscard]] Quoll::Image* GetImageById(int id);
[[nodiscard]] int GetSoundById(int id);
[[nodiscard]] Quoll::Font* GetFontById(int id);
[[nodiscard]] int GetResourceIdByName(const std::string& name);
