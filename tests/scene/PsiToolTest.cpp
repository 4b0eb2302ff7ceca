// The ".psi" text tool: text to ".psi" to text gives the text back, ".psi" to text to ".psi" the
// same bytes, and bad lines are refused with their line number. Also runs the tool program.
// Rerun one case: test_scene --gtest_filter='PsiTool*.Name'.
#include "tools/psitool/PsiText.h"

#include "framework/core/Buffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace
{
const char* const kText = "emission 120\n"
                          "lifetime -1\n"
                          "life_min 0.5\n"
                          "life_max 1.25\n"
                          "direction 0.100000001\n"
                          "spread 3.14159274\n"
                          "relative 1\n"
                          "speed_min 1\n"
                          "speed_max 4\n"
                          "gravity_min 0\n"
                          "gravity_max 2.5\n"
                          "radial_min -1\n"
                          "radial_max 1\n"
                          "tangential_min 0\n"
                          "tangential_max 0\n"
                          "size_start 1\n"
                          "size_end 0.200000003\n"
                          "size_variation 0.5\n"
                          "spin_start 0\n"
                          "spin_end 3\n"
                          "spin_variation 1\n"
                          "colour_start 1 0.899999976 0.5 1\n"
                          "colour_end 1 0.200000003 0.100000001 0\n"
                          "colour_variation 0.300000012\n"
                          "alpha_variation 0\n"
                          "additive 1\n"
                          "location 512 384\n"
                          "image data/art/particles/spark.png\n"
                          "mask 0 0 100 0 100 100\n"
                          "path -5 7 200 0\n"
                          "path_time 2 1\n";

std::string ToText(Quoll::Buffer& bytes)
{
    bytes.SeekReadStart();
    return PrintParticleText(ReadParticleFile(bytes));
}
} // namespace

TEST(PsiToolTest, TextToPsiToTextRoundTrips)
{
    ParticleFile file;
    std::string error;
    ASSERT_TRUE(ParseParticleText(kText, file, error)) << error;
    Quoll::Buffer bytes;
    WriteParticleFile(file, bytes);
    EXPECT_EQ(ToText(bytes), kText);
    EXPECT_EQ(file.desc.emission, 120);
    EXPECT_EQ(file.path.size(), 2u);

    // And the bytes come back the same.
    ParticleFile again;
    ASSERT_TRUE(ParseParticleText(ToText(bytes), again, error));
    Quoll::Buffer second;
    WriteParticleFile(again, second);
    ASSERT_EQ(second.GetDataSize(), bytes.GetDataSize());
    EXPECT_EQ(std::memcmp(second.GetDataPtr(), bytes.GetDataPtr(), bytes.GetDataSize()), 0);
}

TEST(PsiToolTest, BadLinesNameTheirLine)
{
    ParticleFile file;
    std::string error;
    EXPECT_FALSE(ParseParticleText("# header\nemission 1 2\n", file, error));
    EXPECT_EQ(error, "line 2: 1 value(s) expected");
    EXPECT_FALSE(ParseParticleText("mask 1 2 3\n", file, error));
    EXPECT_FALSE(ParseParticleText("sparkle 1\n", file, error));
    EXPECT_FALSE(ParseParticleText("lifetime fast\n", file, error));
    EXPECT_FALSE(ParseParticleText("image " + std::string(300, 'x') + "\n", file, error));
}

TEST(PsiToolTest, ProgramConvertsBothWays)
{
    std::ofstream("tool_in.txt") << kText;
    const std::string tool = std::string(QUOLL_BINARY_DIR) + "/tools/psitool/psitool";
    ASSERT_EQ(std::system((tool + " --to-psi tool_in.txt tool.psi").c_str()), 0);
    ASSERT_EQ(std::system((tool + " --to-text tool.psi tool_out.txt").c_str()), 0);
    std::ifstream back("tool_out.txt");
    std::stringstream text;
    text << back.rdbuf();
    EXPECT_EQ(text.str(), kText);
    EXPECT_NE(std::system((tool + " --to-psi no_such.txt x.psi 2>/dev/null").c_str()), 0);
}
