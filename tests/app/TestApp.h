#pragma once
// An application object for tests: the headless window system, an in-memory settings store
// under "Nordwick\QuollTest", a product name of its own (so that test processes running side by
// side never meet as a second instance), no change of the current folder, no reading of the test
// program's own command line, and an exit that throws ExitCalled instead of ending the process.
#include "framework/app/QuollAppBase.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace QuollTest
{
struct ExitCalled
{
    int code;
};

inline void ThrowOnExit(int code)
{
    throw ExitCalled{code};
}

// Installs the throwing exit for a scope.
class ScopedThrowingExit
{
public:
    ScopedThrowingExit() : mPrevious(Quoll::QuollAppBase::SetExitHandler(&ThrowOnExit)) {}
    ~ScopedThrowingExit() { Quoll::QuollAppBase::SetExitHandler(mPrevious); }
    ScopedThrowingExit(const ScopedThrowingExit&) = delete;
    ScopedThrowingExit& operator=(const ScopedThrowingExit&) = delete;

private:
    Quoll::ExitHandler mPrevious;
};

// "QuollTest<pid>_<test name>": unique per test and per process.
inline std::string UniqueProductName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return "QuollTest" + std::to_string(::getpid()) + "_" + (info != nullptr ? info->name() : "none");
}

// An empty folder of the test's own under the test home, removed afterwards.
class ScratchFolder
{
public:
    explicit ScratchFolder(const std::string& kind)
        : mFolder(std::filesystem::path(QUOLL_TEST_HOME) / (kind + "_" + UniqueProductName()))
    {
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
    }
    ~ScratchFolder() { std::filesystem::remove_all(mFolder); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return mFolder; }
    std::filesystem::path operator/(const std::string& name) const { return mFolder / name; }

private:
    std::filesystem::path mFolder;
};

inline std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class TestApp : public Quoll::QuollAppBase
{
public:
    explicit TestApp(std::string product = UniqueProductName())
    {
        auto system = std::make_unique<Quoll::Platform::HeadlessWindowSystem>();
        mHeadless = system.get();
        SetWindowSystem(std::move(system));
        SetSettingsStore(std::make_unique<Quoll::Platform::SettingsStore>(std::string()));
        mCompanyName = "Nordwick";
        mProdName = std::move(product);
        mRegKey = "Nordwick\\QuollTest";
        mCommandLineParsed = true;
    }

    bool ChangeDirectoryHook(const std::string&) override { return true; }

    Quoll::Platform::HeadlessWindowSystem& Headless() { return *mHeadless; }
    Quoll::Platform::SettingsStore& Store() { return *Settings(); }

private:
    Quoll::Platform::HeadlessWindowSystem* mHeadless = nullptr;
};
} // namespace QuollTest
