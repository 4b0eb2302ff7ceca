#pragma once
// Golden images of the display tests: PNG files under tests/golden/display. A mismatch names the
// first differing pixel and writes the actual image beside the build
// (<build>/tests/display/<name>.actual.png). Set QUOLL_UPDATE_GOLDEN=1 to write a missing or
// changed golden image instead of failing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace Quoll::Testing
{
// tolerance: the largest difference allowed in any channel.
::testing::AssertionResult MatchesGolden(const std::string& name, const uint32_t* pixels, int width, int height,
                                         int tolerance = 0);
} // namespace Quoll::Testing
