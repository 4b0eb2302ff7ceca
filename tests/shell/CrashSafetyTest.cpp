// Killing the game while it saves: a child process saves the profile, the profile list and the
// scores through the application's file writer in a loop, and is killed (SIGKILL) at a random
// point; every file must then still load, whole, as one of the states the child wrote. The seed is
// printed; rerun with --gtest_filter=CrashSafety.*.
#include "PlayerDataTestSupport.h"

#include "game/shell/PlayerData.h"
#include "game/shell/PlayerFileStore.h"
#include "tests/app/TestApp.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

namespace
{
// Every level holds the same score: a profile mixed from two writes shows it at once.
void SaveRound(PlayerData& data, int round)
{
    Profile& profile = data.GetCurrentProfile();
    for (int level = 1; level <= Profile::kLevelCount; ++level)
        profile.SetLevelResult(level, round, round % 3);
    data.RecordLevelResult(1, round, round % 3);
    data.SaveAll();
}

[[noreturn]] void RunWriter(PlayerFileStore& store)
{
    PlayerData data(store);
    data.Load("Ann");
    for (int round = 1;; ++round)
        SaveRound(data, round);
}

// The profile's score of level 1 (the round last saved whole); -1 when the check failed.
int ExpectWholeProfile(PlayerFileStore& store, unsigned seed, int kill)
{
    ScopedLogCapture log;
    PlayerData data(store);
    data.Load("Ann");
    EXPECT_TRUE(log.Errors().empty()) << "seed " << seed << " kill " << kill << ": " << log.Errors().front();
    const Profile& profile = data.GetCurrentProfile();
    EXPECT_EQ(profile.GetName(), "Ann");
    const int score = profile.GetLevelScore(1);
    for (int level = 2; level <= Profile::kLevelCount; ++level)
        if (profile.GetLevelScore(level) != score)
        {
            ADD_FAILURE() << "seed " << seed << " kill " << kill << ": level " << level << " of another save";
            return -1;
        }
    return score;
}
} // namespace

TEST(CrashSafety, AWriterKilledAtRandomPointsNeverLeavesAProfileThatFailsToLoad)
{
    QuollTest::ScratchFolder scratch("crash");
    QuollTest::TestApp app;
    AppFileStore store(app, scratch.Path().string());
    {
        PlayerData data(store);
        data.Load("");
        ASSERT_EQ(data.CreateProfile("Ann"), ProfileList::NameCheck::Ok);
        SaveRound(data, 0);
    }

    const unsigned seed = std::random_device{}();
    std::printf("CrashSafety seed %u\n", seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, 20000);
    constexpr int kKills = 20;
    int bestRound = 0;
    for (int kill = 0; kill < kKills; ++kill)
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            RunWriter(store);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        bestRound = std::max(bestRound, ExpectWholeProfile(store, seed, kill));
    }
    EXPECT_GT(bestRound, 0) << "the writer never finished a save: the kills tested nothing";
}
