#pragma once
// BonusImpl: the action of an armed bonus, waiting for the human's cell choice. The level owns
// at most one; clicks reach OnCellChosen until the action is ready, then the level applies it
// once and deletes it. The plain action becomes ready on the first click and does nothing.
// TeleportBonusImpl moves the bacterium that picked the teleport up to any free cell,
// MineBonusImpl lays a mine on a free cell, BombBonusImpl wipes out up to three picked cells.
#include <vector>

class Level;

class BonusImpl
{
public:
    BonusImpl() = default;
    BonusImpl(const BonusImpl&) = delete;
    BonusImpl& operator=(const BonusImpl&) = delete;
    virtual ~BonusImpl() = default;

    // A click while armed; cell -1 when no cell was hit.
    virtual void OnCellChosen(int cell) { (void)cell; mReady = true; }
    virtual void Apply() {}

    [[nodiscard]] bool IsReady() const { return mReady; }
    // The action was used elsewhere (the bomb on the boss's portrait).
    void MarkReady() { mReady = true; }

protected:
    bool mReady = false;
};

class TeleportBonusImpl : public BonusImpl
{
public:
    // Selects the bacterium on the level's bonus source cell and offers the free cells.
    explicit TeleportBonusImpl(Level& level);
    void OnCellChosen(int cell) override;
    void Apply() override;

private:
    Level& mLevel;
    int mTarget = -1;
};

class MineBonusImpl : public BonusImpl
{
public:
    // Offers the free cells.
    explicit MineBonusImpl(Level& level);
    void OnCellChosen(int cell) override;
    void Apply() override;

private:
    Level& mLevel;
    int mTarget = -1;
};

class BombBonusImpl : public BonusImpl
{
public:
    // Offers every existing cell; the scene picks up to three around the pointer.
    explicit BombBonusImpl(Level& level);
    void OnCellChosen(int cell) override;
    void Apply() override;

private:
    Level& mLevel;
    std::vector<int> mChosen;
};
