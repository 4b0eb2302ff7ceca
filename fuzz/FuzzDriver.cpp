// Stand-alone driver for fuzz targets when no coverage-guided fuzzer is linked: feeds every
// file of the given corpus folders, then --runs=N pseudo-random inputs (mutations of the corpus
// files and fresh random bytes, seeded, so a failure reruns identically with the same N).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    long runs = 2000;
    std::vector<std::vector<uint8_t>> corpus;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strncmp(argv[i], "--runs=", 7) == 0)
        {
            runs = std::strtol(argv[i] + 7, nullptr, 10);
            continue;
        }
        std::error_code ec;
        const std::filesystem::path path(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path, ec))
        {
            for (const auto& entry : std::filesystem::directory_iterator(path, ec))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        }
        else if (std::filesystem::is_regular_file(path, ec))
            files.push_back(path);
        for (const auto& file : files)
        {
            std::ifstream in(file, std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(corpus.back().data(), corpus.back().size());
        }
    }
    std::mt19937 rng(20261206);
    for (long run = 0; run < runs; ++run)
    {
        std::vector<uint8_t> input;
        if (!corpus.empty() && run % 4 != 3)
        {
            input = corpus[rng() % corpus.size()];
            const int edits = 1 + static_cast<int>(rng() % 8);
            for (int e = 0; e < edits && !input.empty(); ++e)
            {
                const size_t at = rng() % input.size();
                switch (rng() % 4)
                {
                case 0: input[at] = static_cast<uint8_t>(rng()); break;
                case 1: input[at] = (rng() & 1) ? 0xFF : 0x00; break;
                case 2: input.resize(at); break;
                default: input.insert(input.begin() + static_cast<long>(at), static_cast<uint8_t>(rng())); break;
                }
            }
        }
        else
        {
            input.resize(rng() % 512);
            for (auto& byte : input)
                byte = static_cast<uint8_t>(rng());
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("fuzz driver: %zu corpus inputs, %ld generated inputs, no failure\n", corpus.size(), runs);
    return 0;
}
