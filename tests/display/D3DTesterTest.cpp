// The display capability test on the stand-in card: the five rendering tests pass, the result is
// cached under "Test3D" and invalidated by version, thresholds and adapter, the card lists and
// the driver's age, video memory and texture formats, a 24-bit target, demo playback, and the
// display's decision from the outcome.
// Rerun: test_display --gtest_filter='D3DTesterTest.*'
#include "DisplayFixture.h"

#include "framework/display/D3DTester.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

using namespace Quoll;
using namespace Quoll::Platform;
using namespace Quoll::Testing;

namespace
{
// A folder of its own for the card lists of one test.
struct ListFolder
{
    explicit ListFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / ("quoll_d3dtester_" + name))
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ListFolder() { std::filesystem::remove_all(path); }
    void Write(const char* file, const std::string& text) const { std::ofstream(path / file) << text; }
    std::filesystem::path path;
};

struct Tester
{
    explicit Tester(const SoftCardSettings& settings = SoftCardSettings()) : card(settings), tester(&host)
    {
        tester.SetVidMemThresholds(6, 14);
        tester.mListFolder = folder.path.string();
    }
    void Run() { tester.RunTest(WindowId::None, &card); }
    void SetDword(const char* name, uint32_t value)
    {
        host.WriteRegValue(std::string("Test3D\\") + name, kRegDword, reinterpret_cast<const uint8_t*>(&value), 4);
    }
    void SetString(const char* name, const std::string& text)
    {
        host.WriteRegValue(std::string("Test3D\\") + name, kRegSz, reinterpret_cast<const uint8_t*>(text.c_str()),
                           static_cast<uint32_t>(text.size() + 1));
    }

    SoftVideoCard card;
    D3DTesterHost host;
    ListFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    D3DTester tester;
};

SoftCardSettings CardNamed(const std::string& description)
{
    SoftCardSettings settings;
    settings.identity.description = description;
    return settings;
}
} // namespace

TEST(D3DTesterTest, StandInPassesEveryRenderingTestAndCachesThePass)
{
    Tester t;
    t.Run();
    EXPECT_EQ(t.tester.GetFailureReason(), "");
    EXPECT_EQ(t.tester.GetWarning(), "");
    EXPECT_TRUE(t.tester.IsFreshResult());
    for (const char* name : {"Version", "MinVidMemory", "RecVidMemory", "DisplayGUID", "FailureReason", "Warning"})
        EXPECT_TRUE(t.host.mValues.count(std::string("Test3D\\") + name)) << name;
    // The next run takes the cached pass without drawing.
    D3DTester again(&t.host);
    again.SetVidMemThresholds(6, 14);
    again.RunTest(WindowId::None, &t.card);
    EXPECT_EQ(again.GetFailureReason(), "");
    EXPECT_FALSE(again.IsFreshResult());
}

TEST(D3DTesterTest, ChangedVersionThresholdsOrAdapterTestAgain)
{
    Tester t;
    t.Run();
    auto rerun = [&](auto change) {
        Tester u;
        u.host.mValues = t.host.mValues;
        change(u);
        u.Run();
        return u.tester.IsFreshResult();
    };
    EXPECT_FALSE(rerun([](Tester&) {}));
    EXPECT_TRUE(rerun([](Tester& u) { u.SetDword("Version", 1); }));
    EXPECT_TRUE(rerun([](Tester& u) { u.tester.SetVidMemThresholds(6, 16); }));
    EXPECT_TRUE(rerun([](Tester& u) { u.card.MutableSettings().identity.deviceId = 7; }));
    // A cached failure is tested again, and the new outcome replaces it; a cached empty failure
    // keeps its warning.
    Tester f;
    f.host.mValues = t.host.mValues;
    f.SetString("FailureReason", "Alpha blend Not Supported");
    f.Run();
    EXPECT_TRUE(f.tester.IsFreshResult());
    EXPECT_EQ(f.tester.GetFailureReason(), "");
    Tester w;
    w.host.mValues = t.host.mValues;
    w.SetString("Warning", "Low video memory.");
    w.Run();
    EXPECT_FALSE(w.tester.IsFreshResult());
    EXPECT_EQ(w.tester.GetWarning(), "Low video memory.");
}

TEST(D3DTesterTest, CardListsAndDriverAgeDecideSupport)
{
    {
        Tester t;
        t.folder.Write("vhw.dat", "");
        t.Run();
        EXPECT_EQ(t.tester.GetWarning(), "Unsupported video card: Quoll software display");
    }
    {
        Tester t;
        t.folder.Write("vhw.dat", "  unused card\n\n   SOFTWARE DISPLAY  \n");
        t.Run();
        EXPECT_EQ(t.tester.GetWarning(), "");
    }
    {
        Tester t;
        t.folder.Write("vhw.dat", "software");
        t.folder.Write("vhwb.dat", "quoll");
        t.Run();
        EXPECT_EQ(t.tester.GetWarning(), "Unsupported video card: Quoll software display");
    }
    struct Case
    {
        const char* description;
        int year;
        bool supported;
    };
    for (const Case& c : {Case{"Fast RADEON 7000", 2001, true}, Case{"Plain card", 2001, false},
                          Case{"Plain card", 2003, true}, Case{"Rage ATI card", 2001, true}})
    {
        Tester t(CardNamed(c.description));
        t.tester.mDeviceSettings.driverYear = c.year;
        t.Run();
        EXPECT_EQ(t.tester.GetWarning().empty(), c.supported) << c.description << " " << c.year;
        EXPECT_EQ(t.tester.mDriverYear, c.year);
    }
}

TEST(D3DTesterTest, MemoryFormatsAndDepthFailuresAreReported)
{
    {
        SoftCardSettings settings;
        settings.videoMemoryBytes = 1u << 20;
        Tester t(settings);
        t.Run();
        EXPECT_EQ(t.tester.GetFailureReason(), "Not enough video memory.");
        EXPECT_TRUE(t.tester.IsFreshResult());
        EXPECT_TRUE(t.host.mValues.count("Test3D\\FailureReason"));
    }
    {
        SoftCardSettings settings;
        settings.videoMemoryBytes = 10u << 20;
        Tester t(settings);
        t.Run();
        EXPECT_EQ(t.tester.GetWarning(), "Low video memory.");
    }
    {
        Tester t;
        t.tester.mDeviceSettings.textureFormats = {TextureFormat::A4R4G4B4()};
        t.Run();
        EXPECT_EQ(t.tester.GetFailureReason(), "");
        EXPECT_EQ(t.tester.GetWarning(), "A8R8G8B8 texture format not supported.");
        Tester u;
        u.tester.mDeviceSettings.textureFormats = {TextureFormat::R5G6B5()};
        u.Run();
        EXPECT_EQ(u.tester.GetFailureReason(), "A4R4G4B4 and A8R8G8B8 texture formats not supported.");
    }
    {
        Tester t(TestDisplay::MakeSettings(SurfaceFormat::R8G8B8(), 0));
        t.Run();
        EXPECT_EQ(t.tester.GetFailureReason(), "Can't test 24-bit mode.");
    }
    {
        Tester t;
        t.card.FailCall(SoftCall::CreateSurface, 1, DDERR_OUTOFVIDEOMEMORY);
        t.Run();
        EXPECT_EQ(t.tester.GetFailureReason(), "DXError - CreateSurface (Primary): DDERR_OUTOFVIDEOMEMORY");
    }
    {
        // A 16-bit card passes as well; its channels are widened with low bits 0.
        Tester t(TestDisplay::MakeSettings(SurfaceFormat::R5G6B5(), 0));
        t.Run();
        EXPECT_EQ(t.tester.GetFailureReason(), "");
        EXPECT_EQ(t.tester.GetWarning(), "");
    }
}

namespace
{
// A host that replays recorded outcomes.
class ReplayHost : public D3DTesterHost
{
public:
    [[nodiscard]] bool IsPlayingDemo() const override { return true; }
    std::string DemoSyncString(const std::string&) override
    {
        std::string text = mStrings.front();
        mStrings.pop_front();
        return text;
    }
    bool DemoSyncBool(bool) override { return mFresh; }
    std::deque<std::string> mStrings{"Alpha blend Not Supported", ""};
    bool mFresh = true;
};
} // namespace

TEST(D3DTesterTest, DemoPlaybackTakesTheRecordedOutcomeWithoutTesting)
{
    SoftVideoCard card;
    ReplayHost host;
    D3DTester tester(&host);
    tester.RunTest(WindowId::None, &card);
    EXPECT_EQ(card.CallCount(SoftCall::CreateDirectDraw), 0);
    EXPECT_EQ(tester.GetFailureReason(), "Alpha blend Not Supported");
    EXPECT_EQ(tester.GetWarning(), "");
    EXPECT_TRUE(tester.IsFreshResult());
    EXPECT_TRUE(host.mValues.empty());
}

TEST(D3DTesterTest, DisplayDecidesOn3DFromTheOutcome)
{
    {
        TestDisplay t;
        t.host.mOptions.is3D = true;
        ASSERT_EQ(t.Init(), 0);
        EXPECT_TRUE(t.display->Is3D());
        EXPECT_EQ(t.host.mDisplayTestNotifies, 1);
        ASSERT_EQ(t.Init(), 0);
        EXPECT_EQ(t.host.mDisplayTestNotifies, 1) << "the test runs once in the display's life";
    }
    {
        // A fresh warning keeps 3D off; the automatic test runs even with 3D off.
        TestDisplay t;
        t.card.MutableSettings().videoMemoryBytes = 10u << 20;
        t.host.mOptions.is3D = true;
        ASSERT_EQ(t.Init(), 0);
        EXPECT_FALSE(t.display->Is3D());
        TestDisplay a;
        a.host.mOptions.autoTest3D = true;
        ASSERT_EQ(a.Init(), 0);
        EXPECT_NE(a.display->GetDisplayTest(), nullptr);
        EXPECT_FALSE(a.display->Is3D());
    }
}
