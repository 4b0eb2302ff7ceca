#include "game/app/LoadLevelState.h"

#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "game/app/GameApp.h"
#include "game/app/PlayLevelState.h"
#include "game/scene/ZoomSFX.h"
#include "game/screens/MapPoint.h"
#include "game/screens/ProgressWidget.h"
#include "framework/widgets/Widget.h"

#include <algorithm>

LoadLevelState::LoadLevelState(StateHost& host, GameApp& app, Next next)
    : WidgetLink(host, "LoadLevelState"), mApp(app), mNext(next),
      mGroups(std::begin(PlayLevelState::kPlayGroups), std::end(PlayLevelState::kPlayGroups))
{
}

LoadLevelState::~LoadLevelState() = default;

bool LoadLevelState::IsValidLevel(int level)
{
    return (level >= 1 && level <= kLastLevel) || (level <= -1 && level >= -PlayLevelState::kMaxEpisode);
}

int LoadLevelState::ZoomConfigFor(int level, const AssetCfg& assets)
{
    if (level < 0)
        return std::clamp(-level, 1, PlayLevelState::kMaxEpisode);
    if (level == kLastLevel)
        return kLastLevelZoom;
    return std::clamp(assets.GetEpisode(level), 1, PlayLevelState::kMaxEpisode);
}

void LoadLevelState::SetLevel(int level, FloatPoint centre, Quoll::Widget* map)
{
    mLevel = level;
    mContinueSavedGame = false;
    mCentre = centre;
    mPrevious = mNext.levelMap;
    mSnapshot.reset();
    if (map != nullptr)
        PaintMap(*map);
}

void LoadLevelState::SetContinueSavedGame(int level, GameState* previous)
{
    mLevel = level;
    mContinueSavedGame = true;
    // No map shows: the zoom starts from the middle of the screen.
    mCentre = {static_cast<float>(mApp.GetAppWidth()) * 0.5f, static_cast<float>(mApp.GetAppHeight()) * 0.5f};
    mPrevious = previous != nullptr ? previous : mNext.levelMap;
    mSnapshot.reset();
}

void LoadLevelState::PaintMap(Quoll::Widget& map)
{
    const int width = mApp.GetAppWidth();
    const int height = mApp.GetAppHeight();
    const std::vector<uint32_t> black(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    mSnapshot = std::make_unique<Quoll::MemoryImage>();
    mSnapshot->SetBits(black.data(), width, height);
    // The map leaves out what moves (sparkles, bulbs, particles, the selectors) in its snapshot.
    MapSnapshotMode = true;
    {
        Quoll::Graphics g(mSnapshot.get());
        map.Draw(&g);
    }
    MapSnapshotMode = false;
    mSnapshot->BitsChanged();
}

BaseWidget* LoadLevelState::CreateWidget()
{
    mBar = new Quoll::ProgressWidget;
    mBar->blackBackground = true;
    mBar->background = mSnapshot.get();
    return mBar;
}

std::vector<std::string> LoadLevelState::GroupsToLoad() const
{
    std::vector<std::string> groups = mGroups;
    // A level's background may come in a group of its own; every background is in "Fones" else.
    if (mLevel >= 1)
    {
        const std::string fone = "Fone" + std::to_string(mApp.GetAssets().GetFoneIndex(mLevel));
        if (mApp.mResourceManager->GetNumResources(fone) > 0)
            groups.push_back(fone);
    }
    std::erase_if(groups, [this](const std::string& group) {
        return mApp.mResourceManager->GetNumResources(group) > 0 && mApp.mResourceManager->IsGroupLoaded(group);
    });
    return groups;
}

void LoadLevelState::OnEnter()
{
    mDone = false;
    mLoader.reset();
    mLoaded = 0;
    mTotal = 0;
    Attach();
    if (!IsValidLevel(mLevel) || mNext.play == nullptr)
    {
        mApp.LogError("Refused to load level " + std::to_string(mLevel));
        HandBack();
        return;
    }
    mPending = GroupsToLoad();
    for (const std::string& group : mPending)
        mTotal += mApp.mResourceManager->GetNumResources(group);
    // Loaded back to front, so the next group is the list's last.
    std::reverse(mPending.begin(), mPending.end());
}

void LoadLevelState::OnExit()
{
    // A load left half way frees what it loaded.
    mLoader.reset();
    mPending.clear();
    Detach();
    mBar = nullptr;
    mSnapshot.reset();
}

float LoadLevelState::GetProgress() const
{
    if (mDone || mTotal == 0)
        return mDone ? 1.0f : 0.0f;
    return static_cast<float>(mLoaded) / static_cast<float>(mTotal);
}

void LoadLevelState::Update()
{
    if (mDone)
        return;
    if (!LoadStep())
    {
        // The failure was noted for the player (the resource manager's error, one box for this
        // load, shown at the next update over the screen the level was chosen from).
        HandBack();
        return;
    }
    if (mBar != nullptr)
        mBar->SetProgress(GetProgress());
    if (mPending.empty() && !mLoader)
        StartLevel();
}

bool LoadLevelState::LoadStep()
{
    while (!mLoader && !mPending.empty())
    {
        const std::string group = mPending.back();
        mLoader = mApp.mResourceManager->StartLoadResources(group);
        if (!mLoader)
            return Fail(group, mApp.mResourceManager->GetErrorText());
        if (mLoader->IsDone())
        {
            mLoader.reset();
            mPending.pop_back();
        }
    }
    if (!mLoader)
        return true;
    const std::string& group = mPending.back();
    if (!mLoader->LoadNext())
        return Fail(group, mApp.mResourceManager->GetErrorText());
    ++mLoaded;
    if (!mLoader->IsDone())
        return true;
    mLoader.reset();
    // Everything is in: this binds the group's ids (a failure is noted for the player there).
    const bool bound = mApp.LoadResourceGroup(group);
    mPending.pop_back();
    return bound;
}

bool LoadLevelState::Fail(const std::string& group, const std::string& reason)
{
    mApp.LogError("Cannot load level " + std::to_string(mLevel) + ": resource group " + group + ": " + reason);
    mApp.NoteLoadFailure(reason);
    return false;
}

void LoadLevelState::StartLevel()
{
    mDone = true;
    auto zoom = std::make_unique<Quoll::ZoomSFX>(mApp.GetPlayServices(), mZoomConfigs);
    zoom->mCentreX = mCentre.x;
    zoom->mCentreY = mCentre.y;
    zoom->Start(true, ZoomConfigFor(mLevel, mApp.GetAssets()));
    PlayLevelState& play = *mNext.play;
    if (mContinueSavedGame)
        play.SetContinueSavedGame(mPrevious);
    else
        play.SetLevel(mLevel, mPrevious);
    play.SetZoomEffect(std::move(zoom));
    ChangeState(play);
}

void LoadLevelState::HandBack()
{
    mDone = true;
    if (mPrevious != nullptr)
        ChangeState(*mPrevious);
    else
        PopState();
}
