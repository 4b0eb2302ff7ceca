#pragma once
// The line reader of the text configuration files (".cfg", ".anim", ".fone", record files).
// Hands over one meaningful line at a time: empty lines and lines whose first character is
// '#' are skipped. Lines may be of any length and end in LF or CR LF. Reads through the
// pack-file layer.
#include <sstream>
#include <string>

namespace Quoll
{
class ConfigFile
{
public:
    ConfigFile() = default;
    ~ConfigFile() = default;
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    // Closes any file opened before; false when the file cannot be opened or read.
    bool Open(const std::string& fileName);
    void Close();
    // Puts the next meaningful line into the stream (its state cleared); false at the end.
    bool NextLine(std::stringstream& line);
    // The physical line number of the line last handed over (1 for the first line of the
    // file), for " on Line " messages; 0 before the first.
    [[nodiscard]] int GetLineNumber() const { return mLineNumber; }
    [[nodiscard]] const std::string& GetFileName() const { return mFileName; }

private:
    std::string mFileName;
    std::string mText;
    size_t mPosition = 0;
    int mLineNumber = 0;
};
} // namespace Quoll
