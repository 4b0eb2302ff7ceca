// The main function of every test program. Before any test runs it points the per-user
// folders into the build tree (always, so no test can touch a real home folder), selects
// the headless back ends and SDL's dummy drivers unless the caller chose others, and works in
// the suite's build folder (where ctest runs it and the suite's data files lie), so that a test
// program started from any folder finds what it reads by relative path and writes nothing there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    const std::string home = QUOLL_TEST_HOME;
    const std::filesystem::path suiteFolder = std::filesystem::path(home).parent_path();
    std::filesystem::create_directories(suiteFolder);
    std::filesystem::current_path(suiteFolder);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    ::setenv("QUOLL_PLATFORM", "headless", 0);
    ::setenv("SDL_VIDEODRIVER", "dummy", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
