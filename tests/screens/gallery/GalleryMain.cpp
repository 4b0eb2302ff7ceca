// screens_gallery: renders one screen of the gallery (or all of them) on the 2D path after N
// updates and writes it as a PNG, so that a person can look at a screen without the game.
//   screens_gallery <scene|all> [updates] [output folder]
// Run it where "data/art/textures/interface/slider.txt" can be found for lit sliders.
#include "../ScreenGallery.h"
#include "framework/files/ImageLib.h"

#include <algorithm>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: screens_gallery <scene|all> [updates] [output folder]\nscenes:");
        for (const auto& scene : ScreenTest::GalleryScenes())
            std::fprintf(stderr, " %s", scene.name.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }
    const std::string wanted = argv[1];
    const int updates = argc > 2 ? std::max(0, std::atoi(argv[2])) : 3;
    const std::string folder = argc > 3 ? argv[3] : ".";
    int written = 0;
    for (const auto& scene : ScreenTest::GalleryScenes())
    {
        if (wanted != "all" && wanted != scene.name)
            continue;
        auto harness = ScreenTest::MakeGalleryHarness();
        if (!harness)
        {
            std::fprintf(stderr, "no system font can be read\n");
            return 1;
        }
        const auto pixels = ScreenTest::RenderScene(*harness, scene, updates);
        ImageLib::Image picture(harness->ui.appWidth, harness->ui.appHeight);
        std::copy(pixels.begin(), pixels.end(), picture.GetBits());
        const std::string path = folder + "/" + scene.name + ".png";
        if (!ImageLib::WritePng(path, picture))
        {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
        ++written;
    }
    if (written == 0)
    {
        std::fprintf(stderr, "no scene %s\n", wanted.c_str());
        return 2;
    }
    return 0;
}
