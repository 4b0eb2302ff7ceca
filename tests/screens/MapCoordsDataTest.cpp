// The shipped map layout: what the map draws over its nodes (the beaker of the intro and of a
// level's start, the fans of neighbouring groups) leaves the nodes of the first episode visible.
// Rerun one case: test_screens --gtest_filter='MapCoordsData.*'.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
struct Box
{
    int x, y, w, h;
    [[nodiscard]] bool Overlaps(const Box& o) const
    {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

// Node centres (the middle of each group's rectangle) in group order.
std::vector<std::pair<int, int>> ReadCentres()
{
    std::ifstream file(QUOLL_SOURCE_DIR "/data/art/textures/map/mapcoords.txt");
    std::vector<std::pair<int, int>> centres;
    std::string line;
    while (std::getline(file, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        std::string label;
        int x = 0, y = 0, w = 0, h = 0;
        if (in >> label >> x >> y >> w >> h)
            centres.emplace_back(x + w / 2, y + h / 2);
    }
    return centres;
}

// A node with its medal: the medal (96 px at 0.7) is centred 20 px above the node's centre, the
// node's glass reaches 27 px below it.
Box NodeBox(std::pair<int, int> c) { return {c.first - 34, c.second - 54, 68, 81}; }
Box MedalBox(std::pair<int, int> c) { return {c.first - 33, c.second - 53, 67, 67}; }

// The 32-pixel cells of a group's open fan, 73 px from the node: up-left, up, up-right, except
// group 3, which opens to the right.
std::vector<Box> FanCells(int group, std::pair<int, int> c)
{
    const int start = group == 3 ? 7 : -3;
    const int step = start >= 0 ? 1 : -1;
    std::vector<Box> cells;
    for (int i = 0, k = std::abs(start); i < 3; ++i, k += step)
    {
        const double angle = k * 45 * 0.017453292;
        cells.push_back({static_cast<int>(c.first + std::cos(angle) * 73 - 16),
                         static_cast<int>(c.second - std::sin(angle) * 73 - 16), 32, 32});
    }
    return cells;
}

TEST(MapCoordsData, TheBeakerAndTheFansLeaveTheFirstEpisodesNodesVisible)
{
    const std::vector<std::pair<int, int>> centres = ReadCentres();
    ASSERT_EQ(centres.size(), 24u);
    const Box beaker{211, 520, 96, 128};
    for (size_t g = 0; g < centres.size(); ++g)
        EXPECT_FALSE(NodeBox(centres[g]).Overlaps(beaker)) << "group " << g + 1;
    for (int g = 1; g <= 5; ++g)
        for (const Box& cell : FanCells(g, centres[static_cast<size_t>(g - 1)]))
            for (int other = 1; other <= 5; ++other)
            {
                if (other == g)
                    continue;
                EXPECT_FALSE(cell.Overlaps(MedalBox(centres[static_cast<size_t>(other - 1)])))
                    << "fan of group " << g << " over the medal of group " << other;
            }
}
} // namespace
