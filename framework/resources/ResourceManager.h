#pragma once
// The resource manager: reads the resource manifest, then loads and frees its groups of
// images, sounds and fonts by name, either whole or one resource at a time (for progress
// bars). Game code looks resources up by id. The loading thread and the main thread use it
// at once: every operation is guarded by the manager's lock, and image decoding runs outside
// the lock so that two threads can load different groups together.
//
// A group that fails to load frees whatever that load had loaded, and the error text names
// the failing resource and path: no group is ever left half loaded by a failed load.
#include "framework/core/CriticalSection.h"
#include "framework/display/MemoryImage.h"
#include "framework/resources/FontFactory.h"
#include "framework/resources/ResourceManagerException.h"
#include "framework/resources/ResourceManifest.h"
#include "framework/resources/SoundLoader.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace Quoll
{
class QuollAppBase;

class ResourceManager
{
public:
    class GroupLoader;

    explicit ResourceManager(QuollAppBase* app = nullptr);
    // Frees every loaded resource.
    ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    [[nodiscard]] QuollAppBase* GetApp() const { return mApp; }
    void SetSoundLoader(SoundLoader* loader);
    void SetFontFactory(FontFactory* factory);

    // Adds the groups of a manifest; on error nothing is added and GetErrorText says why.
    bool ParseResourcesFile(const std::string& fileName);

    // Loads every resource of the group not loaded yet.
    bool LoadResources(const std::string& group);
    // A load of the group to be driven one resource at a time; null for an unknown group.
    // The loader must not outlive the manager.
    std::unique_ptr<GroupLoader> StartLoadResources(const std::string& group);
    // Frees every loaded resource of the group.
    void DeleteResources(const std::string& group);
    [[nodiscard]] bool IsGroupLoaded(const std::string& group) const;
    // The number of resources the group declares; 0 for an unknown group.
    [[nodiscard]] int GetNumResources(const std::string& group) const;

    // Null / -1 when unknown or not loaded.
    [[nodiscard]] MemoryImage* GetImage(const std::string& id) const;
    [[nodiscard]] int GetSound(const std::string& id) const;
    [[nodiscard]] Font* GetFont(const std::string& id) const;
    // The same, throwing ResourceManagerException when unknown or not loaded.
    MemoryImage* GetImageThrow(const std::string& id) const;
    int GetSoundThrow(const std::string& id) const;
    Font* GetFontThrow(const std::string& id) const;

    // The text of the last failure, empty when none.
    [[nodiscard]] std::string GetErrorText() const;
    [[nodiscard]] bool HadError() const;

private:
    using Key = std::pair<ResourceType, std::string>;
    struct Resource
    {
        ResourceDescription description;
        std::unique_ptr<MemoryImage> image;
        int soundId = -1;
        Font* font = nullptr;
        bool loaded = false;
    };

    void SetError(const std::string& text);
    // Loads one resource unless it is loaded; loadedNow tells whether this call loaded it.
    bool LoadOne(const Key& key, bool& loadedNow);
    bool LoadImage(const Key& key, const ResourceDescription& description, bool& loadedNow);
    bool LoadSound(const Key& key, const ResourceDescription& description, bool& loadedNow);
    bool LoadFont(const Key& key, const ResourceDescription& description, bool& loadedNow);
    void FreeOne(Resource& resource);
    void FreeKeys(const std::vector<Key>& keys);
    const Resource* FindLoaded(ResourceType type, const std::string& id) const;
    const Resource& FindLoadedOrThrow(ResourceType type, const std::string& id) const;

    QuollAppBase* mApp;
    mutable CriticalSection mCrit;
    // Sounds are decoded outside mCrit, one at a time: choosing a free id and filling it is
    // one step for the sound loader.
    std::mutex mSoundLoadMutex;
    SoundLoader* mSoundLoader = nullptr;
    FontFactory* mFontFactory = nullptr;
    std::vector<ResourceGroupDescription> mManifest;
    std::map<std::string, std::vector<Key>> mGroups;
    std::map<Key, Resource> mResources;
    std::string mErrorText;
};

// One load of a group, one resource per LoadNext call. Destroying it before the load is
// done cancels the load: what it loaded is freed again.
class ResourceManager::GroupLoader
{
public:
    ~GroupLoader();
    GroupLoader(const GroupLoader&) = delete;
    GroupLoader& operator=(const GroupLoader&) = delete;

    // Loads the next resource; false when the load is done or has failed (HasFailed).
    bool LoadNext();
    [[nodiscard]] int GetTotal() const { return static_cast<int>(mKeys.size()); }
    [[nodiscard]] int GetLoaded() const { return static_cast<int>(mNext); }
    [[nodiscard]] bool IsDone() const { return mNext == mKeys.size(); }
    [[nodiscard]] bool HasFailed() const { return mFailed; }

private:
    friend class ResourceManager;
    GroupLoader(ResourceManager& manager, std::vector<Key> keys);

    ResourceManager& mManager;
    std::vector<Key> mKeys;
    size_t mNext = 0;
    std::vector<Key> mLoadedHere;
    bool mFailed = false;
};
} // namespace Quoll
