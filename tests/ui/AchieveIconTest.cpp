// The achievement icon: the glide after a delay, the picture and scale of each form, the hint's
// place and colour, the silhouette of an icon not earned, the glow of a new one, the viewer's
// hover growth; and the achievement popup drawn through it from the manager's painter hook.
// Rerun: test_ui --gtest_filter='AchieveIcon*:AchievementPopup*'.
#include "UiTestDoubles.h"
#include "framework/display/Graphics.h"
#include "game/shell/AchievementManager.h"
#include "game/ui/AchieveIcon.h"
#include "game/ui/AchievementPopupView.h"
#include "game/ui/GameColors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

namespace
{
constexpr int kIconSize = 64;

// Every channel within 2.
bool Near(uint32_t a, uint32_t b)
{
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 2)
            return false;
    return true;
}

// The fake's services with the forty achievement pictures bound at their ids (47..86), each of
// its own colour, and the glow image.
class IconServices : public UiTest::FakeUiServices
{
public:
    IconServices()
    {
        for (int n = 1; n <= 40; ++n)
        {
            mIcons[n] = UiTest::MakeImage(kIconSize, kIconSize, 0xFF000000u | static_cast<uint32_t>(n * 6) << 16 | 0x80);
            mIcons[n]->mFilePath = "ach" + std::to_string(n);
        }
        AddImage("IMAGE_BONUSH", 64, 64, 0x80FFD040u);
        texts["ACH7"] = L"Flawless";
        texts["UI_ACHIEVEMENT_EARNED"] = L"New";
        fonts["FONT_FNT1"] = &font;
    }
    Quoll::Image* GetImageById(int id) override
    {
        const auto found = mIcons.find(id - AchieveIcon::kImageBase);
        return found != mIcons.end() ? found->second.get() : FakeUiServices::GetImageById(id);
    }

    UiTest::BlockFont font;
    FloatPoint pointer{-1, -1};

private:
    std::map<int, std::unique_ptr<Quoll::MemoryImage>> mIcons;
};

// Records the tint of every stretched draw.
class ColourRecorder : public Quoll::Image
{
public:
    ColourRecorder()
    {
        mWidth = 1024;
        mHeight = 768;
    }
    void StretchBlt(Quoll::Image*, const Quoll::Rect&, const Quoll::Rect&, const Quoll::Rect&, const Quoll::Color& color,
                    Quoll::DrawMode, bool) override
    {
        colours.push_back(color);
    }
    std::vector<Quoll::Color> colours;
};

class AchieveIconTest : public ::testing::Test
{
protected:
    std::unique_ptr<AchieveIcon> MakeIcon(int number, bool popup, bool viewer)
    {
        auto icon = std::make_unique<AchieveIcon>(services, number, [this] { return services.pointer; });
        icon->SetState(popup, viewer);
        return icon;
    }
    IconServices services;
};
} // namespace

TEST_F(AchieveIconTest, AGlideWaitsForItsDelayThenRunsItsDuration)
{
    auto icon = MakeIcon(1, false, false);
    icon->SetPosition({100, 200});
    icon->SetTarget(false, 300, 200, 1.0f, 0.5f);
    for (int i = 0; i < 49; ++i)
        icon->Update(0.01f);
    EXPECT_EQ(icon->GetPosition(), (FloatPoint{100, 200}));
    for (int i = 0; i < 51; ++i)
        icon->Update(0.01f);
    EXPECT_NEAR(icon->GetPosition().x, 200.0f, 0.5f) << "half way 1 s after the start";
    for (int i = 0; i < 60; ++i)
        icon->Update(0.01f);
    EXPECT_EQ(icon->GetPosition(), (FloatPoint{300, 200}));
}

TEST_F(AchieveIconTest, TheStepThatEndsTheDelayGlidesOnlyByItsOvershoot)
{
    auto icon = MakeIcon(1, false, false);
    icon->SetPosition({400, 0});
    // From (0, 0) back to (400, 0); the wait of 0.25 s ends 0.05 s into the third step of 0.1 s,
    // which glides 0.05 s of the second.
    icon->SetTarget(true, 0, 0, 1.0f, 0.25f);
    EXPECT_EQ(icon->GetPosition(), (FloatPoint{0, 0}));
    for (int i = 0; i < 3; ++i)
        icon->Update(0.1f);
    EXPECT_NEAR(icon->GetPosition().x, 20.0f, 0.01f);
    icon->Update(0.1f);
    EXPECT_NEAR(icon->GetPosition().x, 60.0f, 0.01f);
}

TEST_F(AchieveIconTest, AGlideOfNoDurationEndsAtOnce)
{
    auto icon = MakeIcon(1, false, false);
    icon->SetPosition({50, 60});
    icon->SetTarget(true, 900, 900, 0.0f, 0.0f);
    EXPECT_EQ(icon->GetPosition(), (FloatPoint{50, 60}));
    icon->Update(0.01f);
    EXPECT_EQ(icon->GetPosition(), (FloatPoint{50, 60}));
}

TEST_F(AchieveIconTest, EachFormShowsItsAchievementsPictureAtItsScale)
{
    for (int number : {1, 7, 40})
    {
        auto popup = MakeIcon(number, true, false);
        auto viewer = MakeIcon(number, false, true);
        auto plain = MakeIcon(number, false, false);
        EXPECT_EQ(popup->mSprite->mImage, services.GetImageById(number + 46));
        EXPECT_EQ(viewer->mSprite->mImage, services.GetImageById(number + 46));
        EXPECT_EQ(popup->mSprite->GetRectAt(0, 0).width, 38);
        EXPECT_EQ(viewer->mSprite->GetRectAt(0, 0).width, 51);
        EXPECT_EQ(plain->mSprite->GetRectAt(0, 0).width, 64);
    }
    // Centred on its position.
    auto icon = MakeIcon(7, false, false);
    icon->SetPosition({200, 300});
    EXPECT_EQ(icon->GetScreenRect(), Quoll::Rect(168, 268, 64, 64));
    EXPECT_EQ(icon->GetHint().mText, L"Flawless");
}

TEST_F(AchieveIconTest, HintsStandBesideThePopupIconAndAtOnePlaceForTheViewer)
{
    auto popup = MakeIcon(7, true, false);
    popup->SetPosition({200, 300});
    services.pointer = {200, 300};
    popup->Update(0.01f);
    ASSERT_TRUE(popup->IsHovered());
    const Quoll::Rect r = popup->GetScreenRect();
    EXPECT_EQ(popup->GetHint().GetShownX(), r.x + r.width + 10);
    EXPECT_EQ(popup->GetHint().GetShownY(), r.y + 50);
    EXPECT_EQ(popup->GetHint().mTextColor, ColorHint);

    auto viewer = MakeIcon(7, false, true);
    viewer->SetPosition({600, 400});
    services.pointer = {600, 400};
    viewer->Update(0.01f);
    EXPECT_EQ(viewer->GetHint().GetShownX(), 100);
    EXPECT_EQ(viewer->GetHint().GetShownY(), 700);

    services.pointer = {10, 10};
    viewer->Update(0.01f);
    EXPECT_FALSE(viewer->IsHovered());
    EXPECT_EQ(viewer->GetHint().GetShownX(), 0);
}

TEST_F(AchieveIconTest, TheViewerIconGrowsWhileHoveredUnlessNotEarned)
{
    auto icon = MakeIcon(7, false, true);
    icon->SetPosition({600, 400});
    services.pointer = {600, 400};
    for (int i = 0; i < 5; ++i)
        icon->Update(0.01f);
    EXPECT_NEAR(icon->GetGrow(), 0.5f, 1e-4f);
    for (int i = 0; i < 6; ++i)
        icon->Update(0.01f);
    EXPECT_EQ(icon->GetGrow(), 1.0f);
    EXPECT_EQ(icon->mSprite->GetRectAt(0, 0).width, 64);
    services.pointer = {0, 0};
    for (int i = 0; i < 10; ++i)
        icon->Update(0.01f);
    EXPECT_EQ(icon->GetGrow(), 0.0f);

    auto dim = MakeIcon(7, false, true);
    dim->mAchieved = false;
    dim->SetPosition({600, 400});
    services.pointer = {600, 400};
    for (int i = 0; i < 20; ++i)
        dim->Update(0.01f);
    EXPECT_EQ(dim->GetGrow(), 0.0f);
    EXPECT_TRUE(dim->IsHovered());
    EXPECT_EQ(dim->GetHint().mTextColor, AchieveIcon::kNotAchievedHint);
}

TEST_F(AchieveIconTest, AnIconNotEarnedIsADimSilhouette)
{
    auto icon = MakeIcon(10, false, false);
    icon->SetPosition({100, 100});
    ColourRecorder screen;
    Quoll::Graphics g(&screen);
    icon->Draw(&g);
    ASSERT_EQ(screen.colours.size(), 1u);
    EXPECT_EQ(screen.colours[0], Quoll::Color::White);

    // A black copy at alpha 120, then a faint light one over it.
    screen.colours.clear();
    icon->mAchieved = false;
    icon->Draw(&g);
    ASSERT_EQ(screen.colours.size(), 2u);
    EXPECT_EQ(screen.colours[0], Quoll::Color(0, 0, 0, 120));
    EXPECT_EQ(screen.colours[1], Quoll::Color(255, 255, 255, 40));
}

TEST_F(AchieveIconTest, ANewIconsGlowLivesWhileTheFlagIsSet)
{
    auto icon = MakeIcon(3, false, true);
    icon->mNew = true;
    EXPECT_EQ(icon->GetHighlight(), nullptr);
    icon->Update(0.01f);
    ASSERT_NE(icon->GetHighlight(), nullptr);
    EXPECT_GE(icon->GetHighlight()->mSpeed, 0.5f);
    EXPECT_LE(icon->GetHighlight()->mSpeed, 0.6f);
    EXPECT_EQ(icon->GetHighlight()->mImage, services.GetImageNamed("IMAGE_BONUSH"));
    icon->mNew = false;
    icon->Update(0.01f);
    EXPECT_EQ(icon->GetHighlight(), nullptr);
}

TEST(AchievementPopup, ThePanelSlidesInHoldsAndSlidesOut)
{
    IconServices services;
    AchievementPopupView view(services, {});
    using Phase = AchievementPopup::Phase;
    EXPECT_EQ(view.PanelRect({7, Phase::SlidingIn, 0.0f}), Quoll::Rect(302, -84, 420, 84));
    EXPECT_EQ(view.PanelRect({7, Phase::SlidingIn, 1.0f}).y, 16);
    EXPECT_EQ(view.PanelRect({7, Phase::Caption, 0.3f}).y, 16);
    EXPECT_EQ(view.PanelRect({7, Phase::SlidingOut, 1.0f}).y, -84);
    EXPECT_LT(view.PanelRect({7, Phase::SlidingIn, 0.5f}).y, 16);
}

TEST(AchievementPopup, TheManagersHookDrawsThePopupWithItsIcon)
{
    IconServices services;
    AchievementRecord record;
    AchievementManager manager;
    manager.SetRecord(&record);
    InstallAchievementPopup(manager, services, {});
    // The first achievement is earned by its event at once (see the rules table).
    for (int event = 1; event <= 52 && manager.GetPopup() == nullptr; ++event)
        manager.OnEvent(event);
    ASSERT_NE(manager.GetPopup(), nullptr);
    const int number = manager.GetPopup()->number;
    manager.UpdatePopup(AchievementManager::kPopupInTime + 0.1f);
    ASSERT_TRUE(manager.IsPopupTextShown());

    Quoll::Graphics g(&services.screen);
    manager.DrawPopup(&g);
    // The icon's picture at the panel's icon place, 38 px across.
    const uint32_t expected = static_cast<uint32_t>(number * 6) << 16 | 0x80;
    EXPECT_TRUE(Near(services.Pixel(302 + 44, 16 + 42), expected));
    EXPECT_TRUE(Near(services.Pixel(302 + 44 + 17, 16 + 42), expected));
    EXPECT_FALSE(Near(services.Pixel(302 + 44 + 21, 16 + 42), expected));
}

TEST(AchievementPopup, ThePanelIsARoundedGlassPanel)
{
    IconServices services;
    AchievementPopupView view(services, {});
    const AchievementPopup popup{7, AchievementPopup::Phase::Caption, 0.5f};
    const Quoll::Rect r = view.PanelRect(popup);
    const uint32_t ground = services.Pixel(r.x, r.y);
    Quoll::Graphics g(&services.screen);
    view.Draw(&g, popup);

    // The corners are cut round: the screen shows there, while the rim runs along the edges.
    for (const auto& [x, y] : {std::pair{r.x, r.y}, std::pair{r.x + r.width - 1, r.y},
                               std::pair{r.x, r.y + r.height - 1}, std::pair{r.x + r.width - 1, r.y + r.height - 1}})
        EXPECT_TRUE(Near(services.Pixel(x, y), ground)) << x << "," << y;
    const uint32_t rim = services.Pixel(r.x + r.width / 2, r.y);
    EXPECT_FALSE(Near(rim, ground));
    EXPECT_TRUE(Near(services.Pixel(r.x, r.y + r.height / 2), rim));
    EXPECT_TRUE(Near(services.Pixel(r.x + r.width - 1, r.y + r.height / 2), rim));
    // Not one flat colour: the inside (right of the icon and the texts) is lighter at the top.
    const auto brightness = [&](int y) {
        const uint32_t p = services.Pixel(r.x + r.width - 30, y);
        return static_cast<int>((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF));
    };
    EXPECT_GT(brightness(r.y + 6), brightness(r.y + r.height - 7) + 30);
}
