// SavedGame: the ".save" record round trip, erasing, and what damaged files give. Rerun one case
// with --gtest_filter=SavedGame.<name>.
#include "PlayerDataTestSupport.h"

#include "game/shell/PlayerFileStore.h"
#include "game/shell/SavedGame.h"

#include <gtest/gtest.h>

namespace
{
Quoll::Buffer Body(const std::string& text)
{
    Quoll::Buffer body;
    body.WriteString(text);
    return body;
}

std::string BodyText(SavedGame& game)
{
    game.GetBody().SeekReadStart();
    return game.GetBody().ReadString();
}
} // namespace

TEST(SavedGame, RoundTripsAndErases)
{
    MemoryFileStore store;
    EXPECT_FALSE(SavedGame::Load(store, "Ann").has_value());
    ASSERT_TRUE(SavedGame(-3, Body("level body")).Save(store, "Ann"));
    EXPECT_TRUE(store.Has("416e6e.save"));
    std::optional<SavedGame> game = SavedGame::Load(store, "Ann");
    ASSERT_TRUE(game.has_value());
    EXPECT_EQ(game->GetLevel(), -3);
    EXPECT_EQ(BodyText(*game), "level body");

    ScopedLogCapture log;
    EXPECT_TRUE(SavedGame::Erase(store, "Ann"));
    EXPECT_FALSE(SavedGame::Load(store, "Ann").has_value());
    EXPECT_TRUE(log.Errors().empty()) << "an erased saved game is no damage";
}

TEST(SavedGame, RecordsTheReaderWouldRefuseAreNotWritten)
{
    MemoryFileStore store;
    ASSERT_TRUE(SavedGame(7, Body("good")).Save(store, "Ann"));
    EXPECT_FALSE(SavedGame(0, Body("x")).Save(store, "Ann"));
    EXPECT_FALSE(SavedGame(71, Body("x")).Save(store, "Ann"));
    EXPECT_FALSE(SavedGame(-6, Body("x")).Save(store, "Ann"));
    EXPECT_FALSE(SavedGame(7, Quoll::Buffer()).Save(store, "Ann"));
    std::optional<SavedGame> game = SavedGame::Load(store, "Ann");
    ASSERT_TRUE(game.has_value());
    EXPECT_EQ(BodyText(*game), "good");
}

TEST(SavedGame, EveryTruncationAndABadLengthGiveNoGameAndTheLogLine)
{
    MemoryFileStore store;
    ASSERT_TRUE(SavedGame(12, Body("a level body")).Save(store, "Ann"));
    const std::string bytes = store.GetBytes("416e6e.save");
    for (size_t length = 1; length < bytes.size(); ++length)
    {
        store.SetBytes("416e6e.save", Cut(bytes, length));
        ScopedLogCapture log;
        EXPECT_FALSE(SavedGame::Load(store, "Ann").has_value()) << length;
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Saved game: 416e6e.save corrupted; kept as 416e6e.save.bad"})) << length;
    }
    // Body length (after magic, version and level) claiming more than the file holds.
    std::string longer = bytes;
    longer[16] = '\x7F';
    store.SetBytes("416e6e.save", longer);
    EXPECT_FALSE(SavedGame::Load(store, "Ann").has_value());
}
