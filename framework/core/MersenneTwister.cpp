#include "framework/core/MersenneTwister.h"

#include <cassert>

namespace Quoll
{
namespace
{
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr uint32_t kMatrix[2] = {0u, 0x9908B0DFu};
constexpr int kShift = 397;

float FractionOf(uint32_t word, float bound)
{
    return static_cast<float>(static_cast<double>(word) / 2147483647.0 * static_cast<double>(bound));
}
} // namespace

void MersenneTwister::Seed(uint32_t seed)
{
    mWords[0] = seed == 0 ? kDefaultSeed : seed;
    for (int i = 1; i < kWords; ++i)
        mWords[i] = 1812433253u * (mWords[i - 1] ^ (mWords[i - 1] >> 30)) + static_cast<uint32_t>(i);
    mIndex = kWords;
}

void MersenneTwister::Regenerate()
{
    auto mix = [](uint32_t a, uint32_t b) { return (a & kUpperMask) | (b & kLowerMask); };
    int k = 0;
    for (; k < kWords - kShift; ++k)
    {
        const uint32_t y = mix(mWords[k], mWords[k + 1]);
        mWords[k] = mWords[k + kShift] ^ (y >> 1) ^ kMatrix[y & 1u];
    }
    for (; k < kWords - 1; ++k)
    {
        const uint32_t y = mix(mWords[k], mWords[k + 1]);
        mWords[k] = mWords[k + kShift - kWords] ^ (y >> 1) ^ kMatrix[y & 1u];
    }
    const uint32_t y = mix(mWords[kWords - 1], mWords[0]);
    mWords[kWords - 1] = mWords[kShift - 1] ^ (y >> 1) ^ kMatrix[y & 1u];
    mIndex = 0;
}

uint32_t MersenneTwister::NextWord()
{
    if (mIndex >= kWords)
        Regenerate();
    uint32_t y = mWords[static_cast<size_t>(mIndex++)];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y & 0x7FFFFFFFu;
}

uint32_t MersenneTwister::Next(uint32_t bound)
{
    assert(bound >= 1 && "MersenneTwister::Next: bound must be at least 1");
    return NextWord() % bound;
}

float MersenneTwister::NextFloat(float bound) { return FractionOf(NextWord(), bound); }

std::string MersenneTwister::GetState() const
{
    std::string state;
    state.reserve(kStateBytes);
    auto put = [&state](uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8)
            state.push_back(static_cast<char>((word >> shift) & 0xFFu));
    };
    for (uint32_t word : mWords)
        put(word);
    put(static_cast<uint32_t>(mIndex));
    return state;
}

void MersenneTwister::SetState(const std::string& state)
{
    if (state.size() != kStateBytes)
    {
        Seed(kDefaultSeed);
        return;
    }
    auto word = [&state](size_t i) {
        uint32_t value = 0;
        for (int b = 0; b < 4; ++b)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(state[i * 4 + b])) << (8 * b);
        return value;
    };
    const auto index = static_cast<int32_t>(word(kWords));
    if (index < 0 || index > kWords)
    {
        Seed(kDefaultSeed);
        return;
    }
    for (size_t i = 0; i < kWords; ++i)
        mWords[i] = word(i);
    mIndex = index;
}

MersenneTwister& GlobalRandom()
{
    static MersenneTwister instance;
    return instance;
}

uint32_t RandomWord() { return GlobalRandom().NextWord(); }
uint32_t RandInt(uint32_t bound) { return GlobalRandom().Next(bound); }
float RandFloat(float bound) { return RandomFraction(bound); }
float RandomFraction(float bound) { return FractionOf(RandomWord(), bound); }
void SeedRandom(uint32_t seed) { GlobalRandom().Seed(seed); }
} // namespace Quoll
