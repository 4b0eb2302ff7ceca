#include "game/scene/ParticleManager.h"

#include "framework/core/Buffer.h"
#include "framework/display/Image.h"
#include "game/scene/ParticleSpans.h"
#include "game/shell/SceneServices.h"

ParticleManager::ParticleManager(SceneServices& services, float frameRate)
    : mServices(services), mFrameRate(frameRate)
{
    InstallParticleSpanRoutines();
}

// Systems go before the images the registry loaded for them.
ParticleManager::~ParticleManager()
{
    KillAll();
}

bool ParticleManager::Register(const std::string& fileName, int id, int imageId)
{
    Quoll::Buffer buffer;
    if (!mServices.ReadFileToBuffer(fileName, buffer))
    {
        mServices.LogError("Cannot load particle system file: " + fileName);
        return false;
    }
    buffer.SeekReadStart();
    Register(id, ReadParticleFile(buffer), imageId);
    return true;
}

void ParticleManager::Register(int id, const ParticleFile& file, int imageId)
{
    Entry& entry = mRegistry[id];
    // Systems of an earlier description under this id may still draw with the image it loaded.
    if (entry.ownImage)
        for (int slot = mCount - 1; slot >= 0; --slot)
            if (mSystems[static_cast<size_t>(slot)]->GetImage() == entry.ownImage.get())
                RemoveSlot(slot);
    entry = Entry();
    entry.file = file;
    entry.imageId = imageId;
}

Quoll::Image* ParticleManager::DescriptionImage(Entry& entry)
{
    if (!entry.ownImageTried && !entry.file.imageName.empty())
    {
        entry.ownImageTried = true;
        entry.ownImage = mServices.LoadImageFile(entry.file.imageName);
    }
    return entry.ownImage.get();
}

ParticleSystem* ParticleManager::Spawn(int id, float x, float y)
{
    const auto found = mRegistry.find(id);
    if (found == mRegistry.end())
    {
        mServices.LogError("Cannot spawn particle system, id: " + std::to_string(id) + " not registered");
        return nullptr;
    }
    Entry& entry = found->second;
    Quoll::Image* image = mServices.GetImageById(entry.imageId);
    if (image == nullptr)
    {
        mServices.LogError("Cannot spawn particle system, image: " + std::to_string(entry.imageId) + " not loaded");
        return nullptr;
    }
    if (Quoll::Image* own = DescriptionImage(entry))
        image = own;
    return Spawn(entry.file, image, x, y);
}

ParticleSystem* ParticleManager::Spawn(const ParticleFile& file, Quoll::Image* image, float x, float y)
{
    if (mCount >= kMaxSystems)
        return nullptr;
    // The engine's generator is seeded once, from the game's, when the first system is made.
    if (!mRandom.IsSeeded())
        mRandom.Seed(mServices.RandomWord());
    auto system = std::make_unique<ParticleSystem>(file, image, mFrameRate, mRandom, mServices.IsDisplay3D());
    system->SetSerial(mNextSerial++);
    system->FireAt(x, y);
    mSystems[static_cast<size_t>(mCount)] = std::move(system);
    return mSystems[static_cast<size_t>(mCount++)].get();
}

bool ParticleManager::Update(float dt)
{
    for (int slot = 0; slot < mCount;)
    {
        ParticleSystem& system = *mSystems[static_cast<size_t>(slot)];
        system.Update(dt);
        if (system.IsFinished())
            RemoveSlot(slot); // the last system moved here is updated next
        else
            ++slot;
    }
    return mCount > 0;
}

void ParticleManager::Render(Quoll::Graphics* g)
{
    for (int slot = 0; slot < mCount; ++slot)
        mSystems[static_cast<size_t>(slot)]->Render(g);
}

int ParticleManager::SlotOf(const ParticleSystem* system) const
{
    if (system == nullptr)
        return -1;
    for (int slot = 0; slot < mCount; ++slot)
        if (mSystems[static_cast<size_t>(slot)].get() == system)
            return slot;
    return -1;
}

bool ParticleManager::IsAlive(const ParticleSystem* system) const
{
    return SlotOf(system) >= 0;
}

bool ParticleManager::IsAlive(const ParticleSystem* system, uint64_t serial) const
{
    const int slot = SlotOf(system);
    return slot >= 0 && mSystems[static_cast<size_t>(slot)]->GetSerial() == serial;
}

void ParticleManager::Kill(const ParticleSystem* system)
{
    const int slot = SlotOf(system);
    if (slot >= 0)
        RemoveSlot(slot);
}

void ParticleManager::KillAll()
{
    for (int slot = 0; slot < mCount; ++slot)
        mSystems[static_cast<size_t>(slot)].reset();
    mCount = 0;
}

void ParticleManager::RemoveSlot(int slot)
{
    --mCount;
    mSystems[static_cast<size_t>(slot)] = std::move(mSystems[static_cast<size_t>(mCount)]);
    mSystems[static_cast<size_t>(mCount)].reset();
}
