// Stresses the resource manager: a three-group manifest with images (size, cel grid,
// animation), sounds (ids, volume, pan) and fonts; unloading; a failing group that leaves
// nothing of itself loaded and names the failing path; one-resource-at-a-time loading and
// its cancellation; manifest errors with their lines; two threads loading at once (run this
// suite under ThreadSanitizer too).
// Rerun one case: ./test_resources --gtest_filter=ResourceManagerTest.FailingGroupLeavesNothingLoaded
#include "TestFolder.h"
#include "TestImages.h"

#include "framework/files/ImageLib.h"
#include "framework/resources/ResourceManager.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <type_traits>

using namespace Quoll;

static_assert(!std::is_copy_constructible_v<ResourceManager>);
static_assert(std::is_base_of_v<std::exception, ResourceManagerException>);

namespace
{
class FakeSounds : public SoundLoader
{
public:
    int GetFreeSoundId() override
    {
        for (int id = 0; id < capacity; ++id)
            if (std::find(used.begin(), used.end(), id) == used.end())
                return id;
        return -1;
    }
    bool LoadSound(unsigned id, const std::string& fileName) override
    {
        entered = true;
        while (hold)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (fileName.find("broken") != std::string::npos)
            return false;
        used.push_back(static_cast<int>(id));
        return true;
    }
    bool SetBaseVolume(unsigned id, double volume) override { return volumes[id] = volume, true; }
    bool SetBasePan(unsigned id, int pan) override { return pans[id] = pan, true; }
    void ReleaseSound(unsigned id) override { used.erase(std::find(used.begin(), used.end(), static_cast<int>(id))); }

    int capacity = 256;
    std::atomic<bool> hold{false}, entered{false}; // a decode that takes its time
    std::vector<int> used;
    std::map<unsigned, double> volumes;
    std::map<unsigned, int> pans;
};

class FakeFonts : public FontFactory
{
public:
    Font* CreateFont(const std::string& path, const std::map<std::string, std::string>& attributes,
                     std::string& error) override
    {
        if (path.find("missing") != std::string::npos)
            return error = "no descriptor", nullptr;
        lastAttributes = attributes;
        ++live;
        return reinterpret_cast<Font*>(new char('f'));
    }
    void DestroyFont(Font* font) override
    {
        --live;
        delete reinterpret_cast<char*>(font);
    }
    int live = 0;
    std::map<std::string, std::string> lastAttributes;
};

const char* kManifest = R"(<?xml version="1.0"?>
<ResourceManifest>
  <Resources id="Fonts">
    <SetDefaults path="data\fonts" idprefix="FONT_"/>
    <Font id="FNT1" path="fnt1.txt" size="12"/>
  </Resources>
  <Resources id="PreInterface">
    <SetDefaults path="data/art" idprefix="IMAGE_"/>
    <Image id="STRIP" path="strip.png" rows="2" cols="3" anim="pingpong" framedelay="50"/>
    <Image id="PLAIN" path="Plain.PNG"/>
    <SetDefaults path="data/sounds" idprefix="SOUND_"/>
    <Sound id="CLICK" path="click" volume="0.5" pan="-300"/>
  </Resources>
  <Resources id="Level">
    <Image id="IMAGE_BG" path="data/art/bg.png" cols="2" perframedelay="10,20" framemap="1 0"/>
  </Resources>
</ResourceManifest>
)";

class ResourceManagerTest : public QuollTest::TestFolder
{
protected:
    void SetUp() override
    {
        TestFolder::SetUp();
        ASSERT_TRUE(ImageLib::WritePng("strip.png", QuollTest::RandomImage(60, 20, 1)));
        ASSERT_TRUE(ImageLib::WritePng("plain.png", QuollTest::RandomImage(7, 5, 2)));
        ASSERT_TRUE(ImageLib::WritePng("bg.png", QuollTest::RandomImage(8, 4, 3)));
        for (const char* name : {"strip.png", "plain.png", "bg.png"})
            WriteFile(std::string("data/art/") + name, ReadFile(name));
        WriteFile("data/resources.xml", kManifest);
        manager.SetSoundLoader(&sounds);
        manager.SetFontFactory(&fonts);
    }

    FakeSounds sounds;
    FakeFonts fonts;
    ResourceManager manager;
};

TEST_F(ResourceManagerTest, ThreeGroupManifestLoads)
{
    ASSERT_TRUE(manager.ParseResourcesFile("data\\resources.xml")) << manager.GetErrorText();
    EXPECT_EQ(manager.GetNumResources("PreInterface"), 3);
    EXPECT_EQ(manager.GetNumResources("Nothing"), 0);
    for (const char* group : {"Fonts", "PreInterface", "Level"})
    {
        EXPECT_TRUE(manager.LoadResources(group)) << manager.GetErrorText();
        EXPECT_TRUE(manager.IsGroupLoaded(group));
    }
    EXPECT_FALSE(manager.HadError());

    MemoryImage* strip = manager.GetImageThrow("IMAGE_STRIP");
    EXPECT_EQ(strip->GetWidth(), 60);
    EXPECT_EQ(strip->GetHeight(), 20);
    EXPECT_EQ(strip->GetCelWidth(), 20);
    EXPECT_EQ(strip->GetCelHeight(), 10);
    EXPECT_EQ(strip->mFilePath, "data/art/strip.png");
    ASSERT_NE(strip->mAnimInfo, nullptr);
    EXPECT_EQ(strip->mAnimInfo->mAnimType, AnimType::PingPong);
    EXPECT_EQ(strip->mAnimInfo->mFrameMap, (std::vector<int>{0, 1, 2, 3, 4, 5, 4, 3, 2, 1}));
    EXPECT_EQ(strip->mAnimInfo->mTotalTime, 500);
    EXPECT_EQ(manager.GetImageThrow("IMAGE_PLAIN")->mAnimInfo, nullptr);
    const AnimInfo* bg = manager.GetImageThrow("IMAGE_BG")->mAnimInfo.get();
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->mTotalTime, 30);

    const int click = manager.GetSoundThrow("SOUND_CLICK");
    EXPECT_EQ(click, 0);
    EXPECT_EQ(sounds.volumes[0], 0.5);
    EXPECT_EQ(sounds.pans[0], -300);
    EXPECT_NE(manager.GetFontThrow("FONT_FNT1"), nullptr);
    EXPECT_EQ(fonts.lastAttributes.at("size"), "12");

    EXPECT_THROW(manager.GetImageThrow("IMAGE_NONE"), ResourceManagerException);
    EXPECT_THROW(manager.GetSoundThrow("IMAGE_STRIP"), ResourceManagerException);
    EXPECT_FALSE(manager.LoadResources("Nothing"));
    EXPECT_EQ(manager.GetErrorText(), "Resource group not found: Nothing");
}

TEST_F(ResourceManagerTest, UnloadingFreesEveryKind)
{
    ASSERT_TRUE(manager.ParseResourcesFile("data/resources.xml"));
    ASSERT_TRUE(manager.LoadResources("PreInterface"));
    ASSERT_TRUE(manager.LoadResources("Fonts"));
    manager.DeleteResources("PreInterface");
    manager.DeleteResources("Fonts");
    EXPECT_FALSE(manager.IsGroupLoaded("PreInterface"));
    EXPECT_EQ(manager.GetImage("IMAGE_STRIP"), nullptr);
    EXPECT_EQ(manager.GetSound("SOUND_CLICK"), -1);
    EXPECT_TRUE(sounds.used.empty());
    EXPECT_EQ(fonts.live, 0);
    try
    {
        manager.GetImageThrow("IMAGE_STRIP");
        FAIL() << "no exception";
    }
    catch (const ResourceManagerException& e)
    {
        EXPECT_STREQ(e.what(), "Image resource not loaded: IMAGE_STRIP");
    }
    // Loading again works, and the manager's destructor frees what is left.
    ASSERT_TRUE(manager.LoadResources("Fonts"));
    EXPECT_EQ(fonts.live, 1);
}

TEST_F(ResourceManagerTest, FailingGroupLeavesNothingLoaded)
{
    WriteFile("broken.xml", R"(<ResourceManifest>
      <Resources id="Shared"><Image id="SHARED" path="plain.png"/></Resources>
      <Resources id="Broken">
        <Image id="SHARED" path="plain.png"/>
        <Image id="A" path="strip.png"/>
        <Sound id="S" path="click"/>
        <Font id="F" path="f.txt"/>
        <Image id="B" path="data/art/missing.png"/>
        <Image id="C" path="bg.png"/>
      </Resources>
      <Resources id="BadSound"><Sound id="T" path="broken"/></Resources>
      <Resources id="TooBig"><Image id="GRID" path="bg.png" rows="5"/></Resources>
      <Resources id="NoFont"><Font id="G" path="missing.txt"/></Resources>
    </ResourceManifest>)");
    ASSERT_FALSE(manager.ParseResourcesFile("broken.xml"));
    EXPECT_EQ(manager.GetErrorText(), "broken.xml: Resource defined twice: SHARED on Line 4");

    WriteFile("broken.xml", ReadFile("broken.xml").replace(ReadFile("broken.xml").find("<Image id=\"SHARED\" path=\"plain.png\"/>\n"), 38, ""));
    ASSERT_TRUE(manager.ParseResourcesFile("broken.xml")) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadResources("Shared"));
    EXPECT_FALSE(manager.LoadResources("Broken"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load image: data/art/missing.png");
    EXPECT_EQ(manager.GetImage("A"), nullptr);
    EXPECT_EQ(manager.GetSound("S"), -1);
    EXPECT_TRUE(sounds.used.empty());
    EXPECT_EQ(fonts.live, 0);
    EXPECT_NE(manager.GetImage("SHARED"), nullptr) << "loaded before, by another group";

    EXPECT_FALSE(manager.LoadResources("BadSound"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load sound: broken");
    sounds.capacity = 0;
    EXPECT_FALSE(manager.LoadResources("Broken"));
    EXPECT_EQ(manager.GetErrorText(), "Out of free sound ids");
    EXPECT_FALSE(manager.LoadResources("TooBig"));
    EXPECT_EQ(manager.GetErrorText(), "Image GRID has more rows or columns than pixels: bg.png");
    EXPECT_FALSE(manager.LoadResources("NoFont"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load font: missing.txt: no descriptor");
}

TEST_F(ResourceManagerTest, OneAtATimeCountsAndCancels)
{
    ASSERT_TRUE(manager.ParseResourcesFile("data/resources.xml"));
    {
        auto loader = manager.StartLoadResources("PreInterface");
        ASSERT_NE(loader, nullptr);
        EXPECT_EQ(loader->GetTotal(), 3);
        EXPECT_TRUE(loader->LoadNext());
        EXPECT_TRUE(loader->LoadNext());
        EXPECT_EQ(loader->GetLoaded(), 2);
        EXPECT_NE(manager.GetImage("IMAGE_PLAIN"), nullptr);
    } // cancelled before the end
    EXPECT_EQ(manager.GetImage("IMAGE_STRIP"), nullptr);
    EXPECT_EQ(manager.GetImage("IMAGE_PLAIN"), nullptr);

    auto loader = manager.StartLoadResources("PreInterface");
    while (loader->LoadNext())
    {
    }
    EXPECT_TRUE(loader->IsDone());
    EXPECT_FALSE(loader->HasFailed());
    loader.reset();
    EXPECT_TRUE(manager.IsGroupLoaded("PreInterface"));
}

TEST_F(ResourceManagerTest, ManifestErrorsNameTheirLineAndAddNothing)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<ResourceManifest>\n<Resources id='G'>\n<Picture id='A' path='a'/>", "Unknown element <Picture> on Line 3"},
        {"<ResourceManifest>\n<Resources id='G'>\n<Image path='a'/>", "A resource needs an id and a path on Line 3"},
        {"<ResourceManifest>\n<Resources id='G'>\n<Image id='A' path='a' anim='sideways'/>",
         "Bad anim of A: sideways on Line 3"},
        {"<ResourceManifest><Resources id='G'>\n\n<Image id='A' path='a' cols='2' framemap='0,2'/>",
         "Bad framemap of A: 0,2 on Line 3"},
        {"<ResourceManifest><Resources id='G'><Sound id='S' path='s' volume='2'/>", "Bad volume of S: 2 on Line 1"},
        {"<ResourceManifest><Resources/>", "<Resources> without an id on Line 1"},
        {"<Manifest/>", "Expected one <ResourceManifest> element on Line 1"},
        {"<ResourceManifest><Resources id='G'><Image id='A' path='a'></Resources>",
         "End tag </Resources> does not close <Image> on Line 1"},
    };
    for (const auto& [text, error] : cases)
    {
        WriteFile("bad.xml", text + "</Resources></ResourceManifest>");
        EXPECT_FALSE(manager.ParseResourcesFile("bad.xml")) << text;
        EXPECT_EQ(manager.GetErrorText(), "bad.xml: " + error) << text;
        EXPECT_EQ(manager.GetNumResources("G"), 0);
    }
    EXPECT_FALSE(manager.ParseResourcesFile("none.xml"));
    EXPECT_EQ(manager.GetErrorText(), "Cannot open file: none.xml");
}

// A sound being decoded on the loading thread does not hold the manager: the main thread's
// look-ups go on meanwhile.
TEST_F(ResourceManagerTest, LookUpsGoOnWhileASoundIsDecoded)
{
    ASSERT_TRUE(manager.ParseResourcesFile("data/resources.xml"));
    ASSERT_TRUE(manager.LoadResources("Level"));
    sounds.hold = true;
    bool loaded = false;
    std::thread loader([&] { loaded = manager.LoadResources("PreInterface"); });
    while (!sounds.entered)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    auto lookUp = std::async(std::launch::async, [&] { return manager.GetImage("IMAGE_BG") != nullptr; });
    const bool answered = lookUp.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    sounds.hold = false;
    loader.join();
    EXPECT_TRUE(answered);
    EXPECT_TRUE(lookUp.get());
    EXPECT_TRUE(loaded) << manager.GetErrorText();
    EXPECT_GE(manager.GetSound("SOUND_CLICK"), 0);
}

TEST_F(ResourceManagerTest, TwoThreadsLoadDifferentGroupsAtOnce)
{
    ASSERT_TRUE(manager.ParseResourcesFile("data/resources.xml"));
    for (int round = 0; round < 5; ++round)
    {
        bool first = false, second = false;
        std::thread loader([&] { first = manager.LoadResources("PreInterface"); });
        std::thread main([&] {
            second = manager.LoadResources("Level") && manager.LoadResources("Fonts");
            (void)manager.GetImage("IMAGE_STRIP");
        });
        loader.join();
        main.join();
        EXPECT_TRUE(first && second) << manager.GetErrorText();
        EXPECT_TRUE(manager.IsGroupLoaded("PreInterface") && manager.IsGroupLoaded("Level"));
        manager.DeleteResources("PreInterface");
        manager.DeleteResources("Level");
        manager.DeleteResources("Fonts");
    }
    EXPECT_EQ(fonts.live, 0);
}
} // namespace
