#include "game/scene/TextRecord.h"

#include "framework/files/ConfigFile.h"
#include "game/shell/SceneServices.h"

#include <charconv>
#include <sstream>

namespace
{
bool ParseInt(const std::string& word, int32_t& value)
{
    const char* end = word.data() + word.size();
    auto parsed = value;
    const auto [stop, error] = std::from_chars(word.data(), end, parsed);
    if (error != std::errc() || stop != end)
        return false;
    value = parsed;
    return true;
}
} // namespace

bool LoadTextRecords(std::vector<TextRecord>& out, const std::string& path, SceneServices& services)
{
    Quoll::ConfigFile file;
    if (!file.Open(path))
    {
        services.LogError("Cannot open file: " + path);
        return false;
    }
    // The working record is not cleared between lines: missing values repeat the previous line's.
    TextRecord record;
    std::stringstream line;
    while (file.NextLine(line))
    {
        line >> record.name;
        int32_t* values[] = {&record.value1, &record.value2, &record.value3, &record.value4};
        std::string word;
        for (int32_t* value : values)
        {
            if (!(line >> word))
                break;
            if (!ParseInt(word, *value))
            {
                services.LogWarning("LoadTextRecords: '" + word + "' is not an integer in " + path + " line " +
                                    std::to_string(file.GetLineNumber()));
                break;
            }
        }
        out.push_back(record);
    }
    return true;
}
