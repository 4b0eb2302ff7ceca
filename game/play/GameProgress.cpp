#include "game/play/GameProgress.h"

#include "game/board/LevelParams.h"
#include "game/play/Bacteria.h"
#include "game/play/ProbirkaNode.h"

void GameProgress::Build(const LevelParams& params)
{
    Clear();
    for (int i = 0; i < params.playerCount && i < 3; ++i)
    {
        auto* tube = new ProbirkaNode(mServices);
        tube->Init(params.cellCount, mServices.GetPlayerBacteria(i + 1));
        tube->SetPosition({kTubeSpacing * static_cast<float>(i), 0});
        tube->SetLevel(params.playerCells[i]);
        auto* bacterium = new Bacteria(mServices);
        bacterium->AttachWithDelay(i + 1, BaseUnit::kNoLayer, 0.0f);
        bacterium->SetState(kStandingState);
        tube->AddChild(bacterium);
        bacterium->SetPosition(kBacteriumOffset);
        AddChild(tube);
        mEntries[static_cast<size_t>(i)] = {tube, bacterium};
    }
}

void GameProgress::Clear()
{
    DeleteChildren();
    mEntries = {};
}

void GameProgress::Refresh(const LevelParams& params)
{
    for (size_t i = 0; i < mEntries.size(); ++i)
    {
        Entry& entry = mEntries[i];
        if (entry.tube == nullptr)
            continue;
        const int cells = params.playerCells[i];
        entry.tube->SetLevel(cells);
        if (cells != 0 && entry.bacterium->GetState() == kEliminatedState)
        {
            entry.bacterium->SetState(kStandingState);
            entry.bacterium->mColor.a = 255;
        }
    }
}

void GameProgress::EliminatePlayer(int index)
{
    if (!Valid(index) || mEntries[static_cast<size_t>(index)].bacterium == nullptr)
        return;
    Bacteria* bacterium = mEntries[static_cast<size_t>(index)].bacterium;
    bacterium->mColor.a = kEliminatedAlpha;
    bacterium->SetState(kEliminatedState);
}

void GameProgress::ShowWinner(int index)
{
    if (!Valid(index) || mEntries[static_cast<size_t>(index)].tube == nullptr)
        return;
    mEntries[static_cast<size_t>(index)].tube->SetCelebrating(true);
    mEntries[static_cast<size_t>(index)].bacterium->SetState(Bacteria::Idle);
}

ProbirkaNode* GameProgress::GetTube(int index) const
{
    return Valid(index) ? mEntries[static_cast<size_t>(index)].tube : nullptr;
}

Bacteria* GameProgress::GetBacterium(int index) const
{
    return Valid(index) ? mEntries[static_cast<size_t>(index)].bacterium : nullptr;
}
