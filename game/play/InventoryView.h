#pragma once
// InventoryView: the human player's collected bonuses, up to three slots in a row.
#include "game/scene/VisualNode.h"

#include <array>
#include <cstddef>

struct LevelParams;
class Bonus;
class PlayServices;

class InventoryView : public VisualNode
{
public:
    static constexpr int kSlotCount = 3;
    static constexpr float kSlotSpacing = 50.0f;
    // The bonus-done particle systems of kinds 4, 8 and 12 follow this one.
    static constexpr int kFirstDoneParticle = 86;

    explicit InventoryView(PlayServices& services) : mServices(services) {}

    // A bonus per filled slot; the armed one settles into its inventory look.
    void Build(const LevelParams& params);
    // Slots whose kind changed lose their bonus (with its effect) and get the new one.
    void Refresh(const LevelParams& params);
    // Every occupied slot in its place.
    void Layout();
    // A bonus arriving from the board takes slot 0, replacing what was there.
    void PutInFirstSlot(Bonus* bonus);

    [[nodiscard]] Bonus* GetSlot(int index) const;
    [[nodiscard]] int GetArmedSlot() const { return mArmedSlot; }

private:
    [[nodiscard]] Bonus* MakeBonus(int kind);
    void Empty(size_t slot);

    PlayServices& mServices;
    std::array<Bonus*, kSlotCount> mSlots{};
    int mArmedSlot = -1;
};
