// The particle tool's path lines, run through the tool program as the build runs it: arcs and
// loops between map nodes and points, the path time from the speed with a rest at the end, the
// lifetime after the path, the screen mask with its hole, and lines it must refuse (also sizes
// that would exhaust the memory).
// Rerun: test_playdata --gtest_filter='PsiPathLines*'.
#include "framework/core/Buffer.h"
#include "game/scene/ParticleFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
namespace fs = std::filesystem;

class PsiPathLines : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = fs::path(QUOLL_TEST_HOME) / ("psipaths" + std::to_string(::getpid()));
        fs::create_directories(mFolder);
        Write("coords.txt", "# two nodes\ngroup1 100 200 40 60\n\ngroup2 300 100 20 20\n");
    }
    void TearDown() override { fs::remove_all(mFolder); }

    void Write(const std::string& name, const std::string& text)
    {
        std::ofstream(mFolder / name) << text;
    }

    // Runs the tool on the text; the exit status, with the description read back on success and
    // the tool's message in mMessage.
    int Make(const std::string& text, const std::string& options, ParticleFile& out)
    {
        Write("in.psi.txt", text);
        const fs::path psi = mFolder / "out.psi", message = mFolder / "message.txt";
        fs::remove(psi);
        const std::string command = std::string(QUOLL_BINARY_DIR "/tools/psitool/psitool --to-psi ") +
                                    (mFolder / "in.psi.txt").string() + " " + psi.string() + " " + options + " 2>" +
                                    message.string();
        const int status = std::system(command.c_str());
        std::ifstream said(message);
        mMessage.assign(std::istreambuf_iterator<char>(said), {});
        std::ifstream in(psi, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        Quoll::Buffer buffer;
        buffer.WriteBytes(bytes.data(), bytes.size());
        buffer.SeekReadStart();
        out = ReadParticleFile(buffer);
        return status;
    }
    [[nodiscard]] std::string Coords() const { return "--mapcoords " + (mFolder / "coords.txt").string(); }

    fs::path mFolder;
    std::string mMessage;
};

TEST_F(PsiPathLines, ArcFromANodeToAPointWithItsTimes)
{
    ParticleFile file;
    ASSERT_EQ(Make("emission 10\ncurve node:$G 400,250 0.3\ndwell 0.5\npath_speed 200\nlifetime_after_path 0.25\n"
                   "mask_hole node:2 6\n",
                   Coords() + " --define G=1", file),
              0)
        << mMessage;
    EXPECT_EQ(file.desc.emission, 10);
    ASSERT_GE(file.path.size(), 2u);
    EXPECT_EQ(file.path.front(), (ParticlePoint{120, 230})); // the middle of node 1's rectangle
    EXPECT_EQ(file.path.back(), (ParticlePoint{400, 250}));
    // 0.5 s at 200 points a second rest on the last point.
    const size_t rest = 100;
    for (size_t i = file.path.size() - rest; i < file.path.size(); ++i)
        ASSERT_EQ(file.path[i], file.path.back()) << i;
    EXPECT_NE(file.path[file.path.size() - rest - 2], file.path.back());
    // The arc rises: its highest point lies well above both ends (0.3 of a 281 pixel chord).
    int top = file.path.front().y;
    for (const ParticlePoint& p : file.path)
        top = std::min(top, p.y);
    EXPECT_NEAR(top, 240 - 0.3 * std::hypot(280, 20), 4);
    EXPECT_TRUE(file.hasPathTime);
    EXPECT_NEAR(file.pathTime, static_cast<float>(file.path.size()) / 200.0f, 1e-4f);
    EXPECT_NEAR(file.desc.lifetime, file.pathTime + 0.25f, 1e-4f);
    // The mask closes on itself around the screen and node 2's hole.
    ASSERT_GE(file.mask.size(), 4u);
    EXPECT_EQ(file.mask.front(), file.mask.back());
    EXPECT_EQ(file.mask.front(), (ParticlePoint{0, 110}));
}

TEST_F(PsiPathLines, LoopsCircleTheirCentre)
{
    ParticleFile file;
    ASSERT_EQ(Make("loop 50,60 20 1\npath_speed 100\n", "", file), 0) << mMessage;
    EXPECT_EQ(file.path.front(), (ParticlePoint{70, 60}));
    EXPECT_EQ(file.path.back(), (ParticlePoint{70, 60}));
    for (const ParticlePoint& p : file.path)
        ASSERT_NEAR(std::hypot(p.x - 50, p.y - 60), 20.0, 0.8) << p.x << "," << p.y;
    EXPECT_EQ(file.desc.lifetime, 0.0f) << "no lifetime asked for";
}

TEST_F(PsiPathLines, BadLinesAreRefusedWithTheirLine)
{
    const struct
    {
        const char* text;
        const char* options;
        const char* said;
    } cases[] = {
        {"emission 5\ncurve node:$GROUP 1,1 0\n", "coords", "line 2: \"$GROUP\" is not defined"},
        {"curve node:3 1,1 0\n", "coords", "line 1: no map node 3"},
        {"curve node:1 1,1 0\n", "", "line 1: no map node 1"},
        {"curve 1;1 5,5 0\n", "", "line 1: a point"},
        {"curve 1,1 5,5\n", "", "line 1: curve <from> <to>"},
        {"path_speed 100\n", "", "path_speed without a curve"},
        {"curve 1,1 5,5 0\ndwell 1\n", "", "need path_speed"},
        {"curve 1,1 5,5 0\npath_speed 0\n", "", "line 2: path_speed must not be negative or 0"},
        {"lifetime 2\ncurve 1,1 5,5 0\npath_speed 9\nlifetime_after_path 1\n", "", "lifetime and lifetime_after_path"},
        {"curve 1,1 5,5 0\npath_speed 9\npath_time 2 0\n", "", "path_speed and path_time"},
        {"emission 5\n", "--define NOVALUE", "unknown option"},
        // Sizes that would fill the memory or overflow the file's integers.
        {"curve 0,0 60000,0 0.5\n", "", "line 1: the curve is too long"},
        {"loop 0,0 20000 1\n", "", "line 1: the loop is too long"},
        {"curve 1e9,0 0,0 0\n", "", "line 1: the point 1e9,0 lies too far off"},
        {"mask_hole 5,5 0\n", "", "line 1: a hole's radius"},
        {"curve 1,1 5,5 0\npath_speed 1000\ndwell 5000\n", "", "too many points"},
    };
    for (const auto& c : cases)
    {
        ParticleFile file;
        const std::string options = std::string(c.options) == "coords" ? Coords() : c.options;
        EXPECT_NE(Make(c.text, options, file), 0) << c.text;
        EXPECT_NE(mMessage.find(c.said), std::string::npos) << c.text << " said: " << mMessage;
    }
}
} // namespace
