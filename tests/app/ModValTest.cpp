// Live-tweakable constants: the marker parser's cases and messages, the reparse of a source
// file into registered values, the "none" warning, and the marker macros' registration.
// Rerun one case: test_app --gtest_filter='ModVal*.Parser*'
#include "framework/core/Common.h"
#include "framework/core/ModVal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

// Last: its short macro names would clash with names in the headers above.
#include "framework/core/ModValMarkers.h"

using Quoll::ModValKind;
using Quoll::ModValMarker;
using Quoll::ModValParser;
using Quoll::ModValTable;
using Quoll::ModValValue;

namespace
{
struct ParseOutcome
{
    bool ok = false;
    std::vector<ModValMarker> markers;
    std::string error;
};

ParseOutcome ParseText(const std::string& text, const std::map<std::string, int>& constants = {})
{
    ParseOutcome out;
    std::istringstream in(text);
    ModValParser parser(constants);
    out.ok = parser.Parse(in, "f.cpp", out.markers, out.error);
    return out;
}

struct Message
{
    std::string text, caption;
};

class ModValFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPath = (std::filesystem::temp_directory_path() /
                 ("modval_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".cpp"))
                    .string();
    }
    void TearDown() override { std::filesystem::remove(mPath); }
    void Write(const std::string& text)
    {
        std::ofstream(mPath, std::ios::binary) << text;
    }
    uint64_t FileTime() { return Quoll::GetFileModTime(mPath); }
    void Reparse(uint64_t programTime)
    {
        mTable.Reparse(programTime, [this](const std::string& text, const std::string& caption) {
            mMessages.push_back({text, caption});
        });
    }

    std::string mPath;
    ModValTable mTable;
    std::vector<Message> mMessages;
};
} // namespace

// --- Parser ------------------------------------------------------------------------------

TEST(ModValParser, ReadsEachKindOfValue)
{
    ParseOutcome out = ParseText("int a = M(42) + M3(-0x1F);\n"
                                 "float b = M(2.5f), c = M1(-3.25), d = M2(7f);\n"
                                 "auto s = M(\"say \\\"hi\\\"\\n\\tand \\\\ go\");\n"
                                 "int k = M( LIMIT );\n");
    ASSERT_TRUE(out.ok) << out.error;
    ASSERT_EQ(out.markers.size(), 7u);
    auto expect = [&](size_t i, int line, int index, const ModValValue& value) {
        EXPECT_EQ(out.markers[i].line, line);
        EXPECT_EQ(out.markers[i].index, index);
        EXPECT_EQ(out.markers[i].value, std::optional<ModValValue>(value)) << "marker " << i;
    };
    expect(0, 1, 0, ModValValue(42));
    expect(1, 1, 3, ModValValue(-31));
    expect(2, 2, 0, ModValValue(2.5));
    expect(3, 2, 1, ModValValue(-3.25));
    expect(4, 2, 2, ModValValue(7.0));
    expect(5, 3, 0, ModValValue(std::string("say \"hi\"\n\tand \\ go")));
    EXPECT_FALSE(out.markers[6].value) << "no constant named LIMIT";
    ParseOutcome named = ParseText("int k = M( LIMIT );\n", {{"LIMIT", 9}});
    ASSERT_EQ(named.markers.size(), 1u);
    EXPECT_EQ(named.markers[0].value, std::optional<ModValValue>(9));
    ParseOutcome lowest = ParseText("M(-0x80000000)");
    ASSERT_EQ(lowest.markers.size(), 1u);
    EXPECT_EQ(lowest.markers[0].value, std::optional<ModValValue>(INT32_MIN));
}

TEST(ModValParser, MarkersOnlyOutsideCommentsStringsAndLongerNames)
{
    ParseOutcome out = ParseText("// M(1)\n"
                                 "/* M(2)\n"
                                 "   M(3) */ int x = M(4);\n"
                                 "f(\"M(5)\"); XM(6); M10(7); Mx(8); g('('), M(9); int n = 1'000;\n"
                                 "y = 2 / M4(10); /* closed */ M(11)\n");
    ASSERT_TRUE(out.ok) << out.error;
    std::vector<std::pair<int, int>> found; // line, index
    for (const ModValMarker& marker : out.markers)
        found.emplace_back(marker.line, marker.index);
    EXPECT_EQ(found, (std::vector<std::pair<int, int>>{{3, 0}, {4, 0}, {5, 4}, {5, 0}}));
}

TEST(ModValParser, UnreadableValuesAreMarkedNotFatal)
{
    ParseOutcome out = ParseText("M(\"bad \\q escape\") M(1.2.3) M(12 M(-) M(0x) M(\"open\n");
    EXPECT_FALSE(out.ok); // the unterminated string on the line
    ASSERT_GE(out.markers.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_FALSE(out.markers[i].value) << "marker " << i;
}

TEST(ModValParser, MalformedStringsAndCommentsNameTheirLine)
{
    EXPECT_EQ(ParseText("ok\nconst char* s = \"never closed;\n").error,
              "ERROR in f.cpp on line 2: Error parsing quotes");
    EXPECT_EQ(ParseText("a\nb\n// continued \\\nc\n").error, "ERROR in f.cpp on line 3: Error parsing c++ comment");
    EXPECT_EQ(ParseText("a\n/* open\nstill\n").error, "ERROR in f.cpp on line 2: Error parsing c comment");
}

// --- Reparse -----------------------------------------------------------------------------

TEST_F(ModValFile, ChangedFileUpdatesRegisteredValues)
{
    int count = 1;
    float scale = 1.0f;
    double speed = 1.0;
    std::string title = "old";
    mTable.Register(&count, ModValKind::Int, mPath, 2, 0);
    mTable.Register(&scale, ModValKind::Float, mPath, 2, 1);
    mTable.Register(&speed, ModValKind::Double, mPath, 3, 0);
    mTable.Register(&title, ModValKind::String, mPath, 4, 0);
    Write("// tweakables\nint count = M(12), s = M1(0.5f);\ndouble v = M(3);\nconst char* t = M(\"new\");\n"
          "int unregistered = M(\"not a number\");\n");
    Reparse(FileTime() - 10);
    EXPECT_TRUE(mMessages.empty()) << mMessages.front().text;
    EXPECT_EQ(count, 12);
    EXPECT_EQ(scale, 0.5f);
    EXPECT_EQ(speed, 3.0);
    EXPECT_EQ(title, "new");

    // Nothing newer since: the values are read again, and the warning lists the file.
    count = 0;
    Reparse(0);
    EXPECT_EQ(count, 12);
    ASSERT_EQ(mMessages.size(), 1u);
    EXPECT_EQ(mMessages[0].caption, "MODVAL WARNING!");
    EXPECT_EQ(mMessages[0].text, "WARNING: No file changes detected.  Files parsed: \r\n  " + mPath);
}

TEST_F(ModValFile, ValueOfTheWrongKindIsAParsingError)
{
    int count = 5;
    mTable.Register(&count, ModValKind::Int, mPath, 1, 0);
    Write("int count = M(2.5);\n");
    Reparse(FileTime() - 10);
    ASSERT_EQ(mMessages.size(), 1u);
    EXPECT_EQ(mMessages[0].caption, "MODVAL ERROR");
    EXPECT_EQ(mMessages[0].text, "ERROR in " + mPath + " on line 1.  Parsing Error.");
    EXPECT_EQ(count, 5);
}

TEST_F(ModValFile, MissingSourceFileStopsTheReparse)
{
    int count = 5;
    mTable.Register(&count, ModValKind::Int, mPath, 1, 0);
    Reparse(1);
    ASSERT_EQ(mMessages.size(), 1u);
    EXPECT_EQ(mMessages[0].caption, "MODVAL ERROR!");
    EXPECT_EQ(mMessages[0].text, "ERROR: Unable to open " + mPath + " for reparsing.");
}

TEST_F(ModValFile, NoValuesGivesTheNoneWarning)
{
    Reparse(1);
    ASSERT_EQ(mMessages.size(), 1u);
    EXPECT_EQ(mMessages[0].caption, "MODVAL WARNING!");
    EXPECT_EQ(mMessages[0].text, "WARNING: No file changes detected.  Files parsed: \r\n  none");
}

// --- Marker macros -------------------------------------------------------------------------

namespace
{
int MarkedInt() { return M(42); }
const char* MarkedText() { return M2("tweak me"); }
constexpr int kMarkedLine = __LINE__ - 1; // the line of MarkedText
} // namespace

TEST(ModValMacros, MarkersRegisterAtStartUpWithFileLineAndIndex)
{
#ifdef NDEBUG
    GTEST_SKIP() << "an optimised build compiles the markers to their plain values";
#endif
    // Registered before the first call: the cells are static objects.
    const auto& files = Quoll::ModVal::Table().Files();
    auto found = files.find(__FILE__);
    ASSERT_NE(found, files.end());
    ASSERT_EQ(found->second.size(), 2u);
    bool sawText = false;
    for (const ModValTable::Site& site : found->second)
        if (site.kind == ModValKind::String)
        {
            sawText = true;
            EXPECT_EQ(site.line, kMarkedLine);
            EXPECT_EQ(site.index, 2);
            *static_cast<std::string*>(site.address) = "tweaked";
        }
        else
        {
            EXPECT_EQ(site.kind, ModValKind::Int);
            EXPECT_EQ(site.line, kMarkedLine - 1);
            EXPECT_EQ(site.index, 0);
        }
    EXPECT_TRUE(sawText);
    EXPECT_EQ(MarkedInt(), 42);
    EXPECT_STREQ(MarkedText(), "tweaked");
}
