// Text record files: one record per line, missing trailing values repeated from the line
// before, comments skipped, appending to the caller's list, and the failures.
// Rerun one case: test_scene --gtest_filter='LoadTextRecords.Name'.
#include "SceneTestDoubles.h"
#include "game/scene/TextRecord.h"

#include <gtest/gtest.h>

TEST(LoadTextRecords, MissingValuesRepeatThoseOfTheLineBefore)
{
    FakeSceneServices services;
    std::vector<TextRecord> records;
    ASSERT_TRUE(LoadTextRecords(records, SceneDataPath("records.txt"), services));
    EXPECT_EQ(records, (std::vector<TextRecord>{{"a", 1, 2, 3, 4}, {"b", 5, 2, 3, 4}}));
    EXPECT_TRUE(services.log.empty());
}

TEST(LoadTextRecords, CommentsOnlyGiveNoRecordAndSuccess)
{
    FakeSceneServices services;
    std::vector<TextRecord> records;
    EXPECT_TRUE(LoadTextRecords(records, SceneDataPath("records_comments.txt"), services));
    EXPECT_TRUE(records.empty());
}

TEST(LoadTextRecords, ASecondFileIsAppendedAndABadValueCutsItsLine)
{
    FakeSceneServices services;
    std::vector<TextRecord> records;
    ASSERT_TRUE(LoadTextRecords(records, SceneDataPath("records.txt"), services));
    ASSERT_TRUE(LoadTextRecords(records, SceneDataPath("records_more.txt"), services));
    // Each file starts from a fresh working record; "0x4" is not a decimal integer.
    EXPECT_EQ(records, (std::vector<TextRecord>{
                           {"a", 1, 2, 3, 4}, {"b", 5, 2, 3, 4}, {"thumb", 10, 20, 0, 0}, {"track", -3, 20, 0, 0}}));
    ASSERT_EQ(services.log.size(), 1u);
    EXPECT_NE(services.log[0].find("'0x4' is not an integer"), std::string::npos) << services.log[0];
}

TEST(LoadTextRecords, AnUnopenableFileIsLoggedAndLeavesTheListAlone)
{
    FakeSceneServices services;
    std::vector<TextRecord> records{{"kept", 1, 1, 1, 1}};
    EXPECT_FALSE(LoadTextRecords(records, SceneDataPath("nothing.txt"), services));
    EXPECT_EQ(records.size(), 1u);
    EXPECT_EQ(services.log, std::vector<std::string>{"ERROR: Cannot open file: " + SceneDataPath("nothing.txt")});
}
