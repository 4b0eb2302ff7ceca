// Stresses the single-instance name across processes: a second copy of this test program
// finds the name taken and notifies the first, whose main window receives the registered
// message; a holder that dies without cleaning up leaves nothing stale; whether a name is taken
// can be asked without taking it.
// Rerun one case: test_platform --gtest_filter='SingleInstance.*'
// (SingleInstanceHelper.* is the second copy; it does nothing unless started by a test.)
#include "HeadlessFixture.h"

#include "framework/platform/system/SingleInstance.h"

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Quoll::Platform
{
namespace
{
constexpr const char* kHelperVariable = "QUOLL_TEST_INSTANCE_NAME";

std::string UniqueName(const char* what) { return std::string("QuollTest") + what + std::to_string(::getpid()) + "Mutex"; }

constexpr const char* kOtherUserVariable = "QUOLL_TEST_OTHER_USER_INSTANCE_NAME";

// Runs this test program again as a helper copy (the second copy by default); returns its
// exit code.
int RunSecondCopy(const std::string& name, const char* helper = "SecondCopyNotifiesTheOwner",
                  const char* helperVariable = kHelperVariable)
{
    std::string filter = std::string("--gtest_filter=SingleInstanceHelper.") + helper;
    std::string variable = std::string(helperVariable) + "=" + name;
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.push_back(*entry);
    environment.push_back(variable.data());
    environment.push_back(nullptr);
    char program[] = "/proc/self/exe";
    char* argv[] = {program, filter.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv, environment.data()) != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

static_assert(!std::is_copy_constructible_v<SingleInstance>);

// The second copy: exits with 3 when it found the name taken and notified the owner.
TEST(SingleInstanceHelper, SecondCopyNotifiesTheOwner)
{
    const char* name = std::getenv(kHelperVariable);
    if (name == nullptr)
        GTEST_SKIP() << "runs only as the second copy of SingleInstance tests";
    SingleInstance instance(name);
    if (!instance.AlreadyExists())
        std::_Exit(2);
    std::_Exit(instance.NotifyOwner("NotifyQuollTest", 0, 0) ? 3 : 4);
}

// Another user's copy (run as "nobody"): exits with 0 when it owns the name.
TEST(SingleInstanceHelper, AnotherUsersCopyOwnsItsName)
{
    const char* name = std::getenv(kOtherUserVariable);
    if (name == nullptr)
        GTEST_SKIP() << "runs only as another user's copy of SingleInstance tests";
    if (::setgid(65534) != 0 || ::setuid(65534) != 0)
        std::_Exit(2);
    SingleInstance instance(name);
    std::_Exit(instance.State() == InstanceState::Owner ? 0 : 1);
}

using SingleInstanceTest = Testing::HeadlessFixture;

TEST_F(SingleInstanceTest, ASecondCopyNotifiesTheRunningOneThroughItsMainWindow)
{
    std::string name = UniqueName("Notify");
    SingleInstance instance(name);
    ASSERT_EQ(instance.State(), InstanceState::Owner);
    EXPECT_FALSE(instance.AlreadyExists());
    uint32_t notify = WindowSystem::RegisterWindowMessage("NotifyQuollTest");
    mSystem.ReceiveInstanceNotifies(instance);

    EXPECT_EQ(RunSecondCopy(name), 3);

    // The listener thread posts the notify; wait for it (bounded, not timed).
    for (int i = 0; i < 500 && Only(sReceived, {notify}).empty(); ++i)
    {
        Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    auto got = Only(sReceived, {notify});
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].window, mMain);
    EXPECT_EQ(got[0].wParam, 0u);
    instance.SetNotifyHandler(nullptr);
}

TEST(SingleInstance, NotifiesArrivingBeforeAHandlerAreKept)
{
    std::string name = UniqueName("Early");
    SingleInstance owner(name);
    ASSERT_EQ(owner.State(), InstanceState::Owner);
    SingleInstance second(name);
    EXPECT_TRUE(second.AlreadyExists());
    EXPECT_TRUE(second.NotifyOwner("NotifyEarly", 7, -1));
    EXPECT_FALSE(second.NotifyOwner("bad\nname", 0, 0));
    std::vector<std::string> seen;
    std::mutex mutex;
    for (int i = 0; i < 500; ++i)
    {
        owner.SetNotifyHandler([&](std::string_view message, uintptr_t wParam, intptr_t lParam) {
            std::lock_guard lock(mutex);
            seen.push_back(std::string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
        });
        {
            std::lock_guard lock(mutex);
            if (!seen.empty())
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    owner.SetNotifyHandler(nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "NotifyEarly 7 -1");
}

// The name is per user: another user's copy owns its name beside this one, while this user's
// second copy finds it taken.
TEST(SingleInstance, AnotherUsersCopyStartsBesideThisOne)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "running a copy as another user needs root";
    std::string name = UniqueName("User");
    SingleInstance mine(name);
    ASSERT_EQ(mine.State(), InstanceState::Owner);
    EXPECT_EQ(RunSecondCopy(name, "AnotherUsersCopyOwnsItsName", kOtherUserVariable), 0);
    SingleInstance second(name);
    EXPECT_EQ(second.State(), InstanceState::TakenByOther);
}

// Whether the exact name is taken, asked without taking it.
TEST(SingleInstance, IsTakenOnlyLooks)
{
    const std::string name = UniqueName("Look");
    EXPECT_FALSE(SingleInstance::IsTaken(name));
    {
        SingleInstance owner(name);
        ASSERT_EQ(owner.State(), InstanceState::Owner);
        EXPECT_TRUE(SingleInstance::IsTaken(name));
        EXPECT_FALSE(SingleInstance::IsTaken(name + "-other"));
        EXPECT_FALSE(SingleInstance::IsTaken(name.substr(0, name.size() - 1)));
    }
    EXPECT_FALSE(SingleInstance::IsTaken(name));
}

TEST(SingleInstance, NothingStaleAfterTheHolderDies)
{
    std::string name = UniqueName("Crash");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        SingleInstance holder(name);
        char state = holder.State() == InstanceState::Owner ? 'o' : 'x';
        [[maybe_unused]] ssize_t written = ::write(ready[1], &state, 1);
        ::raise(SIGKILL); // dies without running any destructor
    }
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, 'o');
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    SingleInstance after(name);
    EXPECT_EQ(after.State(), InstanceState::Owner);
}
} // namespace Quoll::Platform
