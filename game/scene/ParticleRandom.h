#pragma once
// ParticleRandom: the particle engine's own generator, a 32-bit linear congruential seed separate
// from the game's generator, seeded once from it. Every random draw of the engine comes from here,
// in the order the particle system fixes.
#include <cstdint>

class ParticleRandom
{
public:
    [[nodiscard]] bool IsSeeded() const { return mSeeded; }
    void Seed(uint32_t seed)
    {
        mSeed = seed;
        mSeeded = true;
    }
    // A float from min to max, both ends included.
    float Float(float min, float max)
    {
        mSeed = mSeed * 214013u + 2531011u;
        constexpr float kStep = 1.0f / 65535.0f;
        return static_cast<float>(static_cast<double>(min) + static_cast<double>(mSeed >> 16) *
                                                                 static_cast<double>(kStep) *
                                                                 (static_cast<double>(max) - static_cast<double>(min)));
    }
    [[nodiscard]] uint32_t GetSeed() const { return mSeed; }

private:
    uint32_t mSeed = 0;
    bool mSeeded = false;
};
