#include "game/play/InventoryView.h"

#include "game/board/LevelParams.h"
#include "game/play/Bonus.h"

namespace
{
// A unit's centre from its world position, as the units compute it.
constexpr FloatPoint kUnitCentre{34, 33};
} // namespace

Bonus* InventoryView::MakeBonus(int kind)
{
    auto* bonus = new Bonus(mServices);
    bonus->AttachWithDelay(kind, BaseUnit::kNoLayer, 0.0f);
    AddChild(bonus);
    return bonus;
}

void InventoryView::Empty(size_t slot)
{
    if (mSlots[slot] == nullptr)
        return;
    RemoveChild(mSlots[slot]);
    delete mSlots[slot];
    mSlots[slot] = nullptr;
}

void InventoryView::Build(const LevelParams& params)
{
    for (size_t i = 0; i < mSlots.size(); ++i)
    {
        if (params.inventory[i] == 0)
            continue;
        Bonus* bonus = MakeBonus(params.inventory[i]);
        Empty(i);
        mSlots[i] = bonus;
    }
    Layout();
    Refresh(params);
    if (Bonus* armed = GetSlot(mArmedSlot))
        armed->SettleInInventory();
}

void InventoryView::Refresh(const LevelParams& params)
{
    for (size_t i = 0; i < mSlots.size(); ++i)
    {
        const int current = mSlots[i] != nullptr ? mSlots[i]->GetValue() : 0;
        const int wanted = params.inventory[i];
        if (wanted == current)
            continue;
        if (mSlots[i] != nullptr)
        {
            const FloatPoint at = mSlots[i]->GetWorldPosition();
            mServices.SpawnParticleSystem(kFirstDoneParticle + (current - 4) / 4, at.x + kUnitCentre.x,
                                          at.y + kUnitCentre.y);
            Empty(i);
        }
        if (wanted != 0)
        {
            mSlots[i] = MakeBonus(wanted);
            Layout();
        }
    }
    mArmedSlot = params.armedSlot;
}

void InventoryView::Layout()
{
    for (size_t i = 0; i < mSlots.size(); ++i)
        if (mSlots[i] != nullptr)
            mSlots[i]->SetPosition({kSlotSpacing * static_cast<float>(i), -50.0f});
}

void InventoryView::PutInFirstSlot(Bonus* bonus)
{
    Empty(0);
    mSlots[0] = bonus;
    if (bonus != nullptr)
        AddChild(bonus);
    Layout();
}

Bonus* InventoryView::GetSlot(int index) const
{
    return index >= 0 && index < kSlotCount ? mSlots[static_cast<size_t>(index)] : nullptr;
}
