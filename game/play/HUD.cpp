#include "game/play/HUD.h"

#include "game/play/GameProgress.h"
#include "game/play/HudAvatar.h"
#include "game/play/InventoryView.h"
#include "game/scene/StringNode.h"
#include "game/shell/PlayServices.h"

#include <string>

HUD::HUD(PlayServices& services) : mServices(services)
{
    mParams.Reset();
}

HUD::~HUD()
{
    if (mMenu)
        mMenu->Detach();
    mMenu.reset();
    // The texts' nodes are children and go with them.
    mFloatingTexts.clear();
}

void HUD::SetMenu(std::unique_ptr<HudMenu> menu)
{
    if (mMenu)
        mMenu->Detach();
    mMenu = std::move(menu);
}

void HUD::Build(const LevelParams& params)
{
    mParams = params;
    for (int i = 0; i < params.playerCount && i < 3; ++i)
    {
        auto* avatar = new HudAvatar(mServices);
        AddChild(avatar);
        avatar->Init(i + 1);
        avatar->ResetToHome();
        mAvatars[static_cast<size_t>(i)] = avatar;
        if (params.playerAiLevels[i] == kBossAiLevel)
            mBossAvatar = avatar;
    }
    mProgress = new GameProgress(mServices);
    mProgress->Build(params);
    AddChild(mProgress);
    mProgress->SetPosition(kProgressPosition);
    mInventory = new InventoryView(mServices);
    mInventory->Build(params);
    AddChild(mInventory);
    mInventory->SetPosition(kInventoryPosition);
    for (int i = 0; i < params.playerCount && i < 3; ++i)
        if (params.playerCells[i] == 0)
            EliminatePlayer(i, false);
    if (mMenu)
        mMenu->SetLevelParams(params);
}

void HUD::Clear()
{
    mFloatingTexts.clear();
    DeleteChildren();
    mAvatars = {};
    mBossAvatar = nullptr;
    mProgress = nullptr;
    mInventory = nullptr;
    mActiveAvatar = -1;
}

void HUD::SetLevelParams(const LevelParams& params)
{
    if (params.playerCount != mParams.playerCount || params.cellCount != mParams.cellCount)
    {
        Clear();
        Build(params);
    }
    const LevelParams old = mParams;
    if (static_cast<int64_t>(old.playerCells[0]) - params.playerCells[0] >= kStepBackLoss && mMenu)
        mMenu->FlashStepBack();
    for (int i = 0; i < params.playerCount && i < 3; ++i)
    {
        const HudAvatar* avatar = mAvatars[static_cast<size_t>(i)];
        const bool beaten = avatar != nullptr && avatar == mBossAvatar
                                ? params.bossHitPoints == 0 && old.bossHitPoints > 0
                                : params.playerCells[i] == 0 && old.playerCells[i] > 0;
        if (beaten)
            EliminatePlayer(i, true);
    }
    mParams = params;
    if (mProgress != nullptr)
        mProgress->Refresh(params);
    if (mInventory != nullptr)
        mInventory->Refresh(params);
    if (mMenu)
        mMenu->SetLevelParams(params);
}

void HUD::SetActivePlayer(int index)
{
    if (index >= 3 || index == mActiveAvatar)
        return;
    if (HudAvatar* previous = GetAvatar(mActiveAvatar))
        previous->SetState(HudAvatar::Idle);
    HudAvatar* next = GetAvatar(index);
    if (next != nullptr)
    {
        next->SetState(HudAvatar::ToMove);
        // The first turn of a game comes forward slowly.
        if (mActiveAvatar == -1)
            next->StartBlend(0.5f);
    }
    mActiveAvatar = index;
}

void HUD::EliminatePlayer(int index, bool animated)
{
    HudAvatar* avatar = GetAvatar(index);
    if (avatar == nullptr)
        return;
    if (index == mActiveAvatar)
        mActiveAvatar = -1;
    if (avatar->GetState() != HudAvatar::Eliminated)
        avatar->SetState(HudAvatar::Eliminated);
    if (animated)
        avatar->PlayDieEffect();
    else
        avatar->ResetToHome();
    if (mProgress != nullptr)
        mProgress->EliminatePlayer(index);
}

void HUD::ShowWinner(int index)
{
    for (int i = 0; i < 3; ++i)
    {
        HudAvatar* avatar = GetAvatar(i);
        if (avatar == nullptr)
            continue;
        if (i == index)
            avatar->SetState(HudAvatar::Winner);
        else
            EliminatePlayer(i, true);
    }
    if (mProgress != nullptr)
        mProgress->ShowWinner(index);
}

void HUD::ShowFloatingText(int value, int level, float delay, float x, float y)
{
    auto* node = new StringNode();
    node->mFont = mServices.GetFont("FONT_FNT1");
    node->mText = std::to_wstring(value);
    node->mAlignment = TextAlignment::Centred;
    node->mShadowOffsetX = 2;
    node->mShadowOffsetY = 2;
    node->mShadowColor = Quoll::Color(0, 0, 0, 200);
    node->mVisible = false;
    AddChild(node);
    node->SetPosition({x, y});
    FloatingText text;
    text.time = -delay;
    text.startX = x;
    text.startY = y - 30.0f;
    text.node = node;
    text.redFactor = FloatingText::RedFactor(level);
    mFloatingTexts.push_back(text);
}

void HUD::ShowHeroAvatarState()
{
    if (HudAvatar* hero = GetAvatar(0))
        hero->SetState(HudAvatar::Selecting);
}

void HUD::CollectBonus(Bonus* bonus)
{
    if (mInventory != nullptr)
        mInventory->PutInFirstSlot(bonus);
}

void HUD::SetPlayerCanMove(int player, bool canMove)
{
    if (HudAvatar* avatar = GetAvatar(player - 1))
        avatar->SetNoMovesMark(!canMove);
}

void HUD::RefreshStepBackCounter(bool enabled)
{
    if (mMenu)
        mMenu->SetStepBackCount(mParams.stepBacksLeft, enabled);
}

void HUD::ShowFastMenu()
{
    if (mMenu)
        mMenu->Show();
}

void HUD::HideFastMenu()
{
    if (mMenu)
        mMenu->Hide();
}

void HUD::MouseMove(int x, int y)
{
    if (!mMenu)
        return;
    if (mInputEnabled)
        mMenu->MouseMove(x, y);
    else
        mMenu->MouseMove(kNowhere, kNowhere);
}

bool HUD::IsFastMenuActive() const
{
    return mMenu && mMenu->IsActive();
}

bool HUD::IsAnimating() const
{
    for (const HudAvatar* avatar : mAvatars)
        if (avatar != nullptr && avatar->IsBusy())
            return true;
    return false;
}

void HUD::Update(float dt)
{
    for (auto it = mFloatingTexts.begin(); it != mFloatingTexts.end();)
    {
        if (it->Update(dt))
            it = mFloatingTexts.erase(it);
        else
            ++it;
    }
    VisualNode::Update(dt);
    if (mMenu)
        mMenu->Update(dt);
}

void HUD::Draw(Quoll::Graphics* g)
{
    VisualNode::Draw(g);
    if (mMenu)
        mMenu->Draw(g);
}

HudAvatar* HUD::GetAvatar(int index) const
{
    return index >= 0 && index < 3 ? mAvatars[static_cast<size_t>(index)] : nullptr;
}
