// Atomic writes after a kill: the temporary files of dead writers go at the next write of the
// same target; those of running writers, of other targets and other names stay.
// Rerun one case: test_platform --gtest_filter='AtomicFile.*'
#include "framework/platform/system/AtomicFile.h"

#include "ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Quoll::Platform
{
namespace
{
// The id of a process that has ended (a child that exits at once, reaped).
pid_t EndedProcessId()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

void Touch(const std::filesystem::path& path)
{
    std::ofstream(path) << "partial";
}
} // namespace

TEST(AtomicFile, AWriteRemovesTheTemporaryFilesOfKilledWritersOfItsTarget)
{
    const std::filesystem::path folder = Testing::ScratchFolder();
    const std::filesystem::path target = folder / "settings.txt";
    const std::string dead = std::to_string(EndedProcessId());
    const std::string running = std::to_string(::getppid());
    for (const std::string& name : {"settings.txt.tmp" + dead, "settings.txt.tmp" + running,
                                    "other.txt.tmp" + dead, std::string("settings.txt.tmpnotapid"), std::string("settings.txt.tmp")})
        Touch(folder / name);

    const uint8_t bytes[] = {'o', 'k'};
    ASSERT_TRUE(WriteFileAtomically(target.string(), bytes));

    EXPECT_FALSE(std::filesystem::exists(folder / ("settings.txt.tmp" + dead)));
    for (const std::string& name :
         {"settings.txt.tmp" + running, "other.txt.tmp" + dead, std::string("settings.txt.tmpnotapid"), std::string("settings.txt.tmp")})
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    EXPECT_EQ(ReadWholeFile(target.string()), std::vector<uint8_t>(bytes, bytes + 2));
    // Nothing of this process's own write is left behind.
    EXPECT_FALSE(std::filesystem::exists(folder / ("settings.txt.tmp" + std::to_string(::getpid()))));
}

TEST(AtomicFile, StaleTemporaryFilesCanBeRemovedWithoutAWrite)
{
    const std::filesystem::path folder = Testing::ScratchFolder();
    const std::string dead = std::to_string(EndedProcessId());
    Touch(folder / ("main.pak.tmp" + dead));
    EXPECT_EQ(RemoveStaleTemporaryFiles((folder / "main.pak").string()), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder / ("main.pak.tmp" + dead)));
    EXPECT_FALSE(std::filesystem::exists(folder / "main.pak"));
    EXPECT_EQ(RemoveStaleTemporaryFiles((folder / "missing" / "x").string()), 0u);
}
} // namespace Quoll::Platform
