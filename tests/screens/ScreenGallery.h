#pragma once
// The gallery of the game's screens: each scene shows one screen through a recording link with
// the harness's pictures and a real system font, and puts it in the state worth seeing (a name
// typed, a hint shown); the golden tests and the gallery program render the same scenes.
#include "ScreenTestDoubles.h"

#include <memory>
#include <string>
#include <vector>

namespace ScreenTest
{
struct GalleryScene
{
    std::string name;
    // Shows the screen on the harness after it was made.
    void (*show)(ScreenHarness& harness);
};

[[nodiscard]] const std::vector<GalleryScene>& GalleryScenes();

// A harness with the gallery's fonts (system fonts of two sizes); null when none can be read.
[[nodiscard]] std::unique_ptr<ScreenHarness> MakeGalleryHarness();

// Shows the scene, runs the updates at the harness's fixed seed and returns the screen's pixels.
[[nodiscard]] std::vector<uint32_t> RenderScene(ScreenHarness& harness, const GalleryScene& scene, int updates);
} // namespace ScreenTest
