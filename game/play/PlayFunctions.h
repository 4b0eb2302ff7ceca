#pragma once
// Small functions shared by the play screen and the screens around it: a string-list builder for
// the start-up and loading code, the sine ease of the cell views' transition paths, and the
// label colour blend of the fast menu's buttons.
#include "framework/display/Color.h"

#include <string>
#include <vector>

// Appends a copy of each string of a null-terminated array, in order; the vector is not cleared.
void AppendStringList(const char* const* strings, std::vector<std::string>& out);

// sin(t * pi / 2) with pi / 2 in single precision: 0 at t = 0, 1 at t = 1.
[[nodiscard]] float EaseOutSine(float t);

// The button label colour moved towards the label-over colour by t, each component stepped and
// truncated on its own: t = 0 gives ColorLabel, t = 1 ColorLabelOver.
[[nodiscard]] Quoll::Color BlendLabelColour(float t);
