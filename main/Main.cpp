// The game's executable. Until the game shell exists it reports what the build holds.
#include "framework/app/MersenneTwister.h"

#include <cstdio>

int main()
{
    std::printf("PetriGlow: the framework's core utilities are built; the game itself is not "
                "playable yet.\n");
    std::printf("Run ./test to build and check everything that exists so far.\n");
    return 0;
}
