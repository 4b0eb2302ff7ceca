#pragma once
// Text record files: art-placement lists of one word and up to four integers a line (slider art,
// level-map bulbs and coordinates). Each user gives the four numbers its own meaning.
#include <cstdint>
#include <string>
#include <vector>

class SceneServices;

struct TextRecord
{
    std::string name;
    int32_t value1 = 0;
    int32_t value2 = 0;
    int32_t value3 = 0;
    int32_t value4 = 0;

    bool operator==(const TextRecord& other) const = default;
};

// Appends one record per line ('#' comments and empty lines skipped) to out, which is never
// cleared. Values missing at the end of a line, or cut at one that is not an integer (with a
// warning), repeat those of the line before. false, with an "ERROR" line and out unchanged, when
// the file cannot be opened.
bool LoadTextRecords(std::vector<TextRecord>& out, const std::string& path, SceneServices& services);
