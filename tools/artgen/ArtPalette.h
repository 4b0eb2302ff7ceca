#pragma once
// The house palette: the dark glass of the dish, the rim light and one colour per bacteria kind
// and per cell skin.
#include "tools/artgen/ArtCanvas.h"

namespace ArtGen
{
inline const Rgb kDeepGlass{0.02, 0.05, 0.08};
inline const Rgb kGlass{0.05, 0.14, 0.19};
inline const Rgb kRim{0.45, 0.95, 1.0};
inline const Rgb kWhite{1, 1, 1};
inline const Rgb kGold{1.0, 0.78, 0.25};
inline const Rgb kSilver{0.78, 0.86, 0.95};
inline const Rgb kBronze{0.85, 0.5, 0.25};

// Kind 1 is the player's colony; kinds 2 to 8 the others.
inline Rgb KindColor(int kind)
{
    static const Rgb colors[] = {{0.3, 1.0, 0.55}, {1.0, 0.35, 0.7},  {1.0, 0.7, 0.2},  {0.62, 0.48, 1.0},
                                 {1.0, 0.32, 0.25}, {0.25, 0.7, 1.0}, {0.8, 1.0, 0.3},  {0.3, 1.0, 0.95}};
    return colors[(kind - 1 + 8) % 8];
}

// Cell skins 1 to 5 (one per episode).
inline Rgb SkinColor(int skin)
{
    static const Rgb colors[] = {{0.35, 0.85, 1.0}, {0.4, 1.0, 0.6}, {1.0, 0.75, 0.35}, {0.7, 0.55, 1.0}, {1.0, 0.5, 0.65}};
    return colors[(skin - 1 + 5) % 5];
}

inline constexpr double kPi = 3.14159265358979323846;
} // namespace ArtGen
