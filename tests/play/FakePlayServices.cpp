#include "FakePlayServices.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kCellImageBase = 118;
constexpr int kBodyImageBase = 137;
constexpr int kBornImageBase = 145;
constexpr int kBonusImageBase = 187;
constexpr int kGlowImageBase = 191;
constexpr int kInventoryGlowId = 132;

constexpr const char* kSoundNames[] = {
    "SOUND_BAC_SPAWN",       "SOUND_BOSSBAC_SPAWN",  "SOUND_BAC_POP",        "SOUND_BOSSBAC_POP",
    "SOUND_BACGLORIA_OVER1", "SOUND_BACBOSS_OVER1",  "SOUND_BACENEMY_OVER1", "SOUND_BOMB_EXPLOSION1",
    "SOUND_MINE_EXPLOSION",  "SOUND_BONUS_DESTROY",  "SOUND_BONUS_GETFLY",   "SOUND_BONUS_FLY_END",
    "SOUND_CELLS_FLYIN",     "SOUND_CELLS_FLYOUT",   "SOUND_CELLS_DONE",
};

uint32_t Argb(int a, int r, int g, int b)
{
    const auto clamp = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return clamp(a) << 24 | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

// Inside a flat-topped hexagon of half-width 34 and half-height 33 around the cel's centre,
// shrunk by `inset` pixels.
bool InHex(double x, double y, double inset)
{
    const double ax = std::abs(x - 34.5);
    const double ay = std::abs(y - 33.0);
    const double h = 33.0 - inset;
    return ay <= h && ax <= (34.0 - inset) - ay * 17.0 / 33.0;
}

// The colour of a kind of cell in a skin: three tones of the skin's hue.
uint32_t CellColour(int skin, int kind, double shade)
{
    static const int hues[5][3] = {{40, 90, 140}, {60, 120, 70}, {120, 70, 130}, {140, 100, 50}, {70, 70, 90}};
    const int* h = hues[(skin - 1) % 5];
    const double k = (0.7 + 0.25 * kind) * shade;
    return Argb(255, static_cast<int>(h[0] * k), static_cast<int>(h[1] * k), static_cast<int>(h[2] * k));
}

// The bacteria kinds' colours.
const int kKindColours[8][3] = {{90, 220, 90},  {220, 80, 80},   {80, 140, 240}, {230, 200, 60},
                                {200, 90, 220}, {80, 220, 220},  {240, 140, 60}, {160, 160, 160}};
} // namespace

FakePlayServices::FakePlayServices(uint32_t seed)
{
    random.Seed(seed);
    for (size_t i = 0; i < std::size(kSoundNames); ++i)
        RegisterSound(300 + static_cast<int>(i), kSoundNames[i]);
    for (int id : {0, 1, 2, 3, 4, 5, 6, 7, 79, 80, 81, 82, 83, 84})
        registeredParticles.insert(id);
}

FakePlayServices::~FakePlayServices() = default;

Quoll::MemoryImage* FakePlayServices::MakeImage(int id, const std::string& name, int celWidth, int celHeight,
                                                int columns)
{
    auto image = std::make_unique<Quoll::MemoryImage>();
    std::vector<uint32_t> blank(static_cast<size_t>(celWidth * columns * celHeight), 0);
    image->SetBits(blank.data(), celWidth * columns, celHeight);
    image->mNumCols = columns;
    image->mNumRows = 1;
    image->mFilePath = name;
    Quoll::MemoryImage* raw = image.get();
    mOwned.push_back(std::move(image));
    Register(id, name, raw);
    return raw;
}

void FakePlayServices::RegisterArt()
{
    // Cell strips: three kinds of cell, then the selection ring, the clone mark and the target ring.
    for (int skin = 1; skin <= 5; ++skin)
    {
        Quoll::MemoryImage* strip =
            MakeImage(kCellImageBase + skin, "IMAGE_CELL" + std::to_string(skin), kCellWidth, kCellHeight, 6);
        uint32_t* bits = strip->GetBits();
        const int stride = kCellWidth * 6;
        for (int cel = 0; cel < 6; ++cel)
            for (int y = 0; y < kCellHeight; ++y)
                for (int x = 0; x < kCellWidth; ++x)
                {
                    const double px = x + 0.5;
                    const double py = y + 0.5;
                    uint32_t colour = 0;
                    if (cel < 3 && InHex(px, py, 1.5))
                        colour = CellColour(skin, cel, InHex(px, py, 5) ? 0.85 : 1.3);
                    else if (cel == 3 && InHex(px, py, 1) && !InHex(px, py, 5))
                        colour = Argb(255, 255, 240, 120);
                    else if (cel == 4 && InHex(px, py, 8))
                        colour = Argb(140, 120, 255, 140);
                    else if (cel == 5 && InHex(px, py, 3) && !InHex(px, py, 7))
                        colour = Argb(255, 140, 230, 255);
                    bits[static_cast<size_t>(y * stride + cel * kCellWidth + x)] = colour;
                }
        strip->BitsChanged();
    }
    // Bodies breathe over eight frames; births grow from a speck.
    for (int kind = 1; kind <= 8; ++kind)
    {
        const int* c = kKindColours[kind - 1];
        for (bool born : {false, true})
        {
            const std::string name = (born ? "IMAGE_BORN_" : "IMAGE_BODY_") + std::to_string(kind);
            Quoll::MemoryImage* strip =
                MakeImage((born ? kBornImageBase : kBodyImageBase) + kind, name, kBodySize, kBodySize, 8);
            uint32_t* bits = strip->GetBits();
            for (int frame = 0; frame < 8; ++frame)
            {
                const double radius = born ? 3.0 + 2.8 * frame : 21.0 + std::sin(frame * 0.785) * 1.5;
                for (int y = 0; y < kBodySize; ++y)
                    for (int x = 0; x < kBodySize; ++x)
                    {
                        const double dx = x + 0.5 - kBodySize / 2.0;
                        const double dy = y + 0.5 - kBodySize / 2.0;
                        const double d = std::hypot(dx, dy);
                        if (d > radius)
                            continue;
                        const double light = 1.25 - 0.5 * std::hypot(dx + radius * 0.35, dy + radius * 0.35) / radius;
                        const bool eye = !born && std::abs(dy + 4) < 3.5 && std::abs(std::abs(dx) - 6) < 3;
                        bits[static_cast<size_t>(y * kBodySize * 8 + frame * kBodySize + x)] =
                            eye ? Argb(255, 20, 20, 30)
                                : Argb(255, static_cast<int>(c[0] * light), static_cast<int>(c[1] * light),
                                       static_cast<int>(c[2] * light));
                    }
            }
            strip->BitsChanged();
            FrameAnimation animation;
            animation.Init(born ? kBirthFrameMs : 90, 8, !born);
            mAnimations.Add(GetImageResourceId(strip), animation);
        }
    }
    // Bonuses: a mine, a teleport ring, a bomb and a laid mine; glows are soft discs.
    static const int bonusColours[4][3] = {{230, 70, 60}, {170, 90, 240}, {60, 60, 70}, {250, 150, 40}};
    for (int n = 1; n <= 4; ++n)
    {
        Quoll::MemoryImage* picture =
            MakeImage(kBonusImageBase + n, "IMAGE_BONUS" + std::to_string(n), kBonusSize, kBonusSize, 1);
        uint32_t* bits = picture->GetBits();
        const int* c = bonusColours[n - 1];
        for (int y = 0; y < kBonusSize; ++y)
            for (int x = 0; x < kBonusSize; ++x)
            {
                const double d = std::hypot(x + 0.5 - 20, y + 0.5 - 20);
                const bool spike = (x == 20 || y == 20 || x == y || x == 39 - y) && d < 19;
                const bool body = n == 2 ? (d < 16 && d > 10) : d < 13;
                if (body || spike)
                    bits[static_cast<size_t>(y * kBonusSize + x)] = Argb(255, c[0], c[1], c[2]);
            }
        picture->BitsChanged();
    }
    for (int n = 0; n <= 3; ++n)
    {
        const int id = n == 0 ? kInventoryGlowId : kGlowImageBase + n;
        Quoll::MemoryImage* glow = MakeImage(id, n == 0 ? "IMAGE_BONUSH" : "IMAGE_BONUS" + std::to_string(n) + "H",
                                             60, 60, 1);
        uint32_t* bits = glow->GetBits();
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
            {
                const double a = std::clamp(1.0 - std::hypot(x + 0.5 - 30, y + 0.5 - 30) / 30.0, 0.0, 1.0);
                bits[static_cast<size_t>(y * 60 + x)] = Argb(static_cast<int>(a * a * 220), 255, 230, 150);
            }
        glow->BitsChanged();
    }
}

void FakePlayServices::Register(int id, const std::string& name, Quoll::Image* image)
{
    mImages[id] = image;
    mIds[name] = id;
}

void FakePlayServices::RegisterSound(int id, const std::string& name)
{
    mIds[name] = id;
    mSoundNames[id] = name;
}

Quoll::Image* FakePlayServices::GetImageById(int id)
{
    const auto found = mImages.find(id);
    return found != mImages.end() ? found->second : nullptr;
}

int FakePlayServices::GetResourceIdByName(const std::string& name)
{
    const auto found = mIds.find(name);
    return found != mIds.end() ? found->second : 456;
}

int FakePlayServices::GetImageResourceId(const Quoll::Image* image)
{
    for (const auto& [id, bound] : mImages)
        if (bound == image)
            return id;
    return kNoImageId;
}

FrameAnimation* FakePlayServices::GetFrameAnimation(const Quoll::Image* image)
{
    const int id = GetImageResourceId(image);
    if (image == nullptr || id == kNoImageId)
        return nullptr;
    if (FrameAnimation* found = mAnimations.Find(id))
        return found;
    return &mAnimations.Add(id, FrameAnimation());
}

FrameAnimation* FakePlayServices::GetEmotionAnimation(int code)
{
    if (code < kFirstEmotionCode || code > kLastEmotionCode)
        return nullptr;
    if (FrameAnimation* found = mAnimations.Find(code))
        return found;
    return &mAnimations.Add(code, FrameAnimation());
}

int FakePlayServices::GetPlayerBacteria(int player) const
{
    if (player < 1 || player > 3)
        return 1;
    const auto index = static_cast<size_t>(player - 1);
    return ChoosePlayerBacteria(player, aiLevels[index], kinds[0], kinds[1], kinds[2]);
}

void FakePlayServices::PlaySound(int soundId, float volume, float pan)
{
    const auto found = mSoundNames.find(soundId);
    const std::string name = found != mSoundNames.end() ? found->second : "unknown " + std::to_string(soundId);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " %.2f %.2f", static_cast<double>(volume), static_cast<double>(pan));
    sounds.push_back(name + numbers);
}

int FakePlayServices::CountSound(const std::string& name) const
{
    return static_cast<int>(std::count_if(sounds.begin(), sounds.end(), [&name](const std::string& line) {
        return line.compare(0, name.size() + 1, name + " ") == 0;
    }));
}

int FakePlayServices::CountParticles(int id) const
{
    return static_cast<int>(
        std::count_if(particles.begin(), particles.end(), [id](const Particle& p) { return p.id == id; }));
}

ParticleRef FakePlayServices::SpawnParticleSystem(int id, float x, float y)
{
    if (registeredParticles.count(id) == 0)
    {
        LogError("Cannot spawn particle system, id: " + std::to_string(id) + " not registered");
        return {};
    }
    Particle& particle = particles.emplace_back();
    particle.id = id;
    particle.x = x;
    particle.y = y;
    particle.serial = mNextSerial++;
    // The handle's address only identifies the record; nothing reads through it.
    return {reinterpret_cast<ParticleSystem*>(&particle), particle.serial};
}

const FakePlayServices::Particle* FakePlayServices::FindParticle(const ParticleRef& system) const
{
    for (const Particle& particle : particles)
        if (reinterpret_cast<const ParticleSystem*>(&particle) == system.system && particle.serial == system.serial)
            return &particle;
    return nullptr;
}

bool FakePlayServices::IsParticleAlive(const ParticleRef& system) const
{
    const Particle* particle = FindParticle(system);
    return particle != nullptr && !particle->killed;
}

void FakePlayServices::MoveParticleSystem(const ParticleRef& system, float x, float y)
{
    if (auto* particle = const_cast<Particle*>(FindParticle(system)); particle != nullptr && !particle->killed)
    {
        particle->x = x;
        particle->y = y;
    }
}

void FakePlayServices::StopParticleSystem(const ParticleRef& system)
{
    if (auto* particle = const_cast<Particle*>(FindParticle(system)); particle != nullptr && !particle->killed)
        particle->stopped = true;
}

void FakePlayServices::KillParticleSystem(const ParticleRef& system)
{
    if (auto* particle = const_cast<Particle*>(FindParticle(system)))
        particle->killed = true;
}

void FakePlayServices::KillAllParticles()
{
    for (Particle& particle : particles)
        particle.killed = true;
}

bool FakePlayServices::LoadResourceGroup(const std::string& group)
{
    events.push_back("load " + group);
    return true;
}

std::wstring FakePlayServices::GetText(const std::string& key)
{
    const auto found = texts.find(key);
    return found != texts.end() ? found->second : std::wstring(key.begin(), key.end());
}

bool FakePlayServices::IsAchieved(int achievement, bool* isNew) const
{
    if (isNew != nullptr)
        *isNew = false;
    return achieved.count(achievement) != 0;
}
