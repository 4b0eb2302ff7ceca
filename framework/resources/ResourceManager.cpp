#include "framework/resources/ResourceManager.h"

#include "framework/files/ImageLib.h"

namespace Quoll
{
namespace
{
const char* TypeName(ResourceType type)
{
    switch (type)
    {
    case ResourceType::Image: return "Image";
    case ResourceType::Sound: return "Sound";
    case ResourceType::Font: return "Font";
    }
    return "Resource";
}

// The decoded picture as a memory image with the manifest's cel grid and animation.
std::unique_ptr<MemoryImage> MakeImage(const ImageLib::Image& picture, const ResourceDescription& description)
{
    const ImageDescription& desc = description.image;
    auto image = std::make_unique<MemoryImage>();
    image->SetBits(picture.GetBits(), picture.GetWidth(), picture.GetHeight(), true);
    image->mFilePath = description.path;
    image->mNumRows = desc.rows;
    image->mNumCols = desc.cols;
    if (desc.animated)
    {
        image->mAnimInfo = std::make_unique<AnimInfo>();
        image->mAnimInfo->mAnimType = desc.animType;
        image->mAnimInfo->mFrameDelay = desc.frameDelay;
        image->mAnimInfo->mPerFrameDelay = desc.perFrameDelay;
        image->mAnimInfo->mFrameMap = desc.frameMap;
        image->mAnimInfo->Compute(desc.rows * desc.cols, desc.beginDelay, desc.endDelay);
    }
    return image;
}
} // namespace

ResourceManager::ResourceManager(QuollAppBase* app) : mApp(app) {}

ResourceManager::~ResourceManager()
{
    AutoCrit lock(mCrit);
    for (auto& [key, resource] : mResources)
        FreeOne(resource);
}

void ResourceManager::SetSoundLoader(SoundLoader* loader)
{
    AutoCrit lock(mCrit);
    mSoundLoader = loader;
}

void ResourceManager::SetFontFactory(FontFactory* factory)
{
    AutoCrit lock(mCrit);
    mFontFactory = factory;
}

void ResourceManager::SetError(const std::string& text)
{
    AutoCrit lock(mCrit);
    mErrorText = text;
}

std::string ResourceManager::GetErrorText() const
{
    AutoCrit lock(mCrit);
    return mErrorText;
}

bool ResourceManager::HadError() const
{
    AutoCrit lock(mCrit);
    return !mErrorText.empty();
}

bool ResourceManager::ParseResourcesFile(const std::string& fileName)
{
    AutoCrit lock(mCrit);
    std::string error;
    const size_t known = mManifest.size();
    if (!ParseResourceManifest(fileName, mManifest, error))
    {
        mErrorText = error;
        return false;
    }
    for (size_t g = known; g < mManifest.size(); ++g)
        for (const ResourceDescription& description : mManifest[g].resources)
        {
            const Key key{description.type, description.id};
            mGroups[mManifest[g].name].push_back(key);
            mResources[key].description = description;
        }
    return true;
}

// --- Loading -----------------------------------------------------------------------------

bool ResourceManager::LoadResources(const std::string& group)
{
    std::unique_ptr<GroupLoader> loader = StartLoadResources(group);
    if (loader == nullptr)
        return false;
    while (loader->LoadNext())
    {
    }
    return !loader->HasFailed();
}

std::unique_ptr<ResourceManager::GroupLoader> ResourceManager::StartLoadResources(const std::string& group)
{
    AutoCrit lock(mCrit);
    const auto it = mGroups.find(group);
    if (it == mGroups.end())
    {
        mErrorText = "Resource group not found: " + group;
        return nullptr;
    }
    return std::unique_ptr<GroupLoader>(new GroupLoader(*this, it->second));
}

bool ResourceManager::LoadOne(const Key& key, bool& loadedNow)
{
    loadedNow = false;
    ResourceDescription description;
    {
        AutoCrit lock(mCrit);
        Resource& resource = mResources.at(key);
        if (resource.loaded)
            return true;
        description = resource.description;
    }
    // Images, sounds and fonts are made outside the lock.
    if (key.first == ResourceType::Image)
        return LoadImage(key, description, loadedNow);
    if (key.first == ResourceType::Sound)
        return LoadSound(key, description, loadedNow);
    return LoadFont(key, description, loadedNow);
}

bool ResourceManager::LoadImage(const Key& key, const ResourceDescription& description, bool& loadedNow)
{
    const std::unique_ptr<ImageLib::Image> picture = ImageLib::ReadImageFile(description.path);
    if (picture == nullptr)
    {
        SetError("Failed to load image: " + description.path);
        return false;
    }
    if (description.image.rows > picture->GetHeight() || description.image.cols > picture->GetWidth())
    {
        SetError("Image " + description.id + " has more rows or columns than pixels: " + description.path);
        return false;
    }
    std::unique_ptr<MemoryImage> image = MakeImage(*picture, description);
    AutoCrit lock(mCrit);
    Resource& resource = mResources.at(key);
    if (!resource.loaded)
    {
        resource.image = std::move(image);
        resource.loaded = loadedNow = true;
    }
    return true;
}

bool ResourceManager::LoadSound(const Key& key, const ResourceDescription& description, bool& loadedNow)
{
    std::lock_guard soundLock(mSoundLoadMutex);
    SoundLoader* loader = nullptr;
    {
        AutoCrit lock(mCrit);
        if (mResources.at(key).loaded)
            return true; // another thread was first
        loader = mSoundLoader;
    }
    if (loader == nullptr)
    {
        SetError("No sound manager to load sound: " + description.path);
        return false;
    }
    const int id = loader->GetFreeSoundId();
    if (id < 0)
    {
        SetError("Out of free sound ids");
        return false;
    }
    if (!loader->LoadSound(static_cast<unsigned>(id), description.path))
    {
        SetError("Failed to load sound: " + description.path);
        return false;
    }
    loader->SetBaseVolume(static_cast<unsigned>(id), description.volume);
    loader->SetBasePan(static_cast<unsigned>(id), description.pan);
    AutoCrit lock(mCrit);
    Resource& resource = mResources.at(key);
    resource.soundId = id;
    resource.loaded = loadedNow = true;
    return true;
}

bool ResourceManager::LoadFont(const Key& key, const ResourceDescription& description, bool& loadedNow)
{
    FontFactory* factory = nullptr;
    {
        AutoCrit lock(mCrit);
        factory = mFontFactory;
    }
    std::string reason;
    Font* font = factory != nullptr ? factory->CreateFont(description.path, description.attributes, reason) : nullptr;
    if (font == nullptr)
    {
        SetError("Failed to load font: " + description.path + (reason.empty() ? "" : ": " + reason));
        return false;
    }
    AutoCrit lock(mCrit);
    Resource& resource = mResources.at(key);
    if (resource.loaded)
    {
        factory->DestroyFont(font);
        return true;
    }
    resource.font = font;
    resource.loaded = loadedNow = true;
    return true;
}

// --- Freeing -----------------------------------------------------------------------------

void ResourceManager::FreeOne(Resource& resource)
{
    resource.image.reset();
    if (resource.soundId >= 0 && mSoundLoader != nullptr)
        mSoundLoader->ReleaseSound(static_cast<unsigned>(resource.soundId));
    resource.soundId = -1;
    if (resource.font != nullptr && mFontFactory != nullptr)
        mFontFactory->DestroyFont(resource.font);
    resource.font = nullptr;
    resource.loaded = false;
}

void ResourceManager::FreeKeys(const std::vector<Key>& keys)
{
    AutoCrit lock(mCrit);
    for (const Key& key : keys)
        FreeOne(mResources.at(key));
}

void ResourceManager::DeleteResources(const std::string& group)
{
    AutoCrit lock(mCrit);
    const auto it = mGroups.find(group);
    if (it != mGroups.end())
        FreeKeys(it->second);
}

bool ResourceManager::IsGroupLoaded(const std::string& group) const
{
    AutoCrit lock(mCrit);
    const auto it = mGroups.find(group);
    if (it == mGroups.end())
        return false;
    for (const Key& key : it->second)
        if (!mResources.at(key).loaded)
            return false;
    return true;
}

int ResourceManager::GetNumResources(const std::string& group) const
{
    AutoCrit lock(mCrit);
    const auto it = mGroups.find(group);
    return it == mGroups.end() ? 0 : static_cast<int>(it->second.size());
}

// --- Look-ups ----------------------------------------------------------------------------

const ResourceManager::Resource* ResourceManager::FindLoaded(ResourceType type, const std::string& id) const
{
    const auto it = mResources.find({type, id});
    return it == mResources.end() || !it->second.loaded ? nullptr : &it->second;
}

const ResourceManager::Resource& ResourceManager::FindLoadedOrThrow(ResourceType type, const std::string& id) const
{
    const auto it = mResources.find({type, id});
    if (it == mResources.end())
        throw ResourceManagerException(std::string(TypeName(type)) + " resource not found: " + id);
    if (!it->second.loaded)
        throw ResourceManagerException(std::string(TypeName(type)) + " resource not loaded: " + id);
    return it->second;
}

MemoryImage* ResourceManager::GetImage(const std::string& id) const
{
    AutoCrit lock(mCrit);
    const Resource* resource = FindLoaded(ResourceType::Image, id);
    return resource == nullptr ? nullptr : resource->image.get();
}

int ResourceManager::GetSound(const std::string& id) const
{
    AutoCrit lock(mCrit);
    const Resource* resource = FindLoaded(ResourceType::Sound, id);
    return resource == nullptr ? -1 : resource->soundId;
}

Font* ResourceManager::GetFont(const std::string& id) const
{
    AutoCrit lock(mCrit);
    const Resource* resource = FindLoaded(ResourceType::Font, id);
    return resource == nullptr ? nullptr : resource->font;
}

MemoryImage* ResourceManager::GetImageThrow(const std::string& id) const
{
    AutoCrit lock(mCrit);
    return FindLoadedOrThrow(ResourceType::Image, id).image.get();
}

int ResourceManager::GetSoundThrow(const std::string& id) const
{
    AutoCrit lock(mCrit);
    return FindLoadedOrThrow(ResourceType::Sound, id).soundId;
}

Font* ResourceManager::GetFontThrow(const std::string& id) const
{
    AutoCrit lock(mCrit);
    return FindLoadedOrThrow(ResourceType::Font, id).font;
}

// --- GroupLoader -------------------------------------------------------------------------

ResourceManager::GroupLoader::GroupLoader(ResourceManager& manager, std::vector<Key> keys)
    : mManager(manager), mKeys(std::move(keys))
{
}

ResourceManager::GroupLoader::~GroupLoader()
{
    if (!IsDone() && !mFailed)
        mManager.FreeKeys(mLoadedHere);
}

bool ResourceManager::GroupLoader::LoadNext()
{
    if (mFailed || IsDone())
        return false;
    bool loadedNow = false;
    if (!mManager.LoadOne(mKeys[mNext], loadedNow))
    {
        // Nothing half loaded stays: what this load brought in goes again.
        mManager.FreeKeys(mLoadedHere);
        mLoadedHere.clear();
        mFailed = true;
        return false;
    }
    if (loadedNow)
        mLoadedHere.push_back(mKeys[mNext]);
    ++mNext;
    return true;
}
} // namespace Quoll
