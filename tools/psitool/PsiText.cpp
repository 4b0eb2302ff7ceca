#include "PsiText.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace
{
std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// Every value of the rest of the line; false when one is not a number.
bool ReadNumbers(std::istream& line, std::vector<double>& values)
{
    std::string word;
    while (line >> word)
    {
        std::istringstream parse(word);
        double value = 0.0;
        if (!(parse >> value) || !parse.eof())
            return false;
        values.push_back(value);
    }
    return true;
}

bool ReadPoints(const std::vector<double>& values, std::vector<ParticlePoint>& points)
{
    if (values.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < values.size(); i += 2)
        points.push_back({static_cast<int32_t>(values[i]), static_cast<int32_t>(values[i + 1])});
    return true;
}

const ParticleField* FindField(const std::string& name)
{
    for (const ParticleField& field : ParticleFields())
        if (name == field.name)
            return &field;
    return nullptr;
}

// Applies one line's keyword and values; an empty message on success.
std::string ApplyLine(const std::string& keyword, std::istream& line, ParticleFile& out)
{
    if (keyword == "image")
    {
        std::string name;
        line >> name;
        if (name.empty() || name.size() > ParticleFile::kMaxImageName)
            return "an image name of 1 to 259 bytes expected";
        out.imageName = name;
        return {};
    }
    std::vector<double> values;
    if (!ReadNumbers(line, values))
        return "numbers expected";
    if (const ParticleField* field = FindField(keyword))
    {
        if (values.size() != static_cast<size_t>(field->count))
            return std::to_string(field->count) + " value(s) expected";
        for (int i = 0; i < field->count; ++i)
            SetParticleField(out.desc, *field, i, values[static_cast<size_t>(i)]);
        return {};
    }
    if (keyword == "additive" && values.size() == 1)
        out.additive = values[0] != 0.0;
    else if (keyword == "location" && values.size() == 2)
    {
        out.hasLocation = true;
        out.locationX = static_cast<float>(values[0]);
        out.locationY = static_cast<float>(values[1]);
    }
    else if (keyword == "mask" || keyword == "path")
    {
        if (!ReadPoints(values, keyword == "mask" ? out.mask : out.path))
            return "x y pairs expected";
    }
    else if (keyword == "path_time" && values.size() == 2)
    {
        out.hasPathTime = true;
        out.pathTime = static_cast<float>(values[0]);
        out.pathMode = static_cast<int32_t>(values[1]);
    }
    else
        return "unknown field or wrong number of values: " + keyword;
    return {};
}
} // namespace

bool ParseParticleText(const std::string& text, ParticleFile& out, std::string& error)
{
    out = ParticleFile();
    std::istringstream input(text);
    std::string raw;
    int number = 0;
    while (std::getline(input, raw))
    {
        ++number;
        std::istringstream line(raw);
        std::string keyword;
        if (!(line >> keyword) || keyword[0] == '#')
            continue;
        const std::string problem = ApplyLine(keyword, line, out);
        if (!problem.empty())
        {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
    }
    return true;
}

std::string PrintParticleText(const ParticleFile& file)
{
    std::ostringstream out;
    for (const ParticleField& field : ParticleFields())
    {
        out << field.name;
        for (int i = 0; i < field.count; ++i)
            out << ' ' << Number(GetParticleField(file.desc, field, i));
        out << '\n';
    }
    if (file.additive)
        out << "additive 1\n";
    if (file.hasLocation)
        out << "location " << Number(file.locationX) << ' ' << Number(file.locationY) << '\n';
    if (!file.imageName.empty())
        out << "image " << file.imageName << '\n';
    for (const auto* points : {&file.mask, &file.path})
    {
        if (points->empty())
            continue;
        out << (points == &file.mask ? "mask" : "path");
        for (const ParticlePoint& point : *points)
            out << ' ' << point.x << ' ' << point.y;
        out << '\n';
    }
    if (file.hasPathTime)
        out << "path_time " << Number(file.pathTime) << ' ' << file.pathMode << '\n';
    return out.str();
}
