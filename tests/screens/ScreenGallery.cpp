#include "ScreenGallery.h"

#include "framework/widgets/Checkbox.h"
#include "framework/widgets/SysFont.h"
#include "game/screens/ChangeProfileDlg.h"
#include "game/screens/ComplexityDlg.h"
#include "game/screens/CreditsDlg.h"
#include "game/screens/ExitGameDlg.h"
#include "game/screens/InGameDlg.h"
#include "game/screens/ProfileNameDlg.h"
#include "game/screens/ScoresDlg.h"
#include "game/screens/SettingsDlg.h"
#include "game/shell/SharedFonts.h"
#include "game/ui/BacSlider.h"
#include "game/ui/Button.h"

namespace ScreenTest
{
namespace
{
// Fonts and tables that outlive every harness of the program.
struct GalleryData
{
    std::unique_ptr<Quoll::SysFont> small;
    std::unique_ptr<Quoll::SysFont> large;
    ProfileList profiles;
    ScoreTable scores;

    GalleryData()
    {
        std::string error;
        small = Quoll::SysFont::Create(nullptr, "DejaVu Sans", 12, 0, error);
        large = Quoll::SysFont::Create(nullptr, "DejaVu Sans", 18, 0, error);
        for (const char* name : {"ann", "bob", "cid"})
            profiles.Add(name);
        const std::pair<const char*, int> results[] = {{"ann", 48200}, {"bob", 39150}, {"cid", 27600},
                                                       {"dee", 15400}, {"eve", 9050}};
        for (const auto& [name, score] : results)
            scores.Submit(name, score);
    }
};

GalleryData& Data()
{
    static GalleryData data;
    return data;
}

void PointAt(ScreenHarness& harness, const Quoll::Widget& widget)
{
    const Quoll::Point at = widget.GetAbsolutePosition();
    harness.ui.manager.MouseMove(at.x + widget.mWidth / 2, at.y + widget.mHeight / 2);
}

const std::vector<GalleryScene> kScenes = {
    {"exit", [](ScreenHarness& h) { h.Show(new ExitGameDlg); }},
    {"saved_game", [](ScreenHarness& h) { h.Show(new StartSavedGameDlg); }},
    {"tutorial_quit", [](ScreenHarness& h) { h.Show(new TutorialCancelDlg); }},
    {"pause", [](ScreenHarness& h) { h.Show(new InGameDlg); }},
    {"credits", [](ScreenHarness& h) { h.Show(new CreditsDlg); }},
    {"scores", [](ScreenHarness& h) { h.Show(new ScoresDlg(Data().scores)); }},
    {"difficulty",
     [](ScreenHarness& h) {
         auto* dialog = h.Show(new ComplexityDlg);
         PointAt(h, *dialog->GetEasyButton());
     }},
    {"profiles", [](ScreenHarness& h) { h.Show(new ChangeProfileDlg(Data().profiles, "bob")); }},
    {"profile_name",
     [](ScreenHarness& h) {
         h.Show(new ProfileNameDlg);
         h.Type(L"ann");
     }},
    {"settings",
     [](ScreenHarness& h) {
         SettingsView view;
         view.musicVolume = 0.6;
         view.soundVolume = 0.3;
         view.twoLanguages = true;
         auto* dialog = h.Show(new SettingsDlg(view));
         PointAt(h, *dialog->GetCheckbox(SettingsDlg::kCustomCursorId));
     }},
};
} // namespace

const std::vector<GalleryScene>& GalleryScenes()
{
    return kScenes;
}

std::unique_ptr<ScreenHarness> MakeGalleryHarness()
{
    GalleryData& data = Data();
    if (!data.small || !data.large)
        return nullptr;
    auto harness = std::make_unique<ScreenHarness>(data.small.get());
    harness->ui.fonts["FONT_FNT2"] = data.large.get();
    harness->ui.texts["UI_ARE_YOU_SURE"] = L"Do you really want to leave the game?";
    harness->ui.texts["UI_SAVED_GAME_QUESTION"] = L"You have a saved game. Do you want to continue it?";
    harness->ui.texts["UI_TUTORIAL_QUIT"] = L"Do you want to leave the tutorial?";
    harness->ui.texts["UI_EMPTY"] = L"- empty -";
    harness->ui.texts["UI_LANG"] = L"Deutsch";
    harness->ui.texts["HINT_EASY_MODE"] = L"More time to think and gentler opponents.";
    harness->ui.texts["HINT_CURSOR_SWITCH"] = L"Use the game's own pointer instead of the system's.";
    harness->ui.texts["UI_SOUND_ENABLED"] = L"On";
    harness->ui.texts["UI_SOUND_DISABLED"] = L"Off";
    return harness;
}

std::vector<uint32_t> RenderScene(ScreenHarness& harness, const GalleryScene& scene, int updates)
{
    scene.show(harness);
    harness.Run(updates);
    const uint32_t* bits = harness.ui.screen.GetBits();
    return std::vector<uint32_t>(bits, bits + harness.ui.appWidth * harness.ui.appHeight);
}
} // namespace ScreenTest
