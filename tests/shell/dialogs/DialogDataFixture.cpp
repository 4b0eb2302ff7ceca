#include "tests/shell/dialogs/DialogDataFixture.h"

#include "framework/display/Graphics.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/Checkbox.h"
#include "game/app/GameEndLevelServices.h"
#include "game/screens/ChangeProfileDlg.h"
#include "game/screens/ComplexityDlg.h"
#include "game/screens/CreditsDlg.h"
#include "game/screens/EndLevelDlg.h"
#include "game/screens/ExitGameDlg.h"
#include "game/screens/InGameDlg.h"
#include "game/screens/ProfileNameDlg.h"
#include "game/screens/ScoresDlg.h"
#include "game/screens/SettingsDlg.h"
#include "game/ui/Button.h"

namespace DialogDataTest
{
namespace
{
// A plain dark screen under the dialogs, in place of the screen they open over.
class Backdrop : public Quoll::Widget
{
public:
    void Draw(Quoll::Graphics* g) override
    {
        g->SetColor(Quoll::Color(0x10, 0x1C, 0x28));
        g->FillRect(0, 0, mWidth, mHeight);
    }
};

// The players and results the dialogs show.
struct SceneData
{
    ProfileList profiles;
    ScoreTable scores;

    SceneData()
    {
        for (const char* name : {"ann", "bob", "cid"})
            profiles.Add(name);
        const std::pair<const char*, int> results[] = {
            {"ann", 48200}, {"bob", 39150}, {"cid", 27600}, {"dee", 15400}, {"eve", 9050}};
        for (const auto& [name, score] : results)
            scores.Submit(name, score);
    }
};

const SceneData& Data()
{
    static const SceneData data;
    return data;
}

// The end of a level with every score line of some width, over the running application.
EndLevelDlg* MakeEndLevel(const EndLevelResult& result)
{
    static GameEndLevelServices* services = nullptr;
    static GameApp* servedApp = nullptr;
    if (servedApp != gGameApp)
    {
        delete services;
        services = new GameEndLevelServices(*gGameApp);
        servedApp = gGameApp;
    }
    EndLevelScores scores;
    scores.capture = 12340;
    scores.fastGame = 6780;
    scores.square = 4560;
    scores.total = 23680;
    scores.failureNumber = 12;
    return new EndLevelDlg(*services, result, scores);
}

// The count-up skipped and the medal grown.
void FinishEndLevel(QuollDialog& dialog, Quoll::AppWidgetManager& manager)
{
    static_cast<EndLevelDlg&>(dialog).SkipCountUp();
    for (int i = 0; i < 30; ++i)
        manager.UpdateFrame();
}

void PointAt(Quoll::AppWidgetManager& manager, const Quoll::Widget& widget)
{
    const Quoll::Point at = widget.GetAbsolutePosition();
    manager.MouseMove(at.x + widget.mWidth / 2, at.y + widget.mHeight / 2);
}

const std::vector<DialogScene> kScenes = {
    {"profile_name", [] { return new ProfileNameDlg; },
     [](QuollDialog&, Quoll::AppWidgetManager& manager) {
         for (wchar_t c : std::wstring(L"ann"))
             manager.KeyChar(c);
     }},
    {"difficulty", [] { return new ComplexityDlg; },
     [](QuollDialog& dialog, Quoll::AppWidgetManager& manager) {
         PointAt(manager, *static_cast<ComplexityDlg&>(dialog).GetEasyButton());
     }},
    {"profiles", [] { return new ChangeProfileDlg(Data().profiles, "bob"); }, {}},
    {"settings",
     [] {
         SettingsView view;
         view.musicVolume = 0.6;
         view.soundVolume = 0.3;
         view.soundEnabled = false;
         view.twoLanguages = true;
         return new SettingsDlg(view);
     },
     [](QuollDialog& dialog, Quoll::AppWidgetManager& manager) {
         PointAt(manager, *static_cast<SettingsDlg&>(dialog).GetCheckbox(SettingsDlg::kCustomCursorId));
     }},
    {"scores", [] { return new ScoresDlg(Data().scores); }, {}},
    {"credits", [] { return new CreditsDlg; }, {}},
    {"exit", [] { return new ExitGameDlg; }, {}},
    {"pause", [] { return new InGameDlg; },
     [](QuollDialog& dialog, Quoll::AppWidgetManager& manager) {
         PointAt(manager, *FindButton(dialog, InGameDlg::kCommandSaveQuit));
     }},
    {"saved_game", [] { return new StartSavedGameDlg; }, {}},
    {"tutorial_quit", [] { return new TutorialCancelDlg; }, {}},
    {"end_level_won", [] { return MakeEndLevel(MakeEndLevelResult(1, true, true, 2)); }, &FinishEndLevel},
    {"end_level_lost", [] { return MakeEndLevel(MakeEndLevelResult(2, false, false, 0)); }, &FinishEndLevel},
};
} // namespace

TextRecorder& DrawnTexts()
{
    static TextRecorder recorder;
    return recorder;
}

RecordingFontFactory& RecordingFonts()
{
    // The resource manager may free its fonts after the application's members are gone.
    static RecordingFontFactory fonts(DrawnTexts());
    return fonts;
}

DialogGameApp::DialogGameApp()
{
    mResourceManager->SetFontFactory(&RecordingFonts());
}

const std::vector<DialogScene>& DialogScenes()
{
    return kScenes;
}

Quoll::Button* FindButton(const QuollDialog& dialog, int id)
{
    for (Quoll::Widget* child : dialog.GetWidgets())
        if (auto* button = dynamic_cast<Quoll::Button*>(child); button != nullptr && button->mId == id)
            return button;
    return nullptr;
}

void DialogData::SetUp()
{
    mApp = std::make_unique<DialogGameApp>();
    mApp->Init();
    ASSERT_FALSE(mApp->mShutdown);
    for (const char* group : kResidentGroups)
        ASSERT_TRUE(mApp->LoadResourceGroup(group)) << group;
    mScreen.Create(kScreenWidth, kScreenHeight);
    Manager().SetScreenImage(&mScreen);
    mBackdrop = std::make_unique<Backdrop>();
    mBackdrop->Resize(0, 0, kScreenWidth, kScreenHeight);
    Manager().AddWidget(mBackdrop.get());
}

void DialogData::TearDown()
{
    if (mApp == nullptr)
        return;
    Close();
    Manager().RemoveWidget(mBackdrop.get());
    Manager().SetScreenImage(nullptr);
    mApp.reset();
}

DialogLink& DialogData::Show(const DialogScene& scene)
{
    Close();
    mLink = std::make_unique<DialogLink>(mApp->GetStateHost(), scene.make);
    mApp->GetStateHost().PushState(*mLink);
    if (mLink->IsWidgetAttached() && scene.show)
        scene.show(*mLink->Dialog(), Manager());
    Manager().UpdateFrame();
    return *mLink;
}

void DialogData::Close()
{
    if (mLink == nullptr)
        return;
    mApp->GetStateHost().PopState();
    mApp->ProcessDeferredDeletes();
    mLink.reset();
}

std::vector<uint32_t> DialogData::Render()
{
    Manager().MarkAllDirty();
    Manager().DrawScreen();
    const uint32_t* bits = mScreen.GetBits();
    std::vector<uint32_t> pixels(bits, bits + kScreenWidth * kScreenHeight);
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}
} // namespace DialogDataTest
