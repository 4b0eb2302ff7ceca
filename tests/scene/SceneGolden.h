#pragma once
// Golden images of the scene tests: PNG files under tests/golden/scene. A mismatch names the
// first differing pixel and writes the actual image beside the build
// (<build>/tests/scene/<name>.actual.png). Set QUOLL_UPDATE_GOLDEN=1 to write a missing or
// changed golden image instead of failing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace QuollTest
{
// tolerance: the largest difference allowed in any channel.
::testing::AssertionResult MatchesSceneGolden(const std::string& name, const uint32_t* pixels, int width,
                                               int height, int tolerance = 0);
} // namespace QuollTest
