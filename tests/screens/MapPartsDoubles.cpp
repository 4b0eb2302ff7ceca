#include "MapPartsDoubles.h"

#include "framework/display/Graphics.h"
#include "game/scene/FrameAnimation.h"

#include <algorithm>
#include <cmath>

namespace MapParts
{
namespace
{
// The particle texture every registered ray draws with.
constexpr const char* kRayImage = "IMAGE_TEST_PARTICLE";

uint32_t Lighter(uint32_t argb)
{
    uint32_t out = argb & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const uint32_t c = (argb >> shift) & 0xFFu;
        out |= std::min<uint32_t>(255u, c + 80u) << shift;
    }
    return out;
}
} // namespace

FakeServices::FakeServices(uint32_t seed)
{
    random.Seed(seed);
    AddImage(kRayImage, 8, 8, 0xFFFFFFFFu);
}

FakeServices::~FakeServices()
{
    particles.KillAll();
}

Quoll::MemoryImage* FakeServices::AddPainted(const std::string& name, int width, int height,
                                              uint32_t (*paint)(int x, int y, int width, int height))
{
    std::vector<uint32_t> bits(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bits[static_cast<size_t>(y * width + x)] = paint(x, y, width, height);
    auto image = std::make_unique<Quoll::MemoryImage>();
    image->SetBits(bits.data(), width, height);
    image->mFilePath = name;
    Quoll::MemoryImage* raw = image.get();
    mOwned.push_back(std::move(image));
    mImages[GetResourceIdByName(name)] = raw;
    return raw;
}

Quoll::MemoryImage* FakeServices::AddImage(const std::string& name, int width, int height, uint32_t argb, int columns)
{
    std::vector<uint32_t> bits(static_cast<size_t>(width * height), argb);
    const int cel = width / columns;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x % cel == 0 || x % cel == cel - 1 || y == 0 || y == height - 1)
                bits[static_cast<size_t>(y * width + x)] = Lighter(argb);
    auto image = std::make_unique<Quoll::MemoryImage>();
    image->SetBits(bits.data(), width, height);
    image->mNumCols = columns;
    image->mNumRows = 1;
    image->mFilePath = name;
    Quoll::MemoryImage* raw = image.get();
    mOwned.push_back(std::move(image));
    mImages[GetResourceIdByName(name)] = raw;
    return raw;
}

void FakeServices::SetAnimation(const std::string& name, int frames, int delayMs)
{
    FrameAnimation animation;
    animation.Init(static_cast<uint32_t>(delayMs), static_cast<uint32_t>(frames), false);
    mAnimations.Add(GetResourceIdByName(name), animation);
}

void FakeServices::RegisterRay(int id, int updates)
{
    ParticleFile file;
    file.desc.lifetime = ParticleSystem::kEndless;
    file.desc.emission = 0;
    // Two points: the path ends once more than half its time has passed.
    file.path = {{0, 0}, {100, 100}};
    file.hasPathTime = true;
    file.pathTime = 2.0f * (static_cast<float>(updates) - 0.5f) * 0.01f;
    particles.Register(id, file, GetResourceIdByName(kRayImage));
}

int FakeServices::CountSound(const std::string& name) const
{
    return static_cast<int>(std::count_if(sounds.begin(), sounds.end(), [&](const SoundCall& s) { return s.name == name; }));
}

int FakeServices::CountSpawns(int id) const
{
    return static_cast<int>(std::count_if(spawns.begin(), spawns.end(), [&](const SpawnCall& s) { return s.id == id; }));
}

Quoll::Image* FakeServices::GetImageById(int id)
{
    const auto found = mImages.find(id);
    return found == mImages.end() ? nullptr : found->second;
}

int FakeServices::GetResourceIdByName(const std::string& name)
{
    // Every name gets an id on first use, so that sounds are recorded by their names.
    const auto found = mIds.find(name);
    if (found != mIds.end())
        return found->second;
    const int id = static_cast<int>(mIds.size()) + 1;
    mIds[name] = id;
    mNames[id] = name;
    return id;
}

int FakeServices::GetImageResourceId(const Quoll::Image* image)
{
    for (const auto& [id, held] : mImages)
        if (held == image)
            return id;
    return kNoImageId;
}

FrameAnimation* FakeServices::GetFrameAnimation(const Quoll::Image* image)
{
    const int id = GetImageResourceId(image);
    if (image == nullptr || id == kNoImageId)
        return nullptr;
    if (FrameAnimation* found = mAnimations.Find(id))
        return found;
    return &mAnimations.Add(id, FrameAnimation());
}

void FakeServices::PlaySound(int soundId, float volume, float pan)
{
    const auto found = mNames.find(soundId);
    sounds.push_back({found == mNames.end() ? "?" : found->second, volume, pan});
}

ParticleRef FakeServices::SpawnParticleSystem(int id, float x, float y)
{
    spawns.push_back({id, x, y});
    ParticleSystem* system = particles.IsRegistered(id) ? particles.Spawn(id, x, y) : nullptr;
    if (system == nullptr)
        return {};
    return {system, system->GetSerial()};
}

bool FakeServices::IsParticleAlive(const ParticleRef& system) const
{
    return !system.IsEmpty() && particles.IsAlive(system.system, system.serial);
}

void FakeServices::MoveParticleSystem(const ParticleRef& system, float x, float y)
{
    if (IsParticleAlive(system))
        system.system->MoveTo(x, y);
}

void FakeServices::StopParticleSystem(const ParticleRef& system)
{
    if (IsParticleAlive(system))
        system.system->Stop();
}

void FakeServices::KillParticleSystem(const ParticleRef& system)
{
    if (IsParticleAlive(system))
        particles.Kill(system.system);
}

void FakeServices::KillAllParticles()
{
    events.push_back("kill all");
    particles.KillAll();
}

bool FakeServices::LoadResourceGroup(const std::string& group)
{
    events.push_back("load " + group);
    return true;
}

std::wstring FakeServices::GetText(const std::string& key)
{
    const auto found = texts.find(key);
    return found != texts.end() ? found->second : std::wstring(key.begin(), key.end());
}

Campaign::Campaign()
{
    assets.Load([](const std::string&) {}, QUOLL_SOURCE_DIR "/data/game.cfg");
    levels.Init();
}

FakeIntroMap::FakeIntroMap(FakeServices& services, const LevelList& levels)
    : points(static_cast<size_t>(levels.GetGroupCount())), bulbs(services, levels)
{
}

void FakeIntroMap::HideAllPoints()
{
    calls.emplace_back("hide");
    for (Point& point : points)
        point = {};
}

void FakeIntroMap::ShowOpenedPoints()
{
    calls.emplace_back("show opened");
    for (Point& point : points)
        point = {true, 0.0f};
}

void FakeIntroMap::FadePoint(int index, float seconds, bool fadeIn)
{
    char line[64];
    std::snprintf(line, sizeof line, "fade %d %.1f", index, static_cast<double>(seconds));
    calls.emplace_back(line);
    Point& point = points.at(static_cast<size_t>(index));
    point.shown = fadeIn;
    point.fadeLeft = seconds;
}

bool FakeIntroMap::AnyPointFading() const
{
    return std::any_of(points.begin(), points.end(), [](const Point& p) { return p.fadeLeft > 0.0f; });
}

void FakeIntroMap::Update(float dt)
{
    for (Point& point : points)
        point.fadeLeft = std::max(0.0f, point.fadeLeft - dt);
}

void FakeIntroMap::Draw(Quoll::Graphics* g) const
{
    for (size_t i = 0; i < points.size(); ++i)
    {
        if (!points[i].shown)
            continue;
        const int x = 80 + static_cast<int>(i % 8) * 110;
        const int y = 120 + static_cast<int>(i / 8) * 150;
        g->SetColor(Quoll::Color(80, 200, 120, 255));
        g->FillRect(x, y, 40, 40);
    }
}
} // namespace MapParts
