// Fuzz target of the mesh description language: the input is a description text, fed line by
// line to the reader; the layers it builds are updated and drawn a few times.
#include "FuzzSceneServices.h"

#include "framework/display/Graphics.h"
#include "game/scene/MeshDescription.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzSceneServices services;
    MeshDescriptionReader reader(services, "fuzz");
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    std::string raw;
    int number = 0;
    while (std::getline(text, raw))
    {
        std::stringstream line(raw);
        reader.ReadLine(line, ++number);
    }
    Quoll::Image screen;
    Quoll::Graphics g(&screen);
    for (auto& node : reader.TakeNodes())
        for (int i = 0; i < 3; ++i)
        {
            node->Update(0.01f);
            node->Draw(&g);
        }
    return 0;
}
