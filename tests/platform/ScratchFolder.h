#pragma once
// A fresh folder per test under the test's working directory (the build tree).
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace Quoll::Platform::Testing
{
inline std::string ScratchFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = std::filesystem::current_path() / "scratch" /
                                   (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}
} // namespace Quoll::Platform::Testing
