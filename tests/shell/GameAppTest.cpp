// GameApp in the test process on the headless back ends and the minimal data set: the order of
// the start-up steps, what the start leaves behind (title, framework texts, bound start
// groups), the icon of every main window, the hint ramp, the language switch, the game settings
// in the store, and the fatal start when the texts are missing.
#include "framework/core/Common.h"
#include "framework/platform/window/headless/HeadlessWindowSystem.h"
#include "game/app/GameApp.h"
#include "game/shell/LerpInt.h"
#include "game/shell/MessageBoxText.h"
#include "game/shell/SharedFonts.h"
#include "tests/shell/FakeSoundManager.h"
#include "tests/shell/MinimalGameData.h"
#include "tests/shell/StateTestDoubles.h"
#include "game/shell/GameLog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

struct ExitCalled
{
    int code;
};

void ThrowOnExit(int code)
{
    throw ExitCalled{code};
}

// "ShellTest<pid>_<test name>": the product name of the test's application, unique per test and
// process (so that no two runs meet as a second instance or share a data folder).
std::string TestProductName()
{
    return "ShellTest" + std::to_string(::getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

// GameApp with the headless window system, an in-memory settings store, a product name of its
// own, the test's folder as its working folder and an exit that throws. It records its
// start-up steps and installs no crash handlers.
class TestGameApp : public GameApp
{
public:
    explicit TestGameApp(const fs::path& folder)
    {
        auto system = std::make_unique<Quoll::Platform::HeadlessWindowSystem>();
        mHeadless = system.get();
        SetWindowSystem(std::move(system));
        SetSettingsStore(std::make_unique<Quoll::Platform::SettingsStore>(std::string()));
        mProdName = TestProductName();
        mWorkingFolder = folder.string();
        mCommandLineParsed = true;
    }

    std::vector<std::string> mSteps;
    Quoll::Platform::HeadlessWindowSystem* mHeadless = nullptr;
    using QuollAppBase::Settings;

protected:
    void InstallCrashCatcher() override { mSteps.push_back("crash catcher"); }
    void SetPackPassword() override { mSteps.push_back("pack password"); GameApp::SetPackPassword(); }
    void InitFramework() override { mSteps.push_back("framework"); GameApp::InitFramework(); }
    void LoadTexts() override { mSteps.push_back("texts"); GameApp::LoadTexts(); }
    void SetWindowIconAndTitle() override { mSteps.push_back("icon and title"); GameApp::SetWindowIconAndTitle(); }
    void LoadResourceManifest() override { mSteps.push_back("manifest"); GameApp::LoadResourceManifest(); }
    void LoadStartGroups() override { mSteps.push_back("start groups"); GameApp::LoadStartGroups(); }
    void LoadPlayerData() override { mSteps.push_back("player data"); GameApp::LoadPlayerData(); }
    void InitLevelCatalogue() override { mSteps.push_back("level catalogue"); GameApp::InitLevelCatalogue(); }
    void InitAchievements() override { mSteps.push_back("achievements"); GameApp::InitAchievements(); }
    void LoadGameConfig() override { mSteps.push_back("game config"); GameApp::LoadGameConfig(); }
    void LoadCursorImages() override { mSteps.push_back("cursor images"); GameApp::LoadCursorImages(); }
    void RegisterParticleSystems() override { mSteps.push_back("particles"); GameApp::RegisterParticleSystems(); }
    void LoadMusicFiles() override { mSteps.push_back("music"); GameApp::LoadMusicFiles(); }
    void LoadEmotionAnimations() override { mSteps.push_back("animations"); GameApp::LoadEmotionAnimations(); }
    void InitSpanTable() override { mSteps.push_back("span table"); GameApp::InitSpanTable(); }
    void StartStateHost() override { mSteps.push_back("state host"); GameApp::StartStateHost(); }
    void LogInited() override { mSteps.push_back("inited"); GameApp::LogInited(); }
};

class GameAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = fs::path(QUOLL_TEST_HOME) /
                  (std::string("app_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(mFolder);
        ShellTest::WriteMinimalGameData(mFolder);
        mPreviousExit = Quoll::QuollAppBase::SetExitHandler(&ThrowOnExit);
    }
    void TearDown() override
    {
        Quoll::QuollAppBase::SetExitHandler(mPreviousExit);
        fs::current_path(QUOLL_TEST_HOME);
        fs::remove_all(mFolder);
        // The application's per-user data folder (the player's files).
        fs::remove_all(fs::path(QUOLL_TEST_HOME) / "data/Nordwick" / TestProductName());
    }

    fs::path mFolder;
    Quoll::ExitHandler mPreviousExit = nullptr;
};

TEST_F(GameAppTest, InitRunsTheStartUpStepsInOrder)
{
    TestGameApp app(mFolder);
    app.Init();
    const std::vector<std::string> expected = {
        "crash catcher", "pack password", "framework",   "texts",      "icon and title", "manifest",
        "start groups",  "player data", "level catalogue", "achievements", "game config", "cursor images", "particles",
        "music",         "animations",    "span table",  "state host", "inited"};
    EXPECT_EQ(app.mSteps, expected);
    EXPECT_EQ(gGameApp, &app);
}

TEST_F(GameAppTest, TheStartLeavesTitleTextsAndStartGroupsInPlace)
{
    TestGameApp app(mFolder);
    app.Init();
    EXPECT_EQ(app.mTitle, L"PetriGlow Saga");
    EXPECT_EQ(app.GetString("FATAL_ERROR", L"none"), L"FATAL ERROR");
    EXPECT_NE(GetImageById(IMAGE_CURSOR), nullptr);
    EXPECT_NE(GetImageById(IMAGE_PROGRESS_FILL), nullptr);
    EXPECT_EQ(GetImageById(IMAGE_CURSOR_DRAG), nullptr);
    // The shared font slots hold the first font while its group is loaded.
    ASSERT_NE(GetFontById(FONT_FNT1), nullptr);
    EXPECT_EQ(ButtonFont, GetFontById(FONT_FNT1));
    EXPECT_EQ(DialogTextFont, GetFontById(FONT_FNT1));
    EXPECT_EQ(app.GetLevelList().GetFirstField(), LevelList::kLevelCount);
    EXPECT_EQ(LevelList::Get(), &app.GetLevelList());

    app.UnloadResourceGroup("PreInterface");
    EXPECT_EQ(GetImageById(IMAGE_CURSOR), nullptr);
    EXPECT_TRUE(app.LoadResourceGroup("PreInterface"));
    EXPECT_NE(GetImageById(IMAGE_CURSOR), nullptr);
    EXPECT_FALSE(app.LoadResourceGroup("NoSuchGroup"));
    app.UnloadResourceGroup("Fonts");
    EXPECT_EQ(ButtonFont, nullptr);
    EXPECT_EQ(GetFontById(FONT_FNT1), nullptr);
}

TEST_F(GameAppTest, TheHintRampRunsOverTheCampaign)
{
    TestGameApp app(mFolder);
    app.Init();
    app.SetCurrentLevelNumber(35);
    EXPECT_FLOAT_EQ(app.GetLevelRampValue(0), 6.5f);
    EXPECT_FLOAT_EQ(app.GetLevelRampValue(35), 3.0f);
    EXPECT_FLOAT_EQ(app.GetLevelRampValue(50), 3.0f); // never below the start
    app.SetCurrentLevelNumber(70);
    EXPECT_FLOAT_EQ(app.GetLevelRampValue(0), 10.0f);
    // The profile's other difficulty ramps from 5 to 30 seconds.
    ASSERT_TRUE(app.GetPlayerData()->ChooseDifficulty(514));
    EXPECT_EQ(app.GetProfileDifficulty(), 514);
    app.SetCurrentLevelNumber(35);
    EXPECT_FLOAT_EQ(app.GetLevelRampValue(0), 17.5f);
    EXPECT_FLOAT_EQ(app.GetLevelRampValue(7), 15.0f);
}

TEST_F(GameAppTest, TheClockAdvancesOneFixedStepPerUpdate)
{
    TestGameApp app(mFolder);
    app.Init();
    EXPECT_EQ(app.GetUpdateClockMs(), 0u);
    for (int i = 0; i < 3; ++i)
        app.UpdateFrame();
    EXPECT_EQ(app.GetUpdateClockMs(), 30u);
    EXPECT_FLOAT_EQ(app.GetFrameTime(), 0.01f);
}

// The main window is destroyed and made anew on each switch between a window and full screen:
// every one of them carries the game's icon.
TEST_F(GameAppTest, EveryMainWindowOfAModeSwitchHasTheGamesIcon)
{
    TestGameApp app(mFolder);
    app.Init();
    const Quoll::Platform::ArgbImage* first = app.mHeadless->IconOf(app.mMainWindow);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->width, 32);
    const std::vector<uint32_t> icon = first->pixels;
    for (const bool windowed : {false, true})
    {
        const Quoll::Platform::WindowId before = app.mMainWindow;
        app.SwitchScreenMode(windowed, app.Is3DAccelerated());
        ASSERT_NE(app.mMainWindow, before) << "a new main window";
        const Quoll::Platform::ArgbImage* shown = app.mHeadless->IconOf(app.mMainWindow);
        ASSERT_NE(shown, nullptr) << (windowed ? "windowed" : "full screen");
        EXPECT_EQ(shown->pixels, icon);
    }
}

TEST_F(GameAppTest, TheLanguageFlagSwitchesTextsFrameworkMessagesAndTitle)
{
    TestGameApp app(mFolder);
    app.Init();
    EXPECT_EQ(app.GetArtLanguage(), 0);
    app.SetLanguageFlag(true);
    EXPECT_EQ(app.GetArtLanguage(), 1);
    EXPECT_EQ(app.GetLocalisation().GetLocaleName(), "de");
    EXPECT_EQ(app.mTitle, L"PetriGlow Saga (de)");
    EXPECT_EQ(app.GetString("FATAL_ERROR", L"none"), L"SCHWERER FEHLER");
}

TEST_F(GameAppTest, TheGameSettingsGoToTheStoreWithTheFrameworks)
{
    TestGameApp app(mFolder);
    app.Init();
    app.SetMusicEnabled(false);
    app.SetSoundEnabled(false);
    app.GetGameSettings().currentProfile = "Ann";
    app.WriteSettings();
    bool music = true, sound = true;
    std::string profile;
    EXPECT_TRUE(app.ReadRegBool("MusicEnabled", music));
    EXPECT_TRUE(app.ReadRegBool("SoundEnabled", sound));
    EXPECT_TRUE(app.ReadRegString("CurrentProfile", profile));
    EXPECT_FALSE(music);
    EXPECT_FALSE(sound);
    EXPECT_EQ(profile, "Ann");
    // With sound off nothing plays and nothing fails.
    app.PlaySound(SOUND_BUTTON_OVER, 1.0f, 0.0f);
    app.PlaySound(LevelSound::BacJump, 0.4f, 0.0f);
    app.PlayMusic(1, 0.001f);
    EXPECT_EQ(app.GetCurrentSong(), -1);
}

TEST_F(GameAppTest, MissingTextsEndTheStartWithTheFatalMessage)
{
    fs::remove(mFolder / "data/texts.xml");
    TestGameApp app(mFolder);
    try
    {
        app.Init();
        FAIL() << "the start went on";
    }
    catch (const ExitCalled& exit)
    {
        EXPECT_EQ(exit.code, 1);
    }
    ASSERT_EQ(app.mHeadless->MessageBoxes().size(), 1u);
    EXPECT_EQ(app.mHeadless->MessageBoxes()[0].caption, "FATAL ERROR");
    EXPECT_EQ(app.mHeadless->MessageBoxes()[0].text, "Cannot open file: data/texts.xml");
    EXPECT_EQ(app.mSteps.back(), "texts");
}

TEST_F(GameAppTest, ASoundPlaysOnceWithItsPanAndVolumeAndNotAgainWithinSixUpdates)
{
    ShellTest::WriteText(mFolder / "data/resources.xml",
                         std::string(ShellTest::MinimalManifest())
                             .insert(std::string(ShellTest::MinimalManifest()).find("</ResourceManifest>"),
                                     "  <Resources id=\"Sounds\">\n"
                                     "    <Sound id=\"SOUND_BUTTON_OVER\" path=\"data/sounds/button_over\"/>\n"
                                     "    <Sound id=\"SOUND_BAC_JUMP\" path=\"data/sounds/bac_jump\"/>\n"
                                     "  </Resources>\n"));
    TestGameApp app(mFolder);
    auto sounds = std::make_unique<ShellTest::FakeSoundManager>();
    ShellTest::FakeSoundManager& fake = *sounds;
    app.mSoundManager = std::move(sounds);
    app.Init();
    ASSERT_TRUE(app.LoadResourceGroup("Sounds"));
    const unsigned over = static_cast<unsigned>(GetSoundById(SOUND_BUTTON_OVER));
    const unsigned jump = static_cast<unsigned>(GetSoundById(SOUND_BAC_JUMP));

    app.PlaySound(SOUND_BUTTON_OVER, 0.5f, -0.5f);
    app.PlaySound(LevelSound::BacJump, 0.4f, 0.0f);
    for (int update = 1; update < 6; ++update)
    {
        app.UpdateFrame();
        app.PlaySound(SOUND_BUTTON_OVER, 1.0f, 0.0f); // too soon
    }
    app.UpdateFrame();
    app.PlaySound(SOUND_BUTTON_OVER, 1.0f, 1.0f);
    app.PlaySound(SOUND_ZOOM_IN, 1.0f, 0.0f); // not loaded: nothing
    ASSERT_EQ(fake.mPlayed.size(), 3u);
    EXPECT_EQ(fake.mPlayed[0].id, over);
    EXPECT_EQ(fake.mPlayed[0].pan, -150);
    EXPECT_DOUBLE_EQ(fake.mPlayed[0].volume, 0.5);
    EXPECT_EQ(fake.mPlayed[1].id, jump);
    EXPECT_NEAR(fake.mPlayed[1].volume, 0.4, 1e-6);
    EXPECT_EQ(fake.mPlayed[2].pan, 300);

    app.SetSoundEnabled(false);
    for (int update = 0; update < 10; ++update)
        app.UpdateFrame();
    app.PlaySound(SOUND_BUTTON_OVER, 1.0f, 0.0f);
    EXPECT_EQ(fake.mPlayed.size(), 3u);
}

TEST_F(GameAppTest, TheSceneAsksForImageIdsAndFrameAnimationsThroughTheApplication)
{
    TestGameApp app(mFolder);
    app.Init();
    SceneServices& scene = app;
    // The emotion animations are preloaded under their fixed ids (missing files give empty ones).
    EXPECT_EQ(app.GetFrameAnimationCache().GetCount(), 11u);
    EXPECT_NE(app.GetFrameAnimationCache().Find(457), nullptr);

    Quoll::Image* cursor = scene.GetImageById(IMAGE_CURSOR);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(scene.GetImageResourceId(cursor), IMAGE_CURSOR);
    EXPECT_EQ(scene.GetImageResourceId(nullptr), SceneServices::kNoImageId);
    EXPECT_EQ(scene.GetResourceIdByName("IMAGE_NOPE"), kResourceIdCount);
    EXPECT_EQ(scene.GetFrameAnimation(nullptr), nullptr);
    FrameAnimation* animation = scene.GetFrameAnimation(cursor);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(scene.GetFrameAnimation(cursor), animation); // cached
    EXPECT_EQ(scene.GetAppWidth(), 1024);
    EXPECT_EQ(scene.GetScreenRect().height, 768);
}

TEST(LerpInt, StepsTruncateTowardZero)
{
    EXPECT_EQ(LerpInt(128, 255, 0.5f), 191);
    EXPECT_EQ(LerpInt(10, 0, 0.55f), 5);
    EXPECT_EQ(LerpInt(3, 9, 0.0f), 3);
    EXPECT_EQ(LerpInt(3, 9, 1.0f), 9);
}

TEST_F(GameAppTest, TheLevelReadsTheCurrentProfileAndItsEventsReachTheAchievements)
{
    TestGameApp app(mFolder);
    app.Init();
    ASSERT_NE(app.GetPlayerData(), nullptr);
    EXPECT_EQ(app.GetCurrentProfileName(), PlayerData::kDefaultProfileName);
    EXPECT_EQ(app.GetProfileDifficulty(), 513);
    EXPECT_EQ(app.GetLevelScore(4), 0);
    app.GetPlayerData()->RecordLevelResult(4, 1234, 2);
    EXPECT_EQ(app.GetLevelScore(4), 1234);
    EXPECT_EQ(app.GetLevelMedal(4), 2);
    // The catalogue sees the progress through the same services.
    EXPECT_TRUE(app.GetLevelList().IsLevelCompleted(4));

    EXPECT_EQ(AchievementManager::Get(), &app.GetAchievements());
    for (int i = 0; i < 200 && app.GetAchievements().GetNewAchievements().empty(); ++i)
        app.OnAchievementEvent(AchievementEvent::HumanCloned);
    EXPECT_FALSE(app.GetAchievements().GetNewAchievements().empty());
}

TEST_F(GameAppTest, ShutdownSavesTheProfilesAndNamesTheCurrentOneInTheSettings)
{
    {
        TestGameApp app(mFolder);
        app.Init();
        ASSERT_EQ(app.GetPlayerData()->CreateProfile("Ann"), ProfileList::NameCheck::Ok);
        app.GetPlayerData()->RecordLevelResult(1, 500, 1);
        app.Shutdown();
        std::string profile;
        EXPECT_TRUE(app.ReadRegString("CurrentProfile", profile));
        EXPECT_EQ(profile, "Ann");
    }
    // The files are in the per-user data folder; a new start finds the profile and its result.
    TestGameApp again(mFolder);
    again.GetGameSettings().currentProfile = "Ann";
    again.Init();
    EXPECT_EQ(again.GetCurrentProfileName(), "Ann");
    EXPECT_EQ(again.GetLevelScore(1), 500);
}

TEST_F(GameAppTest, AFailedSaveIsToldOncePerSessionAndEachFileLoggedOnce)
{
    TestGameApp app(mFolder);
    app.Init();
    ASSERT_EQ(app.GetPlayerData()->CreateProfile("Ann"), ProfileList::NameCheck::Ok);
    // A folder where the profile's file belongs: no write of it can succeed.
    const fs::path folder = Quoll::GetAppDataFolder();
    const fs::path profile = folder / Profile::GetFileName("Ann");
    fs::remove(profile);
    fs::create_directory(profile);
    ASSERT_TRUE(GameLog::Get().Open((folder / GameLog::kFileName).string()));
    app.GetPlayerData()->RecordLevelResult(1, 500, 1);
    app.GetPlayerData()->RecordLevelResult(2, 600, 1);
    app.Shutdown();
    GameLog::Get().Close();

    const auto& boxes = app.mHeadless->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Not saved");
    // In lines short enough for the screen: the box draws them as given.
    const std::string told = "Your progress could not be saved in the folder " + profile.parent_path().string() + ".";
    EXPECT_EQ(boxes[0].text, Quoll::WStringToString(BreakIntoLines(Quoll::StringToWString(told))));
    std::ifstream in(folder / GameLog::kFileName);
    const std::string log{std::istreambuf_iterator<char>(in), {}};
    size_t lines = 0;
    for (size_t at = log.find("Cannot save " + profile.string()); at != std::string::npos;
         at = log.find("Cannot save " + profile.string(), at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << log;
}

// A screen builds itself inside a mouse dispatch, where no box may open: its failed groups are
// told at the next update, once for the attempt. The loading thread's failure has its fatal box
// only.
TEST_F(GameAppTest, AFailedGroupIsToldOnceAtTheNextUpdateAndTheLoadingThreadsOnlyByItsFatalBox)
{
    TestGameApp app(mFolder);
    app.Init();
    ShellTest::Journal journal;
    ShellTest::JournalState screen(app.GetStateHost(), "Screen", journal); // no group of its own
    app.GetStateHost().ChangeState(screen);
    app.UpdateFrame();
    const auto& boxes = app.mHeadless->MessageBoxes();
    const size_t before = boxes.size();
    EXPECT_FALSE(app.LoadResourceGroup("NoSuchGroup"));
    EXPECT_FALSE(app.LoadResourceGroup("NoSuchSounds"));
    EXPECT_EQ(boxes.size(), before);
    app.UpdateFrame();
    app.UpdateFrame();
    ASSERT_EQ(boxes.size(), before + 1);
    EXPECT_EQ(boxes.back().text, "Resource group not found: NoSuchGroup");

    app.QueueLoadingGroup("NoSuchGroup");
    app.LoadingThreadProc();
    app.UpdateFrame();
    EXPECT_THROW(app.LoadingThreadCompleted(), ExitCalled);
    EXPECT_EQ(boxes.size(), before + 2);
    screen.PopState();
}

TEST_F(GameAppTest, TheRootStateIsThereFromTheStartAndResumingItEndsTheGame)
{
    const fs::path logPath = mFolder / "states_log.txt";
    ASSERT_TRUE(GameLog::Get().Open(logPath.string()));
    TestGameApp app(mFolder);
    app.Init();
    StateHost& host = app.GetStateHost();
    // The root has pushed the game's first state, the branding splash.
    ASSERT_EQ(host.GetDepth(), 2u);
    EXPECT_EQ(host.GetTopState()->GetName(), "SplashState");

    ShellTest::Journal journal;
    ShellTest::JournalState screen(host, "Screen", journal);
    host.ChangeState(screen);
    app.UpdateFrame();
    app.LoadingThreadCompleted();
    EXPECT_EQ(journal, (ShellTest::Journal{"Screen.enter", "Screen.update", "Screen.loaded"}));
    EXPECT_FALSE(app.mShutdown);
    screen.PopState();
    EXPECT_TRUE(app.mShutdown);
    GameLog::Get().Close();

    std::vector<std::string> flow;
    std::ifstream file(logPath);
    for (std::string line; std::getline(file, line);)
        if (line.rfind("[FLOW] ", 0) == 0)
            flow.push_back(line);
    EXPECT_EQ(flow, (std::vector<std::string>{"[FLOW] 0 push RootState", "[FLOW] 0 push SplashState",
                                              "[FLOW] 0 change SplashState Screen", "[FLOW] 1 pop Screen"}));
}

TEST_F(GameAppTest, LevelSoundsMapToTheirIds)
{
    EXPECT_EQ(GameApp::SoundIdOf(LevelSound::BacSelect), SOUND_BAC_SELECT);
    EXPECT_EQ(GameApp::SoundIdOf(LevelSound::BonusMineHit), SOUND_BONUSMINE_HIT);
}
} // namespace

TEST_F(GameAppTest, ParticleSystemsRegisteredByTheTableSpawnByIdAndAreKilledTogether)
{
    fs::create_directories(mFolder / "data/particles");
    fs::copy_file(fs::path(QUOLL_SOURCE_DIR) / "fuzz/corpus/scene_psi/burst.psi", mFolder / "data/particles/burst.psi");
    ShellTest::WriteText(mFolder / "data/particles.txt", "# id file image\n"
                                                         "93 data/particles/burst.psi IMAGE_CURSOR\n"
                                                         "94 data/particles/missing.psi IMAGE_CURSOR\n"
                                                         "95 data/particles/burst.psi IMAGE_NOPE\n");
    TestGameApp app(mFolder);
    app.Init();
    ParticleManager* manager = app.GetParticleManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->IsRegistered(93));
    EXPECT_FALSE(manager->IsRegistered(94)) << "an unreadable file is logged, not registered";
    EXPECT_FALSE(manager->IsRegistered(95)) << "an unknown image name is a bad line";

    ParticleSystem* fireworks = app.SpawnParticleSystem(93, 100, 100);
    ASSERT_NE(fireworks, nullptr);
    EXPECT_EQ(app.SpawnParticleSystem(7, 0, 0), nullptr) << "not registered";
    EXPECT_TRUE(app.UpdateParticles(GameApp::kFrameTime));
    EXPECT_TRUE(manager->IsAlive(fireworks));
    app.KillAllParticles();
    EXPECT_FALSE(manager->IsAlive(fireworks));
    EXPECT_FALSE(app.UpdateParticles(GameApp::kFrameTime));
}
