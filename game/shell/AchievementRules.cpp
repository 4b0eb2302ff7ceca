#include "game/shell/AchievementRules.h"

#include <array>
#include <cassert>

namespace
{
// Achievement n is entry n - 1. Comments name the events (see the README).
constexpr std::array<AchievementRule, AchievementRules::kAchievementCount> kRules = {{
    {8, 8, 1},      // 1  the first move of the player's bacteria
    {9, 9, 100},    // 2  100 jumps
    {10, 10, 100},  // 3  100 clones
    {11, 11, 20},   // 4  20 moves within 3.5 s of the previous one
    {12, 12, 500},  // 5  500 rounds played
    {13, 13, 1},    // 6  the cursor switch used
    {14, 14, 1},    // 7  a level started with its tutorial
    {15, 15, 1},    // 8  the first level won
    {15, 15, 25},   // 9  25 levels won
    {16, 16, 10},   // 10 10 levels lost
    {17, 17, 1},    // 11 the first gold medal
    {17, 17, 20},   // 12 20 gold medals
    {18, 18, 1},    // 13 a medal other than gold
    {19, 19, 10},   // 14 10 step-backs
    {20, 20, 50},   // 15 50 landings that captured nothing
    {21, 21, 500},  // 16 500 landings that captured something
    {22, 22, 1},    // 17 five cells captured by one landing
    {23, 23, 1},    // 18 six cells captured by one landing
    {24, 24, 1},    // 19 every campaign level with a gold medal
    {25, 25, 1},    // 20 episode 1's special group reached
    {26, 26, 1},    // 21 episode 2's
    {27, 27, 1},    // 22 episode 3's
    {28, 28, 1},    // 23 episode 4's
    {29, 29, 1},    // 24 episode 5's
    {30, 30, 1},    // 25 the first hidden object caught
    {30, 30, 25},   // 26 25 hidden objects caught
    {31, 31, 1},    // 27 a bomb that wiped out more than three enemies
    {32, 32, 10},   // 28 10 mines laid
    {33, 33, 10},   // 29 10 teleports
    {34, 34, 10},   // 30 10 bombs that hit an enemy
    {35, 35, 10},   // 31 10 enemies blown up by mines
    {36, 36, 1},    // 32 an enemy stepped on the mine just laid
    {37, 37, 1},    // 33 the player's own bacterium stepped on a mine
    {38, 38, 1},    // 34 a level won with every enemy wiped out
    {39, 39, 1},    // 35 the free cells handed to the player
    {40, 40, 1},    // 36 15 minutes without input
    {42, 42, 10},   // 37 10 hinted moves followed
    {44, 44, 1},    // 38 the enemies overtaken by one landing
    {45, 49, 5},    // 39 5 random levels won, any episodes
    {50, 50, 1},    // 40 a boss beaten
}};
} // namespace

namespace AchievementRules
{
const AchievementRule& Get(int number)
{
    assert(IsAchievementNumber(number) && "AchievementRules::Get: number outside 1..40");
    return kRules[static_cast<size_t>(number - 1)];
}

std::string GetNameKey(int number) { return "ACH" + std::to_string(number); }
} // namespace AchievementRules
