// Particle systems: the description reader's edge cases, the engine's generator and inverse
// square root, emission with its carried fraction and its cap, lifetimes, moves, the mask, the
// path, drawing per display kind, the manager's slots and serial numbers, its registry, and a
// seeded run pinned by a state hash after 120 steps.
// Rerun one case: test_scene --gtest_filter='Particle*.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/ParticleManager.h"

#include "framework/core/Buffer.h"
#include "framework/display/Graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

static_assert(!std::is_copy_constructible_v<ParticleSystem>);
static_assert(!std::is_copy_constructible_v<ParticleManager>);

namespace
{
// A plain burst: 100 particles a second for `lifetime`, each living 1 s, no motion.
ParticleFile Burst(float lifetime = -1.0f, int emission = 100)
{
    ParticleFile file;
    file.desc.emission = emission;
    file.desc.lifetime = lifetime;
    file.desc.lifeMin = 1.0f;
    file.desc.lifeMax = 1.0f;
    file.desc.sizeStart = file.desc.sizeEnd = 1.0f;
    for (int c = 0; c < 4; ++c)
        file.desc.colourStart[c] = file.desc.colourEnd[c] = 1.0f;
    return file;
}

Quoll::Buffer Bytes(const ParticleFile& file)
{
    Quoll::Buffer buffer;
    WriteParticleFile(file, buffer);
    buffer.SeekReadStart();
    return buffer;
}

// FNV-1a over the live particles' bytes and the system's state.
uint64_t StateHash(const ParticleSystem& system)
{
    uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    for (int i = 0; i < system.GetLiveCount(); ++i)
        mix(&system.GetParticle(i), sizeof(Particle));
    const float state[] = {system.GetAge(), system.GetX(), system.GetY()};
    mix(state, sizeof state);
    return hash;
}

struct ParticleFixture : ::testing::Test
{
    // n steps of 1/60 s, each update exactly one step.
    void Steps(int n)
    {
        for (int i = 0; i < n; ++i)
            manager.Update(1.0f / 60.0f);
    }

    FakeSceneServices services{7};
    ParticleManager manager{services, 60.0f};
    std::unique_ptr<Quoll::Image> spark = MakeSourceImage("spark", 16, 8);
};
} // namespace

TEST(ParticleFileTest, ShortEmptyAndCutDescriptions)
{
    Quoll::Buffer empty;
    const ParticleFile none = ReadParticleFile(empty);
    EXPECT_EQ(none.desc.emission, 0);
    EXPECT_FLOAT_EQ(none.desc.lifetime, 0.0f);

    // A fixed record cut short is completed with zeros.
    Quoll::Buffer shortRecord;
    shortRecord.WriteInt32(0);
    shortRecord.WriteInt32(77);
    shortRecord.SeekReadStart();
    EXPECT_EQ(ReadParticleFile(shortRecord).desc.emission, 77);

    // Counts beyond the data are clamped to the points present; names are cut at 259 bytes and at
    // their first zero byte; unknown tags are skipped.
    Quoll::Buffer tagged = Bytes(ParticleFile());
    tagged.SetData(tagged.GetDataPtr(), tagged.GetDataSize());
    tagged.WriteByte(9);
    tagged.WriteByte(3);
    tagged.WriteInt32(1000000);
    for (int i = 0; i < 3; ++i)
    {
        tagged.WriteInt32(i);
        tagged.WriteInt32(-i);
    }
    tagged.SeekReadStart();
    const ParticleFile cut = ReadParticleFile(tagged);
    EXPECT_EQ(cut.mask.size(), 3u);
    EXPECT_EQ(cut.mask[2], (ParticlePoint{2, -2}));

    ParticleFile named;
    named.imageName = std::string(400, 'a');
    Quoll::Buffer longName = Bytes(named);
    EXPECT_EQ(ReadParticleFile(longName).imageName.size(), ParticleFile::kMaxImageName);
    Quoll::Buffer zeroed = Bytes(ParticleFile());
    const std::string inner("ab\0cd", 5);
    zeroed.WriteByte(2);
    zeroed.WriteInt32(5);
    zeroed.WriteBytes(inner.data(), inner.size());
    EXPECT_EQ(ReadParticleFile(zeroed).imageName, "ab");
}

TEST(ParticleFileTest, FieldTableCoversTheFixedRecordInOrder)
{
    size_t next = 4;
    for (const ParticleField& field : ParticleFields())
    {
        EXPECT_EQ(field.fileOffset, next) << field.name;
        next = field.fileOffset + (field.kind == ParticleFieldKind::Byte ? 4 : 4 * static_cast<size_t>(field.count));
    }
    EXPECT_EQ(next, ParticleFile::kDescSize);
}

TEST(ParticleMathTest, GeneratorInverseSquareRootAndColourPacking)
{
    ParticleRandom random;
    random.Seed(1);
    // seed = 1 * 214013 + 2531011 = 2745024; 2745024 >> 16 = 41.
    EXPECT_FLOAT_EQ(random.Float(0.0f, 65535.0f), static_cast<float>(41.0 * static_cast<double>(1.0f / 65535.0f) * 65535.0));
    random.Seed(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i)
    {
        const float v = random.Float(-2.0f, 2.0f);
        EXPECT_GE(v, -2.0f);
        EXPECT_LE(v, 2.0f);
    }
    EXPECT_NEAR(InvSqrt(4.0f), 0.5f, 0.002f);
    EXPECT_NEAR(InvSqrt(100.0f), 0.1f, 0.0002f);
    EXPECT_EQ(PackParticleColour(1.0f, 0.5f, 0.0f, 1.0f), 0xFFFF7F00u);
    EXPECT_EQ(PackParticleColour(1.5f, -0.5f, 0.0f, 2.0f), 0xFFFF0000u); // clamped, not wrapped
}

TEST_F(ParticleFixture, EmissionCarriesItsFractionAndStopsAtTheCap)
{
    ParticleSystem* system = manager.Spawn(Burst(), spark.get(), 10, 10);
    ASSERT_NE(system, nullptr);
    Steps(30); // 100 / 60 particles a step, the fraction carried over
    EXPECT_NEAR(system->GetLiveCount(), 50, 1);

    ParticleSystem* dense = manager.Spawn(Burst(-1.0f, 100000), spark.get(), 10, 10);
    manager.Update(1.0f / 60.0f);
    EXPECT_EQ(dense->GetLiveCount(), ParticleSystem::kMaxParticles);
}

TEST_F(ParticleFixture, LifetimesEndEmissionAndTheManagerDeletesTheSystem)
{
    ParticleSystem* endless = manager.Spawn(Burst(-1.0f), spark.get(), 0, 0);
    EXPECT_FLOAT_EQ(endless->GetAge(), ParticleSystem::kEndless);
    ParticleSystem* timed = manager.Spawn(Burst(0.5f), spark.get(), 0, 0);
    const uint64_t serial = timed->GetSerial();
    for (int i = 0; i < 40; ++i)
        manager.Update(1.0f / 60.0f);
    EXPECT_FLOAT_EQ(timed->GetAge(), ParticleSystem::kStopped);
    EXPECT_GT(timed->GetLiveCount(), 0);
    for (int i = 0; i < 70; ++i)
        manager.Update(1.0f / 60.0f);
    EXPECT_FALSE(manager.IsAlive(timed));
    EXPECT_FALSE(manager.IsAlive(timed, serial));
    EXPECT_TRUE(manager.IsAlive(endless));
    EXPECT_FLOAT_EQ(endless->GetAge(), ParticleSystem::kEndless);
    manager.Kill(timed); // already gone: nothing
    EXPECT_EQ(manager.GetCount(), 1);
    endless->Stop();
    for (int i = 0; i < 70; ++i)
        manager.Update(1.0f / 60.0f);
    EXPECT_FALSE(manager.Update(0.0f));
}

TEST_F(ParticleFixture, MovesOfStoppedAndRunningEmitters)
{
    ParticleFile file = Burst(-1.0f, 600); // 10 a step
    ParticleSystem* system = manager.Spawn(file, spark.get(), 0, 0);
    system->Stop();
    system->MoveTo(100, 0);
    system->Fire();
    manager.Update(1.0f / 60.0f);
    for (int i = 0; i < system->GetLiveCount(); ++i)
        EXPECT_NEAR(system->GetParticle(i).x, 100.0f, 2.0f); // no streak from the old place
    system->MoveTo(200, 0);
    manager.Update(1.0f / 60.0f);
    // The ten new particles spread along the move from 100 to 200.
    float lowest = 1e9f, highest = -1e9f;
    for (int i = 10; i < system->GetLiveCount(); ++i)
    {
        lowest = std::min(lowest, system->GetParticle(i).x);
        highest = std::max(highest, system->GetParticle(i).x);
    }
    EXPECT_LT(lowest, 103.0f);
    EXPECT_GT(highest, 187.0f);
}

TEST_F(ParticleFixture, VelocityIsInPixelsPerTwentiethOfASecond)
{
    ParticleFile file = Burst(-1.0f, 60);
    file.desc.lifeMin = file.desc.lifeMax = 5.0f;
    file.desc.direction = 1.5707964f; // right
    file.desc.speedMin = file.desc.speedMax = 1.0f;
    ParticleSystem* system = manager.Spawn(file, spark.get(), 0, 0);
    manager.Update(1.0f / 60.0f);
    ASSERT_EQ(system->GetLiveCount(), 1);
    const float x0 = system->GetParticle(0).x;
    system->Stop();
    Steps(60);
    EXPECT_NEAR(system->GetParticle(0).x - x0, 20.0f, 0.01f);
    EXPECT_NEAR(system->GetParticle(0).velocityY, 0.0f, 1e-5);
}

TEST_F(ParticleFixture, OpenMaskMissesItsClosingEdgeWhichDrawingAdds)
{
    ParticleFile file = Burst();
    file.mask = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    ParticleSystem* system = manager.Spawn(file, spark.get(), 5, 5);
    // Only the right edge winds: without the closing left edge a point left of the square is
    // inside too.
    EXPECT_TRUE(system->IsInsideMask(5, 5));
    EXPECT_TRUE(system->IsInsideMask(-5, 5));
    EXPECT_FALSE(system->IsInsideMask(15, 5));

    // Drawn, the closed mask drops particles outside the square.
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    system->Stop();
    system->MoveTo(-50, 5);
    system->Fire();
    manager.Update(1.0f / 60.0f);
    ASSERT_GT(system->GetLiveCount(), 0);
    system->Render(&g);
    EXPECT_TRUE(screen.calls.empty());
}

TEST_F(ParticleFixture, PathAdvancesPointByPointAndEnds)
{
    ParticleFile file = Burst();
    file.path = {{0, 0}, {100, 0}, {100, 100}};
    file.pathTime = 3.0f; // one second a point
    ParticleSystem* system = manager.Spawn(file, spark.get(), 50, 50);
    system->StartPath();
    EXPECT_TRUE(system->IsPathRunning());
    EXPECT_FLOAT_EQ(system->GetX(), 0.0f);
    Steps(30);
    // Half a step along the unit direction, not half the segment.
    EXPECT_FLOAT_EQ(system->GetX(), 0.0f);
    Steps(36);
    EXPECT_FLOAT_EQ(system->GetX(), 100.0f);
    Steps(60);
    EXPECT_FALSE(system->IsPathRunning());

    file.path.resize(1);
    ParticleSystem* single = manager.Spawn(file, spark.get(), 50, 50);
    single->StartPath();
    EXPECT_FALSE(single->IsPathRunning());
}

TEST_F(ParticleFixture, DrawCallsFollowTheDisplayAndTheBlendMode)
{
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    ParticleFile file = Burst(-1.0f, 60);
    file.desc.sizeStart = file.desc.sizeEnd = 2.0f;
    file.additive = true;
    ParticleSystem* additive = manager.Spawn(file, spark.get(), 100, 100);
    manager.Update(1.0f / 60.0f);
    additive->Render(&g);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].rfind("StretchBlt spark to (", 0), 0u) << screen.calls[0];
    EXPECT_NE(screen.calls[0].find(",32,16) src (0,0,16,8) rgba(255,255,255,255) additive"), std::string::npos);
    EXPECT_EQ(g.GetDrawMode(), Quoll::DrawMode::Normal);
    EXPECT_FALSE(g.GetImageTint());

    screen.calls.clear();
    services.is3D = true;
    ParticleSystem* accelerated = manager.Spawn(file, spark.get(), 100, 100);
    manager.Kill(additive);
    manager.Update(1.0f / 60.0f);
    accelerated->Render(&g);
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].rfind("BltMatrix spark", 0), 0u) << screen.calls[0];
}

TEST_F(ParticleFixture, ManagerHoldsAHundredAndSerialsTellReusedAddresses)
{
    for (int i = 0; i < ParticleManager::kMaxSystems; ++i)
        ASSERT_NE(manager.Spawn(Burst(), spark.get(), 0, 0), nullptr);
    EXPECT_EQ(manager.Spawn(Burst(), spark.get(), 0, 0), nullptr);
    ParticleSystem* first = manager.GetSystem(0);
    const uint64_t serial = first->GetSerial();
    ParticleSystem* last = manager.GetSystem(99);
    manager.Kill(first);
    EXPECT_EQ(manager.GetSystem(0), last); // the last slot moved into the freed one
    EXPECT_EQ(manager.GetCount(), 99);
    ParticleSystem* next = manager.Spawn(Burst(), spark.get(), 0, 0);
    EXPECT_NE(next->GetSerial(), serial);
    EXPECT_FALSE(manager.IsAlive(next, serial));
    manager.KillAll();
    EXPECT_EQ(manager.GetCount(), 0);
    EXPECT_FALSE(manager.IsAlive(last));
}

TEST_F(ParticleFixture, RegistrySpawnsByIdAndLoadsNamedImagesOnce)
{
    EXPECT_EQ(manager.Spawn(5, 0, 0), nullptr);
    EXPECT_FALSE(manager.Register("no/such.psi", 5, 40));
    ParticleFile file = Burst();
    file.imageName = "own.png";
    {
        Quoll::Buffer bytes = Bytes(file);
        std::ofstream("burst.psi", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.GetDataPtr()), static_cast<std::streamsize>(bytes.GetDataSize()));
    }
    ASSERT_TRUE(manager.Register("burst.psi", 5, 40));
    EXPECT_EQ(manager.Spawn(5, 0, 0), nullptr);
    services.Register(40, "IMAGE_SPARK", spark.get());
    services.imageFiles["own.png"] = {4, 4};
    ParticleSystem* a = manager.Spawn(5, 1, 2);
    ParticleSystem* b = manager.Spawn(5, 3, 4);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetImage(), b->GetImage());
    EXPECT_EQ(a->GetImage()->mFilePath, "own.png");
    EXPECT_EQ(services.imagesLoaded, 1);
    EXPECT_EQ(services.log, (std::vector<std::string>{
                                "ERROR: Cannot spawn particle system, id: 5 not registered",
                                "ERROR: Cannot load particle system file: no/such.psi",
                                "ERROR: Cannot spawn particle system, image: 40 not loaded"}));
    // A name that does not load keeps the spawn's image.
    file.imageName = "missing.png";
    manager.Register(6, file, 40);
    ParticleSystem* plain = manager.Spawn(6, 0, 0);
    EXPECT_EQ(plain->GetImage(), spark.get());
    // Registering id 5 again frees its image, and the systems drawing with it go first.
    manager.Register(5, Burst(), 40);
    EXPECT_FALSE(manager.IsAlive(a));
    EXPECT_FALSE(manager.IsAlive(b));
    EXPECT_TRUE(manager.IsAlive(plain));
}

TEST_F(ParticleFixture, ZeroLifeParticlesGetNoDeltas)
{
    ParticleFile file = Burst(-1.0f, 60);
    file.desc.lifeMin = file.desc.lifeMax = 0.0f;
    file.desc.sizeEnd = 3.0f;
    ParticleSystem* system = manager.Spawn(file, spark.get(), 0, 0);
    manager.Update(1.0f / 60.0f);
    ASSERT_EQ(system->GetLiveCount(), 1);
    EXPECT_FLOAT_EQ(system->GetParticle(0).sizeDelta, 0.0f);
}

TEST_F(ParticleFixture, SeededSystemStateAfter120Steps)
{
    ParticleFile file = Burst(-1.0f, 90);
    file.desc.lifeMin = 0.5f;
    file.desc.lifeMax = 1.5f;
    file.desc.spread = 1.0f;
    file.desc.speedMin = 1.0f;
    file.desc.speedMax = 4.0f;
    file.desc.gravityMin = 2.0f;
    file.desc.gravityMax = 6.0f;
    file.desc.radialMin = -1.0f;
    file.desc.radialMax = 1.0f;
    file.desc.tangentialMin = 0.5f;
    file.desc.tangentialMax = 1.0f;
    file.desc.sizeEnd = 0.2f;
    file.desc.sizeVariation = 0.5f;
    file.desc.spinEnd = 3.0f;
    file.desc.spinVariation = 1.0f;
    file.desc.colourEnd[1] = 0.0f;
    file.desc.colourVariation = 0.3f;
    file.desc.alphaVariation = 0.2f;
    file.desc.relative = 1;
    ParticleSystem* system = manager.Spawn(file, spark.get(), 300, 200);
    for (int step = 0; step < 120; ++step)
    {
        system->MoveTo(300.0f + static_cast<float>(step), 200.0f);
        manager.Update(1.0f / 60.0f);
    }
    EXPECT_EQ(system->GetLiveCount(), 86);
    EXPECT_EQ(StateHash(*system), 0xb4bc04164c35238aull) << std::hex << StateHash(*system);
}
