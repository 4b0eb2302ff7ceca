#pragma once
// Golden images of the test suites: PNG files under tests/golden/<area>. A mismatch names the
// first differing pixel and writes the actual image beside the build
// (<build>/tests/<area>/<name>.actual.png). Set QUOLL_UPDATE_GOLDEN=1 to write a missing or
// changed golden image instead of failing. A suite that uses it adds tests/GoldenImage.cpp to
// its sources and links quoll_files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace Quoll::Testing
{
// area: the suite's folder (tests/golden/<area>); tolerance: the largest difference allowed in
// any channel.
::testing::AssertionResult MatchesAreaGolden(const std::string& area, const std::string& name, const uint32_t* pixels,
                                             int width, int height, int tolerance = 0);

// The display suite's goldens.
inline ::testing::AssertionResult MatchesGolden(const std::string& name, const uint32_t* pixels, int width, int height,
                                                int tolerance = 0)
{
    return MatchesAreaGolden("display", name, pixels, width, height, tolerance);
}
} // namespace Quoll::Testing
