// GameApp's play services on the generated data: the play groups (with the tutorial's own group
// for the names only the tutorial writes) load and hold every resource the play code names, the
// eight avatar busts load at their size, every preloaded emotion code has its animation, the
// level's look follows the level being played, and particle systems are reached through handles
// that refuse a system that is no longer theirs.
#include "tests/shell/playdata/PlayDataFixture.h"

#include "framework/app/AppWidgetManager.h"
#include "framework/widgets/Widget.h"
#include "game/play/Avatar.h"
#include "game/play/Tutorial.h"
#include "game/scene/ParticleSystem.h"
#include "game/shell/AchievementManager.h"
#include "game/shell/Profile.h"
#include "game/shell/ResourceIds.h"
#include "tests/shell/FakeSoundManager.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace
{
using PlayDataTest::PlayData;

// Every "IMAGE_", "SOUND_" and "FONT_" name written in the play code's sources, with the stems
// of the files that write it.
std::map<std::string, std::set<std::string>> NamesInPlayCode()
{
    std::map<std::string, std::set<std::string>> names;
    const std::regex quoted("\"((IMAGE|SOUND|FONT)_[A-Z0-9_]+)\"");
    for (const auto& entry : std::filesystem::directory_iterator(QUOLL_SOURCE_DIR "/game/play"))
    {
        std::ifstream file(entry.path());
        std::stringstream text;
        text << file.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator it(source.begin(), source.end(), quoted), end; it != end; ++it)
            names[(*it)[1]].insert(entry.path().stem().string());
    }
    return names;
}

// The tutorial's own group comes in with the tutorial: the names only the tutorial writes may
// wait for it.
TEST_F(PlayData, ThePlayGroupsHoldEveryResourceThePlayCodeNames)
{
    LoadPlayGroups();
    GamePlayServices& services = Services();
    const std::map<std::string, std::set<std::string>> names = NamesInPlayCode();
    ASSERT_GT(names.size(), 30u) << "the play code's names were not found";
    for (const bool tutorialLoaded : {false, true})
    {
        if (tutorialLoaded)
        {
            ASSERT_TRUE(services.LoadResourceGroup(Tutorial::kResourceGroup));
        }
        for (const auto& [written, files] : names)
        {
            if (!tutorialLoaded && files == std::set<std::string>{"Tutorial"})
                continue;
            std::string name = written;
            // A name written as a prefix ("IMAGE_EMO" + kind) stands for its first member.
            if (services.GetResourceIdByName(name) == kResourceIdCount)
                name += "1";
            const int id = services.GetResourceIdByName(name);
            ASSERT_LT(id, kResourceIdCount) << name << " is not in the id table";
            if (name.rfind("IMAGE_", 0) == 0)
                EXPECT_NE(services.GetImageById(id), nullptr) << name << " is not loaded";
            else if (name.rfind("FONT_", 0) == 0)
                EXPECT_NE(services.GetFont(name), nullptr) << name << " is not loaded";
            else
                EXPECT_GE(mApp->GetBindings().GetSound(id), 0) << name << " is not loaded";
        }
    }
    // The images the play code finds by computed ids: cell skins, bodies and births, bonuses.
    for (int skin = 1; skin <= 5; ++skin)
        EXPECT_NE(services.GetImageById(IMAGE_CELL1 + skin - 1), nullptr) << "skin " << skin;
    for (int kind = 0; kind < 8; ++kind)
    {
        EXPECT_NE(services.GetImageById(IMAGE_BODY_1 + kind), nullptr);
        EXPECT_NE(services.GetImageById(IMAGE_BORN_1 + kind), nullptr);
        EXPECT_NE(services.GetImageById(IMAGE_EMO1 + kind), nullptr);
    }
    EXPECT_EQ(services.GetFont("FONT_NOPE"), nullptr);
}

TEST_F(PlayData, TheEightBustsLoadAtTheirSizeWithTheirOverlays)
{
    LoadPlayGroups();
    for (int kind = 1; kind <= 8; ++kind)
    {
        Avatar avatar(Services());
        avatar.Load(kind);
        ASSERT_NE(avatar.GetMesh(), nullptr) << "body" << kind << ".mesh";
        EXPECT_EQ(avatar.GetRect(), Quoll::Rect(0, 0, 200, 180)) << kind;
        // The first update shows the resting face: the hero's eyes and mouth are overlays.
        avatar.Update(0.01f);
        EXPECT_EQ(avatar.GetEyeSprite().mImage != nullptr, kind == 1) << kind;
        avatar.ShowEmotion({0, EmotionEntry::Gesture, 0});
        EXPECT_NE(avatar.GetEyeSprite().mImage, nullptr) << "the blink of kind " << kind;
    }
}

TEST_F(PlayData, EveryPreloadedEmotionCodeHasItsAnimation)
{
    GamePlayServices& services = Services();
    const std::set<int> preloaded = {457, 458, 459, 460, 461, 462, 463, 467, 468, 469, 470};
    for (int code = kFirstEmotionCode - 1; code <= kLastEmotionCode + 1; ++code)
    {
        FrameAnimation* animation = services.GetEmotionAnimation(code);
        if (preloaded.count(code) == 0)
        {
            EXPECT_EQ(animation, nullptr) << code;
            continue;
        }
        ASSERT_NE(animation, nullptr) << code;
        EXPECT_GT(animation->GetFrameCount(), 1u) << code;
        EXPECT_GT(animation->GetDuration(), 0u) << code;
    }
}

TEST_F(PlayData, TheLevelsLookFollowsTheLevelBeingPlayed)
{
    GamePlayServices& services = Services();
    const AssetCfg& table = mApp->GetAssets();
    ASSERT_GE(table.GetRows().size(), 70u);
    // Two campaign levels of different episodes, from the asset table.
    for (int level : {3, 64})
    {
        services.SetCurrentLevel(level);
        EXPECT_EQ(services.GetCurrentLevel(), level);
        EXPECT_EQ(mApp->GetCurrentLevelNumber(), level);
        EXPECT_EQ(services.GetLevelBackground(), table.GetFoneIndex(level));
        EXPECT_EQ(services.GetCellSkin(), table.GetCellSkin(level));
        EXPECT_EQ(services.GetPlayerBacteria(1), table.GetHeroBacteria(level));
        EXPECT_EQ(services.GetPlayerBacteria(2), table.GetEnemyBacteria(level));
        EXPECT_EQ(services.GetPlayerBacteria(3), table.GetThirdBacteria(level));
    }
    EXPECT_NE(table.GetFoneIndex(3), table.GetFoneIndex(64)) << "pick levels that look different";

    // A random level brings its own look; the boss's player shows the boss's kind, here and in
    // the application's own answer.
    services.SetCurrentLevel(-2, {2, 7, 4, 1, 6, 9});
    services.SetPlayerAiLevel(3, kBossAiLevel);
    EXPECT_EQ(services.GetCurrentLevel(), -2);
    EXPECT_EQ(services.GetLevelBackground(), 7);
    EXPECT_EQ(services.GetCellSkin(), 4);
    EXPECT_EQ(services.GetPlayerBacteria(2), 6);
    EXPECT_EQ(services.GetPlayerBacteria(3), kBossBacteria);
    EXPECT_EQ(mApp->GetPlayerBacteria(3), kBossBacteria);
    EXPECT_EQ(services.GetPlayerBacteria(4), 1);

    // Once the application moves to another level its own row is forgotten, and so are the AI
    // levels of the last level.
    mApp->SetCurrentLevelNumber(3);
    EXPECT_EQ(services.GetLevelBackground(), table.GetFoneIndex(3));
    services.SetCurrentLevel(3);
    EXPECT_EQ(services.GetPlayerBacteria(3), table.GetThirdBacteria(3));
}

TEST_F(PlayData, ParticleHandlesReachTheirOwnSystemOnly)
{
    LoadPlayGroups();
    GamePlayServices& services = Services();
    constexpr int kBombExplosion = 84;
    EXPECT_TRUE(services.SpawnParticleSystem(4000, 0, 0).IsEmpty()) << "not registered";

    const ParticleRef first = services.SpawnParticleSystem(kBombExplosion, 100, 120);
    ASSERT_FALSE(first.IsEmpty());
    EXPECT_TRUE(services.IsParticleAlive(first));
    services.MoveParticleSystem(first, 300, 200);
    EXPECT_EQ(first.system->GetX(), 300.0f);
    EXPECT_EQ(first.system->GetY(), 200.0f);
    services.KillParticleSystem(first);
    EXPECT_FALSE(services.IsParticleAlive(first));

    // A handle whose serial is not the live system's is refused, even at the same address (the
    // manager may reuse a freed system's memory).
    const ParticleRef second = services.SpawnParticleSystem(kBombExplosion, 50, 60);
    ASSERT_FALSE(second.IsEmpty());
    EXPECT_NE(second.serial, first.serial);
    const ParticleRef stale{second.system, first.serial};
    EXPECT_FALSE(services.IsParticleAlive(stale));
    services.MoveParticleSystem(stale, 900, 900);
    services.StopParticleSystem(stale);
    services.KillParticleSystem(stale);
    EXPECT_TRUE(services.IsParticleAlive(second));
    EXPECT_EQ(second.system->GetX(), 50.0f);
    EXPECT_NE(second.system->GetAge(), ParticleSystem::kStopped);

    // A stopped system lives until its last particle has died, then the manager frees it.
    services.StopParticleSystem(second);
    EXPECT_TRUE(services.IsParticleAlive(second));
    for (int step = 0; step < 2000 && services.IsParticleAlive(second); ++step)
        services.UpdateParticles(GameApp::kFrameTime);
    EXPECT_FALSE(services.IsParticleAlive(second));
    EXPECT_FALSE(services.UpdateParticles(GameApp::kFrameTime));

    const ParticleRef third = services.SpawnParticleSystem(kBombExplosion, 0, 0);
    services.KillAllParticles();
    EXPECT_FALSE(services.IsParticleAlive(third));
}

// Sounds by name play through the application, and only while sounds are enabled.
TEST(PlayDataSound, NamedSoundsPlayWhileSoundsAreOn)
{
    PlayDataTest::DataGameApp app;
    auto sounds = std::make_unique<ShellTest::FakeSoundManager>();
    ShellTest::FakeSoundManager& fake = *sounds;
    app.mSoundManager = std::move(sounds);
    app.Init();
    GamePlayServices& services = app.GetPlayServices();
    ASSERT_TRUE(services.LoadResourceGroup("Sounds"));
    app.SetSoundEnabled(true);
    services.PlaySoundNamed("SOUND_BAC_POP", 0.5f, 1.0f);
    services.PlaySoundNamed("SOUND_NO_SUCH_SOUND");
    ASSERT_EQ(fake.mPlayed.size(), 1u);
    EXPECT_EQ(fake.mPlayed[0].id, static_cast<unsigned>(app.GetBindings().GetSound(SOUND_BAC_POP)));
    EXPECT_EQ(fake.mPlayed[0].pan, 300);
    EXPECT_DOUBLE_EQ(fake.mPlayed[0].volume, 0.5);

    app.SetSoundEnabled(false);
    for (int update = 0; update < 10; ++update)
        app.UpdateFrame();
    services.PlaySoundNamed("SOUND_BAC_POP");
    EXPECT_EQ(fake.mPlayed.size(), 1u);
}

TEST_F(PlayData, TextsMuteAndFocusAreTheApplications)
{
    GamePlayServices& services = Services();
    EXPECT_EQ(services.GetLocaleName(), mApp->GetLocalisation().GetLocaleName());
    EXPECT_EQ(services.GetText("UI_WINDOWTITLE"), mApp->GetLocalisation().GetText("UI_WINDOWTITLE"));
    EXPECT_EQ(services.GetText("NO_SUCH_KEY"), L"NO_SUCH_KEY");
    EXPECT_NE(services.GetFont("FONT_NUM"), nullptr);

    // The headless window starts without the focus; activating it gives the focus and lifts the
    // mute that losing it put on.
    mApp->ApplyActivation(true);
    EXPECT_TRUE(services.HasFocus());
    EXPECT_TRUE(services.IsActive());
    EXPECT_FALSE(services.IsMuted());
    services.SetMuted(true);
    services.SetMuted(true);
    EXPECT_TRUE(mApp->IsMuted());
    services.SetMuted(false);
    EXPECT_FALSE(services.IsMuted()) << "muting twice is one mute";

    mApp->ApplyActivation(false);
    EXPECT_FALSE(services.HasFocus());
    EXPECT_FALSE(services.IsActive());
    EXPECT_TRUE(services.IsMuted());
    mApp->ApplyActivation(true);
    EXPECT_TRUE(services.HasFocus());
    EXPECT_FALSE(services.IsMuted());
}
} // namespace

TEST_F(PlayData, TheAchievementPopupIsTheApplications)
{
    Profile profile{"Ann"};
    AchievementManager& achievements = mApp->GetAchievements();
    achievements.SetRecord(&profile.GetAchievements());
    int painted = 0;
    achievements.SetPopupPainter([&](Quoll::Graphics*, const AchievementPopup&) { ++painted; });
    EXPECT_FALSE(Services().IsAchievementPopupPending());

    achievements.OnEvent(13); // earns achievement 6 at once
    ASSERT_TRUE(Services().IsAchievementPopupPending());
    Services().DrawAchievementPopup(nullptr);
    EXPECT_EQ(painted, 1);
    // The caption shows once the popup has slid in.
    for (int i = 0; i < 55; ++i)
        Services().UpdateAchievementPopup(0.01f);
    EXPECT_TRUE(Services().IsAchievementPopupTextShown());
    achievements.SetRecord(nullptr);
}

namespace
{
// A widget whose destructor asks the game's services, as the map's intro does.
class AskingWidget : public Quoll::Widget
{
public:
    explicit AskingWidget(bool& askedWhileGameStood) : mAsked(askedWhileGameStood) {}
    ~AskingWidget() override
    {
        mAsked = gGameApp != nullptr;
        if (gGameApp != nullptr)
            (void)gGameApp->GetPlayServices().GetLocaleName();
    }

private:
    bool& mAsked;
};
} // namespace

TEST_F(PlayData, WidgetsAwaitingDeletionGoWhileTheGameStillStands)
{
    bool askedWhileGameStood = false;
    auto* widget = new AskingWidget(askedWhileGameStood);
    mApp->mWidgetManager->AddWidget(widget);
    Services().DeleteWidgetLater(widget);
    mApp.reset();
    EXPECT_TRUE(askedWhileGameStood);
}
