// Stresses the pack layer: a folder packed by the pakbuild tool reads back byte-identical
// through every PakF* call, path spelling ('\', doubled separators, letter case) resolves in
// the pack and on disk, finding lists pack and disk names once, and corrupt or foreign packs
// are refused without a crash.
// Rerun one case: ./test_resources --gtest_filter=PakInterfaceTest.SeekToEndGivesSize
#include "TestFolder.h"

#include "framework/files/PakFormat.h"
#include "framework/files/PakInterface.h"
#include "framework/files/PakWriter.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <type_traits>

using namespace Quoll;

namespace
{
std::string RandomBytes(std::mt19937& rng, size_t size)
{
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(rng());
    return bytes;
}

std::string ReadThroughPak(const std::string& path)
{
    PakFileHandle* handle = PakFOpen(path, "rb");
    if (handle == nullptr)
        return "<missing>";
    std::string bytes;
    char block[777]; // an odd size, so reads straddle the scrambler's 8-byte blocks
    size_t read = 0;
    while ((read = PakFRead(block, 1, sizeof block, handle)) > 0)
        bytes.append(block, read);
    EXPECT_NE(PakFEof(handle), 0);
    PakFClose(handle);
    return bytes;
}

class PakInterfaceTest : public QuollTest::TestFolder
{
protected:
    void TearDown() override
    {
        GetPakInterface()->UnmountAll();
        GetPakInterface()->SetPassword("");
        TestFolder::TearDown();
    }

    static bool RunPakBuild(const std::string& folder, const std::string& pak, const std::string& password)
    {
        const std::string command = std::string(PAKBUILD_PATH) + " --password '" + password + "' " + folder + " " +
                                    pak + " > /dev/null";
        return std::system(command.c_str()) == 0;
    }
};

TEST_F(PakInterfaceTest, FolderPackedByToolReadsBackIdentically)
{
    const unsigned seed = 20261206;
    std::mt19937 rng(seed);
    const std::vector<std::pair<std::string, size_t>> files = {
        {"data/levels/1.bin", 0},     {"data/levels/2.bin", 1},   {"data/art/big.png", 100000},
        {"data/texts.xml", 4097},     {"Data/Branding/A.PNG", 9}, {"main.cfg", 64},
    };
    std::map<std::string, std::string> contents;
    for (const auto& [name, size] : files)
    {
        contents[name] = RandomBytes(rng, size);
        WriteFile("src/" + name, contents[name]);
    }
    ASSERT_TRUE(RunPakBuild("src", "main.pak", "secret"));

    GetPakInterface()->SetPassword("secret");
    ASSERT_TRUE(GetPakInterface()->MountPakFile("main.pak")) << GetPakInterface()->GetLastError();
    for (const auto& [name, bytes] : contents)
    {
        EXPECT_EQ(ReadThroughPak(name), bytes) << name << " from the pack, seed " << seed;
        EXPECT_EQ(ReadThroughPak(Absolute("src/" + name)), bytes) << name << " from disk, seed " << seed;
    }
}

TEST_F(PakInterfaceTest, SeekToEndGivesSizeFromPackAndDisk)
{
    PakWriter writer;
    writer.AddFile("data/a.bin", std::string(1234, 'x'));
    std::string error;
    ASSERT_TRUE(writer.Write("test.pak", "", error)) << error;
    ASSERT_TRUE(GetPakInterface()->MountPakFile("test.pak"));
    WriteFile("disk.bin", std::string(4321, 'y'));

    for (const auto& [path, size] : {std::pair<std::string, long>{"data/a.bin", 1234}, {"disk.bin", 4321}})
    {
        PakFileHandle* handle = PakFOpen(path, "rb");
        ASSERT_NE(handle, nullptr) << path;
        EXPECT_EQ(PakFSeek(handle, 0, SEEK_END), 0);
        EXPECT_EQ(PakFTell(handle), size) << path;
        EXPECT_NE(PakFEof(handle), 0);
        // Back to the start and around: SEEK_CUR, and a seek before the start is refused.
        EXPECT_EQ(PakFSeek(handle, 10, SEEK_SET), 0);
        EXPECT_EQ(PakFSeek(handle, -4, SEEK_CUR), 0);
        EXPECT_EQ(PakFTell(handle), 6);
        EXPECT_EQ(PakFSeek(handle, -7, SEEK_CUR), -1);
        EXPECT_EQ(PakFTell(handle), 6);
        EXPECT_EQ(PakFSeek(handle, 0, 99), -1);
        // Past the end: allowed, reads nothing.
        char c = 0;
        EXPECT_EQ(PakFSeek(handle, 5, SEEK_END), 0);
        EXPECT_EQ(PakFRead(&c, 1, 1, handle), 0u);
        PakFClose(handle);
    }
}

TEST_F(PakInterfaceTest, PathSpellingsResolveInPackAndOnDisk)
{
    PakWriter writer;
    writer.AddFile("data/branding/a.png", "packed");
    std::string error;
    ASSERT_TRUE(writer.Write("test.pak", "pw", error)) << error;
    GetPakInterface()->SetPassword("pw");
    ASSERT_TRUE(GetPakInterface()->MountPakFile("TEST.PAK"));
    EXPECT_EQ(ReadThroughPak("Data\\Branding//A.PNG"), "packed");
    EXPECT_EQ(ReadThroughPak("./data/x/../branding/a.png"), "packed");

    WriteFile("disk/data/branding/a.png", "on disk");
    EXPECT_EQ(ReadThroughPak(Absolute("disk") + "/Data\\Branding//A.PNG"), "on disk");
    EXPECT_EQ(ReadThroughPak("disk\\DATA\\branding\\a.PNG"), "on disk");
    EXPECT_EQ(PakFOpen("data/branding/missing.png", "rb"), nullptr);
    EXPECT_EQ(PakFOpen("data/branding/a.png", "wb"), nullptr) << "writing is refused";
}

TEST_F(PakInterfaceTest, PackWinsOverDiskAndGetsReadsLines)
{
    PakWriter writer;
    writer.AddFile("cfg.txt", "one\r\ntwo\nthree");
    std::string error;
    ASSERT_TRUE(writer.Write("test.pak", "", error));
    WriteFile("cfg.txt", "disk version\n");
    ASSERT_TRUE(GetPakInterface()->MountPakFile("test.pak"));

    PakFileHandle* handle = PakFOpen("cfg.txt", "rt");
    ASSERT_NE(handle, nullptr);
    char line[4];
    std::vector<std::string> pieces;
    while (PakFGets(line, sizeof line, handle) != nullptr)
        pieces.emplace_back(line);
    PakFClose(handle);
    EXPECT_EQ(pieces, (std::vector<std::string>{"one", "\r\n", "two", "\n", "thr", "ee"}));
}

TEST_F(PakInterfaceTest, FindingListsPackAndDiskNamesOnce)
{
    PakWriter writer;
    writer.AddFile("data/levels/1.bin", "a");
    writer.AddFile("data/levels/2.BIN", "b");
    writer.AddFile("data/levels/easy/1.bin", "c");
    writer.AddFile("data/levels/notes.txt", "d");
    std::string error;
    ASSERT_TRUE(writer.Write("test.pak", "", error));
    ASSERT_TRUE(GetPakInterface()->MountPakFile("test.pak"));
    WriteFile("Data/Levels/2.bin", "disk b");
    WriteFile("Data/Levels/3.bin", "disk c");

    std::vector<std::string> names;
    PakFindData data;
    PakFindHandle* find = PakFindFirstFile("data\\levels\\*", &data);
    ASSERT_NE(find, nullptr);
    do
        names.push_back(data.mFileName + (data.mIsDirectory ? "/" : ""));
    while (PakFindNextFile(find, &data));
    PakFindClose(find);
    EXPECT_EQ(names, (std::vector<std::string>{"1.bin", "2.BIN", "3.bin", "easy/", "notes.txt"}));

    std::vector<std::string> levels;
    EXPECT_TRUE(ListFilesByExtension("data/levels/", "bin", levels));
    EXPECT_EQ(levels, (std::vector<std::string>{"1.bin", "2.BIN", "3.bin"}));
    EXPECT_EQ(PakFindFirstFile("data/levels/*.none", &data), nullptr);
}

TEST_F(PakInterfaceTest, CorruptOrForeignPacksAreRefused)
{
    PakWriter writer;
    writer.AddFile("data/a.bin", std::string(300, 'a'));
    writer.AddFile("data/b.bin", std::string(200, 'b'));
    std::string error;
    ASSERT_TRUE(writer.Write("good.pak", "pw", error));
    const std::string good = ReadFile("good.pak");

    GetPakInterface()->SetPassword("other");
    EXPECT_FALSE(GetPakInterface()->MountPakFile("good.pak"));
    EXPECT_NE(GetPakInterface()->GetLastError().find("wrong password"), std::string::npos);
    GetPakInterface()->SetPassword("pw");
    EXPECT_FALSE(GetPakInterface()->MountPakFile("missing.pak"));

    // Every truncation, and every single-byte change of the header and directory.
    for (size_t size = 0; size < good.size(); size += (size < 100 ? 1 : 37))
    {
        WriteFile("bad.pak", good.substr(0, size));
        EXPECT_FALSE(GetPakInterface()->MountPakFile("bad.pak")) << "truncated to " << size;
    }
    std::set<std::string> mounted;
    for (size_t at = 0; at < 80; ++at)
    {
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        WriteFile("bad.pak", bad);
        if (GetPakInterface()->MountPakFile("bad.pak"))
        {
            // A change that still parses must keep every entry inside the file.
            for (const char* name : {"data/a.bin", "data/b.bin"})
                ReadThroughPak(name);
            GetPakInterface()->UnmountAll();
        }
    }
    EXPECT_TRUE(GetPakInterface()->MountPakFile("good.pak"));
}

TEST_F(PakInterfaceTest, WriterRefusesCollidingNames)
{
    PakWriter writer;
    writer.AddFile("Data/A.png", "1");
    writer.AddFile("data/a.PNG", "2");
    std::string error;
    EXPECT_FALSE(writer.Write("x.pak", "", error));
    EXPECT_FALSE(std::filesystem::exists("x.pak"));
}
} // namespace
