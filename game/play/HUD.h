#pragma once
// HUD: the play screen's head-up layer above the board: a portrait per player, the progress row
// of tubes, the inventory, rising numbers, and the quick menu that it owns and feeds. It holds no
// game rules: it learns the game's state from the level's parameter blocks that the scene passes
// on after every change, and from a few direct calls (whose turn, the winner, a collected bonus,
// who can move, the step-back counter).
#include "game/board/LevelParams.h"
#include "game/play/FloatingText.h"
#include "game/play/HudMenu.h"
#include "game/scene/VisualNode.h"

#include <array>
#include <memory>
#include <vector>

class Bonus;
class GameProgress;
class HudAvatar;
class InventoryView;
class PlayServices;

class HUD : public VisualNode
{
public:
    // The AI level that marks the boss's player.
    static constexpr int kBossAiLevel = 3;
    // A loss of this many of the human's cells in one change draws attention to the step back.
    static constexpr int kStepBackLoss = 4;
    static constexpr FloatPoint kProgressPosition{20, 50};
    static constexpr FloatPoint kInventoryPosition{272, 690};
    // Where the quick menu is told the pointer is while input is off: outside every menu area.
    static constexpr int kNowhere = 1000;

    explicit HUD(PlayServices& services);
    // Lets the menu go, then the floating texts and children.
    ~HUD() override;

    // The quick menu the HUD owns from now on (it survives rebuilds); null: none.
    void SetMenu(std::unique_ptr<HudMenu> menu);

    // Avatars, progress row and inventory for the block; players without cells leave at once.
    void Build(const LevelParams& params);
    // Every floating text, child and reference goes; no player is active.
    void Clear();
    // A new block: rebuilds on a new board or player count, flashes the step back on a big
    // loss, eliminates newly beaten players, then refreshes the row, inventory and menu.
    void SetLevelParams(const LevelParams& params);
    void SetActivePlayer(int index);
    void EliminatePlayer(int index, bool animated);
    void ShowWinner(int index);
    // A rising number: value, size level (0..5), delay in seconds, position in HUD coordinates.
    void ShowFloatingText(int value, int level, float delay, float x, float y);
    void ShowHeroAvatarState();
    void CollectBonus(Bonus* bonus);
    void SetPlayerCanMove(int player, bool canMove);
    void RefreshStepBackCounter(bool enabled);
    void ShowFastMenu();
    void HideFastMenu();
    void MouseMove(int x, int y);
    [[nodiscard]] bool IsFastMenuActive() const;
    void SetInputEnabled(bool enabled) { mInputEnabled = enabled; }
    // Any avatar is busy.
    [[nodiscard]] bool IsAnimating() const;

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;

    [[nodiscard]] HudAvatar* GetAvatar(int index) const;
    [[nodiscard]] HudAvatar* GetBossAvatar() const { return mBossAvatar; }
    [[nodiscard]] int GetActiveAvatar() const { return mActiveAvatar; }
    [[nodiscard]] const LevelParams& GetParams() const { return mParams; }
    [[nodiscard]] GameProgress* GetProgress() const { return mProgress; }
    [[nodiscard]] InventoryView* GetInventory() const { return mInventory; }
    [[nodiscard]] const std::vector<FloatingText>& GetFloatingTexts() const { return mFloatingTexts; }
    [[nodiscard]] bool IsInputEnabled() const { return mInputEnabled; }

private:
    PlayServices& mServices;
    HudAvatar* mBossAvatar = nullptr;
    std::array<HudAvatar*, 3> mAvatars{};
    int mActiveAvatar = -1;
    LevelParams mParams;
    GameProgress* mProgress = nullptr;
    InventoryView* mInventory = nullptr;
    std::unique_ptr<HudMenu> mMenu;
    bool mInputEnabled = true;
    std::vector<FloatingText> mFloatingTexts;
};
