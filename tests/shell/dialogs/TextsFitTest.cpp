// Every text the game's screens and dialogs draw, in every language, measured with the generated
// fonts' own widths where it lands: inside the screen, inside the widget it is drawn for (a text
// that runs past its widget is cut there), inside the opaque part of its dialog's panel, and clear
// of every other text of the same frame. A text drawn more than once a few pixels apart (an
// outline, a shadow) counts once. Places that the game's layout fixes and that do not meet these
// rules are listed in kKnownExceptions.
// Rerun: test_dialogdata --gtest_filter='TextsFit.*'.
#include "tests/shell/dialogs/DialogDataFixture.h"
#include "tools/autoplay/Autoplay.h"

#include "framework/core/Common.h"
#include "framework/display/Font.h"
#include "framework/resources/ResourceManager.h"
#include "game/app/AchievesState.h"
#include "game/app/GameEndLevelServices.h"
#include "game/app/GameLevelMapServices.h"
#include "game/app/GameMenuServices.h"
#include "game/screens/AchievesViewer.h"
#include "game/screens/ComicsViewer.h"
#include "game/screens/EditorDlg.h"
#include "game/screens/EndLevelDlg.h"
#include "game/screens/LevelMap.h"
#include "game/screens/MainMenu.h"
#include "game/screens/SettingsDlg.h"
#include "game/screens/TitleScreen.h"
#include "game/ui/Button.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace DialogDataTest
{
namespace
{
// One screen as the flow shows it, made and brought into the state it is checked in.
struct Screen
{
    std::string name;
    std::function<BaseWidget*(GameApp&)> make;
    // Runs once the screen is attached; may be empty.
    std::function<void(BaseWidget&, Quoll::AppWidgetManager&)> show;
};

// A state that shows any one game widget.
class ScreenLink : public WidgetLink
{
public:
    ScreenLink(StateHost& host, std::function<BaseWidget*()> factory)
        : WidgetLink(host, "ScreenLink"), mFactory(std::move(factory))
    {
    }

protected:
    BaseWidget* CreateWidget() override { return mFactory(); }
    void OnCommand(int, int) override {}

private:
    std::function<BaseWidget*()> mFactory;
};

// Widgets whose fixed size is less than their font's height: their texts may pass the widget's
// bounds by the font's blank rows above and below the glyphs.
struct KnownException
{
    const char* screen;
    int width, height; // the widget's clip
};
const KnownException kKnownExceptions[] = {
    // The medal thresholds' fields: 35 x 20 (less the field's margins) in the 24-pixel label font.
    {"editor_strip", 27, 20},
};

bool IsKnownException(const std::string& screen, const DrawnText& drawn)
{
    for (const KnownException& known : kKnownExceptions)
        if (screen == known.screen && drawn.clip.width == known.width && drawn.clip.height == known.height)
            return true;
    return false;
}

bool Contains(const Quoll::Rect& outer, const Quoll::Rect& inner)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

bool Overlap(const Quoll::Rect& a, const Quoll::Rect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

std::string Describe(const DrawnText& drawn)
{
    std::ostringstream out;
    out << '"' << Quoll::WStringToString(drawn.text) << "\" at (" << drawn.box.x << ", " << drawn.box.y << ") "
        << drawn.box.width << "x" << drawn.box.height;
    return out.str();
}

// Whether one text is a copy of another a few pixels off (an outline or a shadow), or a piece of
// it (a line written in coloured pieces over its plain shadow): on the same line, one text holding
// the other, and its box within the other's.
bool IsCopy(const DrawnText& a, const DrawnText& b)
{
    const bool aHolds = a.text.find(b.text) != std::wstring::npos;
    const bool bHolds = b.text.find(a.text) != std::wstring::npos;
    if (std::abs(a.box.y - b.box.y) > 4 || (!aHolds && !bHolds))
        return false;
    const DrawnText& whole = aHolds ? a : b;
    const DrawnText& part = aHolds ? b : a;
    return part.box.x >= whole.box.x - 4 && part.box.x + part.box.width <= whole.box.x + whole.box.width + 4;
}

// The texts of a frame, each once: copies and pieces of a text already kept are left out.
std::vector<DrawnText> Distinct(const std::vector<DrawnText>& texts)
{
    std::vector<DrawnText> distinct;
    for (const DrawnText& drawn : texts)
    {
        bool copy = false;
        for (DrawnText& kept : distinct)
            if (IsCopy(kept, drawn))
            {
                copy = true;
                if (drawn.text.size() > kept.text.size())
                    kept = drawn;
                break;
            }
        if (!copy)
            distinct.push_back(drawn);
    }
    return distinct;
}

// Whether the panel's pixel at the dialog-relative point is opaque.
bool OnPanel(Quoll::Image* panel, int x, int y)
{
    auto* pixels = dynamic_cast<Quoll::MemoryImage*>(panel);
    if (pixels == nullptr || pixels->GetBits() == nullptr || x < 0 || y < 0 || x >= panel->mWidth ||
        y >= panel->mHeight)
        return false;
    return (pixels->GetBits()[y * panel->mWidth + x] >> 24) >= 128;
}

void Advance(Quoll::AppWidgetManager& manager, int updates)
{
    for (int i = 0; i < updates; ++i)
        manager.UpdateFrame();
}

// The texts a player can see: those drawn under an empty clip draw nothing, and those of the
// screen below a dialog that its opaque panel covers are hidden.
std::vector<DrawnText> Visible(const std::vector<DrawnText>& texts, const QuollDialog* dialog)
{
    std::vector<DrawnText> visible;
    bool dialogDrawn = dialog == nullptr || dialog->mComponentImage == nullptr;
    for (const DrawnText& drawn : texts)
    {
        if (drawn.clip.width <= 0 || drawn.clip.height <= 0)
            continue;
        if (!dialogDrawn)
        {
            const Quoll::Rect place(dialog->mX, dialog->mY, dialog->mWidth, dialog->mHeight);
            dialogDrawn = drawn.clip == place;
            const int left = drawn.box.x - dialog->mX, top = drawn.box.y - dialog->mY;
            const int right = left + drawn.box.width - 1, bottom = top + drawn.box.height - 1;
            Quoll::Image* panel = dialog->mComponentImage;
            if (!dialogDrawn && OnPanel(panel, left, top) && OnPanel(panel, right, top) &&
                OnPanel(panel, left, bottom) && OnPanel(panel, right, bottom))
                continue;
        }
        visible.push_back(drawn);
    }
    return visible;
}

void CheckOnPanel(const std::string& name, const QuollDialog& dialog, const DrawnText& drawn)
{
    const int left = drawn.box.x - dialog.mX, top = drawn.box.y - dialog.mY;
    const int right = left + drawn.box.width - 1, bottom = top + drawn.box.height - 1;
    Quoll::Image* panel = dialog.mComponentImage;
    EXPECT_TRUE(OnPanel(panel, left, top) && OnPanel(panel, right, top) && OnPanel(panel, left, bottom) &&
                OnPanel(panel, right, bottom))
        << name << ": " << Describe(drawn) << " runs off its panel";
}

// Checks the texts one frame drew; the dialog, when given, is the panel its own texts must stay on.
void CheckTexts(const std::string& name, const std::vector<DrawnText>& recorded, const QuollDialog* dialog)
{
    const std::vector<DrawnText> texts = Distinct(Visible(recorded, dialog));
    EXPECT_FALSE(texts.empty()) << name << " draws no text";
    const Quoll::Rect screen(0, 0, 1024, 768);
    for (size_t i = 0; i < texts.size(); ++i)
    {
        const DrawnText& drawn = texts[i];
        if (IsKnownException(name, drawn))
            continue;
        EXPECT_TRUE(Contains(screen, drawn.box)) << name << ": " << Describe(drawn) << " leaves the screen";
        EXPECT_TRUE(Contains(drawn.clip, drawn.box))
            << name << ": " << Describe(drawn) << " is cut by its widget (" << drawn.clip.x << ", " << drawn.clip.y
            << ") " << drawn.clip.width << "x" << drawn.clip.height;
        if (dialog != nullptr && dialog->mComponentImage != nullptr &&
            drawn.clip == Quoll::Rect(dialog->mX, dialog->mY, dialog->mWidth, dialog->mHeight))
            CheckOnPanel(name, *dialog, drawn);
        for (size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(!IsKnownException(name, texts[j]) && Overlap(drawn.box, texts[j].box))
                << name << ": " << Describe(drawn) << " and " << Describe(texts[j]) << " overlap";
    }
}

class TextsFit : public DialogData
{
protected:
    // Draws the frame and checks its texts; the dialog, when given, is the panel its own texts
    // must stay on.
    // Draws the frame and checks its texts.
    void CheckFrame(const std::string& name, const QuollDialog* dialog)
    {
        DrawnTexts().Clear();
        (void)Render();
        CheckTexts(name, DrawnTexts().Texts(), dialog);
    }

    // Shows a screen on a state of its own and checks its frame; the state is left afterwards.
    void CheckScreen(const Screen& screen)
    {
        ScreenLink link(App().GetStateHost(), [&] { return screen.make(App()); });
        App().GetStateHost().PushState(link);
        ASSERT_TRUE(link.IsWidgetAttached()) << screen.name;
        if (screen.show)
            screen.show(*link.GetWidget(), Manager());
        Manager().UpdateFrame();
        CheckFrame(screen.name, dynamic_cast<QuollDialog*>(link.GetWidget()));
        App().GetStateHost().PopState();
        App().ProcessDeferredDeletes();
    }

    // The groups the loading thread has loaded before the menu shows (the pipette is the game's).
    void LoadGameGroups()
    {
        for (const char* group : PlayDataTest::kPlayGroups)
            ASSERT_TRUE(App().LoadResourceGroup(group)) << group;
    }

    // Runs the check in every language of the texts.
    template <typename Check>
    void InEveryLanguage(Check check)
    {
        Localisation& texts = App().GetLocalisation();
        const int start = texts.GetLocaleId();
        for (const Localisation::Locale& locale : texts.GetLocales())
        {
            SCOPED_TRACE(locale.name);
            ASSERT_TRUE(texts.SetLocale(locale.id));
            check();
        }
        texts.SetLocale(start);
    }
};

TEST_F(TextsFit, EveryDialog)
{
    InEveryLanguage([&] {
        for (const DialogScene& scene : DialogScenes())
        {
            const QuollDialog* dialog = Show(scene).Dialog();
            ASSERT_NE(dialog, nullptr) << scene.name;
            CheckFrame(scene.name, dialog);
            Close();
        }
    });
}

TEST_F(TextsFit, MainMenuWithItsHints)
{
    LoadGameGroups();
    GameMenuServices services(App());
    const Screen menu{"main_menu", [&](GameApp&) { return new Quoll::MainMenu(services); },
                      [](BaseWidget& widget, Quoll::AppWidgetManager& manager) {
                          // The pointer on the pipette: its hint shows with the profile hint.
                          const Quoll::Rect& pipette = static_cast<Quoll::MainMenu&>(widget).GetCursorSwitchRect();
                          manager.MouseMove(pipette.x + pipette.width / 2, pipette.y + pipette.height / 2);
                      }};
    InEveryLanguage([&] { CheckScreen(menu); });
}

// The settings opened from the menu right after the pointer rested on the cursor switch, the
// pointer now on the language button: the menu's hint must not stay under the dialog's.
TEST_F(TextsFit, SettingsOverTheMainMenuWithTheLanguageHint)
{
    LoadGameGroups();
    GameMenuServices services(App());
    const DialogScene* settings = nullptr;
    for (const DialogScene& scene : DialogScenes())
        settings = scene.name == "settings" ? &scene : settings;
    ASSERT_NE(settings, nullptr);
    InEveryLanguage([&] {
        ScreenLink menuLink(App().GetStateHost(), [&] { return new Quoll::MainMenu(services); });
        App().GetStateHost().PushState(menuLink);
        auto& menu = static_cast<Quoll::MainMenu&>(*menuLink.GetWidget());
        const Quoll::Rect& pipette = menu.GetCursorSwitchRect();
        Manager().MouseMove(pipette.x + pipette.width / 2, pipette.y + pipette.height / 2);
        Manager().UpdateFrame();
        ASSERT_TRUE(menu.IsCursorSwitchHovered());
        DialogLink link(App().GetStateHost(), settings->make);
        App().GetStateHost().PushState(link);
        ASSERT_TRUE(link.IsWidgetAttached());
        const Quoll::Button* language = FindButton(*link.Dialog(), SettingsDlg::kLangButtonId);
        ASSERT_NE(language, nullptr);
        const Quoll::Point at = language->GetAbsolutePosition();
        Manager().MouseMove(at.x + language->mWidth / 2, at.y + language->mHeight / 2);
        Manager().UpdateFrame();
        CheckFrame("settings_over_menu", link.Dialog());
        App().GetStateHost().PopState();
        App().GetStateHost().PopState();
        App().ProcessDeferredDeletes();
    });
}

TEST_F(TextsFit, TitleMapComicsAndAchievements)
{
    LoadGameGroups();
    GameLevelMapServices map(App());
    GameAchievesViewerServices achievements(App());
    // Five seconds: the screen's arrival is over.
    const auto settle = [](BaseWidget&, Quoll::AppWidgetManager& manager) { Advance(manager, 500); };
    const Screen screens[] = {
        {"title", [](GameApp&) { return new Quoll::TitleScreen(0); },
         [](BaseWidget& title, Quoll::AppWidgetManager&) { static_cast<Quoll::TitleScreen&>(title).showPrompt = true; }},
        {"level_map", [&](GameApp&) { return new Quoll::LevelMap(map); }, settle},
        {"comics", [](GameApp&) { return new Quoll::ComicsViewer(false); }, settle},
        {"final_comics", [](GameApp&) { return new Quoll::ComicsViewer(true); }, settle},
        {"achievements", [&](GameApp&) { return new Quoll::AchievesViewer(achievements); }, settle},
    };
    InEveryLanguage([&] {
        for (const Screen& screen : screens)
            CheckScreen(screen);
    });
}

TEST_F(TextsFit, EndOfLevelWonAndLost)
{
    GameEndLevelServices services(App());
    EndLevelScores scores;
    scores.capture = 123450;
    scores.fastGame = 67890;
    scores.square = 45670;
    scores.total = 237010;
    scores.failureNumber = 12;
    const auto finished = [](BaseWidget& widget, Quoll::AppWidgetManager& manager) {
        static_cast<EndLevelDlg&>(widget).SkipCountUp();
        Advance(manager, 30);
    };
    const Screen won{"end_level_won",
                     [&](GameApp&) { return new EndLevelDlg(services, MakeEndLevelResult(1, true, true, 2), scores); },
                     finished};
    const Screen lost{"end_level_lost",
                      [&](GameApp&) { return new EndLevelDlg(services, MakeEndLevelResult(2, false, false, 0), scores); },
                      finished};
    InEveryLanguage([&] {
        CheckScreen(won);
        CheckScreen(lost);
    });
}

TEST_F(TextsFit, EditorStripAfterItsLabelsChange)
{
    LoadGameGroups();
    for (const int mode : {0, 1})
    {
        MedalRule rule;
        rule.mode = mode;
        rule.firstThreshold = 120;
        rule.secondThreshold = 999;
        const Screen strip{"editor_strip", [](GameApp& app) { return new EditorDlg(app.GetPlayServices()); },
                           [rule](BaseWidget& widget, Quoll::AppWidgetManager&) {
                               static_cast<EditorDlg&>(widget).UpdateStatusText(3, 2, rule);
                           }};
        CheckScreen(strip);
    }
}
// The play screen as the autoplay plays a level on the generated data: the HUD, the tutorial's
// panels and the player's avatars at every turn.
class PlayScreenTexts : public ::testing::Test
{
protected:
    static constexpr int kTurns = 12;
    // A second and a half: the tutorial's panel of the turn has come in.
    static constexpr int kSettleUpdates = 150;

    void TearDown() override { Stop(); }

    Autoplay::Runner& Start(int level)
    {
        Autoplay::Options options;
        options.level = level;
        options.seed = 4242;
        options.gameDir = QUOLL_GAME_DIR;
        options.maxUpdates = 40000;
        mRunner = std::make_unique<Autoplay::Runner>(options, ProductName());
        mRunner->App().mResourceManager->SetFontFactory(&RecordingFonts());
        mRunner->App().WriteRegBool("Is3D", false);
        EXPECT_TRUE(mRunner->Start());
        EXPECT_TRUE(mRunner->App().LoadResourceGroup("Interface"));
        mScreen.Create(1024, 768);
        mRunner->App().GetWidgetManager()->SetScreenImage(&mScreen);
        return *mRunner;
    }

    void Stop()
    {
        if (mRunner == nullptr)
            return;
        mRunner->App().GetWidgetManager()->SetScreenImage(nullptr);
        mRunner.reset();
        std::filesystem::remove_all(std::filesystem::path(QUOLL_TEST_HOME) / "data/Nordwick" / ProductName());
    }

    void CheckFrame(const std::string& name)
    {
        DrawnTexts().Clear();
        mRunner->App().GetWidgetManager()->MarkAllDirty();
        mRunner->App().GetWidgetManager()->DrawScreen();
        CheckTexts(name, DrawnTexts().Texts(), nullptr);
    }

    static std::string ProductName()
    {
        return "TextsFit" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }

    std::unique_ptr<Autoplay::Runner> mRunner;
    Quoll::MemoryImage mScreen;
};

TEST_F(PlayScreenTexts, EveryTurnOfTheTutorialLevelsAndAPlainLevel)
{
    for (const char* language : {"en", "de"})
        for (const int level : {1, 2, 3, 4})
        {
            const std::string name = "level " + std::to_string(level) + " " + language;
            SCOPED_TRACE(name);
            Autoplay::Runner& runner = Start(level);
            Localisation& texts = runner.App().GetLocalisation();
            for (const Localisation::Locale& locale : texts.GetLocales())
                if (locale.name == language)
                    texts.SetLocale(locale.id);
            for (int turn = 0; turn < kTurns && runner.RunToHumanTurn() && !runner.IsFinished(); ++turn)
            {
                for (int i = 0; i < kSettleUpdates; ++i)
                    runner.Step();
                CheckFrame(name + " turn " + std::to_string(turn));
                if (!runner.PlayTurn())
                    break;
            }
            Stop();
        }
}
} // namespace
} // namespace DialogDataTest
