#include "tools/leveldriver/RandomLevelFile.h"

#include "game/board/Level.h"
#include "game/board/LevelList.h"
#include "game/board/NullLevelView.h"
#include "game/board/ProgressLevelServices.h"
#include "game/board/RandomLevelProvider.h"

#include "framework/app/MersenneTwister.h"

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
