#pragma once
// MT19937 with the standard single-integer seeding and tempering; draws are reduced to
// 31 bits. One program-wide instance serves the framework and the game (the free functions
// below); every game logic owns another whose state is saved with the level.
#include <array>
#include <cstdint>
#include <string>

namespace Quoll
{
class MersenneTwister
{
public:
    static constexpr int kWords = 624;
    static constexpr uint32_t kDefaultSeed = 4357;
    // 625 little-endian words: the state vector, then the index.
    static constexpr size_t kStateBytes = (kWords + 1) * 4;

    MersenneTwister() { Seed(kDefaultSeed); }

    // A seed of 0 means 4357.
    void Seed(uint32_t seed);
    // Next value in 0..2147483647.
    uint32_t NextWord();
    // NextWord() modulo bound; bound must be at least 1.
    uint32_t Next(uint32_t bound);
    // A value from 0 to bound, both ends included, drawn from this instance.
    float NextFloat(float bound);

    [[nodiscard]] std::string GetState() const;
    // A string of exactly kStateBytes with an index in 0..624 is taken; anything else
    // reseeds with 4357.
    void SetState(const std::string& state);

private:
    void Regenerate();

    std::array<uint32_t, kWords> mWords{};
    int32_t mIndex = kWords;
};

// The program-wide generator.
MersenneTwister& GlobalRandom();
uint32_t RandomWord();
uint32_t RandInt(uint32_t bound);
float RandFloat(float bound);
float RandomFraction(float bound);
void SeedRandom(uint32_t seed);
} // namespace Quoll
