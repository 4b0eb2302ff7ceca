// layercheck: reads every #include "..." of the project's sources and reports, with file and line,
// each one that reaches a folder above the including file's layer. The table of layers is a text
// file (tools/layercheck/layers.txt); see its header for the rules.
//
// Usage: layercheck <layers.txt> <root folder>
// Exit status: 0 when every include keeps to its layer, 1 when one does not, 2 on bad input.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
struct Layer
{
    std::string folder;
    int level = 0;
};

class LayerTable
{
public:
    bool Load(const fs::path& path, std::string& error)
    {
        std::ifstream in(path);
        if (!in)
        {
            error = "cannot read " + path.string();
            return false;
        }
        std::string line;
        int level = 0;
        while (std::getline(in, line))
        {
            if (line.empty() || line[0] == '#')
                continue;
            std::istringstream words(line);
            std::string folder;
            bool any = false;
            while (words >> folder)
            {
                mLayers.push_back({folder, level});
                any = true;
            }
            if (any)
                ++level;
        }
        mTop = level - 1;
        if (mLayers.empty())
        {
            error = path.string() + " lists no folders";
            return false;
        }
        return true;
    }

    // The layer of a path relative to the root: the longest listed folder that holds it.
    const Layer* Find(const std::string& path) const
    {
        const Layer* best = nullptr;
        for (const Layer& layer : mLayers)
            if (Holds(layer.folder, path) && (best == nullptr || layer.folder.size() > best->folder.size()))
                best = &layer;
        return best;
    }

    bool IsTop(const Layer& layer) const { return layer.level == mTop; }

private:
    static bool Holds(const std::string& folder, const std::string& path)
    {
        return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
    }

    std::vector<Layer> mLayers;
    int mTop = 0;
};

bool IsSource(const fs::path& path)
{
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".hpp" || ext == ".cpp" || ext == ".cc" || ext == ".inl";
}

// The quoted path of an #include line, if it is one.
std::optional<std::string> QuotedInclude(const std::string& line)
{
    size_t pos = line.find_first_not_of(" \t");
    if (pos == std::string::npos || line[pos] != '#')
        return std::nullopt;
    pos = line.find_first_not_of(" \t", pos + 1);
    if (pos == std::string::npos || line.compare(pos, 7, "include") != 0)
        return std::nullopt;
    const size_t open = line.find('"', pos + 7);
    if (open == std::string::npos)
        return std::nullopt;
    const size_t close = line.find('"', open + 1);
    if (close == std::string::npos)
        return std::nullopt;
    return line.substr(open + 1, close - open - 1);
}

bool UnderLayeredTree(const std::string& path)
{
    return path.rfind("framework/", 0) == 0 || path.rfind("game/", 0) == 0;
}

// Checks one file; prints each fault and returns their number.
int CheckFile(const LayerTable& table, const fs::path& root, const fs::path& file)
{
    const std::string relative = fs::relative(file, root).generic_string();
    const Layer* own = table.Find(relative);
    if (own == nullptr)
    {
        if (!UnderLayeredTree(relative))
            return 0;
        std::cout << relative << ": its folder is not in the layer table\n";
        return 1;
    }
    if (table.IsTop(*own))
        return 0;
    std::ifstream in(file);
    std::string line;
    int number = 0, faults = 0;
    while (std::getline(in, line))
    {
        ++number;
        const std::optional<std::string> included = QuotedInclude(line);
        if (!included || !UnderLayeredTree(*included))
            continue;
        const Layer* target = table.Find(*included);
        if (target == nullptr)
        {
            std::cout << relative << ":" << number << ": includes " << *included
                      << ", whose folder is not in the layer table\n";
            ++faults;
        }
        else if (target->folder != own->folder && target->level >= own->level)
        {
            std::cout << relative << ":" << number << ": includes " << *included << " (" << target->folder
                      << ") from " << own->folder << ", which is not below it\n";
            ++faults;
        }
    }
    return faults;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: layercheck <layers.txt> <root folder>\n";
        return 2;
    }
    LayerTable table;
    std::string error;
    if (!table.Load(argv[1], error))
    {
        std::cerr << "layercheck: " << error << "\n";
        return 2;
    }
    const fs::path root = argv[2];
    if (!fs::is_directory(root))
    {
        std::cerr << "layercheck: " << root.string() << " is not a folder\n";
        return 2;
    }
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
    {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && (name == "build" || name == ".git"))
            it.disable_recursion_pending();
        else if (it->is_regular_file() && IsSource(it->path()))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    int faults = 0;
    for (const fs::path& file : files)
        faults += CheckFile(table, root, file);
    std::cout << "layercheck: " << files.size() << " files, " << faults << " includes outside their layer\n";
    return faults == 0 ? 0 : 1;
}
