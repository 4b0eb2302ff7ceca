// GameApp's construction and start-up steps.
#include "game/app/GameApp.h"

#include "framework/core/Common.h"
#include "framework/crash/CrashCatcher.h"
#include "framework/files/PakInterface.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "framework/resources/ResourceManager.h"
#include "framework/sound/SoundManagerLoader.h"
#include "framework/widgets/SysFont.h"
#include "framework/widgets/WidgetToolkit.h"
#include "game/app/LockedSoundLoader.h"
#include "game/ui/AchievementPopupView.h"
#include "game/app/GameStates.h"
#include "game/app/RootState.h"
#include "game/shell/PlayerDataLog.h"
#include "game/shell/GameLog.h"
#include "game/shell/SharedFonts.h"

#include <array>
#include <cmath>
#include <sstream>
#include <vector>

GameApp* gGameApp = nullptr;

namespace
{
// The songs the game plays by id, and their files.
struct SongFile
{
    int songId;
    const char* path;
};
constexpr SongFile kSongFiles[] = {
    {0, "data/music/menu.ogg"},
    {1, "data/music/map.ogg"},
    {2, "data/music/intro.ogg"},
    {3, "data/music/level.ogg"},
};

// The window icon: a glowing green cell on a transparent ground, drawn here so that the icon
// needs no file.
std::vector<uint32_t> MakeIconPixels(int size)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(size * size));
    const float centre = (static_cast<float>(size) - 1.0f) / 2.0f;
    for (int y = 0; y < size; ++y)
    {
        for (int x = 0; x < size; ++x)
        {
            const float distance = std::hypot(static_cast<float>(x) - centre, static_cast<float>(y) - centre) / centre;
            const float alpha = distance >= 1.0f ? 0.0f : 1.0f - distance * distance;
            const auto a = static_cast<uint32_t>(alpha * 255.0f);
            const auto g = static_cast<uint32_t>(160.0f + 95.0f * alpha);
            pixels[static_cast<size_t>(y * size + x)] = (a << 24) | (40u << 16) | (g << 8) | 60u;
        }
    }
    return pixels;
}
} // namespace

GameApp::GameApp()
{
    gGameApp = this;
    mCompanyName = "Nordwick";
    mProdName = "PetriGlowSaga";
    mRegKey = "Nordwick\\PetriGlowSaga";
    mTitle = L"PetriGlow Saga";
    mWidth = 1024;
    mHeight = 768;
    mBitsPerPixel = 32;
    mDemoPrefix = "petriglow";
    mDemoFileName = "petriglow.dmo";
    // The player's data reports what it cannot read on the game's logs; what cannot be written
    // is told to the player.
    InstallSaveReporting();
    // Fonts: system fonts for the framework's overlays, bitmap fonts for the manifest's "Font"
    // resources.
    SetSystemFontHook(&Quoll::SysFont::MakeForApplication);
    mResourceManager->SetFontFactory(&mFontFactory);
    // The widget toolkit: the real widget manager and the framework's dialogs.
    std::string fontError;
    mDialogFont = Quoll::SysFont::Create(this, "Tahoma", 10, 0, fontError);
    Quoll::InstallWidgetToolkit(*this, mDialogFont ? static_cast<const Quoll::Font*>(mDialogFont.get())
                                                   : &mFallbackDialogFont);
    // The game's widgets reach the application through their services.
    SetUiServices(&mUiServices);
}

GameApp::~GameApp()
{
    // The game's part of the shutdown runs while this is still a GameApp, and no loading
    // thread may run game code once the game's members go.
    Shutdown();
    WaitForLoadingThread();
    // The states' widgets leave the widget manager while the game's services still stand.
    mStateHost.ExitAll();
    // Widgets still waiting for deletion (the map's intro, a closing dialog) may reach the
    // game's services in their destructors: delete them now, not after the game's members.
    ProcessDeferredDeletes();
    mParticles.reset();
    RemoveSaveReporting();
    SetSharedFonts(nullptr);
    if (mResourceManager)
        mResourceManager->SetSoundLoader(nullptr);
    if (GetUiServices() == &mUiServices)
        SetUiServices(nullptr);
    if (gGameApp == this)
        gGameApp = nullptr;
}

void GameApp::Init()
{
    InstallCrashCatcher();
    SetPackPassword();
    InitFramework();
    if (mShutdown)
        return;
    LoadTexts();
    SetWindowIconAndTitle();
    LoadResourceManifest();
    LoadStartGroups();
    LoadPlayerData();
    InitLevelCatalogue();
    InitAchievements();
    LoadGameConfig();
    LoadCursorImages();
    RegisterParticleSystems();
    LoadMusicFiles();
    LoadEmotionAnimations();
    InitSpanTable();
    StartStateHost();
    LogInited();
}

void GameApp::InstallCrashCatcher()
{
    Quoll::CrashCatcher::Install();
}

void GameApp::SetPackPassword()
{
    Quoll::GetPakInterface()->SetPassword(kPakPassword);
}

void GameApp::InitFramework()
{
    QuollAppBase::Init();
    // Sounds load on the loading thread while the main thread plays them: the resource manager
    // loads them under the application's lock.
    if (mSoundManager)
    {
        mSoundLoaderInner = std::make_unique<Quoll::SoundManagerLoader>(*mSoundManager);
        mLockedSoundLoader = std::make_unique<LockedSoundLoader>(*mSoundLoaderInner, mCritSect);
        mResourceManager->SetSoundLoader(mLockedSoundLoader.get());
    }
}

void GameApp::LoadTexts()
{
    if (!mLocalisation.Load(Localisation::kFileName))
        FailStartup(mLocalisation.GetErrorText());
    ApplyLanguage();
}

void GameApp::ApplyLanguage()
{
    std::vector<int> ids;
    for (const Localisation::Locale& locale : mLocalisation.GetLocales())
        ids.push_back(locale.id);
    mGameSettings.ChooseLanguages(ids);
    mLocalisation.SetLocale(mGameSettings.GetCurrentLanguage());
    for (const auto& [id, text] : mLocalisation.GetFrameworkTexts())
        SetString(id, text);
}

// The icon goes to the main window's class, so that the window re-created on a mode switch has
// it too.
void GameApp::SetWindowIconAndTitle()
{
    if (GetWindowSystem() != nullptr)
    {
        constexpr int kIconSize = 32;
        const std::vector<uint32_t> pixels = MakeIconPixels(kIconSize);
        Quoll::Platform::ArgbImageView icon;
        icon.pixels = pixels.data();
        icon.width = kIconSize;
        icon.height = kIconSize;
        icon.pitchBytes = kIconSize * 4;
        GetWindowSystem()->SetClassIcon(kMainWindowClass, icon);
    }
    UpdateWindowTitle();
}

void GameApp::LoadResourceManifest()
{
    if (!mResourceManager->ParseResourcesFile(kManifestFile))
        FailStartup(mResourceManager->GetErrorText());
}

void GameApp::LoadStartGroups()
{
    for (const char* group : {"Fonts", "PreInterface"})
    {
        std::string error;
        if (!LoadAndBindGroup(group, error))
            FailStartup(error);
    }
    SetSharedFonts(mBindings.GetFont(FONT_FNT1));
    // The groups every screen after the title draws with are loaded by the loading thread while
    // the splash and the title show (a data set without one leaves it out).
    for (const char* group : kBackgroundGroups)
        if (mResourceManager->GetNumResources(group) > 0)
            QueueLoadingGroup(group);
}

void GameApp::LoadPlayerData()
{
    const std::string folder = Quoll::GetAppDataFolder();
    SetSaveReportCoverage(Quoll::ToSystemPath(folder));
    mPlayerFiles = std::make_unique<AppFileStore>(*this, folder);
    mPlayerData = std::make_unique<PlayerData>(*mPlayerFiles, &mAchievements);
    mPlayerData->Load(mGameSettings.currentProfile);
    mGameSettings.currentProfile = mPlayerData->GetCurrentName();
}

void GameApp::InitLevelCatalogue()
{
    mLevelList.Init();
}

void GameApp::InitAchievements()
{
    // The manager works on the current profile's record, which the player's data attached when
    // it made the profile current; its popup draws through the interface's achievement view.
    InstallAchievementPopup(mAchievements, mUiServices, [this] {
        float x = 0;
        float y = 0;
        GetMousePos(x, y);
        return FloatPoint{x, y};
    });
}

void GameApp::LoadGameConfig()
{
    mAssets.Load([this](const std::string& line) { LogError(line); });
}

void GameApp::LoadCursorImages()
{
    // Cursor numbers 0 (pointer), 1 (hand) and 2 (dragging) draw these images when custom
    // cursors are on; a missing one leaves the system cursor.
    constexpr std::array<int, 3> kCursorIds = {IMAGE_CURSOR, IMAGE_CURSOR_HAND, IMAGE_CURSOR_DRAG};
    for (size_t number = 0; number < kCursorIds.size(); ++number)
    {
        Quoll::Image* image = mBindings.GetImage(kCursorIds[number]);
        if (image == nullptr)
            LogRecord(GetWarningLog()) << "Cursor image not loaded: " << kResourceIdTable[kCursorIds[number]].name;
        SetCursorImage(static_cast<int>(number), image);
    }
}

// The registry's table, "data/particles.txt": one system a line, "<id> <.psi file> <IMAGE_ name>";
// '#' starts a comment. A missing table or a line that does not read is logged and skipped.
void GameApp::RegisterParticleSystems()
{
    mParticles = std::make_unique<ParticleManager>(*this, kParticleStepsPerSecond);
    Quoll::Buffer table;
    if (!ReadBufferFromFile(kParticleTable, table))
    {
        LogRecord(GetWarningLog()) << "No particle systems: cannot read " << kParticleTable;
        return;
    }
    std::istringstream lines(std::string(reinterpret_cast<const char*>(table.GetDataPtr()), table.GetDataSize()));
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        int id = 0;
        std::string file, image;
        if (!(words >> id))
            continue; // blank or comment
        const int imageId = (words >> file >> image) ? GetResourceIdByName(image) : RESOURCE_NONE;
        if (!ResourceBindings::IsValidId(imageId))
            LogRecord(GetErrorLog()) << kParticleTable << " line " << number << ": expected <id> <file> <IMAGE_ name>";
        else
            RegisterParticleSystem(file, id, imageId);
    }
}

bool GameApp::RegisterParticleSystem(const std::string& fileName, int id, int imageId)
{
    return mParticles && mParticles->Register(fileName, id, imageId);
}

ParticleSystem* GameApp::SpawnParticleSystem(int id, float x, float y)
{
    return mParticles ? mParticles->Spawn(id, x, y) : nullptr;
}

bool GameApp::UpdateParticles(float dt)
{
    return mParticles && mParticles->Update(dt);
}

void GameApp::DrawParticles(Quoll::Graphics* g)
{
    if (mParticles)
        mParticles->Render(g);
}

void GameApp::KillAllParticles()
{
    if (mParticles)
        mParticles->KillAll();
}

void GameApp::LoadMusicFiles()
{
    if (!mMusicInterface)
        return;
    for (const SongFile& song : kSongFiles)
    {
        if (!FileExists(song.path))
            LogRecord(GetWarningLog()) << "Music file not found: " << song.path;
        else if (!mMusicInterface->LoadMusic(song.songId, song.path))
            LogRecord(GetWarningLog()) << "Cannot load music file: " << song.path;
    }
}

void GameApp::LoadEmotionAnimations()
{
    mAnimations.LoadEmotionAnimations();
}

void GameApp::InitSpanTable()
{
    Quoll::InitTriangleSpanTable();
}

void GameApp::StartStateHost()
{
    // Resuming the root means every screen has gone: the game ends.
    mRootState = std::make_unique<RootState>(mStateHost, [this] { Shutdown(); });
    // The branding splash first, then the title with the loading bar, then the main menu.
    mGameStates = std::make_unique<GameStates>(*this, mStateHost, mShellActions, mMenuServices);
    mRootState->SetFirstState(&mGameStates->First());
    mStateHost.PushState(*mRootState);
}

void GameApp::LogInited()
{
    LogRecord(GetAppLog()) << "Game inited. AppDataFolder: " << Quoll::GetAppDataFolder();
}

void GameApp::FailStartup(const std::string& message)
{
    LogRecord(GetErrorLog()) << message;
    // A pack that exists but could not be mounted is the likely cause: the player hears it too.
    PopupA(mPackMountError.empty() ? message : message + "\r\n" + mPackMountError);
    DoExit(1);
}
