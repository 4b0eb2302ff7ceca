// soundgen: synthesises every sound effect of the master resource table and the music loops.
//   soundgen <table> <out folder> [--stamp <file>]
// Effects go to <out>/<path>.wav (the table's path has no extension: the sound manager finds
// the type itself); the loops to <out>/data/music/<song>.ogg. The same inputs give the same bytes.
#include "tools/resgen/ResourceTable.h"
#include "tools/soundgen/AudioWriters.h"
#include "tools/soundgen/EffectRecipes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--stamp"))
    {
        std::fprintf(stderr, "usage: soundgen <table> <out folder> [--stamp <file>]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in)
    {
        std::fprintf(stderr, "soundgen: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::vector<ResGen::Entry> entries;
    std::string error;
    if (!ResGen::ParseTable(text, entries, error))
    {
        std::fprintf(stderr, "soundgen: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::filesystem::path out = argv[2];
    int written = 0;
    for (const ResGen::Entry& entry : entries)
    {
        if (entry.kind != ResGen::Kind::Sound)
            continue;
        const SoundGen::SynthBuffer sound = SoundGen::MakeEffect(entry.name.substr(6));
        const std::filesystem::path file = out / (entry.path + ".wav");
        std::filesystem::create_directories(file.parent_path());
        if (!SoundGen::WriteWav(file.string(), sound.ToPcm16(), SoundGen::kRate, error))
        {
            std::fprintf(stderr, "soundgen: %s\n", error.c_str());
            return 1;
        }
        ++written;
    }
    std::filesystem::create_directories(out / "data/music");
    for (const char* song : SoundGen::kSongNames)
    {
        const SoundGen::SynthBuffer music = SoundGen::MakeMusic(song);
        const std::filesystem::path file = out / "data/music" / (std::string(song) + ".ogg");
        if (!SoundGen::WriteOggVorbis(file.string(), music.Samples(), SoundGen::kRate, 0.2f, error))
        {
            std::fprintf(stderr, "soundgen: %s\n", error.c_str());
            return 1;
        }
        ++written;
    }
    if (argc == 5)
        std::ofstream(argv[4]) << written << " sounds\n";
    return 0;
}
