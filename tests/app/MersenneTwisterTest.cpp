// MersenneTwister: agreement with the standard MT19937, state save and restore, fractions.
#include "framework/core/MersenneTwister.h"

#include <gtest/gtest.h>

#include <random>

using Quoll::MersenneTwister;

TEST(MersenneTwister, MatchesStandardMt19937MaskedTo31Bits)
{
    for (uint32_t seed : {4357u, 9823745u, 0u})
    {
        MersenneTwister mt;
        mt.Seed(seed);
        std::mt19937 reference(seed == 0 ? 4357u : seed);
        for (int i = 0; i < 10000; ++i)
            ASSERT_EQ(mt.NextWord(), reference() & 0x7FFFFFFFu) << "seed " << seed << " draw " << i;
    }
}

TEST(MersenneTwister, FreshGeneratorIsSeeded4357)
{
    MersenneTwister mt;
    std::mt19937 reference(4357u);
    EXPECT_EQ(mt.NextWord(), reference() & 0x7FFFFFFFu);
}

TEST(MersenneTwister, StateRoundTrip)
{
    MersenneTwister a;
    a.Seed(99);
    for (int i = 0; i < 700; ++i)
        a.NextWord();
    const std::string state = a.GetState();
    ASSERT_EQ(state.size(), MersenneTwister::kStateBytes);
    MersenneTwister b;
    b.SetState(state);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(a.NextWord(), b.NextWord());
}

TEST(MersenneTwister, BadStateReseedsWithDefault)
{
    MersenneTwister fresh;
    const uint32_t first = fresh.NextWord();

    MersenneTwister shortState;
    shortState.Seed(5);
    shortState.SetState(std::string(2499, '\0'));
    EXPECT_EQ(shortState.NextWord(), first);

    MersenneTwister badIndex;
    badIndex.Seed(5);
    std::string state = badIndex.GetState();
    state[2496] = '\x71'; // index 625 + more: out of range
    state[2497] = '\x02';
    badIndex.SetState(state);
    EXPECT_EQ(badIndex.NextWord(), first);
}

TEST(MersenneTwister, BoundedDrawsAndFractions)
{
    MersenneTwister a, b;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(a.Next(7), b.NextWord() % 7);

    // NextFloat draws from the instance, not from the program-wide generator.
    Quoll::SeedRandom(1);
    MersenneTwister c, d;
    const uint32_t globalBefore = Quoll::GlobalRandom().NextWord();
    Quoll::SeedRandom(1);
    const float f = c.NextFloat(1.0f);
    EXPECT_EQ(Quoll::GlobalRandom().NextWord(), globalBefore);
    EXPECT_FLOAT_EQ(f, static_cast<float>(d.NextWord() / 2147483647.0));
}

TEST(MersenneTwister, ProgramWideFunctions)
{
    Quoll::SeedRandom(0);
    MersenneTwister reference;
    EXPECT_EQ(Quoll::RandomWord(), reference.NextWord());
    EXPECT_EQ(Quoll::RandInt(10), reference.Next(10));
    const float expected = static_cast<float>(reference.NextWord() / 2147483647.0 * 2.0);
    EXPECT_FLOAT_EQ(Quoll::RandFloat(2.0f), expected);
}
