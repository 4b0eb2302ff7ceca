// Stresses path normalisation and the case-insensitive fall-back on a case-sensitive
// file system, with '\' separators and mixed-case names, and wildcard file finding.
// Rerun one case: test_platform --gtest_filter='Path.*'
#include "framework/platform/system/Path.h"

#include "ScratchFolder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace Quoll::Platform
{
namespace
{
void Touch(const std::string& path) { std::ofstream(path) << "x"; }

std::vector<std::string> Names(const std::vector<FoundFile>& files)
{
    std::vector<std::string> names;
    for (const FoundFile& file : files)
        names.push_back(file.name);
    return names;
}
} // namespace

TEST(Path, NormaliseTurnsBackslashesAndCollapsesSeparators)
{
    EXPECT_EQ(NormalisePath("data\\images\\\\a.png"), "data/images/a.png");
    EXPECT_EQ(NormalisePath("//abs///x/"), "/abs/x/");
    EXPECT_EQ(NormalisePath("..\\fonts\\.\\a.txt"), "../fonts/./a.txt");
    EXPECT_EQ(NormalisePath(""), "");
}

TEST(Path, ResolvesEachComponentIgnoringCase)
{
    std::string root = Testing::ScratchFolder();
    ASSERT_TRUE(MakeDirectories(root + "/Data/Art"));
    Touch(root + "/Data/Art/Title.PNG");

    EXPECT_EQ(ResolvePathCase(root + "\\data\\art\\title.png"), root + "/Data/Art/Title.PNG");
    EXPECT_EQ(ResolvePathCase(root + "/DATA/ART/TITLE.png"), root + "/Data/Art/Title.PNG");
    // The exact name is kept when it exists.
    EXPECT_EQ(ResolvePathCase(root + "/Data/Art/Title.PNG"), root + "/Data/Art/Title.PNG");
    // Unknown components stay as given, so the path can be used to create a file.
    EXPECT_EQ(ResolvePathCase(root + "/data/art/new/file.txt"), root + "/Data/Art/new/file.txt");
    // A trailing separator survives.
    EXPECT_EQ(ResolvePathCase(root + "/data/art/"), root + "/Data/Art/");

    std::FILE* file = OpenFile(root + "\\DATA\\art\\title.png", "rb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_TRUE(PathExists(root + "/data/ART/title.png"));
    EXPECT_TRUE(IsDirectory(root + "/data/ART"));
    EXPECT_FALSE(PathExists(root + "/data/ART/missing.png"));
}

TEST(Path, PrefersTheFirstNameInByteOrderWhenSeveralMatch)
{
    std::string root = Testing::ScratchFolder();
    Touch(root + "/readme");
    Touch(root + "/README");
    EXPECT_EQ(ResolvePathCase(root + "/ReadMe"), root + "/README");
}

TEST(Path, WildcardsMatchIgnoringCase)
{
    EXPECT_TRUE(WildcardMatch("*.dmo", "quollapp3.DMO"));
    EXPECT_FALSE(WildcardMatch("*.dmo", "quollapp3.dmo.bak"));
    EXPECT_TRUE(WildcardMatch("image*.png", "image12.png"));
    EXPECT_TRUE(WildcardMatch("image*.png", "Image.png"));
    EXPECT_FALSE(WildcardMatch("image*.png", "myimage1.png"));
    EXPECT_TRUE(WildcardMatch("a?c", "abc"));
    EXPECT_FALSE(WildcardMatch("a?c", "ac"));
    EXPECT_TRUE(WildcardMatch("*.*", "noextension"));
    EXPECT_TRUE(WildcardMatch("readme.*", "README"));
    EXPECT_TRUE(WildcardMatch("*a*b*", "xxaxxbxx"));
}

TEST(Path, FindsFilesByPatternInAFolderGivenInAnyCase)
{
    std::string root = Testing::ScratchFolder();
    ASSERT_TRUE(MakeDirectories(root + "/Demos"));
    for (const char* name : {"quollapp2.dmo", "quollapp10.dmo", "notes.txt", "image1.png", "image22.png", "icon.png"})
        Touch(root + "/Demos/" + name);
    ASSERT_TRUE(MakeDirectories(root + "/Demos/sub.dmo"));

    EXPECT_EQ(Names(FindFiles(root + "\\demos\\*.dmo")),
              (std::vector<std::string>{"quollapp10.dmo", "quollapp2.dmo", "sub.dmo"}));
    EXPECT_EQ(Names(FindFiles(root + "/demos/image*.png")), (std::vector<std::string>{"image1.png", "image22.png"}));
    EXPECT_EQ(FindFiles(root + "/demos/*.*").size(), 7u); // never "." or ".."
    std::vector<FoundFile> sub = FindFiles(root + "/demos/sub.dmo");
    ASSERT_EQ(sub.size(), 1u);
    EXPECT_TRUE(sub[0].isDirectory);
    EXPECT_TRUE(FindFiles(root + "/nowhere/*.dmo").empty());
}
} // namespace Quoll::Platform
