#pragma once
// Golden images of the widget tests: PNG files under tests/golden/widgets. A mismatch names the
// first differing pixel and writes the actual image beside the build
// (<build>/tests/widgets/<name>.actual.png). QUOLL_UPDATE_GOLDEN=1 writes the golden instead.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace QuollTest
{
::testing::AssertionResult MatchesWidgetGolden(const std::string& name, const uint32_t* pixels, int width, int height);
} // namespace QuollTest
