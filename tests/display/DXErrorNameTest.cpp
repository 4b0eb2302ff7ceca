// The names of display result values: named values, the shared system values, and the
// hexadecimal form of values without a name.
// Rerun: test_display --gtest_filter='DXErrorNameTest.*'
#include "framework/display/DXErrorName.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace Quoll;

TEST(DXErrorNameTest, NamesTheValuesCallersRecognise)
{
    EXPECT_EQ(DXErrorName(static_cast<Platform::HResult>(0x88760091U)), "DDERR_INVALIDPIXELFORMAT");
    EXPECT_EQ(DXErrorName(Platform::DDERR_VERTICALBLANKINPROGRESS), "DDERR_VERTICALBLANKINPROGRESS");
    EXPECT_EQ(DXErrorName(static_cast<Platform::HResult>(0x80004005U)), "DSERR_GENERIC");
    EXPECT_EQ(DXErrorName(static_cast<Platform::HResult>(0x80070057U)), "DDERR_INVALIDPARAMS");
    EXPECT_EQ(DXErrorName(static_cast<Platform::HResult>(0x8007000EU)), "E_OUTOFMEMORY");
    EXPECT_EQ(DXErrorName(Platform::DDERR_SURFACEBUSY), "DDERR_SURFACEBUSY");
}

TEST(DXErrorNameTest, UnnamedValuesInPlainHexadecimal)
{
    EXPECT_EQ(DXErrorName(static_cast<Platform::HResult>(0x80004003U)), "80004003");
    EXPECT_EQ(DXErrorName(0), "0");
    EXPECT_EQ(DXErrorName(0x1F), "1f");
}

TEST(DXErrorNameTest, EveryNameHasOneValue)
{
    std::set<Platform::HResult> codes;
    std::set<std::string> names;
    for (const auto& entry : Platform::ResultNames())
    {
        codes.insert(entry.code);
        names.insert(entry.name);
        EXPECT_EQ(DXErrorName(entry.code), entry.name);
    }
    EXPECT_EQ(codes.size(), 193u);
    EXPECT_EQ(names.size(), 193u);
}
