#include "tools/leveldriver/RandomLevelFile.h"

#include "game/level/Level.h"
#include "game/level/LevelList.h"
#include "game/level/NullLevelView.h"
#include "game/level/ProgressLevelServices.h"
#include "game/level/RandomLevelProvider.h"

#include "framework/core/MersenneTwister.h"

bool GenerateRandomLevelFile(int episode, uint32_t seed, int completedLevels, Quoll::Buffer& body)
{
    ProgressLevelServices services;
    services.CompleteLevels(completedLevels);
    services.SetLevelNumber(-episode);
    LevelList catalogue(services);
    catalogue.Init();
    Quoll::SeedRandom(seed);
    NullLevelView view;
    Level level(view, services);
    const bool generated =
        level.GenerateRandomLevel(Game::RandomLevelProvider::ForLevel(services.GetCurrentLevelNumber(), &catalogue));
    return generated && level.Save(body, true);
}
