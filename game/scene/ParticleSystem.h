#pragma once
// ParticleSystem: up to 500 particles emitted from a moving emitter, simulated in fixed steps and
// drawn as tinted, turned and scaled copies of one image. Built from a particle description
// (ParticleFile.h) by the ParticleManager, which owns it and deletes it once it is stopped and its
// last particle has died; holders of the pointer ask the manager whether it is alive first.
//
// The emitter can follow a path of points; a mask polygon limits where particles are drawn.
#include "game/scene/ParticleFile.h"

#include <array>
#include <cstdint>
#include <vector>

class ParticleRandom;

namespace Quoll
{
class Graphics;
class Image;
}

struct Particle
{
    float x, y;
    float velocityX, velocityY;
    float gravity;
    float radial;
    float tangential;
    float spin, spinDelta;
    float size, sizeDelta;
    float r, g, b, a;
    float deltaR, deltaG, deltaB, deltaA;
    float age;
    float terminalAge;
};

// 1 / sqrt(x) by one Newton step from the bit-trick estimate (with 0.4999 for the half).
[[nodiscard]] float InvSqrt(float x);
// A colour of 0..1 channels as 0xAARRGGBB, each channel truncated from 255 x c after clamping.
[[nodiscard]] uint32_t PackParticleColour(float r, float g, float b, float a);

class ParticleSystem
{
public:
    static constexpr int kMaxParticles = 500;
    // System ages: stopped (emits nothing) and emitting without end.
    static constexpr float kStopped = -2.0f;
    static constexpr float kEndless = -1.0f;

    // Path modes: play once, loop, and back and forth.
    enum PathMode : int32_t
    {
        kPathOnce = 0,
        kPathLoop = 1,
        kPathPingPong = 2,
    };

    // The image drawn (not owned) and the steps per second (0: one step per update). The system
    // starts stopped.
    ParticleSystem(const ParticleFile& file, Quoll::Image* image, float frameRate, ParticleRandom& random,
                   bool is3D);
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Stopped: both locations move; running: new particles spread along the move.
    void MoveTo(float x, float y);
    // Stop, move to the point, fire: no streak from the old place.
    void FireAt(float x, float y);
    void Fire();
    // Emits no more; live particles finish their lives.
    void Stop() { mAge = kStopped; }
    // Fires at the first point and moves the emitter along the path; fewer than 2 points: nothing.
    void StartPath();
    [[nodiscard]] bool IsPathRunning() const { return mPathRunning; }
    // Winding-number test against the mask as stored (not closed: no edge from the last point
    // back to the first); a mask of fewer than 2 points holds nothing.
    [[nodiscard]] bool IsInsideMask(int x, int y) const { return InsideMask(x, y, false); }

    void Update(float dt);
    void Render(Quoll::Graphics* g);

    [[nodiscard]] float GetAge() const { return mAge; }
    [[nodiscard]] int GetLiveCount() const { return mLiveCount; }
    [[nodiscard]] bool IsFinished() const { return mAge == kStopped && mLiveCount == 0; }
    [[nodiscard]] float GetX() const { return mX; }
    [[nodiscard]] float GetY() const { return mY; }
    [[nodiscard]] const Particle& GetParticle(int i) const { return mParticles[static_cast<size_t>(i)]; }
    [[nodiscard]] const ParticleDesc& GetDesc() const { return mDesc; }
    [[nodiscard]] Quoll::Image* GetImage() const { return mImage; }
    [[nodiscard]] bool IsAdditive() const { return mAdditive; }
    // The manager's number for this system; never reused while the manager lives.
    [[nodiscard]] uint64_t GetSerial() const { return mSerial; }
    void SetSerial(uint64_t serial) { mSerial = serial; }
    void SetPathMode(int32_t mode) { mPathMode = mode; }

private:
    void Step(float dt);
    void AdvancePath(float dt);
    void MoveParticles(float dt);
    void Emit(float dt);
    void InitParticle(Particle& p, float fraction);
    [[nodiscard]] bool InsideMask(int x, int y, bool closed) const;
    void DrawParticle(Quoll::Graphics* g, const Particle& p);

    ParticleDesc mDesc;
    Quoll::Image* mImage;
    std::vector<ParticlePoint> mMask;
    std::vector<ParticlePoint> mPath;
    bool mAdditive;
    int32_t mPathMode;
    float mPathTime;
    float mPathElapsed = 0.0f;
    float mPathStepTime = 0.0f;
    bool mPathRunning = false;
    uint32_t mPathIndex = 0;
    // 0 forward, 1 backward (back-and-forth paths).
    int32_t mPathDirection = 0;
    float mFixedStep;
    float mAccumulator = 0.0f;
    float mAge = kStopped;
    float mEmissionResidue = 0.0f;
    float mPrevX = 0.0f, mPrevY = 0.0f;
    float mX = 0.0f, mY = 0.0f;
    int mLiveCount = 0;
    ParticleRandom& mRandom;
    bool mIs3D;
    uint64_t mSerial = 0;
    std::array<Particle, kMaxParticles> mParticles{};
};
