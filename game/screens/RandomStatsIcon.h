#pragma once
// RandomStatsIcon: one test tube of the level map's random-level panel. A tube rises into place
// with a spring, or bounces in when its episode has just been passed, lifts while the mouse is
// on it, and shows how full the player's random-level record of its episode is.
namespace Quoll
{
class Graphics;
class Image;
} // namespace Quoll
class PlayServices;

class RandomStatsIcon
{
public:
    enum class State
    {
        Absent,
        Rising,
        Shown,
        // About to bounce in (its episode was passed on the visit before).
        New,
        BouncingIn,
    };

    // The row of tubes: x = kLeft + kSpacing * index, resting at kRestY, hidden from kHiddenY.
    static constexpr int kLeft = 310;
    static constexpr int kSpacing = 36;
    static constexpr int kRestY = 660;
    static constexpr int kHiddenY = 703;

    // Places tube `index` (0..4) with its images and fill, rising after a delay or bouncing in.
    void Setup(int index, Quoll::Image* tube, Quoll::Image* fill, int fillPercent, bool isNew, float delay);
    // Runs the tube's animation; particle systems and sounds go through the services.
    void Update(float dt, PlayServices& services);
    void Draw(Quoll::Graphics* g) const;
    // Starts a small spring (the bubble effect).
    void Spring();

    [[nodiscard]] bool IsPresent() const { return mState != State::Absent && mImage != nullptr; }
    [[nodiscard]] bool Contains(int x, int y) const { return x >= mX && x < mX + mW && y >= mY && y < mY + mH; }
    // The fill image's offset below the tube's top for a fill percentage.
    [[nodiscard]] static int FillTopFor(int fillPercent);

    [[nodiscard]] int GetX() const { return mX; }
    [[nodiscard]] int GetY() const { return mY; }
    [[nodiscard]] int GetWidth() const { return mW; }
    [[nodiscard]] int GetHeight() const { return mH; }
    [[nodiscard]] int GetFillTop() const { return mFillTop; }
    [[nodiscard]] State GetState() const { return mState; }
    [[nodiscard]] float GetLift() const { return mLift; }

    bool mHovered = false;
    float mLift = 0;

private:
    void UpdateRising(float dt);
    void UpdateBouncing(float dt);
    void UpdateLift(float dt);

    int mX = 0;
    int mY = 0;
    int mW = 0;
    int mH = 0;
    float mTimer = 0;
    Quoll::Image* mImage = nullptr;
    Quoll::Image* mFillImage = nullptr;
    int mFillTop = 0;
    State mState = State::Absent;
};
