// flow_gallery <folder>: each "<name>.png" of the folder (the frames of a play-through's named
// checkpoints) against tests/golden/flow/<name>.png, pixel for pixel. Prints one line a picture;
// exits 1 when any differs or has no golden (QUOLL_UPDATE_GOLDEN=1 writes it instead).
#include "framework/files/ImageLib.h"
#include "tests/GoldenImage.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: flow_gallery <folder of checkpoint frames>\n");
        return 2;
    }
    std::vector<std::filesystem::path> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (entry.path().extension() == ".png")
            pictures.push_back(entry.path());
    std::sort(pictures.begin(), pictures.end());
    // Where a differing frame is written (the golden helper's place for the "flow" area).
    std::filesystem::create_directories(std::string(QUOLL_BINARY_DIR) + "/tests/flow");
    int failures = 0;
    for (const auto& path : pictures)
    {
        const auto image = ImageLib::ReadImageFile(path.string());
        const std::string name = path.stem().string();
        if (!image)
        {
            std::printf("%s: cannot read %s\n", name.c_str(), path.c_str());
            ++failures;
            continue;
        }
        const auto result = Quoll::Testing::MatchesAreaGolden("flow", name, image->GetBits(), image->GetWidth(),
                                                              image->GetHeight());
        std::printf("%s: %s\n", name.c_str(), result ? "as its golden" : result.message());
        failures += result ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
