// The play screen's overlays against golden images on the 2D path (a display's surfaces), and the same
// frames on the 3D path compared with them: the fast menu open over a level with a silver medal
// held and gold shown next (count 30 of 40), its buttons and a step-back tab with two left; and
// the achievement popup in its caption phase with the achievement's icon. The art is synthetic
// (shaded panels, discs and a small pixel font) so that the frames read like the game.
// Rerun: test_play --gtest_filter='OverlayGolden*'; QUOLL_UPDATE_GOLDEN=1 rewrites the goldens.
#include "FrameOnBothPaths.h"
#include "../ui/UiTestDoubles.h"
#include "FakePlayServices.h"
#include "tests/GoldenImage.h"
#include "game/level/Level.h"
#include "game/level/NullLevelServices.h"
#include "game/level/NullLevelView.h"
#include "game/play/FastMenu.h"
#include "game/play/PlayGlobals.h"
#include "game/shell/SharedFonts.h"
#include "game/ui/AchievementPopupView.h"
#include "game/ui/Button.h"
#include "game/ui/QuollWidget.h"

#include "framework/display/Font.h"
#include "framework/display/MemoryImage.h"
#include "framework/rasteriser/TriangleSpanTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace
{
constexpr int kMenuWidth = 1024;
constexpr int kMenuHeight = 768;
constexpr int kPopupWidth = 640;
constexpr int kPopupHeight = 160;

// Capitals, digits and '!' of five by seven pixels, each pixel a square of the scale.
class PixelFont : public Quoll::Font
{
public:
    explicit PixelFont(int scale) : mScale(scale) {}
    [[nodiscard]] int GetHeight() const override { return 9 * mScale; }
    [[nodiscard]] int GetAscent() const override { return 7 * mScale; }
    [[nodiscard]] int GetAscentPadding() const override { return 0; }
    [[nodiscard]] int GetLineSpacing() const override { return 10 * mScale; }
    [[nodiscard]] int StringWidth(const std::wstring& text) override
    {
        return 6 * mScale * static_cast<int>(text.size());
    }
    [[nodiscard]] int CharWidthKern(wchar_t, wchar_t) override { return 6 * mScale; }
    void DrawString(Quoll::Graphics* g, int x, int y, const std::wstring& text, const Quoll::Color& color,
                    const Quoll::Rect& /*clip*/) override
    {
        g->PushState();
        g->SetColor(color);
        const int top = y - 7 * mScale;
        for (wchar_t c : text)
        {
            const auto glyph = Glyphs().find(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))));
            if (glyph != Glyphs().end())
                for (int row = 0; row < 7; ++row)
                    for (int col = 0; col < 5; ++col)
                        if ((glyph->second[static_cast<size_t>(row)] >> (4 - col)) & 1)
                            g->FillRect(x + col * mScale, top + row * mScale, mScale, mScale);
            x += 6 * mScale;
        }
        g->PopState();
    }
    [[nodiscard]] std::unique_ptr<Quoll::Font> Duplicate() const override
    {
        return std::make_unique<PixelFont>(*this);
    }

private:
    using Glyph = std::array<uint8_t, 7>;
    static const std::map<wchar_t, Glyph>& Glyphs()
    {
        static const std::map<wchar_t, Glyph> glyphs = {
            {L'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {L'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
            {L'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {L'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
            {L'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {L'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
            {L'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {L'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
            {L'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {L'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
            {L'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {L'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
            {L'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {L'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
            {L'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {L'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
            {L'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {L'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
            {L'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {L'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
            {L'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {L'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
            {L'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}}, {L'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
            {L'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}}, {L'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
            {L'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}}, {L'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
            {L'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}}, {L'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
        };
        return glyphs;
    }

    int mScale;
};

uint32_t Argb(int a, int r, int g, int b)
{
    const auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

// Pictures drawn pixel by pixel, kept alive with the frame.
class Art
{
public:
    using Pixel = std::function<uint32_t(int x, int y)>;

    Quoll::MemoryImage* Paint(const std::string& name, int w, int h, const Pixel& pixel)
    {
        auto image = std::make_unique<Quoll::MemoryImage>();
        image->Create(w, h);
        image->mFilePath = name;
        uint32_t* bits = image->GetBits();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bits[static_cast<size_t>(y * w + x)] = pixel(x, y);
        image->BitsChanged();
        mImages.push_back(std::move(image));
        return mImages.back().get();
    }

    // A rounded box of a colour, lighter at the top, with a pale rim.
    static Pixel Panel(int w, int h, int radius, int r, int g, int b)
    {
        return [=](int x, int y) {
            const int dx = std::max({radius - x, x - (w - 1 - radius), 0});
            const int dy = std::max({radius - y, y - (h - 1 - radius), 0});
            const double d = std::hypot(dx, dy);
            if (d > radius)
                return 0u;
            const double shade = 1.25 - 0.5 * y / h;
            if (d > radius - 3 || x < 3 || y < 3 || x >= w - 3 || y >= h - 3)
                return Argb(255, 150, 210, 240);
            return Argb(240, static_cast<int>(r * shade), static_cast<int>(g * shade), static_cast<int>(b * shade));
        };
    }
    // A shaded disc with a darker rim.
    static Pixel Disc(int size, int r, int g, int b)
    {
        return [=](int x, int y) {
            const double c = (size - 1) / 2.0;
            const double d = std::hypot(x - c, y - c) / c;
            if (d > 1)
                return 0u;
            const double shade = d > 0.82 ? 0.7 : 1.15 - 0.35 * (y - c + c) / size;
            return Argb(255, static_cast<int>(r * shade), static_cast<int>(g * shade), static_cast<int>(b * shade));
        };
    }

private:
    std::vector<std::unique_ptr<Quoll::MemoryImage>> mImages;
};

// The widgets' services with the achievement pictures at their ids.
class PopupServices : public UiTest::FakeUiServices
{
public:
    Quoll::Image* GetImageById(int id) override
    {
        const auto found = icons.find(id);
        return found != icons.end() ? found->second : FakeUiServices::GetImageById(id);
    }
    std::map<int, Quoll::Image*> icons;
};

LevelParams HumanCells(int cells)
{
    LevelParams p;
    p.Init(61, 2);
    p.playerCells[0] = cells;
    return p;
}

// The fast menu fully open, silver held, two step-backs left.
struct MenuFrame
{
    MenuFrame()
    {
        ResetPlayGlobalsForTests();
        SetSharedFonts(&label);
        int id = 3000;
        const auto add = [this, &id](const std::string& name, int w, int h, const Art::Pixel& pixel, int atId = 0) {
            services.Register(atId != 0 ? atId : id++, name, art.Paint(name, w, h, pixel));
        };
        add("IMAGE_FASTMENU_BG", 600, 130, Art::Panel(600, 130, 24, 30, 62, 120));
        add("IMAGE_BTN1", 160, 48, Art::Panel(160, 48, 14, 70, 150, 220));
        add("IMAGE_BTN1_OVER", 160, 48, Art::Panel(160, 48, 14, 110, 190, 250));
        add("IMAGE_BTN2", 160, 48, Art::Panel(160, 48, 14, 80, 190, 120));
        add("IMAGE_BTN2_OVER", 160, 48, Art::Panel(160, 48, 14, 120, 220, 150));
        add("IMAGE_SOUND_ON", 48, 48, [](int x, int y) {
            const bool box = x >= 8 && x < 18 && y >= 17 && y < 31;
            const bool cone = x >= 18 && x < 28 && std::abs(y - 24) <= (x - 18) / 2 + 7;
            const bool wave = std::abs(std::hypot(x - 24, y - 24) - 15) < 1.6 && x > 31;
            return box || cone || wave ? Argb(255, 240, 240, 250) : 0u;
        });
        add("IMAGE_SOUND_OFF", 48, 48, Art::Disc(48, 90, 90, 90));
        add("IMAGE_BACKSTEP_FONE", 72, 72, Art::Panel(72, 72, 16, 40, 120, 170));
        add("IMAGE_ICON_FONE", 32, 32, Art::Disc(32, 30, 50, 80));
        add("IMAGE_ICON_CELL", 32, 32, [](int x, int y) {
            const double ax = std::abs(x - 15.5), ay = std::abs(y - 15.5);
            const bool inside = ay <= 12 && ax <= 14 - ay / 2;
            const bool edge = inside && !(ay <= 9 && ax <= 11 - ay / 2);
            return edge ? Argb(255, 110, 220, 110) : 0u;
        });
        add("IMAGE_ICON_ROUND", 32, 32, Art::Disc(32, 200, 200, 90));
        // Button icons are light: the button tints them with its label colour.
        add("IMAGE_BACKSTEP_X2", 32, 32, [](int x, int y) {
            const double d = std::hypot(x - 15.5, y - 15.5);
            const bool bar = (x == 12 || x == 13 || x == 18 || x == 19) && y >= 9 && y <= 22;
            return d > 14 ? 0u : bar ? Argb(255, 40, 40, 40) : Argb(255, 250, 250, 250);
        }, 199);
        const int medals[3][3] = {{213, 158, 101}, {220, 220, 220}, {241, 195, 33}};
        for (int n = 1; n <= 3; ++n)
            add("IMAGE_ICON_MEDAL" + std::to_string(n), 32, 32, Art::Disc(32, medals[n - 1][0], medals[n - 1][1], medals[n - 1][2]),
                202 + n);
        services.fonts["FONT_FNT1"] = &label;
        services.fonts["FONT_FNT3"] = &label;
        services.texts["UI_HINT_MEDALMODE_CELLS"] = L"HOLD CELLS";
        ui.texts["UI_MAIN_MENU"] = L"MENU";
        ui.texts["UI_RESTART"] = L"RESTART";
        services.level = 5;
        level.EditToggleMedalMode();
        level.EditSetMedalThresholds(40, 25);

        menu.Init(&scene, &level);
        menu.SetLevelParams(HumanCells(30));
        menu.Show();
        menu.SetStepBackCount(2, true);
        for (int i = 0; i < 20; ++i)
            menu.Update(0.01f);
        menu.MouseMove(512, 10);
        for (int i = 0; i < 150; ++i)
            menu.Update(0.01f);
    }
    ~MenuFrame()
    {
        menu.Detach();
        SetSharedFonts(nullptr);
        ResetPlayGlobalsForTests();
    }

    void Draw(Quoll::Graphics& g)
    {
        g.SetColor(Quoll::Color(18, 22, 38));
        g.FillRect(0, 0, kMenuWidth, kMenuHeight);
        g.SetColor(Quoll::Color(28, 36, 60));
        for (int x = 0; x < kMenuWidth; x += 64)
            g.FillRect(x, 0, 2, kMenuHeight);
        menu.Draw(&g);
        // The buttons, as the screen's widget tree draws them after the screen.
        for (Quoll::Widget* child : scene.GetWidgets())
        {
            if (!child->mVisible)
                continue;
            g.PushState();
            g.Translate(child->mX, child->mY);
            child->Draw(&g);
            g.PopState();
        }
    }

    // Stretched pictures, which the two paths sample differently: the buttons (their pictures are
    // stretched to the layout's sizes), the small medal slots and the edges of the panel's shadow.
    [[nodiscard]] std::vector<Quoll::Rect> LooseBoxes() const
    {
        std::vector<Quoll::Rect> boxes;
        for (const Quoll::Widget* child : scene.GetWidgets())
            if (child->mVisible)
                boxes.emplace_back(child->mX - 2, child->mY - 2, child->mWidth + 4, child->mHeight + 4);
        boxes.emplace_back(menu.GetPanelX() + Quoll::FastMenu::kSmallSlotX - 2, Quoll::FastMenu::kSmallSlotY - 2, 33, 33);
        const int right = menu.GetPanelX() + menu.GetPanelWidth();
        const int bottom = menu.GetPanelHeight();
        boxes.emplace_back(right - 30, 0, 42, bottom + 12);
        boxes.emplace_back(menu.GetPanelX(), bottom - 30, menu.GetPanelWidth() + 12, 42);
        return boxes;
    }

    UiTest::FakeUiServices ui;
    FakePlayServices services{5};
    PixelFont label{2};
    Art art;
    NullLevelView levelView;
    NullLevelServices levelServices;
    Level level{levelView, levelServices};
    QuollWidget scene;
    Quoll::FastMenu menu{services};
};

// The popup of achievement 7 holding its caption.
struct PopupFrame
{
    PopupFrame()
    {
        ui.appWidth = kPopupWidth;
        ui.appHeight = kPopupHeight;
        ui.icons[7 + AchieveIcon::kImageBase] = art.Paint("IMAGE_ACH7", 64, 64, [](int x, int y) {
            const double d = std::hypot(x - 31.5, y - 31.5);
            const double a = std::atan2(y - 31.5, x - 31.5);
            const double star = 18 + 9 * std::cos(5 * a);
            if (d > 31)
                return 0u;
            if (d < star)
                return Argb(255, 250, 215, 60);
            return Argb(255, 60, 90, 170);
        });
        ui.fonts["FONT_FNT1"] = &label;
        ui.texts["UI_ACHIEVEMENT_EARNED"] = L"ACHIEVEMENT EARNED!";
        ui.texts["ACH7"] = L"FLAWLESS";
    }

    void Draw(Quoll::Graphics& g)
    {
        g.SetColor(Quoll::Color(18, 22, 38));
        g.FillRect(0, 0, kPopupWidth, kPopupHeight);
        view.Draw(&g, AchievementPopup{7, AchievementPopup::Phase::Caption, 0.5f});
    }

    // The icon is drawn scaled: the paths sample it differently.
    [[nodiscard]] std::vector<Quoll::Rect> LooseBoxes() const
    {
        const Quoll::Rect panel = view.PanelRect(AchievementPopup{7, AchievementPopup::Phase::Caption, 0.5f});
        return {Quoll::Rect(panel.x + AchievementPopupView::kIconX - 24, panel.y + AchievementPopupView::kIconY - 24, 48,
                            48)};
    }

    PopupServices ui;
    PixelFont label{2};
    Art art;
    AchievementPopupView view{ui, {}};
};

template <typename Frame>
std::vector<uint32_t> Draw2D(int width, int height)
{
    return PlayTesting::DrawOnDisplay<Frame>(width, height, false);
}

template <typename Frame>
std::vector<uint32_t> Draw3D(int width, int height)
{
    return PlayTesting::DrawOnDisplay<Frame>(width, height, true);
}
} // namespace

TEST(OverlayGolden, TheOpenFastMenuMatchesItsGolden)
{
    const auto pixels = Draw2D<MenuFrame>(kMenuWidth, kMenuHeight);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("play", "fast_menu", pixels.data(), kMenuWidth, kMenuHeight));
}

// Outside the stretched pictures every pixel agrees within 3 (the panel, its shadow, the goal,
// the texts, the big medal, the tab); inside them only the share of close pixels is held.
TEST(OverlayGolden, TheOpenFastMenuAgreesOnBothPaths)
{
    const auto a = Draw2D<MenuFrame>(kMenuWidth, kMenuHeight);
    const auto b = Draw3D<MenuFrame>(kMenuWidth, kMenuHeight);
    MenuFrame layout;
    const auto agreement = Quoll::Testing::CompareFrames(a, b, kMenuWidth, kMenuHeight, layout.LooseBoxes());
    std::printf("fast menu: largest difference outside the stretched pictures %d, %.4f of the pixels within 3\n",
                agreement.mostOutsideExcluded, agreement.shareWithin3);
    EXPECT_LE(agreement.mostOutsideExcluded, 3);
    EXPECT_GE(agreement.shareWithin3, 0.98);
}

TEST(OverlayGolden, TheAchievementPopupMatchesItsGolden)
{
    const auto pixels = Draw2D<PopupFrame>(kPopupWidth, kPopupHeight);
    EXPECT_TRUE(
        Quoll::Testing::MatchesAreaGolden("play", "achievement_popup", pixels.data(), kPopupWidth, kPopupHeight));
}

// Outside the scaled icon every pixel agrees within 3; inside it the paths sample differently.
TEST(OverlayGolden, TheAchievementPopupAgreesOnBothPaths)
{
    const auto a = Draw2D<PopupFrame>(kPopupWidth, kPopupHeight);
    const auto b = Draw3D<PopupFrame>(kPopupWidth, kPopupHeight);
    PopupFrame layout;
    const auto agreement = Quoll::Testing::CompareFrames(a, b, kPopupWidth, kPopupHeight, layout.LooseBoxes());
    std::printf("popup: largest difference outside the icon %d, %.4f of the pixels within 3\n",
                agreement.mostOutsideExcluded, agreement.shareWithin3);
    EXPECT_LE(agreement.mostOutsideExcluded, 3);
    EXPECT_GE(agreement.shareWithin3, 0.99);
}
