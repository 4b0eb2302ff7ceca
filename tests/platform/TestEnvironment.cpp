// The environment every platform test expects (headless back end, dummy SDL drivers,
// XDG folders inside the build tree), filled in where the test runner left it unset so
// that no test can touch a real home folder.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
struct TestEnvironment
{
    TestEnvironment()
    {
        std::string home = (std::filesystem::current_path() / "home").string();
        ::setenv("QUOLL_PLATFORM", "headless", 0);
        ::setenv("SDL_VIDEODRIVER", "dummy", 0);
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);
        ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 0);
        ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 0);
    }
} gTestEnvironment;
} // namespace
