#pragma once
// Golden images of the play tests: PNG files under tests/golden/play. A mismatch names the first
// differing pixel and writes the actual image beside the build
// (<build>/tests/play/<name>.actual.png). Set QUOLL_UPDATE_GOLDEN=1 to write a missing or
// changed golden image instead of failing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace QuollTest
{
// tolerance: the largest difference allowed in any channel.
::testing::AssertionResult MatchesPlayGolden(const std::string& name, const uint32_t* pixels, int width, int height,
                                              int tolerance = 0);
} // namespace QuollTest
