#pragma once
// ParticleManager: the game's one owner of particle systems (at most 100 alive) and the registry
// of particle descriptions by id. Game code registers each ".psi" file under an id with an image
// id, spawns systems by id at a point, and may keep a spawned pointer only while IsAlive says so:
// the manager deletes a system by itself once it is stopped and its last particle has died, and
// a later system may reuse the address, so holders keep the serial number too.
#include "game/scene/ParticleFile.h"
#include "game/scene/ParticleRandom.h"
#include "game/scene/ParticleSystem.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

class SceneServices;

namespace Quoll
{
class Graphics;
class Image;
}

class ParticleManager
{
public:
    static constexpr int kMaxSystems = 100;

    // Steps per second of every system (the game gives 60); 0 steps once per update. Installs the
    // software rasteriser's span routines that particle meshes draw with.
    ParticleManager(SceneServices& services, float frameRate);
    ~ParticleManager();
    ParticleManager(const ParticleManager&) = delete;
    ParticleManager& operator=(const ParticleManager&) = delete;

    // --- The registry -------------------------------------------------------------------------
    // Reads a ".psi" file and keeps it under the id with the image id (replacing an earlier one,
    // whose systems drawing with an image the registry loaded for it are killed).
    // false, with "Cannot load particle system file: " + name on the "ERROR" log, when it cannot
    // be read.
    bool Register(const std::string& fileName, int id, int imageId);
    // The same from a description already read.
    void Register(int id, const ParticleFile& file, int imageId);
    [[nodiscard]] bool IsRegistered(int id) const { return mRegistry.count(id) != 0; }
    // A system of the registered description at (x, y); null, with a line on the "ERROR" log, for
    // an id not registered or whose image is not loaded, and null when 100 systems are alive.
    // A description that names an image file draws with that image (loaded once and kept until
    // the manager goes) when it loads.
    ParticleSystem* Spawn(int id, float x, float y);

    // --- Systems --------------------------------------------------------------------------------
    // A new system of the description drawing with the image, fired at (x, y); null when 100
    // systems are alive.
    ParticleSystem* Spawn(const ParticleFile& file, Quoll::Image* image, float x, float y);
    // Updates every system in slot order, deleting finished ones (the system moved into a freed
    // slot is updated in the same pass). true while at least one system is held.
    bool Update(float dt);
    // Draws every system in slot order.
    void Render(Quoll::Graphics* g);
    // Whether the pointer is a held system. The address of a deleted system may be reused: holders
    // that may outlive it check the serial number as well.
    [[nodiscard]] bool IsAlive(const ParticleSystem* system) const;
    [[nodiscard]] bool IsAlive(const ParticleSystem* system, uint64_t serial) const;
    // Deletes the system when it is held; nothing otherwise.
    void Kill(const ParticleSystem* system);
    void KillAll();

    [[nodiscard]] int GetCount() const { return mCount; }
    [[nodiscard]] ParticleSystem* GetSystem(int slot) const { return mSystems[static_cast<size_t>(slot)].get(); }
    [[nodiscard]] ParticleRandom& GetRandom() { return mRandom; }

private:
    struct Entry
    {
        ParticleFile file;
        int imageId = 0;
        // The image named by the description, loaded on first spawn; tried once.
        std::unique_ptr<Quoll::Image> ownImage;
        bool ownImageTried = false;
    };

    [[nodiscard]] int SlotOf(const ParticleSystem* system) const;
    void RemoveSlot(int slot);
    [[nodiscard]] Quoll::Image* DescriptionImage(Entry& entry);

    SceneServices& mServices;
    float mFrameRate;
    ParticleRandom mRandom;
    uint64_t mNextSerial = 1;
    int mCount = 0;
    std::array<std::unique_ptr<ParticleSystem>, kMaxSystems> mSystems;
    std::map<int, Entry> mRegistry;
};
