#pragma once
// The level map's test doubles: a scripted fake of its application services over a real
// catalogue with settable progress (particle systems live, run their paths and leave their
// masks after the number of updates a test gives each id), and a fixture that runs in a folder
// holding the map's coordinates file and a five-episode asset table, with the map's pictures,
// sounds and texts on a screens harness.
#include "MapPartsDoubles.h"
#include "ScreenTestDoubles.h"
#include "game/level/AssetCfg.h"
#include "game/level/LevelList.h"
#include "game/level/ProgressLevelServices.h"
#include "game/screens/LevelMapServices.h"
#include "game/screens/MapIntro.h"
#include "game/screens/MapPointRoot.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace MapTest
{
class FakeLevelMapServices : public LevelMapServices
{
public:
    // How a registered particle system behaves, in updates of the particles.
    struct Script
    {
        // A system without a running path dies after this many updates.
        int life = 10;
        // A path started on it runs this many updates.
        int pathUpdates = 0;
        // Its location lies inside its mask for this many updates.
        int insideUpdates = 1 << 30;
    };
    struct System
    {
        int id = 0;
        float x = 0, y = 0;
        uint64_t serial = 0;
        int age = 0;
        bool pathStarted = false;
        bool stopped = false;
        bool alive = true;
    };

    FakeLevelMapServices(LevelList& list, const AssetCfg& assets, ProgressLevelServices& progress)
        : mList(list), mAssets(assets), mProgress(progress)
    {
    }

    LevelList& GetLevelList() override { return mList; }
    const AssetCfg& GetAssets() override { return mAssets; }
    std::string GetProfileName() override { return profileName; }
    int GetTotalScore() override { return totalScore; }
    int GetLevelMedal(int level) override { return mProgress.GetLevelMedal(level); }
    const Profile* GetProfile() override { return profile; }
    void LoadTutorialSteps() override { mProgress.GetTutorial().LoadSteps(); }
    PlayServices& GetPlayServices() override { return play; }
    float GetFrameTime() override { return frameTime; }
    int GetCurrentSong() override { return currentSong; }
    void PlayMusic(int song, float) override
    {
        songs.push_back(song);
        currentSong = song;
    }
    void StopAllSounds() override { ++soundStops; }
    bool IsKeyDown(int keyCode) override { return keysDown.count(keyCode) != 0; }
    PointerPosition GetMousePos() override { return mouse; }

    ParticleRef SpawnParticleSystem(int id, float x, float y) override
    {
        spawns.push_back({id, x, y});
        if (scripts.count(id) == 0)
            return {};
        System system;
        system.id = id;
        system.x = x;
        system.y = y;
        system.serial = ++mSerial;
        systems.push_back(system);
        // A token, never dereferenced: the fake finds its systems by serial.
        return {reinterpret_cast<ParticleSystem*>(static_cast<uintptr_t>(system.serial) * 64), system.serial};
    }
    bool IsParticleAlive(const ParticleRef& ref) override
    {
        const System* system = Find(ref);
        return system != nullptr && system->alive;
    }
    void StartParticlePath(const ParticleRef& ref) override
    {
        if (System* system = Find(ref))
            system->pathStarted = true;
    }
    bool IsParticlePathRunning(const ParticleRef& ref) override
    {
        const System* system = Find(ref);
        return system != nullptr && system->pathStarted && system->age < scripts[system->id].pathUpdates;
    }
    void StopParticleSystem(const ParticleRef& ref) override
    {
        if (System* system = Find(ref))
            system->stopped = true;
    }
    FloatPoint GetParticlePosition(const ParticleRef& ref) override
    {
        const System* system = Find(ref);
        return system != nullptr ? FloatPoint{100.0f + static_cast<float>(system->age), 200.0f} : FloatPoint{};
    }
    bool IsInsideParticleMask(const ParticleRef& ref, int, int) override
    {
        const System* system = Find(ref);
        return system != nullptr && system->age < scripts[system->id].insideUpdates;
    }
    void KillAllParticles() override
    {
        ++particleKills;
        for (System& system : systems)
            system.alive = false;
    }
    void UpdateParticles(float) override
    {
        for (System& system : systems)
        {
            if (!system.alive)
                continue;
            ++system.age;
            const Script& script = scripts[system.id];
            // A stopped system dies at the next update; a path keeps its system until stopped.
            if (system.stopped || (!system.pathStarted && system.age >= script.life) ||
                (system.pathStarted && script.pathUpdates == 0 && system.age >= script.life))
                system.alive = false;
        }
    }
    void DrawParticles(Quoll::Graphics*) override { ++particleDraws; }
    void OnAchievementEvent(int eventId) override { events.push_back(eventId); }
    bool HasNewAchievements() override { return newAchievements; }
    bool IsAchievementPopupPending() override { return popupPending; }
    bool IsAchievementPopupTextShown() override { return popupText; }
    void UpdateAchievementPopup(float) override {}
    void DrawAchievementPopup(Quoll::Graphics*) override {}

    // The ids of the systems spawned, in order.
    [[nodiscard]] std::vector<int> SpawnedIds() const
    {
        std::vector<int> ids;
        for (const auto& spawn : spawns)
            ids.push_back(spawn.id);
        return ids;
    }

    struct Spawn
    {
        int id;
        float x, y;
    };
    // The bulbs', sparkles', random panel's and intro's services.
    MapParts::FakeServices play;
    const Profile* profile = nullptr;
    std::string profileName = "ann";
    int totalScore = 1234;
    float frameTime = 0.01f;
    int currentSong = -1;
    std::vector<int> songs;
    int soundStops = 0;
    std::set<int> keysDown;
    PointerPosition mouse;
    std::map<int, Script> scripts;
    std::vector<Spawn> spawns;
    std::vector<System> systems;
    int particleKills = 0;
    int particleDraws = 0;
    std::vector<int> events;
    bool newAchievements = false;
    bool popupPending = false;
    bool popupText = false;

private:
    System* Find(const ParticleRef& ref)
    {
        for (System& system : systems)
            if (system.serial == ref.serial && !ref.IsEmpty())
                return &system;
        return nullptr;
    }

    LevelList& mList;
    const AssetCfg& mAssets;
    ProgressLevelServices& mProgress;
    uint64_t mSerial = 0;
};

// An intro that the test finishes by hand; counts its calls.
class ScriptedIntro final : public MapIntro
{
public:
    void Update(float) override { ++updates; }
    [[nodiscard]] bool IsFinished() const override { return finished; }
    void DrawBack(Quoll::Graphics*) override { ++backDraws; }
    void DrawFront(Quoll::Graphics*) override { ++frontDraws; }

    bool finished = false;
    int updates = 0;
    int backDraws = 0;
    int frontDraws = 0;
};

// The group centres of the game's coordinates file, each group's picture's cel size.
inline std::vector<std::string> ReadSourceCoords()
{
    std::ifstream in(QUOLL_SOURCE_DIR "/data/art/textures/map/mapcoords.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

// A strip of cels, each a framed block of its own colour, or a ringed disc in the cel's middle.
inline std::unique_ptr<Quoll::MemoryImage> MakeStrip(int celWidth, int celHeight, const std::vector<uint32_t>& fills,
                                                     bool discs = false, int discRadius = 22)
{
    const int cels = static_cast<int>(fills.size());
    auto image = UiTest::MakeImage(celWidth * cels, celHeight, 0);
    uint32_t* bits = image->GetBits();
    for (int c = 0; c < cels; ++c)
        for (int y = 0; y < celHeight; ++y)
            for (int x = 0; x < celWidth; ++x)
            {
                uint32_t& pixel = bits[y * celWidth * cels + c * celWidth + x];
                if (discs)
                {
                    const int r = std::min(discRadius, std::min(celWidth, celHeight) / 2 - 1);
                    const int dx = 2 * x + 1 - celWidth, dy = 2 * y + 1 - celHeight;
                    const int d2 = dx * dx + dy * dy;
                    pixel = d2 > 4 * r * r ? 0 : d2 > 4 * (r - 2) * (r - 2) ? 0xFFFFFFFF : fills[static_cast<size_t>(c)];
                    continue;
                }
                const bool edge = x < 2 || y < 2 || x >= celWidth - 2 || y >= celHeight - 2;
                pixel = edge ? 0xFFFFFFFF : fills[static_cast<size_t>(c)];
            }
    image->mNumCols = cels;
    image->BitsChanged();
    return image;
}

// Runs in a folder of its own with the coordinates file (the game's, or as many lines as
// asked) and an asset table of five episodes (groups 1-5, 6-9, 10-14, 15-19, 20-24).
class MapFolder
{
public:
    explicit MapFolder(const std::string& name, int coordLines = -1) : mOldDir(std::filesystem::current_path())
    {
        mDir = std::filesystem::temp_directory_path() / ("level_map_" + std::to_string(::getpid()) + "_" + name);
        std::filesystem::create_directories(mDir / "data/art/textures/map");
        std::filesystem::current_path(mDir);
        WriteCoords(coordLines);
        std::ofstream cfg("data/game.cfg");
        cfg << "EPISODELEVELS 1 15\nEPISODELEVELS 2 27\nEPISODELEVELS 3 42\nEPISODELEVELS 4 57\nEPISODELEVELS 5 70\n";
    }
    ~MapFolder()
    {
        std::filesystem::current_path(mOldDir);
        std::filesystem::remove_all(mDir);
    }
    MapFolder(const MapFolder&) = delete;
    MapFolder& operator=(const MapFolder&) = delete;

    // -1: the game's file; otherwise that many lines, repeating the game's groups.
    static void WriteCoords(int lines)
    {
        const std::vector<std::string> source = ReadSourceCoords();
        std::ofstream out(MapPointRoot::kCoordsFile);
        out << "# test coordinates\n\n";
        const size_t count = lines < 0 ? source.size() : static_cast<size_t>(lines);
        for (size_t i = 0; i < count; ++i)
            out << source[i % source.size()] << "\n";
    }
    static void RemoveCoords() { std::filesystem::remove(MapPointRoot::kCoordsFile); }

private:
    std::filesystem::path mOldDir;
    std::filesystem::path mDir;
};

// The catalogue with its progress and asset table, and the fake services over them.
struct MapWorld
{
    explicit MapWorld()
    {
        assets.Load([](const std::string&) {});
        list.Init();
        list.BuildLevelTable();
    }

    ProgressLevelServices progress;
    AssetCfg assets;
    LevelList list{progress, &assets};
    FakeLevelMapServices services{list, assets, progress};
};

// The map's pictures (plain framed blocks, a strip per group of the game's cel size), sounds and
// texts on the harness. Without the achievements icon, the button finds none by its name on the
// harness and asks the application's resource manager for it.
inline void AddMapResources(UiTest::FakeUiServices& ui, bool withAchievementsIcon = true)
{
    static std::vector<std::unique_ptr<Quoll::MemoryImage>> images;
    static std::vector<std::string> names;
    if (images.empty())
    {
        const auto add = [](const std::string& name, std::unique_ptr<Quoll::MemoryImage> image) {
            image->mFilePath = name;
            names.push_back(name);
            images.push_back(std::move(image));
        };
        add("IMAGE_MAP", ScreenTest::MakeFramedImage(1024, 768, 0xFF17343F, 0xFF3A7080));
        const std::vector<std::string> coords = ReadSourceCoords();
        for (size_t g = 0; g < coords.size(); ++g)
        {
            std::istringstream line(coords[g]);
            std::string label;
            int x = 0, y = 0, w = 0, h = 0;
            line >> label >> x >> y >> w >> h;
            add("IMAGE_LEV_" + std::to_string(g + 1), MakeStrip(w, h, {0xFF405868, 0xFF4A80A8, 0xFF58A8E0}, true));
        }
        add("IMAGE_MEDAL1", MakeStrip(96, 96, {0xFFB07040}, true));
        add("IMAGE_MEDAL2", MakeStrip(96, 96, {0xFFB8C0C8}, true));
        add("IMAGE_MEDAL3", MakeStrip(96, 96, {0xFFF0C020}, true));
        add("IMAGE_MINI_CELLS",
            MakeStrip(32, 32, {0xFFF0CB48, 0xFF4D9FC9, 0xFFD482FE, 0xFF1BA771, 0xFF8B7FD1}));
        add("IMAGE_MINI_MEDALS", MakeStrip(32, 32, {0xFFB07040, 0xFFB8C0C8, 0xFFF0C020}));
        add("IMAGE_MINI_BACS", MakeStrip(32, 32,
                                         {0xFF40E070, 0xFFE04040, 0xFF4060E0, 0xFFE0E040, 0xFFE040E0, 0xFF40E0E0,
                                          0xFFE09040, 0xFF904020},
                                         true, 6));
        add("IMAGE_MINI_GLOW", ScreenTest::MakeFramedImage(58, 58, 0x80FFFFFF, 0xFFFFFFFF));
        add("IMAGE_MINI_LINE", ScreenTest::MakeFramedImage(64, 6, 0xFFFFFFFF, 0xFFFFFFFF));
        add("IMAGE_MAPMENU_FONE", ScreenTest::MakeFramedImage(1024, 96, 0xE0102028, 0xFF3A7080));
        add("IMAGE_STRELKA", ScreenTest::MakeFramedImage(24, 36, 0xFFFFD000, 0xFFFFFFFF));
        add("IMAGE_GLORIA", ScreenTest::MakeFramedImage(96, 96, 0xFFFFF0B0, 0xFFFFFFFF));
        add("IMAGE_STAKAN", ScreenTest::MakeFramedImage(96, 128, 0xFF80C0D0, 0xFFFFFFFF));
        add("IMAGE_BACKSTEP_FONE", ScreenTest::MakeFramedImage(100, 93, 0xFF304858, 0xFF6A90A8));
        add("IMAGE_BONUSH", ScreenTest::MakeFramedImage(64, 64, 0x60FFFFA0, 0x60FFFFA0));
        add("IMAGE_KREST", ScreenTest::MakeFramedImage(24, 24, 0xFFE04040, 0xFFFFFFFF));
        add("IMAGE_ACHIEVE_ICON", ScreenTest::MakeFramedImage(54, 42, 0xFFFFFFFF, 0xFF909090));
    }
    for (size_t i = 0; i < images.size(); ++i)
        if (withAchievementsIcon || names[i] != "IMAGE_ACHIEVE_ICON")
            ui.Register(names[i], images[i].get());
    for (const char* sound :
         {"SOUND_OVER_SOPLYA", "SOUND_OVER_SOPLYABOSS", "SOUND_OVER_METAMEDAL", "SOUND_OVER_LEVEL", "SOUND_OVER_MEDAL",
          "SOUND_GLORIA_SHOW", "SOUND_GLORIA_FLY", "SOUND_GLORIA_FLYEND", "SOUND_MEDALEVEL_COMPLETE",
          "SOUND_LEVEL_COMPLETE", "SOUND_LEVEL_CLICK", "SOUND_RNDLEVEL_CLICK"})
        ui.Register(sound);
    ui.texts["UI_MAIN_MENU"] = L"Main Menu";
    ui.texts["UI_START"] = L"Start";
    ui.texts["UI_RANDOMLEVEL"] = L"Random dish";
}
} // namespace MapTest
