#include "game/shell/ResourceBindings.h"

#include "framework/resources/ResourceManager.h"


namespace
{
ResourceBindings* gBindings = nullptr;

// The name-to-id map, built once from the generated table.
const std::unordered_map<std::string, int>& NameIndex()
{
    static const std::unordered_map<std::string, int> index = [] {
        std::unordered_map<std::string, int> built;
        for (int id = 1; id < kResourceIdCount; ++id)
            built.emplace(kResourceIdTable[id].name, id);
        return built;
    }();
    return index;
}
} // namespace

ResourceBindings::ResourceBindings()
{
    gBindings = this;
}

ResourceBindings::~ResourceBindings()
{
    if (gBindings == this)
        gBindings = nullptr;
}

ResourceBindings* ResourceBindings::Get()
{
    return gBindings;
}

int ResourceBindings::Bind(const std::string& group, const Quoll::ResourceManager& manager)
{
    int missing = 0;
    for (int id = 1; id < kResourceIdCount; ++id)
    {
        const ResourceIdInfo& info = kResourceIdTable[id];
        if (group != info.group)
            continue;
        Slot slot;
        bool found = false;
        switch (info.kind)
        {
        case ResourceKind::Image: found = (slot.image = manager.GetImage(info.name)) != nullptr; break;
        case ResourceKind::Sound: found = (slot.sound = manager.GetSound(info.name)) >= 0; break;
        case ResourceKind::Font: found = (slot.font = manager.GetFont(info.name)) != nullptr; break;
        case ResourceKind::None: break;
        }
        missing += found ? 0 : 1;
        std::lock_guard lock(mMutex);
        mSlots[static_cast<size_t>(id)] = slot;
    }
    return missing;
}

void ResourceBindings::Unbind(const std::string& group)
{
    std::lock_guard lock(mMutex);
    for (int id = 1; id < kResourceIdCount; ++id)
        if (group == kResourceIdTable[id].group)
            mSlots[static_cast<size_t>(id)] = Slot{};
}

Quoll::Image* ResourceBindings::GetImage(int id) const
{
    if (!IsValidId(id))
        return nullptr;
    std::lock_guard lock(mMutex);
    return mSlots[static_cast<size_t>(id)].image;
}

int ResourceBindings::GetSound(int id) const
{
    if (!IsValidId(id))
        return -1;
    std::lock_guard lock(mMutex);
    return mSlots[static_cast<size_t>(id)].sound;
}

Quoll::Font* ResourceBindings::GetFont(int id) const
{
    if (!IsValidId(id))
        return nullptr;
    std::lock_guard lock(mMutex);
    return mSlots[static_cast<size_t>(id)].font;
}

int ResourceBindings::FindImageId(const Quoll::Image* image) const
{
    if (image == nullptr)
        return RESOURCE_NONE;
    std::lock_guard lock(mMutex);
    for (int id = 1; id < kResourceIdCount; ++id)
        if (mSlots[static_cast<size_t>(id)].image == image)
            return id;
    return RESOURCE_NONE;
}

int ResourceBindings::GetIdByName(const std::string& name)
{
    const auto& index = NameIndex();
    const auto found = index.find(name);
    return found == index.end() ? kResourceIdCount : found->second;
}

Quoll::Image* GetImageById(int id)
{
    return gBindings != nullptr ? gBindings->GetImage(id) : nullptr;
}

int GetSoundById(int id)
{
    return gBindings != nullptr ? gBindings->GetSound(id) : -1;
}

Quoll::Font* GetFontById(int id)
{
    return gBindings != nullptr ? gBindings->GetFont(id) : nullptr;
}

int GetResourceIdByName(const std::string& name)
{
    return ResourceBindings::GetIdByName(name);
}
