#include "tests/shell/playdata/SpawnedParticleIds.h"

#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

namespace PlayDataTest
{
namespace
{
namespace fs = std::filesystem;

// The parts that the code adds to a base id, without blanks, and the values each takes.
const std::map<std::string, std::pair<int, int>> kVariableRanges = {
    {"GetKind()", {1, 8}},          // a bacterium's kind: its burst is kind - 1
    {"mValue/4", {1, 4}},           // a bonus's kind 4, 8, 12 or 16, over 4
    {"(current-4)/4", {0, 2}},      // a used bonus of kind 4, 8 or 12
    {"record.groupIndex", {0, 23}}, // the intro's ray of each map group
    {"mFailedRays", {1, 2}},        // the intro's second and third failing rays
    {"group", {1, 24}},             // the map's flight to a group
    {"episode", {1, 5}},            // the map's landing in an episode
    {"medal", {0, 2}},              // a medal's grade
    {"mMedalGrade", {0, 2}},
};

// Functions of the game that take a particle id among their arguments (by index) and spawn it
// later; -1 there means none.
const std::map<std::string, size_t> kPassingOn = {
    {"MoveBacterium", 3}, // a move's effect that follows the moving colony
};

struct SourceFile
{
    std::string relative;
    std::string text;
    std::map<std::string, int> constants;
};

std::string Strip(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out += c;
    return out;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\n");
    const size_t last = text.find_last_not_of(" \t\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The text between the parenthesis at open and its partner, split at its top-level commas.
std::vector<std::string> Arguments(const std::string& text, size_t open)
{
    std::vector<std::string> args(1);
    int depth = 0;
    for (size_t i = open; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '(' && depth++ == 0)
            continue;
        if (c == ')' && --depth == 0)
            break;
        if (c == ',' && depth == 1)
            args.emplace_back();
        else
            args.back() += c;
    }
    for (std::string& arg : args)
        arg = Trim(arg);
    return args;
}

// The terms of a sum at its top level, each with its sign.
std::vector<std::pair<int, std::string>> Terms(const std::string& expression)
{
    std::vector<std::pair<int, std::string>> terms{{1, {}}};
    int depth = 0;
    for (char c : expression)
    {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if ((c == '+' || c == '-') && depth == 0)
        {
            if (Trim(terms.back().second).empty())
                terms.back().first *= c == '-' ? -1 : 1;
            else
                terms.emplace_back(c == '-' ? -1 : 1, std::string());
        }
        else
            terms.back().second += c;
    }
    for (auto& term : terms)
        term.second = Strip(term.second);
    return terms;
}

class Scanner
{
public:
    explicit Scanner(const fs::path& root)
    {
        const std::regex constant(R"(constexpr\s+int\s+(\w+)\s*=\s*(-?\d+)\s*;)");
        for (const auto& entry : fs::recursive_directory_iterator(root / "game"))
        {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            SourceFile file{fs::relative(entry.path(), root).generic_string(), text.str(), {}};
            for (std::sregex_iterator it(file.text.begin(), file.text.end(), constant), end; it != end; ++it)
                file.constants[(*it)[1]] = std::stoi((*it)[2]);
            mFiles.push_back(std::move(file));
        }
    }

    std::vector<SpawnCall> Calls() const
    {
        std::vector<SpawnCall> calls;
        for (const SourceFile& file : mFiles)
        {
            for (const std::string& name : SpawnerNames(file))
                AddCalls(file, name, 0, calls);
            for (const auto& [name, index] : kPassingOn)
                AddCalls(file, name, index, calls);
        }
        return calls;
    }

private:
    // SpawnParticleSystem, and the functions of the file that pass their id on to it.
    std::vector<std::string> SpawnerNames(const SourceFile& file) const
    {
        std::vector<std::string> names{"SpawnParticleSystem"};
        const std::regex forward(R"(SpawnParticleSystem\s*\(\s*(\w+)\s*,)");
        for (std::sregex_iterator it(file.text.begin(), file.text.end(), forward), end; it != end; ++it)
        {
            const std::string parameter = (*it)[1];
            const std::regex definition("(\\w+)\\s*\\(\\s*int\\s+" + parameter + "\\b[^)]*\\)[^;{]*\\{");
            std::smatch last;
            const std::string before = file.text.substr(0, static_cast<size_t>(it->position()));
            for (std::sregex_iterator d(before.begin(), before.end(), definition), end2; d != end2; ++d)
                last = *d;
            if (!last.empty() && last[1] != "SpawnParticleSystem")
                names.push_back(last[1]);
        }
        return names;
    }

    // The calls of the function in the file, its id the argument at index.
    void AddCalls(const SourceFile& file, const std::string& name, size_t index, std::vector<SpawnCall>& calls) const
    {
        const std::regex call("\\b" + name + "\\s*\\(");
        for (std::sregex_iterator it(file.text.begin(), file.text.end(), call), end; it != end; ++it)
        {
            const size_t open = static_cast<size_t>(it->position() + it->length() - 1);
            const std::vector<std::string> args = Arguments(file.text, open);
            if (args.size() <= index)
                continue;
            const std::string& id = args[index];
            // A declaration or definition, or a call passing on its own parameter.
            if (std::regex_match(id, std::regex(R"((const\s+)?int(\s+\w+)?)")) || IsParameter(file, id))
                continue;
            SpawnCall spawn{file.relative, id, Evaluate(file, id), false};
            if (index == 0)
                spawn.atOrigin = args.size() == 1 || (args.size() >= 3 && IsZero(args[1]) && IsZero(args[2]));
            else if (spawn.ids == std::set<int>{-1})
                continue; // passes on no effect
            else
                spawn.ids.erase(-1);
            calls.push_back(std::move(spawn));
        }
    }

    static bool IsZero(const std::string& arg)
    {
        return std::regex_match(arg, std::regex(R"(0(\.0*)?f?)"));
    }

    static bool IsParameter(const SourceFile& file, const std::string& id)
    {
        return std::regex_match(id, std::regex(R"(\w+)")) &&
               std::regex_search(file.text, std::regex("[(,]\\s*int\\s+" + id + "\\b"));
    }

    // A named constant: of the file, of its partner (.h or .cpp), else of the one file naming it.
    std::optional<int> Constant(const SourceFile& file, std::string name) const
    {
        name = name.substr(name.rfind(':') == std::string::npos ? 0 : name.rfind(':') + 1);
        if (const auto found = file.constants.find(name); found != file.constants.end())
            return found->second;
        const std::string stem = fs::path(file.relative).replace_extension().generic_string();
        std::vector<int> elsewhere;
        for (const SourceFile& other : mFiles)
        {
            const auto found = other.constants.find(name);
            if (found == other.constants.end())
                continue;
            if (fs::path(other.relative).replace_extension().generic_string() == stem)
                return found->second;
            elsewhere.push_back(found->second);
        }
        if (elsewhere.size() == 1)
            return elsewhere.front();
        return std::nullopt;
    }

    // A term that is a literal or a constant.
    std::optional<int> Fixed(const SourceFile& file, const std::string& term) const
    {
        if (std::regex_match(term, std::regex(R"(\d+)")))
            return std::stoi(term);
        if (std::regex_match(term, std::regex(R"([\w:]+)")))
            return Constant(file, term);
        return std::nullopt;
    }

    std::set<int> Evaluate(const SourceFile& file, const std::string& expression) const
    {
        // "condition ? a : b" can be either.
        const size_t ask = expression.find('?');
        size_t colon = ask;
        while (colon != std::string::npos && (colon = expression.find(':', colon + 1)) != std::string::npos &&
               expression.compare(colon, 2, "::") == 0)
            ++colon; // a qualified name's "::"
        if (ask != std::string::npos && colon != std::string::npos)
        {
            std::set<int> ids = Evaluate(file, Trim(expression.substr(ask + 1, colon - ask - 1)));
            const std::set<int> other = Evaluate(file, Trim(expression.substr(colon + 1)));
            if (ids.empty() || other.empty())
                return {};
            ids.insert(other.begin(), other.end());
            return ids;
        }
        int base = 0;
        std::optional<std::pair<int, std::string>> variable;
        for (const auto& [sign, term] : Terms(expression))
        {
            if (const std::optional<int> value = Fixed(file, term))
                base += sign * *value;
            else if (variable)
                return {}; // two unknown parts
            else
                variable = {sign, term};
        }
        if (!variable)
            return {base};
        std::set<int> ids;
        if (const auto range = kVariableRanges.find(variable->second); range != kVariableRanges.end())
        {
            for (int v = range->second.first; v <= range->second.second; ++v)
                ids.insert(base + variable->first * v);
            return ids;
        }
        // A member that the file sets to ids; set to 0 or -1 it holds none (the code tests for that).
        const std::regex assigned("\\b" + variable->second + "\\s*=\\s*([^=;][^;]*);");
        for (std::sregex_iterator it(file.text.begin(), file.text.end(), assigned), end; it != end; ++it)
        {
            const std::string value = Trim((*it)[1]);
            if (value == "0" || value == "-1")
                continue;
            const std::set<int> values = Evaluate(file, value);
            if (values.empty())
                return {};
            for (int v : values)
                ids.insert(base + variable->first * v);
        }
        return ids;
    }

    std::vector<SourceFile> mFiles;
};
} // namespace

std::vector<SpawnCall> FindSpawnCalls(const std::filesystem::path& root)
{
    return Scanner(root).Calls();
}
} // namespace PlayDataTest
