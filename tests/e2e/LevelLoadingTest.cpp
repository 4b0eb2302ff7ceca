// The way into a level on the generated game data: a level chosen on the map loads through the
// loading state (one resource per update, the bar showing the fraction, the map painted once in
// its snapshot mode), zooms with its episode's configuration and plays; a missing group is shown
// in the error box and hands back to the map. Closing the window mid-level loses nothing, and the
// next play offers to continue the saved game, which comes back board for board.
// Rerun: test_e2e --gtest_filter='LevelLoading.*'
#include "tools/autoplay/Autoplay.h"

#include "framework/app/AppWidgetManager.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/Widget.h"
#include "game/app/GameStates.h"
#include "game/app/LoadLevelState.h"
#include "game/level/Level.h"
#include "game/play/GameScene.h"
#include "game/scene/ZoomConfig.h"
#include "game/scene/ZoomSFX.h"
#include "game/screens/ExitGameDlg.h"
#include "game/screens/LevelMap.h"
#include "game/screens/MainMenu.h"
#include "game/screens/MapPoint.h"
#include "game/screens/ProgressWidget.h"
#include "game/shell/GameLog.h"
#include "game/shell/PlayerData.h"
#include "game/shell/WaitState.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace
{
namespace fs = std::filesystem;

std::string ProductName()
{
    return "LevelLoading" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string BodyOf(const Quoll::Buffer& body)
{
    return {reinterpret_cast<const char*>(body.GetDataPtr()), body.GetDataSize()};
}

std::string BodyOf(Level& level)
{
    Quoll::Buffer body;
    level.Save(body, false);
    return {reinterpret_cast<const char*>(body.GetDataPtr()), body.GetDataSize()};
}

// Records whether the map's snapshot mode was on while it drew.
class SnapshotProbe final : public Quoll::Widget
{
public:
    void Draw(Quoll::Graphics*) override { drawnInSnapshotMode.push_back(MapSnapshotMode); }
    std::vector<bool> drawnInSnapshotMode;
};

class LevelLoading : public ::testing::Test
{
protected:
    void SetUp() override { Open(); }
    void TearDown() override
    {
        mApp.reset();
        fs::remove_all(fs::path(QUOLL_TEST_HOME) / "data/Nordwick" / ProductName());
    }

    // The game as the loading thread leaves it at the title: its groups in, the backgrounds not.
    void Open()
    {
        mApp = std::make_unique<Autoplay::AutoplayApp>(QUOLL_GAME_DIR, ProductName());
        mApp->Init();
        ASSERT_NE(mApp->GetGameStates(), nullptr);
        mApp->Activate();
        Quoll::SeedRandom(7);
        for (const char* group : GameApp::kBackgroundGroups)
            ASSERT_TRUE(mApp->LoadResourceGroup(group)) << group;
        ASSERT_FALSE(Resources().IsGroupLoaded("Fones"));
    }
    // Closing the window: the game shuts down with whatever shows.
    void Close() { mApp.reset(); }

    void MakeProfile(const std::string& name)
    {
        PlayerData& data = *mApp->GetPlayerData();
        if (data.GetProfileList().Find(name) < 0)
        {
            ASSERT_EQ(data.CreateProfile(name), ProfileList::NameCheck::Ok);
        }
        data.ChooseDifficulty(Profile::kNormalDifficulty);
        data.GetCurrentProfile().MarkSeen(ProfileSeen::OpeningComic);
        data.GetCurrentProfile().MarkSeen(ProfileSeen::MapIntro);
        data.SaveCurrentProfile();
    }

    void Step(int updates = 1)
    {
        for (int i = 0; i < updates; ++i)
        {
            mApp->UpdateFrame();
            mApp->ProcessDeferredDeletes();
        }
    }
    // Runs until the state is on top; false after the limit.
    bool RunUntilTop(const GameState& state, int limit = 3000)
    {
        for (int i = 0; i < limit && Host().GetTopState() != &state; ++i)
            Step();
        return Host().GetTopState() == &state;
    }

    // The map, idle, with the level chosen as the map does once its transition has ended.
    void ChooseOnMap(int level)
    {
        Host().ChangeState(States().LevelMap());
        Step();
        Quoll::LevelMap* map = States().LevelMap().GetMap();
        ASSERT_NE(map, nullptr);
        for (int i = 0; i < 2000 && map->IsBusy(); ++i)
            Step();
        if (level > 0)
            map->SendToLink(Quoll::LevelMap::kTransitionDone, level);
        else
            map->SendToLink(Quoll::LevelMap::kRandomLevel, -level);
        Step();
    }

    // The screen as the widget manager draws it, on a memory image.
    std::vector<uint32_t> DrawScreen()
    {
        const int w = mApp->GetAppWidth();
        const int h = mApp->GetAppHeight();
        std::vector<uint32_t> black(static_cast<size_t>(w) * static_cast<size_t>(h), 0xFF000000u);
        Quoll::MemoryImage screen;
        screen.SetBits(black.data(), w, h);
        AppWidgetManagerHandle manager(*mApp->GetWidgetManager(), screen);
        const uint32_t* bits = screen.GetBits();
        return {bits, bits + black.size()};
    }
    struct AppWidgetManagerHandle
    {
        AppWidgetManagerHandle(Quoll::AppWidgetManager& manager, Quoll::MemoryImage& screen) : mManager(manager)
        {
            mManager.SetScreenImage(&screen);
            mManager.MarkAllDirty();
            mManager.DrawScreen();
        }
        ~AppWidgetManagerHandle() { mManager.SetScreenImage(nullptr); }
        Quoll::AppWidgetManager& mManager;
    };

    [[nodiscard]] StateHost& Host() { return mApp->GetStateHost(); }
    [[nodiscard]] GameStates& States() { return *mApp->GetGameStates(); }
    [[nodiscard]] Quoll::ResourceManager& Resources() { return *mApp->mResourceManager; }
    [[nodiscard]] int LoadedBackgrounds()
    {
        int loaded = 0;
        for (int n = 1; n <= 24; ++n)
            loaded += Resources().GetImage("IMAGE_FONE" + std::to_string(n)) != nullptr ? 1 : 0;
        return loaded;
    }
    [[nodiscard]] float ZoomDuration(int key)
    {
        Quoll::ZoomConfigs configs;
        EXPECT_TRUE(configs.Load(mApp->GetPlayServices()));
        const Quoll::ZoomConfig* config = configs.Find(key);
        return config != nullptr ? config->duration : -1.0f;
    }

    std::unique_ptr<Autoplay::AutoplayApp> mApp;
};

TEST_F(LevelLoading, OneResourcePerUpdateWithTheBarShowingTheFraction)
{
    MakeProfile("ann");
    ChooseOnMap(1);
    LoadLevelState& loading = States().LoadLevel();
    ASSERT_EQ(Host().GetTopState(), &loading);
    auto* bar = dynamic_cast<Quoll::ProgressWidget*>(loading.GetWidget());
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(loading.GetMapSnapshot(), nullptr);
    EXPECT_EQ(bar->background, loading.GetMapSnapshot());
    EXPECT_FALSE(MapSnapshotMode);

    // The step that changed to the loading state loaded the first background.
    const int total = Resources().GetNumResources("Fones");
    ASSERT_EQ(total, 24);
    for (int loaded = LoadedBackgrounds(); loaded < total; ++loaded)
    {
        ASSERT_EQ(Host().GetTopState(), &loading);
        EXPECT_EQ(LoadedBackgrounds(), loaded);
        EXPECT_FLOAT_EQ(bar->GetProgress(), static_cast<float>(loaded) / static_cast<float>(total));
        Step();
    }
    EXPECT_TRUE(Resources().IsGroupLoaded("Fones"));
    ASSERT_EQ(Host().GetTopState(), &States().PlayLevel());
    EXPECT_EQ(States().PlayLevel().GetLevelNumber(), 1);
    EXPECT_EQ(loading.GetMapSnapshot(), nullptr) << "the picture goes with the loading screen";
}

TEST_F(LevelLoading, TheMapIsPaintedOnceInItsSnapshotMode)
{
    SnapshotProbe probe;
    States().LoadLevel().SetLevel(3, {100.0f, 200.0f}, &probe);
    EXPECT_EQ(probe.drawnInSnapshotMode, std::vector<bool>{true});
    EXPECT_FALSE(MapSnapshotMode);
    ASSERT_NE(States().LoadLevel().GetMapSnapshot(), nullptr);

    // The loading screen shows the picture with the bar over it: the top is the map as painted.
    MakeProfile("ann");
    ChooseOnMap(2);
    const Quoll::MemoryImage* snapshot = States().LoadLevel().GetMapSnapshot();
    ASSERT_NE(snapshot, nullptr);
    const std::vector<uint32_t> screen = DrawScreen();
    const uint32_t* painted = const_cast<Quoll::MemoryImage*>(snapshot)->GetBits();
    const int w = mApp->GetAppWidth();
    int differing = 0;
    for (int i = 0; i < w * 500; ++i)
        differing += (screen[static_cast<size_t>(i)] | 0xFF000000u) != (painted[i] | 0xFF000000u) ? 1 : 0;
    EXPECT_EQ(differing, 0);
}

TEST_F(LevelLoading, TheZoomIsTheEpisodesAndKeepsRunningOnThePlayScreen)
{
    MakeProfile("ann");
    ChooseOnMap(1);
    ASSERT_TRUE(RunUntilTop(States().PlayLevel()));
    PlayLevelState& play = States().PlayLevel();
    Quoll::ZoomSFX* zoom = play.GetZoomEffect();
    ASSERT_NE(zoom, nullptr);
    ASSERT_NE(play.GetScene(), nullptr);
    EXPECT_EQ(play.GetScene()->GetZoomEffect(), zoom);
    const int episode = mApp->GetAssets().GetEpisode(1);
    EXPECT_FLOAT_EQ(zoom->GetDuration(), ZoomDuration(episode));
    EXPECT_GT(zoom->mCentreX, 0.0f) << "from the level's node";
    const float before = zoom->GetTime();
    Step(5);
    EXPECT_GT(zoom->GetTime(), before);
    for (int i = 0; i < 500 && play.GetScene()->GetZoomEffect() != nullptr; ++i)
        Step();
    EXPECT_TRUE(zoom->IsFinished());
    EXPECT_EQ(play.GetScene()->GetZoomEffect(), nullptr) << "a finished zoom leaves the scene, drawn or not";

    // Every configuration draws pictures the play screen has loaded (none from the map's groups,
    // which go with the map).
    for (int key = 1; key <= Quoll::ZoomConfigs::kCount; ++key)
    {
        Quoll::ZoomConfigs configs;
        Quoll::ZoomSFX probe(mApp->GetPlayServices(), configs);
        probe.Start(true, key);
        int pictures = 0;
        for (const Quoll::ZoomPiece& piece : probe.GetPieces())
            pictures += !piece.label && piece.image != nullptr ? 1 : 0;
        EXPECT_GT(pictures, 0) << "zoomfx" << key;
        for (const Quoll::ZoomPiece& piece : probe.GetPieces())
            EXPECT_TRUE(piece.label || piece.image != nullptr) << "zoomfx" << key << " piece " << piece.imageId;
    }

    // The last level zooms with its own configuration, a random level with its episode's, and
    // the random level stays -episode up to the play state.
    EXPECT_EQ(LoadLevelState::ZoomConfigFor(70, mApp->GetAssets()), LoadLevelState::kLastLevelZoom);
    EXPECT_NE(ZoomDuration(6), ZoomDuration(mApp->GetAssets().GetEpisode(70)));
    // Everything is loaded by now: the loading state goes on to the level at its first update.
    ChooseOnMap(-3);
    EXPECT_EQ(States().LoadLevel().GetLevel(), -3);
    ASSERT_TRUE(RunUntilTop(play));
    EXPECT_EQ(play.GetLevelNumber(), -3);
    ASSERT_NE(play.GetZoomEffect(), nullptr);
    EXPECT_FLOAT_EQ(play.GetZoomEffect()->GetDuration(), ZoomDuration(3));
}

TEST_F(LevelLoading, AMissingGroupIsLoggedShownOnceAndHandsBackToTheMap)
{
    Close();
    const fs::path logFile = fs::path(QUOLL_TEST_HOME) / (ProductName() + ".log");
    ASSERT_TRUE(GameLog::Get().Open(logFile.string()));
    Open();
    MakeProfile("ann");
    States().LoadLevel().SetGroups({"Game", "NoSuchGroup"});
    ChooseOnMap(1);
    Step(3);
    EXPECT_EQ(Host().GetTopState(), &States().LevelMap());
    EXPECT_FALSE(States().PlayLevel().IsOnStack());
    GameLog::Get().Close();
    const std::string log = ReadAll(logFile);
    fs::remove(logFile);
    EXPECT_NE(log.find("[ERROR] Cannot load level 1: resource group NoSuchGroup"), std::string::npos) << log;
    // The player is told in the error box, once, with the resource manager's text.
    auto* windows = dynamic_cast<Quoll::Platform::HeadlessWindowSystem*>(mApp->GetWindowSystem());
    ASSERT_NE(windows, nullptr);
    ASSERT_EQ(windows->MessageBoxes().size(), 1u);
    EXPECT_EQ(windows->MessageBoxes()[0].caption, "FATAL ERROR");
    EXPECT_EQ(windows->MessageBoxes()[0].text, "Resource group not found: NoSuchGroup");
}

TEST_F(LevelLoading, ClosingMidLevelLosesNothingAndTheNextPlayContinues)
{
    MakeProfile("ann");
    ChooseOnMap(4);
    ASSERT_TRUE(RunUntilTop(States().PlayLevel()));
    PlayLevelState& play = States().PlayLevel();
    for (int i = 0; i < 3000 && (!play.IsLevelRunning() || play.GetLastBody() == std::nullopt ||
                                 play.GetSession()->GetLevel().IsBusy());
         ++i)
        Step();
    ASSERT_TRUE(play.GetLastBody().has_value());
    const std::string before = BodyOf(*play.GetLastBody());
    // Kept in memory only until the close writes the profile.
    mApp->GetPlayerData()->GetCurrentProfile().MarkSeen(ProfileSeen::FinalComic);
    Close();

    Open();
    PlayerData& data = *mApp->GetPlayerData();
    EXPECT_EQ(data.GetCurrentName(), "ann");
    EXPECT_TRUE(data.GetCurrentProfile().HasSeen(ProfileSeen::FinalComic)) << "the close wrote the profile";
    ASSERT_TRUE(data.LoadSavedGame().has_value());
    EXPECT_EQ(BodyOf(data.LoadSavedGame()->GetBody()), before);

    // The menu's play asks; yes loads the saved level and plays it on from where it was.
    Host().ChangeState(States().MainMenu());
    Step();
    States().MainMenu().GetMenu()->SendToLink(Quoll::MainMenu::kPlay, 0);
    Step();
    auto* question = dynamic_cast<WaitState*>(Host().GetTopState());
    ASSERT_NE(question, nullptr);
    ASSERT_NE(dynamic_cast<StartSavedGameDlg*>(question->GetWidget()), nullptr);
    question->GetWidget()->SendToLink(ExitGameDlg::kCommandYes, 0);
    Step();
    EXPECT_EQ(Host().GetTopState(), &States().LoadLevel());
    ASSERT_TRUE(RunUntilTop(States().PlayLevel()));
    ASSERT_NE(States().PlayLevel().GetSession(), nullptr);
    EXPECT_EQ(States().PlayLevel().GetLevelNumber(), 4);
    EXPECT_EQ(BodyOf(States().PlayLevel().GetSession()->GetLevel()), before);
}
} // namespace
