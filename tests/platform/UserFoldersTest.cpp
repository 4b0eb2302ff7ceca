// Stresses the per-user folders: XDG variables (pointed into the build folder by the
// test set-up) are followed, the folders are created on demand, and a relative value is
// ignored as the XDG rules say. Also the read-only mapping of files and the facts about
// the running program.
// Rerun one case: test_platform --gtest_filter='UserFolders.*:MappedFile.*:ProgramInfo.*'
#include "framework/platform/system/MappedFile.h"
#include "framework/platform/system/ProgramInfo.h"
#include "framework/platform/system/UserFolders.h"

#include "ScratchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace Quoll::Platform
{
TEST(UserFolders, FollowTheXdgVariablesAndAreCreated)
{
    const char* data = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(data, nullptr);
    std::string unique = "Company" + std::to_string(::getpid());
    std::optional<std::string> folder = UserFolder(UserFolderKind::Data, unique, "Product");
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, std::string(data) + "/" + unique + "/Product/");
    EXPECT_TRUE(std::filesystem::is_directory(*folder));
    std::filesystem::remove_all(std::string(data) + "/" + unique);
}

TEST(UserFolders, IgnoreARelativeVariable)
{
    std::string saved = std::getenv("XDG_CONFIG_HOME");
    std::string home = Testing::ScratchFolder();
    std::string savedHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    ::setenv("HOME", home.c_str(), 1);
    std::optional<std::string> folder = UserFolder(UserFolderKind::Settings, "Nordwick", "PetriGlowSaga");
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    ::setenv("HOME", savedHome.c_str(), 1);
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, home + "/.config/Nordwick/PetriGlowSaga/");
}

TEST(MappedFile, MapsWholeFilesReadOnlyAndMoves)
{
    static_assert(!std::is_copy_constructible_v<MappedFile>);
    static_assert(std::is_nothrow_move_constructible_v<MappedFile>);
    std::string folder = Testing::ScratchFolder();
    std::ofstream(folder + "/Main.PAK", std::ios::binary) << "PAKDATA";
    std::ofstream(folder + "/empty.bin", std::ios::binary);

    MappedFile file;
    ASSERT_TRUE(file.Open(folder + "/main.pak")); // names resolved ignoring case
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.Bytes().data()), file.Size()), "PAKDATA");
    MappedFile moved = std::move(file);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(moved.Size(), 7u);

    MappedFile empty;
    EXPECT_TRUE(empty.Open(folder + "/empty.bin"));
    EXPECT_EQ(empty.Size(), 0u);
    MappedFile missing;
    EXPECT_FALSE(missing.Open(folder + "/missing.bin"));
    EXPECT_FALSE(missing.Open(folder)); // a folder is not a file
    EXPECT_FALSE(missing.IsOpen());
}

TEST(ProgramInfo, KnowsItsFolderAndVersion)
{
    EXPECT_TRUE(std::filesystem::exists(ProgramPath()));
    EXPECT_EQ(std::filesystem::path(ProgramPath()).parent_path().string(), ProgramFolder());
    EXPECT_FALSE(ProductVersion().empty());
    EXPECT_NE(ProductVersion(), "0.0.0");
    std::vector<std::string> arguments = ProgramArguments();
    ASSERT_FALSE(arguments.empty());
    EXPECT_NE(arguments[0].find("test_platform"), std::string::npos);
}

TEST(ProgramInfo, ChangesTheCurrentFolderIgnoringCase)
{
    std::string folder = Testing::ScratchFolder();
    std::filesystem::create_directories(folder + "/Working");
    std::string before = CurrentFolder();
    ASSERT_TRUE(SetCurrentFolder(folder + "\\working"));
    EXPECT_EQ(CurrentFolder(), std::filesystem::canonical(folder + "/Working").string());
    EXPECT_FALSE(SetCurrentFolder(folder + "/missing"));
    ASSERT_TRUE(SetCurrentFolder(before));
}
} // namespace Quoll::Platform
