// The SDL back end tells which video driver it uses, whether that driver shows anything, and
// whether SDL fell back to it on its own because no display answered (DISPLAY and
// WAYLAND_DISPLAY unset, SDL_VIDEODRIVER unset): the start-up treats that as no display.
// Rerun: test_platform --gtest_filter='SdlDisplayDriver.*'
#include "framework/platform/window/WindowSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace
{
using namespace Quoll::Platform;

// Sets or removes a variable for the scope, then puts the old value back.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { mOld ? ::setenv(mName, mOld->c_str(), 1) : ::unsetenv(mName); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* mName;
    std::optional<std::string> mOld;
};

TEST(SdlDisplayDriver, AskedForTheDummyDriverShowsNothingButIsNoFallback)
{
    const ScopedVariable driver("SDL_VIDEODRIVER", "dummy");
    std::unique_ptr<WindowSystem> system = WindowSystem::Create("sdl");
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->DisplayDriver(), "dummy");
    EXPECT_TRUE(system->ShowsNothing());
    EXPECT_FALSE(system->FellBackToShowingNothing());
}

TEST(SdlDisplayDriver, AskedForTheOffscreenDriverIsNoFallback)
{
    const ScopedVariable driver("SDL_VIDEODRIVER", "offscreen");
    std::unique_ptr<WindowSystem> system = WindowSystem::Create("sdl");
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->DisplayDriver(), "offscreen");
    EXPECT_TRUE(system->ShowsNothing());
    EXPECT_FALSE(system->FellBackToShowingNothing());
}

TEST(SdlDisplayDriver, WithoutADisplayNorADriverAskedForSdlFallsBackToOneThatShowsNothing)
{
    const ScopedVariable driver("SDL_VIDEODRIVER", nullptr);
    const ScopedVariable x11("DISPLAY", nullptr);
    const ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
    std::unique_ptr<WindowSystem> system = WindowSystem::Create("sdl");
    // An SDL without a fallback fails to start instead, which is no display too.
    if (system == nullptr)
        GTEST_SKIP() << "this SDL starts no video driver without a display";
    if (!system->ShowsNothing())
        GTEST_SKIP() << "this machine has a display without DISPLAY: " << system->DisplayDriver();
    EXPECT_TRUE(system->FellBackToShowingNothing()) << system->DisplayDriver();
}

TEST(SdlDisplayDriver, TheHeadlessBackEndHasNoDriverToFallBackTo)
{
    std::unique_ptr<WindowSystem> system = WindowSystem::Create("headless");
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->DisplayDriver(), "");
    EXPECT_FALSE(system->ShowsNothing());
    EXPECT_FALSE(system->FellBackToShowingNothing());
}
} // namespace
