// levelc: the level compiler.
//   levelc compile <level.txt> <level.bin>   a level text to a level file
//   levelc print <level.bin>                 a level file as level text, on standard output
//                                            (its first line, a comment, names the layout read)
// Errors name the file and line and end the program with status 1.
#include "game/level/LevelText.h"

#include "framework/files/PakInterface.h"
#include "framework/platform/system/AtomicFile.h"

#include <iostream>
#include <span>
#include <string>

namespace
{
int Fail(const std::string& message)
{
    std::cerr << "levelc: " << message << "\n";
    return 1;
}

int Compile(const std::string& source, const std::string& target)
{
    std::string text;
    if (!Quoll::PakReadFile(source, text))
        return Fail("cannot open " + source);
    Quoll::Buffer body;
    LevelTextError error;
    if (!CompileLevelText(text, body, error))
        return Fail(source + ": " + error.ToString());
    // Written whole or not at all: a failed write leaves the old file as it was.
    if (!Quoll::Platform::WriteFileAtomically(target, std::span(body.GetDataPtr(), body.GetDataSize())))
        return Fail("cannot write " + target + "; it was left as it was");
    return 0;
}

int Print(const std::string& source)
{
    std::string bytes;
    if (!Quoll::PakReadFile(source, bytes))
        return Fail("cannot open " + source);
    Quoll::Buffer body;
    body.SetData(bytes.data(), bytes.size());
    std::string text;
    LevelTextError error;
    if (!PrintLevelText(body, text, error))
        return Fail(source + ": " + error.ToString());
    std::cout << text;
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "compile" && argc == 4)
        return Compile(argv[2], argv[3]);
    if (command == "print" && argc == 3)
        return Print(argv[2]);
    std::cerr << "usage: levelc compile <level.txt> <level.bin>\n       levelc print <level.bin>\n";
    return 2;
}
