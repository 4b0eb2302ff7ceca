#pragma once
// HiddenObject: one faint enemy bacterium drifting across the dish of the play screen from one
// side of its rim to another, so that it never shows over the HUD or beside the dish. It shows, barely, only during a random stretch of its path; a click while it shows
// catches it: it flashes twice while its bacterium pops (no capturer). A run that ends (path
// done or flash over) is restarted or removed by its manager (HOManager).
//
// The path runs from progress 0 at the start point to 1 at the end point; a negative progress
// places the object beyond the start point, so it comes in later.
#include "game/scene/VisualNode.h"

class Bacteria;
class PlayServices;

class HiddenObject : public VisualNode
{
public:
    enum class State : int
    {
        NewRun = 0,   // the next update reads the picture size
        Unseen = 1,   // drifting outside the visible stretch
        Visible = 2,  // drifting inside it; can be caught
        Caught = 3,   // flashing while the bacterium pops
        Finished = 4, // the manager restarts or removes it
    };

    // Sides of the dish's rim where a path's points lie: each a quarter of the circle.
    enum Side : int
    {
        Left = 0,
        Top = 1,
        Right = 2,
        Bottom = 3,
    };

    // The highest alpha fraction inside the visible stretch (76 of 255).
    static constexpr float kVisibleAlpha = 0.3f;
    // Paths are 10 to 30 pixels a second long.
    static constexpr float kMinSpeed = 10.0f;
    static constexpr float kSpeedRange = 20.0f;
    // The caught flash runs at twice the progress rate: 0.5 s.
    static constexpr float kFlashRate = 2.0f;
    // The bacterium's own animation runs at this share of the time.
    static constexpr float kAnimationRate = 0.8f;

    // The dish the backgrounds draw: centred this far below the screen's centre, with a radius
    // of this share of the screen's height; a bacterium keeps kRimMargin inside it.
    static constexpr float kDishDrop = 8.0f;
    static constexpr float kDishRadius = 0.47f;
    static constexpr float kRimMargin = 12.0f;

    // id: the serial number the scene's callers know the object by.
    HiddenObject(PlayServices& services, int id);

    // A new run starting at the progress: a new player and path, a new visible stretch.
    void Init(float startProgress);
    // Inside the bacterium's picture while visible.
    [[nodiscard]] bool HitTest(int x, int y) const;
    // The world position plus half the picture (integer halves).
    [[nodiscard]] FloatPoint GetCentre() const;
    // Caught: flashes, and the bacterium pops after exactly 0.3 s.
    void Open();
    // A visible object hides as it drifts on, a caught one finishes its flash, any other run ends.
    void Release();

    void Update(float dt) override;
    // The bacterium, except while unseen.
    void Draw(Quoll::Graphics* g) override;

    // The bacterium's alpha (0..255) at a progress inside the visible stretch [from, to]: a linear
    // rise over the fade at its start, 0.3 between, a linear fall over the fade at its end. The
    // fade is a fifth of the stretch; an empty stretch gives 0.
    [[nodiscard]] static int StretchAlpha(float progress, float from, float to);

    [[nodiscard]] int GetId() const { return mId; }
    [[nodiscard]] State GetState() const { return mState; }
    [[nodiscard]] bool IsOpened() const { return mOpened; }
    [[nodiscard]] float GetProgress() const { return mProgress; }
    [[nodiscard]] float GetSpeed() const { return mSpeed; }
    [[nodiscard]] float GetVisibleFrom() const { return mVisibleFrom; }
    [[nodiscard]] float GetVisibleTo() const { return mVisibleTo; }
    [[nodiscard]] const FloatPoint& GetStartPoint() const { return mStart; }
    [[nodiscard]] const FloatPoint& GetEndPoint() const { return mEnd; }
    [[nodiscard]] int GetWidth() const { return mWidth; }
    [[nodiscard]] int GetHeight() const { return mHeight; }
    [[nodiscard]] Bacteria* GetBacterium() const { return mBacterium; }
    // The dish's centre and the radius the centre of a bacterium of the given size keeps within.
    [[nodiscard]] FloatPoint GetDishCentre() const;
    [[nodiscard]] float GetPathRadius(int width, int height) const;

private:
    // A random point on a side, just outside the screen, for the last picture size read.
    [[nodiscard]] float SideAngle(int side);
    void PlacePath();
    void ReadSize();
    void SetBacteriumAlpha(int alpha);

    PlayServices& mServices;
    int mId;
    int mWidth = 0;
    int mHeight = 0;
    bool mOpened = false;
    State mState = State::NewRun;
    Bacteria* mBacterium; // child
    float mProgress = 0;
    float mStartAngle = 0;
    float mEndAngle = 0;
    float mPixelSpeed = 0; // along the path, pixels a second
    FloatPoint mStart;
    FloatPoint mEnd;
    float mSpeed = 0;
    float mVisibleFrom = 0;
    float mVisibleTo = 0;
};
