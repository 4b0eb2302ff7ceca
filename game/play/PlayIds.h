#pragma once
// The resource ids the play screen computes with: a base id plus a kind, skin or grade picks one
// image of a block that the generated id table keeps contiguous. The checks below hold the table
// to that wherever the generated header is built.
#include "game/shell/PlayServices.h"

namespace PlayIds
{
// The number of generated ids; GetResourceIdByName answers it for unknown names.
inline constexpr int kIdCount = 456;

// 118 + skin (1..5): the cell strips.
inline constexpr int kCellImageBase = 118;
// 137 + kind (1..8): the bacteria's bodies; 145 + kind: their births.
inline constexpr int kBodyImageBase = 137;
inline constexpr int kBornImageBase = 145;
// 187 + kind / 4 (1..4): the bonus images; 191 + kind / 4 (1..3): their glows.
inline constexpr int kBonusImageBase = 187;
inline constexpr int kBonusGlowImageBase = 191;
// 46 + n (1..40): the achievement icons; 197 + n (1..3): the step-back counters;
// 202 + grade (1..3): the medal icons.
inline constexpr int kAchievementImageBase = 46;
inline constexpr int kBackstepImageBase = 197;
inline constexpr int kMedalIconImageBase = 202;

// Particle systems the units start.
inline constexpr int kBonusBurstParticleBase = 78; // + kind / 4
inline constexpr int kBonusFlightParticle = 83;
inline constexpr int kBombExplosionParticle = 84;
} // namespace PlayIds

static_assert(kFirstEmotionCode > PlayIds::kIdCount && kLastEmotionCode > kFirstEmotionCode,
              "emotion codes must lie above every resource id");

#if __has_include("game/shell/ResourceIds.h")
#include "game/shell/ResourceIds.h"
static_assert(kResourceIdCount == PlayIds::kIdCount);
static_assert(kFirstEmotionCode > kResourceIdCount);
static_assert(IMAGE_ACH1 == PlayIds::kAchievementImageBase + 1 && IMAGE_ACH40 == PlayIds::kAchievementImageBase + 40);
static_assert(IMAGE_CELL1 == PlayIds::kCellImageBase + 1 && IMAGE_CELL5 == PlayIds::kCellImageBase + 5);
static_assert(IMAGE_BODY_1 == PlayIds::kBodyImageBase + 1 && IMAGE_BODY_8 == PlayIds::kBodyImageBase + 8);
static_assert(IMAGE_BORN_1 == PlayIds::kBornImageBase + 1 && IMAGE_BORN_8 == PlayIds::kBornImageBase + 8);
static_assert(IMAGE_BONUS1 == PlayIds::kBonusImageBase + 1 && IMAGE_BONUS4 == PlayIds::kBonusImageBase + 4);
static_assert(IMAGE_BONUS1H == PlayIds::kBonusGlowImageBase + 1 && IMAGE_BONUS3H == PlayIds::kBonusGlowImageBase + 3);
static_assert(IMAGE_BACKSTEP_X1 == PlayIds::kBackstepImageBase + 1 &&
              IMAGE_BACKSTEP_X3 == PlayIds::kBackstepImageBase + 3);
static_assert(IMAGE_ICON_MEDAL1 == PlayIds::kMedalIconImageBase + 1 &&
              IMAGE_ICON_MEDAL3 == PlayIds::kMedalIconImageBase + 3);
#endif
