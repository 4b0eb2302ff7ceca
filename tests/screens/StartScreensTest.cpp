// The start-up screens: the branding splash, the title screen and the loading progress bar,
// through the real widget manager of the screens harness; golden images on the 2D path.
#include "ScreenGallery.h"
#include "ScreenTestDoubles.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "game/screens/ProgressWidget.h"
#include "game/screens/SplashViewer.h"
#include "game/screens/TitleScreen.h"
#include "tests/GoldenImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace
{
namespace fs = std::filesystem;
using ScreenTest::ScreenHarness;

constexpr int kPromptColour = 0x2ABD34;

// A branding folder of its own for each case, removed afterwards.
class BrandingFolder
{
public:
    explicit BrandingFolder(const std::string& name)
        : mDir(fs::temp_directory_path() / ("branding_" + std::to_string(::getpid()) + "_" + name))
    {
        fs::remove_all(mDir);
        fs::create_directories(mDir);
    }
    ~BrandingFolder() { fs::remove_all(mDir); }
    BrandingFolder(const BrandingFolder&) = delete;
    BrandingFolder& operator=(const BrandingFolder&) = delete;

    // The folder as the viewer takes it: ending with a slash.
    [[nodiscard]] std::string Path() const { return mDir.string() + "/"; }

    void Picture(const std::string& name, uint32_t argb, int width = 16, int height = 12) const
    {
        ImageLib::Image image(width, height);
        std::fill(image.GetBits(), image.GetBits() + width * height, argb);
        const std::string path = (mDir / name).string();
        ASSERT_TRUE(name.ends_with(".png") ? ImageLib::WritePng(path, image) : ImageLib::WriteJpeg(path, image));
    }
    void File(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(mDir / name, std::ios::binary) << bytes;
    }

private:
    fs::path mDir;
};

void AddStartImages(ScreenHarness& harness)
{
    harness.ui.AddImage("IMAGE_SPLASH", 1024, 768, 0xFF203A5C);
    harness.ui.Register("IMAGE_LOGO_EN", harness.ui.AddImage("logo en", 420, 160, 0xFFE09030));
    harness.ui.Register("IMAGE_LOGO_ALT", harness.ui.AddImage("logo alt", 380, 140, 0xFF30A0E0));
    harness.ui.Register("IMAGE_PROFHEAD", harness.ui.AddImage("badge", 174, 60, 0xFF6A4A8C));
    // The frame is transparent inside, so the filling shows through it.
    static auto frame = ScreenTest::MakeFramedImage(204, 20, 0x00000000, 0xFFE8E8E8);
    harness.ui.Register("IMAGE_PROGRESS_FOREGROUND", frame.get());
    harness.ui.AddImage("IMAGE_PROGRESS_FILL", 200, 10, 0xFFD02020);
    harness.ui.AddImage("IMAGE_PROGRESS_FILL_END", 8, 10, 0xFF20D020);
    harness.ui.texts["UI_CLICK_CONTINUE"] = L"Click to continue";
}

// Each channel within one step (the title's stretched picture may round down).
bool Near(uint32_t pixel, uint32_t rgb)
{
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) > 1)
            return false;
    return true;
}

// Updates until the splash has sent a command; the number of updates it took.
int UpdatesUntilCommand(ScreenHarness& harness, int limit)
{
    for (int update = 1; update <= limit; ++update)
    {
        harness.Run();
        if (!harness.Commands().empty())
            return update;
    }
    return -1;
}

std::vector<std::string> ShownPaths(const Quoll::SplashViewer& splash)
{
    std::vector<std::string> paths;
    for (const auto& image : splash.GetImages())
        paths.push_back(image->mFilePath);
    return paths;
}

// --- Branding splash -------------------------------------------------------------------------------

TEST(SplashViewer, ShowsJpgAndPngPicturesByNameSkippingOnesThatDoNotLoad)
{
    ScreenHarness harness;
    BrandingFolder folder("order");
    folder.Picture("b.png", 0xFF00FF00);
    folder.Picture("a.jpg", 0xFFFF0000);
    folder.Picture("c.jpg", 0xFF0000FF);
    folder.File("bad.png", "not a picture");
    folder.File("notes.txt", "ignored");
    auto* splash = harness.Show(new Quoll::SplashViewer(folder.Path()));
    EXPECT_EQ(ShownPaths(*splash), (std::vector<std::string>{folder.Path() + "/a.jpg", folder.Path() + "/b.png",
                                                              folder.Path() + "/c.jpg"}));
}

TEST(SplashViewer, ColourFileGivesTheBackgroundOrBlack)
{
    const auto parse = [](const std::string& bytes) {
        const Quoll::Color c = Quoll::SplashViewer::ParseColourFile(&bytes);
        return std::vector<int>{c.r, c.g, c.b, c.a};
    };
    EXPECT_EQ(parse("255"), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(parse("0xFF00\r\nignored"), (std::vector<int>{0, 255, 0, 255}));
    EXPECT_EQ(parse("-1"), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(parse("0x7F102030"), (std::vector<int>{0x10, 0x20, 0x30, 127}));
    EXPECT_EQ(parse(""), (std::vector<int>{0, 0, 0, 255}));
    EXPECT_EQ(parse("\n255"), (std::vector<int>{0, 0, 0, 255}));
    EXPECT_EQ(parse("blue"), (std::vector<int>{0, 0, 0, 255}));
    EXPECT_EQ(parse(std::string("12\0", 3) + "34"), (std::vector<int>{0, 0, 12, 255}));
    const Quoll::Color missing = Quoll::SplashViewer::ParseColourFile(nullptr);
    EXPECT_EQ(missing.r + missing.g + missing.b, 0);
    EXPECT_EQ(missing.a, 255);

    // Read from the folder at attach and filled behind the pictures.
    ScreenHarness harness;
    BrandingFolder folder("colour");
    folder.File("fone.txt", "255\n");
    harness.Show(new Quoll::SplashViewer(folder.Path()));
    harness.Run();
    EXPECT_EQ(harness.ui.Pixel(500, 400), 0x0000FFu);
}

TEST(SplashViewer, OnePictureTakesFourSecondsThenSendsDoneOnEveryUpdate)
{
    ScreenHarness harness;
    // A small screen keeps the four hundred drawn frames quick.
    harness.ui.appWidth = 64;
    harness.ui.appHeight = 48;
    BrandingFolder folder("timing");
    folder.Picture("only.png", 0xFFFFFFFF);
    auto* splash = harness.Show(new Quoll::SplashViewer(folder.Path()));

    harness.Run(50);
    EXPECT_EQ(splash->GetPhase(), Quoll::SplashViewer::Phase::FadingIn);
    EXPECT_NEAR(splash->GetFadeColour().a, 127, 2);
    // Over black, the white picture shows at the fade's alpha.
    EXPECT_NEAR(static_cast<int>(harness.ui.Pixel(10, 10) & 0xFF), 127, 3);
    harness.Run(100);
    EXPECT_EQ(splash->GetPhase(), Quoll::SplashViewer::Phase::Holding);
    harness.Run(200);
    EXPECT_EQ(splash->GetPhase(), Quoll::SplashViewer::Phase::FadingOut);
    EXPECT_TRUE(harness.Commands().empty());

    const int total = 350 + UpdatesUntilCommand(harness, 100);
    EXPECT_NEAR(total, 400, 4);
    harness.Run(3);
    EXPECT_EQ(harness.Commands(), (std::vector<std::pair<int, int>>(4, {0, 0})));
}

TEST(SplashViewer, NoPicturesSendsDoneAtTheFirstUpdate)
{
    ScreenHarness harness;
    harness.Show(new Quoll::SplashViewer("no/such/branding/"));
    harness.Run();
    EXPECT_EQ(harness.Commands(), (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_EQ(harness.ui.Pixel(1, 1), 0u);
}

TEST(SplashViewer, EscapeSendsDoneAndSkipsOtherKeysAndClicksOnlySkip)
{
    ScreenHarness harness;
    BrandingFolder folder("skip");
    for (const char* name : {"1.png", "2.png", "3.png", "4.png"})
        folder.Picture(name, 0xFF808080);
    auto* splash = harness.Show(new Quoll::SplashViewer(folder.Path()));
    harness.Run(20);

    harness.Key('A');
    EXPECT_EQ(splash->GetCurrentImage(), 1);
    EXPECT_EQ(splash->GetPhase(), Quoll::SplashViewer::Phase::FadingIn);
    harness.Click(*splash);
    EXPECT_EQ(splash->GetCurrentImage(), 2);
    EXPECT_TRUE(harness.Commands().empty());
    harness.Key(Quoll::SplashViewer::kKeyEscape);
    EXPECT_EQ(splash->GetCurrentImage(), 3);
    EXPECT_EQ(harness.Commands(), (std::vector<std::pair<int, int>>{{0, 0}}));
}

// --- Title screen ------------------------------------------------------------------------------

// Whether the prompt's colour is anywhere on its baseline row's band.
bool PromptShown(ScreenHarness& harness)
{
    for (int y = 768 - 60; y < 768 - 40; ++y)
        for (int x = 0; x < 1024; ++x)
            if (harness.ui.Pixel(x, y) == static_cast<uint32_t>(kPromptColour))
                return true;
    return false;
}

TEST(TitleScreen, PromptOnlyOnceLoadedAndKeysOrClicksAlwaysContinue)
{
    ScreenHarness harness;
    AddStartImages(harness);
    auto* title = harness.Show(new Quoll::TitleScreen(0));
    harness.Run();
    EXPECT_FALSE(PromptShown(harness));
    harness.Key('X');
    harness.Click(*title);
    EXPECT_EQ(harness.Commands(), (std::vector<std::pair<int, int>>{{1, 0}, {1, 0}}));

    title->showPrompt = true;
    harness.Run();
    EXPECT_TRUE(PromptShown(harness));
    // Shadow two pixels down and right of the text.
    EXPECT_EQ(harness.ui.GetImageById(harness.ui.GetResourceIdByName("IMAGE_LOGO_EN")), title->GetLogoImage());
}

TEST(TitleScreen, LogoFollowsTheArtLanguage)
{
    ScreenHarness harness;
    AddStartImages(harness);
    auto* title = harness.Show(new Quoll::TitleScreen(1));
    harness.Run();
    EXPECT_EQ(title->GetLogoImage(), harness.ui.GetImageNamed("IMAGE_LOGO_ALT"));
    // Centred at the top: (1024 - 380) / 2 = 322.
    EXPECT_EQ(harness.ui.Pixel(322 + 5, 1 + 5), 0x30A0E0u);
    EXPECT_TRUE(Near(harness.ui.Pixel(321, 5), 0x203A5C));
    EXPECT_EQ(harness.ui.Pixel(425 + 3, 177 + 3), 0x6A4A8Cu);
}

// --- Loading progress bar ------------------------------------------------------------------------

// The bar's frame sits at x (1024 - 204) / 2 = 410, y 768 - 100 = 668; the filling at (412, 673).
constexpr int kFillRow = 673 + 5;

TEST(ProgressWidget, NoFillDrawsOnlyTheFrame)
{
    for (float progress : {0.0f, 0.004f})
    {
        ScreenHarness harness;
        AddStartImages(harness);
        auto* bar = harness.Show(new Quoll::ProgressWidget);
        bar->SetProgress(progress);
        harness.Run();
        EXPECT_EQ(harness.ui.Pixel(410, 668), 0xE8E8E8u) << progress;
        for (int x = 412; x < 612; ++x)
            ASSERT_EQ(harness.ui.Pixel(x, kFillRow), 0u) << progress << " at " << x;
    }
}

TEST(ProgressWidget, FullBarPutsTheEndCapAtTheFillWidth)
{
    ScreenHarness harness;
    AddStartImages(harness);
    auto* bar = harness.Show(new Quoll::ProgressWidget);
    bar->SetProgress(1.0f);
    harness.Run();
    EXPECT_EQ(harness.ui.Pixel(412, kFillRow), 0xD02020u);
    EXPECT_EQ(harness.ui.Pixel(609, kFillRow), 0xD02020u);
    // The cap starts at x + 200 and covers the last two pixels of the filling.
    EXPECT_EQ(harness.ui.Pixel(610, kFillRow), 0x20D020u);
    EXPECT_EQ(harness.ui.Pixel(617, kFillRow), 0x20D020u);
    EXPECT_EQ(harness.ui.Pixel(618, kFillRow), 0u);

    bar->SetProgress(0.5f);
    harness.Run();
    EXPECT_EQ(harness.ui.Pixel(509, kFillRow), 0xD02020u);
    EXPECT_EQ(harness.ui.Pixel(510, kFillRow), 0x20D020u);
}

TEST(ProgressWidget, BlackBackgroundOnlyOnRequest)
{
    for (bool black : {false, true})
    {
        ScreenHarness harness;
        AddStartImages(harness);
        harness.Show(new Quoll::TitleScreen(0));
        auto* bar = new Quoll::ProgressWidget;
        bar->blackBackground = black;
        harness.Show(bar);
        harness.Run();
        EXPECT_TRUE(Near(harness.ui.Pixel(5, 300), black ? 0 : 0x203A5C)) << black;
    }
}

// --- Golden images --------------------------------------------------------------------------------

::testing::AssertionResult MatchesScreen(ScreenHarness& harness, const std::string& name)
{
    return Quoll::Testing::MatchesAreaGolden("screens", name, harness.ui.screen.GetBits(), harness.ui.appWidth,
                                             harness.ui.appHeight);
}

TEST(StartScreensGolden, SplashMidFade)
{
    ScreenHarness harness;
    BrandingFolder folder("golden");
    {
        ImageLib::Image picture(64, 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                picture.GetBits()[y * 64 + x] = 0xFF000000u | static_cast<uint32_t>(x * 4) << 16 |
                                                static_cast<uint32_t>(y * 5) << 8 | 0xA0u;
        ASSERT_TRUE(ImageLib::WritePng(folder.Path() + "brand.png", picture));
    }
    folder.File("fone.txt", "0x183040\n");
    harness.Show(new Quoll::SplashViewer(folder.Path()));
    harness.Run(60);
    EXPECT_TRUE(MatchesScreen(harness, "splash_mid_fade"));
}

TEST(StartScreensGolden, TitleWithPromptAndProgressOverIt)
{
    auto harness = ScreenTest::MakeGalleryHarness();
    ASSERT_NE(harness, nullptr) << "no system font";
    AddStartImages(*harness);
    auto* title = harness->Show(new Quoll::TitleScreen(0));
    title->showPrompt = true;
    harness->Run();
    EXPECT_TRUE(MatchesScreen(*harness, "title_with_prompt"));

    title->showPrompt = false;
    harness->Show(new Quoll::ProgressWidget)->SetProgress(0.5f);
    harness->Run();
    EXPECT_TRUE(MatchesScreen(*harness, "progress_over_title"));
}
} // namespace
