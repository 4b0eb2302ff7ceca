#pragma once
// Scenery pieces shared by the full-screen painters and the comics pages.
#include "tools/artgen/ArtCatalogue.h"

namespace ArtGen
{
// Dark glass ground filling the cel, lit softly in the middle with the tint.
void Ground(ArtCanvas& canvas, const Cel& cel, const Rgb& tint);
// A petri dish seen from above: agar with specks, glass wall, rim light and its reflection.
void Dish(ArtCanvas& canvas, ArtRandom& random, double cx, double cy, double r, const Rgb& tint, int specks);
} // namespace ArtGen
