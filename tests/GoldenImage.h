#pragma once
// Golden images of the test suites: PNG files under tests/golden/<area>. A mismatch names the
// first differing pixel and writes the actual image beside the build
// (<build>/tests/<area>/<name>.actual.png). Set QUOLL_UPDATE_GOLDEN=1 to write a missing or
// changed golden image instead of failing. A suite that uses it adds tests/GoldenImage.cpp to
// its sources and links quoll_files.
#include <gtest/gtest.h>

#include "framework/display/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Quoll::Testing
{
// area: the suite's folder (tests/golden/<area>); tolerance: the largest difference allowed in
// any channel.
::testing::AssertionResult MatchesAreaGolden(const std::string& area, const std::string& name, const uint32_t* pixels,
                                             int width, int height, int tolerance = 0);

// How far two frames of the same size (ARGB, width x height) agree, over red, green and blue. The
// last column and row are left out: the software paths never draw them.
struct FrameAgreement
{
    int most = 0;                // the largest channel difference
    int mostOutsideExcluded = 0; // the same outside the excluded rectangles
    double shareWithin3 = 0.0;   // the share of pixels whose channels are all within 3
    double meanDifference = 0.0; // the largest of the three channels' mean signed differences
};
FrameAgreement CompareFrames(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width, int height,
                             const std::vector<Rect>& excluded = {});

// The display suite's goldens.
inline ::testing::AssertionResult MatchesGolden(const std::string& name, const uint32_t* pixels, int width, int height,
                                                int tolerance = 0)
{
    return MatchesAreaGolden("display", name, pixels, width, height, tolerance);
}
} // namespace Quoll::Testing
