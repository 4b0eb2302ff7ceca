#include "PsiPaths.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>

namespace
{
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// Corners of the polygon that stands for a mask hole.
constexpr int kHoleCorners = 16;
// The longest curve or loop drawn, in pixels, and the most points of a path with its rest: far
// beyond the screen, short of eating the memory. Points lie within kFarthest of the origin.
constexpr double kLongestPiece = 65536.0;
constexpr double kMostPoints = 1000000.0;
constexpr double kFarthest = 100000.0;

struct Vec
{
    double x = 0.0, y = 0.0;
};

Vec Lerp(Vec a, Vec b, double t)
{
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

double Distance(Vec a, Vec b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

ParticlePoint Rounded(Vec v)
{
    return {static_cast<int32_t>(std::lround(v.x)), static_cast<int32_t>(std::lround(v.y))};
}

// The integer points a curve passes through, given by its samples (dense: at most a fraction of
// a pixel apart, first to last): each point steps at most one pixel across and down from the one
// before it, and none repeats it.
void AppendRounded(const std::vector<Vec>& samples, std::vector<ParticlePoint>& points)
{
    for (const Vec& sample : samples)
    {
        const ParticlePoint p = Rounded(sample);
        if (points.empty() || !(points.back() == p))
            points.push_back(p);
    }
}

// Sample count for a curve about that long: eight a pixel, so that no two lie a pixel apart.
size_t SamplesFor(double length)
{
    return static_cast<size_t>(std::max(16.0, std::ceil(length * 8.0)));
}

// false (nothing appended) when the curve would be longer than kLongestPiece.
bool AppendCurve(Vec from, Vec to, double bend, double least, std::vector<ParticlePoint>& points)
{
    const double length = Distance(from, to);
    // The chord's normal that points up the screen; for an upright chord, the one that points left.
    Vec normal{0.0, -1.0};
    if (length > 0.0)
    {
        normal = {(to.y - from.y) / length, -(to.x - from.x) / length};
        if (normal.y > 0.0 || (normal.y == 0.0 && normal.x > 0.0))
            normal = {-normal.x, -normal.y};
    }
    double bulge = bend * length;
    if (std::abs(bulge) < least)
        bulge = bend < 0.0 ? -least : least;
    // A quadratic curve's middle lies half-way between the chord's middle and its control point.
    const Vec middle = Lerp(from, to, 0.5);
    const Vec control{middle.x + normal.x * bulge * 2.0, middle.y + normal.y * bulge * 2.0};
    if (!(length + 2.0 * std::abs(bulge) <= kLongestPiece))
        return false;
    const size_t count = SamplesFor(length + 2.0 * std::abs(bulge));
    std::vector<Vec> samples;
    for (size_t i = 0; i <= count; ++i)
    {
        const double t = static_cast<double>(i) / static_cast<double>(count);
        samples.push_back(Lerp(Lerp(from, control, t), Lerp(control, to, t), t));
    }
    AppendRounded(samples, points);
    return true;
}

// false (nothing appended) when the loop would be longer than kLongestPiece.
bool AppendLoop(Vec centre, double radius, double turns, std::vector<ParticlePoint>& points)
{
    const double sweep = 2.0 * std::numbers::pi * turns;
    if (!(std::abs(sweep * radius) <= kLongestPiece))
        return false;
    const size_t count = SamplesFor(std::abs(sweep * radius));
    std::vector<Vec> samples;
    for (size_t i = 0; i <= count; ++i)
    {
        const double angle = sweep * static_cast<double>(i) / static_cast<double>(count);
        samples.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    AppendRounded(samples, points);
    return true;
}

// The screen with a hole: the outer edge clockwise on the screen, a level bridge in to the hole,
// the hole the other way round, and back out. The bridge's two edges are level, so the mask test
// never counts them; the hole then counts as outside. The polygon is closed (last point = first).
std::vector<ParticlePoint> ScreenWithHole(ParticlePoint centre, int radius)
{
    std::vector<ParticlePoint> mask = {
        {0, centre.y}, {0, 0}, {kScreenWidth, 0}, {kScreenWidth, kScreenHeight}, {0, kScreenHeight}, {0, centre.y}};
    for (int i = 0; i <= kHoleCorners; ++i)
    {
        // From the hole's left end down, round by the right and back over the top.
        const double angle = 2.0 * std::numbers::pi * i / kHoleCorners;
        mask.push_back(Rounded({centre.x - radius * std::cos(angle), centre.y + radius * std::sin(angle)}));
    }
    mask.push_back({0, centre.y});
    return mask;
}

bool ReadNumber(const std::string& word, double& value)
{
    std::istringstream parse(word);
    return static_cast<bool>(parse >> value) && parse.eof();
}

// "x,y" or "node:N".
bool ReadPoint(const std::string& word, const PathContext& context, Vec& point, std::string& error)
{
    if (word.rfind("node:", 0) == 0)
    {
        double group = 0.0;
        if (!ReadNumber(word.substr(5), group) || group < 1 || group > static_cast<double>(context.nodes.size()) ||
            group != std::floor(group))
        {
            error = "no map node " + word.substr(5) + " (the coordinates give " +
                    std::to_string(context.nodes.size()) + ")";
            return false;
        }
        const ParticlePoint node = context.nodes[static_cast<size_t>(group) - 1];
        point = {static_cast<double>(node.x), static_cast<double>(node.y)};
        return true;
    }
    const size_t comma = word.find(',');
    if (comma == std::string::npos || !ReadNumber(word.substr(0, comma), point.x) ||
        !ReadNumber(word.substr(comma + 1), point.y))
    {
        error = "a point \"x,y\" or \"node:N\" expected, not \"" + word + "\"";
        return false;
    }
    if (!(std::abs(point.x) <= kFarthest && std::abs(point.y) <= kFarthest))
    {
        error = "the point " + word + " lies too far off";
        return false;
    }
    return true;
}

// Replaces every "$NAME" by its defined value.
bool Substitute(std::string& line, const PathContext& context, std::string& error)
{
    std::string out;
    for (size_t i = 0; i < line.size(); ++i)
    {
        if (line[i] != '$')
        {
            out += line[i];
            continue;
        }
        size_t end = i + 1;
        while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) != 0 || line[end] == '_'))
            ++end;
        const std::string name = line.substr(i + 1, end - i - 1);
        const auto found = context.defines.find(name);
        if (found == context.defines.end())
        {
            error = "\"$" + name + "\" is not defined";
            return false;
        }
        out += found->second;
        i = end - 1;
    }
    line = out;
    return true;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

std::string PointsLine(const char* keyword, const std::vector<ParticlePoint>& points)
{
    std::string line = keyword;
    for (const ParticlePoint& p : points)
        line += ' ' + std::to_string(p.x) + ' ' + std::to_string(p.y);
    return line + '\n';
}

// What the path lines of one description ask for.
struct PathPlan
{
    std::vector<ParticlePoint> path;
    std::vector<ParticlePoint> mask;
    double speed = 0.0;
    double dwell = 0.0;
    double lifetimeAfter = 0.0;
    bool hasLifetimeAfter = false;
    bool hasLifetime = false;
    bool hasPathTime = false;
};

// Reads one line's words into the plan; false when the keyword is not a path line. A message in
// error when the line is one but does not read.
bool ApplyPathLine(const std::vector<std::string>& words, const PathContext& context, PathPlan& plan,
                   std::string& error)
{
    const std::string& keyword = words[0];
    const size_t count = words.size() - 1;
    auto numberAt = [&](size_t i, double& value) {
        if (!ReadNumber(words[i], value))
            error = "a number expected, not \"" + words[i] + "\"";
        return error.empty();
    };
    if (keyword == "curve")
    {
        Vec from, to;
        double bend = 0.0, least = 0.0;
        if (count != 3 && count != 4)
            error = "curve <from> <to> <bend> [<least>] expected";
        else if (ReadPoint(words[1], context, from, error) && ReadPoint(words[2], context, to, error) &&
                 numberAt(3, bend) && (count == 3 || numberAt(4, least)) &&
                 !AppendCurve(from, to, bend, least, plan.path))
            error = "the curve is too long";
    }
    else if (keyword == "loop")
    {
        Vec centre;
        double radius = 0.0, turns = 0.0;
        if (count != 3)
            error = "loop <centre> <radius> <turns> expected";
        else if (ReadPoint(words[1], context, centre, error) && numberAt(2, radius) && numberAt(3, turns) &&
                 !AppendLoop(centre, radius, turns, plan.path))
            error = "the loop is too long";
    }
    else if (keyword == "mask_hole")
    {
        Vec centre;
        double radius = 0.0;
        if (count != 2)
            error = "mask_hole <point> <radius> expected";
        else if (ReadPoint(words[1], context, centre, error) && numberAt(2, radius))
        {
            if (radius >= 1.0 && radius <= kFarthest)
                plan.mask = ScreenWithHole(Rounded(centre), static_cast<int>(std::lround(radius)));
            else
                error = "a hole's radius is 1 to " + Number(kFarthest) + " pixels";
        }
    }
    else if (keyword == "path_speed" || keyword == "dwell" || keyword == "lifetime_after_path")
    {
        double value = 0.0;
        if (count != 1)
            error = keyword + " takes one number";
        else if (numberAt(1, value) && (value < 0.0 || (keyword == "path_speed" && value == 0.0)))
            error = keyword + " must not be negative" + (keyword == "path_speed" ? " or 0" : "");
        if (error.empty())
        {
            if (keyword == "path_speed")
                plan.speed = value;
            else if (keyword == "dwell")
                plan.dwell = value;
            else
            {
                plan.lifetimeAfter = value;
                plan.hasLifetimeAfter = true;
            }
        }
    }
    else
        return false;
    return true;
}

// The plain lines the plan stands for.
bool FinishPlan(PathPlan& plan, std::string& out, std::string& error)
{
    const bool timed = plan.dwell > 0.0 || plan.hasLifetimeAfter;
    if (timed && plan.speed == 0.0)
        error = "dwell and lifetime_after_path need path_speed";
    else if (plan.speed > 0.0 && plan.path.empty())
        error = "path_speed without a curve or loop";
    else if (plan.speed > 0.0 && plan.hasPathTime)
        error = "path_speed and path_time both given";
    else if (plan.hasLifetimeAfter && plan.hasLifetime)
        error = "lifetime and lifetime_after_path both given";
    if (!error.empty())
        return false;
    if (plan.speed > 0.0)
    {
        if (!(static_cast<double>(plan.path.size()) + plan.dwell * plan.speed <= kMostPoints))
        {
            error = "the path with its rest has too many points";
            return false;
        }
        const auto rest = static_cast<size_t>(std::lround(plan.dwell * plan.speed));
        plan.path.insert(plan.path.end(), rest, plan.path.back());
    }
    if (!plan.path.empty())
        out += PointsLine("path", plan.path);
    if (!plan.mask.empty())
        out += PointsLine("mask", plan.mask);
    if (plan.speed > 0.0)
    {
        const double pathTime = static_cast<double>(plan.path.size()) / plan.speed;
        out += "path_time " + Number(pathTime) + " 0\n";
        if (plan.hasLifetimeAfter)
            out += "lifetime " + Number(pathTime + plan.lifetimeAfter) + "\n";
    }
    return true;
}
} // namespace

bool ReadMapNodes(const std::string& text, std::vector<ParticlePoint>& nodes, std::string& error)
{
    nodes.clear();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        std::istringstream words(line);
        std::string label;
        if (!(words >> label) || label[0] == '#')
            continue;
        int x = 0, y = 0, w = 0, h = 0;
        if (!(words >> x >> y >> w >> h))
        {
            error = "line " + std::to_string(number) + ": a label and four numbers expected";
            return false;
        }
        nodes.push_back({x + w / 2, y + h / 2});
    }
    return true;
}

bool ExpandPathLines(const std::string& text, const PathContext& context, std::string& out, std::string& error)
{
    out.clear();
    PathPlan plan;
    std::istringstream input(text);
    std::string line;
    for (int number = 1; std::getline(input, line); ++number)
    {
        std::istringstream first(line);
        std::string keyword;
        if (!(first >> keyword) || keyword[0] == '#')
        {
            out += line + '\n';
            continue;
        }
        std::string problem;
        if (Substitute(line, context, problem))
        {
            std::istringstream split(line);
            std::vector<std::string> words;
            for (std::string word; split >> word;)
                words.push_back(word);
            plan.hasLifetime = plan.hasLifetime || words[0] == "lifetime";
            plan.hasPathTime = plan.hasPathTime || words[0] == "path_time";
            if (!ApplyPathLine(words, context, plan, problem) && problem.empty())
                out += line + '\n';
        }
        if (!problem.empty())
        {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
    }
    return FinishPlan(plan, out, error);
}
