#pragma once
// Bonus: the unit of a bonus lying on a cell (a mine to pick up, a teleport, a bomb or a laid
// mine), flying into the HUD's inventory when it is collected, circling in its slot there, and
// bursting when it is used or destroyed. Its cell view owns it on the board; the inventory holds
// it as a child once collected. Kind / 4 (1..4) picks its images and particle systems.
#include "game/play/BaseUnit.h"

#include <memory>

// angle += step, minus 2 pi once when it is then above 2 pi.
void AdvanceAngle(float& angle, float step);

class Bonus : public BaseUnit
{
public:
    enum State : int
    {
        Appearing = 0,
        OnBoard = 1,
        Flying = 2,
        InInventory = 3,
        Activated = 4,
        Bursting = 5,
        Gone = 6,
    };
    enum Kind : int
    {
        Mine = 4,
        Teleport = 8,
        Bomb = 12,
        LaidMine = 16,
    };
    static constexpr float kFlightTime = 1.0f;
    // Sideways bulge of the flight at half time, in pixels.
    static constexpr float kFlightBulge = 150.0f;

    explicit Bonus(PlayServices& services);
    ~Bonus() override;

    void Update(float dt) override;
    void Draw(Quoll::Graphics* g) override;
    void OnStateChanged() override;

    // Attach, then hidden until the delay is over.
    virtual void AttachWithDelay(int kind, int layer, float delay);
    // Bursts after the time plus up to 0.35 s; a second call keeps the first delay.
    void Activate(float time);
    // Flies from the start point (a screen point) to its slot, the unit's current position.
    void FlyToInventory(const FloatPoint& start);
    // Circles around its position from now on.
    void SettleInInventory();
    void SetScales(float main, float glow);

    [[nodiscard]] bool IsHidden() const { return mHidden; }
    [[nodiscard]] float GetTimer() const { return mTimer; }
    [[nodiscard]] float GetPulse() const { return mPulse; }
    [[nodiscard]] float GetMainScale() const { return mMainScale; }
    [[nodiscard]] float GetGlowScale() const { return mGlowScale; }
    [[nodiscard]] bool HasGlow() const { return mGlowA != nullptr || mGlowB != nullptr; }
    [[nodiscard]] const FloatPoint& GetRestPoint() const { return mRestPoint; }

private:
    [[nodiscard]] Quoll::Image* MainImage();
    void CreateMainSprite();
    void UpdateFlight(float dt);
    void Burst();
    void DrawScaled(Quoll::Graphics* g, Sprite& sprite, const FloatPoint& p, float scale, int alpha);

    bool mHidden = false;
    float mTimer = 0;
    float mAngle = 0;
    float mPulse = 0;
    float mGlowScale = 1.0f;
    float mMainScale = 1.0f;
    std::unique_ptr<Sprite> mGlowA;
    std::unique_ptr<Sprite> mGlowB;
    FloatPoint mFlightStart;
    FloatPoint mRestPoint;
};
