#pragma once
// MainMenu: the main menu screen. Five text buttons (play, settings, high scores, credits, quit),
// a button with the current profile's name and a hint with a swinging arrow pointing at it, the
// logo of the art language, and the pipette that switches between image and system cursors
// (every tenth click, counted over the program's life, sets off a salute). Buttons, Enter and
// Escape become commands to the state; only the cursor switch acts by itself.
#include "framework/app/ButtonListener.h"
#include "framework/display/Rect.h"
#include "game/screens/ProfileArrow.h"
#include "game/ui/QuollWidget.h"

#include <array>
#include <memory>

namespace Quoll
{
class Button;
}
class MainMenuServices;
class VisualNode;

namespace Quoll
{
class MainMenu final : public QuollWidget, public Quoll::ButtonListener
{
public:
    enum Command
    {
        kPlay = 0,
        kSettings = 1,
        kHighScores = 2,
        kCredits = 3,
        kQuit = 5,
        kProfile = 6
    };
    static constexpr const char* kGroup = "MainMenu";
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyEscape = 27;
    static constexpr int kAchievementCursorSwitch = 13;
    static constexpr int kSaluteClicks = 10;
    // The salute's extra sound: one of this many ids from the first button sound on.
    static constexpr int kFirstRandomSound = 362;
    static constexpr int kRandomSoundCount = 93;
    static constexpr int kFireworksSystem = 93;
    static constexpr int kFireworksBursts = 10;
    static constexpr int kOverlayPriority = 10;
    static constexpr int kButtonX = 335;
    static constexpr int kButtonWidth = 240;
    static constexpr float kLogoScale = 0.8f;

    explicit MainMenu(MainMenuServices& services);
    ~MainMenu() override;

    void Attach(WidgetLink* link) override;
    void Detach() override;

    // The profile button shows the current profile's name.
    void UpdateProfileName();
    // After a language or profile change: every label again, then the layout.
    void RefreshLabels();

    void Resize(int x, int y, int width, int height) override;
    void Update() override;
    void Draw(Quoll::Graphics* g) override;
    void DrawOverlay(Quoll::Graphics* g) override;
    void GotFocus() override;
    void LostFocus() override;
    void KeyDown(int keyCode) override;
    void MouseMove(int x, int y) override;
    void MouseLeave() override;
    using Quoll::Widget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void ButtonRelease(int id) override;

    // Where the profile hint is wrapped: its place beside the profile button, cut to the part of
    // it that lies on a screen of the given width.
    [[nodiscard]] static Quoll::Rect ProfileHintRect(int screenWidth);
    [[nodiscard]] bool IsCursorSwitchHovered() const { return mCursorSwitchHover; }

    [[nodiscard]] float GetProfileHintAlpha() const { return mProfileHintAlpha; }
    [[nodiscard]] float GetCursorSwitchGlow() const { return mCursorSwitchGlow; }
    [[nodiscard]] const Quoll::Rect& GetCursorSwitchRect() const { return mCursorSwitchRect; }
    [[nodiscard]] Quoll::Button* GetButton(int command) const;
    [[nodiscard]] VisualNode* GetLogoNode() const { return mLogoNode.get(); }
    [[nodiscard]] const ProfileArrow& GetProfileArrow() const { return mProfileArrow; }

    // The cursor switch's clicks towards the next salute, over every menu of the program.
    [[nodiscard]] static int GetCursorSwitchClicks() { return sCursorSwitchClicks; }
    static void ResetCursorSwitchClicks() { sCursorSwitchClicks = 0; }

private:
    void LoadLogo();
    void DrawCursorSwitch(Quoll::Graphics* g);
    void Salute();
    [[nodiscard]] bool InCursorSwitch(int x, int y) const;
    [[nodiscard]] Quoll::Button* MakeButton(int id, const std::string& labelKey, const Quoll::Color& colour0,
                                            const Quoll::Color& colour1);

    static int sCursorSwitchClicks;

    MainMenuServices& mServices;
    // Play, settings, high scores, credits, quit.
    std::array<Quoll::Button*, 5> mMenuButtons{};
    Quoll::Button* mProfileButton = nullptr;
    std::unique_ptr<VisualNode> mLogoNode;
    Quoll::Rect mCursorSwitchRect;
    bool mCursorSwitchHover = false;
    float mCursorSwitchGlow = 0.0f;
    float mProfileHintAlpha = 1.0f;
    bool mProfileHovered = true;
    ProfileArrow mProfileArrow;
};
} // namespace Quoll
