// The application on the display's 3D path: 3D by default once the display test passes, a
// stored "Is3D" of false keeping the 2D path (and a switch made during the run kept for the
// next), textures that go with their image, textures read back into pixels, the test's values
// in the application's registry with its outcome carried by a demo (a fresh outcome replacing
// the stored choice), and the question asked when 3D scenes could not begin.
// Rerun one case: test_app --gtest_filter='App3D*'
#include "TestApp.h"

#include "framework/display/D3DInterface.h"
#include "framework/display/D3DTester.h"
#include "framework/display/DDImage.h"
#include "framework/display/DDInterface.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/display/Renderer3D.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/PlatformLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Quoll;
using namespace QuollTest;

namespace
{
const std::string kKey = "SOFTWARE\\Nordwick\\QuollTest";

// A small application with a 32-bit display; the settings live in a file when one is given,
// so that they outlive the application.
class App3D : public TestApp
{
public:
    explicit App3D(const std::string& settingsFile = {}, std::string commandLine = {})
        : mCommandLine(std::move(commandLine))
    {
        mCommandLineParsed = mCommandLine.empty(); // demos start with the command line, after the settings
        mWidth = 320;
        mHeight = 240;
        mBitsPerPixel = 32;
        if (!settingsFile.empty())
            SetSettingsStore(std::make_unique<Platform::SettingsStore>(settingsFile));
    }
    void ParseCommandLine() override
    {
        mCommandLineParsed = true;
        ParseCommandLineString(mCommandLine);
    }

    [[nodiscard]] DDInterface& Display() const { return *dynamic_cast<DDInterface*>(mDisplay.get()); }
    [[nodiscard]] D3DInterface& Renderer() const { return *dynamic_cast<D3DInterface*>(Display().GetRenderer()); }

private:
    std::string mCommandLine;
};

// An image of distinct, partly transparent pixels.
std::vector<uint32_t> Pattern(int width, int height)
{
    std::vector<uint32_t> bits(size_t(width) * size_t(height));
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = (uint32_t(0x40 + i % 0xC0) << 24) | uint32_t(i * 2654435761u & 0xFFFFFF);
    return bits;
}
} // namespace

TEST(App3D, ThreeDIsTheDefaultAndAStoredOffKeepsTheWorking2DPath)
{
    {
        App3D app;
        app.Init();
        EXPECT_TRUE(app.Is3DAccelerated());
        EXPECT_TRUE(app.Is3DSupported());
        EXPECT_TRUE(app.Is3DRecommended());
        ASSERT_NE(app.Display().GetDDScreenImage(), nullptr);
        EXPECT_TRUE(app.Display().GetDDScreenImage()->Check3D());
    }
    App3D app;
    ASSERT_TRUE(app.WriteRegBool("Is3D", false));
    app.Init();
    EXPECT_FALSE(app.Is3DAccelerated());
    EXPECT_EQ(app.Display().GetDisplayTest(), nullptr) << "2D by choice needs no test";
    EXPECT_FALSE(app.Is3DSupported());
    Graphics g(app.mDisplay->GetScreenImage());
    g.SetColor(Color(0xFF, 0x00, 0xFF));
    g.FillRect(10, 10, 20, 20);
    app.Redraw(nullptr);
    EXPECT_FALSE(app.mDisplayLost);
    EXPECT_EQ(app.Display().mDrawSurface->ArgbAt(15, 15) & 0xF0F0F0, 0xF000F0u);
    EXPECT_EQ(app.Store().GetInt32(kKey, "Is3D"), 0) << "the choice stays";
}

TEST(App3D, SwitchingTo2DDuringARunIsKeptForTheNext)
{
    ScratchFolder folder("app3d");
    const std::string settings = (folder / "settings.txt").string();
    {
        App3D app(settings);
        app.Init();
        ASSERT_TRUE(app.Is3DAccelerated());
        app.Set3DAcceleration(false, true);
        EXPECT_FALSE(app.Is3DAccelerated());
        ASSERT_NE(app.mDisplay->GetScreenImage(), nullptr);
    }
    App3D next(settings);
    next.Init();
    EXPECT_FALSE(next.Is3DAccelerated());
}

// Without the application dropping them, the renderer would keep the freed image in its
// texture set and its clean-up would follow the pointer (AddressSanitizer reports it).
TEST(App3D, TexturesGoWithTheirImageAndOnRequest)
{
    App3D app;
    app.Init();
    ASSERT_TRUE(app.Is3DAccelerated());
    D3DInterface& renderer = app.Renderer();
    const std::vector<uint32_t> bits = Pattern(40, 30);
    auto* image = new MemoryImage(&app);
    image->SetBits(bits.data(), 40, 30);
    MemoryImage kept(&app);
    kept.SetBits(bits.data(), 40, 30);
    {
        Graphics g(app.mDisplay->GetScreenImage());
        g.DrawImage(image, 5, 5);
        g.DrawImage(&kept, 50, 5);
    }
    ASSERT_NE(image->mTextureData, nullptr);
    ASSERT_NE(kept.mTextureData, nullptr);
    EXPECT_EQ(renderer.TextureSetSize(), 2u);

    delete image;
    EXPECT_EQ(renderer.TextureSetSize(), 1u);
    kept.DeleteExtraBuffers();
    EXPECT_EQ(kept.mTextureData, nullptr);
    EXPECT_EQ(renderer.TextureSetSize(), 0u);

    // A frame and a restart of the display clean the renderer's textures up.
    Graphics(app.mDisplay->GetScreenImage()).DrawImage(&kept, 50, 5);
    app.Redraw(nullptr);
    app.Set3DAcceleration(false, true);
    EXPECT_EQ(kept.mTextureData, nullptr);
    app.Set3DAcceleration(true, true);
    EXPECT_TRUE(app.Is3DAccelerated());
}

// The statistics box counts the renderer's textures by format and the video memory in use.
TEST(App3D, VideoStatsCountTexturesAndMemory)
{
    App3D app;
    app.Init();
    ASSERT_TRUE(app.Is3DAccelerated());
    const std::vector<uint32_t> bits = Pattern(40, 30);
    MemoryImage image(&app);
    image.SetBits(bits.data(), 40, 30);
    Graphics(app.mDisplay->GetScreenImage()).DrawImage(&image, 5, 5);
    ASSERT_NE(image.mTextureData, nullptr);
    const std::string text = app.VideoStatsText();
    EXPECT_EQ(text.rfind("3D-Mode is ON (3D is ", 0), 0u) << text;
    EXPECT_NE(text.find("Num Sounds: "), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nVideo Memory: "), std::string::npos) << text;
    EXPECT_EQ(text.find("Video Memory: 0/"), std::string::npos) << "the screen's surfaces take video memory\n" << text;
    EXPECT_NE(text.find("\r\nTexture Memory: "), std::string::npos) << text;
    EXPECT_EQ(text.find("Texture Memory: 0 KB"), std::string::npos) << text;
    int textures = 0;
    for (const char* format : {"A8R8G8B8: ", "A4R4G4B4: ", "R5G6B5: ", "Palette8: "})
    {
        const size_t at = text.find(format);
        ASSERT_NE(at, std::string::npos) << format << "\n" << text;
        textures += std::atoi(text.c_str() + at + std::strlen(format));
    }
    EXPECT_EQ(textures, 1) << text;
}

TEST(App3D, PurgedPixelsAreReadBackFromTheTextures)
{
    App3D app;
    app.Init();
    ASSERT_TRUE(app.Is3DAccelerated());
    const std::vector<uint32_t> bits = Pattern(70, 20); // wider than a 64-texel piece
    MemoryImage image(&app);
    image.SetBits(bits.data(), 70, 20);
    Graphics(app.mDisplay->GetScreenImage()).DrawImage(&image, 0, 0);
    ASSERT_NE(image.mTextureData, nullptr);
    image.PurgeBits();
    ASSERT_EQ(image.mBits, nullptr);
    const uint32_t* back = image.GetBits();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(back, back + bits.size()), bits);
}

TEST(App3D, TestValuesAreInTheRegistryAndTheOutcomeReplaysFromTheDemo)
{
    ScratchFolder folder("app3d");
    const std::string demo = (folder / "test3d.dmo").string();
    {
        App3D app({}, "-record -demofile=\"" + demo + "\"");
        ASSERT_TRUE(app.WriteRegBool("Is3D", true));
        app.mMinVidMemory3D = 1 << 20; // no card has a terabyte
        app.Init();
        EXPECT_FALSE(app.Is3DAccelerated());
        EXPECT_FALSE(app.Is3DSupported());
        EXPECT_FALSE(app.Store().GetInt32(kKey, "Is3D").has_value()) << "a fresh test outweighs the choice";
        const std::string test3D = kKey + "\\Test3D";
        EXPECT_EQ(app.Store().GetInt32(test3D, "Version"), 2);
        EXPECT_EQ(app.Store().GetInt32(test3D, "MinVidMemory"), 1 << 20);
        // The renderer's failures land there too.
        EXPECT_TRUE(app.Renderer().CheckDXError(Platform::DDERR_GENERIC, "Probe"));
        EXPECT_EQ(app.Store().GetString(test3D, "RuntimeError").value_or("").rfind("Probe: ", 0), 0u);
        app.WriteDemoFile();
    }
    // The replay tests nothing: it takes the recorded failure although this card would pass,
    // and leaves the player's registry alone.
    App3D replay({}, "-play -demofile=\"" + demo + "\"");
    ASSERT_TRUE(replay.WriteRegBool("Is3D", true));
    replay.Init();
    EXPECT_FALSE(replay.mDemo.Failed());
    EXPECT_FALSE(replay.Is3DAccelerated());
    EXPECT_EQ(replay.Display().GetDisplayTest()->GetFailureReason(), "Not enough video memory.");
    EXPECT_FALSE(replay.Store().GetInt32(kKey + "\\Test3D", "Version").has_value());
    EXPECT_EQ(replay.Store().GetInt32(kKey, "Is3D"), 1);
}

// The question comes from the destructor, so what was asked is read from the platform log.
TEST(App3D, ScenesThatCouldNotBeginAskWhetherToKeep3D)
{
    static std::vector<std::string> logged;
    const Platform::LogSink previous =
        Platform::SetLogSink([](std::string_view, std::string_view text) { logged.emplace_back(text); });
    ScratchFolder folder("app3d");
    for (const int answer : {Platform::IDYES, Platform::IDNO})
    {
        logged.clear();
        const std::string settings = (folder / ("settings" + std::to_string(answer) + ".txt")).string();
        {
            App3D app(settings);
            app.Init();
            ASSERT_TRUE(app.Is3DAccelerated());
            app.Renderer().Cleanup(); // the device is gone: no scene can begin
            Graphics(app.mDisplay->GetScreenImage()).FillRect(0, 0, 10, 10);
            ASSERT_TRUE(app.Renderer().RenderTargetFailed());
            app.Headless().QueueMessageBoxAnswer(answer);
        }
        ASSERT_EQ(logged.size(), 1u);
        EXPECT_NE(logged[0].find("Hardware Acceleration may not have been working correctly during this session.\r\n"
                                 "If you noticed graphics problems, you may want to turn off Hardware "
                                 "Acceleration.\r\nWould you like to keep Hardware Acceleration switched on?"),
                  std::string::npos)
            << logged[0];
        const std::optional<int32_t> stored = Platform::SettingsStore(settings).GetInt32(kKey, "Is3D");
        if (answer == Platform::IDNO)
            EXPECT_EQ(stored, 0);
        else
            EXPECT_FALSE(stored.has_value());
    }
    Platform::SetLogSink(previous);
}

// A present that fails takes the failed scenes with it: the question is not asked for them.
TEST(App3D, AFailedPresentClearsTheFailedScenes)
{
    App3D app;
    app.Init();
    ASSERT_TRUE(app.Is3DAccelerated());
    D3DInterface& renderer = app.Renderer();
    renderer.Cleanup();
    Graphics(app.mDisplay->GetScreenImage()).FillRect(0, 0, 10, 10);
    ASSERT_TRUE(renderer.RenderTargetFailed());
    app.mActive = false; // no restart of the display yet: the renderer stays
    app.mLastReinitAttempt = Platform::TickCount();
    LastRenderer3DError() = "device lost";
    app.Redraw(nullptr);
    LastRenderer3DError().clear();
    EXPECT_TRUE(app.mDisplayLost);
    ASSERT_EQ(app.Display().GetRenderer(), &renderer);
    EXPECT_FALSE(renderer.RenderTargetFailed());
}
