// Fuzz target of the configuration line reader: the input is written to a file that a
// ConfigFile then reads line by line, each line parsed as a keyword and numbers as the
// game's readers do.
#include "framework/files/ConfigFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/quoll_fuzz_config_" + std::to_string(::getpid()) + ".cfg";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);
    Quoll::ConfigFile config;
    if (config.Open(path))
    {
        std::stringstream line;
        while (config.NextLine(line))
        {
            std::string keyword;
            int value = 0;
            line >> keyword;
            while (line >> value)
            {
            }
        }
    }
    std::remove(path.c_str());
    return 0;
}
