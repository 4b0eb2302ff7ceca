#pragma once
// A linker map file as the crash report reads it: public symbols and source line numbers by
// section and offset. Annotate replaces each logical address in a report ("SSSS:OOOOOOOO",
// four and eight hexadecimal digits) by the symbol it lies in and its source line.
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace Quoll
{
class MapFile
{
public:
    void Parse(const std::string& text);
    [[nodiscard]] std::string Annotate(const std::string& report) const;
    // Annotates with the first "*.map" file of the folder; the report is unchanged when
    // there is none or it cannot be read.
    static std::string AnnotateWithFolderMap(const std::string& report, const std::string& folder);

private:
    using Address = std::pair<uint32_t, uint32_t>; // section, offset
    struct LineEntry
    {
        std::string file;
        int line = 0;
    };

    void ParseLine(const std::string& line);
    void ParseLineNumbers(const std::string& line);
    // The annotation of one address; empty when the map knows nothing of it.
    std::string Describe(Address address) const;

    std::map<Address, std::string> mSymbols;
    std::map<Address, LineEntry> mLines;
    std::string mCurrentFile;
};
} // namespace Quoll
