// ScoreTable: best first, one entry per name, ties, the size limit, and "scores.dat" (round
// trip, truncation, out-of-order and damaged records). Rerun one case with
// --gtest_filter=ScoreTable.<name>.
#include "PlayerDataTestSupport.h"

#include "game/shell/PlayerFileStore.h"
#include "game/shell/ScoreTable.h"

#include <gtest/gtest.h>

namespace
{
std::vector<std::string> Names(const ScoreTable& table)
{
    std::vector<std::string> names;
    for (const ScoreTable::Entry& entry : table.GetEntries())
        names.push_back(entry.name + ":" + std::to_string(entry.score));
    return names;
}

Quoll::Buffer RawTable(const std::vector<ScoreTable::Entry>& entries)
{
    Quoll::Buffer buffer;
    buffer.WriteString("tymlo1scb");
    buffer.WriteInt32(1);
    buffer.WriteInt32(static_cast<int32_t>(entries.size()));
    for (const ScoreTable::Entry& entry : entries)
    {
        buffer.WriteString(entry.name);
        buffer.WriteInt32(entry.score);
    }
    buffer.WriteString("tymlo1scb");
    return buffer;
}
} // namespace

TEST(ScoreTable, KeepsTheBestFirstWithOneEntryPerName)
{
    ScoreTable table;
    EXPECT_TRUE(table.Submit("Ann", 100));
    EXPECT_TRUE(table.Submit("Bob", 300));
    EXPECT_TRUE(table.Submit("Cy", 100)); // a tie goes after the older entry
    EXPECT_FALSE(table.Submit("Bob", 200));
    EXPECT_FALSE(table.Submit("Dee", -1));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"Bob:300", "Ann:100", "Cy:100"}));
    EXPECT_TRUE(table.Submit("Ann", 400));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"Ann:400", "Bob:300", "Cy:100"}));
}

TEST(ScoreTable, AFullTableDropsTheLowest)
{
    ScoreTable table;
    for (int i = 0; i < ScoreTable::kMaxEntries; ++i)
        table.Submit(std::string(1, static_cast<char>('a' + i)), 10 * (i + 1));
    EXPECT_FALSE(table.Submit("low", 10)); // equal to the last: the older entry stays
    EXPECT_TRUE(table.Submit("high", 15));
    ASSERT_EQ(table.GetEntries().size(), static_cast<size_t>(ScoreTable::kMaxEntries));
    EXPECT_EQ(table.GetEntries().front().score, 100);
    EXPECT_EQ(table.GetEntries().back().name, "high");
}

TEST(ScoreTable, FileRoundTripsAndDamageGivesAnEmptyTableAndTheLogLine)
{
    ScoreTable table;
    table.Submit("Ann", 500);
    table.Submit("a/b", 20);
    MemoryFileStore store;
    ASSERT_TRUE(table.Save(store));
    ScoreTable read;
    EXPECT_TRUE(read.Load(store));
    EXPECT_EQ(read, table);

    const std::string bytes = store.GetBytes(ScoreTable::kFileName);
    for (size_t length = 1; length < bytes.size(); ++length)
    {
        store.SetBytes(ScoreTable::kFileName, Cut(bytes, length));
        ScopedLogCapture log;
        EXPECT_FALSE(read.Load(store)) << length;
        EXPECT_TRUE(read.GetEntries().empty()) << length;
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Score file: scores.dat corrupted; kept as scores.dat.bad"})) << length;
    }
}

TEST(ScoreTable, RecordsOutOfOrderOrWithRepeatedNamesAreRefused)
{
    ScoreTable table;
    table.Submit("kept", 1);
    Quoll::Buffer ascending = RawTable({{"a", 1}, {"b", 2}});
    EXPECT_FALSE(table.Read(ascending));
    Quoll::Buffer repeated = RawTable({{"a", 2}, {"a", 1}});
    EXPECT_FALSE(table.Read(repeated));
    Quoll::Buffer negative = RawTable({{"a", -2}});
    EXPECT_FALSE(table.Read(negative));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"kept:1"}));

    // The profile magic is a prefix of the score magic; compared by its exact length it does not
    // pass for it.
    Quoll::Buffer profileMagic;
    profileMagic.WriteString("tymlo1");
    profileMagic.WriteInt32(1);
    profileMagic.WriteInt32(0);
    profileMagic.WriteString("tymlo1");
    EXPECT_FALSE(table.Read(profileMagic));

    Quoll::Buffer good = RawTable({{"a", 2}, {"b", 2}});
    EXPECT_TRUE(table.Read(good));
}
