// The particle systems of the generated data, served by the game application: every id the game's
// code spawns is registered and spawns, every registered system emits within its first second,
// the systems spawned at (0, 0) bring their own path, and the paths made from the map's
// coordinates run between the expected points, with the flights landing as the map sees them.
// A contact sheet of systems half a second in is written to <build>/particles/ for a look.
// Rerun: test_playdata --gtest_filter='PlayData.Particle*'.
#include "tests/shell/playdata/PlayDataFixture.h"
#include "tests/shell/playdata/SpawnedParticleIds.h"

#include "framework/core/Buffer.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "framework/files/PakInterface.h"
#include "game/scene/ParticleManager.h"
#include "game/scene/ParticleSystem.h"
#include "game/shell/ResourceIds.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace
{
using PlayDataTest::PlayData;

constexpr float kStep = 1.0f / 60.0f;
// Gloria's take-off point on the map (where the rising gloria image ends) and the point the
// intro's boss sends its rays from.
const ParticlePoint kTakeOff{245, 500};
const ParticlePoint kBossTop{635, 610};

struct Registered
{
    int id = 0;
    std::string file;
};

// The registry's table as the source folder holds it.
std::vector<Registered> RegisteredSystems()
{
    std::vector<Registered> systems;
    std::ifstream table(QUOLL_SOURCE_DIR "/data/particles.txt");
    for (std::string line; std::getline(table, line);)
    {
        std::istringstream words(line.substr(0, line.find('#')));
        Registered entry;
        if (words >> entry.id >> entry.file)
            systems.push_back(entry);
    }
    return systems;
}

// The centres of the map's group nodes, group 1 first, as the coordinates file gives them.
std::vector<ParticlePoint> MapNodeCentres()
{
    std::vector<ParticlePoint> nodes;
    std::ifstream coords(QUOLL_SOURCE_DIR "/data/art/textures/map/mapcoords.txt");
    for (std::string line; std::getline(coords, line);)
    {
        std::istringstream words(line);
        std::string label;
        int x = 0, y = 0, w = 0, h = 0;
        if (words >> label && label[0] != '#' && words >> x >> y >> w >> h)
            nodes.push_back({x + w / 2, y + h / 2});
    }
    return nodes;
}

ParticleFile ReadDescription(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(Quoll::PakReadFile(path, bytes)) << path;
    Quoll::Buffer buffer;
    buffer.WriteBytes(bytes.data(), bytes.size());
    buffer.SeekReadStart();
    return ReadParticleFile(buffer);
}

std::string FileOf(int id)
{
    for (const Registered& entry : RegisteredSystems())
        if (entry.id == id)
            return entry.file;
    return {};
}

double Distance(float x, float y, ParticlePoint p)
{
    return std::hypot(x - static_cast<float>(p.x), y - static_cast<float>(p.y));
}

class ParticleData : public PlayData
{
protected:
    void SetUp() override
    {
        PlayData::SetUp();
        LoadPlayGroups();
    }
    ParticleManager& Manager() { return *mApp->GetParticleManager(); }
};

TEST_F(ParticleData, EveryIdTheCodeSpawnsIsRegistered)
{
    const std::vector<PlayDataTest::SpawnCall> calls = PlayDataTest::FindSpawnCalls(QUOLL_SOURCE_DIR);
    std::set<int> spawned;
    for (const PlayDataTest::SpawnCall& call : calls)
    {
        EXPECT_FALSE(call.ids.empty()) << call.file << ": cannot tell which ids \"" << call.expression
                                       << "\" spawns; give its added part's values in SpawnedParticleIds.cpp";
        spawned.insert(call.ids.begin(), call.ids.end());
        for (int id : call.ids)
        {
            EXPECT_NE(mApp->SpawnParticleSystem(id, 100, 100), nullptr) << call.file << ": " << call.expression << " = " << id;
            // Spawned at (0, 0), a system stands where its path takes it.
            if (call.atOrigin && Manager().IsRegistered(id))
            {
                EXPECT_GE(ReadDescription(FileOf(id)).path.size(), 2u) << call.file << ": " << id << " has no path";
            }
        }
        mApp->KillAllParticles();
    }
    // The scan found the screens' and the play screen's calls.
    for (int id : {0, 7, 42, 65, 69, 71, 79, 82, 84, 86, 88, 90, 91, 93, 95})
        EXPECT_EQ(spawned.count(id), 1u) << id;
}

TEST_F(ParticleData, EveryRegisteredSystemEmitsWithinItsFirstSecond)
{
    const std::vector<Registered> systems = RegisteredSystems();
    ASSERT_GE(systems.size(), 90u);
    for (const Registered& entry : systems)
    {
        ParticleSystem* system = mApp->SpawnParticleSystem(entry.id, 512, 384);
        ASSERT_NE(system, nullptr) << entry.id;
        system->StartPath();
        int most = 0;
        for (float t = 0; t < 1.0f && Manager().IsAlive(system); t += kStep)
        {
            mApp->UpdateParticles(kStep);
            if (Manager().IsAlive(system))
                most = std::max(most, system->GetLiveCount());
        }
        EXPECT_GT(most, 0) << entry.id << " " << entry.file;
        mApp->KillAllParticles();
    }
}

// The intro's rays leave the top of the boss and end on their group's node; the flights leave
// the take-off point and end on theirs.
TEST_F(ParticleData, MapPathsRunFromTheirStartToTheGroupNode)
{
    const std::vector<ParticlePoint> nodes = MapNodeCentres();
    ASSERT_EQ(nodes.size(), 24u);
    for (int group = 1; group <= 24; ++group)
    {
        const ParticlePoint node = nodes[static_cast<size_t>(group - 1)];
        const ParticleFile flight = ReadDescription(FileOf(group + 11));
        ASSERT_GE(flight.path.size(), 2u) << group;
        EXPECT_EQ(flight.path.front(), kTakeOff) << group;
        EXPECT_EQ(flight.path.back(), node) << group;
        EXPECT_GT(flight.pathTime, 0.0f) << group;
        const ParticleFile ray = ReadDescription(FileOf(group + 41));
        ASSERT_GE(ray.path.size(), 2u) << group;
        EXPECT_EQ(ray.path.front(), kBossTop) << group;
        EXPECT_EQ(ray.path.back(), node) << group;
        // No step of either path is longer than a pixel or two, so the emitter glides.
        for (const auto* path : {&flight.path, &ray.path})
            for (size_t i = 1; i < path->size(); ++i)
                ASSERT_LE(std::abs((*path)[i].x - (*path)[i - 1].x) + std::abs((*path)[i].y - (*path)[i - 1].y), 2)
                    << group << " at " << i;
    }
}

// As the map flies Gloria: each frame, a flight whose path has ended is stopped; otherwise its
// emitter is tested against the mask, and the first frame outside after being inside lands her
// at the last point inside. She takes off inside the mask and lands beside her group's node,
// also when the frames are as long as the map allows (0.1 s).
TEST_F(ParticleData, FlightsLandOnTheirNodeAsTheMapSeesThem)
{
    const std::vector<ParticlePoint> nodes = MapNodeCentres();
    ASSERT_EQ(nodes.size(), 24u);
    for (float frame : {kStep, 0.1f})
        for (int group = 1; group <= 24; ++group)
        {
            ParticleSystem* flight = mApp->SpawnParticleSystem(group + 11, 0, 0);
            ASSERT_NE(flight, nullptr) << group;
            flight->StartPath();
            ASSERT_TRUE(flight->IsInsideMask(kTakeOff.x, kTakeOff.y)) << group;
            bool inside = false, landed = false;
            float lastX = 0, lastY = 0, flown = 0;
            while (Manager().IsAlive(flight) && flight->IsPathRunning() && !landed && flown < 5.0f)
            {
                const int x = static_cast<int>(flight->GetX()), y = static_cast<int>(flight->GetY());
                if (flight->IsInsideMask(x, y))
                {
                    inside = true;
                    lastX = flight->GetX();
                    lastY = flight->GetY();
                }
                else
                    landed = inside;
                mApp->UpdateParticles(frame);
                flown += frame;
            }
            EXPECT_TRUE(landed) << group << " at frames of " << frame << " s";
            const double allowed = 6.0 + 450.0 * frame; // the hole and one frame's flight
            EXPECT_LE(Distance(lastX, lastY, nodes[static_cast<size_t>(group - 1)]), allowed) << group;
            mApp->KillAllParticles();
        }
}

// A look at the art: a page of bursts, each in its cell, and a page of the map's paths over the
// map, all half a second after they were spawned. Each cell must show some light.
TEST_F(ParticleData, ContactSheetShowsEverySystemHalfASecondIn)
{
    ASSERT_TRUE(Services().LoadResourceGroup("Map"));
    constexpr int kWidth = 1024, kHeight = 768, kCell = 256;
    const int bursts[] = {0, 3, 7, 9, 11, 37, 39, 79, 82, 84, 90, 91, 93, 94, 96, 74};
    const int paths[] = {12, 27, 33, 44, 58, 68, 70, 73, 76, 78, 75};
    std::filesystem::create_directories(QUOLL_BINARY_DIR "/particles");
    for (const bool onMap : {false, true})
    {
        Quoll::MemoryImage screen;
        std::vector<uint32_t> ground(static_cast<size_t>(kWidth * kHeight), 0xFF101820u);
        screen.SetBits(ground.data(), kWidth, kHeight);
        Quoll::Graphics g(&screen);
        if (onMap)
            g.DrawImage(mApp->GetImageById(IMAGE_MAP), 0, 0);
        if (!onMap)
            for (size_t i = 0; i < std::size(bursts); ++i)
            {
                ParticleSystem* system =
                    mApp->SpawnParticleSystem(bursts[i], static_cast<float>(static_cast<int>(i % 4) * kCell + kCell / 2),
                                              static_cast<float>(static_cast<int>(i / 4) * (kHeight / 4) + kHeight / 8));
                ASSERT_NE(system, nullptr) << bursts[i];
            }
        else
            for (int id : paths)
            {
                ParticleSystem* system = mApp->SpawnParticleSystem(id, 0, 0);
                ASSERT_NE(system, nullptr) << id;
                system->StartPath();
            }
        for (float t = 0; t < 0.5f; t += kStep)
            mApp->UpdateParticles(kStep);
        const std::vector<uint32_t> empty(screen.GetBits(), screen.GetBits() + kWidth * kHeight);
        mApp->DrawParticles(&g);
        mApp->KillAllParticles();
        const std::string name = onMap ? "paths" : "bursts";
        ImageLib::Image picture(kWidth, kHeight);
        std::copy(screen.GetBits(), screen.GetBits() + kWidth * kHeight, picture.GetBits());
        for (int i = 0; i < kWidth * kHeight; ++i)
            picture.GetBits()[i] |= 0xFF000000u;
        EXPECT_TRUE(ImageLib::WritePng(QUOLL_BINARY_DIR "/particles/" + name + ".png", picture)) << name;
        if (onMap)
            continue;
        for (size_t i = 0; i < std::size(bursts); ++i)
        {
            const int left = static_cast<int>(i % 4) * kCell, top = static_cast<int>(i / 4) * (kHeight / 4);
            int lit = 0;
            for (int y = top; y < top + kHeight / 4; ++y)
                for (int x = left; x < left + kCell; ++x)
                    lit += screen.GetBits()[y * kWidth + x] != empty[static_cast<size_t>(y * kWidth + x)] ? 1 : 0;
            EXPECT_GT(lit, 20) << bursts[i];
        }
    }
}
} // namespace
