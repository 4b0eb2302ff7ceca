// The level map's achievements button: its icon is its own picture, which has no generated id
// and is found by name in the application's resource manager, and what the button and its badge
// draw stays inside the screen once the menu has slid in, at rest and under the mouse. The
// pictures have the shipped table's sizes; the screen is drawn wider than the application, so
// that anything past the right edge shows.
// Rerun: test_screens --gtest_filter='LevelMapAchievementsButton*'.
#include "LevelMapTestDoubles.h"
#include "framework/display/ImageRegistry.h"
#include "framework/files/ImageLib.h"
#include "framework/resources/ResourceManager.h"
#include "game/screens/LevelMap.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "tests/app/TestApp.h"
#include "tools/resgen/ResourceTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace
{
constexpr int kScreenWidth = 1024;
constexpr int kOverhang = 100;
constexpr uint32_t kIconFill = 0xFFFFFFFFu;

std::string TestName()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// An entry of the shipped resource table.
ResGen::Entry TableEntry(const std::string& name)
{
    static const std::vector<ResGen::Entry> table = [] {
        std::ifstream in(QUOLL_SOURCE_DIR "/data/resource_ids.txt");
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        std::vector<ResGen::Entry> entries;
        std::string error;
        EXPECT_TRUE(ResGen::ParseTable(text, entries, error)) << error;
        return entries;
    }();
    for (const ResGen::Entry& entry : table)
        if (entry.name == name)
            return entry;
    ADD_FAILURE() << name << " is not in the table";
    return {};
}

class LevelMapAchievementsButton : public ::testing::Test
{
protected:
    LevelMapAchievementsButton()
    {
        // The application only lends its resource manager: images keep the tests' registry, so
        // that none made here outlives the registry it was entered in.
        Quoll::SetImageRegistry(mRegistry);
        MapTest::AddMapResources(harness.ui, false);
        RevealGroup = -1;
        MapSnapshotMode = false;
        for (const char* name : {"IMAGE_BTN1", "IMAGE_BTN1_OVER"})
        {
            const Quoll::Image* face = harness.ui.GetImageNamed(name);
            EXPECT_EQ(face->mWidth, TableEntry(name).width) << name;
            EXPECT_EQ(face->mHeight, TableEntry(name).height) << name;
        }
        // The badge at the table's size. The fake gives a name registered again the next free
        // id, so this stays the last registration.
        const ResGen::Entry badge = TableEntry("IMAGE_BACKSTEP_FONE");
        mBadge = ScreenTest::MakeFramedImage(badge.width, badge.height, 0xFF304858u, 0xFF6A90A8u);
        harness.ui.Register(badge.name, mBadge.get());
        harness.ui.texts["HINT_ACHIEVEMENTS"] = L"Your achievements";
        // The map over a screen wider than the application: right of the application's edge
        // it shows nothing but its own plain ground, unless something was drawn off the screen.
        harness.ui.appWidth = kScreenWidth + kOverhang;
        harness.ui.screen.Create(harness.ui.appWidth, harness.ui.appHeight);
        harness.ui.manager.SetScreenImage(&harness.ui.screen);
    }
    ~LevelMapAchievementsButton() override
    {
        harness.host.ExitAll();
        harness.ui.RunDeferredDeletes();
    }

    // Loads the icon as the game does: the manifest the generator makes of its table line, its
    // group loaded by the application's resource manager.
    Quoll::Image* LoadIcon()
    {
        const ResGen::Entry entry = TableEntry("IMAGE_ACHIEVE_ICON");
        EXPECT_FALSE(entry.IsNumbered());
        std::filesystem::create_directories(std::filesystem::path(entry.path).parent_path());
        ImageLib::Image picture(entry.width, entry.height);
        std::fill_n(picture.GetBits(), entry.width * entry.height, kIconFill);
        EXPECT_TRUE(ImageLib::WritePng(entry.path, picture));
        std::ofstream("resources.xml") << ResGen::MakeManifest({entry});
        Quoll::ResourceManager& manager = *app.mResourceManager;
        EXPECT_TRUE(manager.ParseResourcesFile("resources.xml")) << manager.GetErrorText();
        EXPECT_TRUE(manager.LoadResources(entry.group)) << manager.GetErrorText();
        return manager.GetImage(entry.name);
    }

    // The pixels right of the application's edge that are not the map's ground (its frame, at
    // the wider screen's own edges, left out).
    int PixelsPastTheEdge()
    {
        const uint32_t ground = harness.ui.Pixel(kScreenWidth + kOverhang / 2, harness.ui.appHeight / 2);
        int drawn = 0;
        for (int y = 8; y < harness.ui.appHeight - 8; ++y)
            for (int x = kScreenWidth; x < harness.ui.appWidth - 8; ++x)
                drawn += harness.ui.Pixel(x, y) != ground ? 1 : 0;
        return drawn;
    }
    // The icon's middle on the screen.
    uint32_t IconPixel(const Quoll::Button& button, const Quoll::Image& icon)
    {
        return harness.ui.Pixel(button.mX + button.mIconX + icon.mWidth / 2, button.mY + button.mIconY + icon.mHeight / 2);
    }

    MapTest::MapFolder folder{TestName()};
    Quoll::ImageRegistry* mRegistry = Quoll::GetImageRegistry();
    ScreenTest::ScreenHarness harness;
    MapTest::MapWorld world;
    QuollTest::TestApp app;
    std::unique_ptr<Quoll::MemoryImage> mBadge;
};

TEST_F(LevelMapAchievementsButton, ShowsItsOwnPictureInsideTheScreen)
{
    Quoll::Image* icon = LoadIcon();
    ASSERT_NE(icon, nullptr);
    auto* map = harness.Show(new Quoll::LevelMap(world.services));
    ASSERT_TRUE(map->BuildMap(false));
    map->FocusOnGroup(-1, -1);
    Quoll::Button* button = map->GetButton(Quoll::LevelMap::kAchievements);
    EXPECT_EQ(button->mIcon, icon);
    EXPECT_LE(button->mIconX + icon->mWidth, button->mWidth);
    EXPECT_LE(button->mIconY + icon->mHeight, button->mHeight);

    harness.Run(90);
    ASSERT_EQ(map->GetMenuSlide(), 1.0f);
    EXPECT_EQ(PixelsPastTheEdge(), 0);
    // The icon in the label colour at its place on the face.
    const Quoll::Color rest(static_cast<int>(IconPixel(*button, *icon)));
    EXPECT_NEAR(rest.r, ColorLabel.r, 2);
    EXPECT_NEAR(rest.g, ColorLabel.g, 2);
    EXPECT_NEAR(rest.b, ColorLabel.b, 2);

    // Under the mouse: the over face, the icon in white and the hint to its left.
    world.services.mouse = {970.0f, 76.0f};
    harness.ui.manager.MouseMove(970, 76);
    harness.Run(1);
    EXPECT_TRUE(button->mIsOver);
    const Quoll::Color over(static_cast<int>(IconPixel(*button, *icon)));
    EXPECT_GE(std::min({over.r, over.g, over.b}), 250);
    EXPECT_EQ(PixelsPastTheEdge(), 0);
}
} // namespace
