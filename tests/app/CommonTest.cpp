// Text, path and file helpers: the parsing rules, the path tables, UTF-8 round trips and the
// file-system operations on a scratch folder. Rerun one case: test_app --gtest_filter='Common.*'
#include "framework/core/Common.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace Quoll;

TEST(Common, StringToIntRules)
{
    struct Case
    {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"12", true, 12},   {"-12", true, -12},  {"0x1F", true, 31},  {"0X1f", true, 31}, {"-x10", true, -16},
        {"-", true, 0},     {"12a", false, 0},   {"x10", false, 0},   {"", false, 0},     {" 1", false, 0},
        {"1x2", false, 0},  {"4294967297", true, 1}, // wraps modulo 2^32
    };
    for (const Case& c : cases)
    {
        int value = 99;
        EXPECT_EQ(StringToInt(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        int wide = 99;
        EXPECT_EQ(WStringToInt(StringToWString(c.text), wide), c.ok) << c.text;
        EXPECT_EQ(wide, c.value) << c.text;
    }
}

TEST(Common, StringToDoubleRules)
{
    double v = 1;
    EXPECT_TRUE(StringToDouble("3.25", v));
    EXPECT_DOUBLE_EQ(v, 3.25);
    EXPECT_TRUE(StringToDouble("-0.5", v));
    EXPECT_DOUBLE_EQ(v, -0.5);
    EXPECT_FALSE(StringToDouble("1e5", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_FALSE(StringToDouble("1.2.3", v));
    EXPECT_FALSE(StringToDouble("", v));
}

TEST(Common, TextHelpers)
{
    EXPECT_EQ(FormatWithCommas(1000), L"1,000");
    EXPECT_EQ(FormatWithCommas(999), L"999");
    EXPECT_EQ(FormatWithCommas(0), L"0");
    EXPECT_EQ(FormatWithCommas(1234567), L"1,234,567");
    EXPECT_EQ(FormatWithCommas(-5), L"");
    EXPECT_EQ(DecodeXmlEntities(L"a&lt;b&zz;c&d"), L"a<b&c&d");
    EXPECT_EQ(DecodeXmlEntities(L"&quot;&apos;&amp;&gt;&nbsp;&cr;"), L"\"'&> \n");
    EXPECT_EQ(Trim(" \t ab c\r\n"), "ab c");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(StringToLower("AbC1"), "abc1");
    EXPECT_EQ(StringToUpper("aBc1\xc3\xa9"), "ABC1\xc3\xa9"); // ASCII letters only
    EXPECT_EQ(FindNoCase("Hello World", "WORLD"), 6);
    EXPECT_EQ(FindNoCase("Hello", "xyz"), -1);
    EXPECT_EQ(FindNoCase("", ""), -1);
    EXPECT_EQ(FindNoCase("abc", ""), 0);
}

TEST(Common, FormattingGrowsBeyondTheFirstBuffer)
{
    EXPECT_EQ(FormatString("%d-%s", 7, "x"), "7-x");
    const std::string long_(5000, 'q');
    EXPECT_EQ(FormatString("<%s>", long_.c_str()).size(), 5002u);
    EXPECT_EQ(FormatWideString(L"%d %ls", 42, L"\u00e9t\u00e9"), L"42 \u00e9t\u00e9");
    const std::wstring wideLong(3000, L'w');
    EXPECT_EQ(FormatWideString(L"%ls!", wideLong.c_str()).size(), 3001u);
    const std::string huge(2'000'000, 'h');
    EXPECT_LT(FormatString("%s", huge.c_str()).size(), kMaxFormatLength);
}

TEST(Common, Utf8RoundTripsEveryCharacter)
{
    std::wstring all;
    for (wchar_t c = 1; c < 0x11000; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            all.push_back(c);
    all.push_back(static_cast<wchar_t>(0x10FFFF));
    EXPECT_EQ(StringToWString(WStringToString(all)), all);
    EXPECT_EQ(WStringToString(L"\u00e9"), "\xC3\xA9");
    // Bytes that are not UTF-8 become replacement characters instead of disappearing.
    EXPECT_EQ(StringToWString("a\xE9z"), std::wstring(L"a\ufffdz"));
}

TEST(Common, ResolveRelativePathTable)
{
    EXPECT_EQ(ResolveRelativePath("..\\fonts\\a.txt", "data\\images"), "data\\fonts\\a.txt");
    EXPECT_EQ(ResolveRelativePath("../x.png", "C:/games/data"), "C:/games/x.png");
    EXPECT_EQ(ResolveRelativePath("D:\\x", "data"), "D:\\x");
    EXPECT_EQ(ResolveRelativePath("./a/b.png", "data/"), "data/a/b.png");
    EXPECT_EQ(ResolveRelativePath("../../x", "data/images"), "x");
    EXPECT_EQ(ResolveRelativePath("../x", "../up"), "../x");
    EXPECT_EQ(ResolveRelativePath("../x", ".."), "../../x");
    EXPECT_EQ(ResolveRelativePath("x.png", ""), "x.png");
    EXPECT_EQ(ResolveRelativePath("/abs/x", "data"), "/abs/x");
}

TEST(Common, PathPieces)
{
    EXPECT_EQ(GetFileBaseName("dir.old/file"), "file");
    EXPECT_EQ(GetFileBaseName("a/b.c.png"), "b.c");
    EXPECT_EQ(GetFileBaseName("name"), "name");
    EXPECT_EQ(GetFileBaseName("c:\\x\\y.txt"), "y");
    EXPECT_EQ(GetDirectoryPart("a/b\\c.txt"), "a/b");
    EXPECT_EQ(GetDirectoryPart("c.txt"), "");
    EXPECT_EQ(RemoveTrailingSlash("a/b/"), "a/b");
    EXPECT_EQ(RemoveTrailingSlash("a\\"), "a");
    EXPECT_EQ(AddTrailingSlash("a/b"), "a/b/");
    EXPECT_EQ(AddTrailingSlash("a\\b"), "a\\b\\");
    EXPECT_EQ(AddTrailingSlash("a"), "a\\");
    EXPECT_EQ(AddTrailingSlash(""), "");
    EXPECT_EQ(ToSystemPath("a\\b//c"), "a/b/c");
}

TEST(Common, FileOperations)
{
    const std::string root = std::string(QUOLL_BINARY_DIR) + "/common_test_tree";
    std::filesystem::remove_all(root);
    MakeDirectories(root + "\\one\\two");
    ASSERT_TRUE(std::filesystem::is_directory(root + "/one/two"));
    std::ofstream(root + "/one/two/f.txt") << "x";
    std::ofstream(root + "/one/g.txt") << "y";
    EXPECT_TRUE(FileExists(root + "\\one\\g.txt"));
    EXPECT_FALSE(FileExists(root + "/one/missing.txt"));
    EXPECT_TRUE(FileExists(root + "\\ONE\\G.txt")) << "names match in any letter case";
    EXPECT_GT(GetFileModTime(root + "/one/g.txt"), 1'600'000'000u);
    EXPECT_EQ(GetFileModTime(root + "/nothing"), 0u);
    EXPECT_TRUE(DeleteTree(root));
    EXPECT_FALSE(std::filesystem::exists(root));
    EXPECT_FALSE(DeleteTree(root)) << "a folder that cannot be listed";
    EXPECT_FALSE(DeleteTree("/"));
}

TEST(Common, AppDataFolder)
{
    SetAppDataFolder("/tmp/pg");
    EXPECT_EQ(GetAppDataFolder(), "/tmp/pg/");
    SetAppDataFolder("");
    EXPECT_EQ(GetAppDataFolder(), "");
    EXPECT_TRUE(GrantEveryoneAccess("/tmp"));
    EXPECT_FALSE(IsWindows9x());
}
