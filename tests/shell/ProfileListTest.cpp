// ProfileList: the names a profile may take, the five-profile limit, the search from the last
// entry, file names that never carry the name's characters, and "profiles.lst" (round trip,
// truncation, damage). Rerun one case with --gtest_filter=ProfileList.<name>.
#include "PlayerDataTestSupport.h"

#include "game/shell/PlayerFileStore.h"
#include "game/shell/ProfileList.h"

#include <gtest/gtest.h>

using NameCheck = ProfileList::NameCheck;

TEST(ProfileList, NameCharactersFollowTheRefusalList)
{
    for (const char c : std::string(" $&()*+,-.:^@"))
        EXPECT_FALSE(IsValidProfileNameChar(static_cast<unsigned char>(c))) << c;
    for (const int code : {0, 9, 10, 0x1F, 0x7F, 0x80, 0x9F, 0xB9, 0x100, 0x2603, -1})
        EXPECT_FALSE(IsValidProfileNameChar(code)) << code;
    for (const char c : std::string("azAZ09_!?/\\'\"#%~"))
        EXPECT_TRUE(IsValidProfileNameChar(static_cast<unsigned char>(c))) << c;
    for (const int code : {0xA0, 0xB8, 0xBA, 0xE9, 0xFF})
        EXPECT_TRUE(IsValidProfileNameChar(code)) << code;
}

TEST(ProfileList, NewNamesAreCheckedForLengthCharactersAndDuplicates)
{
    ProfileList list;
    EXPECT_EQ(list.CheckNewName(""), NameCheck::Empty);
    EXPECT_EQ(list.CheckNewName("123456789"), NameCheck::TooLong);
    EXPECT_EQ(list.CheckNewName("12345678"), NameCheck::Ok);
    EXPECT_EQ(list.CheckNewName("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"), NameCheck::Ok)
        << "eight two-byte characters are eight characters";
    EXPECT_EQ(list.CheckNewName("a b"), NameCheck::BadCharacter);
    EXPECT_EQ(list.CheckNewName("tab\t"), NameCheck::BadCharacter);
    EXPECT_EQ(list.CheckNewName("\xFF"), NameCheck::BadCharacter) << "malformed UTF-8";
    EXPECT_EQ(list.CheckNewName("\xE2\x98\x83"), NameCheck::BadCharacter) << "a character above 255";

    EXPECT_EQ(list.Add("Ann"), NameCheck::Ok);
    EXPECT_EQ(list.Add("Ann"), NameCheck::Taken);
    EXPECT_EQ(list.Add("ann"), NameCheck::Ok);
    for (const char* name : {"B", "C", "D"})
        EXPECT_EQ(list.Add(name), NameCheck::Ok);
    EXPECT_EQ(list.GetCount(), ProfileList::kMaxProfiles);
    EXPECT_EQ(list.Add("E"), NameCheck::ListFull);
    EXPECT_EQ(list.GetName(0), "Ann");
    EXPECT_EQ(list.GetName(5), "");
    EXPECT_EQ(list.GetName(-1), "");
    EXPECT_EQ(ProfileList::GetMaxNameLength(), 8);

    EXPECT_EQ(list.Find("D"), 4);
    EXPECT_EQ(list.Find("Zed"), -1);
    EXPECT_TRUE(list.Remove(0));
    EXPECT_FALSE(list.Remove(4));
    EXPECT_EQ(list.Find("ann"), 0);
}

TEST(ProfileList, AFileFullOfDuplicatesIsRefused)
{
    // Two entries of one name would share their files: the reader refuses such a list. Find
    // still searches from the last entry, as the dialogs expect.
    Quoll::Buffer buffer;
    buffer.WriteString("tymlo1");
    buffer.WriteInt32(1);
    buffer.WriteInt32(2);
    buffer.WriteString("Ann");
    buffer.WriteString("Ann");
    buffer.WriteString("tymlo1");
    ProfileList list;
    EXPECT_FALSE(list.Read(buffer));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(ProfileList, FileNamesAreTheHexOfTheNameAndCarryNoPathCharacter)
{
    EXPECT_EQ(ProfileList::GetFileStem("Ann"), "416e6e");
    EXPECT_EQ(ProfileList::GetFileStem("../x"), "2e2e2f78");
    EXPECT_EQ(ProfileList::GetFileStem("\xC3\xA9"), "c3a9");
    for (const char* name : {"a/b", "..", "\\\\srv", "/etc", "~/"})
    {
        const std::string stem = ProfileList::GetFileStem(name);
        EXPECT_EQ(stem.find_first_not_of("0123456789abcdef"), std::string::npos) << name;
    }
}

TEST(ProfileList, ListFileRoundTripsAndDamageGivesAnEmptyListAndTheLogLine)
{
    ProfileList list;
    list.Add("Ann");
    list.Add("x/y");
    MemoryFileStore store;
    ASSERT_TRUE(list.Save(store));
    ProfileList read;
    EXPECT_TRUE(read.Load(store));
    EXPECT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetName(1), "x/y");

    const std::string bytes = store.GetBytes(ProfileList::kFileName);
    for (size_t length = 1; length < bytes.size(); ++length)
    {
        store.SetBytes(ProfileList::kFileName, Cut(bytes, length));
        ScopedLogCapture log;
        EXPECT_FALSE(read.Load(store)) << length;
        EXPECT_EQ(read.GetCount(), 0) << length;
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Profile list: profiles.lst corrupted; kept as profiles.lst.bad"})) << length;
    }

    // A name the dialog could never have typed.
    std::string badName = bytes;
    badName[bytes.find("x/y") + 1] = ' ';
    store.SetBytes(ProfileList::kFileName, badName);
    EXPECT_FALSE(read.Load(store));

    MemoryFileStore empty;
    ScopedLogCapture log;
    EXPECT_FALSE(read.Load(empty));
    EXPECT_TRUE(log.Errors().empty()) << "a first start is no damage";
}
