#pragma once
// LevelMap: the screen on which the player picks the next campaign level. It shows the map, one
// node per level group, the fan of levels over the group under the mouse, a menu panel sliding
// in at the bottom with the player's name and score, and four buttons. It runs three timed
// sequences: the intro on a profile's first visit, the medal celebration of a group just
// completed, and the gloria transition that flies from the menu to the chosen group before the
// level starts. It talks to its state through numbered commands and a few direct calls.
#include "framework/app/ButtonListener.h"
#include "game/scene/HilightSprite.h"
#include "game/screens/Bulbulator.h"
#include "game/screens/IntroScene.h"
#include "game/screens/LevelSelectorRoot.h"
#include "game/screens/MapPointRoot.h"
#include "game/screens/MapSparkles.h"
#include "game/screens/RandomStatsPanel.h"
#include "game/shell/PlayServices.h"
#include "game/ui/QuollWidget.h"

#include <functional>
#include <memory>
#include <string>

class LevelMapServices;
class MapIntro;

namespace Quoll
{
class Button;
class Image;

class LevelMap final : public QuollWidget, public Quoll::ButtonListener, public IntroMapView
{
public:
    enum Command
    {
        kMainMenu = 0,
        kStart = 1,
        kStartLevel = 2,
        kTransitionDone = 3,
        kSkipIntro = 4,
        kAchievements = 5,
        kRandomLevel = 100
    };
    enum State
    {
        kIdle = 0,
        kCelebration = 1,
        kIntro = 2,
        kGloriaRise = 3,
        kGloriaFlight = 4,
        kGloriaLanding = 5,
        kFinished = 6
    };
    static constexpr const char* kGroup = "Map";
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyEscape = 27;
    static constexpr float kMaxFrameTime = 0.1f;
    static constexpr float kSlideSpeed = 1.2f;
    static constexpr float kBlinkPeriod = 0.6f;
    static constexpr float kGloriaRiseTime = 0.5f;
    static constexpr float kCelebrationTime = 1.0f;
    static constexpr int kMapSong = 1;
    static constexpr int kIntroSong = 2;
    static constexpr float kMusicFade = 0.001f;
    // Particle systems: the flight of a group, the landing of an episode, a group's medal, the
    // mark of the last played level.
    static constexpr int kFlightSystemBase = 11;
    static constexpr int kLandingSystemBase = 36;
    static constexpr int kMedalSystemBase = 9;
    static constexpr int kLevelMarkSystem = 96;
    // Achievement events: every level gold, and a special group of an episode (base + episode).
    static constexpr int kAllGoldEvent = 24;
    static constexpr int kEpisodeEventBase = 24;
    // The beaker the gloria rises from, and the achievements badge behind its button (both by
    // their top-left corner; the badge moves with the button's slide).
    static constexpr int kBeakerX = 211, kBeakerY = 520;
    static constexpr int kBadgeX = 924, kBadgeY = 30;

    // Makes the intro of a first visit for the map (the game's own intro when none is set).
    using IntroFactory = std::function<std::unique_ptr<MapIntro>(LevelMap&)>;

    explicit LevelMap(LevelMapServices& services);
    ~LevelMap() override;

    // The start button's blink clock is shared by every map of the program; tests start it anew.
    static void ResetStartBlink();

    void SetIntroFactory(IntroFactory factory) { mIntroFactory = std::move(factory); }
    // Called once when the intro ends or is skipped.
    void SetIntroEndedHandler(std::function<void()> handler) { mOnIntroEnded = std::move(handler); }

    void Attach(WidgetLink* link) override;
    void Detach() override;

    // Loads the nodes and the tutorial's script and prepares the map; false when the coordinates
    // file cannot be read.
    bool BuildMap(bool intro);
    // After BuildMap: celebrates a just-completed group, or marks the last played level.
    void FocusOnGroup(int level, int group);
    // Starts the gloria transition towards a level.
    void StartLevel(int level);
    // The node of a group (from 1); the first node when the group has none; null without nodes.
    [[nodiscard]] MapPoint* GetGroupPoint(int group);
    // The centre of a tube of the random-level panel; (0, 0) without the panel.
    [[nodiscard]] FloatPoint GetRandomStatsIconCentre(int index) const;
    // The state resumes: the map runs again and takes the keyboard.
    void Reactivate();
    void SetPaused(bool paused) { mPaused = paused; }
    [[nodiscard]] bool IsPaused() const { return mPaused; }
    // Not idle, or the achievement popup shows its caption.
    [[nodiscard]] bool IsBusy() const;
    // Slides the menu panel (0 hidden .. 1 shown) and the buttons with it.
    void SetMenuSlide(float slide);

    void Resize(int x, int y, int width, int height) override;
    void Update() override;
    void Draw(Quoll::Graphics* g) override;
    void DrawOverlay(Quoll::Graphics* g) override;
    void KeyDown(int keyCode) override;
    void MouseMove(int x, int y) override;
    using Quoll::Widget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void ButtonRelease(int id) override;

    // The intro's view of the map.
    void HideAllPoints() override { mMapPoints.HideAll(); }
    void ShowOpenedPoints() override { mMapPoints.ShowOpened(); }
    void FadePoint(int index, float seconds, bool fadeIn) override { mMapPoints.Fade(index, seconds, fadeIn); }
    [[nodiscard]] bool AnyPointFading() const override { return mMapPoints.AnyFading(); }
    [[nodiscard]] Bulbulator& GetBulbs() override { return mBulbs; }

    [[nodiscard]] int GetState() const { return mState; }
    [[nodiscard]] float GetTimer() const { return mTimer; }
    [[nodiscard]] float GetMenuSlide() const { return mMenuSlide; }
    [[nodiscard]] int GetSlideDirection() const { return mSlideDirection; }
    [[nodiscard]] int GetChosenLevel() const { return mChosenLevel; }
    [[nodiscard]] Quoll::Button* GetButton(int id) const;
    [[nodiscard]] MapPointRoot& GetMapPoints() { return mMapPoints; }
    [[nodiscard]] LevelSelectorRoot& GetSelectors() { return mSelectors; }
    [[nodiscard]] MapPoint* GetCurrentPoint() const { return mCurrentPoint; }
    [[nodiscard]] bool HasIntro() const { return mIntro != nullptr; }
    [[nodiscard]] FloatPoint GetArrowPosition() const { return mArrow; }
    [[nodiscard]] Quoll::Image* GetGloriaImage() const { return mGloriaImage; }
    [[nodiscard]] const std::wstring& GetPlainCaption() const { return mPlainCaption; }
    [[nodiscard]] MapSparkles& GetSparkles() { return mSparkles; }
    [[nodiscard]] RandomStatsPanel* GetRandomPanel() const { return mRandomPanel.get(); }

private:
    [[nodiscard]] Quoll::Button* MakeButton(int id, const std::string& labelKey, const char* image,
                                            const char* overImage);
    void MakeButtons();
    void UpdateArrow();
    // Each returns false when the frame ends in it.
    bool UpdateIntro(float dt);
    void UpdateGloriaRise(float dt);
    void UpdateGloriaFlight(float dt);
    void UpdateCelebration(float dt);
    void UpdateIdle(float dt);
    void FinishTransition();
    void CheckAllGold();
    void DrawGloria(Quoll::Graphics* g);
    void DrawArrow(Quoll::Graphics* g);
    void DrawMenuBand(Quoll::Graphics* g);
    void DrawMenuPanel(Quoll::Graphics* g);
    void DrawMenuCaption(Quoll::Graphics* g);
    void BuildCaptions();

    LevelMapServices& mServices;
    Quoll::Button* mMainMenuButton = nullptr;
    Quoll::Button* mStartButton = nullptr;
    Quoll::Button* mSkipIntroButton = nullptr;
    Quoll::Button* mAchievementsButton = nullptr;
    bool mPaused = false;
    bool mHasNewAchievements = false;
    int mState = kIdle;
    float mTimer = 0.0f;
    ParticleRef mMainEffect;
    ParticleRef mLandingEffect;
    float mArrowPhase = 0.0f;
    FloatPoint mArrow;
    int mChosenLevel = 0;
    MapPointRoot mMapPoints;
    LevelSelectorRoot mSelectors;
    MapPoint* mCurrentPoint = nullptr;
    MapPoint* mCelebratedPoint = nullptr;
    Bulbulator mBulbs;
    MapSparkles mSparkles;
    std::unique_ptr<MapIntro> mIntro;
    IntroFactory mIntroFactory;
    std::function<void()> mOnIntroEnded;
    std::unique_ptr<RandomStatsPanel> mRandomPanel;
    int mPanelX = 0, mPanelY = 0;
    std::wstring mPlainCaption;
    std::wstring mColouredCaption;
    int mCaptionX = 0, mCaptionY = 0;
    float mMenuSlide = 0.0f;
    int mSlideDirection = 0;
    int mAchievementsOffset = 300;
    HilightSprite mAchievementsGlow;
    Quoll::Image* mGloriaImage = nullptr;
    int mGloriaX = 0, mGloriaY = 0;
    Quoll::Color mGloriaColour = Quoll::Color::White;
    float mGloriaScale = 1.0f;
    // The flight's last point inside its mask, and whether the previous frame was inside.
    FloatPoint mLastInside;
    bool mWasInside = false;
};
} // namespace Quoll
