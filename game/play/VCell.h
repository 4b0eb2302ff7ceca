#pragma once
// VCell: the view of one of the 61 places of the board. It draws the cell in the level's cell
// skin with its display state (selected, move targets, hovered, bomb area) as a pulsing,
// wobbling overlay, owns the bacterium and bonus unit standing on it and carries them along when
// it moves, deletes them when they die, and runs a bomb's countdown. During the board's show and
// hide it follows one of five paths around the gather point. Its value is the cell kind (0: no
// cell, drawn as nothing).
#include "game/play/BaseUnit.h"

class Bacteria;
class Bonus;

// The cell strip of the level's skin for a cell kind (1..3) and the kind's cel; null for kind 0
// and for kinds outside 1..3 (with a warning), and when the image is not loaded.
[[nodiscard]] Quoll::Image* GetCellSkinImage(PlayServices& services, int kind, int& cel);

// Advances the overlay pulse shared by every cell view; the board view calls it once per update.
void UpdateCellPulse(float dt);
// The current overlay alpha of the jump-target pulse.
[[nodiscard]] int GetCellPulseAlpha();

class VCell : public BaseUnit
{
public:
    enum State : int
    {
        Normal = 0,
        Highlighted = 1,
        CloneTarget = 2,
        JumpTarget = 3,
        HoveredTarget = 4,
        Hovered = 5,
        BombArea = 6,
        HoveredBombArea = 7,
    };
    static constexpr int kStateCount = 8;
    static constexpr float kNoBomb = -1.0f;
    // Transition paths, chosen modulo this count.
    static constexpr int kPathCount = 5;

    explicit VCell(PlayServices& services) : BaseUnit(services) {}
    // The units are not deleted here: they are children of the units' layer, which goes first.
    ~VCell() override = default;

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;
    // Moves the units along.
    void SetPosition(const FloatPoint& position) override;
    // Attach, then home := position.
    void Attach(int value, int layer) override;
    void OnStateChanged() override;

    // The old unit is deleted; the new one (or none) stands on the cell.
    void SetBacteria(Bacteria* bacterium);
    void SetBonus(Bonus* bonus);
    // Hands the unit over and forgets it; the bacterium stays in its layer, the bonus leaves it.
    [[nodiscard]] Bacteria* TakeBacteria();
    [[nodiscard]] Bonus* TakeBonus();
    [[nodiscard]] Bacteria* GetBacteria() const { return mBacteria; }
    [[nodiscard]] Bonus* GetBonus() const { return mBonus; }

    // World position plus half the cell cel, or plus (34, 33) without a sprite.
    [[nodiscard]] FloatPoint GetCentre() const;
    // The cell cel's size; (0, 0) without a sprite.
    [[nodiscard]] FloatPoint GetSpriteSize() const;
    // The cell sprite alone, in the view's colour.
    void DrawSprite(Quoll::Graphics* g);
    // Places the view on a transition path at t (0 = home, 1 = far out).
    void ApplyTransition(int path, float t);
    // The offset from home of a path at t; (0, 0) at t = 0.
    [[nodiscard]] FloatPoint GetTransitionOffset(int path, float t) const;

    void SetCellId(int id) { mCellId = id; }
    [[nodiscard]] int GetCellId() const { return mCellId; }
    [[nodiscard]] const FloatPoint& GetHome() const { return mHome; }
    // Starts (seconds >= 0) or cancels (below 0) a bomb's countdown.
    void SetBombTimer(float seconds) { mBombTimer = seconds; }
    [[nodiscard]] float GetBombTimer() const { return mBombTimer; }
    // The wobble of a display state at the current phases.
    [[nodiscard]] FloatPoint GetWobble() const;

private:
    void DrawOverlay(Quoll::Graphics* g, const FloatPoint& at);
    void RemoveDeadUnits();
    void UpdateBomb(float dt);

    float mBombTimer = kNoBomb;
    int mCellId = -1;
    Bacteria* mBacteria = nullptr;
    Bonus* mBonus = nullptr;
    FloatPoint mHome;
};
