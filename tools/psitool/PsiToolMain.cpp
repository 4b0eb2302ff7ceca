// psitool: particle descriptions between their ".psi" bytes and a readable text form.
//   psitool --to-psi <text> <out.psi> [--mapcoords <file>] [--define NAME=VALUE]...
//                                        writes the ".psi" file of a text description; its path
//                                        lines (PsiPaths.h) read the map's node centres from the
//                                        coordinates file and "$NAME" words from the defines
//   psitool --to-text <in.psi> [<out>]   prints a ".psi" file as text (to standard output)
#include "PsiPaths.h"
#include "PsiText.h"

#include "framework/core/Buffer.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace
{
bool ReadWhole(const std::string& path, std::string& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

bool WriteWhole(const std::string& path, const void* data, size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

int Usage()
{
    std::cerr << "usage: psitool --to-psi <text> <out.psi> [--mapcoords <file>] [--define NAME=VALUE]...\n"
                 "       psitool --to-text <in.psi> [<out.txt>]\n";
    return 2;
}

// The options after the two file names of --to-psi; false with a message when one does not read.
bool ReadPathOptions(int argc, char** argv, PathContext& context, std::string& error)
{
    for (int i = 4; i < argc; i += 2)
    {
        const std::string option = argv[i];
        if (i + 1 >= argc)
        {
            error = option + " needs a value";
            return false;
        }
        const std::string value = argv[i + 1];
        if (option == "--mapcoords")
        {
            std::string text;
            if (!ReadWhole(value, text))
            {
                error = "cannot read " + value;
                return false;
            }
            if (!ReadMapNodes(text, context.nodes, error))
            {
                error = value + ", " + error;
                return false;
            }
        }
        else if (option == "--define" && value.find('=') != std::string::npos && value.find('=') > 0)
            context.defines[value.substr(0, value.find('='))] = value.substr(value.find('=') + 1);
        else
        {
            error = "unknown option " + option + " " + value;
            return false;
        }
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string mode = argv[1];
    std::string input;
    if (!ReadWhole(argv[2], input))
    {
        std::cerr << "psitool: cannot read " << argv[2] << '\n';
        return 1;
    }
    if (mode == "--to-psi" && argc >= 4)
    {
        PathContext context;
        std::string error;
        if (!ReadPathOptions(argc, argv, context, error))
        {
            std::cerr << "psitool: " << error << '\n';
            return Usage();
        }
        std::string expanded;
        ParticleFile file;
        if (!ExpandPathLines(input, context, expanded, error) || !ParseParticleText(expanded, file, error))
        {
            std::cerr << "psitool: " << argv[2] << ", " << error << '\n';
            return 1;
        }
        Quoll::Buffer buffer;
        WriteParticleFile(file, buffer);
        if (!WriteWhole(argv[3], buffer.GetDataPtr(), buffer.GetDataSize()))
        {
            std::cerr << "psitool: cannot write " << argv[3] << '\n';
            return 1;
        }
        return 0;
    }
    if (mode == "--to-text" && (argc == 3 || argc == 4))
    {
        Quoll::Buffer buffer;
        buffer.WriteBytes(input.data(), input.size());
        buffer.SeekReadStart();
        const std::string text = PrintParticleText(ReadParticleFile(buffer));
        if (argc == 3)
        {
            std::cout << text;
            return 0;
        }
        if (!WriteWhole(argv[3], text.data(), text.size()))
        {
            std::cerr << "psitool: cannot write " << argv[3] << '\n';
            return 1;
        }
        return 0;
    }
    return Usage();
}
