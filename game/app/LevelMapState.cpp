#include "game/app/LevelMapState.h"

#include "framework/app/QuollAppBase.h"
#include "game/app/ComicsState.h"
#include "game/app/ShellActions.h"
#include "game/level/LevelList.h"
#include "game/screens/LevelMapServices.h"
#include "game/screens/MapPoint.h"
#include "game/shell/FlowLog.h"
#include "game/shell/GameLog.h"
#include "game/shell/PlayerData.h"
#include "game/shell/Profile.h"
#include "game/ui/UiServices.h"

#include <cstdlib>
#include <string_view>

Quoll::LevelMap* LevelMapState::GetMap() const
{
    return dynamic_cast<Quoll::LevelMap*>(GetWidget());
}

BaseWidget* LevelMapState::CreateWidget()
{
    auto* map = new Quoll::LevelMap(mServices);
    map->SetIntroFactory(mIntroFactory);
    map->SetIntroEndedHandler([this] { OnIntroEnded(); });
    return map;
}

void LevelMapState::OnEnter()
{
    EnterMap();
}

void LevelMapState::EnterMap()
{
    mFinalComicOffered = false;
    mAwaitingComic = false;
    Attach();
    Quoll::LevelMap* map = GetMap();
    if (map == nullptr) return;
    if (mServices.GetCurrentSong() != kMapSong) mServices.PlayMusic(kMapSong, kMusicFade);
    mServices.GetLevelList().BuildLevelTable();
    PlayerData* data = mActions.GetPlayerData();
    const bool intro = data != nullptr && !data->GetCurrentProfile().HasSeen(ProfileSeen::MapIntro);
    if (!map->BuildMap(intro))
    {
        Ui().LogError(std::string("Cannot build the level map: ") + MapPointRoot::kCoordsFile);
        if (mScreens.mainMenu != nullptr) ChangeState(*mScreens.mainMenu);
        return;
    }
    map->FocusOnGroup(mFocusLevel, mFocusGroup);
    mFocusLevel = -1;
    mFocusGroup = -1;
    mServices.OnAchievementEvent(kMapEnteredEvent);
}

void LevelMapState::OnIntroEnded()
{
    PlayerData* data = mActions.GetPlayerData();
    if (data == nullptr) return;
    data->GetCurrentProfile().MarkSeen(ProfileSeen::MapIntro);
    data->SaveCurrentProfile();
}

void LevelMapState::OnPause()
{
    if (Quoll::LevelMap* map = GetMap()) map->SetPaused(true);
}

void LevelMapState::OnResume()
{
    if (mAwaitingComic) TakeFinalComic();
    if (Quoll::LevelMap* map = GetMap()) map->Reactivate();
}

bool LevelMapState::ShouldShowFinalComic() const
{
    const PlayerData* data = mActions.GetPlayerData();
    return mScreens.finalComic != nullptr && !mFinalComicOffered && data != nullptr &&
           !data->GetCurrentProfile().HasSeen(ProfileSeen::FinalComic) &&
           mServices.GetLevelList().IsAllComplete();
}

void LevelMapState::TakeFinalComic()
{
    mAwaitingComic = false;
    PlayerData* data = mActions.GetPlayerData();
    if (!mScreens.finalComic->WasFinished() || data == nullptr) return;
    data->GetCurrentProfile().MarkSeen(ProfileSeen::FinalComic);
    data->SaveCurrentProfile();
}

void LevelMapState::Update()
{
    Quoll::LevelMap* map = GetMap();
    if (map == nullptr || map->IsBusy()) return;
    if (ShouldShowFinalComic())
    {
        mFinalComicOffered = true;
        mAwaitingComic = true;
        mScreens.finalComic->SetComic(true);
        PushState(*mScreens.finalComic);
        return;
    }
    if (mQueued.empty()) return;
    GameState* next = mQueued.front();
    mQueued.pop_front();
    PushState(*next);
}

void LevelMapState::OnCommand(int command, int argument)
{
    Quoll::LevelMap* map = GetMap();
    switch (command)
    {
    case Quoll::LevelMap::kMainMenu:
        if (mScreens.mainMenu != nullptr) ChangeState(*mScreens.mainMenu);
        break;
    case Quoll::LevelMap::kStart:
        StartIfOpen(mServices.GetLevelList().GetNextLevel());
        break;
    case Quoll::LevelMap::kStartLevel:
        if (IsLevelEditorOn() && mServices.IsKeyDown(kKeyControl) && argument >= 1 &&
            argument <= mServices.GetLevelList().GetFirstField())
            mEditLevel(argument);
        else
            StartIfOpen(argument);
        break;
    case Quoll::LevelMap::kTransitionDone:
    {
        mActions.PlaySoundNamed("SOUND_LEVEL_CLICK");
        const MapPoint* point =
            map != nullptr ? map->GetGroupPoint(LevelList::GetLevelGroup(argument)) : nullptr;
        StartLevel(argument, point != nullptr ? point->GetPosition() : FloatPoint{});
        break;
    }
    case Quoll::LevelMap::kAchievements:
        if (mScreens.achievements != nullptr)
            PushState(*mScreens.achievements);
        else
            Ui().LogWarning("Level map: no achievements screen");
        break;
    case Quoll::LevelMap::kRandomLevel:
        mActions.PlaySoundNamed("SOUND_RNDLEVEL_CLICK");
        StartLevel(-argument,
                   map != nullptr ? map->GetRandomStatsIconCentre(argument - 1) : FloatPoint{});
        break;
    default:
        break;
    }
}

bool LevelMapState::IsLevelEditorOn() const
{
    const char* wanted = std::getenv("QUOLL_LEVEL_EDITOR");
    return Quoll::kDeveloperBuild && mEditLevel && wanted != nullptr && std::string_view(wanted) == "1";
}

void LevelMapState::StartIfOpen(int level)
{
    Quoll::LevelMap* map = GetMap();
    const LevelList& list = mServices.GetLevelList();
    if (map != nullptr && level >= 1 && level <= list.GetFirstField() && list.IsLevelOpen(level))
        map->StartLevel(level);
}

void LevelMapState::StartLevel(int level, FloatPoint centre)
{
    if (mScreens.startLevel)
    {
        mScreens.startLevel(level, centre);
        return;
    }
    // The level-loading and play states are not part of the game yet: say so and show the map
    // afresh, so that the player can go on choosing.
    LogRecord(GameLog::Get().GetLogger(FlowLog::kLoggerName))
        << "level map: level " << level << " chosen; no level state to start it, the map stays";
    Detach();
    EnterMap();
}
