#pragma once
// A fresh folder per test, made the current directory for the test's duration (pack names
// and relative disk paths both resolve against it), and small file helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace QuollTest
{
class TestFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        mRoot = std::filesystem::current_path() / "scratch" /
                (std::string(info->test_suite_name()) + "." + info->name() + "." + std::to_string(::getpid()));
        std::filesystem::remove_all(mRoot);
        std::filesystem::create_directories(mRoot);
        mPrevious = std::filesystem::current_path();
        std::filesystem::current_path(mRoot);
    }
    void TearDown() override
    {
        std::filesystem::current_path(mPrevious);
        std::error_code ec;
        std::filesystem::remove_all(mRoot, ec);
    }

    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        const std::filesystem::path file(path);
        if (file.has_parent_path())
            std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Absolute(const std::string& relative) const { return (mRoot / relative).string(); }

    std::filesystem::path mRoot;
    std::filesystem::path mPrevious;
};
} // namespace QuollTest
